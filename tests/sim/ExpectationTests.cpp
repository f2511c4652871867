#include <sim/driver/Expectation.h>
#include <sim/driver/JsonPointer.h>

#include <gtest/gtest.h>

using namespace sim::driver;

namespace {

const Json document = Json::parse(R"({
  "switcher": false,
  "running": ["com.apple.mobilesafari", "com.apple.Maps"],
  "openFolder": null,
  "icons": { "com.apple.mobilesafari": { "badge": 0, "indicator": { "alpha": 1.0, "frame": [-7.75, -8.75, 74.5, 76.0] } } },
  "a/b": { "m~n": 7 },
  "": "empty key",
  "list": [10, 20, 30],
  "name": "Icon Outlines"
})");

const Json* at(const char* pointer)
{
    auto parsed = JsonPointer::parse(pointer);
    EXPECT_TRUE(parsed) << pointer;
    return parsed ? parsed->resolve(document) : nullptr;
}

}

TEST(JsonPointer, ResolvesMembersElementsAndEscapes)
{
    struct Case {
        const char* pointer;
        Json expected;
    };
    const Case found[] = {
        { "", document },
        { "/switcher", false },
        { "/running/1", "com.apple.Maps" },
        { "/openFolder", nullptr },
        { "/icons/com.apple.mobilesafari/indicator/frame/2", 74.5 },
        { "/a~1b/m~0n", 7 },
        { "/", "empty key" },
        { "/list/0", 10 },
    };
    for (const auto& c : found) {
        const Json* value = at(c.pointer);
        ASSERT_NE(value, nullptr) << c.pointer;
        EXPECT_EQ(*value, c.expected) << c.pointer;
    }
    for (const char* missing : { "/nothing", "/running/2", "/running/-", "/running/01", "/running/x", "/list/1/deeper", "/switcher/0", "/icons/com.apple.Maps", "/a~1b/m~1n", "/list/99999999999999999999" })
        EXPECT_EQ(at(missing), nullptr) << missing;
}

TEST(JsonPointer, RefusesMalformedPointers)
{
    for (const char* bad : { "running", "/a~", "/a~2b", "~0", "/x/~" })
        EXPECT_FALSE(JsonPointer::parse(bad)) << bad;
}

TEST(Expectation, EveryOperatorHoldsAndFails)
{
    using Op = Expectation::Op;
    struct Case {
        const char* pointer;
        Op op;
        Json value;
        bool held;
    };
    const Case cases[] = {
        { "/switcher", Op::Equal, false, true },
        { "/switcher", Op::Equal, 0, false }, // a boolean is not a number
        { "/list/0", Op::Equal, 10.0, true }, // numbers compare by value
        { "/openFolder", Op::Equal, nullptr, true },
        { "/running", Op::Equal, Json::array({ "com.apple.mobilesafari", "com.apple.Maps" }), true },
        { "/running", Op::Equal, Json::array({ "com.apple.Maps", "com.apple.mobilesafari" }), false },
        { "/name", Op::NotEqual, "Icon Label Bars", true },
        { "/name", Op::NotEqual, "Icon Outlines", false },
        { "/list/1", Op::Less, 21, true },
        { "/list/1", Op::Less, 20, false },
        { "/list/1", Op::LessOrEqual, 20, true },
        { "/list/1", Op::Greater, 19.5, true },
        { "/list/1", Op::Greater, 20, false },
        { "/list/1", Op::GreaterOrEqual, 20, true },
        { "/list/1", Op::GreaterOrEqual, 20.01, false },
        { "/name", Op::Less, "J", true },
        { "/name", Op::Greater, 3, false }, // a string cannot be ordered against a number
        { "/icons/com.apple.mobilesafari/indicator/alpha", Op::About, 0.995, true },
        { "/icons/com.apple.mobilesafari/indicator/alpha", Op::About, 0.99, true },
        { "/icons/com.apple.mobilesafari/indicator/alpha", Op::About, 0.989, false },
        { "/icons/com.apple.mobilesafari/indicator/frame", Op::About, Json::array({ -7.75, -8.75, 74.5, 76 }), true },
        { "/icons/com.apple.mobilesafari/indicator/frame", Op::About, Json::array({ -7.75, -8.75, 74.5, 76.5 }), false },
        { "/icons/com.apple.mobilesafari/indicator/frame", Op::About, Json::array({ -7.75, -8.75, 74.5 }), false },
        { "/name", Op::About, 1, false },
        { "/running", Op::Contains, "com.apple.Maps", true },
        { "/running", Op::Contains, "com.apple.mobilemail", false },
        { "/running", Op::Contains, "Maps", false }, // elements are whole values, not text
        { "/name", Op::Contains, "Outlines", true },
        { "/name", Op::Contains, "outlines", false },
        { "/list/0", Op::Contains, 1, false },
        { "/running", Op::NotContains, "com.apple.mobilemail", true },
        { "/running", Op::NotContains, "com.apple.Maps", false },
        { "/nothing", Op::Absent, nullptr, true },
        { "/openFolder", Op::Absent, nullptr, false }, // null is a value
        { "/running", Op::Length, 2, true },
        { "/running", Op::Length, 3, false },
        { "/name", Op::Length, 13, true },
        { "/icons", Op::Length, 1, true },
        { "/list/0", Op::Length, 2, false },
    };
    for (const auto& c : cases) {
        auto outcome = Expectation::evaluate(at(c.pointer), c.op, c.value);
        EXPECT_EQ(outcome.held, c.held) << c.pointer << " " << Expectation::opText(c.op) << " " << c.value.dump() << ": " << outcome.message;
        EXPECT_EQ(outcome.message.empty(), c.held) << c.pointer;
    }
}

TEST(Expectation, EveryOperatorButAbsentFailsWhereThereIsNoValue)
{
    using Op = Expectation::Op;
    for (Op op : { Op::Equal, Op::NotEqual, Op::Less, Op::LessOrEqual, Op::Greater, Op::GreaterOrEqual, Op::About, Op::Contains, Op::NotContains, Op::Length }) {
        auto outcome = Expectation::evaluate(nullptr, op, 1);
        EXPECT_FALSE(outcome.held) << Expectation::opText(op);
        EXPECT_NE(outcome.message.find("no value"), std::string::npos) << outcome.message;
    }
}

TEST(Expectation, FailureStatesExpectedAndActual)
{
    auto outcome = Expectation::evaluate(at("/list/2"), Expectation::Op::Equal, 31);
    EXPECT_EQ(outcome.message, "expected == 31, actual 30");
    auto length = Expectation::evaluate(at("/running"), Expectation::Op::Length, 1);
    EXPECT_NE(length.message.find("expected length 1, actual 2"), std::string::npos) << length.message;
}

TEST(Expectation, LargeIntegersCompareExactly)
{
    Json big = Json::parse("9007199254740993");
    EXPECT_TRUE(Expectation::evaluate(&big, Expectation::Op::Greater, Json::parse("9007199254740992")).held);
    Json negative = -1;
    EXPECT_TRUE(Expectation::evaluate(&negative, Expectation::Op::Less, Json::parse("18446744073709551615")).held);
}

TEST(Expectation, OperatorTextRoundTrips)
{
    for (const char* text : { "==", "!=", "<", "<=", ">", ">=", "~=", "contains", "!contains", "absent", "length" }) {
        auto op = Expectation::parseOp(text);
        ASSERT_TRUE(op) << text;
        EXPECT_EQ(Expectation::opText(*op), text);
    }
    EXPECT_FALSE(Expectation::parseOp("=~"));
}
