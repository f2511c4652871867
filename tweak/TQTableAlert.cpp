#include "TQTableAlert.h"

#include "TQTableViewSectionHeaderView.h"
#include "TQTableViewTopShadowView.h"

#include <foundation/NSNotificationCenter.h>
#include <quartzcore/CALayer.h>
#include <uikit/UIApplication.h>
#include <uikit/UIWindow.h>
#include <uikit/UIColor.h>
#include <uikit/UIControl.h>
#include <uikit/UIDevice.h>
#include <uikit/UIScreen.h>

namespace tweak {

using uikit::CGFloat;
using uikit::CGRect;

TORVANE_DEFINE_CLASS(TQTableAlert)

runtime::Ref<TQTableAlert> TQTableAlert::create(std::optional<std::string> title, std::optional<std::string> cancelButtonTitle,
    std::optional<std::string> message)
{
    return runtime::adoptRef(*new TQTableAlert(std::move(title), std::move(cancelButtonTitle), std::move(message)));
}

TQTableAlert::TQTableAlert(std::optional<std::string> title, std::optional<std::string> cancelButtonTitle, std::optional<std::string> message)
    : m_alertView(uikit::UIAlertView::create(std::move(title), std::move(message), this, std::move(cancelButtonTitle), { "Kill All" }))
    , m_tableView(TQTableView::create(uikit::CGRectZero, uikit::UITableViewStylePlain))
    , m_shadow(TQTableViewTopShadowView::create(uikit::CGRectZero))
{
    m_tableView->setDelegate(this);
    m_tableView->setDataSource(this);
    m_tableView->setBackgroundColor(uikit::UIColor::whiteColor());
    m_tableView->setRowHeight(defaultRowHeight);
    m_tableView->setSeparatorColor(uikit::UIColor::lightGrayColor());
    m_tableView->layer().setCornerRadius(5);
    m_alertView->addSubview(m_tableView);

    m_shadow->setBackgroundColor(uikit::UIColor::clearColor());
    m_shadow->setHidden(true);
    m_shadow->layer().setCornerRadius(5);
    m_shadow->layer().setMasksToBounds(true);
    m_alertView->addSubview(m_shadow);
    m_alertView->bringSubviewToFront(m_shadow);

    m_orientationObserver = foundation::NSNotificationCenter::defaultCenter().addObserver(
        uikit::UIApplicationDidChangeStatusBarOrientationNotification, nullptr,
        [this](foundation::NSNotification&) { layoutAfterSomeTime(); });
}

TQTableAlert::~TQTableAlert()
{
    m_alertView->setDelegate(nullptr);
}

namespace {

// The object behind a protocol pointer, for the weak references the table alert and its views keep.
template<typename Protocol>
runtime::Object* objectOf(Protocol* implementer)
{
    return dynamic_cast<runtime::Object*>(implementer);
}

}

TQTableAlertDelegate* TQTableAlert::delegate() const { return uikit::protocolOf<TQTableAlertDelegate>(m_delegate.get()); }
void TQTableAlert::setDelegate(TQTableAlertDelegate* delegate) { m_delegate = objectOf(delegate); }
TQTableAlertDataSource* TQTableAlert::dataSource() const { return uikit::protocolOf<TQTableAlertDataSource>(m_dataSource.get()); }
void TQTableAlert::setDataSource(TQTableAlertDataSource* dataSource) { m_dataSource = objectOf(dataSource); }

uikit::UITableViewDelegate* TQTableAlert::tableViewDelegate() const
{
    return uikit::protocolOf<uikit::UITableViewDelegate>(m_tableView->delegate());
}
void TQTableAlert::setTableViewDelegate(uikit::UITableViewDelegate* delegate) { m_tableView->setDelegate(objectOf(delegate)); }
uikit::UITableViewDataSource* TQTableAlert::tableViewDataSource() const
{
    return uikit::protocolOf<uikit::UITableViewDataSource>(m_tableView->dataSource());
}
void TQTableAlert::setTableViewDataSource(uikit::UITableViewDataSource* dataSource) { m_tableView->setDataSource(objectOf(dataSource)); }
uikit::UIAlertViewDelegate* TQTableAlert::alertViewDelegate() const
{
    return uikit::protocolOf<uikit::UIAlertViewDelegate>(m_alertView->delegate());
}
void TQTableAlert::setAlertViewDelegate(uikit::UIAlertViewDelegate* delegate) { m_alertView->setDelegate(objectOf(delegate)); }

void TQTableAlert::setStyle(TQTableAlertStyle style)
{
    if (style == TQTableAlertStyle::Plain || style == TQTableAlertStyle::Gradient) {
        bool gradient = style == TQTableAlertStyle::Gradient;
        m_tableView->setAlertStyle(style);
        m_tableView->setSeparatorStyle(gradient ? uikit::UITableViewCellSeparatorStyleNone : uikit::UITableViewCellSeparatorStyleSingleLine);
        m_tableView->setSeparatorColor(uikit::UIColor::lightGrayColor());
        m_shadow->setHidden(!gradient);
        m_tableView->setNeedsDisplay();
    }
    m_style = style;
}

void TQTableAlert::show()
{
    m_tableView->reloadData();
    m_alertView->show();
}

void TQTableAlert::increaseHeightBy(CGFloat amount)
{
    auto center = m_alertView->center();
    auto frame = m_alertView->frame();
    frame.size.height += amount;
    m_alertView->setFrame(frame);
    m_alertView->setCenter(center);
    m_alertView->setFrame(graphics::CGRectIntegral(m_alertView->frame()));
    for (auto& subview : m_alertView->subviews()) {
        if (!runtime::dynamicCast<uikit::UIControl>(subview.ptr()))
            continue;
        auto place = subview->frame();
        place.origin.y += amount;
        subview->setFrame(place);
    }
}

void TQTableAlert::takeBackGrowth()
{
    if (!m_growth)
        return;
    auto growth = *m_growth;
    m_growth.reset();
    // Back to the exact frame the growth started from: shrinking about the centre again would
    // round differently and let the alert creep by a point per rotation.
    increaseHeightBy(-growth.amount);
    m_alertView->setFrame(growth.frameBefore);
}

CGFloat TQTableAlert::tableHeightForRows()
{
    auto& table = m_tableView.get();
    auto* rowDelegate = uikit::protocolOf<uikit::UITableViewDelegate>(table.delegate());
    bool asksHeights = rowDelegate && uikit::respondsToOptional(table.delegate(), uikit::TableViewDelegate::heightForRow);
    CGFloat total = 0;
    int rows = 0;
    for (int section = 0, sections = table.numberOfSections(); section < sections; ++section) {
        for (int row = 0, count = table.numberOfRowsInSection(section); row < count; ++row, ++rows) {
            auto indexPath = uikit::NSIndexPath::indexPathForRow(row, section);
            total += asksHeights ? rowDelegate->tableViewHeightForRowAtIndexPath(table, indexPath) : table.rowHeight();
        }
    }

    auto screen = uikit::UIScreen::mainScreen().bounds();
    if (total > screen.size.height) {
        auto orientation = uikit::UIDevice::currentDevice().orientation();
        bool portrait = orientation == uikit::UIDeviceOrientationPortrait || orientation == uikit::UIDeviceOrientationPortraitUpsideDown;
        CGFloat available = portrait ? screen.size.height : screen.size.width;
        return available - m_alertView->frame().size.height - bottomInset;
    }
    if (m_maximumVisibleRows == noRowLimit || rows <= m_maximumVisibleRows)
        return table.contentSize().height;
    return m_maximumVisibleRows * (total / rows);
}

void TQTableAlert::layout()
{
    takeBackGrowth();
    auto frameBefore = m_alertView->frame();
    CGFloat tableHeight = tableHeightForRows();
    increaseHeightBy(tableHeight);
    m_growth = Growth { frameBefore, tableHeight };

    auto alert = m_alertView->frame();
    CGRect table { { sideInset, alert.size.height - tableHeight - bottomInset }, { alert.size.width - 2 * sideInset, tableHeight } };
    m_tableView->setFrame(table);
    m_shadow->setFrame({ table.origin, { table.size.width, TQTableViewTopShadowView::depth } });
}

void TQTableAlert::layoutAfterSomeTime()
{
    m_nextLayout = foundation::ScheduledCall::onNextTurn([this] { layout(); });
}

TQTableAlertDelegate* TQTableAlert::delegateFor(const uikit::OptionalOperation& operation) const
{
    if (!uikit::respondsToOptional(m_delegate.get(), operation))
        return nullptr;
    return delegate();
}

CGFloat TQTableAlert::tableViewHeightForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath& indexPath)
{
    if (auto* delegate = delegateFor(TableAlertDelegate::heightForRow))
        return delegate->tableAlertHeightForRowAtIndexPath(*this, indexPath);
    return m_rowHeight;
}

void TQTableAlert::tableViewDidSelectRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath& indexPath)
{
    // The delegate may let go of this table alert when it hears of the dismissal.
    runtime::Ref<TQTableAlert> protect(*this);
    runtime::Ref<uikit::NSIndexPath> selected(indexPath);
    if (m_type == TQTableAlertType::CloseOnSelect)
        m_alertView->dismissWithClickedButtonIndex(-1, true);
    if (auto* delegate = delegateFor(TableAlertDelegate::didSelectRow))
        delegate->tableAlertDidSelectRowAtIndexPath(*this, selected);
}

runtime::RefPtr<uikit::UIView> TQTableAlert::tableViewViewForHeaderInSection(uikit::UITableView&, int section)
{
    auto* source = dataSource();
    if (!source || !uikit::respondsToOptional(m_dataSource.get(), TableAlertDataSource::titleForHeader))
        return nullptr;
    auto title = source->tableAlertTitleForHeaderInSection(*this, section);
    if (!title)
        return nullptr;
    return TQTableViewSectionHeaderView::create(std::move(*title));
}

CGFloat TQTableAlert::tableViewHeightForHeaderInSection(uikit::UITableView& table, int section)
{
    return tableViewViewForHeaderInSection(table, section) ? TQTableViewSectionHeaderView::height : 0;
}

runtime::RefPtr<uikit::UITableViewCell> TQTableAlert::tableViewCellForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath& indexPath)
{
    auto* source = dataSource();
    return source ? source->tableAlertCellForRowAtIndexPath(*this, indexPath) : nullptr;
}

int TQTableAlert::tableViewNumberOfRowsInSection(uikit::UITableView&, int section)
{
    auto* source = dataSource();
    return source ? source->tableAlertNumberOfRowsInSection(*this, section) : 0;
}

int TQTableAlert::numberOfSectionsInTableView(uikit::UITableView&)
{
    auto* source = dataSource();
    if (source && uikit::respondsToOptional(m_dataSource.get(), TableAlertDataSource::numberOfSections))
        return source->numberOfSectionsInTableAlert(*this);
    return 1;
}

void TQTableAlert::alertViewCancel(uikit::UIAlertView&)
{
    if (auto* delegate = delegateFor(TableAlertDelegate::cancel))
        delegate->tableAlertCancel(*this);
}

void TQTableAlert::alertViewClickedButtonAtIndex(uikit::UIAlertView&, int buttonIndex)
{
    if (auto* delegate = delegateFor(TableAlertDelegate::clickedButton))
        delegate->tableAlertClickedButtonAtIndex(*this, buttonIndex);
}

void TQTableAlert::willPresentAlertView(uikit::UIAlertView&)
{
    if (!m_presented) {
        // show() has just sized the alert to its content afresh: there is no growth left to take back.
        m_growth.reset();
        layout();
    }
    m_presented = true;
    if (auto* delegate = delegateFor(TableAlertDelegate::willPresent))
        delegate->willPresentTableAlert(*this);
}

void TQTableAlert::didPresentAlertView(uikit::UIAlertView&)
{
    if (auto* delegate = delegateFor(TableAlertDelegate::didPresent))
        delegate->didPresentTableAlert(*this);
}

void TQTableAlert::alertViewWillDismissWithButtonIndex(uikit::UIAlertView&, int buttonIndex)
{
    if (auto* delegate = delegateFor(TableAlertDelegate::willDismiss))
        delegate->tableAlertWillDismissWithButtonIndex(*this, buttonIndex);
}

void TQTableAlert::alertViewDidDismissWithButtonIndex(uikit::UIAlertView&, int buttonIndex)
{
    m_presented = false;
    if (auto* delegate = delegateFor(TableAlertDelegate::didDismiss))
        delegate->tableAlertDidDismissWithButtonIndex(*this, buttonIndex);
}

}
