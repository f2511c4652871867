#pragma once

// The CoreGraphics geometry types as UIKit code spells them, plus UIKit's own small geometry types.

#include <graphics/Geometry.h>

namespace uikit {

using graphics::CGFloat;
using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;
using graphics::CGPointMake;
using graphics::CGRectMake;
using graphics::CGSizeMake;
using graphics::CGPointZero;
using graphics::CGRectZero;
using graphics::CGSizeZero;

struct UIEdgeInsets {
    CGFloat top { 0 };
    CGFloat left { 0 };
    CGFloat bottom { 0 };
    CGFloat right { 0 };
    friend bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};

constexpr UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right) { return { top, left, bottom, right }; }

inline CGRect UIEdgeInsetsInsetRect(CGRect rect, UIEdgeInsets insets)
{
    return { { rect.origin.x + insets.left, rect.origin.y + insets.top },
        { rect.size.width - insets.left - insets.right, rect.size.height - insets.top - insets.bottom } };
}

}
