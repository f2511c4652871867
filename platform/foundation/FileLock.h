#pragma once

// An exclusive advisory lock on a device path (flock on a file kept for that purpose), held for
// as long as the object lives. Processes that take the same lock around a read-modify-write of a
// shared file do it one after another; readers that take no lock never wait. The lock goes with
// the process too, so one that dies holding it blocks nobody.

#include <optional>
#include <string_view>

namespace foundation {

class FileLock {
public:
    // Waits for the lock on `devicePath`, creating the lock file when it is missing. nullopt when
    // the file cannot be opened (a folder that does not exist or cannot be written): the caller
    // then goes on unlocked, as it would have without the lock.
    static std::optional<FileLock> exclusive(std::string_view devicePath);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&&) = delete;
    FileLock(const FileLock&) = delete;
    ~FileLock();

private:
    explicit FileLock(int fd);
    int m_fd;
};

}
