#pragma once

#include <notify/DarwinNotifyCenter.h>

#include <string_view>

namespace tweak {

// The settings pane's signals (torvane::DarwinNotification).

// The settings changed: reload the cache, then let every indicator re-read its image, frame and
// opacity (SwipeUpdateColorImageView).
void reloadDMRSettings(notify::DarwinNotifyCenter*, void* observer, std::string_view name, const void* object,
    const foundation::NSDictionary* userInfo);

// The settings pane wants fresh preview images: writes the sample icon's image and label files
// (PreviewCapture).
void saveNewPreviewImage(notify::DarwinNotifyCenter*, void* observer, std::string_view name, const void* object,
    const foundation::NSDictionary* userInfo);

}

// The library's load-time constructor. Inside SpringBoard it discards an outdated preferences
// file, logs the version, loads the settings, registers the quick-killer listener, subscribes to
// the settings pane's signals and installs the hooks; in any other process it does nothing.
extern "C" void Dashmere_initializer();
