#include <foundation/NSArray.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace foundation;

TEST(ValuesString, BoolValueFollowsFoundation)
{
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {
        { " 1 ", true }, { "+0", false }, { "0+", false }, { "+y", false }, { "ya", true },
        { "0123", true }, { "NO", false }, { "YES", true }, { "true", true }, { "T", true },
        { "false", false }, { "", false }, { "   ", false }, { "-5", true }, { "-0009", true },
        { "\t\n y", true }, { "0y", false }, { "9", true }, { "0.5", false }, { "+-1", false },
        { "x1", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(NSStr(c.text)->boolValue(), c.expected) << '"' << c.text << '"';
}

TEST(ValuesString, IntValueReadsTheLeadingIntegerAndClamps)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        { "12", 12 }, { "  -42abc", -42 }, { "+7", 7 }, { "12.9", 12 }, { "abc", 0 }, { "", 0 },
        { "- 5", 0 }, { "0x1F", 0 }, { "2147483647", INT_MAX }, { "2147483648", INT_MAX },
        { "99999999999999999999", INT_MAX }, { "-2147483648", INT_MIN }, { "-99999999999", INT_MIN },
        { "\n 12 MB", 12 }, { "007", 7 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(NSStr(c.text)->intValue(), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(NSStr("9223372036854775807")->integerValue(), INT64_MAX);
    EXPECT_EQ(NSStr("-9223372036854775808")->integerValue(), INT64_MIN);
    EXPECT_EQ(NSStr("-99999999999999999999")->integerValue(), INT64_MIN);
}

TEST(ValuesString, FloatValueReadsALeadingDecimalNumber)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        { "12.5", 12.5 }, { "  -1.5e3xyz", -1500 }, { ".5", 0.5 }, { "5.", 5 }, { "2e", 2 },
        { "2e+", 2 }, { "2E2", 200 }, { "abc", 0 }, { "", 0 }, { ".", 0 }, { "-", 0 },
        { "+0.25", 0.25 }, { "1,5", 1 }, { "0x10", 0 }, { "inf", 0 }, { "nan", 0 },
        { "12 MB", 12 }, { "1e-400", 0 },
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(NSStr(c.text)->doubleValue(), c.expected) << '"' << c.text << '"';
        EXPECT_FLOAT_EQ(NSStr(c.text)->floatValue(), static_cast<float>(c.expected)) << '"' << c.text << '"';
    }
    EXPECT_TRUE(std::isinf(NSStr("1e400")->doubleValue()));
    EXPECT_LT(NSStr("-1e400")->doubleValue(), 0);
}

TEST(ValuesString, LengthAndSubstringCountUTF16Units)
{
    EXPECT_EQ(NSStr("")->length(), 0u);
    EXPECT_EQ(NSStr("abc")->length(), 3u);
    EXPECT_EQ(NSStr("\xC3\xA9t\xC3\xA9")->length(), 3u);      // été
    EXPECT_EQ(NSStr("a\xF0\x9F\x98\x80")->length(), 3u);      // a + one emoji (a surrogate pair)
    EXPECT_EQ(NSStr("\xFF\xFE")->length(), 2u);               // stray bytes count one each

    EXPECT_EQ(NSStr("\xC3\xA9t\xC3\xA9")->substringToIndex(1)->string(), "\xC3\xA9");
    EXPECT_EQ(NSStr("Safari")->substringToIndex(1)->string(), "S");
    EXPECT_EQ(NSStr("abc")->substringToIndex(0)->string(), "");
    EXPECT_EQ(NSStr("abc")->substringToIndex(99)->string(), "abc");
    // Cutting inside the pair keeps the whole character out rather than half of it.
    EXPECT_EQ(NSStr("a\xF0\x9F\x98\x80z")->substringToIndex(2)->string(), "a");
    EXPECT_EQ(NSStr("a\xF0\x9F\x98\x80z")->substringToIndex(3)->string(), "a\xF0\x9F\x98\x80");
}

TEST(ValuesString, CapitalizedStringCapitalisesEachWord)
{
    EXPECT_EQ(NSStr("s")->capitalizedString()->string(), "S");
    EXPECT_EQ(NSStr("hello wORLD")->capitalizedString()->string(), "Hello World");
    EXPECT_EQ(NSStr("1st place")->capitalizedString()->string(), "1st Place");
    EXPECT_EQ(NSStr("#")->capitalizedString()->string(), "#");
    EXPECT_EQ(NSStr("\xC3\xA9t\xC3\xA9")->capitalizedString()->string(), "\xC3\x89t\xC3\xA9"); // Été
    EXPECT_EQ(NSStr("\xD0\xBC\xD0\x98\xD0\xA0")->capitalizedString()->string(), "\xD0\x9C\xD0\xB8\xD1\x80"); // мИР -> Мир
}

TEST(ValuesString, PathOperations)
{
    struct Case {
        const char* path;
        const char* last;
        const char* deleted;
        const char* extension;
    };
    const Case cases[] = {
        { "/tmp/scratch.tiff", "scratch.tiff", "/tmp", "tiff" },
        { "/tmp/lock/", "lock", "/tmp", "" },
        { "/tmp", "tmp", "/", "" },
        { "/", "/", "/", "" },
        { "scratch.tiff", "scratch.tiff", "", "tiff" },
        { "", "", "", "" },
        { "a//b.tar.gz", "b.tar.gz", "a", "gz" },
        { "/Themes/.plist", ".plist", "/Themes", "" },
    };
    for (const auto& c : cases) {
        auto path = NSStr(c.path);
        EXPECT_EQ(path->lastPathComponent()->string(), c.last) << c.path;
        EXPECT_EQ(path->stringByDeletingLastPathComponent()->string(), c.deleted) << c.path;
        EXPECT_EQ(path->pathExtension()->string(), c.extension) << c.path;
    }
    EXPECT_EQ(NSStr("/tmp")->stringByAppendingPathComponent("scratch.tiff")->string(), "/tmp/scratch.tiff");
    EXPECT_EQ(NSStr("/tmp/")->stringByAppendingPathComponent("/x/")->string(), "/tmp/x");
    EXPECT_EQ(NSStr("/")->stringByAppendingPathComponent("x")->string(), "/x");
    EXPECT_EQ(NSStr("")->stringByAppendingPathComponent("x")->string(), "x");
    EXPECT_EQ(NSStr("abc")->stringByAppendingString("def")->string(), "abcdef");
    EXPECT_TRUE(NSStr("com.apple.mobilesafari")->hasPrefix("com.apple."));
    EXPECT_TRUE(NSStr("icon.png")->hasSuffix(".png"));
    EXPECT_FALSE(NSStr("png")->hasSuffix(".png"));
}

TEST(ValuesString, ComponentsSeparatedByString)
{
    auto texts = [](const NSArray& array) {
        std::vector<std::string> result;
        for (const auto& element : array)
            result.push_back(runtime::dynamicCast<NSString>(element)->string());
        return result;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(texts(NSStr("a,,b")->componentsSeparatedByString(",")), (Texts { "a", "", "b" }));
    EXPECT_EQ(texts(NSStr("")->componentsSeparatedByString(",")), (Texts { "" }));
    EXPECT_EQ(texts(NSStr(",x,")->componentsSeparatedByString(",")), (Texts { "", "x", "" }));
    EXPECT_EQ(texts(NSStr("a::b")->componentsSeparatedByString("::")), (Texts { "a", "b" }));
    EXPECT_EQ(texts(NSStr("abc")->componentsSeparatedByString("")), (Texts { "abc" }));
}

TEST(ValuesString, ComparisonsOrderAsDocumented)
{
    auto order = [](const char* a, const char* b, NSComparisonResult (NSString::*compare)(const NSString&) const) {
        return (NSStr(a).get().*compare)(NSStr(b));
    };
    // Literal: upper case before lower case, UTF-16 unit order.
    EXPECT_EQ(order("B", "a", &NSString::compare), NSOrderedAscending);
    EXPECT_EQ(order("abc", "abc", &NSString::compare), NSOrderedSame);
    EXPECT_EQ(order("ab", "abc", &NSString::compare), NSOrderedAscending);
    // U+FF5E sorts after an emoji's surrogate units in UTF-16, though before it by code point.
    EXPECT_EQ(order("\xEF\xBD\x9E", "\xF0\x9F\x98\x80", &NSString::compare), NSOrderedDescending);

    const auto localized = &NSString::localizedCompare;
    EXPECT_EQ(order("apple", "Banana", localized), NSOrderedAscending);
    EXPECT_EQ(order("a", "A", localized), NSOrderedAscending);
    EXPECT_EQ(order("A", "b", localized), NSOrderedAscending);
    EXPECT_EQ(order("\xC3\xA9", "f", localized), NSOrderedAscending);  // é before f
    EXPECT_EQ(order("e", "\xC3\xA9", localized), NSOrderedAscending);  // plain before accented
    EXPECT_EQ(order("#", "A", localized), NSOrderedAscending);
    EXPECT_EQ(order("Same", "Same", localized), NSOrderedSame);

    const auto caseless = &NSString::localizedCaseInsensitiveCompare;
    EXPECT_EQ(order("safari", "Safari", caseless), NSOrderedSame);
    EXPECT_EQ(order("mail", "Maps", caseless), NSOrderedAscending);
    EXPECT_EQ(order("Zebra", "apple", caseless), NSOrderedDescending);
}

TEST(ValuesString, EqualityHashAndCopies)
{
    auto a = NSStr("text");
    auto b = NSStr("text");
    EXPECT_TRUE(a->isEqual(b.ptr()));
    EXPECT_EQ(a->hash(), b->hash());
    EXPECT_FALSE(a->isEqual(NSStr("Text").ptr()));
    EXPECT_FALSE(a->isEqual(nullptr));

    auto mutableText = a->mutableCopy();
    mutableText->appendString("s");
    EXPECT_EQ(a->string(), "text");
    auto frozen = mutableText->copy();
    mutableText->setString("changed");
    EXPECT_EQ(frozen->string(), "texts");
    EXPECT_FALSE(frozen->isKindOf<NSMutableString>());
    EXPECT_TRUE(mutableText->isEqual(NSStr("changed").ptr()));
}
