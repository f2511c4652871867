#include <sim/driver/ScenarioParser.h>
#include <sim/viewer/Recorder.h>

#include <gtest/gtest.h>

#include <sstream>

using sim::viewer::Json;
using sim::viewer::Recorder;

namespace {

std::vector<std::string> lines(const Recorder& recorder)
{
    std::vector<std::string> result;
    std::istringstream text(recorder.text());
    for (std::string line; std::getline(text, line);)
        result.push_back(line);
    return result;
}

}

TEST(Recorder, TurnsFingersIntoTapsSwipesAndDragsWithWaitsBetween)
{
    Recorder recorder;
    recorder.command("launch com.apple.Maps mb 40", 1.5);
    recorder.fingerBegan("springboard", 274, 60, 2.0, "Maps");
    recorder.fingerMoved(276, 40);
    EXPECT_EQ(recorder.fingerEnded(277, 20, 2.3), "swipe up Maps by 40 dx 3");
    recorder.fingerBegan("springboard", 100, 100, 3.0, "Utilities Folder");
    EXPECT_EQ(recorder.fingerEnded(104, 160, 3.2), "swipe down \"Utilities Folder\" by 60 dx 4");
    // Across more than up: not a swipe, whatever it started on.
    recorder.fingerBegan("springboard", 100, 100, 4.0, "Maps");
    EXPECT_EQ(recorder.fingerEnded(200, 110, 4.25), "drag springboard 100 100 200 110 seconds 0.25");
    // A finger that wandered out and came back is still a drag.
    recorder.fingerBegan("settings", 160, 300, 5.0, std::nullopt);
    recorder.fingerMoved(160, 200);
    EXPECT_EQ(recorder.fingerEnded(161, 301, 5.5), "drag settings 160 300 161 301 seconds 0.5");
    recorder.fingerBegan("settings", 260.5, 445.5, 6.0, std::nullopt);
    EXPECT_EQ(recorder.fingerEnded(262, 447, 6.1), "tap settings 260.5 445.5");
    EXPECT_EQ(recorder.fingerEnded(0, 0, 7), "") << "no finger is down";

    std::vector<std::string> expected { "boot", "wait 1.5", "launch com.apple.Maps mb 40", "wait 0.5", "swipe up Maps by 40 dx 3", "wait 0.7",
        "swipe down \"Utilities Folder\" by 60 dx 4", "wait 0.8", "drag springboard 100 100 200 110 seconds 0.25", "wait 0.75",
        "drag settings 160 300 161 301 seconds 0.5", "wait 0.5", "tap settings 260.5 445.5" };
    auto written = lines(recorder);
    written.erase(written.begin()); // the comment at the top
    EXPECT_EQ(written, expected);
}

TEST(Recorder, MarkedExpectationsAreLinesTheScenarioLanguageReads)
{
    Json springboard = Json::parse(R"({
        "alerts": [ { "class": "A", "title": "Kill \"Maps\"?", "message": "Currently using 41.3 MBs", "buttons": ["Cancel", "Kill"] } ],
        "popup": { "title": "Total 80 MB", "rows": [ { "name": "Maps", "id": "com.apple.Maps", "memory": "41 MB" } ], "buttons": [] },
        "icons": { "com.apple.Maps": { "indicator": { "alpha": 1 } }, "Odd/Folder": { "indicator": null } } })");
    Json settings = Json::parse(R"({ "alerts": [] })");
    Json prefs = Json::parse(R"({ "FirstAlert": "Pass", "Theme": { "Name": "Icon Outlines" }, "On": true })");

    Recorder recorder;
    recorder.expectations(Recorder::expectationsFor(springboard, settings, prefs), 2);
    std::string text = recorder.text();
    EXPECT_EQ(text.find("41"), std::string::npos) << "memory figures change from run to run:\n" << text;
    EXPECT_NE(text.find("expect springboard /icons/Odd~1Folder/indicator == null"), std::string::npos) << text;
    EXPECT_NE(text.find("expect prefs /FirstAlert == \"Pass\""), std::string::npos) << text;

    // Every line reads back as a command, the JSON values as the values they were.
    sim::driver::ScenarioParser parser("recorded.scn");
    size_t number = 0, expects = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        auto parsed = parser.parseLine(line, ++number);
        if (parsed && parsed->command.name() == "expect")
            ++expects;
    }
    EXPECT_EQ(expects, 11u);
}
