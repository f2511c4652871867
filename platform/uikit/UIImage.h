#pragma once

// An immutable bitmap image with a scale: its size in points is its pixel size divided by the scale.
//
// Scale: an image read from a file whose name ends in "@2x" (before the extension) has scale 2.
// imageWithContentsOfFile on the scale-2 screen first looks for the "@2x" sibling of the path
// it is given ("Glow.png" → "Glow@2x.png") and uses it with scale 2 when it exists, as UIKit does on
// retina devices; otherwise it reads the path itself at scale 1. Images made from data have the
// scale they are given (1 by default). Drawing always maps the pixels onto the image's point size.

#include <graphics/Image.h>
#include <runtime/Object.h>
#include <uikit/NSCoding.h>
#include <uikit/Forward.h>
#include <uikit/UIGeometry.h>

#include <string>
#include <string_view>

namespace uikit {

enum class CGBlendMode {
    Normal,
    Multiply,
    Screen,
    Overlay,
    Darken,
    Lighten,
    Clear,
    Copy,
    SourceIn,
    SourceOut,
    SourceAtop,
    DestinationOver,
    DestinationIn,
    DestinationOut,
    DestinationAtop,
    XOR,
    PlusLighter,
};

class UIImage : public runtime::Object, public NSCoding {
    TORVANE_OBJECT(UIImage, runtime::Object)
public:
    // A device path, resolved through foundation::DeviceRoot. Nil when the file is missing or is
    // not a readable PNG. A file is decoded once and the image shared by every caller while the
    // file keeps its modification time and size; a changed file is decoded again.
    static runtime::RefPtr<UIImage> imageWithContentsOfFile(std::string_view devicePath);
    // PNG bytes; nil for anything that does not decode.
    static runtime::RefPtr<UIImage> imageWithData(const foundation::NSData& data, CGFloat scale = 1);
    // Nil for the null image; a scale <= 0 counts as 1.
    static runtime::RefPtr<UIImage> imageWithCGImage(graphics::CGImage image, CGFloat scale = 1);

    // Size in points.
    CGSize size() const;
    CGFloat scale() const { return m_scale; }
    const graphics::CGImage& CGImage() const { return m_image; }
    // The device path imageWithContentsOfFile was given for this image (the file named, even when
    // its "@2x" sibling is what was decoded); empty for images not read from a file.
    const std::string& devicePath() const { return m_devicePath; }

    // Draw into the current context (UIGraphicsGetCurrentContext); nothing happens without one.
    void drawInRect(CGRect rect) const;
    void drawAtPoint(CGPoint point) const;
    void drawInRectBlendModeAlpha(CGRect rect, CGBlendMode blendMode, CGFloat alpha) const;
    void drawAtPointBlendModeAlpha(CGPoint point, CGBlendMode blendMode, CGFloat alpha) const;

    // "<UIImage: 0x...> size {w, h} scale 2" style text.
    std::string description() const override;


    void encodeWithCoder(NSCoder& coder) const override;

private:
    static runtime::RefPtr<UIImage> loadFile(std::string_view devicePath, CGFloat scale, std::string_view askedPath);

    UIImage(graphics::CGImage image, CGFloat scale)
        : m_image(std::move(image))
        , m_scale(scale)
    {
    }

    graphics::CGImage m_image;
    CGFloat m_scale;
    std::string m_devicePath;
};

// The image's pixels as PNG data (the scale is not recorded, as on the device); nil for nil.
runtime::RefPtr<foundation::NSData> UIImagePNGRepresentation(const UIImage* image);

}
