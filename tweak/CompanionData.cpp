#include "CompanionData.h"

#include "SharedNames.h"

#include <foundation/DeviceRoot.h>
#include <foundation/NSDictionary.h>

#include <sys/stat.h>

namespace tweak {

namespace {

struct ReadFile {
    struct stat identity {};
    std::string hostPath;
    runtime::RefPtr<foundation::NSDictionary> contents;
};

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec
        && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}

runtime::RefPtr<foundation::NSDictionary> CompanionData::contents()
{
    static ReadFile last;
    auto hostPath = foundation::DeviceRoot::resolve(torvane::companionDataPath);
    struct stat identity {};
    if (!hostPath || ::stat(hostPath->c_str(), &identity) != 0 || !S_ISREG(identity.st_mode)) {
        last = {};
        return nullptr;
    }
    if (last.contents && last.hostPath == *hostPath && sameFile(last.identity, identity))
        return last.contents;
    auto contents = foundation::NSDictionary::dictionaryWithContentsOfFile(torvane::companionDataPath);
    // A file that changes while it is read is read again next time.
    struct stat after {};
    if (contents && ::stat(hostPath->c_str(), &after) == 0 && sameFile(identity, after))
        last = { identity, *hostPath, contents };
    else
        last = {};
    return contents;
}

}
