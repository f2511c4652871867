#include <foundation/NSNumber.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace foundation;

TEST(ValuesNumber, DescriptionByKind)
{
    struct Case {
        runtime::Ref<NSNumber> number;
        const char* expected;
    };
    const Case cases[] = {
        { NSNumber::numberWithInt(42), "42" },
        { NSNumber::numberWithInteger(-9000000000), "-9000000000" },
        { NSNumber::numberWithBool(true), "1" },
        { NSNumber::numberWithBool(false), "0" },
        { NSNumber::numberWithDouble(0.5), "0.5" },
        { NSNumber::numberWithDouble(1.0), "1" },
        { NSNumber::numberWithDouble(0.1), "0.1" },
        { NSNumber::numberWithDouble(1.0 / 3), "0.3333333333333333" },
        { NSNumber::numberWithFloat(0.1f), "0.1" },
        { NSNumber::numberWithFloat(1.0f / 3), "0.3333333" },
        { NSNumber::numberWithDouble(1e20), "1e+20" },
        { NSNumber::numberWithFloat(0.75f), "0.75" },
        // A NaN with its sign bit set (found in a binary preferences file by the fuzzer) reads like
        // any other: the sign does not survive a write, and a merge must leave the entry alike.
        { NSNumber::numberWithDouble(-std::numeric_limits<double>::quiet_NaN()), "nan" },
        { NSNumber::numberWithFloat(-std::numeric_limits<float>::quiet_NaN()), "nan" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.number->description(), c.expected);
}

TEST(ValuesNumber, AccessorsConvertBetweenKinds)
{
    EXPECT_TRUE(NSNumber::numberWithDouble(0.5)->boolValue());
    EXPECT_FALSE(NSNumber::numberWithDouble(0.0)->boolValue());
    EXPECT_TRUE(NSNumber::numberWithInt(-1)->boolValue());
    EXPECT_FALSE(NSNumber::numberWithInt(0)->boolValue());

    EXPECT_EQ(NSNumber::numberWithDouble(12.9)->intValue(), 12);
    EXPECT_EQ(NSNumber::numberWithDouble(-12.9)->intValue(), -12);
    EXPECT_EQ(NSNumber::numberWithDouble(1e12)->intValue(), INT_MAX);
    EXPECT_EQ(NSNumber::numberWithDouble(-1e12)->intValue(), INT_MIN);
    EXPECT_EQ(NSNumber::numberWithDouble(std::nan(""))->intValue(), 0);
    EXPECT_EQ(NSNumber::numberWithDouble(1e300)->integerValue(), INT64_MAX);
    // Integers keep their low 32 bits, as Foundation's int conversion does.
    EXPECT_EQ(NSNumber::numberWithInteger((int64_t(1) << 32) + 5)->intValue(), 5);
    EXPECT_EQ(NSNumber::numberWithBool(true)->intValue(), 1);
    EXPECT_FLOAT_EQ(NSNumber::numberWithInt(3)->floatValue(), 3.0f);
    EXPECT_TRUE(NSNumber::numberWithBool(false)->isBoolean());
    EXPECT_FALSE(NSNumber::numberWithInt(0)->isBoolean());
}

TEST(ValuesNumber, EqualityIsNumericAcrossKindsAndHashesAgree)
{
    auto yes = NSNumber::numberWithBool(true);
    auto one = NSNumber::numberWithInt(1);
    auto oneReal = NSNumber::numberWithDouble(1.0);
    auto oneFloat = NSNumber::numberWithFloat(1.0f);
    EXPECT_TRUE(yes->isEqual(one.ptr()));
    EXPECT_TRUE(one->isEqual(oneReal.ptr()));
    EXPECT_TRUE(oneReal->isEqual(oneFloat.ptr()));
    EXPECT_EQ(yes->hash(), one->hash());
    EXPECT_EQ(one->hash(), oneReal->hash());
    EXPECT_FALSE(one->isEqual(NSNumber::numberWithDouble(1.5).ptr()));
    EXPECT_FALSE(one->isEqual(NSStr("1").ptr()));

    // 2^53 + 1 has no exact double: it must not equal the double 2^53.
    auto big = NSNumber::numberWithInteger((int64_t(1) << 53) + 1);
    EXPECT_FALSE(big->isEqual(NSNumber::numberWithDouble(9007199254740992.0).ptr()));
    EXPECT_EQ(big->compare(NSNumber::numberWithDouble(9007199254740992.0)), NSOrderedDescending);
}

TEST(ValuesNumber, CompareIsATotalOrder)
{
    auto nan = NSNumber::numberWithDouble(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(nan->compare(NSNumber::numberWithInt(-5)), NSOrderedAscending);
    EXPECT_EQ(NSNumber::numberWithInt(-5)->compare(nan), NSOrderedDescending);
    EXPECT_EQ(nan->compare(nan), NSOrderedSame);
    EXPECT_EQ(NSNumber::numberWithDouble(2.5)->compare(NSNumber::numberWithInt(2)), NSOrderedDescending);
    EXPECT_EQ(NSNumber::numberWithInt(-3)->compare(NSNumber::numberWithDouble(-2.5)), NSOrderedAscending);
    EXPECT_EQ(NSNumber::numberWithInteger(INT64_MAX)->compare(NSNumber::numberWithDouble(1e19)), NSOrderedAscending);
    EXPECT_EQ(NSNumber::numberWithInteger(INT64_MIN)->compare(NSNumber::numberWithDouble(-1e19)), NSOrderedDescending);
}
