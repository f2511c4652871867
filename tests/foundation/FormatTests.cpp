#include <foundation/Format.h>
#include <foundation/NSArray.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <climits>

using namespace foundation;
using runtime::RefPtr;

TEST(Format, ObjectsPrintTheirDescriptionAndNilPrintsNull)
{
    RefPtr<NSString> none;
    EXPECT_EQ(format("Torvane %@ Loaded", NSStr("1.2.1")), "Torvane 1.2.1 Loaded");
    EXPECT_EQ(format("%@|%@", none, nullptr), "(null)|(null)");
    EXPECT_EQ(format("%@ %@", NSNumber::numberWithFloat(0.5f), NSNumber::numberWithBool(true)), "0.5 1");
    auto plain = NSStr("plain");
    const NSString& borrowed = *plain;
    EXPECT_EQ(format("[%@]", borrowed), "[plain]");
    EXPECT_EQ(format("[%8@][%-8@]", NSStr("ab"), NSStr("ab")), "[      ab][ab      ]");
}

TEST(Format, NumericConversionsFollowPrintf)
{
    struct Case {
        std::string expected;
        std::string actual;
    };
    const Case cases[] = {
        { "12 MB", format("%i MB", 12) },
        { "-7", format("%d", -7) },
        { "Using 12 MBs of RAM", format("Using %i MBs of RAM", static_cast<int>(12.9)) },
        { "4294967295", format("%u", -1) },            // C's varargs reading of int -1
        { "255", format("%u", static_cast<uint8_t>(255)) },
        { "18446744073709551615", format("%llu", UINT64_MAX) },
        { "0.500", format("%0.3f", 0.5) },
        { "2.5", format("%.1f", 2.46f) },
        { "00FF8A", format("%0.6X", 0xFF8A) },
        { "ff", format("%x", 255u) },
        { "  42", format("%4ld", 42L) },
        { "A", format("%c", 'A') },
        { "1e+20", format("%g", 1e20) },
        { "100%", format("%d%%", 100) },
        { "2147483647", format("%i", INT_MAX) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST(Format, TextConversions)
{
    const char* nullText = nullptr;
    std::string owned = "owned";
    EXPECT_EQ(format("%s-%s-%s", "c", owned, std::string_view("view")), "c-owned-view");
    EXPECT_EQ(format("%s", nullText), "(null)");
    EXPECT_EQ(format("[%.3s][%5s]", "abcdef", "ab"), "[abc][   ab]");
}

TEST(Format, MismatchedAndMissingArgumentsPrintPlaceholders)
{
    EXPECT_EQ(format("%d", 2.5), "%!d(real)");
    EXPECT_EQ(format("%f", 3), "%!f(integer)");
    EXPECT_EQ(format("%@", 3), "%!@(integer)");
    EXPECT_EQ(format("%s", NSStr("x")), "%!s(object)");
    EXPECT_EQ(format("%d and %@"), "%!d(missing) and %!@(missing)");
    EXPECT_EQ(format("%*d", 5, 3), "%!*(unsupported)");
    EXPECT_EQ(format("%y", 1), "%!y(unsupported)");
    // Arguments are used in order even after a mismatch; extras are ignored.
    EXPECT_EQ(format("%d %s", 1.5, "next", "extra"), "%!d(real) next");
    EXPECT_EQ(format("ends with %"), "ends with %");
}

TEST(Format, StringWithFormatMakesAString)
{
    auto text = NSString::stringWithFormat("%@/%@.png", NSStr("/Library/Themes"), NSStr("Glow"));
    EXPECT_EQ(text->string(), "/Library/Themes/Glow.png");
    auto list = NSArray::create({ NSStr("a"), NSNumber::numberWithInt(2) });
    EXPECT_EQ(format("%@", list), "(\n    a,\n    2\n)");
}
