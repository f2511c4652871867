#pragma once

#include <cstdint>

// The libnotify face of Darwin notifications.
namespace notify {

enum : uint32_t {
    NOTIFY_STATUS_OK = 0,
    NOTIFY_STATUS_INVALID_NAME = 1,
};

// Posts `name` to every observer in the system (see DarwinNotifyCenter). The observers' callbacks
// run later on their run loops, never inside this call.
uint32_t notify_post(const char* name);

}
