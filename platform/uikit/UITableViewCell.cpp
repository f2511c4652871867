#include <uikit/UITableViewCell.h>

#include <uikit/TableAccessoryMarkView.h>
#include <uikit/TableCellBackgroundView.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIImage.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/UIStringDrawing.h>

#include <algorithm>
#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(UITableViewCell)

namespace {

constexpr CGFloat kMargin = 10;
constexpr CGFloat kEditControlWidth = 32;

runtime::Ref<UILabel> makeLabel(runtime::Ref<UIFont> font, runtime::Ref<UIColor> color)
{
    auto label = UILabel::create();
    label->setBackgroundColor(UIColor::clearColor());
    label->setFont(std::move(font));
    label->setTextColor(std::move(color));
    label->setHighlightedTextColor(UIColor::whiteColor());
    return label;
}

runtime::Ref<UIColor> detailBlue() { return UIColor::colorWithRed(0.22f, 0.33f, 0.53f, 1); }

}

runtime::Ref<UITableViewCell> UITableViewCell::create(UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new UITableViewCell(style, std::move(reuseIdentifier)));
}

UITableViewCell::UITableViewCell(UITableViewCellStyle style, std::string reuseIdentifier)
    : UIView({ {}, { 320, 44 } })
    , m_style(style)
    , m_reuseIdentifier(std::move(reuseIdentifier))
    , m_contentView(UIView::create())
    , m_textLabel(makeLabel(UIFont::boldSystemFontOfSize(20), UIColor::blackColor()))
    , m_imageView(UIImageView::create())
    , m_separatorView(UIView::create())
{
    switch (m_style) {
    case UITableViewCellStyleDefault:
        break;
    case UITableViewCellStyleValue1:
        m_textLabel->setFont(UIFont::boldSystemFontOfSize(17));
        m_detailTextLabel = makeLabel(UIFont::systemFontOfSize(17), detailBlue());
        m_detailTextLabel->setTextAlignment(UITextAlignmentRight);
        break;
    case UITableViewCellStyleValue2:
        m_textLabel->setFont(UIFont::boldSystemFontOfSize(12));
        m_textLabel->setTextColor(UIColor::colorWithRed(0.32f, 0.40f, 0.57f, 1));
        m_textLabel->setTextAlignment(UITextAlignmentRight);
        m_detailTextLabel = makeLabel(UIFont::boldSystemFontOfSize(15), UIColor::blackColor());
        break;
    case UITableViewCellStyleSubtitle:
        m_textLabel->setFont(UIFont::boldSystemFontOfSize(18));
        m_detailTextLabel = makeLabel(UIFont::systemFontOfSize(14), UIColor::grayColor());
        break;
    }

    m_separatorView->setBackgroundColor(UIColor::colorWithWhite(0.88f, 1));
    m_separatorView->setUserInteractionEnabled(false);
    addSubview(m_separatorView);

    m_contentView->setFrame(bounds());
    m_contentView->setBackgroundColor(UIColor::clearColor());
    m_contentView->addSubview(m_imageView);
    m_contentView->addSubview(m_textLabel);
    if (m_detailTextLabel)
        m_contentView->addSubview(*m_detailTextLabel);
    addSubview(m_contentView);

    updateSystemBackground();
}

UITableViewCell::~UITableViewCell() = default;

void UITableViewCell::setBackgroundView(runtime::RefPtr<UIView> view)
{
    if (m_backgroundView == view)
        return;
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    updateSystemBackground();
    setNeedsLayout();
}

void UITableViewCell::setSelectedBackgroundView(runtime::RefPtr<UIView> view)
{
    if (m_selectedBackgroundView == view)
        return;
    if (m_selectedBackgroundView)
        m_selectedBackgroundView->removeFromSuperview();
    m_selectedBackgroundView = std::move(view);
    updateSystemBackground();
    setNeedsLayout();
}

void UITableViewCell::updateSystemBackground()
{
    // Bottom of the stack: the background, then the selected background; then the separator.
    if (m_systemBackgroundView)
        m_systemBackgroundView->removeFromSuperview();
    if (m_systemSelectedBackgroundView)
        m_systemSelectedBackgroundView->removeFromSuperview();
    m_systemBackgroundView = nullptr;
    m_systemSelectedBackgroundView = nullptr;

    runtime::RefPtr<UIView> background = m_backgroundView;
    if (!background) {
        auto white = TableCellBackgroundView::create(TableCellBackgroundView::Fill::White);
        white->setLook(m_tableStyle, m_groupPosition, nullptr);
        m_systemBackgroundView = white;
        background = white;
    }
    runtime::RefPtr<UIView> selected = m_selectedBackgroundView;
    if (!selected && m_selectionStyle != UITableViewCellSelectionStyleNone) {
        auto fill = m_selectionStyle == UITableViewCellSelectionStyleGray ? TableCellBackgroundView::Fill::GreySelection
                                                                          : TableCellBackgroundView::Fill::BlueSelection;
        auto look = TableCellBackgroundView::create(fill);
        look->setLook(m_tableStyle, m_groupPosition, nullptr);
        m_systemSelectedBackgroundView = look;
        selected = look;
    }
    insertSubviewAtIndex(*background, 0);
    if (selected)
        insertSubviewAtIndex(*selected, 1);
    updateStateLooks();
}

void UITableViewCell::setSelectionStyle(UITableViewCellSelectionStyle style)
{
    if (m_selectionStyle == style)
        return;
    m_selectionStyle = style;
    updateSystemBackground();
}

void UITableViewCell::setAccessoryType(UITableViewCellAccessoryType type)
{
    if (m_accessoryType == type)
        return;
    m_accessoryType = type;
    if (m_accessoryMarkView)
        m_accessoryMarkView->removeFromSuperview();
    m_accessoryMarkView = nullptr;
    if (type != UITableViewCellAccessoryNone && !m_accessoryView) {
        m_accessoryMarkView = TableAccessoryMarkView::create(type);
        addSubview(*m_accessoryMarkView);
    }
    updateStateLooks();
    setNeedsLayout();
}

void UITableViewCell::setAccessoryView(runtime::RefPtr<UIView> view)
{
    if (m_accessoryView == view)
        return;
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = std::move(view);
    if (m_accessoryView) {
        if (m_accessoryMarkView)
            m_accessoryMarkView->removeFromSuperview();
        m_accessoryMarkView = nullptr;
        addSubview(*m_accessoryView);
    } else {
        auto type = m_accessoryType;
        m_accessoryType = UITableViewCellAccessoryNone;
        setAccessoryType(type);
    }
    setNeedsLayout();
}

UIView* UITableViewCell::effectiveAccessory() const
{
    return m_accessoryView ? m_accessoryView.get() : m_accessoryMarkView.get();
}

void UITableViewCell::setSelected(bool selected, bool)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    updateStateLooks();
}

void UITableViewCell::setHighlighted(bool highlighted, bool)
{
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    updateStateLooks();
}

void UITableViewCell::updateStateLooks()
{
    bool lit = (m_selected || m_highlighted) && m_selectionStyle != UITableViewCellSelectionStyleNone;
    UIView* selected = m_selectedBackgroundView ? m_selectedBackgroundView.get() : m_systemSelectedBackgroundView.get();
    if (selected)
        selected->setHidden(!lit);
    m_textLabel->setHighlighted(lit);
    if (m_detailTextLabel)
        m_detailTextLabel->setHighlighted(lit);
    m_imageView->setHighlighted(lit);
    if (auto* mark = static_cast<TableAccessoryMarkView*>(m_accessoryMarkView.get()))
        mark->setHighlighted(lit);
    setNeedsDisplay();
}

void UITableViewCell::setEditing(bool editing, bool)
{
    if (m_editing == editing)
        return;
    m_editing = editing;
    unsigned state = editing ? (m_stateMask | UITableViewCellStateShowingEditControlMask)
                             : UITableViewCellStateDefaultMask;
    willTransitionToState(state);
    m_stateMask = state;
    setNeedsLayout();
    layoutIfNeeded();
    didTransitionToState(state);
}

void UITableViewCell::willTransitionToState(unsigned)
{
}

void UITableViewCell::didTransitionToState(unsigned)
{
}

void UITableViewCell::prepareForReuse()
{
    setHighlighted(false, false);
    setSelected(false, false);
    setEditing(false, false);
}

void UITableViewCell::setTableLook(UITableViewStyle style, UITableViewCellGroupPosition position,
    UITableViewCellSeparatorStyle separatorStyle, runtime::RefPtr<UIColor> separatorColor)
{
    bool lookChanged = style != m_tableStyle || position != m_groupPosition;
    m_tableStyle = style;
    m_groupPosition = position;
    m_separatorStyle = separatorStyle;
    m_separatorView->setBackgroundColor(separatorColor ? separatorColor : UIColor::colorWithWhite(0.88f, 1));
    // A grouped table draws the lines between rows inside the group's pieces.
    m_separatorView->setHidden(style != UITableViewStylePlain || separatorStyle == UITableViewCellSeparatorStyleNone);
    for (UIView* view : { m_systemBackgroundView.get(), m_systemSelectedBackgroundView.get() }) {
        if (auto* piece = runtime::dynamicCast<TableCellBackgroundView>(view))
            piece->setLook(style, position, separatorStyle == UITableViewCellSeparatorStyleNone ? UIColor::clearColor() : separatorColor);
    }
    if (lookChanged)
        setNeedsLayout();
}

void UITableViewCell::layoutSubviews()
{
    CGRect b = bounds();
    bool separated = !m_separatorView->isHidden();
    CGFloat contentHeight = std::max<CGFloat>(0, b.size.height - (separated ? 1 : 0));

    for (UIView* view : { m_backgroundView.get(), m_systemBackgroundView.get(), m_selectedBackgroundView.get(),
             m_systemSelectedBackgroundView.get() }) {
        if (view)
            view->setFrame(b);
    }
    m_separatorView->setFrame({ { b.origin.x, b.origin.y + b.size.height - 1 }, { b.size.width, 1 } });

    CGFloat left = m_editing ? kEditControlWidth : 0;
    CGFloat right = b.size.width;
    if (UIView* accessory = effectiveAccessory()) {
        CGSize size = accessory->frame().size;
        CGFloat x = b.size.width - kMargin - size.width;
        accessory->setFrame({ { x, std::floor((contentHeight - size.height) / 2) }, size });
        right = x;
    }
    CGRect content { { b.origin.x + left, b.origin.y }, { std::max<CGFloat>(0, right - left), contentHeight } };
    m_contentView->setFrame(content);
    layoutLabels(m_contentView->bounds());
}

void UITableViewCell::layoutLabels(CGRect content)
{
    CGFloat x = kMargin;
    UIImage* image = m_imageView->image();
    if (image) {
        CGSize size = image->size();
        size.height = std::min(size.height, content.size.height);
        m_imageView->setFrame({ { x, std::floor((content.size.height - size.height) / 2) }, size });
        x += size.width + kMargin;
    } else {
        m_imageView->setFrame(CGRectZero);
    }
    CGFloat width = std::max<CGFloat>(0, content.size.width - x - kMargin);
    CGFloat height = content.size.height;

    switch (m_style) {
    case UITableViewCellStyleDefault:
        m_textLabel->setFrame({ { x, 0 }, { width, height } });
        break;
    case UITableViewCellStyleValue1: {
        CGFloat detailWidth = std::ceil(sizeWithFont(m_detailTextLabel->text(), m_detailTextLabel->font()).width);
        detailWidth = std::min(detailWidth, width);
        CGFloat textWidth = std::max<CGFloat>(0, width - detailWidth - (detailWidth > 0 ? kMargin : 0));
        m_textLabel->setFrame({ { x, 0 }, { textWidth, height } });
        m_detailTextLabel->setFrame({ { x + width - detailWidth, 0 }, { detailWidth, height } });
        break;
    }
    case UITableViewCellStyleValue2: {
        const CGFloat column = 67;
        m_textLabel->setFrame({ { x, 0 }, { column, height } });
        m_detailTextLabel->setFrame({ { x + column + 6, 0 }, { std::max<CGFloat>(0, width - column - 6), height } });
        break;
    }
    case UITableViewCellStyleSubtitle: {
        CGFloat textHeight = std::ceil(m_textLabel->font().lineHeight());
        CGFloat detailHeight = m_detailTextLabel->text().empty() ? 0 : std::ceil(m_detailTextLabel->font().lineHeight());
        CGFloat top = std::floor((height - textHeight - detailHeight) / 2);
        m_textLabel->setFrame({ { x, top }, { width, textHeight } });
        m_detailTextLabel->setFrame({ { x, top + textHeight }, { width, detailHeight } });
        break;
    }
    }
}

std::string UITableViewCell::accessibilityLabel() const
{
    return m_textLabel->text();
}

}
