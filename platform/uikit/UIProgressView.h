#pragma once

// A thin bar that fills from the left with the progress of a task, 0 to 1.
//
// As in UIKit the bar has a fixed height: setFrame keeps the given origin and width and makes the
// height 9 points (a progress view laid out in a taller slot draws at the top of it). Progress
// outside 0...1 is clamped and a value that is not a number counts as 0.

#include <uikit/UIView.h>

namespace uikit {

enum UIProgressViewStyle : int {
    UIProgressViewStyleDefault = 0, // grey track, blue fill: for content areas
    UIProgressViewStyleBar = 1, // darker track, light fill: for toolbars
};

class UIProgressView : public UIView {
    TORVANE_OBJECT(UIProgressView, UIView)
public:
    static constexpr CGFloat barHeight = 9;

    // initWithProgressViewStyle: (a 150-point bar at the origin)
    static runtime::Ref<UIProgressView> create(UIProgressViewStyle style = UIProgressViewStyleDefault);
    // initWithFrame:
    static runtime::Ref<UIProgressView> create(CGRect frame);

    UIProgressViewStyle progressViewStyle() const { return m_style; }
    void setProgressViewStyle(UIProgressViewStyle style);
    float progress() const { return m_progress; }
    void setProgress(float progress, bool animated = false);

    void setFrame(CGRect frame) override;
    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;

protected:
    UIProgressView(CGRect frame, UIProgressViewStyle style);

private:
    UIProgressViewStyle m_style;
    float m_progress { 0 };
};

}
