#include <uikit/UINavigationBar.h>

#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIAlertViewStack.h>
#include <uikit/UIButton.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImage.h>
#include <uikit/UILabel.h>
#include <uikit/UIStringDrawing.h>

#include <algorithm>
#include <cmath>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(UINavigationBar)

namespace {

constexpr CGFloat kButtonHeight = 30;
constexpr CGFloat kEdgeMargin = 5;
constexpr CGFloat kArrowWidth = 11;
constexpr CGFloat kMinimumButtonWidth = 48;

enum class ButtonFace { Bordered, Done, Back };

// The back button's outline: a point on the left, rounded on the right.
void addBackPath(const CGContext& c, CGRect r, CGFloat radius)
{
    CGFloat minX = CGRectGetMinX(r), maxX = CGRectGetMaxX(r), minY = CGRectGetMinY(r), maxY = CGRectGetMaxY(r);
    CGFloat midY = CGRectGetMidY(r);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, minX, midY);
    CGContextAddLineToPoint(c, minX + kArrowWidth, minY);
    CGContextAddArcToPoint(c, maxX, minY, maxX, midY, radius);
    CGContextAddArcToPoint(c, maxX, maxY, minX + kArrowWidth, maxY, radius);
    CGContextAddLineToPoint(c, minX + kArrowWidth, maxY);
    CGContextClosePath(c);
}

runtime::Ref<UIImage> buttonFace(CGSize size, ButtonFace face, UIBarStyle barStyle, bool highlighted)
{
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    auto c = UIGraphicsGetCurrentContext();
    CGContextSetShouldAntialias(c, true);
    CGRect r { { 0.5f, 0.5f }, { size.width - 1, size.height - 2 } };
    auto path = [&](CGRect rect) {
        if (face == ButtonFace::Back)
            addBackPath(c, rect, 5);
        else
            addRoundedRectPath(c, rect, 5);
    };

    // The light emboss under the button.
    CGContextSetRGBFillColor(c, 1, 1, 1, 0.25f);
    path(CGRectOffset(r, 0, 1));
    CGContextFillPath(c);

    RGBA top, bottom;
    bool black = barStyle != UIBarStyleDefault;
    if (face == ButtonFace::Done) {
        top = { 0.35f, 0.55f, 0.92f, 1 };
        bottom = { 0.12f, 0.33f, 0.78f, 1 };
    } else if (black) {
        top = { 0.30f, 0.30f, 0.30f, 1 };
        bottom = { 0.08f, 0.08f, 0.08f, 1 };
    } else {
        top = { 0.55f, 0.63f, 0.74f, 1 };
        bottom = { 0.32f, 0.42f, 0.56f, 1 };
    }
    if (highlighted) {
        top = { top.red * 0.75f, top.green * 0.75f, top.blue * 0.75f, 1 };
        bottom = { bottom.red * 0.75f, bottom.green * 0.75f, bottom.blue * 0.75f, 1 };
    }
    CGContextSaveGState(c);
    path(r);
    CGContextClip(c);
    fillVerticalGradient(c, r, top, bottom);
    CGContextRestoreGState(c);

    CGContextSetLineWidth(c, 1);
    CGContextSetRGBStrokeColor(c, 0.10f, 0.15f, 0.25f, 0.75f);
    path(r);
    CGContextStrokePath(c);

    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image.releaseNonNull();
}

}

runtime::Ref<UINavigationBar> UINavigationBar::create(CGRect frame)
{
    return runtime::adoptRef(*new UINavigationBar(frame));
}

UINavigationBar::UINavigationBar(CGRect frame)
    : UIView(frame)
    , m_titleLabel(UILabel::create())
{
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    m_titleLabel->setBackgroundColor(UIColor::clearColor());
    m_titleLabel->setFont(UIFont::boldSystemFontOfSize(20));
    m_titleLabel->setTextColor(UIColor::whiteColor());
    m_titleLabel->setShadowColor(UIColor::colorWithWhite(0, 0.5f));
    m_titleLabel->setShadowOffset({ 0, -1 });
    m_titleLabel->setTextAlignment(UITextAlignmentCenter);
    addSubview(m_titleLabel);
}

UINavigationBar::~UINavigationBar()
{
    for (auto& item : m_items)
        item->setBar(nullptr);
}

void UINavigationBar::setBarStyle(UIBarStyle style)
{
    m_barStyle = style;
    rebuild();
}

void UINavigationBar::setItems(std::vector<runtime::Ref<UINavigationItem>> items, bool)
{
    for (auto& item : m_items)
        item->setBar(nullptr);
    m_items = std::move(items);
    rebuild();
}

void UINavigationBar::pushNavigationItem(runtime::Ref<UINavigationItem> item, bool)
{
    m_items.push_back(std::move(item));
    rebuild();
}

runtime::RefPtr<UINavigationItem> UINavigationBar::popNavigationItemAnimated(bool)
{
    if (m_items.empty())
        return nullptr;
    runtime::RefPtr<UINavigationItem> popped = m_items.back();
    m_items.pop_back();
    popped->setBar(nullptr);
    rebuild();
    return popped;
}

UINavigationItem* UINavigationBar::topItem() const
{
    return m_items.empty() ? nullptr : m_items.back().ptr();
}

UINavigationItem* UINavigationBar::backItem() const
{
    return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2].ptr();
}

void UINavigationBar::itemDidChange()
{
    rebuild();
}

runtime::RefPtr<UIButton> UINavigationBar::makeButton(UIBarButtonItem* item, bool back)
{
    auto button = UIButton::create();
    std::string title = back ? (backItem() ? backItem()->backButtonTitle() : "Back") : item->title();
    button->setTitle(title, UIControlStateNormal);
    button->titleLabel().setFont(UIFont::boldSystemFontOfSize(12));
    button->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    button->setTitleColor(UIColor::colorWithWhite(1, 0.45f), UIControlStateDisabled);
    button->setTitleShadowColor(UIColor::colorWithWhite(0, 0.5f), UIControlStateNormal);

    CGFloat textWidth = std::ceil(sizeWithFont(title, button->titleLabel().font()).width);
    CGFloat width = std::max(kMinimumButtonWidth, textWidth + 20 + (back ? kArrowWidth - 4 : 0));
    width = std::min<CGFloat>(width, bounds().size.width / 2 - 40);
    button->setFrame({ {}, { width, kButtonHeight } });

    ButtonFace face = back ? ButtonFace::Back : (item->style() == UIBarButtonItemStyleDone ? ButtonFace::Done : ButtonFace::Bordered);
    button->setBackgroundImage(buttonFace({ width, kButtonHeight }, face, m_barStyle, false), UIControlStateNormal);
    button->setBackgroundImage(buttonFace({ width, kButtonHeight }, face, m_barStyle, true), UIControlStateHighlighted);

    if (back) {
        runtime::WeakPtr<UINavigationBar> weakBar(*this);
        button->addTarget(this, [weakBar](UIControl&, UIEvent*) {
            if (auto bar = weakBar.strong())
                bar->backTapped();
        }, UIControlEventTouchUpInside);
    } else {
        button->addTarget(item, [weakItem = runtime::WeakPtr<UIBarButtonItem>(*item)](UIControl&, UIEvent*) {
            if (auto live = weakItem.strong())
                live->performAction();
        }, UIControlEventTouchUpInside);
        button->setEnabled(item->isEnabled());
        button->setAlpha(item->isEnabled() ? 1 : 0.6f);
    }
    return button;
}

void UINavigationBar::rebuild()
{
    for (auto* view : { m_leftButton.get(), m_rightButton.get() }) {
        if (view)
            view->removeFromSuperview();
    }
    for (auto* view : { m_leftCustomView.get(), m_rightCustomView.get(), m_titleView.get() }) {
        if (view && view->superview() == this)
            view->removeFromSuperview();
    }
    m_leftButton = m_rightButton = nullptr;
    m_leftCustomView = m_rightCustomView = m_titleView = nullptr;
    m_showsBack = false;

    UINavigationItem* top = topItem();
    m_titleLabel->setText(top && top->title() ? *top->title() : "");
    if (top) {
        for (auto& item : m_items)
            item->setBar(this);
        for (auto* barItem : { top->leftBarButtonItem(), top->rightBarButtonItem() }) {
            if (barItem)
                barItem->setBar(this);
        }

        if (auto* left = top->leftBarButtonItem()) {
            if (left->customView())
                m_leftCustomView = left->customView();
            else
                m_leftButton = makeButton(left, false);
        } else if (backItem() && !top->hidesBackButton()) {
            m_leftButton = makeButton(nullptr, true);
            m_showsBack = true;
        }
        if (auto* right = top->rightBarButtonItem()) {
            if (right->customView())
                m_rightCustomView = right->customView();
            else
                m_rightButton = makeButton(right, false);
        }
        m_titleView = top->titleView();
    }
    for (auto* view : { static_cast<UIView*>(m_leftButton.get()), static_cast<UIView*>(m_rightButton.get()),
             m_leftCustomView.get(), m_rightCustomView.get(), m_titleView.get() }) {
        if (view)
            addSubview(*view);
    }
    m_titleLabel->setHidden(m_titleView != nullptr);
    setNeedsLayout();
    layoutIfNeeded();
    setNeedsDisplay();
}

void UINavigationBar::backTapped()
{
    runtime::Ref<UINavigationBar> protect(*this);
    if (m_backHandler)
        m_backHandler();
    else
        popNavigationItemAnimated(true);
}

void UINavigationBar::layoutSubviews()
{
    CGRect b = bounds();
    CGFloat leftEdge = kEdgeMargin, rightEdge = b.size.width - kEdgeMargin;
    auto place = [&](UIView* view, bool left) {
        if (!view)
            return;
        CGSize size = view->frame().size;
        CGFloat x = left ? leftEdge : rightEdge - size.width;
        view->setFrame({ { x, std::floor((b.size.height - size.height) / 2) }, size });
        if (left)
            leftEdge = x + size.width + kEdgeMargin;
        else
            rightEdge = x - kEdgeMargin;
    };
    place(m_leftButton ? static_cast<UIView*>(m_leftButton.get()) : m_leftCustomView.get(), true);
    place(m_rightButton ? static_cast<UIView*>(m_rightButton.get()) : m_rightCustomView.get(), false);

    // The title is centred on the bar when it fits between the buttons that way, else centred in
    // the room the buttons leave.
    CGFloat side = std::max(leftEdge, b.size.width - rightEdge);
    CGRect title { { side, 0 }, { std::max<CGFloat>(0, b.size.width - 2 * side), b.size.height } };
    CGFloat textWidth = std::ceil(sizeWithFont(m_titleLabel->text(), m_titleLabel->font()).width);
    if (textWidth > title.size.width)
        title = { { leftEdge, 0 }, { std::max<CGFloat>(0, rightEdge - leftEdge), b.size.height } };
    m_titleLabel->setFrame(title);
    if (m_titleView) {
        CGSize size = m_titleView->frame().size;
        m_titleView->setFrame({ { std::floor(CGRectGetMidX(title) - size.width / 2), std::floor((b.size.height - size.height) / 2) }, size });
    }
}

void UINavigationBar::drawRect(CGRect)
{
    auto c = UIGraphicsGetCurrentContext();
    CGRect b = bounds();
    if (m_barStyle == UIBarStyleDefault) {
        fillVerticalGradient(c, b, { 0.69f, 0.74f, 0.80f, 1 }, { 0.43f, 0.52f, 0.64f, 1 });
        CGContextSetRGBFillColor(c, 0.82f, 0.85f, 0.89f, 1);
        CGContextFillRect(c, { b.origin, { b.size.width, 1 } });
        CGContextSetRGBFillColor(c, 0.18f, 0.24f, 0.33f, 1);
    } else {
        CGFloat alpha = m_barStyle == UIBarStyleBlackTranslucent ? 0.75f : 1;
        fillVerticalGradient(c, b, { 0.22f, 0.22f, 0.22f, alpha }, { 0.02f, 0.02f, 0.02f, alpha });
        CGContextSetRGBFillColor(c, 0.40f, 0.40f, 0.40f, alpha);
        CGContextFillRect(c, { b.origin, { b.size.width, 1 } });
        CGContextSetRGBFillColor(c, 0, 0, 0, 1);
    }
    CGContextFillRect(c, { { b.origin.x, CGRectGetMaxY(b) - 1 }, { b.size.width, 1 } });
}

bool UINavigationBar::tapButtonWithTitle(std::string_view title)
{
    layoutIfNeeded();
    for (auto* button : { m_leftButton.get(), m_rightButton.get() }) {
        if (button && button->titleForState(UIControlStateNormal) == title)
            return UIAlertViewStack::tapView(*button);
    }
    return false;
}

}
