#include "SwitcherBarState.h"

namespace tweak {

namespace {
// Main thread only, like every hook; the bar starts hidden.
bool g_switcherBarShowing = false;
}

bool switcherBarIsShowing()
{
    return g_switcherBarShowing;
}

void setSwitcherBarShowing(bool showing)
{
    g_switcherBarShowing = showing;
}

}
