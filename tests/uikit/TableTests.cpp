#include "TableTestSupport.h"

#include <foundation/LogSink.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/ViewRendering.h>

using namespace uikit;
using namespace uikit::testing;

namespace {

// Headers the way an alert's embedded table makes them: a view of its own, 25 points high, for
// sections with a title, and no header at all for the others.
class HeaderViewSource : public FullTableSource {
    TORVANE_OBJECT(HeaderViewSource, FullTableSource)
public:
    static runtime::Ref<HeaderViewSource> create(std::vector<int> rows) { return runtime::adoptRef(*new HeaderViewSource(std::move(rows))); }
    runtime::RefPtr<UIView> tableViewViewForHeaderInSection(UITableView& table, int section) override
    {
        auto title = tableViewTitleForHeaderInSection(table, section);
        if (!title)
            return nullptr;
        auto view = UIView::create();
        view->setTag(100 + section);
        return view;
    }
    CGFloat tableViewHeightForHeaderInSection(UITableView& table, int section) override
    {
        return tableViewViewForHeaderInSection(table, section) ? 25 : 0;
    }
    std::optional<std::string> tableViewTitleForFooterInSection(UITableView&, int section) override
    {
        return section == 1 ? std::optional<std::string>("The end of the list, told in words long enough to wrap onto a second line")
                            : std::nullopt;
    }

private:
    explicit HeaderViewSource(std::vector<int> rows)
        : FullTableSource(std::move(rows))
    {
    }
};

TORVANE_DEFINE_CLASS(HeaderViewSource)

// A screen's data source that closes the screen, and so lets go of itself, from inside the first
// question about a section's rows; it writes down what it is asked and when it goes.
class ClosingSource : public runtime::Object, public UITableViewDataSource {
    TORVANE_OBJECT(ClosingSource, runtime::Object)
    TORVANE_ADOPTS(UITableViewDataSource)
public:
    static runtime::Ref<ClosingSource> create(EventLog& log) { return runtime::adoptRef(*new ClosingSource(log)); }
    ~ClosingSource() override { m_log.add("destroyed"); }

    int numberOfSectionsInTableView(UITableView&) override { return 2; }
    int tableViewNumberOfRowsInSection(UITableView&, int section) override
    {
        m_log.add("rows " + std::to_string(section));
        if (onRows)
            std::exchange(onRows, nullptr)();
        return 3;
    }
    std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int section) override
    {
        m_log.add("title " + std::to_string(section));
        return std::string("Section");
    }
    runtime::RefPtr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView&, NSIndexPath&) override { return nullptr; }

    std::function<void()> onRows;

private:
    explicit ClosingSource(EventLog& log)
        : m_log(log)
    {
    }
    EventLog& m_log;
};

TORVANE_DEFINE_CLASS(ClosingSource)

using TableReuse = WidgetTest;
using TableGeometry = WidgetTest;
using TableOptionalOperations = WidgetTest;
using TableSelection = WidgetTest;
using TableCells = WidgetTest;

runtime::Ref<UITableView> makeTable(runtime::Object* source, UITableViewStyle style = UITableViewStylePlain, CGFloat height = 440)
{
    auto table = UITableView::create({ { 0, 0 }, { 320, height } }, style);
    table->setDataSource(source);
    table->setDelegate(source);
    table->layoutIfNeeded();
    return table;
}

TEST_F(TableReuse, ScrollingHandsBackCellsThatLeftTheScreen)
{
    auto source = FullTableSource::create({ 100 });
    auto table = makeTable(source.ptr());
    ASSERT_EQ(table->visibleCells().size(), 10u); // 440 / 44
    std::set<UITableViewCell*> first;
    for (auto& cell : table->visibleCells())
        first.insert(cell.ptr());
    size_t made = source->made_.size();

    table->setContentOffset({ 0, 44 * 20 });
    auto paths = table->indexPathsForVisibleRows();
    ASSERT_EQ(paths.size(), 10u);
    EXPECT_EQ(paths.front()->row(), 20);
    EXPECT_EQ(source->made_.size(), made); // every new row got an old cell
    for (auto& cell : table->visibleCells())
        EXPECT_TRUE(first.count(cell.ptr())) << "a cell that never was on screen before";
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(20, 0))->textLabel().text(), "0.20");
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)), nullptr);
}

TEST_F(TableReuse, ReloadDataReusesTheCellsItShowed)
{
    auto source = FullTableSource::create({ 5 });
    auto table = makeTable(source.ptr());
    auto before = table->visibleCells();
    ASSERT_EQ(before.size(), 5u);
    static_cast<RecordingCell&>(before[2].get()).setSelected(true);

    table->reloadData();
    auto after = table->visibleCells();
    ASSERT_EQ(after.size(), 5u);
    EXPECT_EQ(source->made_.size(), 5u);
    EXPECT_EQ(source->dequeued.size(), 5u);
    for (auto& cell : after) {
        auto& recording = static_cast<RecordingCell&>(cell.get());
        EXPECT_EQ(recording.reuses, 1);
        EXPECT_FALSE(recording.isSelected()); // prepareForReuse cleared it
    }
}

TEST_F(TableReuse, CellsWithoutAnIdentifierAreNotQueued)
{
    auto source = FullTableSource::create({ 3 });
    auto table = makeTable(source.ptr());
    EXPECT_EQ(table->reusableCellCount("Row"), 0u);
    table->reloadData();
    table->setDataSource(nullptr);
    table->reloadData();
    EXPECT_EQ(table->reusableCellCount("Row"), 3u);
    EXPECT_EQ(table->reusableCellCount(""), 0u);
    EXPECT_TRUE(table->dequeueReusableCellWithIdentifier("Row"));
    EXPECT_EQ(table->reusableCellCount("Row"), 2u);
    EXPECT_FALSE(table->dequeueReusableCellWithIdentifier("Other"));
}

TEST_F(TableGeometry, FindsRowsBetweenPlainHeaders)
{
    auto source = FullTableSource::create({ 3, 2 });
    source->headers = { std::string("A"), std::string("B") };
    auto table = makeTable(source.ptr());
    // Section 0: header 0-22, rows 22-154; section 1: header 154-176, rows 176-264.
    EXPECT_FALSE(table->indexPathForRowAtPoint({ 100, 10 }));
    auto first = table->indexPathForRowAtPoint({ 100, 23 });
    ASSERT_TRUE(first);
    EXPECT_EQ(first->section(), 0);
    EXPECT_EQ(first->row(), 0);
    auto third = table->indexPathForRowAtPoint({ 100, 153 });
    ASSERT_TRUE(third);
    EXPECT_EQ(third->row(), 2);
    EXPECT_FALSE(table->indexPathForRowAtPoint({ 100, 160 }));
    auto later = table->indexPathForRowAtPoint({ 100, 176 + 44 + 1 });
    ASSERT_TRUE(later);
    EXPECT_EQ(later->section(), 1);
    EXPECT_EQ(later->row(), 1);
    EXPECT_FALSE(table->indexPathForRowAtPoint({ 100, 264 }));
    EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 1)), CGRectMake(0, 220, 320, 44));
    EXPECT_EQ(table->contentSize(), CGSizeMake(320, 264));
    ASSERT_NE(table->headerViewForSection(1), nullptr);
    EXPECT_EQ(table->headerViewForSection(1)->frame(), CGRectMake(0, 154, 320, 22));
}

TEST_F(TableGeometry, FindsRowsInsideGroupsButNotInTheirSpacingOrMargins)
{
    auto source = FullTableSource::create({ 2, 1 });
    auto table = makeTable(source.ptr(), UITableViewStyleGrouped);
    // Header 10, rows 10-98, footer 98-108; header 108-118, row 118-162, footer to 172.
    EXPECT_FALSE(table->indexPathForRowAtPoint({ 160, 5 }));
    auto row = table->indexPathForRowAtPoint({ 160, 60 });
    ASSERT_TRUE(row);
    EXPECT_EQ(row->row(), 1);
    EXPECT_FALSE(table->indexPathForRowAtPoint({ 5, 60 })); // left of the group
    EXPECT_FALSE(table->indexPathForRowAtPoint({ 315, 60 })); // right of it
    EXPECT_FALSE(table->indexPathForRowAtPoint({ 160, 110 })); // between the groups
    auto second = table->indexPathForRowAtPoint({ 160, 120 });
    ASSERT_TRUE(second);
    EXPECT_EQ(second->section(), 1);
    EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1)), CGRectMake(10, 118, 300, 44));
    EXPECT_EQ(table->contentSize().height, 172);
}

TEST_F(TableGeometry, TheDelegatesHeaderViewsAndHeightsAreUsedAsGiven)
{
    auto source = HeaderViewSource::create({ 2, 2 });
    source->headers = { std::nullopt, std::string("Running") };
    auto table = makeTable(source.ptr());
    EXPECT_EQ(table->rectForHeaderInSection(0).size.height, 0);
    EXPECT_EQ(table->headerViewForSection(0), nullptr);
    EXPECT_EQ(table->rectForHeaderInSection(1), CGRectMake(0, 88, 320, 25));
    UIView* header = table->headerViewForSection(1);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->tag(), 101);
    EXPECT_EQ(header->superview(), table.ptr());
    EXPECT_EQ(header->frame(), CGRectMake(0, 88, 320, 25));
    // A plain footer title is one 22-point bar.
    EXPECT_EQ(table->rectForFooterInSection(1).size.height, 22);
    EXPECT_EQ(table->contentSize().height, 88 + 25 + 88 + 22);

    // Grouped footers wrap their text and grow with it.
    auto grouped = makeTable(source.ptr(), UITableViewStyleGrouped);
    EXPECT_GT(grouped->rectForFooterInSection(1).size.height, 40);
    EXPECT_EQ(grouped->rectForFooterInSection(0).size.height, 10);
}

TEST_F(TableGeometry, TheBackgroundViewStaysPutWhileTheRowsScroll)
{
    auto source = FullTableSource::create({ 30 });
    auto table = makeTable(source.ptr());
    auto backdrop = UIView::create();
    table->setBackgroundView(backdrop);
    table->setContentOffset({ 0, 200 });
    EXPECT_EQ(backdrop->frame(), CGRectMake(0, 200, 320, 440));
    EXPECT_EQ(table->subviews().front().ptr(), backdrop.ptr());
}

TEST_F(TableGeometry, PlainHeadersStayOnTopWhileTheirSectionScrolls)
{
    auto source = FullTableSource::create({ 10, 10 });
    source->headers = { std::string("A"), std::string("B") };
    auto table = makeTable(source.ptr(), UITableViewStylePlain, 200);
    UIView* first = table->headerViewForSection(0);
    UIView* second = table->headerViewForSection(1);
    ASSERT_TRUE(first && second);
    table->setContentOffset({ 0, 100 });
    EXPECT_EQ(first->frame().origin.y, 100);
    EXPECT_EQ(second->frame().origin.y, 22 + 440);
    // The second header pushes the first one up as it arrives.
    table->setContentOffset({ 0, 22 + 440 - 10 });
    EXPECT_EQ(first->frame().origin.y, 440);
    EXPECT_EQ(second->frame().origin.y, 22 + 440);
    table->setContentOffset({ 0, 600 });
    EXPECT_EQ(second->frame().origin.y, 600);
    EXPECT_EQ(table->rectForHeaderInSection(1).origin.y, 22 + 440);

    // A tap on the floating header selects nothing under it.
    window().addSubview(table);
    window().injectTouch(UITouchPhaseBegan, { 100, 10 });
    window().injectTouch(UITouchPhaseEnded, { 100, 10 });
    EXPECT_FALSE(table->indexPathForSelectedRow());
    window().injectTouch(UITouchPhaseBegan, { 100, 40 });
    window().injectTouch(UITouchPhaseEnded, { 100, 40 });
    ASSERT_TRUE(table->indexPathForSelectedRow());
    EXPECT_EQ(table->indexPathForSelectedRow()->section(), 1);
}

TEST_F(TableGeometry, ScrolledPointsAreContentPoints)
{
    auto source = FullTableSource::create({ 40 });
    auto table = makeTable(source.ptr());
    table->setContentOffset({ 0, 440 });
    auto row = table->indexPathForRowAtPoint({ 10, 445 });
    ASSERT_TRUE(row);
    EXPECT_EQ(row->row(), 10);
    table->scrollToRowAtIndexPath(NSIndexPath::indexPathForRow(39, 0), UITableViewScrollPositionTop, false);
    // Cannot scroll past the end of the content.
    EXPECT_EQ(table->contentOffset().y, 40 * 44 - 440);
}

TEST_F(TableOptionalOperations, AreAskedOnlyWhenTheSourceResponds)
{
    // The bare source overrides no optional operation; the sized one overrides them all.
    auto bare = TableSource::create({ 4, 4, 4 });
    bare->headers = { std::string("A") };
    auto table = makeTable(bare.ptr());
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_EQ(table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)).size.height, 44);
    EXPECT_EQ(table->headerViewForSection(0), nullptr);
    EXPECT_EQ(bare->heightQuestions, 0);

    auto sized = SizedTableSource::create({ 4, 4, 4 });
    auto other = makeTable(sized.ptr());
    EXPECT_EQ(other->numberOfSections(), 3);
    EXPECT_EQ(other->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)).size.height, 60);
    EXPECT_EQ(other->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)).size.height, 30);
    EXPECT_EQ(sized->heightQuestions, 12);
}

TEST_F(TableOptionalOperations, AskForCellsOfVisibleRowsOnly)
{
    auto source = FullTableSource::create({ 1000 });
    auto table = makeTable(source.ptr());
    EXPECT_EQ(source->cellQuestions, 10);
    EXPECT_EQ(table->contentSize().height, 44000);
}

TEST_F(TableOptionalOperations, ANilCellIsLoggedAndShownEmpty)
{
    foundation::LogSink::clear();
    auto source = FullTableSource::create({ 2 });
    source->giveNoCell = true;
    auto table = makeTable(source.ptr());
    EXPECT_EQ(table->visibleCells().size(), 2u);
    EXPECT_TRUE(foundation::LogSink::contains("gave no cell"));
}

TEST_F(TableOptionalOperations, AReloadAskedForInsideACellCallbackRunsAfterThePass)
{
    auto source = FullTableSource::create({ 6 });
    bool reloaded = false;
    source->onCell = [&](UITableView& table) {
        if (reloaded)
            return;
        reloaded = true;
        source->rows[0] = 3;
        table.reloadData();
    };
    auto table = makeTable(source.ptr());
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table->visibleCells().size(), 3u);
    for (auto& cell : table->visibleCells())
        EXPECT_EQ(cell->superview(), table.ptr());
}

TEST_F(TableOptionalOperations, SourcesAreNotOwned)
{
    auto table = UITableView::create({ { 0, 0 }, { 320, 440 } });
    {
        auto source = FullTableSource::create({ 3 });
        table->setDataSource(source.ptr());
        table->setDelegate(source.ptr());
        table->layoutIfNeeded();
        EXPECT_EQ(table->visibleCells().size(), 3u);
    }
    EXPECT_EQ(table->dataSource(), nullptr);
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 0);
    EXPECT_TRUE(table->visibleCells().empty());
}

TEST_F(TableOptionalOperations, ASourceThatLetsGoOfItselfWhileAskedIsKeptUntilTheLayoutIsDone)
{
    EventLog log;
    runtime::RefPtr<ClosingSource> screen = ClosingSource::create(log);
    screen->onRows = [&] { screen = nullptr; };
    auto table = UITableView::create({ { 0, 0 }, { 320, 440 } });
    table->setDataSource(screen.get());
    table->layoutIfNeeded();
    EXPECT_EQ(log.events, (std::vector<std::string> { "rows 0", "title 0", "rows 1", "title 1", "destroyed" }));
    EXPECT_EQ(table->dataSource(), nullptr);
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(1), 3);
}

TEST_F(TableOptionalOperations, AreAnsweredUnderTheirObjectiveCNames)
{
    // What a hook installed by selector name finds must be what the table asks about.
    auto source = FullTableSource::create({ 1 });
    EXPECT_EQ(TableViewDelegate::didSelectRow.selector(), runtime::sel("tableView:didSelectRowAtIndexPath:"));
    EXPECT_TRUE(source->respondsToSelector(runtime::sel("tableView:didSelectRowAtIndexPath:")));
    EXPECT_FALSE(source->respondsToSelector(runtime::sel("tableView:heightForRowAtIndexPath:")));
}

TEST_F(TableSelection, ATapHighlightsThenSelectsThenTellsTheDelegate)
{
    auto source = FullTableSource::create({ 5 });
    auto table = makeTable(source.ptr());
    window().addSubview(table);
    ASSERT_TRUE(table->tapRowAtIndexPath(NSIndexPath::indexPathForRow(2, 0)));
    EXPECT_EQ(source->log.events,
        (std::vector<std::string> { "highlighted", "will select 2", "selected", "unhighlighted", "did select 0.2 (selected)" }));
    ASSERT_TRUE(table->indexPathForSelectedRow());
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 2);

    // Another tap moves the selection.
    source->log.clear();
    ASSERT_TRUE(table->tapRowAtIndexPath(NSIndexPath::indexPathForRow(4, 0)));
    EXPECT_EQ(source->log.events, (std::vector<std::string> { "highlighted", "will select 4", "deselected", "did deselect 2",
                                      "selected", "unhighlighted", "did select 0.4 (selected)" }));

    table->deselectRowAtIndexPath(NSIndexPath::indexPathForRow(4, 0), true);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(4, 0))->isSelected());
}

TEST_F(TableSelection, WillSelectMayRefuse)
{
    auto source = FullTableSource::create({ 5 });
    source->refuseSelection = true;
    auto table = makeTable(source.ptr());
    window().addSubview(table);
    ASSERT_TRUE(table->tapRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)));
    EXPECT_EQ(source->log.events, (std::vector<std::string> { "highlighted", "will select 1", "unhighlighted" }));
    EXPECT_FALSE(table->indexPathForSelectedRow());
}

TEST_F(TableSelection, ADragScrollsAndSelectsNothing)
{
    auto source = FullTableSource::create({ 50 });
    auto table = makeTable(source.ptr());
    window().addSubview(table);
    window().injectTouch(UITouchPhaseBegan, { 100, 300 });
    window().injectTouch(UITouchPhaseMoved, { 100, 200 });
    window().injectTouch(UITouchPhaseEnded, { 100, 200 });
    EXPECT_EQ(table->contentOffset().y, 100);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_EQ(source->log.events, (std::vector<std::string> { "highlighted", "unhighlighted" }));

    // Dragging past the end stops at the end; with scrolling off nothing moves.
    window().injectTouch(UITouchPhaseBegan, { 100, 400 });
    window().injectTouch(UITouchPhaseMoved, { 100, -5000 });
    window().injectTouch(UITouchPhaseEnded, { 100, -5000 });
    EXPECT_EQ(table->contentOffset().y, 50 * 44 - 440);
    table->setContentOffset({ 0, 0 });
    table->setScrollEnabled(false);
    window().injectTouch(UITouchPhaseBegan, { 100, 300 });
    window().injectTouch(UITouchPhaseMoved, { 100, 100 });
    window().injectTouch(UITouchPhaseEnded, { 100, 100 });
    EXPECT_EQ(table->contentOffset().y, 0);
}

TEST_F(TableCells, StylesHaveTheirLabels)
{
    auto plain = UITableViewCell::create(UITableViewCellStyleDefault, "a");
    EXPECT_EQ(plain->detailTextLabel(), nullptr);
    EXPECT_EQ(plain->reuseIdentifier(), "a");
    for (auto style : { UITableViewCellStyleValue1, UITableViewCellStyleValue2, UITableViewCellStyleSubtitle }) {
        auto cell = UITableViewCell::create(style);
        ASSERT_NE(cell->detailTextLabel(), nullptr);
        cell->textLabel().setText("Title");
        cell->detailTextLabel()->setText("Detail");
        cell->setFrame({ { 0, 0 }, { 320, 44 } });
        cell->layoutIfNeeded();
        CGRect text = cell->textLabel().frame();
        CGRect detail = cell->detailTextLabel()->frame();
        EXPECT_TRUE(CGRectIsEmpty(CGRectIntersection(text, detail))) << "style " << style;
        EXPECT_TRUE(cell->textLabel().isDescendantOfView(&cell->contentView()));
    }
}

TEST_F(TableCells, EditingTellsTheCellItsNewStateAndMovesItsContent)
{
    auto cell = RecordingCell::create("x");
    cell->setFrame({ { 0, 0 }, { 320, 44 } });
    cell->layoutIfNeeded();
    CGFloat x = cell->contentView().frame().origin.x;
    cell->setEditing(true, false);
    cell->setEditing(true, false); // no change, no transition
    ASSERT_EQ(cell->transitions.size(), 1u);
    EXPECT_EQ(cell->transitions[0], UITableViewCellStateShowingEditControlMask);
    EXPECT_GT(cell->contentView().frame().origin.x, x);
    cell->setEditing(false, false);
    EXPECT_EQ(cell->transitions.back(), UITableViewCellStateDefaultMask);
    EXPECT_EQ(cell->contentView().frame().origin.x, x);
}

TEST_F(TableCells, TheCheckmarkIsDrawnAndTurnsWhiteWhenSelected)
{
    auto cell = UITableViewCell::create(UITableViewCellStyleDefault, "c");
    cell->setFrame({ { 0, 0 }, { 320, 44 } });
    cell->setAccessoryType(UITableViewCellAccessoryCheckmark);
    cell->layoutIfNeeded();
    auto countInk = [&](bool blue) {
        auto image = renderViewToImage(*cell, 1);
        int count = 0;
        for (int y = 0; y < 44; ++y) {
            for (int x = 280; x < 320; ++x) {
                auto p = image.pixelAt(x, y);
                if (blue ? (p.blue > p.red + 60) : (p.red > 240 && p.green > 240 && p.blue > 240))
                    ++count;
            }
        }
        return count;
    };
    EXPECT_GT(countInk(true), 5);
    cell->setSelected(true);
    // On the blue selection the tick is white (and the blue ink is the selection itself).
    auto image = renderViewToImage(*cell, 1);
    int white = 0;
    for (int y = 0; y < 44; ++y) {
        for (int x = 280; x < 320; ++x) {
            auto p = image.pixelAt(x, y);
            white += p.red > 230 && p.green > 230 && p.blue > 230;
        }
    }
    EXPECT_GT(white, 5);
    EXPECT_LT(image.pixelAt(100, 22).red, 60); // blue selection behind the row
}

TEST_F(TableCells, PlainRowsDrawASeparatorAlongTheirBottom)
{
    auto source = FullTableSource::create({ 2 });
    auto table = makeTable(source.ptr(), UITableViewStylePlain, 200);
    table->setSeparatorColor(UIColor::redColor());
    auto image = renderViewToImage(*table, 1);
    auto line = image.pixelAt(160, 43);
    EXPECT_GT(line.red, 200);
    EXPECT_LT(line.green, 60);
    EXPECT_GT(image.pixelAt(160, 20).green, 200); // white row
    // Empty rows below the last one continue the lines.
    EXPECT_GT(image.pixelAt(160, 88 + 43).red, 200);
    EXPECT_LT(image.pixelAt(160, 88 + 43).green, 60);

    table->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    image = renderViewToImage(*table, 1);
    EXPECT_GT(image.pixelAt(160, 43).green, 200);
    EXPECT_GT(image.pixelAt(160, 88 + 43).green, 200);
}

}
