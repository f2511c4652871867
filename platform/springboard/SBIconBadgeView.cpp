#include <springboard/SBIconBadgeView.h>

#include <graphics/Context.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <algorithm>

namespace springboard {

TORVANE_DEFINE_CLASS(SBIconBadgeView)
TORVANE_ARCHIVABLE_CLASS(SBIconBadgeView, SBIconBadgeView::create())

namespace {

runtime::Ref<uikit::UIFont> badgeFont() { return uikit::UIFont::boldSystemFontOfSize(14); }

void addCapsule(const graphics::CGContext& context, graphics::CGRect rect)
{
    graphics::CGFloat radius = rect.size.height / 2;
    graphics::CGFloat left = rect.origin.x;
    graphics::CGFloat right = rect.origin.x + rect.size.width;
    graphics::CGFloat top = rect.origin.y;
    graphics::CGFloat bottom = rect.origin.y + rect.size.height;
    graphics::CGFloat middle = top + radius;
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, left, middle);
    graphics::CGContextAddArcToPoint(context, left, top, left + radius, top, radius);
    graphics::CGContextAddArcToPoint(context, right, top, right, middle, radius);
    graphics::CGContextAddArcToPoint(context, right, bottom, right - radius, bottom, radius);
    graphics::CGContextAddArcToPoint(context, left, bottom, left, middle, radius);
    graphics::CGContextClosePath(context);
}

}

runtime::Ref<SBIconBadgeView> SBIconBadgeView::create()
{
    return runtime::adoptRef(*new SBIconBadgeView);
}

SBIconBadgeView::SBIconBadgeView()
    : UIView(uikit::CGRectMake(0, 0, height, height))
{
    setUserInteractionEnabled(false);
    setOpaque(false);
}

uikit::CGFloat SBIconBadgeView::widthForText(const std::string& text)
{
    return std::max(height, uikit::sizeWithFont(text, badgeFont()).width + 14);
}

void SBIconBadgeView::setText(std::string text)
{
    m_text = std::move(text);
    auto frame = this->frame();
    uikit::CGFloat right = frame.origin.x + frame.size.width;
    frame.size = { widthForText(m_text), height };
    frame.origin.x = right - frame.size.width;
    setFrame(frame);
    setNeedsDisplay();
}

void SBIconBadgeView::drawRect(uikit::CGRect rect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    graphics::CGContextSaveGState(context);
    // White rim with a soft shadow, then the red body with a lighter top half for the gloss.
    graphics::CGContextSetShadowWithColor(context, { 0, 1.5 }, 2, graphics::CGColorCreateGray(0, 0.6));
    addCapsule(context, { { rect.origin.x + 1, rect.origin.y + 1 }, { rect.size.width - 2, rect.size.height - 3 } });
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    graphics::CGContextFillPath(context);
    graphics::CGContextRestoreGState(context);

    graphics::CGRect body { { rect.origin.x + 3, rect.origin.y + 3 }, { rect.size.width - 6, rect.size.height - 7 } };
    addCapsule(context, body);
    graphics::CGContextSetRGBFillColor(context, 0.86, 0.07, 0.07, 1);
    graphics::CGContextFillPath(context);
    graphics::CGContextSaveGState(context);
    addCapsule(context, body);
    graphics::CGContextClip(context);
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 0.22);
    graphics::CGContextFillEllipseInRect(context, { { body.origin.x - body.size.width * 0.25f, body.origin.y - body.size.height * 0.55f },
                                                      { body.size.width * 1.5f, body.size.height } });
    graphics::CGContextRestoreGState(context);

    auto font = badgeFont();
    auto size = uikit::sizeWithFont(m_text, font);
    uikit::UIColor::whiteColor()->set();
    uikit::drawAtPoint(m_text, { body.origin.x + (body.size.width - size.width) / 2, body.origin.y + (body.size.height - size.height) / 2 }, font);
}

void SBIconBadgeView::encodeWithCoder(uikit::NSCoder& coder) const
{
    UIView::encodeWithCoder(coder);
    coder.encodeString(m_text, "SBIconBadgeText");
}

void SBIconBadgeView::initWithCoder(uikit::NSCoder& coder)
{
    UIView::initWithCoder(coder);
    m_text = coder.decodeString("SBIconBadgeText");
}

}
