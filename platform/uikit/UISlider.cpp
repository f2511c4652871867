#include <uikit/UISlider.h>

#include <graphics/Context.h>
#include <quartzcore/LayerPainting.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UITouch.h>

#include <algorithm>

namespace uikit {

TORVANE_DEFINE_CLASS(UISlider)

runtime::Ref<UISlider> UISlider::create(CGRect frame)
{
    return runtime::adoptRef(*new UISlider(frame));
}

UISlider::UISlider(CGRect frame)
    : UIControl(frame)
{
    setBackgroundColor(UIColor::clearColor());
}

void UISlider::setValue(float value, bool)
{
    float clamped = std::clamp(value, m_minimum, std::max(m_minimum, m_maximum));
    if (clamped == m_value)
        return;
    m_value = clamped;
    setNeedsDisplay();
}

void UISlider::setMinimumValue(float value)
{
    m_minimum = value;
    if (m_maximum < m_minimum)
        m_maximum = m_minimum;
    setValue(m_value);
}

void UISlider::setMaximumValue(float value)
{
    m_maximum = value;
    if (m_minimum > m_maximum)
        m_minimum = m_maximum;
    setValue(m_value);
}

CGRect UISlider::thumbRect() const
{
    CGRect area = bounds();
    CGFloat travel = std::max<CGFloat>(0, area.size.width - thumbDiameter);
    CGFloat fraction = m_maximum > m_minimum ? (m_value - m_minimum) / (m_maximum - m_minimum) : 0;
    return { { area.origin.x + travel * fraction, area.origin.y + (area.size.height - thumbDiameter) / 2 }, { thumbDiameter, thumbDiameter } };
}

float UISlider::valueAtX(CGFloat x) const
{
    CGFloat travel = bounds().size.width - thumbDiameter;
    if (travel <= 0)
        return m_minimum;
    CGFloat fraction = std::clamp<CGFloat>((x - thumbDiameter / 2) / travel, 0, 1);
    return m_minimum + float(fraction) * (m_maximum - m_minimum);
}

void UISlider::followTouch(UITouch& touch, UIEvent* event)
{
    float before = m_value;
    setValue(valueAtX(touch.locationInView(this).x));
    if (m_value != before)
        sendActionsForControlEvents(UIControlEventValueChanged, event);
}

bool UISlider::beginTrackingWithTouch(UITouch& touch, UIEvent* event)
{
    if (!isEnabled())
        return false;
    followTouch(touch, event);
    return true;
}

bool UISlider::continueTrackingWithTouch(UITouch& touch, UIEvent* event)
{
    followTouch(touch, event);
    return true;
}

void UISlider::drawRect(CGRect)
{
    using namespace graphics;
    auto context = UIGraphicsGetCurrentContext();
    CGRect area = bounds();
    CGRect thumb = thumbRect();
    CGFloat trackHeight = 9;
    CGRect track { { area.origin.x + thumbDiameter / 2 - trackHeight / 2, area.origin.y + (area.size.height - trackHeight) / 2 },
        { std::max<CGFloat>(0, area.size.width - thumbDiameter + trackHeight), trackHeight } };

    CGContextSetGrayFillColor(context, 0.85f, 1);
    CGContextSetGrayStrokeColor(context, 0.55f, 1);
    CGContextSetLineWidth(context, 1);
    quartzcore::addRoundedRectPath(context, track, trackHeight / 2);
    CGContextDrawPath(context, kCGPathFillStroke);

    // The filled part runs from the minimum end to the thumb's centre.
    CGRect filled = track;
    filled.size.width = std::max<CGFloat>(trackHeight, thumb.origin.x + thumbDiameter / 2 - track.origin.x);
    CGContextSetRGBFillColor(context, 0.0f, 0.50f, 0.92f, isEnabled() ? 1 : 0.5f);
    quartzcore::addRoundedRectPath(context, filled, trackHeight / 2);
    CGContextFillPath(context);

    CGContextSetGrayFillColor(context, 0.98f, 1);
    CGContextSetGrayStrokeColor(context, 0.5f, 1);
    CGContextAddEllipseInRect(context, CGRectInset(thumb, 0.5f, 0.5f));
    CGContextDrawPath(context, kCGPathFillStroke);
}

}
