#include <uikit/UIAlertView.h>

#include <foundation/NSLog.h>
#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIAlertViewStack.h>
#include <uikit/UIButton.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIScreen.h>
#include <uikit/UIScrollView.h>
#include <uikit/UIStringDrawing.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>

#include <algorithm>
#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(UIAlertView)

namespace {

constexpr CGFloat kSideMargin = 12;
constexpr CGFloat kTopMargin = 16;
constexpr CGFloat kTitleMessageGap = 6;
// From the end of the text to the top of the buttons. With the bottom margin this keeps the band
// from 65 points above the bottom edge up to the text free, which an owner may fill (a table).
constexpr CGFloat kTextButtonGap = 14;
constexpr CGFloat kButtonHeight = 43;
constexpr CGFloat kButtonGap = 8;
constexpr CGFloat kButtonSideMargin = 11;
constexpr CGFloat kBottomMargin = 16;
constexpr CGFloat kMaximumHeight = 460;
// A message that does not fit scrolls in a recessed area; its text keeps this distance from the
// area's sides and from the ends of the content.
constexpr CGFloat kScrollingTextInsetX = 6;
constexpr CGFloat kScrollingTextInsetY = 4;

}

runtime::Ref<UIAlertView> UIAlertView::create(CGRect frame)
{
    return runtime::adoptRef(*new UIAlertView(frame));
}

runtime::Ref<UIAlertView> UIAlertView::create(std::optional<std::string> title, std::optional<std::string> message,
    runtime::Object* delegate, std::optional<std::string> cancelButtonTitle, const std::vector<std::string>& otherButtonTitles)
{
    auto alert = create(CGRectZero);
    alert->initWithTitle(std::move(title), std::move(message), delegate, std::move(cancelButtonTitle), otherButtonTitles);
    return alert;
}

UIAlertView::UIAlertView(CGRect frame)
    : UIView(frame)
    , m_backgroundView(UIImageView::create())
    , m_titleLabel(UILabel::create())
    , m_messageLabel(UILabel::create())
{
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);

    m_backgroundView->setFrame(bounds());
    m_backgroundView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    addSubview(m_backgroundView);

    for (UILabel* label : { m_titleLabel.ptr(), m_messageLabel.ptr() }) {
        label->setBackgroundColor(UIColor::clearColor());
        label->setTextColor(UIColor::whiteColor());
        label->setTextAlignment(UITextAlignmentCenter);
        label->setNumberOfLines(0);
        label->setLineBreakMode(UILineBreakModeWordWrap);
        label->setShadowColor(UIColor::colorWithWhite(0, 0.5f));
        label->setShadowOffset({ 0, -1 });
        label->setHidden(true);
        addSubview(*label);
    }
    m_titleLabel->setFont(UIFont::boldSystemFontOfSize(18));
    m_messageLabel->setFont(UIFont::systemFontOfSize(16));
}

UIAlertView::~UIAlertView() = default;

void UIAlertView::initWithTitle(std::optional<std::string> title, std::optional<std::string> message,
    runtime::Object* delegate, std::optional<std::string> cancelButtonTitle, const std::vector<std::string>& otherButtonTitles)
{
    setTitle(std::move(title));
    setMessage(std::move(message));
    setDelegate(delegate);
    if (cancelButtonTitle)
        setCancelButtonIndex(addButtonWithTitle(std::move(*cancelButtonTitle)));
    for (auto& other : otherButtonTitles)
        addButtonWithTitle(other);
}

void UIAlertView::setTitle(std::optional<std::string> title)
{
    m_title = std::move(title);
    m_titleLabel->setText(m_title.value_or(""));
    if (m_visible)
        layoutContent();
}

void UIAlertView::setMessage(std::optional<std::string> message)
{
    m_message = std::move(message);
    m_messageLabel->setText(m_message.value_or(""));
    if (m_visible)
        layoutContent();
}

int UIAlertView::addButtonWithTitle(std::string title)
{
    int index = numberOfButtons();
    auto button = UIButton::create();
    button->setTitle(title, UIControlStateNormal);
    button->setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    button->setTitleShadowColor(UIColor::colorWithWhite(0, 0.5f), UIControlStateNormal);
    button->titleLabel().setFont(UIFont::boldSystemFontOfSize(18));
    button->setTag(index + 1);
    button->addTarget(this, [this, index](UIControl&, UIEvent*) { buttonTapped(index); }, UIControlEventTouchUpInside);
    m_buttons.push_back(button);
    addSubview(button);
    if (m_visible)
        layoutContent();
    return index;
}

std::optional<std::string> UIAlertView::buttonTitleAtIndex(int index) const
{
    if (auto* button = buttonAtIndex(index))
        return button->titleForState(UIControlStateNormal);
    return std::nullopt;
}

UIButton* UIAlertView::buttonAtIndex(int index) const
{
    if (index < 0 || index >= numberOfButtons())
        return nullptr;
    return m_buttons[index].ptr();
}

void UIAlertView::setCancelButtonIndex(int index)
{
    m_cancelButtonIndex = index >= 0 && index < numberOfButtons() ? index : -1;
    if (m_visible)
        layoutContent();
}

int UIAlertView::firstOtherButtonIndex() const
{
    for (int index = 0; index < numberOfButtons(); ++index) {
        if (index != m_cancelButtonIndex)
            return index;
    }
    return -1;
}

template<typename Call>
void UIAlertView::tellDelegate(const OptionalOperation& operation, Call call)
{
    // Held for the call, so a delegate that lets go of itself in the callback outlives it.
    runtime::RefPtr<runtime::Object> delegate = m_delegate.get();
    if (!respondsToOptional(delegate.get(), operation))
        return;
    if (auto* protocol = protocolOf<UIAlertViewDelegate>(delegate.get()))
        call(*protocol);
}

void UIAlertView::layoutContent()
{
    const CGFloat textWidth = width - 2 * kSideMargin;
    CGFloat y = kTopMargin;

    bool hasTitle = m_title && !m_title->empty();
    bool hasMessage = m_message && !m_message->empty();
    m_titleLabel->setHidden(!hasTitle);
    m_messageLabel->setHidden(!hasMessage);

    if (hasTitle) {
        CGFloat height = std::ceil(sizeWithFontConstrainedToSize(*m_title, m_titleLabel->font(), { textWidth, 200 }).height);
        m_titleLabel->setFrame({ { kSideMargin, y }, { textWidth, height } });
        y += height + (hasMessage ? kTitleMessageGap : 0);
    }

    // Buttons: two share a row (cancel on the left); one or more than two are stacked, cancel last.
    std::vector<int> order;
    for (int index = 0; index < numberOfButtons(); ++index)
        order.push_back(index);
    bool sideBySide = order.size() == 2;
    if (m_cancelButtonIndex >= 0) {
        std::erase(order, m_cancelButtonIndex);
        if (sideBySide)
            order.insert(order.begin(), m_cancelButtonIndex);
        else
            order.push_back(m_cancelButtonIndex);
    }
    size_t rows = sideBySide ? 1 : order.size();
    CGFloat buttonsHeight = rows ? rows * kButtonHeight + (rows - 1) * kButtonGap : 0;

    if (hasMessage) {
        CGFloat room = std::max<CGFloat>(0, kMaximumHeight - y - kTextButtonGap - buttonsHeight - kBottomMargin);
        y += placeMessage({ { kSideMargin, y }, { textWidth, room } });
    } else {
        placeMessage(CGRectZero);
    }

    y += kTextButtonGap;
    const CGFloat fullWidth = width - 2 * kButtonSideMargin;
    const CGFloat halfWidth = std::floor((fullWidth - kButtonGap) / 2);
    for (size_t position = 0; position < order.size(); ++position) {
        UIButton& button = m_buttons[order[position]].get();
        CGRect frame;
        if (sideBySide)
            frame = { { kButtonSideMargin + position * (halfWidth + kButtonGap), y }, { halfWidth, kButtonHeight } };
        else
            frame = { { kButtonSideMargin, y + position * (kButtonHeight + kButtonGap) }, { fullWidth, kButtonHeight } };
        button.setFrame(frame);
        bool isCancel = order[position] == m_cancelButtonIndex && order.size() > 1;
        auto look = isCancel ? ModalButtonLook::AlertCancel : ModalButtonLook::AlertDefault;
        button.setBackgroundImage(modalButtonImage(frame.size, look, false), UIControlStateNormal);
        button.setBackgroundImage(modalButtonImage(frame.size, look, true), UIControlStateHighlighted);
    }
    y += buttonsHeight;
    CGFloat height = y + kBottomMargin;

    CGRect screen = UIScreen::mainScreen().bounds();
    setFrame({ { std::floor((screen.size.width - width) / 2), std::floor((screen.size.height - height) / 2) }, { width, height } });
    m_backgroundView->setFrame(bounds());
    m_backgroundView->setImage(alertPanelImage(bounds().size));
    m_panelSize = bounds().size;
}

UIScrollView* UIAlertView::messageScrollView() const
{
    return m_messageScrollView && m_messageScrollView->superview() == this ? m_messageScrollView.get() : nullptr;
}

CGFloat UIAlertView::placeMessage(CGRect area)
{
    UIFont& font = m_messageLabel->font();
    CGFloat height = std::ceil(sizeWithFontConstrainedToSize(m_message.value_or(""), font, { area.size.width, 10000 }).height);
    if (area.size.height <= 0 || height <= area.size.height) {
        // It fits (or there is none): the label is the alert's own subview, as it always was.
        if (m_messageLabel->superview() != this) {
            m_messageLabel->removeFromSuperview();
            insertSubviewAboveSubview(m_messageLabel, m_titleLabel.ptr());
        }
        if (m_messageScrollView)
            m_messageScrollView->removeFromSuperview();
        height = std::min(height, area.size.height);
        m_messageLabel->setFrame({ area.origin, { area.size.width, std::max<CGFloat>(0, height) } });
        return std::max<CGFloat>(0, height);
    }

    // Too long for the screen: the whole text goes into a scroll view that fills the room left, and
    // a finger drags it.
    if (!m_messageScrollView) {
        m_messageScrollView = UIScrollView::create();
        m_messageScrollView->setBackgroundColor(UIColor::colorWithWhite(0, 0.25f));
        m_messageScrollView->layer().setCornerRadius(5);
        m_messageScrollView->layer().setBorderWidth(1);
        m_messageScrollView->layer().setBorderColor(UIColor::colorWithWhite(1, 0.2f)->CGColor());
    }
    UIScrollView& scroll = *m_messageScrollView;
    if (scroll.superview() != this)
        insertSubviewAboveSubview(scroll, m_titleLabel.ptr());
    if (m_messageLabel->superview() != &scroll) {
        m_messageLabel->removeFromSuperview();
        scroll.addSubview(m_messageLabel);
    }
    const CGFloat textWidth = area.size.width - 2 * kScrollingTextInsetX;
    CGFloat textHeight = std::ceil(sizeWithFontConstrainedToSize(m_message.value_or(""), font, { textWidth, 100000 }).height);
    scroll.setFrame(area);
    m_messageLabel->setFrame({ { kScrollingTextInsetX, kScrollingTextInsetY }, { textWidth, textHeight } });
    scroll.setContentSize({ area.size.width, textHeight + 2 * kScrollingTextInsetY });
    scroll.setContentOffset({ 0, 0 });
    return area.size.height;
}

void UIAlertView::layoutSubviews()
{
    // Only the panel follows the size; the content was placed by show() and may have been moved by
    // whoever owns the alert since.
    CGSize size = bounds().size;
    if (m_backgroundView->image() && !(m_panelSize == size)) {
        m_backgroundView->setImage(alertPanelImage(size));
        m_panelSize = size;
    }
}

void UIAlertView::drawRect(CGRect)
{
    // The stock look is the background image view; nothing is drawn here.
}

void UIAlertView::show()
{
    if (m_visible)
        return;
    runtime::Ref<UIAlertView> protect(*this);
    layoutContent();
    UIAlertViewStack::shared().push(*this);
    m_visible = true;

    tellDelegate(AlertViewDelegate::willPresent, [&](UIAlertViewDelegate& delegate) { delegate.willPresentAlertView(*this); });

    // The presentation has no duration here, but "did present" still arrives after show()
    // returned, as it does when the pop-in animation ends.
    runtime::WeakPtr<UIAlertView> weakThis(*this);
    m_didPresent = foundation::ScheduledCall::onNextTurn([weakThis] {
        runtime::RefPtr<UIAlertView> alert = weakThis.strong();
        if (!alert || !alert->m_visible)
            return;
        alert->tellDelegate(AlertViewDelegate::didPresent, [&](UIAlertViewDelegate& delegate) { delegate.didPresentAlertView(*alert); });
    });
}

void UIAlertView::buttonTapped(int index)
{
    if (!m_visible || m_dismissing)
        return;
    dismiss(index, true);
}

void UIAlertView::dismissWithClickedButtonIndex(int buttonIndex, bool)
{
    if (!m_visible || m_dismissing)
        return;
    dismiss(buttonIndex, buttonAtIndex(buttonIndex) != nullptr);
}

void UIAlertView::systemCancel()
{
    if (!m_visible || m_dismissing)
        return;
    runtime::Ref<UIAlertView> protect(*this);
    if (respondsToOptional(m_delegate.get(), AlertViewDelegate::cancel)) {
        tellDelegate(AlertViewDelegate::cancel, [&](UIAlertViewDelegate& delegate) { delegate.alertViewCancel(*this); });
        return;
    }
    dismiss(m_cancelButtonIndex, m_cancelButtonIndex >= 0);
}

void UIAlertView::dismiss(int buttonIndex, bool sendClick)
{
    runtime::Ref<UIAlertView> protect(*this);
    m_dismissing = true;
    if (sendClick) {
        tellDelegate(AlertViewDelegate::clickedButton,
            [&](UIAlertViewDelegate& delegate) { delegate.alertViewClickedButtonAtIndex(*this, buttonIndex); });
    }
    tellDelegate(AlertViewDelegate::willDismiss,
        [&](UIAlertViewDelegate& delegate) { delegate.alertViewWillDismissWithButtonIndex(*this, buttonIndex); });
    m_didPresent.cancel();
    m_visible = false;
    UIAlertViewStack::shared().remove(*this);
    m_dismissing = false;
    tellDelegate(AlertViewDelegate::didDismiss,
        [&](UIAlertViewDelegate& delegate) { delegate.alertViewDidDismissWithButtonIndex(*this, buttonIndex); });
}

std::vector<runtime::Ref<UIAlertView>> UIAlertView::visibleAlerts()
{
    return UIAlertViewStack::shared().alerts();
}

bool UIAlertView::tapButtonWithTitle(std::string_view title)
{
    auto alerts = visibleAlerts();
    if (alerts.empty())
        return false;
    runtime::Ref<UIAlertView> top = alerts.back();
    for (int index = 0; index < top->numberOfButtons(); ++index) {
        if (top->buttonTitleAtIndex(index) == title)
            return UIAlertViewStack::tapView(*top->buttonAtIndex(index));
    }
    return false;
}

}
