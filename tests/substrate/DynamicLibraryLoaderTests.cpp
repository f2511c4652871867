#include <substrate/DynamicLibraryLoader.h>

#include <foundation/DeviceRoot.h>
#include <foundation/LogSink.h>
#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

using foundation::NSDictionary;
using foundation::NSStr;

namespace {

class DynamicLibraryLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A fresh device per test, so every library copy has a path never loaded before.
        std::string pattern = (std::filesystem::temp_directory_path() / "substrate-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        std::filesystem::create_directories(folder());
        std::filesystem::create_directories(m_root + "/var/log");
        foundation::LogSink::clear();
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    std::string folder() const { return m_root + std::string(substrate::dynamicLibrariesFolder); }

    void installLibrary(const std::string& name) const
    {
        std::filesystem::copy_file(TORVANE_TEST_LIBRARY, folder() + "/" + name + ".dylib");
    }
    void writeFilter(const std::string& name, std::initializer_list<const char*> bundles) const
    {
        foundation::NSArray::Storage list;
        for (auto* bundle : bundles)
            list.push_back(NSStr(bundle));
        NSDictionary::Storage filter;
        filter.emplace("Bundles", foundation::NSArray::create(std::move(list)));
        NSDictionary::Storage root;
        root.emplace("Filter", NSDictionary::create(std::move(filter)));
        ASSERT_TRUE(NSDictionary::create(std::move(root))->writeToFile(std::string(substrate::dynamicLibrariesFolder) + "/" + name + ".plist", true));
    }
    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder() + "/" + name, std::ios::binary) << bytes;
    }

    // The constructors that ran, in order.
    std::vector<std::string> constructorsRun() const
    {
        std::ifstream in(m_root + "/var/log/loaded-libraries");
        std::vector<std::string> names;
        for (std::string line; std::getline(in, line);)
            names.push_back(line);
        return names;
    }

    std::string m_root;
};

}

TEST_F(DynamicLibraryLoader, LoadsLibrariesWhoseFilterNamesTheBundleInNameOrder)
{
    installLibrary("Zeta");
    writeFilter("Zeta", { "com.apple.springboard" });
    installLibrary("Alpha");
    writeFilter("Alpha", { "com.apple.Preferences", "com.apple.springboard" });
    installLibrary("Settings");
    writeFilter("Settings", { "com.apple.Preferences" });

    auto loaded = substrate::loadSubstrateLibraries("com.apple.springboard");
    EXPECT_EQ(loaded, (std::vector<std::string> { "Alpha.dylib", "Zeta.dylib" }));
    EXPECT_EQ(constructorsRun(), (std::vector<std::string> { "Alpha.dylib", "Zeta.dylib" }));
}

TEST_F(DynamicLibraryLoader, LibraryWithoutAUsableFilterIsNotLoaded)
{
    installLibrary("NoFilter");
    installLibrary("EmptyFilter");
    writeFilter("EmptyFilter", {});
    installLibrary("NoBundles");
    NSDictionary::Storage root;
    root.emplace("Filter", NSDictionary::create());
    ASSERT_TRUE(NSDictionary::create(std::move(root))->writeToFile(std::string(substrate::dynamicLibrariesFolder) + "/NoBundles.plist", true));
    installLibrary("BrokenFilter");
    writeFile("BrokenFilter.plist", "{Filter = {Bundles = (com.apple.springboard);};}"); // old-style text is not read

    EXPECT_TRUE(substrate::loadSubstrateLibraries("com.apple.springboard").empty());
    EXPECT_TRUE(constructorsRun().empty());
}

TEST_F(DynamicLibraryLoader, BrokenLibraryIsLoggedAndSkipped)
{
    writeFile("Broken.dylib", std::string("\x7f" "ELF", 4) + std::string(64, '\x01'));
    writeFilter("Broken", { "com.apple.springboard" });
    installLibrary("Good");
    writeFilter("Good", { "com.apple.springboard" });

    EXPECT_EQ(substrate::loadSubstrateLibraries("com.apple.springboard"), std::vector<std::string> { "Good.dylib" });
    EXPECT_EQ(constructorsRun(), std::vector<std::string> { "Good.dylib" });
    EXPECT_TRUE(foundation::LogSink::contains("could not load Broken.dylib")) << ::testing::PrintToString(foundation::LogSink::lines());
}

TEST_F(DynamicLibraryLoader, MarkerFileIsSkippedQuietly)
{
    // Activator.dylib marks the event library as installed; it is no library at all.
    writeFile("Activator.dylib", "");
    writeFilter("Activator", { "com.apple.springboard" });
    installLibrary("Good");
    writeFilter("Good", { "com.apple.springboard" });

    EXPECT_EQ(substrate::loadSubstrateLibraries("com.apple.springboard"), std::vector<std::string> { "Good.dylib" });
    EXPECT_FALSE(foundation::LogSink::contains("Activator"));
}

