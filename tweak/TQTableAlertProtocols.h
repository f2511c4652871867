#pragma once

// The table alert's data source and delegate. Both are C++ interfaces in the manner of the table's
// own protocols (see uikit/UIOptionalOperations.h): the data source's two required operations are
// pure virtual and always sent; every other operation is sent only when the object takes the
// OptionalOperation named beside it, so an implementer overrides it AND registers it for its class.
// The table alert holds both weakly.

#include <runtime/RefPtr.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIGeometry.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UITableViewCell.h>

#include <optional>
#include <string>

namespace tweak {

class TQTableAlert;

class TQTableAlertDataSource {
public:
    virtual ~TQTableAlertDataSource() = default;

    // Required. tableAlert:cellForRowAtIndexPath:
    virtual runtime::RefPtr<uikit::UITableViewCell> tableAlertCellForRowAtIndexPath(TQTableAlert&, uikit::NSIndexPath&) = 0;
    // Required. tableAlert:numberOfRowsInSection:
    virtual int tableAlertNumberOfRowsInSection(TQTableAlert&, int section) = 0;

    // numberOfSections (1 when not taken)
    virtual int numberOfSectionsInTableAlert(TQTableAlert&) { return 1; }
    // titleForHeader — no header for a section without a title.
    virtual std::optional<std::string> tableAlertTitleForHeaderInSection(TQTableAlert&, int /*section*/) { return std::nullopt; }
};

namespace TableAlertDataSource {
inline constinit const uikit::OptionalOperation numberOfSections { "numberOfSectionsInTableAlert:" };
inline constinit const uikit::OptionalOperation titleForHeader { "tableAlert:titleForHeaderInSection:" };
}

class TQTableAlertDelegate {
public:
    virtual ~TQTableAlertDelegate() = default;

    // heightForRow (the table alert's rowHeight when not taken)
    virtual uikit::CGFloat tableAlertHeightForRowAtIndexPath(TQTableAlert&, uikit::NSIndexPath&) { return 40; }
    // didSelectRow — after the alert closed, for a table alert that closes on selection.
    virtual void tableAlertDidSelectRowAtIndexPath(TQTableAlert&, uikit::NSIndexPath&) { }
    // cancel — the system took the alert away.
    virtual void tableAlertCancel(TQTableAlert&) { }
    // clickedButton — 0 is the cancel button, 1 "Kill All".
    virtual void tableAlertClickedButtonAtIndex(TQTableAlert&, int /*buttonIndex*/) { }
    virtual void willPresentTableAlert(TQTableAlert&) { }
    virtual void didPresentTableAlert(TQTableAlert&) { }
    virtual void tableAlertWillDismissWithButtonIndex(TQTableAlert&, int /*buttonIndex*/) { }
    // didDismiss — the last thing the table alert does in that callback, so the delegate may release
    // the table alert here.
    virtual void tableAlertDidDismissWithButtonIndex(TQTableAlert&, int /*buttonIndex*/) { }
};

// The delegate's operations, all optional.
namespace TableAlertDelegate {
inline constinit const uikit::OptionalOperation heightForRow { "tableAlert:heightForRowAtIndexPath:" };
inline constinit const uikit::OptionalOperation didSelectRow { "tableAlert:didSelectRowAtIndexPath:" };
inline constinit const uikit::OptionalOperation cancel { "tableAlertCancel:" };
inline constinit const uikit::OptionalOperation clickedButton { "tableAlert:clickedButtonAtIndex:" };
inline constinit const uikit::OptionalOperation willPresent { "willPresentTableAlert:" };
inline constinit const uikit::OptionalOperation didPresent { "didPresentTableAlert:" };
inline constinit const uikit::OptionalOperation willDismiss { "tableAlert:willDismissWithButtonIndex:" };
inline constinit const uikit::OptionalOperation didDismiss { "tableAlert:didDismissWithButtonIndex:" };
}

}
