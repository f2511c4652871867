#include "SwipeDrawnTableViewCell.h"

#include "SwipeDrawnTableViewCellView.h"

TORVANE_DEFINE_CLASS(SwipeDrawnTableViewCell)

runtime::Ref<SwipeDrawnTableViewCell> SwipeDrawnTableViewCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new SwipeDrawnTableViewCell(style, std::move(reuseIdentifier)));
}

SwipeDrawnTableViewCell::SwipeDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
    : UITableViewCell(style, std::move(reuseIdentifier))
    , m_drawingView(SwipeDrawnTableViewCellView::create(uikit::CGRectZero))
{
    m_drawingView->setOpaque(true);
    addSubview(m_drawingView);
}

SwipeDrawnTableViewCell::~SwipeDrawnTableViewCell() = default;

void SwipeDrawnTableViewCell::changeContentAlpha(uikit::CGFloat alpha)
{
    m_drawingView->setAlpha(alpha);
}

void SwipeDrawnTableViewCell::setFrame(uikit::CGRect frame)
{
    UITableViewCell::setFrame(frame);
    auto area = bounds();
    area.size.height -= 1;
    m_drawingView->setFrame(area);
}

void SwipeDrawnTableViewCell::setNeedsDisplay()
{
    UITableViewCell::setNeedsDisplay();
    m_drawingView->setNeedsDisplay();
}

void SwipeDrawnTableViewCell::willTransitionToState(unsigned state)
{
    UITableViewCell::willTransitionToState(state);
    setNeedsDisplay();
}

void SwipeDrawnTableViewCell::drawContentView(uikit::CGRect)
{
}
