#pragma once

// A colour. Its whole data is a CoreGraphics colour (colour space + components), so the colour
// toolkit's free functions can read and make colours through CGColor alone.
//
// Components given outside 0...1 are clamped when the colour is made (as UIKit does for
// colorWithHue:saturation:brightness:alpha:, and harmlessly for the others).

#include <graphics/Color.h>
#include <runtime/Object.h>
#include <uikit/NSCoding.h>
#include <uikit/UIGeometry.h>

#include <string>

namespace uikit {

class UIColor : public runtime::Object, public NSCoding {
    TORVANE_OBJECT(UIColor, runtime::Object)
public:
    static runtime::Ref<UIColor> colorWithCGColor(graphics::CGColor color);
    static runtime::Ref<UIColor> colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static runtime::Ref<UIColor> colorWithWhite(CGFloat white, CGFloat alpha);
    // Hue, saturation and brightness 0...1 (hue 1 is red again); stored as an RGB colour.
    static runtime::Ref<UIColor> colorWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha);

    // Named colours: grey ones are monochrome (white component), the others RGB, as in UIKit.
    static runtime::Ref<UIColor> blackColor();
    static runtime::Ref<UIColor> darkGrayColor();
    static runtime::Ref<UIColor> lightGrayColor();
    static runtime::Ref<UIColor> whiteColor();
    static runtime::Ref<UIColor> grayColor();
    static runtime::Ref<UIColor> redColor();
    static runtime::Ref<UIColor> greenColor();
    static runtime::Ref<UIColor> blueColor();
    static runtime::Ref<UIColor> yellowColor();
    static runtime::Ref<UIColor> orangeColor();
    static runtime::Ref<UIColor> clearColor();

    const graphics::CGColor& CGColor() const { return m_color; }
    CGFloat alpha() const { return m_color.alpha(); }
    runtime::Ref<UIColor> colorWithAlphaComponent(CGFloat alpha) const;

    // RGB (monochrome colours convert); false for colours of other spaces, like UIKit's getter.
    bool getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;
    bool getWhite(CGFloat* white, CGFloat* alpha) const;

    // Make this the fill and stroke colour (set), or only one of them, of the current context
    // (UIGraphicsGetCurrentContext); nothing happens without a current context.
    void set() const;
    void setFill() const;
    void setStroke() const;

    // "UIDeviceRGBColorSpace 1 0 0 1" / "UIDeviceWhiteColorSpace 0.5 1", like UIKit's description.
    std::string description() const override;
    // Same colour space and components.
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override;


    void encodeWithCoder(NSCoder& coder) const override;
private:
    explicit UIColor(graphics::CGColor color)
        : m_color(std::move(color))
    {
    }

    graphics::CGColor m_color;
};

}
