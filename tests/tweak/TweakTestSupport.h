#pragma once

#include <foundation/DeviceRoot.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tweak_test {

inline constexpr const char* preferencesPath = "/var/mobile/Library/Preferences/com.qelvo.torvane.plist";

// Every test gets a fresh device: a temporary folder standing for "/" with the preferences folder
// in place, as on the device.
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tweak-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        std::filesystem::create_directories(hostPath("/var/mobile/Library/Preferences"));
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    std::string hostPath(const std::string& devicePath) const { return m_root + devicePath; }

    void writeRawFile(const std::string& devicePath, const std::string& bytes) const
    {
        std::filesystem::create_directories(std::filesystem::path(hostPath(devicePath)).parent_path());
        std::ofstream(hostPath(devicePath), std::ios::binary) << bytes;
    }
    std::string readRawFile(const std::string& devicePath) const
    {
        std::ifstream in(hostPath(devicePath), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool fileExists(const std::string& devicePath) const { return std::filesystem::exists(hostPath(devicePath)); }

    void writePreferences(const foundation::NSDictionary& preferences) const
    {
        ASSERT_TRUE(preferences.writeToFile(preferencesPath, true));
    }
    runtime::RefPtr<foundation::NSDictionary> readPreferences() const
    {
        return foundation::NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
    }

    std::string m_root;
};

}

#include <foundation/NSArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace tweak_test {

using Entries = std::initializer_list<std::pair<const std::string, runtime::Ref<runtime::Object>>>;

inline runtime::Ref<foundation::NSMutableDictionary> dictionary(Entries entries)
{
    return foundation::NSMutableDictionary::create(foundation::NSDictionary::Storage(entries));
}

inline runtime::Ref<foundation::NSArray> strings(std::initializer_list<const char*> texts)
{
    foundation::NSArray::Storage objects;
    for (auto* text : texts)
        objects.push_back(foundation::NSStr(text));
    return foundation::NSArray::create(std::move(objects));
}

inline runtime::Ref<runtime::Object> boolean(bool value) { return foundation::NSNumber::numberWithBool(value); }
inline runtime::Ref<runtime::Object> text(const char* value) { return foundation::NSStr(value); }

// The "%@" text of an array's elements, for comparing lists.
inline std::vector<std::string> texts(const foundation::NSArray& array)
{
    std::vector<std::string> result;
    for (auto& element : array)
        result.push_back(element->description());
    return result;
}

inline std::vector<std::string> keys(const foundation::NSDictionary& dictionary)
{
    std::vector<std::string> result;
    for (auto& [key, value] : dictionary)
        result.push_back(key);
    return result;
}

}
