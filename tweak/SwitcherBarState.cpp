#include "SwitcherBarState.h"

namespace tweak {

namespace {
bool g_switcherBarIsShowing = false;
}

bool switcherBarIsShowing()
{
    return g_switcherBarIsShowing;
}

void setSwitcherBarIsShowing(bool showing)
{
    g_switcherBarIsShowing = showing;
}

}
