#pragma once

// The screen's view tree as both hosts report it (`dump hierarchy`), so a scenario author can find
// what to touch and where.

#include <sim/protocol/Json.h>

#include <functional>
#include <optional>
#include <string>

namespace uikit {
class UIView;
}

namespace hosts {

using sim::protocol::Json;

// What a host knows of its own views that UIKit does not: the accessibility label of a view
// class of its own (an icon's name), or nullopt to leave the view to the common rules.
using AccessibilityLabeller = std::function<std::optional<std::string>(const uikit::UIView&)>;

// { "windows": [ node... ] } for every visible window, back to front, where a node is
//   { "class", "frame": [x, y, w, h], "tag", "alpha", "hidden", "text", "label", "value",
//     "subviews": [ node... ] }
// A window's frame is in screen points, every other view's in its window's coordinates. "text" is
// a label's text or a button's current title; "label" the accessibility label (a table cell's,
// a label's text, a button's title, or what `labeller` says); "value" a switch's true/false, a
// slider's value or a progress bar's progress; each null where it has none.
Json viewHierarchyJson(const AccessibilityLabeller& labeller = {});
// A view's accessibility label as a node gives it.
std::optional<std::string> accessibilityLabelOf(const uikit::UIView&, const AccessibilityLabeller& labeller = {});
// One view and its subviews, as above.
Json viewNodeJson(const uikit::UIView&, const AccessibilityLabeller& labeller = {});

}
