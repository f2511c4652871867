// Feeds arbitrary bytes to the property-list loading path, as a settings or companion file
// written by anyone on the device would be. Whatever parses must also survive the rest of what
// the product does with it: printing it with "%@" and writing it back.
#include <foundation/PropertyList.h>

#include <cstdio>
#include <cstdlib>

using namespace foundation;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    runtime::RefPtr<runtime::Object> root = PropertyList::read(std::span(data, size));
    if (!root)
        return 0;
    const std::string text = root->description();
    // Whatever was read must write again and read back the same.
    auto bytes = PropertyList::serialize(*root, PropertyListFormat::Binary);
    if (!bytes) {
        std::fprintf(stderr, "property list read but cannot be written:\n%s\n", text.c_str());
        std::abort();
    }
    runtime::RefPtr<runtime::Object> again = PropertyList::read(*bytes);
    if (!again || again->description() != text) {
        std::fprintf(stderr, "property list changed on a write and read:\n%s\n---\n%s\n", text.c_str(),
            again ? again->description().c_str() : "(unreadable)");
        std::abort();
    }
    return 0;
}
