#include "CompanionData.h"

#include "SharedNames.h"

#include <foundation/DeviceRoot.h>
#include <foundation/FileIdentity.h>
#include <foundation/NSDictionary.h>

namespace tweak {

namespace {

struct ReadFile {
    std::string hostPath;
    foundation::FileIdentity identity;
    runtime::RefPtr<foundation::NSDictionary> contents;
};

}

runtime::RefPtr<foundation::NSDictionary> CompanionData::contents()
{
    static std::optional<ReadFile> last;
    auto hostPath = foundation::DeviceRoot::resolve(torvane::companionDataPath);
    auto identity = hostPath ? foundation::FileIdentity::ofRegularFile(*hostPath) : std::nullopt;
    if (!identity) {
        last.reset();
        return nullptr;
    }
    if (last && last->hostPath == *hostPath && last->identity == *identity)
        return last->contents;
    auto contents = foundation::NSDictionary::dictionaryWithContentsOfFile(torvane::companionDataPath);
    // A file that changes while it is read is read again next time.
    if (contents && foundation::FileIdentity::ofRegularFile(*hostPath) == identity)
        last = ReadFile { *hostPath, *identity, contents };
    else
        last.reset();
    return contents;
}

}
