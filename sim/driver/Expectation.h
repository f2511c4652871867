#pragma once

#include "JsonPointer.h"

#include <optional>
#include <string>
#include <string_view>

namespace sim::driver {

// One `expect` comparison: the value at a pointer in a fresh dump against a JSON value.
//   ==  !=         JSON equality (numbers by value: 1 equals 1.0)
//   <  <=  >  >=   both numbers, or both strings (byte order)
//   ~=             numbers within 0.01; arrays (frames) element by element, same length
//   contains       an array holds an element equal to the value, or a string holds the text
//   !contains      the opposite of contains (the value must exist)
//   absent         no value at the pointer (a JSON null is a value); takes no VALUE
//   length         an array's element count, a string's character count or an object's member
//                  count equals VALUE
// Every operator but `absent` fails when the pointer names nothing.
class Expectation {
public:
    enum class Op { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, About, Contains, NotContains, Absent, Length };

    static std::optional<Op> parseOp(std::string_view text);
    static std::string opText(Op);
    static bool takesValue(Op op) { return op != Op::Absent; }
    // Why `value` cannot be used with `op` (checked when the scenario is read), or nullopt.
    static std::optional<std::string> checkValue(Op op, const Json& value);

    struct Outcome {
        bool held { false };
        // On failure: what was expected and what was found, e.g. `expected == 3, actual 2`.
        std::string message;
    };
    // `actual` is the value at the pointer, or nullptr when there is none.
    static Outcome evaluate(const Json* actual, Op, const Json& expected);

    // How close two numbers must be for ~=. The tiny extra keeps 0.1 + 0.01 from failing on
    // binary rounding.
    static constexpr double tolerance = 0.01 + 1e-9;
};

}
