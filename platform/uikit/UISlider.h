#pragma once

// A horizontal slider: a track filled up to the thumb, and a round thumb the user drags. The value
// stays within [minimumValue, maximumValue]; a touch that starts on the track moves the thumb
// there and then follows the finger. Each change the user makes sends UIControlEventValueChanged.

#include <uikit/UIControl.h>

namespace uikit {

class UISlider : public UIControl {
    TORVANE_OBJECT(UISlider, UIControl)
public:
    static runtime::Ref<UISlider> create(CGRect frame = CGRectZero);
    static constexpr CGFloat thumbDiameter = 23;

    float value() const { return m_value; }
    // Clamped to the range; sends no action (only the user's changes do).
    void setValue(float value, bool animated = false);
    float minimumValue() const { return m_minimum; }
    void setMinimumValue(float value);
    float maximumValue() const { return m_maximum; }
    void setMaximumValue(float value);

    // The thumb's frame in the slider's coordinates.
    CGRect thumbRect() const;

    bool beginTrackingWithTouch(UITouch& touch, UIEvent* event) override;
    bool continueTrackingWithTouch(UITouch& touch, UIEvent* event) override;
    void drawRect(CGRect rect) override;

protected:
    explicit UISlider(CGRect frame);

private:
    void followTouch(UITouch& touch, UIEvent* event);
    float valueAtX(CGFloat x) const;

    float m_value { 0 };
    float m_minimum { 0 };
    float m_maximum { 1 };
};

}
