#pragma once

// Icon images. An application's icon is read from /Applications/<bundle id>.app/Icon.png (with its
// @2x sibling preferred, as UIImage does) when the device has one; otherwise one is drawn: a rounded
// tile in a colour picked from the bundle identifier, the name's initial in white, and the iOS 6
// gloss. A folder's icon is a dark glass tile showing its first nine applications in small.

#include <runtime/RefPtr.h>
#include <uikit/UIImage.h>

#include <string>
#include <vector>

namespace springboard {

class SBIconArtwork {
public:
    static std::string iconPathForBundleIdentifier(const std::string& bundleIdentifier);
    static runtime::RefPtr<uikit::UIImage> applicationIconImage(const std::string& bundleIdentifier, const std::string& displayName);
    // Always drawn, never read from a file.
    static runtime::RefPtr<uikit::UIImage> drawnApplicationIconImage(const std::string& bundleIdentifier, const std::string& displayName);
    static runtime::RefPtr<uikit::UIImage> folderIconImage(const std::vector<uikit::UIImage*>& miniatures);
};

}
