#pragma once

// The preview both preview cells show in their 103 x 103 points: a sample icon standing on a soft
// shadow, the theme image around it (held in a clear box the icon's size, so a theme frame is
// relative to the icon's top-left corner) and the sample label below. Bottom to top: shadow, theme
// image, icon, label. The theme image always lies beneath the icon, even when it sits higher.
//
// Sample images: the icon and label the add-on last captured; without a captured icon both come
// from the pane's bundle; a captured icon without a captured label shows no label.

#include "SharedNames.h"

#include <runtime/Ref.h>
#include <uikit/UIImageView.h>
#include <uikit/UIView.h>

namespace pane {

class PreviewComposer {
public:
    static constexpr int shadowTag = 1221;
    static constexpr int iconTag = 2313;
    static constexpr int themeContainerTag = 8192;
    static constexpr int labelTag = 7661;

    static constexpr const char shadowImagePath[] = "/System/Library/PreferenceBundles/TorvaneSettings.bundle/ShadowImage.png";
    // Where the add-on draws the sample icon and its label.
    static constexpr const char* capturedIconPath = torvane::previewIconPath;
    static constexpr const char* capturedLabelPath = torvane::previewLabelPath;
    static constexpr const char bundleIconPath[] = "/System/Library/PreferenceBundles/TorvaneSettings.bundle/TorvanePreviewIcon.png";
    static constexpr const char bundleLabelPath[] = "/System/Library/PreferenceBundles/TorvaneSettings.bundle/TorvanePreviewLabel.png";

    // Replaces any preview views `cell` already holds with a fresh preview around `themeImage`,
    // which keeps its own frame, image and alpha.
    static void compose(uikit::UIView& cell, runtime::Ref<uikit::UIImageView> themeImage);

private:
    static void removePreviousPreview(uikit::UIView& cell);
};

}
