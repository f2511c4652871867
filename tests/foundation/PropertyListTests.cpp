#include "ValuesTestSupport.h"

#include <foundation/NSData.h>
#include <foundation/NSDate.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/PropertyList.h>
#include <foundation/WholeFile.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

using namespace foundation;
using runtime::Ref;
using runtime::RefPtr;

namespace {

class OpaqueValue : public runtime::Object {
    TORVANE_OBJECT(OpaqueValue, runtime::Object)
public:
    static Ref<OpaqueValue> create() { return adoptRef(*new OpaqueValue); }
};
TORVANE_DEFINE_CLASS(OpaqueValue)

Ref<NSDictionary> everyKind()
{
    return NSDictionary::create({
        { "Text", NSStr("Caf\xC3\xA9 <&> \"quoted\"") },
        { "Empty", NSStr("") },
        { "Integer", NSNumber::numberWithInteger(-9000000000) },
        { "Small", NSNumber::numberWithInt(12) },
        { "Real", NSNumber::numberWithDouble(0.1) },
        { "Flag", NSNumber::numberWithBool(true) },
        { "Off", NSNumber::numberWithBool(false) },
        { "Bytes", NSData::create({ 0, 1, 2, 255 }) },
        { "When", NSDate::dateWithTimeIntervalSince1970(1796684235) },
        { "List", NSArray::create({ NSStr("a"), NSArray::create(), NSDictionary::create() }) },
        { "Nested", NSDictionary::create({ { "Deep", NSArray::create({ NSNumber::numberWithInt(1) }) } }) },
    });
}

class PropertyListFiles : public values_test::DeviceRootTest {
protected:
    void TearDown() override
    {
        WholeFile::setBeforeRenameHookForTesting(nullptr);
        DeviceRootTest::TearDown();
    }
    size_t filesIn(const std::string& deviceFolder) const
    {
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(host(deviceFolder)))
            ++count;
        return count;
    }
};

}

TEST(PropertyList, RoundTripsEveryValueKindInBothFormats)
{
    for (auto format : { PropertyListFormat::XML, PropertyListFormat::Binary }) {
        auto bytes = PropertyList::serialize(everyKind(), format);
        ASSERT_TRUE(bytes);
        RefPtr<runtime::Object> back = PropertyList::read(*bytes);
        ASSERT_TRUE(back);
        EXPECT_TRUE(back->isEqual(everyKind().ptr())) << back->description();
        auto dictionary = runtime::dynamicCast<NSDictionary>(back);
        // Kinds survive, not only values: settings test for booleans.
        EXPECT_TRUE(dictionary->numberForKey("Flag")->isBoolean());
        EXPECT_EQ(dictionary->numberForKey("Integer")->kind(), NSNumber::Kind::Integer);
        EXPECT_EQ(dictionary->numberForKey("Real")->kind(), NSNumber::Kind::Double);
        EXPECT_FALSE(dictionary->isKindOf<NSMutableDictionary>());
    }
}

TEST(PropertyList, ReadsHandWrittenXML)
{
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <!-- a comment with <tags> inside -->
    <key>Enabled</key><true/>
    <key>Opacity</key><real>0.75</real>
    <key>Count</key><integer>-3</integer>
    <key>Name</key><string>A &amp; B</string>
    <key>Icon</key><data>AQID</data>
    <key>Since</key><date>2026-12-07T22:57:15Z</date>
</dict>
</plist>
)";
    auto root = PropertyList::read(std::span(reinterpret_cast<const uint8_t*>(xml.data()), xml.size()));
    auto dictionary = runtime::dynamicCast<NSDictionary>(root);
    ASSERT_TRUE(dictionary);
    EXPECT_TRUE(dictionary->numberForKey("Enabled")->boolValue());
    EXPECT_DOUBLE_EQ(dictionary->numberForKey("Opacity")->doubleValue(), 0.75);
    EXPECT_EQ(dictionary->numberForKey("Count")->intValue(), -3);
    EXPECT_EQ(dictionary->stringForKey("Name")->string(), "A & B");
    EXPECT_TRUE(dictionary->objectForKey("Icon")->isEqual(NSData::create({ 1, 2, 3 }).ptr()));
    EXPECT_EQ(dictionary->objectForKey("Since")->description(), "2026-12-07 22:57:15 +0000");
}

TEST(PropertyList, ReadsFilesFromAnotherWriter)
{
    for (const char* name : { "companion.bplist", "companion.xml" }) {
        std::ifstream file(std::string(TORVANE_PLIST_SEEDS) + "/" + name, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
        RefPtr<NSDictionary> root = runtime::dynamicCast<NSDictionary>(PropertyList::read(bytes));
        ASSERT_TRUE(root) << name;
        auto apps = root->arrayForKey("ApplicationData");
        ASSERT_TRUE(apps);
        ASSERT_EQ(apps->count(), 3u);
        auto second = runtime::dynamicCast<NSDictionary>(&apps->objectAtIndex(1));
        EXPECT_EQ(second->stringForKey("AppName")->string(), "Caf\xC3\xA9 \xF0\x9F\x98\x80") << name;
        EXPECT_FALSE(second->numberForKey("IsFolder")->boolValue());
        EXPECT_EQ(root->numberForKey("Big")->integerValue(), -9000000000) << name;
        EXPECT_DOUBLE_EQ(root->numberForKey("Ratio")->doubleValue(), 0.125);
        EXPECT_EQ(root->objectForKey("Loaded")->description(), "2026-12-07 22:57:15 +0000") << name;
        EXPECT_EQ(root->objectForKey("Blob")->description(), "<000102ff>") << name;
    }
}

TEST(PropertyList, MutableContainersOnRequest)
{
    auto bytes = PropertyList::serialize(everyKind());
    auto root = PropertyList::read(*bytes, PropertyList::Containers::Mutable);
    auto dictionary = runtime::dynamicCast<NSMutableDictionary>(root);
    ASSERT_TRUE(dictionary);
    EXPECT_TRUE(dictionary->arrayForKey("List")->isKindOf<NSMutableArray>());
}

TEST(PropertyList, ValuesThatCannotBeStoredFailTheWrite)
{
    EXPECT_FALSE(PropertyList::isPropertyList(OpaqueValue::create()));
    EXPECT_FALSE(PropertyList::serialize(NSArray::create({ NSStr("ok"), OpaqueValue::create() })));
    EXPECT_FALSE(PropertyList::serialize(NSDictionary::create({ { "view", OpaqueValue::create() } })));
    EXPECT_FALSE(PropertyList::serialize(NSStr(std::string("nul\0inside", 10))));
    EXPECT_FALSE(PropertyList::serialize(NSDictionary::create({ { std::string("k\0", 2), NSStr("v") } })));
    // Dates are stored as 32-bit seconds from 2001.
    EXPECT_FALSE(PropertyList::serialize(NSDate::dateWithTimeIntervalSince1970(1e11)));
    EXPECT_TRUE(PropertyList::serialize(NSDate::dateWithTimeIntervalSince1970(0)));
}

TEST(PropertyList, DatesRoundTripAcrossTheirWholeRange)
{
    const double reference = 978307200; // 2001-01-01
    const double moments[] = { reference, reference + 0.25, reference - 1.25, 631152000.5,
        reference + INT32_MAX + 0.5, reference + INT32_MIN - 0.5, reference + INT32_MIN };
    for (double moment : moments) {
        for (auto format : { PropertyListFormat::XML, PropertyListFormat::Binary }) {
            auto bytes = PropertyList::serialize(NSArray::create({ NSDate::dateWithTimeIntervalSince1970(moment) }), format);
            ASSERT_TRUE(bytes) << moment;
            RefPtr<NSArray> back = runtime::dynamicCast<NSArray>(PropertyList::read(*bytes));
            ASSERT_TRUE(back);
            auto date = runtime::dynamicCast<NSDate>(back->firstObject());
            ASSERT_TRUE(date);
            // XML keeps whole seconds only; binary keeps microseconds.
            const double tolerance = format == PropertyListFormat::XML ? 1.0 + 1e-6 : 1e-6;
            EXPECT_NEAR(date->timeIntervalSince1970(), moment, tolerance) << moment;
            EXPECT_TRUE(PropertyList::serialize(*back, format)) << "what was read writes again";
        }
    }

    auto loop = NSMutableArray::create();
    loop->addObject(loop);
    EXPECT_FALSE(PropertyList::serialize(loop)); // refused, not an endless recursion
    loop->removeAllObjects();
}

TEST_F(PropertyListFiles, CrossReadingBinaryAndXMLFiles)
{
    std::filesystem::create_directories(host("/var/mobile/Library/Preferences"));
    const std::string binaryPath = "/var/mobile/Library/Preferences/binary.plist";
    const std::string xmlPath = "/var/mobile/Library/Preferences/text.plist";
    ASSERT_TRUE(PropertyList::writeFile(everyKind(), binaryPath, true, PropertyListFormat::Binary));
    ASSERT_TRUE(everyKind()->writeToFile(xmlPath, true));
    EXPECT_TRUE(readHostFile(binaryPath).starts_with("bplist00"));
    EXPECT_TRUE(readHostFile(xmlPath).starts_with("<?xml"));

    for (const auto& path : { binaryPath, xmlPath }) {
        auto dictionary = NSDictionary::dictionaryWithContentsOfFile(path);
        ASSERT_TRUE(dictionary) << path;
        EXPECT_TRUE(dictionary->isEqual(everyKind().ptr())) << path;
        // Wrong root type reads as nil.
        EXPECT_FALSE(NSArray::arrayWithContentsOfFile(path)) << path;
        auto editable = NSMutableDictionary::dictionaryWithContentsOfFile(path);
        ASSERT_TRUE(editable);
        editable->setObjectForKey(NSStr("added"), "New");
        EXPECT_EQ(editable->count(), everyKind()->count() + 1);
    }

    auto list = NSArray::create({ NSStr("com.apple.mobilesafari"), NSStr("com.apple.Maps") });
    ASSERT_TRUE(list->writeToFile("/list.plist", false));
    auto readBack = NSMutableArray::arrayWithContentsOfFile("/list.plist");
    ASSERT_TRUE(readBack);
    EXPECT_TRUE(readBack->isEqual(list.ptr()));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/list.plist"));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/missing.plist"));
}

TEST_F(PropertyListFiles, WritesLandUnderTheDeviceRootOnly)
{
    ASSERT_TRUE(NSDictionary::create({ { "k", NSStr("v") } })->writeToFile("/settings.plist", true));
    EXPECT_TRUE(std::filesystem::exists(host("/settings.plist")));
    // No intermediate folders are made, as in Foundation.
    EXPECT_FALSE(NSDictionary::create()->writeToFile("/no/such/folder/x.plist", true));
    // Climbing out of the root is refused for reading and writing.
    EXPECT_FALSE(NSDictionary::create()->writeToFile("/../escaped.plist", true));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(m_root).parent_path() / "escaped.plist"));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/../" + std::filesystem::path(m_root).filename().string() + "/settings.plist"));
}

TEST_F(PropertyListFiles, AFailedWriteKeepsTheOldFile)
{
    const std::string path = "/prefs.plist";
    ASSERT_TRUE(NSDictionary::create({ { "Version", NSStr("old") } })->writeToFile(path, true));
    const std::string before = readHostFile(path);

    EXPECT_FALSE(NSDictionary::create({ { "view", OpaqueValue::create() } })->writeToFile(path, true));
    EXPECT_FALSE(NSDictionary::create({ { "view", OpaqueValue::create() } })->writeToFile(path, false));
    EXPECT_EQ(readHostFile(path), before);

    WholeFile::setBeforeRenameHookForTesting([](const std::string&) { return false; });
    EXPECT_FALSE(NSDictionary::create({ { "Version", NSStr("new") } })->writeToFile(path, true));
    EXPECT_EQ(readHostFile(path), before);
    EXPECT_EQ(filesIn("/"), 1u); // the temporary file is cleaned up
    // Data is written without an fsync, but as atomically.
    EXPECT_FALSE(NSData::create({ 1, 2, 3 })->writeToFile(path, true));
    EXPECT_EQ(readHostFile(path), before);
    EXPECT_EQ(filesIn("/"), 1u);
}

TEST_F(PropertyListFiles, ACrashBeforeTheRenameLeavesTheOldFileReadable)
{
    const std::string path = "/prefs.plist";
    ASSERT_TRUE(NSDictionary::create({ { "Version", NSStr("old") } })->writeToFile(path, true));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WholeFile::setBeforeRenameHookForTesting([](const std::string&) -> bool { ::_exit(0); });
        NSDictionary::create({ { "Version", NSStr("new") } })->writeToFile(path, true);
        ::_exit(1); // not reached when the hook ran
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the write never reached the rename";

    auto dictionary = NSDictionary::dictionaryWithContentsOfFile(path);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(dictionary->stringForKey("Version")->string(), "old");
    EXPECT_EQ(filesIn("/"), 2u); // the crashed writer's temporary file stays behind, harmlessly

    // The next write replaces the file as usual.
    ASSERT_TRUE(NSDictionary::create({ { "Version", NSStr("new") } })->writeToFile(path, true));
    EXPECT_EQ(NSDictionary::dictionaryWithContentsOfFile(path)->stringForKey("Version")->string(), "new");
}

TEST_F(PropertyListFiles, DataFilesRoundTrip)
{
    auto data = NSData::create({ 'b', 'p', 0, 7 });
    ASSERT_TRUE(data->writeToFile("/blob", true));
    auto back = NSData::dataWithContentsOfFile("/blob");
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->isEqual(data.ptr()));
    ASSERT_TRUE(NSData::create()->writeToFile("/blob", false));
    EXPECT_EQ(NSData::dataWithContentsOfFile("/blob")->length(), 0u);
    EXPECT_FALSE(NSData::dataWithContentsOfFile("/absent"));
    std::filesystem::create_directories(host("/folder"));
    EXPECT_FALSE(NSData::dataWithContentsOfFile("/folder"));
    EXPECT_FALSE(data->writeToFile("/folder", true)); // a folder is not replaced by a file
}
