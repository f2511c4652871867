#pragma once

// The row of a PSSliderCell specifier: a UISlider across the row ranging over the specifier's
// "min" and "max" (0 and 1 when absent), and, when "showValue" is YES, the value as text at the
// right. Each change the user makes sends the specifier's setter with the new value (NSNumber).

#include <preferences/PSTableCell.h>
#include <uikit/UILabel.h>
#include <uikit/UISlider.h>

namespace preferences {

class PSSliderTableCell final : public PSTableCell {
    TORVANE_OBJECT(PSSliderTableCell, PSTableCell)
public:
    static runtime::Ref<PSSliderTableCell> createWithSpecifier(uikit::UITableViewCellStyle style,
        const std::string& reuseIdentifier, PSSpecifier* specifier);

    uikit::UISlider& control() const { return m_slider.get(); }
    // The label showing the value; nullptr unless "showValue" is YES.
    uikit::UILabel* valueLabel() const { return m_valueLabel.get(); }

    void refreshCellContentsWithSpecifier(PSSpecifier& specifier) override;
    void setCellEnabled(bool enabled) override;
    runtime::RefPtr<runtime::Object> controlValue() const override;
    // False also for a value outside the slider's range: a drag cannot reach it.
    bool setControlValueByUser(runtime::Ref<runtime::Object> value) override;
    void layoutSubviews() override;

private:
    PSSliderTableCell(uikit::UITableViewCellStyle style, const std::string& reuseIdentifier, PSSpecifier* specifier);
    void sliderChanged();
    void showValue();

    runtime::Ref<uikit::UISlider> m_slider;
    runtime::RefPtr<uikit::UILabel> m_valueLabel;
};

}
