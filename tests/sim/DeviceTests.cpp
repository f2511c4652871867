#include <sim/driver/Device.h>
#include <sim/driver/PropertyListJson.h>

#include <sim/protocol/Command.h>

#include <foundation/NSData.h>
#include <foundation/NSDate.h>
#include <foundation/NSDictionary.h>
#include <foundation/PropertyList.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace sim::driver;
namespace fs = std::filesystem;

namespace {

// A build layout whose lib and resources folders the test fills itself.
struct Scratch {
    fs::path folder;
    BuildLayout layout;
    Scratch()
    {
        folder = fs::temp_directory_path() / ("device-test-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "lib");
        fs::create_directories(folder / "resources");
        layout.binFolder = folder / "bin";
        layout.libFolder = folder / "lib";
        layout.resourcesFolder = folder / "resources";
    }
    ~Scratch() { fs::remove_all(folder); }
};

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Json readJson(const fs::path& path)
{
    std::ifstream in(path);
    return Json::parse(in);
}

}

TEST(Device, FreshFolderIsLaidOutAndRemovedAtTheEnd)
{
    Scratch scratch;
    fs::path root;
    {
        auto device = Device::create(scratch.layout);
        root = device->root();
        for (const char* folder : { "/var/mobile/Library/Preferences", "/var/mobile/Library/Nimbrel", "/Library/MobileSubstrate/DynamicLibraries",
                 "/Library/Application Support/Torvane/Themes", "/System/Library/PreferenceBundles", "/var/run", "/var/log", "/Applications" })
            EXPECT_TRUE(fs::is_directory(device->hostPath(folder))) << folder;
        EXPECT_EQ(device->hostPath("/var/log/syslog"), root / "var/log/syslog");
    }
    EXPECT_FALSE(fs::exists(root));
}

TEST(Device, KeptFolderStaysAndAForeignFolderIsNeverEmptied)
{
    Scratch scratch;
    auto kept = scratch.folder / "kept";
    {
        auto device = Device::create(scratch.layout, Device::Ownership::KeepFresh, kept);
        std::ofstream(device->hostPath("/var/log/old.txt")) << "old";
    }
    EXPECT_TRUE(fs::exists(kept / "var/log/old.txt"));
    {
        // Made by us before: emptied for the new run.
        auto device = Device::create(scratch.layout, Device::Ownership::KeepFresh, kept);
        EXPECT_FALSE(fs::exists(kept / "var/log/old.txt"));
    }
    auto foreign = scratch.folder / "foreign";
    fs::create_directories(foreign);
    std::ofstream(foreign / "precious.txt") << "keep me";
    EXPECT_THROW(Device::create(scratch.layout, Device::Ownership::KeepFresh, foreign), std::runtime_error);
    EXPECT_TRUE(fs::exists(foreign / "precious.txt"));
}

TEST(Device, PreferencesAreMergedKeyByKeyWithTheirTypes)
{
    Scratch scratch;
    auto device = Device::create(scratch.layout);
    device->setPreference("ConfirmationAlertAtHome", false);
    device->setPreference("OpacityValue", "0.50");
    device->setPreference("Count", 3);
    device->setPreference("Alpha", 0.25);
    device->setPreference("DisableTheseApps", Json::array({ "com.a", "com.b" }));
    device->setPreference("SelectedTheme", { { "Name", "Icon Outlines" }, { "Frame", "{{0,0},{1,1}}" } });
    device->setPreference("Count", 4);
    device->removePreference("Alpha");
    device->removePreference("NeverThere");

    auto read = PropertyListJson::readFile(device->hostPath(Device::preferencesPath));
    ASSERT_EQ(read.status, PropertyListJson::Status::Read);
    EXPECT_EQ(read.value, Json::parse(R"({"ConfirmationAlertAtHome": false, "OpacityValue": "0.50", "Count": 4,
        "DisableTheseApps": ["com.a", "com.b"], "SelectedTheme": {"Name": "Icon Outlines", "Frame": "{{0,0},{1,1}}"}})"));
    EXPECT_TRUE(read.value["Count"].is_number_integer());

    // The platform reads the file the driver wrote, types intact.
    auto bytes = std::vector<uint8_t>();
    std::ifstream in(device->hostPath(Device::preferencesPath), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    auto object = foundation::PropertyList::read(bytes);
    ASSERT_TRUE(object);
    EXPECT_TRUE(runtime::dynamicCast<foundation::NSDictionary>(object.get()));
}

TEST(Device, UnreadablePreferencesFileIsNeverOverwritten)
{
    Scratch scratch;
    auto device = Device::create(scratch.layout);
    auto path = device->hostPath(Device::preferencesPath);
    // A binary property list whose offset table points outside the file.
    std::string hostile = std::string("bplist00") + std::string(8, '\x08') + std::string(6, '\0') + "\x01\x01" + std::string(7, '\0') + "\x01" + std::string(7, '\0') + std::string(1, '\0') + std::string(7, '\0') + "\xff";
    std::ofstream(path, std::ios::binary) << hostile;
    EXPECT_EQ(PropertyListJson::readFile(path).status, PropertyListJson::Status::Unreadable);
    EXPECT_THROW(device->setPreference("A", true), std::runtime_error);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), hostile);
}

TEST(Device, PropertyListDataAndDatesBecomeText)
{
    Scratch scratch;
    auto path = scratch.folder / "values.plist";
    foundation::NSDictionary::Storage entries;
    entries.emplace("Data", foundation::NSData::create(std::vector<uint8_t> { 'h', 'i', '!', 0xff }));
    entries.emplace("Date", foundation::NSDate::dateWithTimeIntervalSince1970(1364817600));
    auto bytes = foundation::PropertyList::serialize(foundation::NSDictionary::create(std::move(entries)).get());
    ASSERT_TRUE(bytes);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));

    auto read = PropertyListJson::readFile(path);
    ASSERT_EQ(read.status, PropertyListJson::Status::Read);
    EXPECT_EQ(read.value["Data"], "aGkh/w==");
    EXPECT_EQ(read.value["Date"], "2013-04-01T12:00:00Z");
    EXPECT_EQ(PropertyListJson::readFile(scratch.folder / "missing.plist").status, PropertyListJson::Status::Missing);
    EXPECT_EQ(PropertyListJson::base64(reinterpret_cast<const unsigned char*>("ab"), 2), "YWI=");
    EXPECT_EQ(PropertyListJson::base64(reinterpret_cast<const unsigned char*>(""), 0), "");
}

TEST(Device, FilesGoInAndOutButNeverOutsideTheDevice)
{
    Scratch scratch;
    auto device = Device::create(scratch.layout);
    std::ofstream(scratch.folder / "source.txt") << "content";
    device->putFile("/var/mobile/Library/New/dest.txt", scratch.folder / "source.txt");
    EXPECT_TRUE(fs::is_regular_file(device->hostPath("/var/mobile/Library/New/dest.txt")));
    device->removeFile("/var/mobile/Library/New/dest.txt");
    EXPECT_FALSE(fs::exists(device->hostPath("/var/mobile/Library/New/dest.txt")));
    EXPECT_THROW(device->putFile("/../outside.txt", scratch.folder / "source.txt"), std::runtime_error);
    EXPECT_THROW(device->removeFile("/var/../../x"), std::runtime_error);
    EXPECT_THROW(device->putFile("/var/x", scratch.folder / "no-such-file"), std::runtime_error);
    EXPECT_FALSE(fs::exists(device->root().parent_path() / "outside.txt"));
}

TEST(Device, BootInstallsTheStandardApplicationsAndTheSubstrateLibraries)
{
    Scratch scratch;
    std::ofstream(scratch.folder / "lib/libDashmere.so") << "elf";
    fs::create_directories(scratch.folder / "resources/Themes/IconOutlines");
    std::ofstream(scratch.folder / "resources/Themes/IconOutlines/list.plist") << "x";
    auto device = Device::create(scratch.layout);
    auto warnings = device->prepareForBoot();

    auto apps = readJson(device->hostPath("/var/mobile/Library/SpringBoard/sim-apps.json"));
    EXPECT_EQ(apps["applications"].size(), 11u);
    EXPECT_EQ(apps["dock"], Json::parse(R"(["com.apple.mobilephone", "com.apple.mobilemail", "com.apple.mobilesafari"])"));
    EXPECT_EQ(apps["folders"]["Utilities"], Json::parse(R"(["com.apple.mobilecal", "com.apple.mobiletimer", "com.apple.mobilenotes"])"));
    EXPECT_EQ(apps["pages"][0], Json::parse(R"(["com.apple.mobileslideshow", "folder:Utilities", "com.apple.camera", "com.apple.Maps", "com.saurik.Cydia", "eu.heinelt.ifile"])"));

    auto substrate = device->hostPath(Device::substratePath);
    EXPECT_TRUE(fs::is_symlink(substrate / "Dashmere.dylib"));
    EXPECT_EQ(fs::read_symlink(substrate / "Dashmere.dylib"), scratch.folder / "lib/libDashmere.so");
    auto filter = PropertyListJson::readFile(substrate / "Dashmere.plist");
    EXPECT_EQ(filter.value, Json::parse(R"({"Filter": {"Bundles": ["com.apple.springboard"]}})"));
    EXPECT_TRUE(fs::exists(substrate / "Activator.dylib"));
    EXPECT_TRUE(fs::exists(substrate / "Nimbrel.plist"));
    EXPECT_TRUE(fs::exists(device->hostPath("/Library/Application Support/Torvane/Themes/IconOutlines/list.plist")));
    // Nimbrel and the settings bundle are not built here: named in warnings, not fatal.
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("Nimbrel"), std::string::npos);
    EXPECT_NE(warnings[1].find("TorvaneSettings"), std::string::npos);
}

TEST(Device, ScenarioApplicationsAndSwitchesReplaceTheDefaults)
{
    Scratch scratch;
    auto device = Device::create(scratch.layout);
    device->installApp(sim::protocol::Command::parse("app install com.b B folder \"Games\" badge 2"));
    device->installApp(sim::protocol::Command::parse("app install com.a \"App A\" page 1"));
    device->installApp(sim::protocol::Command::parse("app install com.c C dock"));
    device->installApp(sim::protocol::Command::parse("app install com.d D"));
    device->setActivatorInstalled(false);
    device->setCompanionInstalled(false);
    device->prepareForBoot();

    auto apps = readJson(device->hostPath("/var/mobile/Library/SpringBoard/sim-apps.json"));
    EXPECT_EQ(apps["applications"][0], Json::parse(R"({"bundleId": "com.b", "name": "B", "location": "folder:Games", "badge": 2})"));
    EXPECT_EQ(apps["applications"][1]["location"], "page1");
    EXPECT_EQ(apps["pages"], Json::parse(R"([["folder:Games", "com.d"], ["com.a"]])"));
    EXPECT_EQ(apps["dock"], Json::parse(R"(["com.c"])"));
    auto substrate = device->hostPath(Device::substratePath);
    EXPECT_FALSE(fs::exists(substrate / "Activator.dylib"));
    EXPECT_FALSE(fs::exists(substrate / "Nimbrel.plist"));
    EXPECT_FALSE(fs::exists(substrate / "Nimbrel.dylib"));
}

TEST(Device, ShellFolderIsUsedOnlyWhenEmptyOrMadeByTheDriver)
{
    Scratch scratch;
    auto foreign = scratch.folder / "someone";
    fs::create_directories(foreign);
    std::ofstream(foreign / "notes.txt") << "mine";
    EXPECT_THROW(Device::create(scratch.layout, Device::Ownership::UseAsIs, foreign), std::runtime_error);
    EXPECT_EQ(readText(foreign / "notes.txt"), "mine");
    EXPECT_FALSE(fs::exists(foreign / "var"));

    // A missing folder is made and marked; the next shell finds what the last one left.
    auto device = scratch.folder / "device";
    Device::create(scratch.layout, Device::Ownership::UseAsIs, device);
    std::ofstream(device / "var/log/earlier.txt") << "earlier";
    Device::create(scratch.layout, Device::Ownership::UseAsIs, device);
    EXPECT_EQ(readText(device / "var/log/earlier.txt"), "earlier");
}

TEST(Device, NeverTakesTheMachineTheHomeFolderOrTheProjectEvenWithAMarker)
{
    Scratch scratch;
    auto checkout = scratch.folder / "checkout";
    BuildLayout inCheckout { checkout / "build/bin", checkout / "build/lib", scratch.folder / "src/resources" };
    auto home = scratch.folder / "homes/someone";
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);
    fs::create_directories(scratch.folder / "repository/.git");
    for (const auto& folder : { fs::path("/"), home, home.parent_path(), checkout, checkout / "build", scratch.folder / "src", scratch.folder / "repository" }) {
        if (folder != "/") {
            fs::create_directories(folder);
            std::ofstream(folder / ".torvane-device") << "marker";
            std::ofstream(folder / "precious.txt") << "keep me";
        }
        for (auto ownership : { Device::Ownership::UseAsIs, Device::Ownership::KeepFresh }) {
            EXPECT_THROW(Device::create(inCheckout, ownership, folder), std::runtime_error) << folder;
        }
        if (folder != "/") {
            EXPECT_EQ(readText(folder / "precious.txt"), "keep me") << folder;
        }
    }
    ::setenv("HOME", savedHome.c_str(), 1);
}
