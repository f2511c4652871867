#pragma once

// What a navigation bar shows for one screen: its title, the buttons on the left and the right,
// and the title of the back button that leads back to it from the next screen. Each view controller
// has one (UIViewController::navigationItem); the bar shows the top item and follows its changes.

#include <runtime/Object.h>
#include <runtime/RefPtr.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIBarButtonItem.h>

#include <optional>
#include <string>

namespace uikit {

class UINavigationBar;
class UIView;

class UINavigationItem : public runtime::Object {
    TORVANE_OBJECT(UINavigationItem, runtime::Object)
public:
    // initWithTitle:
    static runtime::Ref<UINavigationItem> create(std::optional<std::string> title = std::nullopt);
    ~UINavigationItem() override;

    const std::optional<std::string>& title() const { return m_title; }
    void setTitle(std::optional<std::string> title);
    UIView* titleView() const { return m_titleView.get(); }
    void setTitleView(runtime::RefPtr<UIView> view);

    UIBarButtonItem* leftBarButtonItem() const { return m_leftItem.get(); }
    void setLeftBarButtonItem(runtime::RefPtr<UIBarButtonItem> item, bool animated = false);
    UIBarButtonItem* rightBarButtonItem() const { return m_rightItem.get(); }
    void setRightBarButtonItem(runtime::RefPtr<UIBarButtonItem> item, bool animated = false);
    // The item whose title the next screen's back button shows (its action is not used: the back
    // button always goes back).
    UIBarButtonItem* backBarButtonItem() const { return m_backItem.get(); }
    void setBackBarButtonItem(runtime::RefPtr<UIBarButtonItem> item);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides, bool animated = false);

    // The title the back button shows when this item is the one below the top: the back item's
    // title, else the item's title, else "Back".
    std::string backButtonTitle() const;

    // The bar showing the item, told of every change (set by the bar).
    void setBar(UINavigationBar* bar) { m_bar = bar; }

protected:
    explicit UINavigationItem(std::optional<std::string> title);

private:
    void changed();

    std::optional<std::string> m_title;
    runtime::RefPtr<UIView> m_titleView;
    runtime::RefPtr<UIBarButtonItem> m_leftItem;
    runtime::RefPtr<UIBarButtonItem> m_rightItem;
    runtime::RefPtr<UIBarButtonItem> m_backItem;
    bool m_hidesBackButton { false };
    runtime::WeakPtr<UINavigationBar> m_bar;
};

}
