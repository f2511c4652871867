#include "TableTestSupport.h"

#include <foundation/LogSink.h>
#include <uikit/UILabel.h>

using namespace uikit;
using namespace uikit::testing;

namespace {

using TableUpdates = WidgetTest;

// Deletes a row when the user commits its deletion, as an editable list does.
class DeletingSource : public FullTableSource {
    TORVANE_OBJECT(DeletingSource, FullTableSource)
public:
    static runtime::Ref<DeletingSource> create(std::vector<int> rows) { return runtime::adoptRef(*new DeletingSource(std::move(rows))); }
    void tableViewCommitEditingStyle(UITableView& table, UITableViewCellEditingStyle style, NSIndexPath& path) override
    {
        if (style != UITableViewCellEditingStyleDelete)
            return;
        rows[path.section()] -= 1;
        table.deleteRowsAtIndexPaths({ NSIndexPath::indexPathForRow(path.row(), path.section()) }, UITableViewRowAnimationFade);
    }

private:
    explicit DeletingSource(std::vector<int> rows)
        : FullTableSource(std::move(rows))
    {
    }
};

TORVANE_DEFINE_CLASS(DeletingSource)

runtime::Ref<UITableView> makeTable(runtime::Object* source)
{
    auto table = UITableView::create({ { 0, 0 }, { 320, 440 } });
    table->setDataSource(source);
    table->setDelegate(source);
    table->layoutIfNeeded();
    return table;
}

std::vector<runtime::Ref<NSIndexPath>> paths(std::initializer_list<std::pair<int, int>> rows)
{
    std::vector<runtime::Ref<NSIndexPath>> result;
    for (auto [section, row] : rows)
        result.push_back(NSIndexPath::indexPathForRow(row, section));
    return result;
}

TEST_F(TableUpdates, DeletingARowMovesTheCellsBelowItUp)
{
    auto source = FullTableSource::create({ 5 });
    auto table = makeTable(source.ptr());
    UITableViewCell* deleted = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    UITableViewCell* third = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(2, 0));
    table->selectRowAtIndexPath(NSIndexPath::indexPathForRow(3, 0).ptr(), false, UITableViewScrollPositionNone);
    int cellsAsked = source->cellQuestions;

    table->beginUpdates();
    source->rows[0] = 4;
    table->deleteRowsAtIndexPaths(paths({ { 0, 1 } }), UITableViewRowAnimationFade);
    EXPECT_EQ(table->numberOfRowsInSection(0), 5); // nothing changes before endUpdates
    table->endUpdates();

    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)), third);
    EXPECT_EQ(third->frame().origin.y, 44);
    EXPECT_EQ(deleted->superview(), nullptr);
    EXPECT_EQ(table->reusableCellCount("Row"), 1u);
    EXPECT_EQ(source->cellQuestions, cellsAsked); // the rows that stayed kept their cells
    ASSERT_TRUE(table->indexPathForSelectedRow());
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 2); // the selection moved with its row
    EXPECT_EQ(table->contentSize().height, 4 * 44);
}

TEST_F(TableUpdates, CountsThatDoNotAgreeAreLoggedAndReloaded)
{
    foundation::LogSink::clear();
    auto source = FullTableSource::create({ 5 });
    auto table = makeTable(source.ptr());
    // The data source forgot to drop the row.
    table->beginUpdates();
    table->deleteRowsAtIndexPaths(paths({ { 0, 1 } }), UITableViewRowAnimationFade);
    table->endUpdates();
    EXPECT_TRUE(foundation::LogSink::contains("UITableView: invalid update: section 0 has 5 rows after the update"));
    EXPECT_EQ(table->numberOfRowsInSection(0), 5);
    EXPECT_EQ(table->visibleCells().size(), 5u);

    // A deletion outside the rows the table had.
    foundation::LogSink::clear();
    source->rows[0] = 4;
    table->deleteRowsAtIndexPaths(paths({ { 0, 9 } }), UITableViewRowAnimationNone);
    EXPECT_TRUE(foundation::LogSink::contains("invalid update"));
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_EQ(table->visibleCells().size(), 4u);

    // A row given twice, and a section that does not exist.
    foundation::LogSink::clear();
    source->rows[0] = 2;
    table->deleteRowsAtIndexPaths(paths({ { 0, 1 }, { 0, 1 } }), UITableViewRowAnimationNone);
    EXPECT_TRUE(foundation::LogSink::contains("deleted twice"));
    foundation::LogSink::clear();
    table->deleteRowsAtIndexPaths(paths({ { 3, 0 } }), UITableViewRowAnimationNone);
    EXPECT_TRUE(foundation::LogSink::contains("section 3 does not exist"));
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
}

TEST_F(TableUpdates, ChangingTheNumberOfSectionsInARowUpdateIsRefused)
{
    foundation::LogSink::clear();
    auto source = FullTableSource::create({ 2, 2 });
    auto table = makeTable(source.ptr());
    source->rows = { 1 };
    table->deleteRowsAtIndexPaths(paths({ { 0, 0 } }), UITableViewRowAnimationNone);
    EXPECT_TRUE(foundation::LogSink::contains("number of sections changed from 2 to 1"));
    EXPECT_EQ(table->numberOfSections(), 1);
}

TEST_F(TableUpdates, NestedUpdatesApplyOnceAtTheOutermostEnd)
{
    auto source = FullTableSource::create({ 4, 3 });
    auto table = makeTable(source.ptr());
    UITableViewCell* lastOfFirst = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(3, 0));
    table->beginUpdates();
    table->beginUpdates();
    table->deleteRowsAtIndexPaths(paths({ { 0, 0 }, { 1, 2 } }), UITableViewRowAnimationNone);
    table->endUpdates();
    source->rows = { 3, 3 };
    table->insertRowsAtIndexPaths(paths({ { 1, 0 } }), UITableViewRowAnimationNone);
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    table->endUpdates();
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table->numberOfRowsInSection(1), 3);
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(2, 0)), lastOfFirst);
    // The inserted row got a fresh cell for its new content.
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1))->textLabel().text(), "1.0");
}

TEST_F(TableUpdates, CommittingADeletionGoesToTheSourceThatTakesIt)
{
    auto source = DeletingSource::create({ 3 });
    auto table = makeTable(source.ptr());
    table->setEditing(true);
    EXPECT_TRUE(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0))->isEditing());
    EXPECT_TRUE(table->commitEditingStyleForRowAtIndexPath(UITableViewCellEditingStyleDelete, NSIndexPath::indexPathForRow(1, 0)));
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_FALSE(table->commitEditingStyleForRowAtIndexPath(UITableViewCellEditingStyleDelete, NSIndexPath::indexPathForRow(5, 0)));

    auto plain = FullTableSource::create({ 3 });
    auto other = makeTable(plain.ptr());
    EXPECT_FALSE(other->commitEditingStyleForRowAtIndexPath(UITableViewCellEditingStyleDelete, NSIndexPath::indexPathForRow(1, 0)));
    EXPECT_EQ(other->numberOfRowsInSection(0), 3);
}

TEST_F(TableUpdates, AnUnbalancedEndIsIgnored)
{
    foundation::LogSink::clear();
    auto source = FullTableSource::create({ 2 });
    auto table = makeTable(source.ptr());
    table->endUpdates();
    EXPECT_TRUE(foundation::LogSink::contains("endUpdates without beginUpdates"));
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
}

}
