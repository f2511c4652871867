#include <sim/driver/ScenarioParser.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace sim::driver;

namespace {

// Parses `line` as the only line after an optional boot line.
CommandKind kindOf(const std::string& line, bool afterBoot)
{
    ScenarioParser parser("t.scn");
    if (afterBoot)
        parser.parseLine("boot", 1);
    auto parsed = parser.parseLine(line, 2);
    EXPECT_TRUE(parsed.has_value()) << line;
    return parsed ? parsed->kind : CommandKind::Setup;
}

std::string errorOf(const std::string& line, bool afterBoot)
{
    ScenarioParser parser("t.scn");
    if (afterBoot)
        parser.parseLine("boot", 1);
    try {
        parser.parseLine(line, 7);
    } catch (const ParseError& error) {
        EXPECT_EQ(error.line(), 7u);
        EXPECT_EQ(error.file(), "t.scn");
        return error.reason();
    }
    return {};
}

}

TEST(ScenarioParser, SkipsBlankAndCommentLinesAndKeepsLineNumbers)
{
    auto scenario = ScenarioParser::parseText("# setup\n\nprefs ConfirmationAlertAtHome false\n   \nboot # go\nlaunch com.apple.mobilesafari\n", "s.scn");
    ASSERT_EQ(scenario.lines.size(), 3u);
    EXPECT_EQ(scenario.lines[0].lineNumber, 3u);
    EXPECT_EQ(scenario.lines[0].kind, CommandKind::Setup);
    EXPECT_EQ(scenario.lines[1].lineNumber, 5u);
    EXPECT_EQ(scenario.lines[1].kind, CommandKind::Boot);
    EXPECT_EQ(scenario.lines[2].lineNumber, 6u);
    EXPECT_EQ(scenario.lines[2].kind, CommandKind::SpringBoard);
}

TEST(ScenarioParser, MalformedLineNamesFileAndLine)
{
    try {
        ScenarioParser::parseText("boot\nlaunch com.apple.mobilesafari\nswipe sideways Safari\nbogus line\n", "tests/x.scn");
        FAIL() << "no error";
    } catch (const ParseError& error) {
        EXPECT_EQ(error.line(), 3u);
        EXPECT_STREQ(error.what(), "tests/x.scn:3: direction must be up|down, not 'sideways'");
    }
    try {
        ScenarioParser::parseText("boot\nalert tap \"Kill\n", "q.scn");
        FAIL() << "no error";
    } catch (const ParseError& error) {
        EXPECT_EQ(error.line(), 2u);
        EXPECT_NE(std::string(error.what()).find("unterminated"), std::string::npos);
    }
}

TEST(ScenarioParser, MissingFileIsAParseErrorOnLineZero)
{
    try {
        ScenarioParser::parseFile("/nonexistent/scenario.scn");
        FAIL();
    } catch (const ParseError& error) {
        EXPECT_EQ(error.line(), 0u);
    }
}

TEST(ScenarioParser, FileFolderIsWhereRelativeHostPathsStart)
{
    auto folder = std::filesystem::temp_directory_path() / ("parser-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "a.scn") << "boot\n";
    auto scenario = ScenarioParser::parseFile(folder / "a.scn");
    EXPECT_EQ(scenario.folder, folder);
    std::filesystem::remove_all(folder);
}

// Every command of the language, with the forms it accepts.
TEST(ScenarioParser, AcceptsEveryCommandForm)
{
    struct Case {
        const char* line;
        bool afterBoot;
        CommandKind kind;
    };
    const Case cases[] = {
        { "activator on", false, CommandKind::Setup },
        { "activator off", false, CommandKind::Setup },
        { "companion off", false, CommandKind::Setup },
        { "prefs ConfirmationAlertAtHome false", false, CommandKind::Setup },
        { "prefs OpacityValue \"0.5\"", false, CommandKind::Setup },
        { "prefs OpacityValue 0.5", false, CommandKind::Setup },
        { "prefs DisableTheseApps [\"com.a\", \"com.b\"]", false, CommandKind::Setup },
        { "prefs SelectedTheme {\"Name\": \"Icon Outlines\"}", false, CommandKind::Setup },
        { "prefs-remove SelectedTheme", false, CommandKind::Setup },
        { "file put /var/mobile/x.plist data/x.plist", false, CommandKind::Setup },
        { "file put /var/mobile/x.plist data/x.plist", true, CommandKind::Setup },
        { "file rm /var/mobile/x.plist", true, CommandKind::Setup },
        { "app install com.a \"App A\"", false, CommandKind::Setup },
        { "app install com.b B dock badge 3", false, CommandKind::Setup },
        { "app install com.c C page 1", false, CommandKind::Setup },
        { "app install com.d D folder \"Games Folder\" badge 0", false, CommandKind::Setup },
        { "app install com.e E badge 2 dock", false, CommandKind::Setup },
        { "boot", false, CommandKind::Boot },
        { "launch com.apple.mobilesafari", true, CommandKind::SpringBoard },
        { "launch com.apple.mobilesafari mb 12.5", true, CommandKind::SpringBoard },
        { "quit com.apple.mobilesafari", true, CommandKind::SpringBoard },
        { "swipe up Safari", true, CommandKind::SpringBoard },
        { "swipe down com.apple.mobilemail by 30 dx -4", true, CommandKind::SpringBoard },
        { "swipe up Utilities dx 2 by 5", true, CommandKind::SpringBoard },
        { "touch Safari begin 10 20", true, CommandKind::SpringBoard },
        { "touch move 10 -5.5", true, CommandKind::SpringBoard },
        { "touch end", true, CommandKind::SpringBoard },
        { "switcher show", true, CommandKind::SpringBoard },
        { "switcher hide", true, CommandKind::SpringBoard },
        { "folder open \"Utilities\"", true, CommandKind::SpringBoard },
        { "folder close", true, CommandKind::SpringBoard },
        { "edit start", true, CommandKind::SpringBoard },
        { "edit stop", true, CommandKind::SpringBoard },
        { "lock", true, CommandKind::SpringBoard },
        { "unlock", true, CommandKind::SpringBoard },
        { "home", true, CommandKind::SpringBoard },
        { "badge com.apple.mobilemail 3", true, CommandKind::SpringBoard },
        { "badge com.apple.mobilemail 0", true, CommandKind::SpringBoard },
        { "alert tap \"Kill\"", true, CommandKind::SpringBoard },
        { "activator assign libactivator.menu.press.double", true, CommandKind::SpringBoard },
        { "activator send libactivator.menu.press.double", true, CommandKind::SpringBoard },
        { "popup kill \"Safari\"", true, CommandKind::SpringBoard },
        { "wait until springboard /alerts length 1", true, CommandKind::Wait },
        { "wait until settings /hud absent max 2", true, CommandKind::Wait },
        { "wait until prefs /OpacityValue == \"max\" max 0.5", true, CommandKind::Wait },
        { "wait until log contains \"Loaded\" max 1", true, CommandKind::Wait },
        { "dump hierarchy springboard", true, CommandKind::Dump },
        { "dump hierarchy settings tree.json", true, CommandKind::Dump },
        { "wait 0.35", true, CommandKind::Wait },
        { "wait 0", true, CommandKind::Wait },
        { "settings open", true, CommandKind::Settings },
        { "settings toggle ConfirmationHomeID off", true, CommandKind::Settings },
        { "settings select NeverShowID", true, CommandKind::Settings },
        { "settings row \"Icon Outlines\"", true, CommandKind::Settings },
        { "settings sheet \"Reload\"", true, CommandKind::Settings },
        { "settings reload", true, CommandKind::Settings },
        { "settings save", true, CommandKind::Settings },
        { "settings cancel", true, CommandKind::Settings },
        { "settings opacity 0.4", true, CommandKind::Settings },
        { "settings alert \"I Understand\"", true, CommandKind::Settings },
        { "settings back", true, CommandKind::Settings },
        { "settings leave", true, CommandKind::Settings },
        { "screenshot springboard home.png", true, CommandKind::Screenshot },
        { "screenshot settings out/root.png", true, CommandKind::Screenshot },
        { "dump springboard sb.json", true, CommandKind::Dump },
        { "dump settings", true, CommandKind::Dump },
        { "dump prefs p.json", false, CommandKind::Dump },
        { "dump companion c.json", true, CommandKind::Dump },
        { "expect springboard /running contains \"com.apple.mobilesafari\"", true, CommandKind::Expect },
        { "expect springboard /icons/com.apple.mobilesafari/indicator/frame ~= [-7.75, -8.75, 74.5, 76]", true, CommandKind::Expect },
        { "expect settings /rows length 8", true, CommandKind::Expect },
        { "expect prefs /SelectedTheme absent", false, CommandKind::Expect },
        { "expect prefs \"\" == null", false, CommandKind::Expect },
        { "expect companion /ApplicationData/0/IsFolder == false", true, CommandKind::Expect },
        { "expect prefs /OpacityValue >= \"0.5\"", true, CommandKind::Expect },
        { "expect prefs /a~1b/c~0d != 3", true, CommandKind::Expect },
        { "expect log contains \"Torvane 1.2.1 Loaded into SpringBoard\"", true, CommandKind::Expect },
        { "expect log !contains \"Error\"", true, CommandKind::Expect },
    };
    for (const auto& c : cases)
        EXPECT_EQ(kindOf(c.line, c.afterBoot), c.kind) << c.line;
}

// Wrong arity, wrong words and wrong values are refused when the file is read.
TEST(ScenarioParser, RefusesMalformedArguments)
{
    struct Case {
        const char* line;
        bool afterBoot;
        const char* reasonPart;
    };
    const Case cases[] = {
        { "frobnicate", true, "unknown command 'frobnicate'" },
        { "activator maybe", false, "activator must be on|off" },
        { "activator", true, "usage: activator assign" },
        { "activator send", true, "usage: activator assign" },
        { "companion", false, "companion on|off" },
        { "prefs Key", false, "usage: prefs KEY JSON" },
        { "prefs Key Glow", false, "not a JSON value" },
        { "prefs Key [1, 2", false, "unclosed" },
        { "prefs Key null", false, "cannot hold null" },
        { "prefs Key [1, null]", false, "cannot hold null" },
        { "prefs Key 1 2", false, "text after the value" },
        { "prefs-remove", false, "usage: prefs-remove KEY" },
        { "file put /a", false, "usage: file put" },
        { "file put relative/path x", false, "must be absolute" },
        { "file rm /var/../../etc/passwd", false, "must be absolute" },
        { "file rm /", false, "must be absolute" },
        { "file copy /a /b", false, "usage: file put" },
        { "app install com.a", false, "usage: app install" },
        { "app remove com.a A", false, "usage: app install" },
        { "app install com.a A page", false, "'page' needs a value" },
        { "app install com.a A page x", false, "page must be a number" },
        { "app install com.a A page 100", false, "page must be a number from 0 to 99" },
        { "app install com.a A dock page 1", false, "unexpected 'page'" },
        { "app install com.a A badge -1", false, "badge needs a number" },
        { "app install com.a A sideways", false, "unexpected 'sideways'" },
        { "boot now", false, "usage: boot" },
        { "launch", true, "usage: launch BID" },
        { "launch com.a mb", true, "usage: launch BID" },
        { "launch com.a gb 3", true, "usage: launch BID" },
        { "launch com.a mb -1", true, "mb must be a number" },
        { "launch com.a mb lots", true, "mb must be a number" },
        { "quit", true, "usage: quit BID" },
        { "quit a b", true, "usage: quit BID" },
        { "swipe Safari", true, "usage: swipe" },
        { "swipe left Safari", true, "direction must be up|down" },
        { "swipe up Safari by", true, "'by' needs a number" },
        { "swipe up Safari by far", true, "'by' needs a number" },
        { "swipe up Safari by 3 by 4", true, "unexpected 'by'" },
        { "swipe up Safari dy 3", true, "unexpected 'dy'" },
        { "touch Safari begin 1", true, "usage: touch" },
        { "touch move 1 x", true, "touch move needs two numbers" },
        { "touch end now", true, "usage: touch" },
        { "switcher toggle", true, "switcher must be show|hide" },
        { "folder open", true, "usage: folder open" },
        { "folder close now", true, "usage: folder open" },
        { "edit begin", true, "edit must be start|stop" },
        { "lock now", true, "usage: lock" },
        { "unlock 1234", true, "usage: unlock" },
        { "home twice", true, "usage: home" },
        { "badge com.a", true, "usage: badge BID N" },
        { "badge com.a -2", true, "badge must be a number from 0" },
        { "badge com.a three", true, "badge must be a number from 0" },
        { "alert tap", true, "usage: alert tap" },
        { "alert press \"Kill\"", true, "usage: alert tap" },
        { "popup kill", true, "usage: popup kill" },
        { "wait", true, "usage: wait" },
        { "wait -1", true, "wait needs a number of seconds from 0" },
        { "wait soon", true, "wait needs a number" },
        { "settings", true, "usage: settings" },
        { "settings open now", true, "usage: settings open" },
        { "settings toggle ConfirmationHomeID", true, "usage: settings toggle" },
        { "settings toggle ConfirmationHomeID yes", true, "toggle must be on|off" },
        { "settings select", true, "usage: settings select ID" },
        { "settings opacity lots", true, "usage: settings opacity" },
        { "settings fly", true, "unknown settings command 'fly'" },
        { "screenshot springboard", true, "usage: screenshot" },
        { "screenshot prefs x.png", true, "screenshot's target must be springboard|settings" },
        { "dump", true, "usage: dump" },
        { "dump everything x.json", true, "dump's target must be" },
        { "dump prefs a.json extra", true, "usage: dump" },
        { "expect", true, "usage: expect" },
        { "expect springboard /running", true, "usage: expect" },
        { "expect springboard running == 1", true, "not a JSON pointer" },
        { "expect springboard /a~2 == 1", true, "not a JSON pointer" },
        { "expect springboard /running === 1", true, "unknown operator '==='" },
        { "expect springboard /running ==", true, "'==' needs a value" },
        { "expect springboard /running == Safari", true, "not a JSON value" },
        { "expect springboard /running == \"a\" \"b\"", true, "text after the value" },
        { "expect springboard /popup absent null", true, "'absent' takes no value" },
        { "expect springboard /running length -1", true, "'length' takes a whole number" },
        { "expect springboard /running length 1.5", true, "'length' takes a whole number" },
        { "expect springboard /alpha ~= \"x\"", true, "'~=' compares numbers" },
        { "expect springboard /alpha < [1]", true, "'<' compares numbers or strings" },
        { "expect elsewhere /a == 1", true, "expect's target must be" },
        { "expect log contains", true, "usage: expect log" },
        { "expect log == \"x\"", true, "usage: expect log" },
        { "wait until springboard /alerts lenght 1", true, "unknown operator 'lenght'" },
        { "wait until springboard /alerts == max 2", true, "'==' needs a value" },
        { "wait until springboard /alerts absent max", true, "'max' needs a number of seconds" },
        { "wait until springboard /alerts absent max -1", true, "max needs a number of seconds from 0" },
        { "wait until log == \"x\"", true, "usage: wait until log contains" },
        { "wait until log contains \"x\" \"y\"", true, "usage: wait until log contains" },
        { "dump hierarchy prefs", true, "hierarchy's target must be springboard|settings" },
        { "lanch com.a", true, "unknown command 'lanch' (did you mean launch?)" },
        { "setings open", true, "(did you mean settings?)" },
        { "settings tgogle ID on", true, "unknown settings command 'tgogle' (did you mean toggle?)" },
    };
    for (const auto& c : cases) {
        std::string reason = errorOf(c.line, c.afterBoot);
        EXPECT_NE(reason.find(c.reasonPart), std::string::npos) << c.line << " gave: '" << reason << "'";
    }
}

TEST(ScenarioParser, SettingUpAfterBootAndDeviceCommandsBeforeItAreRefused)
{
    for (const char* line : { "prefs A true", "prefs-remove A", "activator off", "companion on", "app install com.a A", "boot" }) {
        std::string reason = errorOf(line, true);
        EXPECT_FALSE(reason.empty()) << line;
    }
    for (const char* line : { "launch com.a", "wait 1", "settings open", "screenshot springboard a.png", "dump springboard", "expect settings /rows length 1", "lock" }) {
        std::string reason = errorOf(line, false);
        EXPECT_NE(reason.find("needs a booted device"), std::string::npos) << line << ": " << reason;
    }
    // Files and the observations of files work on either side of boot.
    for (const char* line : { "file put /a b", "file rm /a", "dump prefs", "expect prefs \"\" == null", "expect log contains \"x\"" }) {
        EXPECT_EQ(errorOf(line, false), "") << line;
        EXPECT_EQ(errorOf(line, true), "") << line;
    }
}

TEST(ScenarioParser, AByteOrderMarkStartingTheFileIsSkipped)
{
    auto scenario = ScenarioParser::parseText("\xEF\xBB\xBF" "boot\nlock\n", "bom.scn", ".");
    ASSERT_EQ(scenario.lines.size(), 2u);
    EXPECT_EQ(scenario.lines[0].kind, CommandKind::Boot);
    // Only at the very start: elsewhere it is part of a word.
    EXPECT_THROW(ScenarioParser::parseText("boot\n\xEF\xBB\xBFlock\n", "bom.scn", "."), ParseError);
}

TEST(ScenarioParser, AnApplicationIsInstalledOnce)
{
    ScenarioParser parser("t.scn");
    parser.parseLine("app install com.a A", 1);
    try {
        parser.parseLine("app install com.a \"Other Name\" dock", 2);
        FAIL();
    } catch (const ParseError& error) {
        EXPECT_EQ(error.line(), 2u);
        EXPECT_NE(error.reason().find("already installed"), std::string::npos);
    }
}

// A file with several malformed lines names every one of them, and a boot line with a slip in it
// still counts, so the lines after it are not all refused for want of a boot.
TEST(ScenarioParser, EveryMalformedLineIsNamed)
{
    try {
        ScenarioParser::parseText("boot now\nlanch com.a\nlock\nwait soon\n", "m.scn");
        FAIL() << "no error";
    } catch (const ParseError& error) {
        auto all = error.all();
        ASSERT_EQ(all.size(), 3u) << error.what();
        EXPECT_EQ(all[0].line(), 1u);
        EXPECT_EQ(std::string(all[1].what()), "m.scn:2: unknown command 'lanch' (did you mean launch?)");
        EXPECT_EQ(all[2].line(), 4u);
    }
}

class ScenarioIncludes : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() / ("includes-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder / "lib");
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    void write(const std::string& name, const std::string& text) { std::ofstream(m_folder / name) << text; }
    std::filesystem::path m_folder;
};

// An included file plays in place, with its own name, lines and folder, and its boot counts for
// the lines after the include.
TEST_F(ScenarioIncludes, PlayInPlaceWithTheirOwnNamesAndFolders)
{
    write("lib/setup.scn", "prefs A true\nboot\n");
    write("main.scn", "include lib/setup.scn\nfile put /x data.txt\nlock\n");
    auto scenario = ScenarioParser::parseFile(m_folder / "main.scn");
    ASSERT_EQ(scenario.lines.size(), 4u);
    EXPECT_EQ(scenario.lines[1].kind, CommandKind::Boot);
    EXPECT_EQ(scenario.lines[1].lineNumber, 2u);
    EXPECT_EQ(scenario.lines[1].fileName, (m_folder / "lib/setup.scn").string());
    EXPECT_EQ(scenario.lines[1].folder, m_folder / "lib");
    EXPECT_EQ(scenario.lines[2].folder, m_folder) << "relative host paths start at the file the line is in";
    EXPECT_EQ(scenario.lines[3].lineNumber, 3u);
}

TEST_F(ScenarioIncludes, ACycleAndAMissingFileAreRefusedAtTheIncludeLine)
{
    write("a.scn", "boot\ninclude lib/b.scn\n");
    write("lib/b.scn", "lock\ninclude ../a.scn\nbogus\n");
    try {
        ScenarioParser::parseFile(m_folder / "a.scn");
        FAIL() << "no error";
    } catch (const ParseError& error) {
        auto all = error.all();
        ASSERT_EQ(all.size(), 2u) << error.what();
        EXPECT_EQ(all[0].file(), (m_folder / "lib/b.scn").string());
        EXPECT_EQ(all[0].line(), 2u);
        EXPECT_NE(all[0].reason().find("include cycle"), std::string::npos) << all[0].what();
        EXPECT_EQ(all[1].line(), 3u) << "the included file's other errors are named too";
    }
    write("c.scn", "include nowhere.scn\n");
    EXPECT_THROW(ScenarioParser::parseFile(m_folder / "c.scn"), ParseError);
}
