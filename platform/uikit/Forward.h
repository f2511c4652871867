#pragma once

namespace uikit {
class UIApplication;
class UIButton;
class UIColor;
class UIControl;
class UIDevice;
class UIEvent;
class UIFont;
class UIImage;
class UIImageView;
class UILabel;
class UIResponder;
class UIScreen;
class UISwitch;
class UITouch;
class UIView;
class UIWindow;
class NSCoder;
}

namespace foundation {
class NSData;
class NSSet;
}
