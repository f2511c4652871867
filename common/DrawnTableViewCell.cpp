#include "DrawnTableViewCell.h"

#include <graphics/Context.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>

namespace torvane {

DrawnTableViewCell::DrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier, runtime::Ref<uikit::UIView> drawingView)
    : UITableViewCell(style, std::move(reuseIdentifier))
    , m_drawingView(std::move(drawingView))
{
    m_drawingView->setOpaque(true);
    addSubview(m_drawingView);
}

DrawnTableViewCell::~DrawnTableViewCell() = default;

void DrawnTableViewCell::setFrame(uikit::CGRect frame)
{
    UITableViewCell::setFrame(frame);
    auto area = bounds();
    area.size.height -= 1;
    m_drawingView->setFrame(area);
}

void DrawnTableViewCell::setNeedsDisplay()
{
    UITableViewCell::setNeedsDisplay();
    m_drawingView->setNeedsDisplay();
}

void DrawnTableViewCell::willTransitionToState(unsigned state)
{
    UITableViewCell::willTransitionToState(state);
    setNeedsDisplay();
}

void DrawnTableViewCell::drawContentView(uikit::CGRect)
{
}

void DrawnTableViewCell::fillRowBackground(uikit::CGRect rect) const
{
    bool marked = isHighlighted() || isSelected();
    (marked ? uikit::UIColor::clearColor() : uikit::UIColor::whiteColor())->set();
    graphics::CGContextFillRect(uikit::UIGraphicsGetCurrentContext(), rect);
    (marked ? uikit::UIColor::whiteColor() : uikit::UIColor::blackColor())->set();
}

}
