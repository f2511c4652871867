#include <foundation/FileIdentity.h>

#include <sys/stat.h>

namespace foundation {

namespace {

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

}

std::optional<FileIdentity> FileIdentity::ofRegularFile(const std::string& hostPath)
{
    struct stat status {};
    if (::stat(hostPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity { status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim };
}

bool operator==(const FileIdentity& a, const FileIdentity& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && sameTime(a.modified, b.modified)
        && sameTime(a.changed, b.changed);
}

}
