#pragma once

// Points, sizes and rectangles as CoreGraphics has them on 32-bit devices (CGFloat is float).
//
// Coordinates follow UIKit: the origin is the top-left corner and y grows downwards. A rectangle
// with a negative width or height is read through its standardised form (origin at the minimum
// corner), as the CGRectGet* functions do.

#include <limits>

namespace graphics {

using CGFloat = float;

struct CGPoint {
    CGFloat x { 0 };
    CGFloat y { 0 };
    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
    CGFloat width { 0 };
    CGFloat height { 0 };
    friend bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    // Exact member comparison; CGRectEqualToRect compares standardised rectangles.
    friend bool operator==(const CGRect&, const CGRect&) = default;
};

inline constexpr CGPoint CGPointZero {};
inline constexpr CGSize CGSizeZero {};
inline constexpr CGRect CGRectZero {};
// The "no rectangle" result, e.g. of an intersection of disjoint rectangles.
inline constexpr CGRect CGRectNull { { std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity() }, { 0, 0 } };

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) { return { x, y }; }
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) { return { width, height }; }
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) { return { { x, y }, { width, height } }; }

bool CGPointEqualToPoint(CGPoint a, CGPoint b);
bool CGSizeEqualToSize(CGSize a, CGSize b);

CGRect CGRectStandardize(CGRect rect);
CGFloat CGRectGetMinX(CGRect rect);
CGFloat CGRectGetMidX(CGRect rect);
CGFloat CGRectGetMaxX(CGRect rect);
CGFloat CGRectGetMinY(CGRect rect);
CGFloat CGRectGetMidY(CGRect rect);
CGFloat CGRectGetMaxY(CGRect rect);
CGFloat CGRectGetWidth(CGRect rect);
CGFloat CGRectGetHeight(CGRect rect);

bool CGRectIsNull(CGRect rect);
// True for the null rectangle and for rectangles without area (zero width or height).
bool CGRectIsEmpty(CGRect rect);
// Compares the standardised rectangles, so (0, 0, -10, -10) equals (-10, -10, 10, 10).
bool CGRectEqualToRect(CGRect a, CGRect b);
// Half-open: the minimum edges are inside, the maximum edges are not.
bool CGRectContainsPoint(CGRect rect, CGPoint point);
bool CGRectContainsRect(CGRect outer, CGRect inner);
bool CGRectIntersectsRect(CGRect a, CGRect b);

// Smallest rectangle with integer edges that contains the rectangle: the origin is floored and the
// maximum edges are ceiled, so (0.5, 0.5, 1, 1) becomes (0, 0, 2, 2). The null rectangle stays null.
CGRect CGRectIntegral(CGRect rect);
// Moves each edge inwards by dx / dy (outwards for negative values). The null rectangle results
// when the width or height would become negative.
CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy);
CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy);
// CGRectNull when the rectangles do not overlap (touching edges give a zero-sized rectangle).
CGRect CGRectIntersection(CGRect a, CGRect b);
// A null operand is ignored; the union of two null rectangles is null.
CGRect CGRectUnion(CGRect a, CGRect b);

} // namespace graphics
