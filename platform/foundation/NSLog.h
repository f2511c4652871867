#pragma once

#include <foundation/Format.h>

#include <string>
#include <string_view>

namespace foundation {

// Writes one message to the system log, to LogSink, and, when the device has a /var/log folder,
// appends "<process>[pid]: message" to the device's /var/log/syslog, so the driver can read every
// process's lines in one file. Each line is one O_APPEND write, so lines of processes logging at
// the same time never interleave. The folder is never created here: the device layout decides
// whether there is a device log.
void logMessage(std::string_view message);

// The name in front of every line and the syslog identity: the executable's name unless a host
// sets another (SpringBoard calls itself "SpringBoard").
std::string logProcessName();
void setLogProcessName(std::string);

template<typename... Args>
void NSLog(std::string_view fmt, const Args&... args)
{
    logMessage(format(fmt, args...));
}

}
