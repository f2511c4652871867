#include "ValuesTestSupport.h"

#include <foundation/DeviceRoot.h>
#include <foundation/NSArray.h>
#include <foundation/NSError.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSString.h>

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

using namespace foundation;
using runtime::RefPtr;

class FileManager : public values_test::DeviceRootTest {
protected:
    NSFileManager& files = NSFileManager::defaultManager();
};

TEST_F(FileManager, DevicePathsResolveUnderTheRoot)
{
    EXPECT_EQ(DeviceRoot::path(), m_root);
    struct Case {
        const char* devicePath;
        const char* expected; // relative to the root; nullptr when refused
    };
    const Case cases[] = {
        { "/var/mobile/x.plist", "/var/mobile/x.plist" },
        { "/", "" },
        { "//var///mobile/", "/var/mobile" },
        { "/var/./mobile/../root", "/var/root" },
        { "var/mobile", "/var/mobile" },
        { "/var/mobile/../../Library", "/Library" },
        { "/..", nullptr },
        { "/var/../../etc/passwd", nullptr },
        { "..", nullptr },
        { "", nullptr },
    };
    for (const auto& c : cases) {
        auto resolved = DeviceRoot::resolve(c.devicePath);
        if (!c.expected)
            EXPECT_FALSE(resolved) << c.devicePath;
        else
            EXPECT_EQ(resolved.value_or("(refused)"), m_root + c.expected) << c.devicePath;
    }
    EXPECT_FALSE(DeviceRoot::resolve(std::string_view("/a\0/../..", 9)));
}

TEST_F(FileManager, RootsThatWouldExposeTheHostAreRefused)
{
    DeviceRoot::set("/");
    EXPECT_NE(DeviceRoot::path(), "/");
    EXPECT_NE(DeviceRoot::path(), "");
    EXPECT_NE(DeviceRoot::resolve("/var/mobile").value(), "/var/mobile");
    DeviceRoot::set(m_root + "///");
    EXPECT_EQ(DeviceRoot::path(), m_root);
}

TEST_F(FileManager, TheRootComesFromTheEnvironmentOrAPrivateFolder)
{
    const std::string fromEnvironment = m_root + "/device";
    ::setenv(DeviceRoot::environmentVariable, fromEnvironment.c_str(), 1);
    DeviceRoot::set(""); // forget the root: the next use looks again
    EXPECT_EQ(DeviceRoot::path(), fromEnvironment);

    ::unsetenv(DeviceRoot::environmentVariable);
    DeviceRoot::set("");
    const std::string privateRoot = DeviceRoot::path();
    EXPECT_TRUE(std::filesystem::is_directory(privateRoot));
    EXPECT_NE(privateRoot.find("torvane-device-"), std::string::npos);
    EXPECT_EQ(DeviceRoot::path(), privateRoot) << "made once, then kept";
    std::filesystem::remove_all(privateRoot);
    DeviceRoot::set(m_root);
}

TEST_F(FileManager, ExistenceAndFolders)
{
    writeHostFile("/Library/Themes/Glow.png", "png");
    bool isDirectory = true;
    EXPECT_TRUE(files.fileExistsAtPathIsDirectory("/Library/Themes/Glow.png", &isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_TRUE(files.fileExistsAtPathIsDirectory("/Library/Themes", &isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_FALSE(files.fileExistsAtPath("/Library/Themes/Missing.png"));
    // The host's own folders are invisible: "/etc/hostname" means <root>/etc/hostname.
    EXPECT_FALSE(files.fileExistsAtPath("/etc/hostname"));
    EXPECT_FALSE(files.fileExistsAtPath("/../" + std::filesystem::path(m_root).filename().string() + "/Library"));
}

TEST_F(FileManager, CreatingFolders)
{
    RefPtr<NSError> error;
    EXPECT_FALSE(files.createDirectoryAtPath("/a/b/c", false, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), ENOENT);
    EXPECT_EQ(error->localizedDescription().find(m_root), std::string::npos) << "messages show device paths";

    error = nullptr;
    EXPECT_TRUE(files.createDirectoryAtPath("/a/b/c", true, &error));
    EXPECT_FALSE(error);
    EXPECT_TRUE(files.createDirectoryAtPath("/a/b/c", true, &error)); // already there: fine
    EXPECT_FALSE(files.createDirectoryAtPath("/a/b/c", false, &error)); // already there: error
    EXPECT_EQ(error->code(), EEXIST);

    writeHostFile("/file", "x");
    EXPECT_FALSE(files.createDirectoryAtPath("/file", true, nullptr));
    EXPECT_FALSE(files.createDirectoryAtPath("/../outside", true, &error));
    EXPECT_EQ(error->code(), EACCES);
}

TEST_F(FileManager, ListingFolders)
{
    writeHostFile("/Themes/b.png", "");
    writeHostFile("/Themes/A.png", "");
    writeHostFile("/Themes/.hidden", "");
    std::filesystem::create_directories(host("/Themes/Sub"));
    RefPtr<NSError> error;
    auto names = files.contentsOfDirectoryAtPath("/Themes", &error);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->description(), "(\n    .hidden,\n    A.png,\n    Sub,\n    b.png\n)");
    EXPECT_FALSE(error);

    EXPECT_FALSE(files.contentsOfDirectoryAtPath("/Missing", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), ENOENT);
    EXPECT_FALSE(files.contentsOfDirectoryAtPath("/Themes/A.png", nullptr));
}

TEST_F(FileManager, RemovingItems)
{
    writeHostFile("/Folder/inner/deep.txt", "x");
    writeHostFile("/Folder/top.txt", "y");
    writeHostFile("/Outside/keep.txt", "keep");
    std::filesystem::create_symlink(host("/Outside"), host("/Folder/link"));

    RefPtr<NSError> error;
    EXPECT_TRUE(files.removeItemAtPath("/Folder", &error));
    EXPECT_FALSE(files.fileExistsAtPath("/Folder"));
    EXPECT_EQ(readHostFile("/Outside/keep.txt"), "keep") << "links are removed, not followed";

    EXPECT_FALSE(files.removeItemAtPath("/Folder", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), ENOENT);
    EXPECT_FALSE(files.removeItemAtPath("/", &error));
    EXPECT_TRUE(std::filesystem::exists(m_root));
    EXPECT_FALSE(files.removeItemAtPath("/../" + std::filesystem::path(m_root).filename().string(), &error));
    EXPECT_TRUE(std::filesystem::exists(m_root));
}

TEST_F(FileManager, CopyingItems)
{
    writeHostFile("/Themes/Default/Glow.png", "glow");
    writeHostFile("/Themes/Default/Info.plist", "info");
    ::chmod(host("/Themes/Default/Glow.png").c_str(), 0600);

    RefPtr<NSError> error;
    EXPECT_TRUE(files.copyItemAtPath("/Themes/Default", "/Themes/Copy", &error));
    EXPECT_EQ(readHostFile("/Themes/Copy/Glow.png"), "glow");
    EXPECT_EQ(readHostFile("/Themes/Copy/Info.plist"), "info");
    EXPECT_EQ(std::filesystem::status(host("/Themes/Copy/Glow.png")).permissions() & std::filesystem::perms::all,
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(files.copyItemAtPath("/Themes/Default/Glow.png", "/Glow.png", &error));
    EXPECT_EQ(readHostFile("/Glow.png"), "glow");

    EXPECT_FALSE(files.copyItemAtPath("/Themes/Default", "/Themes/Copy", &error));
    EXPECT_EQ(error->code(), EEXIST);
    EXPECT_FALSE(files.copyItemAtPath("/Nothing", "/Else", &error));
    EXPECT_EQ(error->code(), ENOENT);
    EXPECT_FALSE(files.copyItemAtPath("/Themes", "/Themes/Default/Nested", &error));
    EXPECT_EQ(error->code(), EINVAL);
    EXPECT_FALSE(files.fileExistsAtPath("/Themes/Default/Nested"));
    EXPECT_FALSE(files.copyItemAtPath("/Glow.png", "/../stolen.png", &error));
    EXPECT_EQ(error->code(), EACCES);
}
