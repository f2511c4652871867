#include "ValuesTestSupport.h"

#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>
#include <foundation/PropertyList.h>
#include <foundation/PropertyListGuard.h>

#include <cstring>
#include <functional>
#include <limits>
#include <random>

using namespace foundation;
using runtime::RefPtr;
using values_test::BinaryPlistBuilder;

namespace {

runtime::RefPtr<runtime::Object> readBytes(const std::vector<uint8_t>& bytes)
{
    return PropertyList::read(bytes);
}

runtime::RefPtr<runtime::Object> readText(const std::string& text)
{
    return PropertyList::read(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// {"k": ["v"]} built by hand; objects: 0 dict, 1 "k", 2 array, 3 "v".
BinaryPlistBuilder smallDictionary()
{
    BinaryPlistBuilder builder;
    builder.add(BinaryPlistBuilder::dictionary({ 1 }, { 2 }));
    builder.add(BinaryPlistBuilder::asciiString("k"));
    builder.add(BinaryPlistBuilder::array({ 3 }));
    builder.add(BinaryPlistBuilder::asciiString("v"));
    return builder;
}

std::string nestedXML(size_t depth)
{
    std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (size_t i = 0; i < depth; ++i)
        xml += "<array>";
    xml += "<string>deep</string>";
    for (size_t i = 0; i < depth; ++i)
        xml += "</array>";
    return xml + "</plist>";
}

// Arrays nested `depth` deep, each holding the next; objects 0..depth-1 arrays, last a string.
std::vector<uint8_t> nestedBinary(size_t depth)
{
    BinaryPlistBuilder builder;
    builder.offsetSize = 4;
    builder.referenceSize = 4;
    for (size_t i = 0; i < depth; ++i) {
        std::vector<uint8_t> array { 0xA1 };
        BinaryPlistBuilder::appendBigEndian(array, i + 1, 4);
        builder.add(array);
    }
    builder.add(BinaryPlistBuilder::asciiString("deep"));
    return builder.build();
}

}

TEST(PropertyListHostile, TheHandBuiltReferenceFileReads)
{
    runtime::RefPtr<NSDictionary> root = runtime::dynamicCast<NSDictionary>(readBytes(smallDictionary().build()));
    ASSERT_TRUE(root); // the builder itself is sound, so the failures below are the damage
    EXPECT_EQ(root->arrayForKey("k")->description(), "(\n    v\n)");
}

TEST(PropertyListHostile, EmptyShortAndGarbageInputReadsAsNil)
{
    EXPECT_FALSE(readText(""));
    EXPECT_FALSE(readText("bplist0"));
    EXPECT_FALSE(readText("bplist00"));
    EXPECT_FALSE(readText("not a property list at all"));
    EXPECT_FALSE(readText("<plist><dict><key>a</key></plist>"));
    EXPECT_FALSE(readText("<plist><array><string>unclosed"));
    EXPECT_FALSE(readText("<plist><!-- never closed"));
    EXPECT_FALSE(readText("</plist></plist></plist></plist>"));
    EXPECT_FALSE(readText(std::string(64, '\0')));
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> noise(1 + random() % 300);
        for (auto& byte : noise)
            byte = static_cast<uint8_t>(random());
        if (round % 2 && noise.size() >= 8)
            std::copy_n("bplist00", 8, noise.begin());
        readBytes(noise); // must simply return
    }
}

TEST(PropertyListHostile, EveryTruncationOfAValidFileReadsAsNil)
{
    for (auto format : { PropertyListFormat::Binary, PropertyListFormat::XML }) {
        auto bytes = *PropertyList::serialize(NSDictionary::create({ { "Key", NSArray::create({ NSStr("value"), NSStr("more") }) } }), format);
        for (size_t length = 0; length < bytes.size(); ++length) {
            std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
            auto root = readBytes(cut);
            // A cut XML file still parses when only its final line break went missing.
            if (format == PropertyListFormat::Binary || length < bytes.size() - 1) {
                EXPECT_FALSE(root) << "format " << int(format) << " length " << length;
            }
        }
    }
}

TEST(PropertyListHostile, BrokenBinaryTrailersAndOffsets)
{
    const auto good = smallDictionary().build();
    struct Damage {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const size_t trailer = good.size() - 32;
    const Damage damages[] = {
        { "offset size 0", [&](auto& b) { b[trailer + 6] = 0; } },
        { "offset size 9", [&](auto& b) { b[trailer + 6] = 9; } },
        { "reference size 0", [&](auto& b) { b[trailer + 7] = 0; } },
        { "no objects", [](auto& b) { BinaryPlistBuilder::patchTrailer(b, 8, 0); } },
        { "huge object count", [](auto& b) { BinaryPlistBuilder::patchTrailer(b, 8, UINT64_MAX / 2); } },
        { "top object past the count", [](auto& b) { BinaryPlistBuilder::patchTrailer(b, 16, 4); } },
        { "offset table past the end", [&](auto& b) { BinaryPlistBuilder::patchTrailer(b, 24, good.size()); } },
        { "offset table inside the header", [](auto& b) { BinaryPlistBuilder::patchTrailer(b, 24, 3); } },
        { "offset table start overflowing", [](auto& b) { BinaryPlistBuilder::patchTrailer(b, 24, UINT64_MAX - 2); } },
        { "object offset inside the header", [&](auto& b) { b[trailer - 4] = 2; } },
        { "object offset in the offset table", [&](auto& b) { b[trailer - 4] = static_cast<uint8_t>(trailer - 2); } },
        { "object offset past the end", [&](auto& b) { b[trailer - 4] = 0xFF; } },
        { "reference past the count", [](auto& b) { b[8 + 2] = 9; } },
        { "array longer than the file", [](auto& b) { b[8 + 3 + 2] = 0xAE; } },
        { "unknown marker", [](auto& b) { b[8] = 0x70; } },
        { "string longer than the file", [](auto& b) { b[8 + 3] = 0x5E; } },
    };
    for (const auto& damage : damages) {
        auto bytes = good;
        damage.apply(bytes);
        EXPECT_FALSE(PropertyListGuard::isAcceptableBinary(bytes, PropertyList::maximumDepth, 1000)) << damage.what;
        EXPECT_FALSE(readBytes(bytes)) << damage.what;
    }
}

TEST(PropertyListHostile, CyclicAndExplodingBinaryGraphs)
{
    // An array that holds itself.
    BinaryPlistBuilder selfLoop;
    selfLoop.add(BinaryPlistBuilder::array({ 0 }));
    EXPECT_FALSE(readBytes(selfLoop.build()));

    // A longer cycle: dict -> array -> dict.
    BinaryPlistBuilder cycle;
    cycle.add(BinaryPlistBuilder::dictionary({ 1 }, { 2 }));
    cycle.add(BinaryPlistBuilder::asciiString("k"));
    cycle.add(BinaryPlistBuilder::array({ 0 }));
    EXPECT_FALSE(readBytes(cycle.build()));

    // Sharing is fine in moderation: one string used twice.
    BinaryPlistBuilder shared;
    shared.add(BinaryPlistBuilder::array({ 1, 1 }));
    shared.add(BinaryPlistBuilder::asciiString("same"));
    runtime::RefPtr<NSArray> sharedRoot = runtime::dynamicCast<NSArray>(readBytes(shared.build()));
    ASSERT_TRUE(sharedRoot);
    EXPECT_EQ(sharedRoot->count(), 2u);

    // Forty arrays each holding the next one twice: 2^40 nodes once expanded.
    BinaryPlistBuilder laughs;
    for (uint8_t i = 0; i < 40; ++i)
        laughs.add(BinaryPlistBuilder::array({ static_cast<uint8_t>(i + 1), static_cast<uint8_t>(i + 1) }));
    laughs.add(BinaryPlistBuilder::asciiString("lol"));
    EXPECT_FALSE(readBytes(laughs.build()));
}

TEST(PropertyListHostile, KeysMustBeStringsAndNoTextMayHoldNUL)
{
    auto withKey = [](std::vector<uint8_t> key) {
        BinaryPlistBuilder builder;
        builder.add(BinaryPlistBuilder::dictionary({ 1 }, { 2 }));
        builder.add(std::move(key));
        builder.add(BinaryPlistBuilder::asciiString("v"));
        return builder.build();
    };
    EXPECT_FALSE(readBytes(withKey(BinaryPlistBuilder::integer(5))));
    // libplist aborts the process on these unless they are stopped first.
    EXPECT_FALSE(readBytes(withKey(BinaryPlistBuilder::asciiString(std::string("a\0b", 3)))));
    EXPECT_FALSE(readBytes(withKey({ 0x62, 0x00, 'a', 0x00, 0x00 })));  // UTF-16 "a\0"
    RefPtr<NSDictionary> utf16 = runtime::dynamicCast<NSDictionary>(readBytes(withKey({ 0x61, 0x00, 0xE9 })));
    ASSERT_TRUE(utf16);
    EXPECT_EQ(utf16->stringForKey("\xC3\xA9")->string(), "v");
    // XML with NUL bytes in a key or in text.
    EXPECT_FALSE(readText(std::string("<plist><dict><key>a\0b</key><true/></dict></plist>", 49)));
    EXPECT_FALSE(readText(std::string("<plist><string>0.\0\0</string></plist>", 36)));
    // The binary parser would cut a value at the NUL and lose the rest: refused as well.
    BinaryPlistBuilder value;
    value.add(BinaryPlistBuilder::asciiString(std::string("a\0b", 3)));
    EXPECT_FALSE(readBytes(value.build()));
}

TEST(PropertyListHostile, DeepNestingIsRefusedInBothFormats)
{
    EXPECT_TRUE(readText(nestedXML(PropertyList::maximumDepth)));
    EXPECT_FALSE(readText(nestedXML(PropertyList::maximumDepth + 1)));
    EXPECT_FALSE(readText(nestedXML(200000))); // would overflow the parser's stack

    EXPECT_TRUE(readBytes(nestedBinary(PropertyList::maximumDepth)));
    EXPECT_FALSE(readBytes(nestedBinary(PropertyList::maximumDepth + 1)));
    EXPECT_FALSE(readBytes(nestedBinary(200000)));
}

TEST(PropertyListHostile, OversizedInputIsRefusedUnread)
{
    std::string huge = "<plist><string>";
    huge.append(PropertyList::maximumSize, 'x');
    huge += "</string></plist>";
    EXPECT_FALSE(readText(huge));
}

TEST(PropertyListHostile, DatesBeyondWhatTheParserHoldsReadAsNil)
{
    auto withDate = [](double secondsSince2001) {
        std::vector<uint8_t> date { 0x33 };
        uint64_t bits;
        std::memcpy(&bits, &secondsSince2001, sizeof bits);
        BinaryPlistBuilder::appendBigEndian(date, bits, 8);
        BinaryPlistBuilder builder;
        builder.add(BinaryPlistBuilder::array({ 1 }));
        builder.add(date);
        return builder.build();
    };
    EXPECT_TRUE(readBytes(withDate(-86400.5)));
    EXPECT_TRUE(readBytes(withDate(2147483647.0)));
    EXPECT_FALSE(readBytes(withDate(3e9)));
    EXPECT_FALSE(readBytes(withDate(-1e300)));
    EXPECT_FALSE(readBytes(withDate(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_FALSE(readBytes(withDate(std::numeric_limits<double>::infinity())));
}

TEST(PropertyListHostile, UnsupportedValueKindsReadAsNil)
{
    // A keyed-archive UID is not a property-list value we hand out.
    BinaryPlistBuilder uid;
    uid.add(BinaryPlistBuilder::array({ 1 }));
    uid.add({ 0x80, 0x01 });
    EXPECT_FALSE(readBytes(uid.build()));
    // Null markers neither.
    BinaryPlistBuilder null;
    null.add(BinaryPlistBuilder::array({ 1 }));
    null.add({ 0x00 });
    EXPECT_FALSE(readBytes(null.build()));
}

TEST(PropertyListHostile, TextThatIsNotUTF8IsRefusedBothWays)
{
    // A truncated four-byte sequence, in a key and in a value.
    EXPECT_FALSE(readText("<plist><dict><key>Alert\xF0</key><true/></dict></plist>"));
    EXPECT_FALSE(readText("<plist><string>caf\xC3</string></plist>"));
    EXPECT_FALSE(readText("<plist><string>\xED\xA0\x80</string></plist>")); // a UTF-16 surrogate
    EXPECT_TRUE(readText("<plist><string>caf\xC3\xA9 \xEF\xBF\xBD</string></plist>"));
    // Writing it would lose the stray byte, so the write fails instead.
    for (auto format : { PropertyListFormat::XML, PropertyListFormat::Binary }) {
        EXPECT_FALSE(PropertyList::serialize(NSStr("caf\xC3"), format));
        EXPECT_FALSE(PropertyList::serialize(NSDictionary::create({ { "k\xFF", NSStr("v") } }), format));
    }
}

class PropertyListHostileFiles : public values_test::DeviceRootTest {
};

TEST_F(PropertyListHostileFiles, DamagedSettingsFilesReadAsNil)
{
    writeHostFile("/var/mobile/Library/Preferences/garbage.plist", "\x01\x02 not a plist");
    writeHostFile("/var/mobile/Library/Preferences/empty.plist", "");
    writeHostFile("/var/mobile/Library/Preferences/array.plist",
        "<plist version=\"1.0\"><array><string>a</string></array></plist>");
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/garbage.plist"));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/empty.plist"));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/array.plist"));
    EXPECT_TRUE(NSArray::arrayWithContentsOfFile("/var/mobile/Library/Preferences/array.plist"));
}
