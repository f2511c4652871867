#include <sim/driver/TourPage.h>

#include <gtest/gtest.h>

using sim::driver::TourPage;

namespace {

// The text of the page between two markers, to tell which step a thing landed in.
std::string between(const std::string& page, const std::string& from, const std::string& to)
{
    auto start = page.find(from);
    auto end = page.find(to, start == std::string::npos ? 0 : start);
    return start == std::string::npos ? std::string() : page.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}

// Each step shows its caption, what was done and only the log lines that are new since the step
// before; a dump taken right after a picture is linked from that picture; text is escaped.
TEST(TourPage, StepsHoldTheirOwnCommandsLogLinesAndDumps)
{
    TourPage page({ { "01-home.png", "A fresh device" }, { "02-run.png", "Maps <running>" } });
    page.addLogLines({ "springboard: booted" });
    page.addCommand("boot");
    page.addScreenshot("01-home.png");
    page.addDump("01-home.json");
    page.addCommand("launch com.apple.Maps");
    page.addLogLines({ "springboard: booted", "springboard: Maps started", "springboard: booted" });
    page.addScreenshot("02-run.png");

    auto html = page.html();
    auto first = between(html, "<img src=\"01-home.png\"", "<img src=\"02-run.png\"");
    auto second = between(html, "<img src=\"02-run.png\"", "</body>");
    EXPECT_NE(first.find("A fresh device"), std::string::npos);
    EXPECT_NE(first.find("<a href=\"01-home.json\">"), std::string::npos);
    EXPECT_NE(first.find("springboard: booted"), std::string::npos);
    EXPECT_EQ(first.find("launch com.apple.Maps"), std::string::npos);
    EXPECT_NE(second.find("Maps &lt;running&gt;"), std::string::npos);
    EXPECT_NE(second.find("launch com.apple.Maps"), std::string::npos);
    EXPECT_NE(second.find("springboard: Maps started"), std::string::npos);
    // The boot line shows once more only because it was logged once more.
    auto repeated = second.find("springboard: booted");
    EXPECT_NE(repeated, std::string::npos);
    EXPECT_EQ(second.find("springboard: booted", repeated + 1), std::string::npos);
}
