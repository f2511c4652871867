// What a long list costs: reloading a table of fifty sections of twenty rows (every optional
// operation of both protocols is asked about per section), and scrolling it a row at a time as a
// finger drags (cells leave, are reused and configured).

#include <uikit/UILabel.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UITableView.h>

#include <benchmark/benchmark.h>

#include <string>

using namespace uikit;

namespace {

class ListSource : public runtime::Object, public UITableViewDataSource, public UITableViewDelegate {
    TORVANE_OBJECT(ListSource, runtime::Object)
    TORVANE_ADOPTS(UITableViewDataSource, UITableViewDelegate)
public:
    static runtime::Ref<ListSource> create() { return runtime::adoptRef(*new ListSource); }
    int numberOfSectionsInTableView(UITableView&) override { return 50; }
    int tableViewNumberOfRowsInSection(UITableView&, int) override { return 20; }
    runtime::RefPtr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView& table, NSIndexPath& path) override
    {
        runtime::RefPtr<UITableViewCell> cell = table.dequeueReusableCellWithIdentifier("Row");
        if (!cell)
            cell = UITableViewCell::create(UITableViewCellStyleDefault, "Row");
        cell->textLabel().setText(std::to_string(path.row()));
        return cell;
    }
    std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int section) override { return std::to_string(section); }
    CGFloat tableViewHeightForRowAtIndexPath(UITableView&, NSIndexPath&) override { return 44; }

private:
    ListSource() = default;
};

TORVANE_DEFINE_CLASS(ListSource)

runtime::Ref<UITableView> longTable(ListSource& source)
{
    auto table = UITableView::create({ { 0, 0 }, { 320, 460 } });
    table->setDataSource(&source);
    table->setDelegate(&source);
    table->layoutIfNeeded();
    return table;
}

void BM_ReloadFiftySections(benchmark::State& state)
{
    auto source = ListSource::create();
    auto table = longTable(source);
    for (auto _ : state)
        table->reloadData();
}
BENCHMARK(BM_ReloadFiftySections);

void BM_ScrollARowAtATime(benchmark::State& state)
{
    auto source = ListSource::create();
    auto table = longTable(source);
    CGFloat end = table->contentSize().height - table->bounds().size.height;
    CGFloat y = 0;
    for (auto _ : state) {
        y = y + 44 > end ? 0 : y + 44;
        table->setContentOffset({ 0, y });
    }
}
BENCHMARK(BM_ScrollARowAtATime);

}
