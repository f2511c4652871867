#include <uikit/UIScreen.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UIScreen)

UIScreen& UIScreen::mainScreen()
{
    // Lives for the process, like the device's screen.
    static UIScreen* screen = new UIScreen;
    return *screen;
}

}
