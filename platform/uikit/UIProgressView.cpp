#include <uikit/UIProgressView.h>

#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>

#include <algorithm>
#include <cmath>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(UIProgressView)

runtime::Ref<UIProgressView> UIProgressView::create(UIProgressViewStyle style)
{
    return runtime::adoptRef(*new UIProgressView({ {}, { 150, barHeight } }, style));
}

runtime::Ref<UIProgressView> UIProgressView::create(CGRect frame)
{
    return runtime::adoptRef(*new UIProgressView(frame, UIProgressViewStyleDefault));
}

UIProgressView::UIProgressView(CGRect frame, UIProgressViewStyle style)
    : UIView({ frame.origin, { frame.size.width, barHeight } })
    , m_style(style == UIProgressViewStyleBar ? UIProgressViewStyleBar : UIProgressViewStyleDefault)
{
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);
}

void UIProgressView::setProgressViewStyle(UIProgressViewStyle style)
{
    m_style = style == UIProgressViewStyleBar ? UIProgressViewStyleBar : UIProgressViewStyleDefault;
    setNeedsDisplay();
}

void UIProgressView::setProgress(float progress, bool)
{
    m_progress = std::isnan(progress) ? 0 : std::clamp(progress, 0.0f, 1.0f);
    setNeedsDisplay();
}

void UIProgressView::setFrame(CGRect frame)
{
    UIView::setFrame({ frame.origin, { frame.size.width, barHeight } });
}

CGSize UIProgressView::sizeThatFits(CGSize size) const
{
    return { size.width > 0 ? size.width : 150, barHeight };
}

void UIProgressView::drawRect(CGRect)
{
    auto c = UIGraphicsGetCurrentContext();
    CGRect track = CGRectInset(bounds(), 0.5f, 0.5f);
    const CGFloat radius = track.size.height / 2;

    // Track: sunken, with a faint light edge under it.
    CGContextSaveGState(c);
    addRoundedRectPath(c, track, radius);
    CGContextClip(c);
    if (m_style == UIProgressViewStyleDefault)
        fillVerticalGradient(c, track, { 0.62f, 0.64f, 0.68f, 1 }, { 0.90f, 0.91f, 0.93f, 1 });
    else
        fillVerticalGradient(c, track, { 0.20f, 0.22f, 0.26f, 1 }, { 0.38f, 0.40f, 0.45f, 1 });
    CGContextRestoreGState(c);
    CGContextSetLineWidth(c, 1);
    CGContextSetRGBStrokeColor(c, 0, 0, 0, 0.35f);
    addRoundedRectPath(c, track, radius);
    CGContextStrokePath(c);

    if (m_progress <= 0)
        return;
    // The fill never gets narrower than its own rounded ends.
    CGFloat width = std::max(track.size.height, track.size.width * m_progress);
    CGRect fill { track.origin, { width, track.size.height } };
    CGContextSaveGState(c);
    addRoundedRectPath(c, fill, radius);
    CGContextClip(c);
    if (m_style == UIProgressViewStyleDefault)
        fillVerticalGradient(c, fill, { 0.45f, 0.68f, 0.97f, 1 }, { 0.11f, 0.36f, 0.80f, 1 });
    else
        fillVerticalGradient(c, fill, { 0.98f, 0.98f, 0.99f, 1 }, { 0.74f, 0.76f, 0.80f, 1 });
    CGContextRestoreGState(c);
    CGContextSetRGBStrokeColor(c, 0.05f, 0.20f, 0.50f, m_style == UIProgressViewStyleDefault ? 0.6f : 0.3f);
    addRoundedRectPath(c, fill, radius);
    CGContextStrokePath(c);
}

}
