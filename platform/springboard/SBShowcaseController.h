#pragma once

// Shows and hides the switcher bar. setHidden: is hookable: NO as the bar comes up, YES as it goes.
// Its own implementation slides the home screen up by the bar's height and shows the bar (or
// puts both back).

#include <springboard/HookedOperations.h>

#include <runtime/Object.h>
#include <runtime/RefPtr.h>

#include <functional>

namespace springboard {

class SBShowcaseController : public runtime::Object {
    TORVANE_OBJECT(SBShowcaseController, runtime::Object)
public:
    static runtime::Ref<SBShowcaseController> create();
    static SBShowcaseController* sharedInstance();
    static void setSharedInstance(runtime::RefPtr<SBShowcaseController>);

    void setHidden(bool hidden);
    bool isHidden() const { return m_hidden; }

    // What the own implementation does to the screen; SpringBoard installs it.
    void setPresenter(std::function<void(bool visible)> presenter) { m_presenter = std::move(presenter); }

private:
    SBShowcaseController() = default;
    static void registerMethods(runtime::Class&);
    static void setHiddenImplementation(runtime::Object* self, runtime::Selector, bool hidden);

    bool m_hidden { true };
    std::function<void(bool)> m_presenter;
};

}
