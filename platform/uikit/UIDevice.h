#pragma once

// The device: model strings and the physical orientation. Changing the orientation (the simulated
// accelerometer) posts UIDeviceOrientationDidChangeNotification with the device as object.

#include <runtime/Object.h>

#include <string>

namespace uikit {

enum UIDeviceOrientation : int {
    UIDeviceOrientationUnknown = 0,
    UIDeviceOrientationPortrait = 1,
    UIDeviceOrientationPortraitUpsideDown = 2,
    UIDeviceOrientationLandscapeLeft = 3,
    UIDeviceOrientationLandscapeRight = 4,
    UIDeviceOrientationFaceUp = 5,
    UIDeviceOrientationFaceDown = 6,
};

inline constexpr const char UIDeviceOrientationDidChangeNotification[] = "UIDeviceOrientationDidChangeNotification";

class UIDevice : public runtime::Object {
    TORVANE_OBJECT(UIDevice, runtime::Object)
public:
    static UIDevice& currentDevice();

    std::string model() const { return "iPhone"; }
    std::string systemName() const { return "iPhone OS"; }
    std::string systemVersion() const { return "6.1.3"; }

    UIDeviceOrientation orientation() const { return m_orientation; }
    // Posts the notification only when the orientation actually changes.
    void setOrientation(UIDeviceOrientation orientation);

private:
    UIDevice() = default;
    UIDeviceOrientation m_orientation { UIDeviceOrientationPortrait };
};

}
