#pragma once

#include "SharedNames.h"

#include <string_view>

namespace tweak {

// The settings pane cannot draw home-screen icons, so SpringBoard renders one for it: the Photos
// application's icon image and label image, written as PNG files the pane's preview reads.
class PreviewCapture {
public:
    PreviewCapture() = delete;

    static constexpr std::string_view sampleApplication = "com.apple.mobileslideshow";
    static constexpr std::string_view iconImagePath = torvane::previewIconPath;
    static constexpr std::string_view labelImagePath = torvane::previewLabelPath;

    // Works on a detached copy of the sample's home-screen icon view, so the live view is never
    // touched. Without the sample's icon, its view or an icon image nothing changes; with an icon
    // image but no label image the label file is removed, so the pane never pairs a fresh icon
    // with a stale label. Both files are replaced atomically: a reader sees the old or the new one.
    static void saveNewPreviewImage();
};

}
