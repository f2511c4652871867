#include "SMDrawnTableViewCell.h"

#include "SMDrawnTableViewCellView.h"

namespace tweak {

TORVANE_DEFINE_CLASS(SMDrawnTableViewCell)

runtime::Ref<SMDrawnTableViewCell> SMDrawnTableViewCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new SMDrawnTableViewCell(style, std::move(reuseIdentifier)));
}

SMDrawnTableViewCell::SMDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
    : UITableViewCell(style, std::move(reuseIdentifier))
    , m_drawingView(SMDrawnTableViewCellView::create(uikit::CGRectZero))
{
    m_drawingView->setOpaque(true);
    addSubview(m_drawingView);
}

SMDrawnTableViewCell::~SMDrawnTableViewCell() = default;

void SMDrawnTableViewCell::setFrame(uikit::CGRect frame)
{
    UITableViewCell::setFrame(frame);
    auto area = bounds();
    area.size.height -= 1;
    m_drawingView->setFrame(area);
}

void SMDrawnTableViewCell::setNeedsDisplay()
{
    UITableViewCell::setNeedsDisplay();
    m_drawingView->setNeedsDisplay();
}

void SMDrawnTableViewCell::willTransitionToState(unsigned state)
{
    UITableViewCell::willTransitionToState(state);
    setNeedsDisplay();
}

void SMDrawnTableViewCell::drawContentView(uikit::CGRect)
{
}

}
