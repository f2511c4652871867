#include <uikit/UIDevice.h>

#include <foundation/NSNotificationCenter.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UIDevice)

UIDevice& UIDevice::currentDevice()
{
    static UIDevice* device = new UIDevice;
    return *device;
}

void UIDevice::setOrientation(UIDeviceOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    foundation::NSNotificationCenter::defaultCenter().postNotificationName(UIDeviceOrientationDidChangeNotification, this);
}

}
