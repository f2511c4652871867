#include <uikit/TableAccessoryMarkView.h>

#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(TableAccessoryMarkView)

runtime::Ref<TableAccessoryMarkView> TableAccessoryMarkView::create(UITableViewCellAccessoryType type)
{
    return runtime::adoptRef(*new TableAccessoryMarkView(type));
}

TableAccessoryMarkView::TableAccessoryMarkView(UITableViewCellAccessoryType type)
    : UIView(CGRectZero)
    , m_type(type)
{
    setBackgroundColor(UIColor::clearColor());
    setUserInteractionEnabled(false);
    CGSize size = sizeThatFits({});
    setFrame({ {}, size });
}

void TableAccessoryMarkView::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    setNeedsDisplay();
}

CGSize TableAccessoryMarkView::sizeThatFits(CGSize) const
{
    switch (m_type) {
    case UITableViewCellAccessoryCheckmark:
        return { 14, 14 };
    case UITableViewCellAccessoryDisclosureIndicator:
        return { 10, 14 };
    case UITableViewCellAccessoryDetailDisclosureButton:
        return { 29, 31 };
    case UITableViewCellAccessoryNone:
        break;
    }
    return {};
}

void TableAccessoryMarkView::drawRect(CGRect)
{
    auto c = UIGraphicsGetCurrentContext();
    CGRect b = bounds();
    CGContextSetShouldAntialias(c, true);
    switch (m_type) {
    case UITableViewCellAccessoryCheckmark:
        if (m_highlighted)
            CGContextSetRGBStrokeColor(c, 1, 1, 1, 1);
        else
            CGContextSetRGBStrokeColor(c, 0.20f, 0.31f, 0.52f, 1);
        CGContextSetLineWidth(c, 2.6f);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, b.origin.x + 1.5f, b.origin.y + b.size.height * 0.55f);
        CGContextAddLineToPoint(c, b.origin.x + b.size.width * 0.38f, b.origin.y + b.size.height - 2);
        CGContextAddLineToPoint(c, b.origin.x + b.size.width - 1.5f, b.origin.y + 1.5f);
        CGContextStrokePath(c);
        break;
    case UITableViewCellAccessoryDisclosureIndicator:
        if (m_highlighted)
            CGContextSetRGBStrokeColor(c, 1, 1, 1, 1);
        else
            CGContextSetRGBStrokeColor(c, 0.50f, 0.50f, 0.50f, 1);
        CGContextSetLineWidth(c, 3);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, b.origin.x + 2, b.origin.y + 2);
        CGContextAddLineToPoint(c, b.origin.x + b.size.width - 2.5f, CGRectGetMidY(b));
        CGContextAddLineToPoint(c, b.origin.x + 2, b.origin.y + b.size.height - 2);
        CGContextStrokePath(c);
        break;
    case UITableViewCellAccessoryDetailDisclosureButton: {
        CGRect disc = CGRectInset(b, 3.5f, 4.5f);
        CGContextSetRGBFillColor(c, 1, 1, 1, 0.9f);
        CGContextFillEllipseInRect(c, CGRectOffset(disc, 0, 1));
        CGContextSaveGState(c);
        CGContextAddEllipseInRect(c, disc);
        CGContextClip(c);
        fillVerticalGradient(c, disc, { 0.36f, 0.57f, 0.96f, 1 }, { 0.10f, 0.33f, 0.82f, 1 });
        CGContextRestoreGState(c);
        CGContextSetRGBStrokeColor(c, 1, 1, 1, 1);
        CGContextSetLineWidth(c, 2.5f);
        CGContextStrokeEllipseInRect(c, disc);
        CGContextSetLineWidth(c, 2.5f);
        CGFloat cx = CGRectGetMidX(disc), cy = CGRectGetMidY(disc);
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, cx - 2.5f, cy - 5);
        CGContextAddLineToPoint(c, cx + 2.5f, cy);
        CGContextAddLineToPoint(c, cx - 2.5f, cy + 5);
        CGContextStrokePath(c);
        break;
    }
    case UITableViewCellAccessoryNone:
        break;
    }
}

}
