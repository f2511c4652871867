#include <foundation/NSData.h>
#include <foundation/NSDate.h>
#include <foundation/NSError.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSSet.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

using namespace foundation;

namespace {

class Gadget : public runtime::Object {
    TORVANE_OBJECT(Gadget, runtime::Object)
public:
    static runtime::Ref<Gadget> create() { return adoptRef(*new Gadget); }
};
TORVANE_DEFINE_CLASS(Gadget)

}

TEST(ValuesDescription, FlatCollections)
{
    EXPECT_EQ(NSArray::create()->description(), "(\n)");
    EXPECT_EQ(NSDictionary::create()->description(), "{\n}");
    EXPECT_EQ(NSArray::create({ NSStr("a"), NSNumber::numberWithDouble(0.5), NSNumber::numberWithBool(true) })->description(),
        "(\n    a,\n    0.5,\n    1\n)");
    // Keys sorted, each entry ends with ';'.
    auto dictionary = NSDictionary::create({ { "Zed", NSNumber::numberWithInt(3) }, { "Alpha", NSStr("one") } });
    EXPECT_EQ(dictionary->description(), "{\n    Alpha = one;\n    Zed = 3;\n}");
}

TEST(ValuesDescription, NestedCollectionsIndentLikeFoundation)
{
    auto nested = NSDictionary::create({
        { "Items", NSArray::create({ NSStr("a"), NSStr("b") }) },
        { "Name", NSStr("x") },
        { "Sub", NSDictionary::create({ { "k", NSNumber::numberWithInt(1) } }) },
    });
    EXPECT_EQ(nested->description(),
        "{\n"
        "    Items =     (\n"
        "        a,\n"
        "        b\n"
        "    );\n"
        "    Name = x;\n"
        "    Sub =     {\n"
        "        k = 1;\n"
        "    };\n"
        "}");
    auto listOfDictionaries = NSArray::create({
        NSDictionary::create({ { "a", NSNumber::numberWithInt(1) } }),
        NSArray::create(),
    });
    EXPECT_EQ(listOfDictionaries->description(),
        "(\n"
        "        {\n"
        "        a = 1;\n"
        "    },\n"
        "        (\n"
        "    )\n"
        ")");
}

TEST(ValuesDescription, StringsAreQuotedOnlyWhenNeeded)
{
    struct Case {
        const char* text;
        const char* printed;
    };
    const Case cases[] = {
        { "plain_Text.1$/:-", "plain_Text.1$/:-" },
        { "", "\"\"" },
        { "two words", "\"two words\"" },
        { "say \"hi\"", "\"say \\\"hi\\\"\"" },
        { "back\\slash", "\"back\\\\slash\"" },
        { "line\nbreak\ttab", "\"line\\nbreak\\ttab\"" },
        { "caf\xC3\xA9", "\"caf\\U00e9\"" },
        { "\xF0\x9F\x98\x80", "\"\\Ud83d\\Ude00\"" },
        { "a+b", "\"a+b\"" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NSArray::create({ NSStr(c.text) })->description(), std::string("(\n    ") + c.printed + "\n)") << c.text;
        auto asKey = NSDictionary::create({ { c.text, NSNumber::numberWithInt(0) } });
        EXPECT_EQ(asKey->description(), std::string("{\n    ") + c.printed + " = 0;\n}") << c.text;
    }
    // A string on its own is its own text, unquoted.
    EXPECT_EQ(NSStr("two words")->description(), "two words");
}

TEST(ValuesDescription, OtherValues)
{
    EXPECT_EQ(NSData::create({ 0x01, 0x02, 0xab, 0xcd, 0x0e })->description(), "<0102abcd 0e>");
    EXPECT_EQ(NSData::create()->description(), "<>");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(1796684235.75)->description(), "2026-12-07 22:57:15 +0000");
    EXPECT_EQ(NSDate::dateWithTimeIntervalSince1970(-0.5)->description(), "1969-12-31 23:59:59 +0000");
    EXPECT_EQ(NSSet::create({ NSStr("a") })->description(), "{(\n    a\n)}");
    EXPECT_EQ(NSError::create("Domain", 4, "Gone")->description(), "Error Domain=Domain Code=4 \"Gone\"");

    // Numbers and data print bare inside collections, other objects as quoted text.
    auto gadget = Gadget::create();
    auto mixed = NSArray::create({ NSNumber::numberWithDouble(1e20), NSData::create({ 1 }), gadget });
    EXPECT_EQ(mixed->description(), "(\n    1e+20,\n    <01>,\n    \"" + gadget->description() + "\"\n)");
}

TEST(ValuesDescription, ACollectionInsideItselfStillPrints)
{
    auto loop = NSMutableArray::create();
    loop->addObject(loop);
    const std::string text = loop->description(); // must return rather than exhaust the stack
    EXPECT_NE(text.find("..."), std::string::npos);
    loop->removeAllObjects(); // break the cycle so the array is freed
}
