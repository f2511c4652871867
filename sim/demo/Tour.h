#pragma once

#include <string_view>

namespace sim::demo {

// The built-in tour `torvane-sim demo` plays: an ordinary scenario. Screenshots are numbered in
// the order they are taken ("01-home.png", ...) so the folder reads as a story. Extend it as
// features land: add lines, keep the numbering.
std::string_view tourScript();

}
