#pragma once

// A configurable data source and delegate for the table tests: rows per section, optional
// operations it takes (overridden by the subclasses, absent from the base), and a record of calls.

#include "AlertTestSupport.h"

#include <uikit/UIColor.h>
#include <uikit/UILabel.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UITableView.h>

#include <set>

namespace uikit::testing {

// A cell that writes its state changes down, so tests can see the order of highlight and selection.
class RecordingCell : public UITableViewCell {
    TORVANE_OBJECT(RecordingCell, UITableViewCell)
public:
    static runtime::Ref<RecordingCell> create(std::string identifier)
    {
        return runtime::adoptRef(*new RecordingCell(std::move(identifier)));
    }
    using UITableViewCell::setHighlighted;
    using UITableViewCell::setSelected;
    void setHighlighted(bool highlighted, bool animated) override
    {
        if (highlighted != isHighlighted() && log)
            log->add(highlighted ? "highlighted" : "unhighlighted");
        UITableViewCell::setHighlighted(highlighted, animated);
    }
    void setSelected(bool selected, bool animated) override
    {
        if (selected != isSelected() && log)
            log->add(selected ? "selected" : "deselected");
        UITableViewCell::setSelected(selected, animated);
    }
    void willTransitionToState(unsigned state) override { transitions.push_back(state); }
    void prepareForReuse() override
    {
        UITableViewCell::prepareForReuse();
        ++reuses;
    }

    EventLog* log { nullptr };
    std::vector<unsigned> transitions;
    int reuses { 0 };

private:
    explicit RecordingCell(std::string identifier)
        : UITableViewCell(UITableViewCellStyleDefault, std::move(identifier))
    {
    }
};

// Gives the required operations only, and keeps what its subclasses are told.
class TableSource : public runtime::Object, public UITableViewDataSource, public UITableViewDelegate {
    TORVANE_OBJECT(TableSource, runtime::Object)
    TORVANE_ADOPTS(UITableViewDataSource, UITableViewDelegate)
public:
    static runtime::Ref<TableSource> create(std::vector<int> rows) { return runtime::adoptRef(*new TableSource(std::move(rows))); }

    int tableViewNumberOfRowsInSection(UITableView&, int section) override
    {
        ++rowCountQuestions;
        return section < static_cast<int>(rows.size()) ? rows[section] : 0;
    }
    runtime::RefPtr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView& table, NSIndexPath& path) override
    {
        ++cellQuestions;
        if (onCell)
            onCell(table);
        if (giveNoCell)
            return nullptr;
        runtime::RefPtr<UITableViewCell> cell = table.dequeueReusableCellWithIdentifier("Row");
        if (cell) {
            dequeued.insert(cell.get());
        } else {
            auto made = RecordingCell::create("Row");
            made->log = &log;
            made_.insert(made.ptr());
            cell = made;
        }
        cell->textLabel().setText(std::to_string(path.section()) + "." + std::to_string(path.row()));
        return cell;
    }

    std::vector<int> rows;
    std::vector<std::optional<std::string>> headers;
    std::function<void(UITableView&)> onCell;
    bool giveNoCell { false };
    bool refuseSelection { false };
    int rowCountQuestions { 0 };
    int cellQuestions { 0 };
    int heightQuestions { 0 };
    std::set<UITableViewCell*> made_;
    std::set<UITableViewCell*> dequeued;
    EventLog log;

protected:
    explicit TableSource(std::vector<int> rows)
        : rows(std::move(rows))
    {
    }
};

// Also takes sections, header titles and the selection callbacks.
class FullTableSource : public TableSource {
    TORVANE_OBJECT(FullTableSource, TableSource)
public:
    static runtime::Ref<FullTableSource> create(std::vector<int> rows) { return runtime::adoptRef(*new FullTableSource(std::move(rows))); }

    int numberOfSectionsInTableView(UITableView&) override { return static_cast<int>(rows.size()); }
    std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int section) override
    {
        return section < static_cast<int>(headers.size()) ? headers[section] : std::nullopt;
    }
    runtime::RefPtr<NSIndexPath> tableViewWillSelectRowAtIndexPath(UITableView&, NSIndexPath& path) override
    {
        log.add("will select " + std::to_string(path.row()));
        if (refuseSelection)
            return nullptr;
        return &path;
    }
    void tableViewDidSelectRowAtIndexPath(UITableView& table, NSIndexPath& path) override
    {
        auto* cell = table.cellForRowAtIndexPath(path);
        log.add("did select " + std::to_string(path.section()) + "." + std::to_string(path.row()) + (cell && cell->isSelected() ? " (selected)" : ""));
    }
    void tableViewDidDeselectRowAtIndexPath(UITableView&, NSIndexPath& path) override { log.add("did deselect " + std::to_string(path.row())); }

protected:
    explicit FullTableSource(std::vector<int> rows)
        : TableSource(std::move(rows))
    {
    }
};

// Also gives row heights: 60 for each section's first row, 30 for the others.
class SizedTableSource : public FullTableSource {
    TORVANE_OBJECT(SizedTableSource, FullTableSource)
public:
    static runtime::Ref<SizedTableSource> create(std::vector<int> rows) { return runtime::adoptRef(*new SizedTableSource(std::move(rows))); }

    CGFloat tableViewHeightForRowAtIndexPath(UITableView&, NSIndexPath& path) override
    {
        ++heightQuestions;
        return path.row() == 0 ? 60 : 30;
    }

private:
    explicit SizedTableSource(std::vector<int> rows)
        : FullTableSource(std::move(rows))
    {
    }
};

}
