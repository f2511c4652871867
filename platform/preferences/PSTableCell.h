#pragma once

// A row of a preference list: a table cell that knows its specifier. The list controller makes one
// per specifier (or the specifier's cellClass) and keeps it for as long as the specifier is shown
// (cachedCellForSpecifierID). refreshCellContentsWithSpecifier re-reads the text, the value and the
// "enabled" state; a disabled row is drawn greyed and its control does not react.

#include <preferences/PSSpecifier.h>
#include <runtime/RefPtr.h>
#include <uikit/UITableViewCell.h>

#include <string>

namespace preferences {

class PSTableCell : public uikit::UITableViewCell {
    TORVANE_OBJECT(PSTableCell, uikit::UITableViewCell)
public:
    // initWithStyle:reuseIdentifier:specifier:
    static runtime::Ref<PSTableCell> createWithSpecifier(uikit::UITableViewCellStyle style,
        const std::string& reuseIdentifier, PSSpecifier* specifier);

    PSSpecifier* specifier() const { return m_specifier.get(); }
    void setSpecifier(runtime::RefPtr<PSSpecifier> specifier);

    // Reads the specifier again: its name, its value (for the cells that show one) and "enabled".
    virtual void refreshCellContentsWithSpecifier(PSSpecifier& specifier);
    bool isCellEnabled() const { return m_cellEnabled; }
    virtual void setCellEnabled(bool enabled);

    // The value the row shows (a switch's state, a slider's number), nullptr for none.
    virtual runtime::RefPtr<runtime::Object> controlValue() const { return nullptr; }
    // What the user does to the row's control: sets it to `value` and sends the specifier's
    // setter, as a flip or a drag would. False for a row without a control, or a disabled one.
    virtual bool setControlValueByUser(runtime::Ref<runtime::Object> value) { (void)value; return false; }

protected:
    PSTableCell(uikit::UITableViewCellStyle style, const std::string& reuseIdentifier, PSSpecifier* specifier);

private:
    runtime::RefPtr<PSSpecifier> m_specifier;
    bool m_cellEnabled { true };
};

}
