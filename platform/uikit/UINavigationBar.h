#pragma once

// The bar across the top of a navigation screen, 44 points high: the top item's title in the
// middle, its left button (or a back button titled after the item below it) and its right button.
//
// The buttons are UIButton subviews made from the items, so a finger (or tapButtonWithTitle) presses
// them through ordinary touch delivery. A bar item's action runs on touch up inside; a disabled item
// shows a dimmed button that does nothing when touched. The back button calls the back handler (the
// navigation controller pops its top screen) or, without one, pops the top item itself.

#include <runtime/Ref.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UINavigationItem.h>
#include <uikit/UIView.h>

#include <functional>
#include <string_view>
#include <vector>

namespace uikit {

class UIButton;
class UILabel;

enum UIBarStyle : int {
    UIBarStyleDefault = 0,
    UIBarStyleBlack = 1,
    UIBarStyleBlackTranslucent = 2,
};

class UINavigationBar : public UIView {
    TORVANE_OBJECT(UINavigationBar, UIView)
public:
    static constexpr CGFloat height = 44;

    static runtime::Ref<UINavigationBar> create(CGRect frame = { { 0, 0 }, { 320, height } });
    ~UINavigationBar() override;

    UIBarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(UIBarStyle style);

    const std::vector<runtime::Ref<UINavigationItem>>& items() const { return m_items; }
    void setItems(std::vector<runtime::Ref<UINavigationItem>> items, bool animated = false);
    void pushNavigationItem(runtime::Ref<UINavigationItem> item, bool animated = false);
    runtime::RefPtr<UINavigationItem> popNavigationItemAnimated(bool animated = false);
    UINavigationItem* topItem() const;
    UINavigationItem* backItem() const;

    void setBackHandler(std::function<void()> handler) { m_backHandler = std::move(handler); }

    // What the bar shows now (for tests, dumps and the driver).
    UILabel& titleLabel() const { return m_titleLabel.get(); }
    UIButton* leftButton() const { return m_leftButton.get(); }
    UIButton* rightButton() const { return m_rightButton.get(); }
    bool showsBackButton() const { return m_showsBack; }
    // Taps the left or right button titled `title` with a finger. False when none is shown or it
    // did not take the touch.
    bool tapButtonWithTitle(std::string_view title);

    // An item shown by this bar changed.
    void itemDidChange();

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

protected:
    explicit UINavigationBar(CGRect frame);

private:
    void rebuild();
    runtime::RefPtr<UIButton> makeButton(UIBarButtonItem* item, bool back);
    void backTapped();

    UIBarStyle m_barStyle { UIBarStyleDefault };
    std::vector<runtime::Ref<UINavigationItem>> m_items;
    runtime::Ref<UILabel> m_titleLabel;
    runtime::RefPtr<UIButton> m_leftButton;
    runtime::RefPtr<UIButton> m_rightButton;
    runtime::RefPtr<UIView> m_leftCustomView;
    runtime::RefPtr<UIView> m_rightCustomView;
    runtime::RefPtr<UIView> m_titleView;
    bool m_showsBack { false };
    std::function<void()> m_backHandler;
};

}
