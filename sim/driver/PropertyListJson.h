#pragma once

#include <sim/protocol/Json.h>

#include <filesystem>
#include <optional>
#include <string>

namespace sim::driver {

using protocol::Json;

// Property-list files of the device as JSON, for dumps and for the driver's own writes.
//   booleans true/false, integers, reals, strings, arrays, dictionaries (objects);
//   data as a base64 string, dates as ISO 8601 text in UTC ("2013-04-01T12:00:00Z").
// Reading goes through the platform's guarded property-list reader, so a hostile file placed in
// the device (file put) cannot crash the driver.
class PropertyListJson {
public:
    enum class Status { Read, Missing, Unreadable };
    struct Result {
        Status status { Status::Missing };
        Json value; // null unless Read
    };
    // `hostPath` is a path on this machine (inside the device root).
    static Result readFile(const std::filesystem::path& hostPath);

    // Writes `value` (an object or array without nulls) as an XML property list, atomically:
    // a temporary file in the same folder, then rename. Integers stay integers and reals reals.
    // Returns false when the value cannot be a property list or the file cannot be written.
    static bool writeFile(const std::filesystem::path& hostPath, const Json& value);

    static std::string base64(const unsigned char* bytes, size_t length);
    static std::string isoDate(double secondsSince1970);
};

}
