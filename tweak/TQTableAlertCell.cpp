#include "TQTableAlertCell.h"

#include "TQTableAlertCellBackgroundView.h"

#include <foundation/NSNotificationCenter.h>
#include <graphics/Context.h>
#include <uikit/UIApplication.h>
#include <uikit/UIWindow.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UILabel.h>

namespace tweak {

TORVANE_DEFINE_CLASS(TQTableAlertCell)

runtime::Ref<TQTableAlertCell> TQTableAlertCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new TQTableAlertCell(style, std::move(reuseIdentifier)));
}

TQTableAlertCell::TQTableAlertCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
    : UITableViewCell(style, std::move(reuseIdentifier))
    , m_cellBackgroundView(TQTableAlertCellBackgroundView::create(
          { { 0, 0 }, { contentView().frame().size.width, contentView().frame().size.height } }))
{
    m_cellBackgroundView->setBackgroundColor(uikit::UIColor::clearColor());
    m_cellBackgroundView->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    setBackgroundView(m_cellBackgroundView.ptr());
    m_orientationObserver = foundation::NSNotificationCenter::defaultCenter().addObserver(
        uikit::UIApplicationDidChangeStatusBarOrientationNotification, nullptr,
        [this](foundation::NSNotification&) { setNeedsDisplay(); });
}

TQTableAlertCell::~TQTableAlertCell() = default;

void TQTableAlertCell::layoutSubviews()
{
    UITableViewCell::layoutSubviews();
    // While editing, the background reaches back under the edit control the content moved right for.
    uikit::CGFloat x = isEditing() ? -contentView().frame().origin.x : 0;
    auto frame = m_cellBackgroundView->frame();
    m_cellBackgroundView->setFrame({ { x, frame.origin.y }, { bounds().size.width - x, frame.size.height } });
    textLabel().setBackgroundColor(uikit::UIColor::clearColor());
    if (auto* detail = detailTextLabel())
        detail->setBackgroundColor(uikit::UIColor::clearColor());
    setBackgroundColor(uikit::UIColor::clearColor());
    setNeedsDisplay();
}

void TQTableAlertCell::setNeedsDisplay()
{
    UITableViewCell::setNeedsDisplay();
    m_cellBackgroundView->setNeedsDisplay();
}

void TQTableAlertCell::drawCellBackgroundView(uikit::CGRect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    auto area = m_cellBackgroundView->bounds();
    graphics::CGContextSetLineWidth(context, 1.5f);
    uikit::UIColor::colorWithWhite(1, 0.8f)->setStroke();
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, 0, 0);
    graphics::CGContextAddLineToPoint(context, area.size.width, 0);
    graphics::CGContextStrokePath(context);
    uikit::UIColor::colorWithWhite(0, 0.35f)->setStroke();
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, 0, area.size.height);
    graphics::CGContextAddLineToPoint(context, area.size.width, area.size.height);
    graphics::CGContextStrokePath(context);
}

}
