#pragma once

// An animation of one layer property from one value to another, timed by the main run loop's clock.
// Supported key paths: "backgroundColor" (colour), "opacity" (number), "frame" (rectangle),
// "position" (point), "bounds" (rectangle), "cornerRadius" (number), "borderWidth" (number).
// Unknown key paths are accepted and have no visible effect.
//
// A missing fromValue starts from the layer's presentation value when the animation is added; a
// missing toValue ends at the model value. An animation never changes the model value: when it
// finishes it is removed (removedOnCompletion, the default) and the model shows again, or, with
// removedOnCompletion NO and fill mode forwards, it stays on the layer showing its toValue.

#include <quartzcore/AnimationValue.h>
#include <runtime/Object.h>

#include <string>

namespace quartzcore {

enum class CAFillMode {
    Removed,
    Forwards,
    Backwards,
    Both,
};

class CABasicAnimation : public runtime::Object {
    TORVANE_OBJECT(CABasicAnimation, runtime::Object)
public:
    static runtime::Ref<CABasicAnimation> animationWithKeyPath(std::string keyPath);

    const std::string& keyPath() const { return m_keyPath; }
    const AnimationValue& fromValue() const { return m_fromValue; }
    void setFromValue(AnimationValue value) { m_fromValue = std::move(value); }
    const AnimationValue& toValue() const { return m_toValue; }
    void setToValue(AnimationValue value) { m_toValue = std::move(value); }

    // Seconds; 0 (the default) takes the current transaction's duration when added.
    double duration() const { return m_duration; }
    void setDuration(double seconds) { m_duration = seconds; }
    CAFillMode fillMode() const { return m_fillMode; }
    void setFillMode(CAFillMode mode) { m_fillMode = mode; }
    bool isRemovedOnCompletion() const { return m_removedOnCompletion; }
    void setRemovedOnCompletion(bool removed) { m_removedOnCompletion = removed; }

    // A layer keeps its own copy of an added animation, so changing this object afterwards does not
    // affect animations already running (as in Core Animation).
    runtime::Ref<CABasicAnimation> copy() const;

private:
    explicit CABasicAnimation(std::string keyPath)
        : m_keyPath(std::move(keyPath))
    {
    }

    std::string m_keyPath;
    AnimationValue m_fromValue;
    AnimationValue m_toValue;
    double m_duration { 0 };
    CAFillMode m_fillMode { CAFillMode::Removed };
    bool m_removedOnCompletion { true };
};

}
