#pragma once

// The table's data source and delegate protocols, and the table's small enumerations.
//
// Both protocols are C++ interfaces (see UIOptionalOperations.h for how optional operations work):
// the data source's two required operations are pure virtual and always sent; every other
// operation is sent only when the object takes the OptionalOperation named in its comment (the
// constants follow each protocol), which it does by overriding it in a class that names the
// protocol (TORVANE_ADOPTS). The table holds both objects weakly; an object set as data source or
// delegate that does not implement the protocol is ignored (the table behaves as if none were set).

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

    template<typename T>
    static void registerOverrides(runtime::Class&);
};

// The data source's optional operations.
namespace TableViewDataSource {
inline constexpr const runtime::ProtocolDescriptor& protocol = runtime::protocolDescriptor<UITableViewDataSource>;
inline constinit const OptionalOperation numberOfSections { protocol, "numberOfSectionsInTableView:" };
inline constinit const OptionalOperation titleForHeader { protocol, "tableView:titleForHeaderInSection:" };
inline constinit const OptionalOperation titleForFooter { protocol, "tableView:titleForFooterInSection:" };
inline constinit const OptionalOperation sectionIndexTitles { protocol, "sectionIndexTitlesForTableView:" };
inline constinit const OptionalOperation sectionForSectionIndexTitle { protocol, "tableView:sectionForSectionIndexTitle:atIndex:" };
inline constinit const OptionalOperation commitEditingStyle { protocol, "tableView:commitEditingStyle:forRowAtIndexPath:" };
}

template<typename T>
void UITableViewDataSource::registerOverrides(runtime::Class& cls)
{
    using Protocol = UITableViewDataSource;
    using namespace TableViewDataSource;
    registerIfOverridden<Protocol>(cls, &T::numberOfSectionsInTableView, numberOfSections);
    registerIfOverridden<Protocol>(cls, &T::tableViewTitleForHeaderInSection, titleForHeader);
    registerIfOverridden<Protocol>(cls, &T::tableViewTitleForFooterInSection, titleForFooter);
    registerIfOverridden<Protocol>(cls, &T::sectionIndexTitlesForTableView, sectionIndexTitles);
    registerIfOverridden<Protocol>(cls, &T::tableViewSectionForSectionIndexTitle, sectionForSectionIndexTitle);
    registerIfOverridden<Protocol>(cls, &T::tableViewCommitEditingStyle, commitEditingStyle);
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

    template<typename T>
    static void registerOverrides(runtime::Class&);
};

// The delegate's operations, all optional.
namespace TableViewDelegate {
inline constexpr const runtime::ProtocolDescriptor& protocol = runtime::protocolDescriptor<UITableViewDelegate>;
inline constinit const OptionalOperation heightForRow { protocol, "tableView:heightForRowAtIndexPath:" };
inline constinit const OptionalOperation heightForHeader { protocol, "tableView:heightForHeaderInSection:" };
inline constinit const OptionalOperation heightForFooter { protocol, "tableView:heightForFooterInSection:" };
inline constinit const OptionalOperation viewForHeader { protocol, "tableView:viewForHeaderInSection:" };
inline constinit const OptionalOperation viewForFooter { protocol, "tableView:viewForFooterInSection:" };
inline constinit const OptionalOperation willSelectRow { protocol, "tableView:willSelectRowAtIndexPath:" };
inline constinit const OptionalOperation didSelectRow { protocol, "tableView:didSelectRowAtIndexPath:" };
inline constinit const OptionalOperation didDeselectRow { protocol, "tableView:didDeselectRowAtIndexPath:" };
}

template<typename T>
void UITableViewDelegate::registerOverrides(runtime::Class& cls)
{
    using Protocol = UITableViewDelegate;
    using namespace TableViewDelegate;
    registerIfOverridden<Protocol>(cls, &T::tableViewHeightForRowAtIndexPath, heightForRow);
    registerIfOverridden<Protocol>(cls, &T::tableViewHeightForHeaderInSection, heightForHeader);
    registerIfOverridden<Protocol>(cls, &T::tableViewHeightForFooterInSection, heightForFooter);
    registerIfOverridden<Protocol>(cls, &T::tableViewViewForHeaderInSection, viewForHeader);
    registerIfOverridden<Protocol>(cls, &T::tableViewViewForFooterInSection, viewForFooter);
    registerIfOverridden<Protocol>(cls, &T::tableViewWillSelectRowAtIndexPath, willSelectRow);
    registerIfOverridden<Protocol>(cls, &T::tableViewDidSelectRowAtIndexPath, didSelectRow);
    registerIfOverridden<Protocol>(cls, &T::tableViewDidDeselectRowAtIndexPath, didDeselectRow);
}

}
