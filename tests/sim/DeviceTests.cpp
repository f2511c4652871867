#include "TestPackages.h"

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
        layout.packagesFolder = folder / "packages";
        layout.deviceImagesFolder = folder / "images";
        layout.deviceToolsFolder = fs::path(SOURCE_DIR) / "sim/driver/device-bin";
    }
    // A substrate and an add-on whose scripts restart SpringBoard, as the device's packages.
    void buildDevicePackages()
    {
        TestPackage substrate { .name = "mobilesubstrate", .files = { { "/Library/MobileSubstrate/DynamicLibraries/Activator.dylib", "" } } };
        TestPackage companion { .name = "nimbrel", .depends = "mobilesubstrate",
            .files = { { "/Library/MobileSubstrate/DynamicLibraries/Nimbrel.dylib", "elf" }, { "/Library/MobileSubstrate/DynamicLibraries/Nimbrel.plist", "filter" } },
            .postinst = "killall SpringBoard", .postrm = "[ \"$1\" = remove ] && killall SpringBoard || true" };
        substrate.build(layout.packagesFolder, "substrate.deb");
        companion.build(layout.packagesFolder, "nimbrel.deb");
        layout.devicePackages = { "substrate.deb", "nimbrel.deb" };
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
                 "/System/Library/PreferenceBundles", "/var/run", "/var/log", "/Applications" })
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

TEST(Device, BootInstallsTheStandardApplicationsAndTheDevicePackages)
{
    Scratch scratch;
    scratch.buildDevicePackages();
    auto device = Device::create(scratch.layout);
    auto warnings = device->prepareForBoot();
    EXPECT_TRUE(warnings.empty());

    auto apps = readJson(device->hostPath("/var/mobile/Library/SpringBoard/sim-apps.json"));
    EXPECT_EQ(apps["applications"].size(), 11u);
    EXPECT_EQ(apps["dock"], Json::parse(R"(["com.apple.mobilephone", "com.apple.mobilemail", "com.apple.mobilesafari"])"));
    EXPECT_EQ(apps["folders"]["Utilities"], Json::parse(R"(["com.apple.mobilecal", "com.apple.mobiletimer", "com.apple.mobilenotes"])"));
    EXPECT_EQ(apps["pages"][0], Json::parse(R"(["com.apple.mobileslideshow", "folder:Utilities", "com.apple.camera", "com.apple.Maps", "com.saurik.Cydia", "eu.heinelt.ifile"])"));

    // Installed by dpkg: the files are there and the device's database owns them.
    auto substrate = device->hostPath(Device::substratePath);
    EXPECT_EQ(readText(substrate / "Nimbrel.dylib"), "elf");
    EXPECT_TRUE(device->packages().state("nimbrel")->installed());
    EXPECT_NE(readText(device->hostPath("/var/lib/dpkg/info/nimbrel.list")).find("/Library/MobileSubstrate/DynamicLibraries/Nimbrel.dylib"), std::string::npos);
    // The scripts asked for a restart while the device was made, when nothing ran: no request is left.
    EXPECT_FALSE(fs::exists(device->hostPath(DevicePackages::killRequestsPath)));

    // The next device copies the same pre-installed root: a change to one device stays in it.
    std::ofstream(substrate / "Nimbrel.dylib") << "changed";
    auto second = Device::create(scratch.layout);
    second->prepareForBoot();
    EXPECT_EQ(readText(second->hostPath(std::string(Device::substratePath) + "/Nimbrel.dylib")), "elf");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.layout.deviceImagesFolder), {}), 1);
}

TEST(Device, PackagesNotBuiltAreNamedAndTheDeviceStillBoots)
{
    Scratch scratch;
    scratch.layout.devicePackages = { "torvane_1.0_all.deb" };
    auto device = Device::create(scratch.layout);
    auto warnings = device->prepareForBoot();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("torvane_1.0_all.deb"), std::string::npos);
    EXPECT_TRUE(device->packages().hasDatabase());
}

TEST(Device, InstallRemoveAndUpgradeGoThroughDpkg)
{
    Scratch scratch;
    scratch.buildDevicePackages();
    TestPackage addon { .name = "com.example.addon", .depends = "nimbrel",
        .files = { { "/Library/MobileSubstrate/DynamicLibraries/Addon.dylib", "one" } },
        .postinst = "[ \"$1\" = configure ] && killall SpringBoard || true", .postrm = "[ \"$1\" = remove ] && killall SpringBoard || true" };
    auto first = addon.build(scratch.folder, "addon-1.deb");
    addon.version = "2.0";
    addon.files = { { "/Library/MobileSubstrate/DynamicLibraries/Addon.dylib", "two" } };
    auto second = addon.build(scratch.folder, "addon-2.deb");

    auto device = Device::create(scratch.layout);
    auto& packages = device->packages();
    auto installed = packages.install(first);
    EXPECT_TRUE(installed.succeeded) << installed.output;
    EXPECT_EQ(installed.killed, std::vector<std::string> { "SpringBoard" });
    EXPECT_EQ(packages.state("com.example.addon")->version, "1.0");

    // A file the package does not own (the user's) stays through an upgrade and a removal.
    auto library = device->hostPath("/Library/MobileSubstrate/DynamicLibraries/Addon.dylib");
    auto users = device->hostPath("/Library/MobileSubstrate/DynamicLibraries/users-notes.txt");
    std::ofstream(users) << "mine";
    EXPECT_TRUE(packages.install(second).succeeded);
    EXPECT_EQ(packages.state("com.example.addon")->version, "2.0");
    EXPECT_EQ(readText(library), "two");

    auto removed = packages.remove("com.example.addon");
    EXPECT_TRUE(removed.succeeded) << removed.output;
    EXPECT_EQ(removed.killed, std::vector<std::string> { "SpringBoard" });
    EXPECT_TRUE(packages.state("com.example.addon")->absent());
    EXPECT_FALSE(fs::exists(library));
    EXPECT_EQ(readText(users), "mine");
    EXPECT_FALSE(packages.state("never.heard.of"));

    // dpkg refuses to take away what another package needs.
    EXPECT_FALSE(packages.remove("mobilesubstrate").succeeded);
    EXPECT_TRUE(packages.state("mobilesubstrate")->installed());
}

TEST(Device, InstallWithAMissingDependencyLeavesNothingBehind)
{
    Scratch scratch;
    scratch.buildDevicePackages();
    TestPackage addon { .name = "com.example.needy", .depends = "com.example.missing",
        .files = { { "/Library/MobileSubstrate/DynamicLibraries/Needy.dylib", "elf" } },
        .postrm = "[ \"$1\" = remove ] && killall SpringBoard || true" };
    auto file = addon.build(scratch.folder, "needy.deb");
    auto device = Device::create(scratch.layout);
    auto outcome = device->packages().install(file);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_NE(outcome.output.find("com.example.missing"), std::string::npos) << outcome.output;
    // dpkg unpacks before it finds the dependency missing; a package manager never leaves that.
    EXPECT_FALSE(fs::exists(device->hostPath("/Library/MobileSubstrate/DynamicLibraries/Needy.dylib")));
    EXPECT_TRUE(device->packages().state("com.example.needy")->absent());
    EXPECT_TRUE(outcome.killed.empty()) << "nothing changed, so nothing restarts";
}

TEST(Device, ScenarioApplicationsAndSwitchesReplaceTheDefaults)
{
    Scratch scratch;
    scratch.buildDevicePackages();
    auto device = Device::create(scratch.layout);
    device->installApp(sim::protocol::Command::parse("app install com.b B folder \"Games\" badge 2"));
    device->installApp(sim::protocol::Command::parse("app install com.a \"App A\" page 1"));
    device->installApp(sim::protocol::Command::parse("app install com.c C dock"));
    device->installApp(sim::protocol::Command::parse("app install com.d D"));
    device->setActivatorInstalled(false);
    device->setCompanionInstalled(false);
    device->prepareForBoot();
    // The files went as a user deleting them would: the packages stay installed.
    EXPECT_TRUE(device->packages().state("nimbrel")->installed());

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
    BuildLayout inCheckout;
    inCheckout.binFolder = checkout / "build/bin";
    inCheckout.libFolder = checkout / "build/lib";
    inCheckout.resourcesFolder = scratch.folder / "src/resources";
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
