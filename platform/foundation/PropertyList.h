#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace foundation {

enum class PropertyListFormat { XML, Binary };

// Property-list values: NSString, NSNumber, NSData, NSDate, NSArray and NSDictionary (string
// keys), all text well-formed UTF-8. Reading and writing go through libplist; files anyone on
// the device can write are checked before the library sees them (see PropertyListGuard.h), so
// hostile input reads as nil. Dates are stored in 32-bit seconds from 2001 (about 1933 to
// 2069; others fail to write); XML keeps whole seconds, binary keeps microseconds except within
// the one second before 2001, which libplist 2.2 reads back up to a second late.
class PropertyList {
public:
    // Larger inputs are refused unread: the product's files are a few kilobytes.
    static constexpr size_t maximumSize = size_t(16) << 20;
    // Deeper nesting (arrays and dictionaries inside each other) is refused on read and write.
    static constexpr unsigned maximumDepth = 256;

    // XML or binary ("bplist00") bytes to objects; nil for anything malformed or refused.
    // Collections come back immutable; Containers::Mutable makes every array and dictionary
    // mutable instead.
    enum class Containers { Immutable, Mutable };
    static runtime::RefPtr<runtime::Object> read(std::span<const uint8_t> bytes, Containers = Containers::Immutable);
    // The file at a device path, read afresh; nil when missing, unreadable or malformed.
    static runtime::RefPtr<runtime::Object> readFile(std::string_view path, Containers = Containers::Immutable);

    // Is `value` made only of property-list values (and not nested past maximumDepth)?
    static bool isPropertyList(const runtime::Object& value);
    // nullopt when `value` is not a property list.
    static std::optional<std::vector<uint8_t>> serialize(const runtime::Object& value,
        PropertyListFormat format = PropertyListFormat::XML);
    // Serialises and writes to a device path (WholeFile.h); false on any failure. Property lists
    // hold settings, so an atomic write is a durable one.
    static bool writeFile(const runtime::Object& value, std::string_view path, bool atomically,
        PropertyListFormat format = PropertyListFormat::XML);
};

}
