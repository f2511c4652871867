#include "TQTableAlert.h"
#include "TQTableAlertCell.h"
#include "TQTableViewSectionHeaderView.h"
#include "TQTableViewTopShadowView.h"

#include <foundation/Clock.h>
#include <foundation/RunLoop.h>
#include <graphics/ImageCompare.h>
#include <uikit/UIApplication.h>
#include <uikit/UIButton.h>
#include <uikit/UIDevice.h>
#include <uikit/UILabel.h>
#include <uikit/UIWindow.h>
#include <uikit/ViewRendering.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace tweak;
using uikit::CGFloat;

namespace {

// Rows of given heights in sections that may have titles; writes down what it hears.
class Rows : public runtime::Object, public TQTableAlertDataSource, public TQTableAlertDelegate {
    TORVANE_OBJECT(Rows, runtime::Object)
    TORVANE_ADOPTS(TQTableAlertDataSource, TQTableAlertDelegate)
public:
    static runtime::Ref<Rows> create(std::vector<std::vector<CGFloat>> heights, std::vector<std::optional<std::string>> titles = {})
    {
        return runtime::adoptRef(*new Rows(std::move(heights), std::move(titles)));
    }

    runtime::RefPtr<uikit::UITableViewCell> tableAlertCellForRowAtIndexPath(TQTableAlert&, uikit::NSIndexPath& indexPath) override
    {
        auto cell = TQTableAlertCell::create();
        cell->textLabel().setText("Row " + std::to_string(indexPath.row()));
        return cell;
    }
    int tableAlertNumberOfRowsInSection(TQTableAlert&, int section) override { return static_cast<int>(m_heights[section].size()); }
    int numberOfSectionsInTableAlert(TQTableAlert&) override { return static_cast<int>(m_heights.size()); }
    std::optional<std::string> tableAlertTitleForHeaderInSection(TQTableAlert&, int section) override
    {
        return section < static_cast<int>(m_titles.size()) ? m_titles[section] : std::nullopt;
    }
    CGFloat tableAlertHeightForRowAtIndexPath(TQTableAlert&, uikit::NSIndexPath& indexPath) override
    {
        return m_heights[indexPath.section()][indexPath.row()];
    }
    void tableAlertDidSelectRowAtIndexPath(TQTableAlert& alert, uikit::NSIndexPath& indexPath) override
    {
        events.push_back("selected " + std::to_string(indexPath.row()) + (alert.isPresented() ? " while shown" : " after closing"));
    }
    void tableAlertDidDismissWithButtonIndex(TQTableAlert&, int index) override
    {
        events.push_back("dismissed " + std::to_string(index));
        if (onDismiss)
            onDismiss();
    }

    std::vector<std::string> events;
    std::function<void()> onDismiss;

private:
    Rows(std::vector<std::vector<CGFloat>> heights, std::vector<std::optional<std::string>> titles)
        : m_heights(std::move(heights))
        , m_titles(std::move(titles))
    {
    }
    std::vector<std::vector<CGFloat>> m_heights;
    std::vector<std::optional<std::string>> m_titles;
};

TORVANE_DEFINE_CLASS(Rows)

std::vector<std::vector<CGFloat>> rowsOf(int count, CGFloat height = 40) { return { std::vector<CGFloat>(count, height) }; }

class TableAlerts : public ::testing::Test {
protected:
    void SetUp() override
    {
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        closeAlerts();
        m_window = uikit::UIWindow::create({ { 0, 0 }, { 320, 480 } });
        m_window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        closeAlerts();
        uikit::UIDevice::currentDevice().setOrientation(uikit::UIDeviceOrientationPortrait);
        uikit::UIApplication::sharedApplication().setStatusBarOrientation(uikit::UIInterfaceOrientationPortrait);
        foundation::RunLoop::main().runUntilIdle();
        m_window->setHidden(true);
        uikit::UIApplication::sharedApplication().windowWillGo(*m_window);
        foundation::RunLoop::main().discardPendingWork();
    }
    static void closeAlerts()
    {
        for (auto& alert : uikit::UIAlertView::visibleAlerts()) {
            alert->setDelegate(nullptr);
            alert->dismissWithClickedButtonIndex(-1, false);
        }
    }

    runtime::Ref<TQTableAlert> showAlert(Rows& rows, int maximumVisibleRows = TQTableAlert::defaultMaximumVisibleRows)
    {
        auto alert = TQTableAlert::create(std::string("Running"), std::string("Cancel"), std::string("Pick one"));
        alert->setDataSource(&rows);
        alert->setDelegate(&rows);
        alert->setMaximumVisibleRows(maximumVisibleRows);
        alert->show();
        return alert;
    }

    // The same alert without a table, as the system sizes it.
    static uikit::CGRect plainAlertFrame(CGFloat& buttonY)
    {
        auto plain = uikit::UIAlertView::create(std::string("Running"), std::string("Pick one"), nullptr, std::string("Cancel"), { "Kill All" });
        plain->show();
        auto frame = plain->frame();
        buttonY = plain->buttonAtIndex(1)->frame().origin.y;
        plain->dismissWithClickedButtonIndex(-1, false);
        return frame;
    }

    static void rotateTo(uikit::UIDeviceOrientation device, uikit::UIInterfaceOrientation bar)
    {
        uikit::UIDevice::currentDevice().setOrientation(device);
        uikit::UIApplication::sharedApplication().setStatusBarOrientation(bar);
        foundation::RunLoop::main().runUntilIdle();
    }

    runtime::RefPtr<uikit::UIWindow> m_window;
};

// The alert grows by exactly the table's height, the buttons move down by as much and the table
// ends 65 points above the alert's bottom edge, for a short list, a list over the row limit and
// a list without a limit.
TEST_F(TableAlerts, TableTakesItsRowsWithinTheRowLimitAndTheAlertGrowsByIt)
{
    CGFloat plainButtonY = 0;
    auto plain = plainAlertFrame(plainButtonY);

    struct Case {
        int rows;
        int limit;
        CGFloat table;
    };
    for (auto [count, limit, expected] : { Case { 3, 4, 120 }, Case { 7, 4, 160 }, Case { 7, TQTableAlert::noRowLimit, 280 } }) {
        SCOPED_TRACE(std::to_string(count) + " rows, limit " + std::to_string(limit));
        auto rows = Rows::create(rowsOf(count));
        auto alert = showAlert(rows, limit);
        auto frame = alert->view().frame();
        auto table = alert->tableView().frame();
        EXPECT_EQ(table.size.height, expected);
        EXPECT_EQ(frame.size.height, plain.size.height + expected);
        EXPECT_EQ(alert->view().buttonAtIndex(1)->frame().origin.y, plainButtonY + expected);
        EXPECT_EQ(table.origin.x, 12);
        EXPECT_EQ(table.size.width, frame.size.width - 24);
        EXPECT_EQ(table.origin.y + table.size.height, frame.size.height - 65);
        EXPECT_EQ(alert->shadow().frame().origin.y, table.origin.y);
        EXPECT_EQ(alert->shadow().frame().size.height, 8);
        EXPECT_EQ(alert->tableView().contentSize().height, 40 * count) << "the rows beyond the limit scroll";
        EXPECT_EQ(alert->view().buttonTitleAtIndex(1), "Kill All");
        alert->view().dismissWithClickedButtonIndex(0, false);
    }
}

// Rows higher than the screen leave the alert's own height and 65 points free of the screen's
// height, or of its width when the device lies on its side.
TEST_F(TableAlerts, RowsHigherThanTheScreenAreCutToTheScreenInEitherOrientation)
{
    CGFloat buttonY = 0;
    auto plain = plainAlertFrame(buttonY);
    auto rows = Rows::create(rowsOf(13));

    auto portrait = showAlert(rows, TQTableAlert::noRowLimit);
    EXPECT_EQ(portrait->tableView().frame().size.height, 480 - plain.size.height - 65);
    portrait->view().dismissWithClickedButtonIndex(0, false);

    uikit::UIDevice::currentDevice().setOrientation(uikit::UIDeviceOrientationLandscapeLeft);
    auto landscape = showAlert(rows, TQTableAlert::noRowLimit);
    EXPECT_EQ(landscape->tableView().frame().size.height, 320 - plain.size.height - 65);
}

// Each rotation sizes a shown alert again on the next turn; it first takes back the growth of the
// sizing before, so a shown alert neither creeps with rotations nor measures the free screen
// against its own grown height.
TEST_F(TableAlerts, RotationsResizeAShownAlertWithoutGrowingIt)
{
    CGFloat plainButtonY = 0;
    auto plain = plainAlertFrame(plainButtonY);

    auto few = Rows::create(rowsOf(3));
    auto alert = showAlert(few);
    auto shown = alert->view().frame();
    rotateTo(uikit::UIDeviceOrientationLandscapeLeft, uikit::UIInterfaceOrientationLandscapeLeft);
    rotateTo(uikit::UIDeviceOrientationPortrait, uikit::UIInterfaceOrientationPortrait);
    rotateTo(uikit::UIDeviceOrientationLandscapeRight, uikit::UIInterfaceOrientationLandscapeRight);
    EXPECT_EQ(alert->view().frame(), shown);
    EXPECT_EQ(alert->tableView().frame().size.height, 120);
    EXPECT_EQ(alert->view().buttonAtIndex(1)->frame().origin.y, plainButtonY + 120);
    EXPECT_EQ(alert->view().buttonAtIndex(0)->frame().origin.y, plainButtonY + 120);
    alert->view().dismissWithClickedButtonIndex(0, false);

    rotateTo(uikit::UIDeviceOrientationPortrait, uikit::UIInterfaceOrientationPortrait);
    auto many = Rows::create(rowsOf(13));
    auto tall = showAlert(many, TQTableAlert::noRowLimit);
    rotateTo(uikit::UIDeviceOrientationLandscapeLeft, uikit::UIInterfaceOrientationLandscapeLeft);
    CGFloat landscapeTable = 320 - plain.size.height - 65;
    EXPECT_EQ(tall->tableView().frame().size.height, landscapeTable);
    EXPECT_EQ(tall->view().frame().size.height, plain.size.height + landscapeTable);
    EXPECT_EQ(tall->view().buttonAtIndex(1)->frame().origin.y, plainButtonY + landscapeTable);
    rotateTo(uikit::UIDeviceOrientationPortrait, uikit::UIInterfaceOrientationPortrait);
    EXPECT_EQ(tall->view().frame().size.height, 480 - 65);
}

// A tapped row of a closing table alert closes it (index -1) before the delegate hears of the
// selection, and a delegate that lets the table alert go on dismissal does not pull it from under
// the selection it is still reporting.
TEST_F(TableAlerts, SelectingARowClosesTheAlertFirstAndSurvivesADelegateThatReleasesIt)
{
    auto rows = Rows::create(rowsOf(3));
    runtime::RefPtr<TQTableAlert> alert = showAlert(rows);
    runtime::WeakPtr<TQTableAlert> watched(alert);
    rows->onDismiss = [&] { alert = nullptr; };
    auto* table = &watched.get()->tableView();
    ASSERT_TRUE(table->tapRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(1, 0)));
    EXPECT_EQ(rows->events, (std::vector<std::string> { "dismissed -1", "selected 1 after closing" }));
    EXPECT_TRUE(uikit::UIAlertView::visibleAlerts().empty());
    EXPECT_EQ(watched.get(), nullptr) << "released once the selection was told";

    auto staying = Rows::create(rowsOf(3));
    auto open = showAlert(staying);
    open->setType(TQTableAlertType::StayOpen);
    ASSERT_TRUE(open->tableView().tapRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(2, 0)));
    EXPECT_EQ(staying->events, (std::vector<std::string> { "selected 2 while shown" }));
}

// Headers come only for sections with a title; the style switches separators and shadow together.
TEST_F(TableAlerts, HeadersFollowTitlesAndStylesSwitchSeparatorsAndShadow)
{
    auto rows = Rows::create({ { 40, 40 }, { 40 } }, { std::nullopt, std::string("Background") });
    auto alert = showAlert(rows, TQTableAlert::noRowLimit);
    auto& table = alert->tableView();
    EXPECT_EQ(table.rectForHeaderInSection(0).size.height, 0);
    EXPECT_EQ(table.rectForHeaderInSection(1).size.height, 25);
    auto* header = runtime::dynamicCast<TQTableViewSectionHeaderView>(table.headerViewForSection(1));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->title(), "Background");
    EXPECT_EQ(table.frame().size.height, 3 * 40 + 25) << "a header counts in the content height";

    alert->setStyle(TQTableAlertStyle::Gradient);
    EXPECT_EQ(table.separatorStyle(), uikit::UITableViewCellSeparatorStyleNone);
    EXPECT_FALSE(alert->shadow().isHidden());
    alert->setStyle(static_cast<TQTableAlertStyle>(5));
    EXPECT_EQ(static_cast<int>(alert->style()), 5);
    EXPECT_EQ(table.alertStyle(), TQTableAlertStyle::Gradient);
    EXPECT_FALSE(alert->shadow().isHidden());
    alert->setStyle(TQTableAlertStyle::Plain);
    EXPECT_EQ(table.separatorStyle(), uikit::UITableViewCellSeparatorStyleSingleLine);
    EXPECT_TRUE(alert->shadow().isHidden());
}

// The table alert in the gradient style with three rows and a titled section: checked by eye (the
// stock alert grown under its message, a white rounded table inset 12 points on a grey gradient,
// a dark blue header band with white bold text, rows with light top and dark bottom lines, a soft
// shadow over the table's top edge, Cancel and Kill All below the table).
TEST_F(TableAlerts, GradientTableAlertMatchesItsReference)
{
    auto rows = Rows::create({ { 40, 40, 40 } }, { std::string("Applications") });
    auto alert = showAlert(rows);
    alert->setStyle(TQTableAlertStyle::Gradient);
    alert->view().layoutIfNeeded();
    auto check = graphics::checkAgainstReference(uikit::renderViewToImage(alert->view(), 2),
        std::filesystem::path(TORVANE_TWEAK_REFERENCES) / "TableAlertGradient.png");
    EXPECT_TRUE(check.passed) << check.message;
}

}
