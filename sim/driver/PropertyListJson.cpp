#include "PropertyListJson.h"

#include <foundation/NSArray.h>
#include <foundation/NSData.h>
#include <foundation/NSDate.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/PropertyList.h>

#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sim::driver {

using namespace foundation;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

namespace {

std::optional<Json> toJson(const Object& object)
{
    if (auto* string = runtime::dynamicCast<NSString>(&object))
        return Json(string->string());
    if (auto* number = runtime::dynamicCast<NSNumber>(&object)) {
        switch (number->kind()) {
        case NSNumber::Kind::Boolean:
            return Json(number->boolValue());
        case NSNumber::Kind::Integer:
            return Json(number->integerValue());
        case NSNumber::Kind::Double:
        case NSNumber::Kind::Float:
            if (!std::isfinite(number->doubleValue()))
                return Json(number->description()); // JSON has no NaN or infinity
            return Json(number->doubleValue());
        }
    }
    if (auto* data = runtime::dynamicCast<NSData>(&object))
        return Json(PropertyListJson::base64(data->bytes(), data->length()));
    if (auto* date = runtime::dynamicCast<NSDate>(&object))
        return Json(PropertyListJson::isoDate(date->timeIntervalSince1970()));
    if (auto* dictionary = runtime::dynamicCast<NSDictionary>(&object)) {
        Json result = Json::object();
        for (const auto& [key, value] : *dictionary) {
            auto converted = toJson(value.get());
            if (!converted)
                return std::nullopt;
            result[key] = std::move(*converted);
        }
        return result;
    }
    if (auto* array = runtime::dynamicCast<NSArray>(&object)) {
        Json result = Json::array();
        for (const auto& value : *array) {
            auto converted = toJson(value.get());
            if (!converted)
                return std::nullopt;
            result.push_back(std::move(*converted));
        }
        return result;
    }
    return std::nullopt;
}

RefPtr<Object> fromJson(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::boolean:
        return NSNumber::numberWithBool(value.get<bool>());
    case Json::value_t::number_integer:
        return NSNumber::numberWithInteger(value.get<int64_t>());
    case Json::value_t::number_unsigned:
        if (value.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX))
            return nullptr;
        return NSNumber::numberWithInteger(static_cast<int64_t>(value.get<uint64_t>()));
    case Json::value_t::number_float:
        return NSNumber::numberWithDouble(value.get<double>());
    case Json::value_t::string:
        return NSString::create(value.get<std::string>());
    case Json::value_t::array: {
        NSArray::Storage elements;
        for (const auto& element : value) {
            auto converted = fromJson(element);
            if (!converted)
                return nullptr;
            elements.push_back(converted.releaseNonNull());
        }
        return NSArray::create(std::move(elements));
    }
    case Json::value_t::object: {
        NSDictionary::Storage entries;
        for (const auto& [key, element] : value.items()) {
            auto converted = fromJson(element);
            if (!converted)
                return nullptr;
            entries.emplace(key, converted.releaseNonNull());
        }
        return NSDictionary::create(std::move(entries));
    }
    default:
        return nullptr; // null, binary, discarded: no property-list counterpart
    }
}

}

PropertyListJson::Result PropertyListJson::readFile(const std::filesystem::path& hostPath)
{
    std::error_code error;
    if (!std::filesystem::exists(hostPath, error))
        return { Status::Missing, nullptr };
    auto size = std::filesystem::file_size(hostPath, error);
    if (error || size > PropertyList::maximumSize)
        return { Status::Unreadable, nullptr };
    std::ifstream in(hostPath, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof())
        return { Status::Unreadable, nullptr };
    auto object = PropertyList::read(bytes);
    if (!object)
        return { Status::Unreadable, nullptr };
    auto json = toJson(*object);
    if (!json)
        return { Status::Unreadable, nullptr };
    return { Status::Read, std::move(*json) };
}

bool PropertyListJson::writeFile(const std::filesystem::path& hostPath, const Json& value)
{
    auto object = fromJson(value);
    if (!object)
        return false;
    auto bytes = PropertyList::serialize(*object);
    if (!bytes)
        return false;

    auto temporary = hostPath;
    temporary += ".tmp-" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t written = 0;
    while (written < bytes->size()) {
        ssize_t n = ::write(fd, bytes->data() + written, bytes->size() - written);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temporary.c_str());
            return false;
        }
        written += static_cast<size_t>(n);
    }
    bool ok = ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), hostPath.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::string PropertyListJson::base64(const unsigned char* bytes, size_t length)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((length + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < length; i += 3) {
        unsigned triple = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        out += alphabet[(triple >> 18) & 63];
        out += alphabet[(triple >> 12) & 63];
        out += alphabet[(triple >> 6) & 63];
        out += alphabet[triple & 63];
    }
    if (i + 1 == length) {
        unsigned triple = bytes[i] << 16;
        out += alphabet[(triple >> 18) & 63];
        out += alphabet[(triple >> 12) & 63];
        out += "==";
    } else if (i + 2 == length) {
        unsigned triple = (bytes[i] << 16) | (bytes[i + 1] << 8);
        out += alphabet[(triple >> 18) & 63];
        out += alphabet[(triple >> 12) & 63];
        out += alphabet[(triple >> 6) & 63];
        out += '=';
    }
    return out;
}

std::string PropertyListJson::isoDate(double secondsSince1970)
{
    if (!std::isfinite(secondsSince1970))
        return "invalid date";
    time_t seconds = static_cast<time_t>(std::floor(secondsSince1970));
    struct tm utc {};
    if (!::gmtime_r(&seconds, &utc))
        return "invalid date";
    char text[64];
    std::strftime(text, sizeof(text), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}
