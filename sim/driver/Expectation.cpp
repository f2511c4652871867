#include "Expectation.h"

#include <cmath>

namespace sim::driver {

namespace {

struct OpName {
    Expectation::Op op;
    const char* text;
};
constexpr OpName opNames[] = {
    { Expectation::Op::Equal, "==" },
    { Expectation::Op::NotEqual, "!=" },
    { Expectation::Op::Less, "<" },
    { Expectation::Op::LessOrEqual, "<=" },
    { Expectation::Op::Greater, ">" },
    { Expectation::Op::GreaterOrEqual, ">=" },
    { Expectation::Op::About, "~=" },
    { Expectation::Op::Contains, "contains" },
    { Expectation::Op::NotContains, "!contains" },
    { Expectation::Op::Absent, "absent" },
    { Expectation::Op::Length, "length" },
};

std::string show(const Json& value)
{
    std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (text.size() > 400)
        text = text.substr(0, 400) + "...";
    return text;
}

bool isAboutValue(const Json& value)
{
    if (value.is_number())
        return true;
    if (!value.is_array())
        return false;
    for (const auto& element : value) {
        if (!isAboutValue(element))
            return false;
    }
    return true;
}

bool about(const Json& actual, const Json& expected)
{
    if (expected.is_number())
        return actual.is_number() && std::fabs(actual.get<double>() - expected.get<double>()) <= Expectation::tolerance;
    if (!actual.is_array() || actual.size() != expected.size())
        return false;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (!about(actual[i], expected[i]))
            return false;
    }
    return true;
}

size_t utf8Length(const std::string& text)
{
    size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

// nullopt when the two cannot be ordered.
std::optional<int> order(const Json& actual, const Json& expected)
{
    if (actual.is_number_integer() && expected.is_number_integer()) {
        // Exact for every 64-bit value, signed or not, where doubles would round.
        auto wide = [](const Json& value) -> __int128 {
            return value.is_number_unsigned() ? static_cast<__int128>(value.get<uint64_t>()) : static_cast<__int128>(value.get<int64_t>());
        };
        __int128 x = wide(actual), y = wide(expected);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    if (actual.is_number() && expected.is_number()) {
        double a = actual.get<double>();
        double b = expected.get<double>();
        return a < b ? -1 : a > b ? 1 : 0;
    }
    if (actual.is_string() && expected.is_string()) {
        int c = actual.get_ref<const std::string&>().compare(expected.get_ref<const std::string&>());
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    return std::nullopt;
}

std::optional<bool> containsValue(const Json& actual, const Json& expected)
{
    if (actual.is_array()) {
        for (const auto& element : actual) {
            if (element == expected)
                return true;
        }
        return false;
    }
    if (actual.is_string() && expected.is_string())
        return actual.get_ref<const std::string&>().find(expected.get_ref<const std::string&>()) != std::string::npos;
    return std::nullopt;
}

}

std::optional<Expectation::Op> Expectation::parseOp(std::string_view text)
{
    for (const auto& name : opNames) {
        if (text == name.text)
            return name.op;
    }
    return std::nullopt;
}

std::string Expectation::opText(Op op)
{
    for (const auto& name : opNames) {
        if (op == name.op)
            return name.text;
    }
    return "?";
}

std::optional<std::string> Expectation::checkValue(Op op, const Json& value)
{
    switch (op) {
    case Op::Less:
    case Op::LessOrEqual:
    case Op::Greater:
    case Op::GreaterOrEqual:
        if (!value.is_number() && !value.is_string())
            return "'" + opText(op) + "' compares numbers or strings";
        return std::nullopt;
    case Op::About:
        if (!isAboutValue(value))
            return "'~=' compares numbers or arrays of numbers";
        return std::nullopt;
    case Op::Length:
        if (!value.is_number_integer() || (value.is_number_integer() && !value.is_number_unsigned() && value.get<int64_t>() < 0))
            return "'length' takes a whole number from 0";
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

Expectation::Outcome Expectation::evaluate(const Json* actual, Op op, const Json& expected)
{
    std::string wanted = "expected " + opText(op) + (takesValue(op) ? " " + show(expected) : "");
    if (op == Op::Absent) {
        if (!actual)
            return { true, {} };
        return { false, wanted + ", actual " + show(*actual) };
    }
    if (!actual)
        return { false, wanted + ", but there is no value there" };

    auto result = [&](bool held, const std::string& actualText) {
        return Outcome { held, held ? std::string() : wanted + ", actual " + actualText };
    };
    switch (op) {
    case Op::Equal:
        return result(*actual == expected, show(*actual));
    case Op::NotEqual:
        return result(*actual != expected, show(*actual));
    case Op::Less:
    case Op::LessOrEqual:
    case Op::Greater:
    case Op::GreaterOrEqual: {
        auto c = order(*actual, expected);
        if (!c)
            return { false, wanted + ", actual " + show(*actual) + " (cannot be ordered against it)" };
        bool held = op == Op::Less ? *c < 0 : op == Op::LessOrEqual ? *c <= 0 : op == Op::Greater ? *c > 0 : *c >= 0;
        return result(held, show(*actual));
    }
    case Op::About:
        return result(about(*actual, expected), show(*actual));
    case Op::Contains:
    case Op::NotContains: {
        auto found = containsValue(*actual, expected);
        if (!found)
            return { false, wanted + ", actual " + show(*actual) + " (neither an array nor a string)" };
        return result(op == Op::Contains ? *found : !*found, show(*actual));
    }
    case Op::Length: {
        std::optional<size_t> length;
        if (actual->is_array() || actual->is_object())
            length = actual->size();
        else if (actual->is_string())
            length = utf8Length(actual->get_ref<const std::string&>());
        if (!length)
            return { false, wanted + ", actual " + show(*actual) + " (has no length)" };
        return result(expected.is_number_integer() && Json(*length) == expected, std::to_string(*length) + " in " + show(*actual));
    }
    case Op::Absent:
        break;
    }
    return { false, "unknown operator" };
}

}
