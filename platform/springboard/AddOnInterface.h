#pragma once

// What the SpringBoard host asks of a loaded add-on without linking against it: C functions the
// add-on may export, looked up with dlsym in the process's loaded libraries. A missing function
// means the add-on is not loaded (or does not offer it), and the host reports nothing.

#include <cstddef>

extern "C" {

// Calls `visit` once for every entry of the add-on's running-applications list, in its order, as
// the add-on holds it (unfiltered); returns the number of entries.
using TorvaneRunningApplicationsFunction = size_t (*)(void (*visit)(const char* bundleIdentifier, void* context), void* context);
inline constexpr const char* TorvaneRunningApplicationsSymbol = "TorvaneRunningApplications";

}
