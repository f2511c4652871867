#pragma once

// The system alert: a panel in the middle of the screen with a title, a message and buttons.
//
// Structure (what subclasses and callers may rely on):
// - The stock background is the first direct subview: a plain UIImageView with tag 0 whose image is
//   the drawn blue-grey panel, stretched with the alert. A subclass may clear that image in its
//   layoutSubviews and draw its own panel in drawRect (the alert's background colour is clear).
//   UIAlertView's own layoutSubviews redraws the panel for a new size only while the image view
//   still has an image.
// - The title and the message are UILabel subviews (titleLabel, messageLabel). A message too long
//   for the screen is not cut: its label moves into a UIScrollView (messageScrollView) that takes
//   the label's place among the subviews, as tall as the room left between the title and the
//   buttons, so the alert stays within the screen and a finger drags the rest of the text into
//   view. The label then holds the whole text, in the scroll view's content coordinates. A message
//   that fits keeps its label as a direct subview and there is no scroll view.
// - Each button is a UIButton (a UIControl) that is a direct subview, tagged with its index + 1.
//   A touch up inside clicks it. Buttons are placed once, when the alert is shown; layoutSubviews
//   never moves them, so a subclass (or an owner growing the alert) may move them itself.
//
// Showing: show() sizes the alert to its content (284 points wide), centres it on the screen and
// puts it on the shared alert window (window level Alert) above the alerts already shown, which are
// hidden until it goes. While shown, the alert window holds the alert, so a caller may drop its
// own reference at once. The layout of show() is finished before willPresentAlertView, so the
// delegate sees the final frame there.
//
// Delegate callbacks, all optional (sent only when the delegate responds to the selector, see
// UIOptionalOperations.h); the delegate is weak:
//   show:      willPresentAlertView  → (shown) → didPresentAlertView on the next run-loop turn
//   tap:       alertView:clickedButtonAtIndex: → alertView:willDismissWithButtonIndex: →
//              (removed) → alertView:didDismissWithButtonIndex:
//   dismissWithClickedButtonIndex:animated: with the index of a button runs exactly the same
//   sequence as a tap of that button; with an index that has no button (-1, or one past the last)
//   there is no click: only will-dismiss and did-dismiss, with that index.
//   systemCancel: alertViewCancel: if the delegate takes it (the delegate then decides what
//   happens); otherwise the cancel button is clicked (or the alert just dismissed without one).
// Dismissal happens at once whether animated or not; did-dismiss is the last thing the alert does,
// so the delegate may release whatever owns the alert there. Dismissing an alert that is not shown
// does nothing.

#include <runtime/Ref.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIView.h>

#include <foundation/ScheduledCall.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace uikit {

class UIAlertView;
class UIButton;
class UIImageView;
class UILabel;
class UIScrollView;

// UIAlertViewDelegate. Every operation is optional: a class that names the protocol
// (TORVANE_ADOPTS) takes the ones it overrides (the constants below name them, in the same order).
class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(UIAlertView&, int /*buttonIndex*/) { }
    virtual void alertViewCancel(UIAlertView&) { }
    virtual void willPresentAlertView(UIAlertView&) { }
    virtual void didPresentAlertView(UIAlertView&) { }
    virtual void alertViewWillDismissWithButtonIndex(UIAlertView&, int /*buttonIndex*/) { }
    virtual void alertViewDidDismissWithButtonIndex(UIAlertView&, int /*buttonIndex*/) { }

    template<typename T>
    static void registerOverrides(runtime::Class&);
};

namespace AlertViewDelegate {
inline constexpr const runtime::ProtocolDescriptor& protocol = runtime::protocolDescriptor<UIAlertViewDelegate>;
inline constinit const OptionalOperation clickedButton { protocol, "alertView:clickedButtonAtIndex:" };
inline constinit const OptionalOperation cancel { protocol, "alertViewCancel:" };
inline constinit const OptionalOperation willPresent { protocol, "willPresentAlertView:" };
inline constinit const OptionalOperation didPresent { protocol, "didPresentAlertView:" };
inline constinit const OptionalOperation willDismiss { protocol, "alertView:willDismissWithButtonIndex:" };
inline constinit const OptionalOperation didDismiss { protocol, "alertView:didDismissWithButtonIndex:" };
}

template<typename T>
void UIAlertViewDelegate::registerOverrides(runtime::Class& cls)
{
    using Protocol = UIAlertViewDelegate;
    using namespace AlertViewDelegate;
    registerIfOverridden<Protocol>(cls, &T::alertViewClickedButtonAtIndex, clickedButton);
    registerIfOverridden<Protocol>(cls, &T::alertViewCancel, cancel);
    registerIfOverridden<Protocol>(cls, &T::willPresentAlertView, willPresent);
    registerIfOverridden<Protocol>(cls, &T::didPresentAlertView, didPresent);
    registerIfOverridden<Protocol>(cls, &T::alertViewWillDismissWithButtonIndex, willDismiss);
    registerIfOverridden<Protocol>(cls, &T::alertViewDidDismissWithButtonIndex, didDismiss);
}

class UIAlertView : public UIView {
    TORVANE_OBJECT(UIAlertView, UIView)
public:
    static constexpr CGFloat width = 284;

    // initWithFrame: (the frame is replaced when the alert is shown).
    static runtime::Ref<UIAlertView> create(CGRect frame = CGRectZero);
    // initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles: — the cancel button, when
    // given, is index 0 and the other buttons follow in order.
    static runtime::Ref<UIAlertView> create(std::optional<std::string> title, std::optional<std::string> message,
        runtime::Object* delegate, std::optional<std::string> cancelButtonTitle,
        const std::vector<std::string>& otherButtonTitles = {});
    ~UIAlertView() override;

    const std::optional<std::string>& title() const { return m_title; }
    void setTitle(std::optional<std::string> title);
    const std::optional<std::string>& message() const { return m_message; }
    void setMessage(std::optional<std::string> message);

    // The object should adopt UIAlertViewDelegate; one that does not receives nothing.
    runtime::Object* delegate() const { return m_delegate.get(); }
    void setDelegate(runtime::Object* delegate) { m_delegate = delegate; }

    // Returns the new button's index.
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return static_cast<int>(m_buttons.size()); }
    // nullopt for an index without a button.
    std::optional<std::string> buttonTitleAtIndex(int index) const;
    // -1 when there is none.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int index);
    // The first index that is not the cancel button's, or -1.
    int firstOtherButtonIndex() const;

    bool isVisible() const { return m_visible; }

    virtual void show();
    virtual void dismissWithClickedButtonIndex(int buttonIndex, bool animated);
    // The system takes the alert away (see the header comment).
    void systemCancel();

    UILabel& titleLabel() const { return m_titleLabel.get(); }
    UILabel& messageLabel() const { return m_messageLabel.get(); }
    // The scroll view holding the message label while the message is too long to show whole;
    // nullptr while it fits.
    UIScrollView* messageScrollView() const;
    // nullptr for an index without a button.
    UIButton* buttonAtIndex(int index) const;

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

    // Every alert being shown, bottom to top (the last one is the one the user sees).
    static std::vector<runtime::Ref<UIAlertView>> visibleAlerts();
    // Taps the first button titled `title` of the top alert with a touch through the alert window,
    // as a finger would. False when no alert is shown or it has no such button.
    static bool tapButtonWithTitle(std::string_view title);

protected:
    explicit UIAlertView(CGRect frame);
    // The body of initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:, for the
    // factories of subclasses.
    void initWithTitle(std::optional<std::string> title, std::optional<std::string> message, runtime::Object* delegate,
        std::optional<std::string> cancelButtonTitle, const std::vector<std::string>& otherButtonTitles);

private:
    template<typename Call>
    void tellDelegate(const OptionalOperation& operation, Call);
    void buttonTapped(int index);
    void dismiss(int buttonIndex, bool sendClick);
    // Sizes the alert to its content and places labels and buttons.
    void layoutContent();
    // Puts the message into `area` (alert coordinates; its height is the room there is) and gives
    // the height it takes.
    CGFloat placeMessage(CGRect area);

    std::optional<std::string> m_title;
    std::optional<std::string> m_message;
    runtime::WeakPtr<runtime::Object> m_delegate;
    runtime::Ref<UIImageView> m_backgroundView;
    runtime::Ref<UILabel> m_titleLabel;
    runtime::Ref<UILabel> m_messageLabel;
    runtime::RefPtr<UIScrollView> m_messageScrollView; // made the first time a message does not fit
    std::vector<runtime::Ref<UIButton>> m_buttons;
    int m_cancelButtonIndex { -1 };
    bool m_visible { false };
    bool m_dismissing { false };
    CGSize m_panelSize {};
    foundation::ScheduledCall m_didPresent; // dies with the view, so it never reports a dead one
};

}
