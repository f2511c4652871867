#include <foundation/NSData.h>
#include <foundation/NSDate.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/PropertyList.h>
#include <foundation/PropertyListGuard.h>
#include <foundation/UnicodeText.h>
#include <foundation/WholeFile.h>

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace foundation {

using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

namespace {

// Binary files may share objects, and the parser copies a shared object for every use: cap the
// tree it would build (about 100 bytes per node in libplist).
constexpr size_t maximumNodes = size_t(1) << 20;

// Property-list dates count from 2001-01-01, ours from 1970-01-01.
constexpr double referenceDateOffset = 978307200.0;

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

RefPtr<Object> toObject(plist_t node, unsigned depth, PropertyList::Containers containers);

RefPtr<Object> arrayToObject(plist_t node, unsigned depth, PropertyList::Containers containers)
{
    NSArray::Storage elements;
    const uint32_t count = plist_array_get_size(node);
    elements.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        RefPtr<Object> element = toObject(plist_array_get_item(node, i), depth + 1, containers);
        if (!element)
            return nullptr;
        elements.push_back(element.releaseNonNull());
    }
    if (containers == PropertyList::Containers::Mutable)
        return NSMutableArray::create(std::move(elements));
    return NSArray::create(std::move(elements));
}

RefPtr<Object> dictionaryToObject(plist_t node, unsigned depth, PropertyList::Containers containers)
{
    NSDictionary::Storage entries;
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    if (!iterator)
        return nullptr;
    bool ok = true;
    while (true) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &key, &value);
        if (!value) {
            std::free(key);
            break;
        }
        RefPtr<Object> object = key && unicode::isValidUTF8(key) ? toObject(value, depth + 1, containers) : nullptr;
        if (!object) {
            std::free(key);
            ok = false;
            break;
        }
        // A repeated key keeps its last value.
        entries.insert_or_assign(std::string(key), object.releaseNonNull());
        std::free(key);
    }
    std::free(iterator);
    if (!ok)
        return nullptr;
    if (containers == PropertyList::Containers::Mutable)
        return NSMutableDictionary::create(std::move(entries));
    return NSDictionary::create(std::move(entries));
}

// Everything the file holds becomes an object, or the whole read fails: a half-read settings
// dictionary would look like a complete one with entries missing.
RefPtr<Object> toObject(plist_t node, unsigned depth, PropertyList::Containers containers)
{
    if (!node || depth > PropertyList::maximumDepth)
        return nullptr;
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return NSNumber::numberWithBool(value);
    }
    case PLIST_UINT: {
        // Negative integers come back as their two's-complement bit pattern.
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return NSNumber::numberWithInteger(static_cast<int64_t>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return NSNumber::numberWithDouble(value);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        std::string string = text ? std::string(text, length) : std::string();
        // Property-list text is Unicode without NUL characters; anything else means a damaged
        // file (and could not be written back whole).
        if (!unicode::isValidUTF8(string) || string.find('\0') != std::string::npos)
            return nullptr;
        return NSString::create(std::move(string));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        return NSData::create(bytes, bytes ? length : 0);
    }
    case PLIST_DATE: {
        // The library hands out whole seconds truncated toward zero and the size of the rest,
        // without its sign: before 2001 the rest counts backwards. (Within the one second
        // before 2001 the sign is lost altogether and the date reads up to a second late.)
        int32_t seconds = 0, microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        const double rest = std::abs(microseconds) / 1e6;
        return NSDate::dateWithTimeIntervalSince1970(seconds + (seconds < 0 ? -rest : rest) + referenceDateOffset);
    }
    case PLIST_ARRAY:
        return arrayToObject(node, depth, containers);
    case PLIST_DICT:
        return dictionaryToObject(node, depth, containers);
    case PLIST_KEY:
    case PLIST_UID:
    case PLIST_NONE:
        break;
    }
    return nullptr;
}

// nullptr when `object` (or something inside it) is not a property-list value.
PlistPtr toPlist(const Object& object, unsigned depth)
{
    if (depth > PropertyList::maximumDepth)
        return nullptr;
    if (auto* string = runtime::dynamicCast<NSString>(&object)) {
        // The library takes C strings, so text with a NUL byte cannot be stored whole, and its
        // binary writer drops bytes that are not UTF-8: refuse both rather than lose text.
        if (string->string().find('\0') != std::string::npos || !unicode::isValidUTF8(string->string()))
            return nullptr;
        return PlistPtr(plist_new_string(string->string().c_str()));
    }
    if (auto* number = runtime::dynamicCast<NSNumber>(&object)) {
        switch (number->kind()) {
        case NSNumber::Kind::Boolean:
            return PlistPtr(plist_new_bool(number->boolValue()));
        case NSNumber::Kind::Integer:
            return PlistPtr(plist_new_uint(static_cast<uint64_t>(number->integerValue())));
        case NSNumber::Kind::Double:
        case NSNumber::Kind::Float:
            return PlistPtr(plist_new_real(number->doubleValue()));
        }
        return nullptr;
    }
    if (auto* data = runtime::dynamicCast<NSData>(&object)) {
        static const char empty = 0;
        const char* bytes = data->length() ? reinterpret_cast<const char*>(data->bytes()) : &empty;
        return PlistPtr(plist_new_data(bytes, data->length()));
    }
    if (auto* date = runtime::dynamicCast<NSDate>(&object)) {
        // The library takes whole seconds in 32 bits (about 1933 to 2069) plus microseconds of
        // the same sign, and adds them up again.
        const double sinceReference = date->timeIntervalSince1970() - referenceDateOffset;
        const double seconds = std::trunc(sinceReference);
        if (!(seconds >= INT32_MIN && seconds <= INT32_MAX))
            return nullptr;
        const long microseconds = std::clamp(std::lround((sinceReference - seconds) * 1e6), -999999L, 999999L);
        return PlistPtr(plist_new_date(static_cast<int32_t>(seconds), static_cast<int32_t>(microseconds)));
    }
    if (auto* array = runtime::dynamicCast<NSArray>(&object)) {
        PlistPtr node(plist_new_array());
        for (const auto& element : *array) {
            PlistPtr item = toPlist(element.get(), depth + 1);
            if (!item)
                return nullptr;
            plist_array_append_item(node.get(), item.release());
        }
        return node;
    }
    if (auto* dictionary = runtime::dynamicCast<NSDictionary>(&object)) {
        PlistPtr node(plist_new_dict());
        for (const auto& [key, value] : *dictionary) {
            if (key.find('\0') != std::string::npos || !unicode::isValidUTF8(key))
                return nullptr;
            PlistPtr item = toPlist(value.get(), depth + 1);
            if (!item)
                return nullptr;
            plist_dict_set_item(node.get(), key.c_str(), item.release());
        }
        return node;
    }
    return nullptr;
}

}

RefPtr<Object> PropertyList::read(std::span<const uint8_t> bytes, Containers containers)
{
    if (bytes.size() < 8 || bytes.size() > maximumSize)
        return nullptr;
    // Hand the parser a copy that ends in NUL bytes, so text scanning that runs to a terminator
    // stops inside our buffer.
    std::vector<char> buffer(bytes.size() + 8, '\0');
    std::memcpy(buffer.data(), bytes.data(), bytes.size());
    const auto length = static_cast<uint32_t>(bytes.size());
    plist_t root = nullptr;
    if (plist_is_binary(buffer.data(), length)) {
        if (!PropertyListGuard::isAcceptableBinary(bytes, maximumDepth, maximumNodes))
            return nullptr;
        plist_from_bin(buffer.data(), length, &root);
    } else {
        // The XML form wraps the values in <plist> and puts scalars in elements of their own.
        if (!PropertyListGuard::isAcceptableXML(bytes, maximumDepth + 2))
            return nullptr;
        plist_from_xml(buffer.data(), length, &root);
    }
    if (!root)
        return nullptr;
    PlistPtr owner(root);
    return toObject(root, 0, containers);
}

RefPtr<Object> PropertyList::readFile(std::string_view path, Containers containers)
{
    auto bytes = WholeFile::read(path, maximumSize);
    if (!bytes)
        return nullptr;
    return read(*bytes, containers);
}

bool PropertyList::isPropertyList(const Object& value)
{
    return toPlist(value, 0) != nullptr;
}

std::optional<std::vector<uint8_t>> PropertyList::serialize(const Object& value, PropertyListFormat format)
{
    PlistPtr root = toPlist(value, 0);
    if (!root)
        return std::nullopt;
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == PropertyListFormat::Binary)
        plist_to_bin(root.get(), &bytes, &length);
    else
        plist_to_xml(root.get(), &bytes, &length);
    if (!bytes)
        return std::nullopt;
    std::vector<uint8_t> result(bytes, bytes + length);
    if (format == PropertyListFormat::Binary)
        plist_to_bin_free(bytes);
    else
        plist_to_xml_free(bytes);
    return result;
}

bool PropertyList::writeFile(const Object& value, std::string_view path, bool atomically, PropertyListFormat format)
{
    auto bytes = serialize(value, format);
    if (!bytes)
        return false;
    return WholeFile::write(path, *bytes, atomically ? WholeFile::Write::Durably : WholeFile::Write::InPlace);
}

}
