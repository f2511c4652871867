#include <sim/protocol/Command.h>
#include <sim/protocol/ControlError.h>
#include <sim/protocol/LineTokenizer.h>

#include <gtest/gtest.h>

using namespace sim::protocol;

namespace {

std::vector<std::string> texts(std::string_view line)
{
    auto result = LineTokenizer::split(line);
    EXPECT_TRUE(result.ok()) << line << ": " << result.error.value_or("");
    std::vector<std::string> words;
    for (const auto& word : result.words)
        words.push_back(word.text);
    return words;
}

}

TEST(LineTokenizer, SplitsWordsQuotesAndComments)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(texts("launch com.apple.mobilesafari mb 20"), (Words { "launch", "com.apple.mobilesafari", "mb", "20" }));
    EXPECT_EQ(texts("  \tswipe   up\tSafari  "), (Words { "swipe", "up", "Safari" }));
    EXPECT_EQ(texts("folder open \"Two Words\""), (Words { "folder", "open", "Two Words" }));
    EXPECT_EQ(texts("alert tap \"\""), (Words { "alert", "tap", "" }));
    EXPECT_EQ(texts("boot # starts everything"), (Words { "boot" }));
    EXPECT_EQ(texts("# only a comment"), Words {});
    EXPECT_EQ(texts(""), Words {});
    EXPECT_EQ(texts("say \"# not a comment\""), (Words { "say", "# not a comment" }));
    EXPECT_EQ(texts("expect springboard /a#b == 1"), (Words { "expect", "springboard", "/a#b", "==", "1" }));
    EXPECT_EQ(texts("boot\r"), (Words { "boot" }));
}

TEST(LineTokenizer, QuotedEscapes)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(texts(R"(row "say \"hi\"")"), (Words { "row", "say \"hi\"" }));
    EXPECT_EQ(texts(R"(row "back\\slash")"), (Words { "row", "back\\slash" }));
    // Other backslashes stay as written.
    EXPECT_EQ(texts(R"(row "C:\path")"), (Words { "row", "C:\\path" }));
    EXPECT_EQ(texts(R"(row "ends with \\")"), (Words { "row", "ends with \\" }));
}

TEST(LineTokenizer, BracketedJsonIsOneWord)
{
    auto result = LineTokenizer::split(R"(prefs DisableTheseApps ["com.a", "com.b c"] # list)");
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.words.size(), 3u);
    EXPECT_EQ(result.words[2].raw, R"(["com.a", "com.b c"])");
    EXPECT_FALSE(result.words[2].quoted);

    auto nested = LineTokenizer::split(R"(prefs Theme {"Name": "a ] }", "List": [1, [2]]})");
    ASSERT_TRUE(nested.ok());
    ASSERT_EQ(nested.words.size(), 3u);
    EXPECT_EQ(nested.words[2].raw, R"({"Name": "a ] }", "List": [1, [2]]})");
}

TEST(LineTokenizer, MalformedLinesNameTheColumn)
{
    struct Case {
        const char* line;
        size_t column;
    };
    for (auto [line, column] : { Case { "alert tap \"Kill", 11 }, Case { "row \"a\"b", 8 }, Case { "row ab\"c\"", 7 },
             Case { "prefs K [1, 2", 9 }, Case { "prefs K [1]x", 12 } }) {
        auto result = LineTokenizer::split(line);
        EXPECT_FALSE(result.ok()) << line;
        EXPECT_EQ(result.errorColumn, column) << line << ": " << result.error.value_or("");
        EXPECT_TRUE(result.words.empty());
    }
}

TEST(LineTokenizer, QuoteRoundTrips)
{
    for (std::string text : { "plain", "two words", "", "say \"hi\"", "back\\slash \\", "#hash", "[bracket", "tab\there" }) {
        std::string line = "x " + LineTokenizer::quote(text);
        auto result = LineTokenizer::split(line);
        ASSERT_TRUE(result.ok()) << line;
        ASSERT_EQ(result.words.size(), 2u) << line;
        EXPECT_EQ(result.words[1].text, text) << line;
    }
    EXPECT_EQ(LineTokenizer::quote("plain"), "plain");
}

TEST(Command, LineRequotesSoHostsSeeTheSameWords)
{
    Command command = Command::parse(R"(folder open "My Folder"   # comment)");
    EXPECT_EQ(command.line(), R"(folder open "My Folder")");
    EXPECT_EQ(Command::parse(command.line()).argument(1), "My Folder");
    EXPECT_EQ(Command::parse("prefs K [1,  2]").line(), "prefs K [1,  2]");
    // Echoed lines keep the quotes they were written with.
    EXPECT_EQ(Command::parse(R"(alert tap "Kill")").line(), R"(alert tap "Kill")");
    // A bare carriage-return word, written last, would read as the line's end and be lost.
    Command carriage = Command::parse("x \r\r");
    ASSERT_EQ(carriage.argumentCount(), 1u);
    Command again = Command::parse(carriage.line());
    ASSERT_EQ(again.argumentCount(), 1u);
    EXPECT_EQ(again.argument(0), "\r");
}

TEST(Command, TypedArgumentsAreStrict)
{
    Command command = Command::parse("x 1.5 -2 +3 1e2 12abc nan inf +-1 0x10");
    EXPECT_DOUBLE_EQ(command.number(0), 1.5);
    EXPECT_EQ(command.integer(1), -2);
    EXPECT_EQ(command.integer(2), 3);
    EXPECT_DOUBLE_EQ(command.number(3), 100);
    EXPECT_THROW(command.number(4), ControlError);
    EXPECT_THROW(command.number(5), ControlError);
    EXPECT_THROW(command.number(6), ControlError);
    EXPECT_THROW(command.integer(7), ControlError);
    EXPECT_THROW(command.integer(8), ControlError);
    EXPECT_THROW(command.integer(0), ControlError);
    EXPECT_THROW(command.argument(9), ControlError);
    EXPECT_THROW(Command::parse("   # nothing"), ControlError);
}
