#pragma once

// The two named-colour databases of the colour toolkit. Each is one text: a leading comma, then
// "name#rrggbb" entries separated by commas. Names may hold spaces and apostrophes but never '#'
// or ','. The nearest-name search walks the text itself, so the order of entries decides ties.

#include <string_view>

namespace tweak::toolkit {

// The 147 CSS colour keywords, lower case, alphabetical ("gray" and "grey" forms both present).
std::string_view colorNameDB();
// 134 crayon colours, capitalised names in alphabetical order, upper-case hex digits.
std::string_view crayolaNameDB();

}
