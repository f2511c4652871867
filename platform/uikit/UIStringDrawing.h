#pragma once

// NSString's UIKit drawing additions as free functions. Drawing goes to the current context
// (UIGraphicsGetCurrentContext) in its fill colour (set it with UIColor::set); without a current
// context nothing is drawn but the size is still returned. Sizes are in points, rounded up to
// whole points like UIKit's.

#include <uikit/UIGeometry.h>
#include <uikit/UITextTypes.h>

#include <string_view>

namespace uikit {

class UIFont;

// One line at `point` (its top-left corner); returns its size.
CGSize drawAtPoint(std::string_view text, CGPoint point, const UIFont& font);
// One line at most `width` wide, cut by the line-break mode (tail truncation ends in "…").
CGSize drawAtPointForWidth(std::string_view text, CGPoint point, CGFloat width, const UIFont& font,
    UILineBreakMode lineBreakMode);
// Wrapped into the rectangle's width and cut off at its height; the last line that fits is
// truncated according to the mode. Returns the size drawn.
CGSize drawInRect(std::string_view text, CGRect rect, const UIFont& font,
    UILineBreakMode lineBreakMode = UILineBreakModeWordWrap, UITextAlignment alignment = UITextAlignmentLeft);

// The size of the text on one line.
CGSize sizeWithFont(std::string_view text, const UIFont& font);
// The size of one line cut to `width`.
CGSize sizeWithFontForWidth(std::string_view text, const UIFont& font, CGFloat width, UILineBreakMode lineBreakMode);
// The size of the text wrapped to size.width, at most size.height high.
CGSize sizeWithFontConstrainedToSize(std::string_view text, const UIFont& font, CGSize size,
    UILineBreakMode lineBreakMode = UILineBreakModeWordWrap);

}
