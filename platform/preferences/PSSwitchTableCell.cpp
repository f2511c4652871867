#include <preferences/PSSwitchTableCell.h>

#include <foundation/NSNumber.h>
#include <foundation/NSString.h>

namespace preferences {

TORVANE_DEFINE_CLASS(PSSwitchTableCell)

namespace {

bool boolOf(const runtime::Object* value)
{
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(value))
        return number->boolValue();
    if (auto* string = runtime::dynamicCast<foundation::NSString>(value))
        return string->string() == "YES" || string->string() == "1" || string->string() == "true";
    return false;
}

}

runtime::Ref<PSSwitchTableCell> PSSwitchTableCell::createWithSpecifier(uikit::UITableViewCellStyle style,
    const std::string& reuseIdentifier, PSSpecifier* specifier)
{
    return runtime::adoptRef(*new PSSwitchTableCell(style, reuseIdentifier, specifier));
}

PSSwitchTableCell::PSSwitchTableCell(uikit::UITableViewCellStyle style, const std::string& reuseIdentifier, PSSpecifier* specifier)
    : PSTableCell(style, reuseIdentifier, specifier)
    , m_switch(uikit::UISwitch::create())
{
    setSelectionStyle(uikit::UITableViewCellSelectionStyleNone);
    setAccessoryView(m_switch.ptr());
    m_switch->addTarget(this, [this](uikit::UIControl&, uikit::UIEvent*) { switchChanged(); }, uikit::UIControlEventValueChanged);
}

void PSSwitchTableCell::switchChanged()
{
    if (auto* specifier = this->specifier()) {
        runtime::Ref<PSSwitchTableCell> protect(*this);
        specifier->writeValue(foundation::NSNumber::numberWithBool(m_switch->isOn()));
    }
}

void PSSwitchTableCell::refreshCellContentsWithSpecifier(PSSpecifier& specifier)
{
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    m_switch->setOn(boolOf(specifier.readValue().get()));
}

void PSSwitchTableCell::setCellEnabled(bool enabled)
{
    PSTableCell::setCellEnabled(enabled);
    m_switch->setEnabled(enabled);
    m_switch->setAlpha(enabled ? 1 : 0.5f);
}

runtime::RefPtr<runtime::Object> PSSwitchTableCell::controlValue() const
{
    return foundation::NSNumber::numberWithBool(m_switch->isOn());
}

bool PSSwitchTableCell::setControlValueByUser(runtime::Ref<runtime::Object> value)
{
    if (!isCellEnabled() || !m_switch->isEnabled())
        return false;
    bool on = boolOf(value.ptr());
    if (on == m_switch->isOn())
        return true;
    m_switch->setOn(on);
    m_switch->sendActionsForControlEvents(uikit::UIControlEventValueChanged);
    return true;
}

}
