#pragma once

// Internal to uikit: works out a table's layout by asking its data source and delegate for the
// counts, titles, views and heights (the rules are in UITableView.h). Building asks every section
// and row once and makes the views that show section titles; the cells are left to the table. The
// builder holds the data source and delegate while it asks, so one that lets go of itself in a
// callback is only destroyed once the layout is done.

#include <runtime/RefPtr.h>
#include <uikit/UITableViewLayout.h>

namespace uikit {

class UITableView;

class TableLayoutBuilder {
public:
    explicit TableLayoutBuilder(UITableView& table);

    UITableViewLayout build();

    // A height as the table takes it: anything negative or not finite counts as 0.
    static CGFloat saneHeight(CGFloat height);

private:
    bool dataSourceTakes(const OptionalOperation& operation) const;
    bool delegateTakes(const OptionalOperation& operation) const;
    int sectionCount() const;
    UITableViewSectionLayout buildSection(int section, CGFloat& y) const;

    UITableView& m_table;
    runtime::RefPtr<runtime::Object> m_dataSourceObject;
    runtime::RefPtr<runtime::Object> m_delegateObject;
    UITableViewDataSource* m_dataSource;
    UITableViewDelegate* m_delegate;
};

}
