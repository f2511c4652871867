#include <sim/driver/JUnitReport.h>
#include <sim/driver/ScenarioFiles.h>

#include <gtest/gtest.h>

using namespace sim::driver;

// Files of one name keep their own folders; other files keep their plain stems.
TEST(ScenarioFiles, RunNamesTellFilesOfOneNameApart)
{
    auto names = ScenarioFiles::runNames({ "suite/a/smoke.scn", "suite/b/c/smoke.scn", "suite/other.scn", "suite/other.scn" });
    EXPECT_EQ(names, (std::vector<std::string> { "a/smoke", "b/c/smoke", "other", "other-2" }));
}

// Messages carry whatever a dump held: the report must stay well-formed XML whatever they hold.
TEST(JUnitReport, EscapesMarkupAndWhatXmlCannotHold)
{
    EXPECT_EQ(JUnitReport::escape("a<b>&\"'"), "a&lt;b&gt;&amp;&quot;&apos;");
    EXPECT_EQ(JUnitReport::escape("x\x01y"), "x\xEF\xBF\xBDy");
    EXPECT_EQ(JUnitReport::escape("\xFF\xC3"), "\xEF\xBF\xBD\xEF\xBF\xBD") << "broken UTF-8";
    EXPECT_EQ(JUnitReport::escape("caf\xC3\xA9\n"), "caf\xC3\xA9&#10;");
}
