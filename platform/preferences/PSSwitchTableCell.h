#pragma once

// The row of a PSSwitchCell specifier: its label and a UISwitch as the accessory. Flipping the
// switch sends the specifier's setter with the new state (an NSNumber boolean).

#include <preferences/PSTableCell.h>
#include <uikit/UISwitch.h>

namespace preferences {

class PSSwitchTableCell final : public PSTableCell {
    TORVANE_OBJECT(PSSwitchTableCell, PSTableCell)
public:
    static runtime::Ref<PSSwitchTableCell> createWithSpecifier(uikit::UITableViewCellStyle style,
        const std::string& reuseIdentifier, PSSpecifier* specifier);

    uikit::UISwitch& control() const { return m_switch.get(); }

    void refreshCellContentsWithSpecifier(PSSpecifier& specifier) override;
    void setCellEnabled(bool enabled) override;
    runtime::RefPtr<runtime::Object> controlValue() const override;
    bool setControlValueByUser(runtime::Ref<runtime::Object> value) override;

private:
    PSSwitchTableCell(uikit::UITableViewCellStyle style, const std::string& reuseIdentifier, PSSpecifier* specifier);
    void switchChanged();

    runtime::Ref<uikit::UISwitch> m_switch;
};

}
