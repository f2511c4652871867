#include <uikit/UISwitch.h>

#include <graphics/Context.h>
#include <graphics/TextLayout.h>
#include <quartzcore/LayerPainting.h>
#include <uikit/NSCoding.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UISwitch)
TORVANE_ARCHIVABLE_CLASS(UISwitch, UISwitch::create())

runtime::Ref<UISwitch> UISwitch::create(CGRect frame)
{
    return runtime::adoptRef(*new UISwitch(frame));
}

UISwitch::UISwitch(CGRect frame)
    : UIControl({ frame.origin, switchSize })
{
    setBackgroundColor(UIColor::clearColor());
}

void UISwitch::setFrame(CGRect frame)
{
    UIControl::setFrame({ frame.origin, switchSize });
}

void UISwitch::setOn(bool on, bool)
{
    if (m_on == on)
        return;
    m_on = on;
    setNeedsDisplay();
}

void UISwitch::setOnTintColor(runtime::RefPtr<UIColor> color)
{
    m_onTintColor = std::move(color);
    setNeedsDisplay();
}

void UISwitch::endTrackingWithTouch(UITouch* touch, UIEvent* event)
{
    UIControl::endTrackingWithTouch(touch, event);
    if (!isTouchInside())
        return;
    m_on = !m_on;
    setNeedsDisplay();
    sendActionsForControlEvents(UIControlEventValueChanged, event);
}

void UISwitch::drawRect(CGRect)
{
    using namespace graphics;
    auto context = UIGraphicsGetCurrentContext();
    CGRect track = CGRectInset(bounds(), 0.5f, 0.5f);
    CGFloat radius = track.size.height / 2;

    if (m_on) {
        if (m_onTintColor)
            CGContextSetFillColorWithColor(context, m_onTintColor->CGColor());
        else
            CGContextSetRGBFillColor(context, 0.0f, 0.50f, 0.92f, 1);
    } else {
        CGContextSetGrayFillColor(context, 0.93f, 1);
    }
    CGContextSetGrayStrokeColor(context, 0.62f, 1);
    CGContextSetLineWidth(context, 1);
    quartzcore::addRoundedRectPath(context, track, radius);
    CGContextDrawPath(context, kCGPathFillStroke);

    // The label on the side the knob has left.
    const char* text = m_on ? "ON" : "OFF";
    auto layout = TextLayout::singleLine(text, Font::boldSystemFont(15));
    CGSize size = layout.size();
    CGFloat labelCentre = m_on ? track.origin.x + (track.size.width - track.size.height) / 2 : track.origin.x + track.size.height + (track.size.width - track.size.height) / 2;
    if (m_on)
        CGContextSetGrayFillColor(context, 1, 1);
    else
        CGContextSetGrayFillColor(context, 0.45f, 1);
    layout.draw(context, { labelCentre - size.width / 2, track.origin.y + (track.size.height - size.height) / 2 });

    CGRect knob { { m_on ? CGRectGetMaxX(track) - track.size.height : track.origin.x, track.origin.y }, { track.size.height, track.size.height } };
    CGContextSetGrayFillColor(context, 0.98f, 1);
    CGContextSetGrayStrokeColor(context, 0.55f, 1);
    CGContextAddEllipseInRect(context, knob);
    CGContextDrawPath(context, kCGPathFillStroke);
}

void UISwitch::encodeWithCoder(NSCoder& coder) const
{
    UIControl::encodeWithCoder(coder);
    coder.encodeBool(m_on, "UISwitchOn");
    coder.encodeObject(m_onTintColor.get(), "UIOnTintColor");
}

void UISwitch::initWithCoder(NSCoder& coder)
{
    UIControl::initWithCoder(coder);
    m_on = coder.decodeBool("UISwitchOn");
    m_onTintColor = coder.decodeObjectOfClass<UIColor>("UIOnTintColor");
}

}
