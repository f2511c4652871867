// What the page posts, as the viewer decodes it before anything reaches the device.
#include <sim/viewer/ViewerRequests.h>

#include <gtest/gtest.h>

using namespace sim::viewer;
using sim::protocol::Json;

namespace {

int refusalStatus(const auto& decoded)
{
    auto* refusal = std::get_if<Refusal>(&decoded);
    return refusal ? refusal->status : 0;
}

Json body(std::string_view text)
{
    auto decoded = jsonBody("application/json", text);
    EXPECT_TRUE(std::holds_alternative<Json>(decoded)) << text;
    return std::get<Json>(decoded);
}

}

TEST(ViewerRequests, BodiesMustBeJsonOfTheirOwnType)
{
    EXPECT_EQ(refusalStatus(jsonBody("text/plain", "{}")), 415);
    EXPECT_EQ(refusalStatus(jsonBody("application/x-www-form-urlencoded", "line=home")), 415);
    EXPECT_EQ(refusalStatus(jsonBody("application/json", "{\"line\":")), 400);
    EXPECT_EQ(refusalStatus(jsonBody("application/json; charset=utf-8", "{}")), 0);
}

TEST(ViewerRequests, FingerPhasesAreCheckedAllBeforeAnyHappens)
{
    auto phases = fingerPhases(body(R"([{"screen":"springboard","phase":"began","x":10,"y":20,"seq":4},
                                       {"screen":"settings","phase":"ended","x":-5,"y":1e6}])"));
    ASSERT_TRUE(std::holds_alternative<std::vector<FingerPhase>>(phases));
    auto& list = std::get<std::vector<FingerPhase>>(phases);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0].screen->process, "springboard");
    EXPECT_EQ(list[0].sequence, 4u);
    EXPECT_STREQ(list[1].screen->process, "settings-app");
    // Off the picture, the finger stays on the screen's edge.
    EXPECT_EQ(list[1].x, 0);
    EXPECT_EQ(list[1].y, 480);

    // A good phase followed by a bad one refuses the whole list, so the first never reaches the
    // device with the person told it failed.
    EXPECT_EQ(refusalStatus(fingerPhases(body(R"([{"screen":"springboard","phase":"began","x":1,"y":1},
                                                  {"screen":"springboard","phase":"lifted","x":1,"y":1}])"))), 400);
}

// Before, text where a number belongs and elements that are not objects threw out of the
// handler: the server answered 500 with the library's exception text instead of the page's refusal.
TEST(ViewerRequests, MalformedPhasesAreRefusedNotThrown)
{
    for (const char* text : { R"({"screen":"springboard"})", R"([1])", R"([null])", R"([[]])",
             R"([{"screen":"springboard","phase":"began","x":"10","y":20}])",
             R"([{"screen":7,"phase":"began","x":1,"y":2}])",
             R"([{"screen":"springboard","phase":"began","x":1,"y":2,"seq":"3"}])" })
        EXPECT_EQ(refusalStatus(fingerPhases(body(text))), 400) << text;

    // A sequence that is no count waits for no frame rather than wrapping to a huge one.
    auto negative = fingerPhases(body(R"([{"screen":"settings","phase":"moved","x":1,"y":2,"seq":-1}])"));
    ASSERT_TRUE(std::holds_alternative<std::vector<FingerPhase>>(negative));
    EXPECT_EQ(std::get<std::vector<FingerPhase>>(negative)[0].sequence, 0u);
}

TEST(ViewerRequests, CommandLinesAndDumpParameters)
{
    auto line = commandLine(body(R"({"line":"launch com.apple.Maps"})"));
    ASSERT_TRUE(std::holds_alternative<std::string>(line));
    EXPECT_EQ(std::get<std::string>(line), "launch com.apple.Maps");
    // No line is the empty command the device answers as such.
    EXPECT_EQ(std::get<std::string>(commandLine(body("{}"))), "");
    EXPECT_EQ(refusalStatus(commandLine(body(R"({"line":42})"))), 400);
    EXPECT_EQ(refusalStatus(commandLine(body(R"(["home"])"))), 400);

    EXPECT_EQ(refusalStatus(dumpRequest("prefs", "")), 0);
    EXPECT_EQ(std::get<DumpRequest>(dumpRequest("hierarchy", "settings")).screen, "settings");
    EXPECT_EQ(refusalStatus(dumpRequest("hierarchy", "")), 400);
    EXPECT_EQ(refusalStatus(dumpRequest("/etc/passwd", "")), 400);
}
