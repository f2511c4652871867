#pragma once

// What tells one state of a file from another without reading it: the device and inode (a file
// replaced by a rename is another file), the size, and the modification and change times to the
// nanosecond. A cache of what was read from a file keeps the identity it read and reads again when
// the file's differs.

#include <optional>
#include <string>

#include <sys/types.h>
#include <time.h>

namespace foundation {

struct FileIdentity {
    dev_t device {};
    ino_t inode {};
    off_t size {};
    timespec modified {};
    timespec changed {};

    // Nothing when there is no regular file at the host path.
    static std::optional<FileIdentity> ofRegularFile(const std::string& hostPath);

    friend bool operator==(const FileIdentity&, const FileIdentity&);
};

}
