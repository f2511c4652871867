#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace foundation {

// Immutable bytes. "%@" is Foundation's hex text: "<0102abcd 0e>" (a space every four bytes).
class NSData final : public runtime::Object {
    TORVANE_OBJECT(NSData, runtime::Object)
public:
    static runtime::Ref<NSData> create(std::vector<uint8_t> bytes = {});
    static runtime::Ref<NSData> create(const void* bytes, size_t length);
    // The whole file at a device path; nil when it cannot be read. Files larger than
    // maximumFileSize are refused (nil) rather than read into memory.
    static runtime::RefPtr<NSData> dataWithContentsOfFile(std::string_view path);
    static constexpr size_t maximumFileSize = size_t(256) << 20;

    size_t length() const { return m_bytes.size(); }
    const uint8_t* bytes() const { return m_bytes.data(); }
    const std::vector<uint8_t>& vector() const { return m_bytes; }

    // Writes the bytes to a device path. Data is pictures and caches made again when needed: an
    // atomic write is atomic, not flushed to the disk (WholeFile.h).
    bool writeToFile(std::string_view path, bool atomically) const;

    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override;

private:
    explicit NSData(std::vector<uint8_t> bytes)
        : m_bytes(std::move(bytes))
    {
    }

    std::vector<uint8_t> m_bytes;
};

}
