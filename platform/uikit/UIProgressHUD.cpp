#include <uikit/UIProgressHUD.h>

#include <foundation/RunLoop.h>
#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(UIProgressHUD)

namespace {
constexpr int kSpokes = 12;
// One turn of the spinner per second.
constexpr double kSpokesPerSecond = 12;
}

runtime::Ref<UIProgressHUD> UIProgressHUD::create(CGRect frame)
{
    return runtime::adoptRef(*new UIProgressHUD(frame));
}

UIProgressHUD::UIProgressHUD(CGRect frame)
    : UIView(frame)
{
    setBackgroundColor(UIColor::clearColor());
    setOpaque(false);
}

void UIProgressHUD::setText(std::string text)
{
    m_text = std::move(text);
    setNeedsDisplay();
}

void UIProgressHUD::showInView(UIView& view)
{
    view.addSubview(*this);
    m_showing = true;
    m_done = false;
    setHidden(false);
    setNeedsDisplay();
}

void UIProgressHUD::done()
{
    m_done = true;
    setNeedsDisplay();
}

void UIProgressHUD::hide()
{
    m_showing = false;
    removeFromSuperview();
}

void UIProgressHUD::drawRect(CGRect)
{
    auto c = UIGraphicsGetCurrentContext();
    CGRect b = bounds();

    CGContextSetRGBFillColor(c, 0, 0, 0, 0.78f);
    addRoundedRectPath(c, CGRectInset(b, 0.5f, 0.5f), 10);
    CGContextFillPath(c);

    CGFloat markSize = std::min<CGFloat>(37, b.size.width * 0.4f);
    CGPoint centre { CGRectGetMidX(b), b.origin.y + std::round(b.size.height * 0.27f) };
    CGContextSetShouldAntialias(c, true);
    if (m_done) {
        CGContextSetRGBStrokeColor(c, 1, 1, 1, 1);
        CGContextSetLineWidth(c, 4);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, centre.x - markSize * 0.42f, centre.y);
        CGContextAddLineToPoint(c, centre.x - markSize * 0.12f, centre.y + markSize * 0.3f);
        CGContextAddLineToPoint(c, centre.x + markSize * 0.45f, centre.y - markSize * 0.35f);
        CGContextStrokePath(c);
    } else {
        // Twelve spokes, the leading one brightest, fading behind it.
        double seconds = foundation::RunLoop::main().now().secondsSinceOrigin().value();
        int lead = static_cast<int>(std::fmod(seconds * kSpokesPerSecond, kSpokes));
        CGContextSetLineWidth(c, markSize * 0.09f);
        for (int spoke = 0; spoke < kSpokes; ++spoke) {
            double angle = spoke * 2 * std::numbers::pi / kSpokes - std::numbers::pi / 2;
            int age = (lead - spoke + kSpokes) % kSpokes;
            CGContextSetRGBStrokeColor(c, 1, 1, 1, 1.0f - 0.07f * age);
            CGFloat inner = markSize * 0.24f, outer = markSize * 0.5f;
            CGContextBeginPath(c);
            CGContextMoveToPoint(c, centre.x + inner * std::cos(angle), centre.y + inner * std::sin(angle));
            CGContextAddLineToPoint(c, centre.x + outer * std::cos(angle), centre.y + outer * std::sin(angle));
            CGContextStrokePath(c);
        }
    }

    if (m_text.empty())
        return;
    auto font = UIFont::boldSystemFontOfSize(17);
    CGRect text { { b.origin.x + 10, centre.y + markSize / 2 + 14 }, { b.size.width - 20, b.size.height * 0.36f } };
    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    drawInRect(m_text, text, font, UILineBreakModeWordWrap, UITextAlignmentCenter);
}

}
