#pragma once

#include <sim/protocol/Json.h>

#include <graphics/Image.h>

#include <string>

namespace hosts {

// Answers a `screenshot PATH` request: writes `screen` as PNG at the host path `path` (the driver's
// own file system, not the device's). Throws ControlError naming the reason when it cannot.
sim::protocol::Json writeScreenshot(const graphics::CGImage& screen, const std::string& path);

}
