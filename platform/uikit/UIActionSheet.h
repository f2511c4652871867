#pragma once

// A sheet of buttons that rises from the bottom of a view's window and asks the user to choose.
//
// Buttons and indexes: initWithTitle:delegate:cancelButtonTitle:destructiveButtonTitle:
// otherButtonTitles: puts the destructive button first (index 0), then the other buttons, then the
// cancel button last. addButtonWithTitle appends. The destructive and cancel indexes may be set to
// any button afterwards (or -1): the destructive button is drawn red, the cancel button dark and
// set apart at the bottom; the others are light. A button is a UIButton (UIControl) subview of
// the sheet, tagged index + 1.
//
// Showing: showInView(view) covers the view's window (the view itself when it is in no window)
// with a dimming layer that takes every touch and puts the sheet, 320 points wide and as high as
// its content, at its bottom. While shown, that layer holds the sheet, so a caller may drop its
// reference at once.
//
// Delegate callbacks (all optional, asked through respondsToSelector, see UIOptionalOperations.h;
// the delegate is weak) come in the same order as an alert's:
//   willPresentActionSheet → didPresentActionSheet (next run-loop turn);
//   a tap: actionSheet:clickedButtonAtIndex: → actionSheet:willDismissWithButtonIndex: →
//   (removed) → actionSheet:didDismissWithButtonIndex:;
//   dismissWithClickedButtonIndex:animated: clicks only when the index has a button.

#include <foundation/ScheduledCall.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIView.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace uikit {

class UIActionSheet;
class UIButton;
class UIImageView;
class UILabel;

enum UIActionSheetStyle : int {
    UIActionSheetStyleAutomatic = -1,
    UIActionSheetStyleDefault = 0,
    UIActionSheetStyleBlackTranslucent = 2,
    UIActionSheetStyleBlackOpaque = 1,
};

// UIActionSheetDelegate. Every operation is optional: a class that names the protocol
// (TORVANE_ADOPTS) takes the ones it overrides (the constants below name them, in the same order).
class UIActionSheetDelegate {
public:
    virtual ~UIActionSheetDelegate() = default;
    virtual void actionSheetClickedButtonAtIndex(UIActionSheet&, int /*buttonIndex*/) { }
    virtual void actionSheetCancel(UIActionSheet&) { }
    virtual void willPresentActionSheet(UIActionSheet&) { }
    virtual void didPresentActionSheet(UIActionSheet&) { }
    virtual void actionSheetWillDismissWithButtonIndex(UIActionSheet&, int /*buttonIndex*/) { }
    virtual void actionSheetDidDismissWithButtonIndex(UIActionSheet&, int /*buttonIndex*/) { }

    template<typename T>
    static void registerOverrides(runtime::Class&);
};

namespace ActionSheetDelegate {
inline constexpr const runtime::ProtocolDescriptor& protocol = runtime::protocolDescriptor<UIActionSheetDelegate>;
inline constinit const OptionalOperation clickedButton { protocol, "actionSheet:clickedButtonAtIndex:" };
inline constinit const OptionalOperation cancel { protocol, "actionSheetCancel:" };
inline constinit const OptionalOperation willPresent { protocol, "willPresentActionSheet:" };
inline constinit const OptionalOperation didPresent { protocol, "didPresentActionSheet:" };
inline constinit const OptionalOperation willDismiss { protocol, "actionSheet:willDismissWithButtonIndex:" };
inline constinit const OptionalOperation didDismiss { protocol, "actionSheet:didDismissWithButtonIndex:" };
}

template<typename T>
void UIActionSheetDelegate::registerOverrides(runtime::Class& cls)
{
    using Protocol = UIActionSheetDelegate;
    using namespace ActionSheetDelegate;
    registerIfOverridden<Protocol>(cls, &T::actionSheetClickedButtonAtIndex, clickedButton);
    registerIfOverridden<Protocol>(cls, &T::actionSheetCancel, cancel);
    registerIfOverridden<Protocol>(cls, &T::willPresentActionSheet, willPresent);
    registerIfOverridden<Protocol>(cls, &T::didPresentActionSheet, didPresent);
    registerIfOverridden<Protocol>(cls, &T::actionSheetWillDismissWithButtonIndex, willDismiss);
    registerIfOverridden<Protocol>(cls, &T::actionSheetDidDismissWithButtonIndex, didDismiss);
}

class UIActionSheet : public UIView {
    TORVANE_OBJECT(UIActionSheet, UIView)
public:
    static runtime::Ref<UIActionSheet> create(CGRect frame = CGRectZero);
    // initWithTitle:delegate:cancelButtonTitle:destructiveButtonTitle:otherButtonTitles:
    static runtime::Ref<UIActionSheet> create(std::optional<std::string> title, runtime::Object* delegate,
        std::optional<std::string> cancelButtonTitle, std::optional<std::string> destructiveButtonTitle,
        const std::vector<std::string>& otherButtonTitles = {});

    const std::optional<std::string>& title() const { return m_title; }
    void setTitle(std::optional<std::string> title);
    runtime::Object* delegate() const { return m_delegate.get(); }
    void setDelegate(runtime::Object* delegate) { m_delegate = delegate; }
    UIActionSheetStyle actionSheetStyle() const { return m_style; }
    void setActionSheetStyle(UIActionSheetStyle style);

    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return static_cast<int>(m_buttons.size()); }
    std::optional<std::string> buttonTitleAtIndex(int index) const;
    UIButton* buttonAtIndex(int index) const;
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int index);
    int destructiveButtonIndex() const { return m_destructiveButtonIndex; }
    void setDestructiveButtonIndex(int index);
    // The first button that is neither cancel nor destructive, or -1.
    int firstOtherButtonIndex() const;

    bool isVisible() const { return m_visible; }
    void showInView(UIView& view);
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);

    UILabel& titleLabel() const { return m_titleLabel.get(); }

    // Every sheet being shown, in the order they were shown.
    static std::vector<runtime::Ref<UIActionSheet>> visibleSheets();
    // Taps the first button titled `title` of the most recent sheet, through touch delivery.
    static bool tapButtonWithTitle(std::string_view title);

protected:
    explicit UIActionSheet(CGRect frame);

private:
    template<typename Call>
    void tellDelegate(const OptionalOperation& operation, Call);
    void buttonTapped(int index);
    void dismiss(int buttonIndex, bool sendClick);
    // Sizes the sheet for `width` and places title and buttons.
    void layoutContent(CGFloat width);
    static int validIndex(int index, int count) { return index >= 0 && index < count ? index : -1; }

    std::optional<std::string> m_title;
    runtime::WeakPtr<runtime::Object> m_delegate;
    UIActionSheetStyle m_style { UIActionSheetStyleAutomatic };
    runtime::Ref<UIImageView> m_backgroundView;
    runtime::Ref<UILabel> m_titleLabel;
    std::vector<runtime::Ref<UIButton>> m_buttons;
    int m_cancelButtonIndex { -1 };
    int m_destructiveButtonIndex { -1 };
    bool m_visible { false };
    bool m_dismissing { false };
    runtime::RefPtr<UIView> m_dimmingView;
    foundation::ScheduledCall m_didPresent; // dies with the view, so it never reports a dead one
};

}
