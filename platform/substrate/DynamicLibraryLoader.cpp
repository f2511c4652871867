#include <substrate/DynamicLibraryLoader.h>

#include <foundation/DeviceRoot.h>
#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSLog.h>
#include <foundation/NSString.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace substrate {

namespace {

constexpr std::string_view librarySuffix = ".dylib";

std::string devicePathInFolder(std::string_view name)
{
    return std::string(dynamicLibrariesFolder) + "/" + std::string(name);
}

// Does the filter next to the library name this bundle?
bool filterNamesBundle(std::string_view libraryBaseName, std::string_view bundleIdentifier)
{
    auto filterFile = foundation::NSDictionary::dictionaryWithContentsOfFile(devicePathInFolder(std::string(libraryBaseName) + ".plist"));
    if (!filterFile)
        return false;
    auto filter = filterFile->dictionaryForKey("Filter");
    auto bundles = filter ? filter->arrayForKey("Bundles") : nullptr;
    if (!bundles)
        return false;
    return std::any_of(bundles->begin(), bundles->end(), [&](const runtime::Ref<runtime::Object>& entry) {
        auto* bundle = runtime::dynamicCast<foundation::NSString>(entry);
        return bundle && bundle->isEqualToString(bundleIdentifier);
    });
}

// Shared libraries start with the ELF magic; anything else in the folder is a marker file.
bool looksLikeSharedLibrary(const std::string& hostPath)
{
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::array<char, 4> magic {};
    ssize_t got = ::read(fd, magic.data(), magic.size());
    ::close(fd);
    return got == 4 && std::memcmp(magic.data(), "\x7f" "ELF", 4) == 0;
}

}

std::vector<std::string> loadSubstrateLibraries(std::string_view bundleIdentifier)
{
    std::vector<std::string> loaded;
    auto contents = foundation::NSFileManager::defaultManager().contentsOfDirectoryAtPath(dynamicLibrariesFolder);
    if (!contents)
        return loaded;

    std::vector<std::string> names;
    for (auto& entry : *contents) {
        auto* name = runtime::dynamicCast<foundation::NSString>(entry);
        if (name && name->string().size() > librarySuffix.size() && name->hasSuffix(librarySuffix))
            names.push_back(name->string());
    }
    std::sort(names.begin(), names.end());

    for (auto& name : names) {
        std::string_view baseName = std::string_view(name).substr(0, name.size() - librarySuffix.size());
        if (!filterNamesBundle(baseName, bundleIdentifier))
            continue;
        auto hostPath = foundation::DeviceRoot::resolve(devicePathInFolder(name));
        if (!hostPath)
            continue;
        if (!::dlopen(hostPath->c_str(), RTLD_NOW | RTLD_GLOBAL)) {
            const char* reason = ::dlerror();
            if (looksLikeSharedLibrary(*hostPath))
                foundation::NSLog("substrate: could not load %s: %s", name, reason ? reason : "unknown error");
            continue;
        }
        loaded.push_back(name);
    }
    return loaded;
}

}
