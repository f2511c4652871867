#include <uikit/UIActionSheet.h>

#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIAlertViewStack.h>
#include <uikit/UIButton.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIStringDrawing.h>
#include <uikit/UIWindow.h>

#include <algorithm>
#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(UIActionSheet)

namespace {

constexpr CGFloat kSideMargin = 20;
constexpr CGFloat kTopMargin = 20;
constexpr CGFloat kTitleGap = 12;
constexpr CGFloat kButtonHeight = 44;
constexpr CGFloat kButtonGap = 8;
// The cancel button stands a little apart from the others.
constexpr CGFloat kCancelExtraGap = 7;
constexpr CGFloat kBottomMargin = 20;

std::vector<runtime::Ref<UIActionSheet>>& shownSheets()
{
    static auto* sheets = new std::vector<runtime::Ref<UIActionSheet>>;
    return *sheets;
}

// Covers the window while a sheet is up: dims it and swallows touches outside the sheet.
class ActionSheetDimmingView final : public UIView {
    TORVANE_OBJECT(ActionSheetDimmingView, UIView)
public:
    static runtime::Ref<ActionSheetDimmingView> create(CGRect frame) { return runtime::adoptRef(*new ActionSheetDimmingView(frame)); }

private:
    explicit ActionSheetDimmingView(CGRect frame)
        : UIView(frame)
    {
        setBackgroundColor(UIColor::colorWithWhite(0, 0.4f));
        setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    }
};

TORVANE_DEFINE_CLASS(ActionSheetDimmingView)

}

runtime::Ref<UIActionSheet> UIActionSheet::create(CGRect frame)
{
    return runtime::adoptRef(*new UIActionSheet(frame));
}

runtime::Ref<UIActionSheet> UIActionSheet::create(std::optional<std::string> title, runtime::Object* delegate,
    std::optional<std::string> cancelButtonTitle, std::optional<std::string> destructiveButtonTitle,
    const std::vector<std::string>& otherButtonTitles)
{
    auto sheet = create(CGRectZero);
    sheet->setTitle(std::move(title));
    sheet->setDelegate(delegate);
    if (destructiveButtonTitle)
        sheet->setDestructiveButtonIndex(sheet->addButtonWithTitle(std::move(*destructiveButtonTitle)));
    for (auto& other : otherButtonTitles)
        sheet->addButtonWithTitle(other);
    if (cancelButtonTitle)
        sheet->setCancelButtonIndex(sheet->addButtonWithTitle(std::move(*cancelButtonTitle)));
    return sheet;
}

UIActionSheet::UIActionSheet(CGRect frame)
    : UIView(frame)
    , m_backgroundView(UIImageView::create())
    , m_titleLabel(UILabel::create())
{
    setBackgroundColor(UIColor::clearColor());
    m_backgroundView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(m_backgroundView);
    m_titleLabel->setBackgroundColor(UIColor::clearColor());
    m_titleLabel->setTextColor(UIColor::colorWithWhite(0.88f, 1));
    m_titleLabel->setShadowColor(UIColor::colorWithWhite(0, 0.5f));
    m_titleLabel->setFont(UIFont::systemFontOfSize(13));
    m_titleLabel->setTextAlignment(UITextAlignmentCenter);
    m_titleLabel->setNumberOfLines(0);
    m_titleLabel->setLineBreakMode(UILineBreakModeWordWrap);
    m_titleLabel->setHidden(true);
    addSubview(m_titleLabel);
}

void UIActionSheet::setTitle(std::optional<std::string> title)
{
    m_title = std::move(title);
    m_titleLabel->setText(m_title.value_or(""));
}

void UIActionSheet::setActionSheetStyle(UIActionSheetStyle style)
{
    m_style = style;
    if (m_visible)
        layoutContent(bounds().size.width);
}

int UIActionSheet::addButtonWithTitle(std::string title)
{
    int index = numberOfButtons();
    auto button = UIButton::create();
    button->setTitle(std::move(title), UIControlStateNormal);
    button->titleLabel().setFont(UIFont::boldSystemFontOfSize(19));
    button->setTag(index + 1);
    button->addTarget(this, [this, index](UIControl&, UIEvent*) { buttonTapped(index); }, UIControlEventTouchUpInside);
    m_buttons.push_back(button);
    addSubview(button);
    return index;
}

std::optional<std::string> UIActionSheet::buttonTitleAtIndex(int index) const
{
    if (auto* button = buttonAtIndex(index))
        return button->titleForState(UIControlStateNormal);
    return std::nullopt;
}

UIButton* UIActionSheet::buttonAtIndex(int index) const
{
    return validIndex(index, numberOfButtons()) < 0 ? nullptr : m_buttons[index].ptr();
}

void UIActionSheet::setCancelButtonIndex(int index)
{
    m_cancelButtonIndex = validIndex(index, numberOfButtons());
    if (m_visible)
        layoutContent(bounds().size.width);
}

void UIActionSheet::setDestructiveButtonIndex(int index)
{
    m_destructiveButtonIndex = validIndex(index, numberOfButtons());
    if (m_visible)
        layoutContent(bounds().size.width);
}

int UIActionSheet::firstOtherButtonIndex() const
{
    for (int index = 0; index < numberOfButtons(); ++index) {
        if (index != m_cancelButtonIndex && index != m_destructiveButtonIndex)
            return index;
    }
    return -1;
}

void UIActionSheet::layoutContent(CGFloat width)
{
    const CGFloat innerWidth = width - 2 * kSideMargin;
    CGFloat y = kTopMargin;
    bool hasTitle = m_title && !m_title->empty();
    m_titleLabel->setHidden(!hasTitle);
    if (hasTitle) {
        CGFloat height = std::ceil(sizeWithFontConstrainedToSize(*m_title, m_titleLabel->font(), { innerWidth, 200 }).height);
        m_titleLabel->setFrame({ { kSideMargin, y - 6 }, { innerWidth, height } });
        y += height - 6 + kTitleGap;
    }

    // Index order, with the cancel button moved to the bottom.
    std::vector<int> order;
    for (int index = 0; index < numberOfButtons(); ++index) {
        if (index != m_cancelButtonIndex)
            order.push_back(index);
    }
    if (m_cancelButtonIndex >= 0)
        order.push_back(m_cancelButtonIndex);

    for (size_t position = 0; position < order.size(); ++position) {
        int index = order[position];
        if (position > 0)
            y += kButtonGap + (index == m_cancelButtonIndex ? kCancelExtraGap : 0);
        CGRect frame { { kSideMargin, y }, { innerWidth, kButtonHeight } };
        y += kButtonHeight;

        ModalButtonLook look = ModalButtonLook::SheetDefault;
        if (index == m_destructiveButtonIndex)
            look = ModalButtonLook::SheetDestructive;
        else if (index == m_cancelButtonIndex)
            look = ModalButtonLook::SheetCancel;
        UIButton& button = m_buttons[index].get();
        button.setFrame(frame);
        button.setBackgroundImage(modalButtonImage(frame.size, look, false), UIControlStateNormal);
        button.setBackgroundImage(modalButtonImage(frame.size, look, true), UIControlStateHighlighted);
        bool dark = look == ModalButtonLook::SheetDefault;
        button.setTitleColor(dark ? UIColor::colorWithWhite(0.1f, 1) : UIColor::whiteColor(), UIControlStateNormal);
        button.setTitleColor(UIColor::whiteColor(), UIControlStateHighlighted);
        button.setTitleShadowColor(dark ? UIColor::colorWithWhite(1, 0.7f) : UIColor::colorWithWhite(0, 0.5f), UIControlStateNormal);
    }
    CGFloat height = y + kBottomMargin;

    setBounds({ {}, { width, height } });
    m_backgroundView->setFrame(bounds());
    SheetPanelLook look = SheetPanelLook::BlueGrey;
    if (m_style == UIActionSheetStyleBlackTranslucent)
        look = SheetPanelLook::BlackTranslucent;
    else if (m_style == UIActionSheetStyleBlackOpaque)
        look = SheetPanelLook::BlackOpaque;
    m_backgroundView->setImage(sheetPanelImage(bounds().size, look));
}

template<typename Call>
void UIActionSheet::tellDelegate(const OptionalOperation& operation, Call call)
{
    runtime::RefPtr<runtime::Object> delegate = m_delegate.get();
    if (!respondsToOptional(delegate.get(), operation))
        return;
    if (auto* protocol = protocolOf<UIActionSheetDelegate>(delegate.get()))
        call(*protocol);
}

void UIActionSheet::showInView(UIView& view)
{
    if (m_visible)
        return;
    runtime::Ref<UIActionSheet> protect(*this);
    UIView& host = view.window() ? static_cast<UIView&>(*view.window()) : view;
    CGRect area = host.bounds();

    layoutContent(area.size.width);
    auto dimming = ActionSheetDimmingView::create(area);
    setFrame({ { 0, area.origin.y + area.size.height - bounds().size.height }, bounds().size });
    setAutoresizingMask(UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleWidth);
    dimming->addSubview(*this);
    host.addSubview(dimming);
    m_dimmingView = dimming;
    shownSheets().emplace_back(*this);
    m_visible = true;

    tellDelegate(ActionSheetDelegate::willPresent, [&](UIActionSheetDelegate& delegate) { delegate.willPresentActionSheet(*this); });
    runtime::WeakPtr<UIActionSheet> weakThis(*this);
    m_didPresent = foundation::ScheduledCall::onNextTurn([weakThis] {
        runtime::RefPtr<UIActionSheet> sheet = weakThis.strong();
        if (!sheet || !sheet->m_visible)
            return;
        sheet->tellDelegate(ActionSheetDelegate::didPresent, [&](UIActionSheetDelegate& delegate) { delegate.didPresentActionSheet(*sheet); });
    });
}

void UIActionSheet::buttonTapped(int index)
{
    if (!m_visible || m_dismissing)
        return;
    dismiss(index, true);
}

void UIActionSheet::dismissWithClickedButtonIndex(int buttonIndex, bool)
{
    if (!m_visible || m_dismissing)
        return;
    dismiss(buttonIndex, buttonAtIndex(buttonIndex) != nullptr);
}

void UIActionSheet::dismiss(int buttonIndex, bool sendClick)
{
    runtime::Ref<UIActionSheet> protect(*this);
    m_dismissing = true;
    if (sendClick) {
        tellDelegate(ActionSheetDelegate::clickedButton,
            [&](UIActionSheetDelegate& delegate) { delegate.actionSheetClickedButtonAtIndex(*this, buttonIndex); });
    }
    tellDelegate(ActionSheetDelegate::willDismiss,
        [&](UIActionSheetDelegate& delegate) { delegate.actionSheetWillDismissWithButtonIndex(*this, buttonIndex); });

    m_didPresent.cancel();
    m_visible = false;
    std::erase_if(shownSheets(), [&](auto& sheet) { return sheet.ptr() == this; });
    removeFromSuperview();
    if (m_dimmingView) {
        m_dimmingView->removeFromSuperview();
        m_dimmingView = nullptr;
    }
    m_dismissing = false;

    tellDelegate(ActionSheetDelegate::didDismiss,
        [&](UIActionSheetDelegate& delegate) { delegate.actionSheetDidDismissWithButtonIndex(*this, buttonIndex); });
}

std::vector<runtime::Ref<UIActionSheet>> UIActionSheet::visibleSheets()
{
    return shownSheets();
}

bool UIActionSheet::tapButtonWithTitle(std::string_view title)
{
    auto sheets = visibleSheets();
    if (sheets.empty())
        return false;
    runtime::Ref<UIActionSheet> top = sheets.back();
    for (int index = 0; index < top->numberOfButtons(); ++index) {
        if (top->buttonTitleAtIndex(index) == title)
            return UIAlertViewStack::tapView(*top->buttonAtIndex(index));
    }
    return false;
}

}
