#pragma once

// The from/to values of an animation. Core Animation takes these as objects (a colour, a boxed
// rectangle); here they are a closed set of the types our animatable properties have.

#include <graphics/Color.h>
#include <graphics/Geometry.h>

#include <variant>

namespace quartzcore {

class AnimationValue {
public:
    AnimationValue() = default;
    AnimationValue(graphics::CGFloat number)
        : m_value(number)
    {
    }
    AnimationValue(graphics::CGPoint point)
        : m_value(point)
    {
    }
    AnimationValue(graphics::CGRect rect)
        : m_value(rect)
    {
    }
    AnimationValue(graphics::CGColor color)
        : m_value(std::move(color))
    {
    }

    bool isNull() const { return std::holds_alternative<std::monostate>(m_value); }
    const graphics::CGFloat* number() const { return std::get_if<graphics::CGFloat>(&m_value); }
    const graphics::CGPoint* point() const { return std::get_if<graphics::CGPoint>(&m_value); }
    const graphics::CGRect* rect() const { return std::get_if<graphics::CGRect>(&m_value); }
    const graphics::CGColor* color() const { return std::get_if<graphics::CGColor>(&m_value); }

    // Linear interpolation at progress 0...1. Values of different kinds (or a null end) do not
    // interpolate: the result is `to` from progress 1 on and `from` before. Colours interpolate in
    // device RGB, component by component.
    static AnimationValue interpolate(const AnimationValue& from, const AnimationValue& to, double progress);

private:
    std::variant<std::monostate, graphics::CGFloat, graphics::CGPoint, graphics::CGRect, graphics::CGColor> m_value;
};

}
