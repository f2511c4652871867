#include <preferences/PSSliderTableCell.h>

#include <foundation/Format.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <uikit/UIColor.h>

#include <cstdio>
#include <cstdlib>

namespace preferences {

TORVANE_DEFINE_CLASS(PSSliderTableCell)

using uikit::CGFloat;
using uikit::CGRect;

namespace {

std::optional<double> numberOf(const runtime::Object* value)
{
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(value))
        return number->doubleValue();
    if (auto* string = runtime::dynamicCast<foundation::NSString>(value)) {
        char* end = nullptr;
        double parsed = std::strtod(string->string().c_str(), &end);
        if (end && end != string->string().c_str() && *end == '\0')
            return parsed;
    }
    return std::nullopt;
}

constexpr CGFloat valueLabelWidth = 52;

}

runtime::Ref<PSSliderTableCell> PSSliderTableCell::createWithSpecifier(uikit::UITableViewCellStyle style,
    const std::string& reuseIdentifier, PSSpecifier* specifier)
{
    return runtime::adoptRef(*new PSSliderTableCell(style, reuseIdentifier, specifier));
}

PSSliderTableCell::PSSliderTableCell(uikit::UITableViewCellStyle style, const std::string& reuseIdentifier, PSSpecifier* specifier)
    : PSTableCell(style, reuseIdentifier, specifier)
    , m_slider(uikit::UISlider::create())
{
    setSelectionStyle(uikit::UITableViewCellSelectionStyleNone);
    // A slider row has no title of its own: the slider spans the row.
    textLabel().setText({});
    if (specifier) {
        m_slider->setMinimumValue(float(numberOf(specifier->propertyForKey("min")).value_or(0)));
        m_slider->setMaximumValue(float(numberOf(specifier->propertyForKey("max")).value_or(1)));
        auto* show = runtime::dynamicCast<foundation::NSNumber>(specifier->propertyForKey("showValue"));
        if (show && show->boolValue()) {
            m_valueLabel = uikit::UILabel::create();
            m_valueLabel->setTextAlignment(uikit::UITextAlignmentRight);
            // Clear, so the row's own background and separator show through.
            m_valueLabel->setBackgroundColor(uikit::UIColor::clearColor());
            contentView().addSubview(*m_valueLabel);
        }
    }
    contentView().addSubview(m_slider);
    m_slider->addTarget(this, [this](uikit::UIControl&, uikit::UIEvent*) { sliderChanged(); }, uikit::UIControlEventValueChanged);
}

void PSSliderTableCell::layoutSubviews()
{
    PSTableCell::layoutSubviews();
    CGRect content = contentView().bounds();
    CGFloat inset = 10;
    CGFloat labelWidth = m_valueLabel ? valueLabelWidth : 0;
    m_slider->setFrame({ { inset, 0 }, { std::max<CGFloat>(0, content.size.width - 2 * inset - labelWidth), content.size.height } });
    if (m_valueLabel)
        m_valueLabel->setFrame({ { content.size.width - inset - labelWidth, 0 }, { labelWidth, content.size.height } });
}

void PSSliderTableCell::showValue()
{
    if (!m_valueLabel)
        return;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", double(m_slider->value()));
    m_valueLabel->setText(text);
}

void PSSliderTableCell::sliderChanged()
{
    showValue();
    if (auto* specifier = this->specifier()) {
        runtime::Ref<PSSliderTableCell> protect(*this);
        specifier->writeValue(foundation::NSNumber::numberWithFloat(m_slider->value()));
    }
}

void PSSliderTableCell::refreshCellContentsWithSpecifier(PSSpecifier& specifier)
{
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    textLabel().setText({});
    if (auto value = numberOf(specifier.readValue().get()))
        m_slider->setValue(float(*value));
    showValue();
}

void PSSliderTableCell::setCellEnabled(bool enabled)
{
    PSTableCell::setCellEnabled(enabled);
    m_slider->setEnabled(enabled);
    m_slider->setAlpha(enabled ? 1 : 0.5f);
}

runtime::RefPtr<runtime::Object> PSSliderTableCell::controlValue() const
{
    return foundation::NSNumber::numberWithFloat(m_slider->value());
}

bool PSSliderTableCell::setControlValueByUser(runtime::Ref<runtime::Object> value)
{
    auto number = numberOf(value.ptr());
    if (!isCellEnabled() || !m_slider->isEnabled() || !number)
        return false;
    if (*number < m_slider->minimumValue() || *number > m_slider->maximumValue())
        return false;
    m_slider->setValue(float(*number));
    m_slider->sendActionsForControlEvents(uikit::UIControlEventValueChanged);
    return true;
}

}
