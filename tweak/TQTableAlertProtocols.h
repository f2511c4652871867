#pragma once

// The table alert's data source and delegate. Both are C++ interfaces in the manner of the table's
// own protocols (see uikit/UIOptionalOperations.h): the data source's two required operations are
// pure virtual and always sent; every other operation is sent only when the object takes the
// OptionalOperation named beside it, which it does by overriding it in a class that names the
// protocol (TORVANE_ADOPTS). The table alert holds both weakly.

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

    template<typename T>
    static void registerOverrides(runtime::Class&);
};

namespace TableAlertDataSource {
inline constexpr const runtime::ProtocolDescriptor& protocol = runtime::protocolDescriptor<TQTableAlertDataSource>;
inline constinit const uikit::OptionalOperation numberOfSections { protocol, "numberOfSectionsInTableAlert:" };
inline constinit const uikit::OptionalOperation titleForHeader { protocol, "tableAlert:titleForHeaderInSection:" };
}

template<typename T>
void TQTableAlertDataSource::registerOverrides(runtime::Class& cls)
{
    using Protocol = TQTableAlertDataSource;
    using uikit::registerIfOverridden;
    using namespace TableAlertDataSource;
    registerIfOverridden<Protocol>(cls, &T::numberOfSectionsInTableAlert, numberOfSections);
    registerIfOverridden<Protocol>(cls, &T::tableAlertTitleForHeaderInSection, titleForHeader);
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

    template<typename T>
    static void registerOverrides(runtime::Class&);
};

// The delegate's operations, all optional.
namespace TableAlertDelegate {
inline constexpr const runtime::ProtocolDescriptor& protocol = runtime::protocolDescriptor<TQTableAlertDelegate>;
inline constinit const uikit::OptionalOperation heightForRow { protocol, "tableAlert:heightForRowAtIndexPath:" };
inline constinit const uikit::OptionalOperation didSelectRow { protocol, "tableAlert:didSelectRowAtIndexPath:" };
inline constinit const uikit::OptionalOperation cancel { protocol, "tableAlertCancel:" };
inline constinit const uikit::OptionalOperation clickedButton { protocol, "tableAlert:clickedButtonAtIndex:" };
inline constinit const uikit::OptionalOperation willPresent { protocol, "willPresentTableAlert:" };
inline constinit const uikit::OptionalOperation didPresent { protocol, "didPresentTableAlert:" };
inline constinit const uikit::OptionalOperation willDismiss { protocol, "tableAlert:willDismissWithButtonIndex:" };
inline constinit const uikit::OptionalOperation didDismiss { protocol, "tableAlert:didDismissWithButtonIndex:" };
}

template<typename T>
void TQTableAlertDelegate::registerOverrides(runtime::Class& cls)
{
    using Protocol = TQTableAlertDelegate;
    using uikit::registerIfOverridden;
    using namespace TableAlertDelegate;
    registerIfOverridden<Protocol>(cls, &T::tableAlertHeightForRowAtIndexPath, heightForRow);
    registerIfOverridden<Protocol>(cls, &T::tableAlertDidSelectRowAtIndexPath, didSelectRow);
    registerIfOverridden<Protocol>(cls, &T::tableAlertCancel, cancel);
    registerIfOverridden<Protocol>(cls, &T::tableAlertClickedButtonAtIndex, clickedButton);
    registerIfOverridden<Protocol>(cls, &T::willPresentTableAlert, willPresent);
    registerIfOverridden<Protocol>(cls, &T::didPresentTableAlert, didPresent);
    registerIfOverridden<Protocol>(cls, &T::tableAlertWillDismissWithButtonIndex, willDismiss);
    registerIfOverridden<Protocol>(cls, &T::tableAlertDidDismissWithButtonIndex, didDismiss);
}

}
