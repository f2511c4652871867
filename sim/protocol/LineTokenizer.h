#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim::protocol {

// One word of a request or scenario line. `text` is what the word means ("Utilities" for
// "\"Utilities\""), `raw` is how it was written, so JSON arguments can be read from the raw text.
struct Word {
    std::string text;
    std::string raw;
    bool quoted { false };
    size_t column { 0 }; // 1-based, for messages
};

// Splits a line into words. The same rules hold for scenario files, the shell and the control
// channel, so a scenario line can be forwarded to a host as it stands:
//   - words are separated by spaces or tabs; a trailing carriage return is ignored;
//   - "double quotes" hold text with spaces; inside them \" is a quote and \\ a backslash
//     (any other backslash stays as written); a quoted word must end at a space or the line's end;
//   - a word that starts with [ or { runs to its matching bracket, spaces included, so JSON
//     arrays and objects are one word (strings inside them are skipped over, escapes and all);
//   - # at the start of a word begins a comment that runs to the end of the line; inside a word
//     or inside quotes it is an ordinary character;
//   - a quote inside an unquoted word is an error (it almost always is a typing mistake).
class LineTokenizer {
public:
    struct Result {
        std::vector<Word> words;
        std::optional<std::string> error; // set when the line is malformed
        size_t errorColumn { 0 };
        bool ok() const { return !error.has_value(); }
    };

    static Result split(std::string_view line);

    enum class Quotes { WhenNeeded, Always };
    // Writes `text` as one word that splits back to the same text: bare when it can be (unless
    // quotes are asked for), otherwise in quotes with \" and \\ escapes.
    static std::string quote(std::string_view text, Quotes = Quotes::WhenNeeded);
};

}
