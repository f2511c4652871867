#include "LineTokenizer.h"

namespace sim::protocol {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

// Scans a bracketed JSON word from `start`; returns the index just past its closing bracket, or
// nullopt when the line ends first.
std::optional<size_t> scanBracketed(std::string_view line, size_t start)
{
    std::vector<char> expected;
    bool inString = false;
    for (size_t i = start; i < line.size(); ++i) {
        char c = line[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            break;
        case '[':
            expected.push_back(']');
            break;
        case '{':
            expected.push_back('}');
            break;
        case ']':
        case '}':
            // A mismatched closer is left for the JSON reader to report with a better message.
            if (!expected.empty())
                expected.pop_back();
            if (expected.empty())
                return i + 1;
            break;
        default:
            break;
        }
    }
    return std::nullopt;
}

}

LineTokenizer::Result LineTokenizer::split(std::string_view line)
{
    Result result;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);

    auto fail = [&](std::string message, size_t index) {
        result.error = std::move(message);
        result.errorColumn = index + 1;
        result.words.clear();
        return result;
    };

    size_t i = 0;
    while (i < line.size()) {
        if (isSpace(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;

        Word word;
        word.column = i + 1;
        size_t start = i;
        if (line[i] == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i];
                if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                    word.text += line[i + 1];
                    i += 2;
                    continue;
                }
                if (c == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                word.text += c;
                ++i;
            }
            if (!closed)
                return fail("unterminated quoted text", start);
            if (i < line.size() && !isSpace(line[i]))
                return fail("text directly after a closing quote", i);
        } else if (line[i] == '[' || line[i] == '{') {
            auto end = scanBracketed(line, i);
            if (!end)
                return fail(std::string("unclosed ") + line[i], start);
            i = *end;
            if (i < line.size() && !isSpace(line[i]))
                return fail("text directly after a closing bracket", i);
            word.text = std::string(line.substr(start, i - start));
        } else {
            while (i < line.size() && !isSpace(line[i])) {
                if (line[i] == '"')
                    return fail("quote inside a word", i);
                ++i;
            }
            word.text = std::string(line.substr(start, i - start));
        }
        word.raw = std::string(line.substr(start, i - start));
        result.words.push_back(std::move(word));
    }
    return result;
}

std::string LineTokenizer::quote(std::string_view text, Quotes quotes)
{
    bool bare = quotes == Quotes::WhenNeeded && !text.empty() && text.front() != '#' && text.front() != '[' && text.front() != '{';
    for (char c : text) {
        if (isSpace(c) || c == '"' || c == '\r')
            bare = false;
    }
    if (bare)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

}
