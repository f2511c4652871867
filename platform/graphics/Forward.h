#pragma once

// Forward declarations of the graphics module's types.

namespace graphics {

using CGFloat = float;
struct CGPoint;
struct CGSize;
struct CGRect;
struct ColorRGBA;
struct PixelRGBA;
class CGColorSpace;
class CGColor;
class CGGradient;
class CGImage;
class CGContext;
struct Font;
struct FontMetrics;
class TextLayout;
enum class LineBreakMode : int;
enum class TextAlignment : int;

} // namespace graphics
