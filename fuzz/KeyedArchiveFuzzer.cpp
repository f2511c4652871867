// Hostile keyed archives through NSKeyedUnarchiver. Whatever unarchives must archive again, and
// that archive must unarchive to an object of the same class.
#include <foundation/NSData.h>
#include <uikit/NSKeyedArchiver.h>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto archive = foundation::NSData::create(data, size);
    auto root = uikit::NSKeyedUnarchiver::unarchiveObjectWithData(*archive);
    if (!root)
        return 0;
    root->description();
    auto again = uikit::NSKeyedArchiver::archivedDataWithRootObject(*root);
    auto copy = again ? uikit::NSKeyedUnarchiver::unarchiveObjectWithData(*again) : nullptr;
    if (!copy || copy->className() != root->className()) {
        std::fprintf(stderr, "an unarchived %s does not archive and unarchive again\n", root->className().c_str());
        std::abort();
    }
    return 0;
}
