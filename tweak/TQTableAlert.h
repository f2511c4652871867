#pragma once

#include "TQTableAlertProtocols.h"
#include "TQTableView.h"

#include <foundation/Format.h>
#include <foundation/ObserverToken.h>
#include <foundation/ScheduledCall.h>
#include <runtime/Object.h>
#include <runtime/Ref.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIAlertView.h>
#include <uikit/UITableViewProtocols.h>

#include <optional>
#include <string>

namespace tweak {

class TQTableViewTopShadowView;

// What selecting a row does: close the alert (button index -1) before telling the delegate, or only
// tell the delegate.
// Any value but CloseOnSelect stays open.
enum class TQTableAlertType : int {
    CloseOnSelect = 0,
    StayOpen = 1,
};

// A scrolling table inside a system alert. The alert keeps its title, message and buttons (the
// given cancel button, index 0, and "Kill All", index 1), grows by the height the table needs and
// shows the table between the message and the buttons.
//
// Rows come either through the table alert's own protocols (it is then the table's data source and
// delegate and forwards to them), or from an owner that takes over the table's data source and
// delegate itself and uses the table alert only for its frame, sizing and alert callbacks. It is
// always its alert view's delegate and forwards every alert callback to its own delegate.
//
// Sizing runs when the alert is about to show and, on the next run-loop turn, after each status-bar
// rotation: the table gets the height of its rows (at most maximumVisibleRows of them, at most the
// screen's height less the alert's) and the alert grows by that much, evenly up and down, with its
// buttons moved down under the table. A sizing while the alert is shown first takes back the growth
// of the one before, so the alert keeps its size across rotations instead of growing with each.
//
// Owned by whoever made it; the alert window holds only the alert view. The delegate may release the
// table alert when it hears of the dismissal.
class TQTableAlert final : public runtime::Object,
                           public uikit::UITableViewDelegate,
                           public uikit::UITableViewDataSource,
                           public uikit::UIAlertViewDelegate {
    TORVANE_OBJECT(TQTableAlert, runtime::Object)
    TORVANE_ADOPTS(uikit::UITableViewDelegate, uikit::UITableViewDataSource, uikit::UIAlertViewDelegate)
public:
    static constexpr int defaultMaximumVisibleRows = 4;
    static constexpr int noRowLimit = -1;
    static constexpr uikit::CGFloat defaultRowHeight = 40;
    static constexpr uikit::CGFloat sideInset = 12;
    // The table ends this far above the alert's bottom edge, leaving room for the buttons.
    static constexpr uikit::CGFloat bottomInset = 65;

    // initWithTitle:cancelButtonTitle:messageFormat:args: with the message already formatted (nil
    // for no message).
    static runtime::Ref<TQTableAlert> create(std::optional<std::string> title, std::optional<std::string> cancelButtonTitle,
        std::optional<std::string> message);
    // alertWithTitle:cancelButtonTitle:messageFormat: — a "%@"-style format and its arguments.
    template<typename... Args>
    static runtime::Ref<TQTableAlert> alertWithTitle(std::optional<std::string> title, std::optional<std::string> cancelButtonTitle,
        std::string_view messageFormat, const Args&... arguments)
    {
        return create(std::move(title), std::move(cancelButtonTitle), foundation::format(messageFormat, arguments...));
    }
    ~TQTableAlert() override;

    uikit::UIAlertView& view() const { return m_alertView.get(); }
    TQTableView& tableView() const { return m_tableView.get(); }
    TQTableViewTopShadowView& shadow() const { return m_shadow.get(); }

    TQTableAlertType type() const { return m_type; }
    void setType(TQTableAlertType type) { m_type = type; }
    TQTableAlertStyle style() const { return m_style; }
    // Plain and Gradient restyle the table; any other value is only stored.
    void setStyle(TQTableAlertStyle style);
    int maximumVisibleRows() const { return m_maximumVisibleRows; }
    void setMaximumVisibleRows(int rows) { m_maximumVisibleRows = rows; }
    // Used for rows the delegate gives no height of; the table's own rowHeight stays as made.
    uikit::CGFloat rowHeight() const { return m_rowHeight; }
    void setRowHeight(uikit::CGFloat height) { m_rowHeight = height; }
    bool isPresented() const { return m_presented; }

    // Held weakly, so each must be a runtime object as well; one that is not counts as none.
    TQTableAlertDelegate* delegate() const;
    void setDelegate(TQTableAlertDelegate* delegate);
    TQTableAlertDataSource* dataSource() const;
    void setDataSource(TQTableAlertDataSource* dataSource);
    // The table view's and the alert view's own delegates, for an owner that takes them over.
    uikit::UITableViewDelegate* tableViewDelegate() const;
    void setTableViewDelegate(uikit::UITableViewDelegate* delegate);
    uikit::UITableViewDataSource* tableViewDataSource() const;
    void setTableViewDataSource(uikit::UITableViewDataSource* dataSource);
    uikit::UIAlertViewDelegate* alertViewDelegate() const;
    void setAlertViewDelegate(uikit::UIAlertViewDelegate* delegate);

    // Reloads the table, then shows the alert.
    void show();
    // Grows the alert by `amount` about its centre and moves its buttons down by as much.
    void increaseHeightBy(uikit::CGFloat amount);
    // Sizes the table and grows the alert to hold it.
    void layout();
    // layout on the next pass of the run loop.
    void layoutAfterSomeTime();

    // Table callbacks, forwarded to the table alert's data source and delegate.
    uikit::CGFloat tableViewHeightForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    runtime::RefPtr<uikit::UIView> tableViewViewForHeaderInSection(uikit::UITableView&, int section) override;
    uikit::CGFloat tableViewHeightForHeaderInSection(uikit::UITableView&, int section) override;
    runtime::RefPtr<uikit::UITableViewCell> tableViewCellForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    int tableViewNumberOfRowsInSection(uikit::UITableView&, int section) override;
    int numberOfSectionsInTableView(uikit::UITableView&) override;

    // Alert callbacks, forwarded to the delegate.
    void alertViewCancel(uikit::UIAlertView&) override;
    void alertViewClickedButtonAtIndex(uikit::UIAlertView&, int buttonIndex) override;
    void willPresentAlertView(uikit::UIAlertView&) override;
    void didPresentAlertView(uikit::UIAlertView&) override;
    void alertViewWillDismissWithButtonIndex(uikit::UIAlertView&, int buttonIndex) override;
    void alertViewDidDismissWithButtonIndex(uikit::UIAlertView&, int buttonIndex) override;

private:
    TQTableAlert(std::optional<std::string> title, std::optional<std::string> cancelButtonTitle, std::optional<std::string> message);

    TQTableAlertDelegate* delegateFor(const uikit::OptionalOperation&) const;
    // The table height the rows ask for, within the row limit and the screen.
    uikit::CGFloat tableHeightForRows();
    void takeBackGrowth();

    bool m_presented { false };
    runtime::Ref<uikit::UIAlertView> m_alertView;
    runtime::Ref<TQTableView> m_tableView;
    TQTableAlertType m_type { TQTableAlertType::CloseOnSelect };
    TQTableAlertStyle m_style { TQTableAlertStyle::Plain };
    int m_maximumVisibleRows { defaultMaximumVisibleRows };
    uikit::CGFloat m_rowHeight { defaultRowHeight };
    runtime::WeakPtr<runtime::Object> m_delegate;
    runtime::WeakPtr<runtime::Object> m_dataSource;
    runtime::Ref<TQTableViewTopShadowView> m_shadow;

    // The last sizing's growth and the alert frame it started from, until it is taken back.
    struct Growth {
        uikit::CGRect frameBefore;
        uikit::CGFloat amount;
    };
    std::optional<Growth> m_growth;
    foundation::ObserverToken m_orientationObserver;
    foundation::ScheduledCall m_nextLayout;
};

}
