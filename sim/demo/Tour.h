#pragma once

#include <map>
#include <string>
#include <string_view>

namespace sim::demo {

// The built-in tour `torvane-sim demo` plays: an ordinary scenario. Screenshots are numbered in
// the order they are taken ("01-home.png", ...) so the folder reads as a story. Extend it as
// features land: add lines, keep the numbering.
std::string_view tourScript();

// One line for each of the tour's screenshots, by file name: what the user did and what they see.
// The tour's index.html shows it under the picture.
std::map<std::string, std::string> tourCaptions();

}
