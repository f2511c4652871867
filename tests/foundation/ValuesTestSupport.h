#pragma once

#include <foundation/DeviceRoot.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace values_test {

// Gives each test its own empty device root and removes it afterwards.
class DeviceRootTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvane-values-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }

    // Host path of a device path, for checking what landed on disk.
    std::string host(const std::string& devicePath) const { return m_root + devicePath; }

    void writeHostFile(const std::string& devicePath, const std::string& contents) const
    {
        std::filesystem::create_directories(std::filesystem::path(host(devicePath)).parent_path());
        std::ofstream(host(devicePath), std::ios::binary) << contents;
    }
    std::string readHostFile(const std::string& devicePath) const
    {
        std::ifstream file(host(devicePath), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::string m_root;
};

// Builds a binary property list by hand, so tests can describe broken ones precisely.
// Objects are raw encodings; their offsets are computed, then the offset table and trailer
// follow. Fields of the trailer can be overridden afterwards with patchTrailer.
struct BinaryPlistBuilder {
    std::vector<std::vector<uint8_t>> objects;
    uint8_t offsetSize = 1;
    uint8_t referenceSize = 1;
    uint64_t topObject = 0;

    size_t add(std::vector<uint8_t> encoding)
    {
        objects.push_back(std::move(encoding));
        return objects.size() - 1;
    }
    static std::vector<uint8_t> asciiString(const std::string& text)
    {
        std::vector<uint8_t> encoding { static_cast<uint8_t>(0x50 | text.size()) };
        encoding.insert(encoding.end(), text.begin(), text.end());
        return encoding; // texts under 15 characters only
    }
    static std::vector<uint8_t> integer(uint8_t value) { return { 0x10, value }; }
    static std::vector<uint8_t> array(const std::vector<uint8_t>& references)
    {
        std::vector<uint8_t> encoding { static_cast<uint8_t>(0xA0 | references.size()) };
        encoding.insert(encoding.end(), references.begin(), references.end());
        return encoding; // fewer than 15 one-byte references only
    }
    static std::vector<uint8_t> dictionary(const std::vector<uint8_t>& keys, const std::vector<uint8_t>& values)
    {
        std::vector<uint8_t> encoding { static_cast<uint8_t>(0xD0 | keys.size()) };
        encoding.insert(encoding.end(), keys.begin(), keys.end());
        encoding.insert(encoding.end(), values.begin(), values.end());
        return encoding;
    }

    std::vector<uint8_t> build() const
    {
        std::vector<uint8_t> bytes { 'b', 'p', 'l', 'i', 's', 't', '0', '0' };
        std::vector<uint64_t> offsets;
        for (const auto& object : objects) {
            offsets.push_back(bytes.size());
            bytes.insert(bytes.end(), object.begin(), object.end());
        }
        const uint64_t tableStart = bytes.size();
        for (uint64_t offset : offsets)
            appendBigEndian(bytes, offset, offsetSize);
        bytes.insert(bytes.end(), 6, 0);
        bytes.push_back(offsetSize);
        bytes.push_back(referenceSize);
        appendBigEndian(bytes, objects.size(), 8);
        appendBigEndian(bytes, topObject, 8);
        appendBigEndian(bytes, tableStart, 8);
        return bytes;
    }

    static void appendBigEndian(std::vector<uint8_t>& bytes, uint64_t value, unsigned size)
    {
        for (unsigned i = size; i-- > 0;)
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    // Overwrites the 8-byte trailer field at `fieldOffset` (8 count, 16 top, 24 table start).
    static void patchTrailer(std::vector<uint8_t>& bytes, size_t fieldOffset, uint64_t value)
    {
        const size_t at = bytes.size() - 32 + fieldOffset;
        for (unsigned i = 0; i < 8; ++i)
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * (7 - i)));
    }
};

}
