#pragma once

// Taking the pane's screens off the Settings application's navigation stack when it leaves the
// front.

#include <preferences/SettingsApplication.h>

namespace pane {

// Pops, without animation, as long as the stack's top screen is a `Screen` (subclasses count).
template<typename Screen>
void popScreensOfClass()
{
    auto* application = preferences::SettingsApplication::shared();
    if (!application)
        return;
    auto& navigation = application->rootController();
    while (auto* top = navigation.topViewController()) {
        if (!top->template isKindOf<Screen>() || !navigation.popViewControllerAnimated(false))
            break;
    }
}

}
