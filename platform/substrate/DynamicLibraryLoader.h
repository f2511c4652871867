#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace substrate {

// The device folder the hooking substrate loads add-on libraries from.
inline constexpr std::string_view dynamicLibrariesFolder = "/Library/MobileSubstrate/DynamicLibraries";

// Loads the add-on libraries meant for the process with this bundle identifier, as the substrate
// does when a process starts. Every "<name>.dylib" in dynamicLibrariesFolder (under the device
// root), in name order, is loaded with dlopen(RTLD_NOW | RTLD_GLOBAL) when its filter
// "<name>.plist", { Filter = { Bundles = ( ... ); }; }, lists the identifier; the library's
// load-time constructors run inside this call.
//
// A library without a readable filter, or whose filter has no Bundles list, is not loaded: nothing
// is loaded into every process by accident. A library that fails to load is logged with the
// loader's reason and skipped; a file that is not a shared library at all (an installation marker
// such as Activator.dylib) is skipped without a word. Libraries stay loaded for the life of the
// process. Returns the file names of the libraries loaded, in order.
std::vector<std::string> loadSubstrateLibraries(std::string_view bundleIdentifier);

}
