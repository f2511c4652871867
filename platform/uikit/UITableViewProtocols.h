#pragma once

// The table's data source and delegate protocols, and the table's small enumerations.
//
// Both protocols are C++ interfaces (see UIOptionalOperations.h for how optional operations work):
// the data source's two required operations are pure virtual and always sent; every other
// operation is sent only when the object answers respondsToSelector: for the selector named in
// its comment, so the implementer overrides it AND registers that selector for its class. The
// table holds both objects weakly; an object set as data source or delegate that does not adopt
// the protocol is ignored (the table behaves as if none were set).

#include <foundation/NSArray.h>
#include <runtime/RefPtr.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIGeometry.h>
#include <uikit/UIView.h>

#include <optional>
#include <string>

namespace uikit {

class UITableView;
class UITableViewCell;

enum UITableViewStyle : int {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
};

enum UITableViewCellSeparatorStyle : int {
    UITableViewCellSeparatorStyleNone = 0,
    UITableViewCellSeparatorStyleSingleLine = 1,
    UITableViewCellSeparatorStyleSingleLineEtched = 2,
};

// Row animations are accepted and have no duration here: updates show at once.
enum UITableViewRowAnimation : int {
    UITableViewRowAnimationFade = 0,
    UITableViewRowAnimationRight = 1,
    UITableViewRowAnimationLeft = 2,
    UITableViewRowAnimationTop = 3,
    UITableViewRowAnimationBottom = 4,
    UITableViewRowAnimationNone = 5,
    UITableViewRowAnimationMiddle = 6,
    UITableViewRowAnimationAutomatic = 100,
};

enum UITableViewScrollPosition : int {
    UITableViewScrollPositionNone = 0,
    UITableViewScrollPositionTop = 1,
    UITableViewScrollPositionMiddle = 2,
    UITableViewScrollPositionBottom = 3,
};

enum UITableViewCellEditingStyle : int {
    UITableViewCellEditingStyleNone = 0,
    UITableViewCellEditingStyleDelete = 1,
    UITableViewCellEditingStyleInsert = 2,
};

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;

    // Required. tableView:numberOfRowsInSection:
    virtual int tableViewNumberOfRowsInSection(UITableView&, int section) = 0;
    // Required. tableView:cellForRowAtIndexPath: — a nil cell is logged and shown as an empty row.
    virtual runtime::RefPtr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView&, NSIndexPath&) = 0;

    // numberOfSectionsInTableView: (1 when not taken)
    virtual int numberOfSectionsInTableView(UITableView&) { return 1; }
    // tableView:titleForHeaderInSection:
    virtual std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int /*section*/) { return std::nullopt; }
    // tableView:titleForFooterInSection:
    virtual std::optional<std::string> tableViewTitleForFooterInSection(UITableView&, int /*section*/) { return std::nullopt; }
    // sectionIndexTitlesForTableView: — an array of strings shown down the right edge.
    virtual runtime::RefPtr<foundation::NSArray> sectionIndexTitlesForTableView(UITableView&) { return nullptr; }
    // tableView:sectionForSectionIndexTitle:atIndex: (the index itself when not taken)
    virtual int tableViewSectionForSectionIndexTitle(UITableView&, const std::string& /*title*/, int index) { return index; }
    // tableView:commitEditingStyle:forRowAtIndexPath:
    virtual void tableViewCommitEditingStyle(UITableView&, UITableViewCellEditingStyle, NSIndexPath&) { }
};

class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;

    // tableView:heightForRowAtIndexPath: (the table's rowHeight when not taken)
    virtual CGFloat tableViewHeightForRowAtIndexPath(UITableView&, NSIndexPath&) { return 44; }
    // tableView:heightForHeaderInSection: — taken as given, 0 included.
    virtual CGFloat tableViewHeightForHeaderInSection(UITableView&, int /*section*/) { return 0; }
    // tableView:heightForFooterInSection:
    virtual CGFloat tableViewHeightForFooterInSection(UITableView&, int /*section*/) { return 0; }
    // tableView:viewForHeaderInSection: — a view given here replaces the title's header.
    virtual runtime::RefPtr<UIView> tableViewViewForHeaderInSection(UITableView&, int /*section*/) { return nullptr; }
    // tableView:viewForFooterInSection:
    virtual runtime::RefPtr<UIView> tableViewViewForFooterInSection(UITableView&, int /*section*/) { return nullptr; }
    // tableView:willSelectRowAtIndexPath: — the row to select instead, or nil to select nothing.
    virtual runtime::RefPtr<NSIndexPath> tableViewWillSelectRowAtIndexPath(UITableView&, NSIndexPath& indexPath) { return &indexPath; }
    // tableView:didSelectRowAtIndexPath:
    virtual void tableViewDidSelectRowAtIndexPath(UITableView&, NSIndexPath&) { }
    // tableView:didDeselectRowAtIndexPath: — when a tap moves the selection to another row.
    virtual void tableViewDidDeselectRowAtIndexPath(UITableView&, NSIndexPath&) { }
};

}
