#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <string_view>

namespace foundation {

// Files of the simulated device. Paths are device paths, resolved under DeviceRoot; a path that
// climbs out of the root through ".." is treated as missing (and fails with an NSError of
// code EACCES). Failures set `*error` when `error` is given; successes leave it alone.
class NSFileManager final : public runtime::Object {
    TORVANE_OBJECT(NSFileManager, runtime::Object)
public:
    static NSFileManager& defaultManager();

    bool fileExistsAtPath(std::string_view path) const;
    bool fileExistsAtPathIsDirectory(std::string_view path, bool* isDirectory) const;
    // Removes a file, or a folder with everything inside it (symbolic links are removed, not
    // followed). A missing item is an error, as in Foundation.
    bool removeItemAtPath(std::string_view path, runtime::RefPtr<NSError>* error = nullptr);
    // Names of the folder's entries without "." and "..", sorted by byte order; nil on error.
    runtime::RefPtr<NSArray> contentsOfDirectoryAtPath(std::string_view path, runtime::RefPtr<NSError>* error = nullptr);
    // Without intermediate folders, an existing item at `path` is an error; with them, an
    // existing folder is success.
    bool createDirectoryAtPath(std::string_view path, bool withIntermediateDirectories, runtime::RefPtr<NSError>* error = nullptr);
    // Copies a file or a folder tree (permissions kept); fails if `to` already exists.
    bool copyItemAtPath(std::string_view from, std::string_view to, runtime::RefPtr<NSError>* error = nullptr);

private:
    NSFileManager() = default;
};

}
