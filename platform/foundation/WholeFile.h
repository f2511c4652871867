#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// Whole-file reads and writes at device paths (see DeviceRoot.h).
//
// An atomic write puts the bytes in a new temporary file in the same folder (".<name>.XXXXXX") and
// renames it over the path: readers see the old file or the new one, never a mix, and a failed
// write leaves the old file untouched and removes its temporary file. A durable write does the
// same and also flushes the file with fsync before the rename and the folder after it, so the new
// file survives the machine going down too; settings are written so. Files that are made again
// whenever they are needed (pictures, caches) are written atomically only: an fsync costs a disk
// a good part of a millisecond, and SpringBoard writes a hundred icons as it starts. A write in
// place truncates the file and writes it; a reader may see it half written. New files get mode
// 0644.
class WholeFile {
public:
    // nullopt when the file is missing, unreadable, not a regular file or larger than
    // `maximumSize` (checked while reading, so a file that grows meanwhile is refused too).
    static std::optional<std::vector<uint8_t>> read(std::string_view devicePath, size_t maximumSize);
    enum class Write { InPlace, Atomically, Durably };
    static bool write(std::string_view devicePath, std::span<const uint8_t> bytes, Write);

    // Test seam: called with the temporary file's host path after it is written and flushed,
    // just before the rename. Returning false makes the write fail there, as if the rename had
    // failed; a hook may also end the process to stand for a crash at that moment.
    using BeforeRenameHook = bool (*)(const std::string& temporaryPath);
    static void setBeforeRenameHookForTesting(BeforeRenameHook hook);
};

}
