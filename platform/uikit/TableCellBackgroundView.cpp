#include <uikit/TableCellBackgroundView.h>

#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>

#include <algorithm>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(TableCellBackgroundView)

runtime::Ref<TableCellBackgroundView> TableCellBackgroundView::create(Fill fill)
{
    return runtime::adoptRef(*new TableCellBackgroundView(fill));
}

TableCellBackgroundView::TableCellBackgroundView(Fill fill)
    : UIView(CGRectZero)
    , m_fill(fill)
{
    setBackgroundColor(UIColor::clearColor());
    setUserInteractionEnabled(false);
    setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
}

void TableCellBackgroundView::setLook(UITableViewStyle style, UITableViewCellGroupPosition position, runtime::RefPtr<UIColor> separatorColor)
{
    m_style = style;
    m_position = position;
    m_separatorColor = std::move(separatorColor);
    setNeedsDisplay();
}

namespace {

// The piece's outline: a rectangle whose top and/or bottom corners are rounded.
void addPiecePath(const CGContext& c, CGRect rect, bool roundTop, bool roundBottom, CGFloat radius)
{
    radius = std::min({ radius, rect.size.width / 2, rect.size.height / 2 });
    CGFloat minX = CGRectGetMinX(rect), maxX = CGRectGetMaxX(rect), minY = CGRectGetMinY(rect), maxY = CGRectGetMaxY(rect);
    CGFloat midX = CGRectGetMidX(rect), midY = CGRectGetMidY(rect);
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, minX, midY);
    CGContextAddArcToPoint(c, minX, minY, midX, minY, roundTop ? radius : 0);
    CGContextAddArcToPoint(c, maxX, minY, maxX, midY, roundTop ? radius : 0);
    CGContextAddArcToPoint(c, maxX, maxY, midX, maxY, roundBottom ? radius : 0);
    CGContextAddArcToPoint(c, minX, maxY, minX, midY, roundBottom ? radius : 0);
    CGContextClosePath(c);
}

void fillSelection(const CGContext& c, CGRect rect, TableCellBackgroundView::Fill fill)
{
    if (fill == TableCellBackgroundView::Fill::BlueSelection)
        fillVerticalGradient(c, rect, { 0.02f, 0.55f, 0.96f, 1 }, { 0.01f, 0.37f, 0.90f, 1 });
    else
        fillVerticalGradient(c, rect, { 0.70f, 0.70f, 0.72f, 1 }, { 0.52f, 0.52f, 0.55f, 1 });
}

}

void TableCellBackgroundView::drawRect(CGRect)
{
    auto c = UIGraphicsGetCurrentContext();
    CGRect bounds = this->bounds();

    if (m_style == UITableViewStylePlain) {
        if (m_fill == Fill::White) {
            CGContextSetRGBFillColor(c, 1, 1, 1, 1);
            CGContextFillRect(c, bounds);
        } else {
            fillSelection(c, bounds, m_fill);
        }
        return;
    }

    bool roundTop = m_position == UITableViewCellGroupPosition::Single || m_position == UITableViewCellGroupPosition::Top;
    bool roundBottom = m_position == UITableViewCellGroupPosition::Single || m_position == UITableViewCellGroupPosition::Bottom;
    // Half a point in, so the one-point rim lies on whole pixels at scale 2.
    CGRect piece = bounds;
    piece.origin.x += 0.5f;
    piece.size.width -= 1;
    // Straight edges run one point past the view (and are clipped away there), so only the sides
    // of a middle piece show the rim; the line between rows is the separator below.
    if (roundTop) {
        piece.origin.y += 0.5f;
        piece.size.height -= 0.5f;
    } else {
        piece.origin.y -= 1;
        piece.size.height += 1;
    }
    if (roundBottom)
        piece.size.height -= 1.5f; // and one point for the light emboss under the group
    else
        piece.size.height += 1;

    if (roundBottom) {
        CGContextSetRGBFillColor(c, 1, 1, 1, 0.8f);
        addPiecePath(c, CGRectOffset(piece, 0, 1), roundTop, true, groupCornerRadius);
        CGContextFillPath(c);
    }

    CGContextSaveGState(c);
    addPiecePath(c, piece, roundTop, roundBottom, groupCornerRadius);
    CGContextClip(c);
    if (m_fill == Fill::White) {
        CGContextSetRGBFillColor(c, 1, 1, 1, 1);
        CGContextFillRect(c, bounds);
    } else {
        fillSelection(c, bounds, m_fill);
    }
    CGContextRestoreGState(c);

    CGContextSetLineWidth(c, 1);
    CGContextSetRGBStrokeColor(c, 0.67f, 0.67f, 0.69f, 1);
    addPiecePath(c, piece, roundTop, roundBottom, groupCornerRadius);
    CGContextStrokePath(c);

    if (!roundBottom) {
        // The line between this row and the next one of the group.
        if (m_separatorColor)
            CGContextSetFillColorWithColor(c, m_separatorColor->CGColor());
        else
            CGContextSetRGBFillColor(c, 0.67f, 0.67f, 0.69f, 1);
        CGContextFillRect(c, { { piece.origin.x, bounds.size.height - 1 }, { piece.size.width, 1 } });
    }
}

}
