#pragma once

// The switcher bar's content: the running applications, most recently active first, each shown by
// its view in the switcher icon-view map. The bar is kept up to date whether it shows or not (as on
// iOS), so the switcher map has a view for every running application at any time; every change
// lays the bar out again, mapping each view anew.
//
// iconCloseBoxTapped: is how applications are ended: given a switcher icon view, it takes the view
// out of the bar, ends the application's process (SIGTERM; reaped when it has gone) and sets the
// stopped state through setApplicationState:.

#include <springboard/Forward.h>

#include <runtime/Object.h>
#include <runtime/RefPtr.h>

#include <vector>

namespace springboard {

class SBAppSwitcherBarView;

class SBAppSwitcherController : public runtime::Object {
    TORVANE_OBJECT(SBAppSwitcherController, runtime::Object)
public:
    static runtime::Ref<SBAppSwitcherController> create();
    static SBAppSwitcherController* sharedInstance();
    static void setSharedInstance(runtime::RefPtr<SBAppSwitcherController>);

    SBAppSwitcherBarView& barView() const { return m_barView.get(); }

    // Running applications, most recently active first.
    const std::vector<runtime::Ref<SBApplication>>& applications() const { return m_applications; }
    // Their icons in the same order (applications without an icon are left out).
    std::vector<runtime::Ref<SBIcon>> icons() const;

    void iconCloseBoxTapped(SBIconView* iconView);

    // From the application controller.
    void applicationDidActivate(SBApplication&);
    void applicationDidStop(SBApplication&);

    // Maps and places the views of the bar's icons again.
    void layoutBar();

private:
    SBAppSwitcherController();

    runtime::Ref<SBAppSwitcherBarView> m_barView;
    std::vector<runtime::Ref<SBApplication>> m_applications;
};

}
