#pragma once

// An on/off switch (iOS 6 look: a 79 x 27 pill, blue "ON" side, grey "OFF" side, white knob). A tap
// (touch up inside) flips it and sends value changed (4096); setOn does not send anything.

#include <uikit/UIControl.h>

namespace uikit {

class UISwitch : public UIControl {
    TORVANE_OBJECT(UISwitch, UIControl)
public:
    // The size is always the switch's own; only the origin of `frame` is used.
    static runtime::Ref<UISwitch> create(CGRect frame = CGRectZero);
    static constexpr CGSize switchSize { 79, 27 };

    bool isOn() const { return m_on; }
    void setOn(bool on, bool animated = false);
    UIColor* onTintColor() const { return m_onTintColor.get(); }
    void setOnTintColor(runtime::RefPtr<UIColor> color);

    void setFrame(CGRect frame) override;
    CGSize sizeThatFits(CGSize) const override { return switchSize; }
    void endTrackingWithTouch(UITouch* touch, UIEvent* event) override;
    void drawRect(CGRect rect) override;

    void encodeWithCoder(NSCoder& coder) const override;
    void initWithCoder(NSCoder& coder) override;

protected:
    explicit UISwitch(CGRect frame);

private:
    bool m_on { false };
    runtime::RefPtr<UIColor> m_onTintColor;
};

}
