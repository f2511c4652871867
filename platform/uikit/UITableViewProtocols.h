#pragma once

// The table's data source and delegate protocols, and the table's small enumerations.
//
// Both protocols are C++ interfaces (see UIOptionalOperations.h for how optional operations work):
// the data source's two required operations are pure virtual and always sent; every other
// operation is sent only when the object takes the OptionalOperation named in its comment (the
// constants follow each protocol), so the implementer overrides it AND registers that operation
// for its class. The table holds both objects weakly; an object set as data source or delegate
// that does not adopt the protocol is ignored (the table behaves as if none were set).

#include <foundation/NSArray.h>
#include <runtime/RefPtr.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIGeometry.h>
#include <uikit/UIOptionalOperations.h>
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

    // numberOfSections (1 when not taken)
    virtual int numberOfSectionsInTableView(UITableView&) { return 1; }
    // titleForHeader
    virtual std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int /*section*/) { return std::nullopt; }
    // titleForFooter
    virtual std::optional<std::string> tableViewTitleForFooterInSection(UITableView&, int /*section*/) { return std::nullopt; }
    // sectionIndexTitles — an array of strings shown down the right edge.
    virtual runtime::RefPtr<foundation::NSArray> sectionIndexTitlesForTableView(UITableView&) { return nullptr; }
    // sectionForSectionIndexTitle (the index itself when not taken)
    virtual int tableViewSectionForSectionIndexTitle(UITableView&, const std::string& /*title*/, int index) { return index; }
    // commitEditingStyle
    virtual void tableViewCommitEditingStyle(UITableView&, UITableViewCellEditingStyle, NSIndexPath&) { }
};

// The data source's optional operations.
namespace TableViewDataSource {
inline constinit const OptionalOperation numberOfSections { "numberOfSectionsInTableView:" };
inline constinit const OptionalOperation titleForHeader { "tableView:titleForHeaderInSection:" };
inline constinit const OptionalOperation titleForFooter { "tableView:titleForFooterInSection:" };
inline constinit const OptionalOperation sectionIndexTitles { "sectionIndexTitlesForTableView:" };
inline constinit const OptionalOperation sectionForSectionIndexTitle { "tableView:sectionForSectionIndexTitle:atIndex:" };
inline constinit const OptionalOperation commitEditingStyle { "tableView:commitEditingStyle:forRowAtIndexPath:" };
}

class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;

    // heightForRow (the table's rowHeight when not taken)
    virtual CGFloat tableViewHeightForRowAtIndexPath(UITableView&, NSIndexPath&) { return 44; }
    // heightForHeader — taken as given, 0 included.
    virtual CGFloat tableViewHeightForHeaderInSection(UITableView&, int /*section*/) { return 0; }
    // heightForFooter
    virtual CGFloat tableViewHeightForFooterInSection(UITableView&, int /*section*/) { return 0; }
    // viewForHeader — a view given here replaces the title's header.
    virtual runtime::RefPtr<UIView> tableViewViewForHeaderInSection(UITableView&, int /*section*/) { return nullptr; }
    // viewForFooter
    virtual runtime::RefPtr<UIView> tableViewViewForFooterInSection(UITableView&, int /*section*/) { return nullptr; }
    // willSelectRow — the row to select instead, or nil to select nothing.
    virtual runtime::RefPtr<NSIndexPath> tableViewWillSelectRowAtIndexPath(UITableView&, NSIndexPath& indexPath) { return &indexPath; }
    // didSelectRow
    virtual void tableViewDidSelectRowAtIndexPath(UITableView&, NSIndexPath&) { }
    // didDeselectRow — when a tap moves the selection to another row.
    virtual void tableViewDidDeselectRowAtIndexPath(UITableView&, NSIndexPath&) { }
};

// The delegate's operations, all optional.
namespace TableViewDelegate {
inline constinit const OptionalOperation heightForRow { "tableView:heightForRowAtIndexPath:" };
inline constinit const OptionalOperation heightForHeader { "tableView:heightForHeaderInSection:" };
inline constinit const OptionalOperation heightForFooter { "tableView:heightForFooterInSection:" };
inline constinit const OptionalOperation viewForHeader { "tableView:viewForHeaderInSection:" };
inline constinit const OptionalOperation viewForFooter { "tableView:viewForFooterInSection:" };
inline constinit const OptionalOperation willSelectRow { "tableView:willSelectRowAtIndexPath:" };
inline constinit const OptionalOperation didSelectRow { "tableView:didSelectRowAtIndexPath:" };
inline constinit const OptionalOperation didDeselectRow { "tableView:didDeselectRowAtIndexPath:" };
}

}
