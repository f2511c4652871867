#include <preferences/PSTableCell.h>

#include <uikit/UIColor.h>
#include <uikit/UILabel.h>

namespace preferences {

TORVANE_DEFINE_CLASS(PSTableCell)

runtime::Ref<PSTableCell> PSTableCell::createWithSpecifier(uikit::UITableViewCellStyle style,
    const std::string& reuseIdentifier, PSSpecifier* specifier)
{
    return runtime::adoptRef(*new PSTableCell(style, reuseIdentifier, specifier));
}

PSTableCell::PSTableCell(uikit::UITableViewCellStyle style, const std::string& reuseIdentifier, PSSpecifier* specifier)
    : uikit::UITableViewCell(style, reuseIdentifier)
    , m_specifier(specifier)
{
    if (specifier)
        textLabel().setText(specifier->name());
}

void PSTableCell::setSpecifier(runtime::RefPtr<PSSpecifier> specifier)
{
    m_specifier = std::move(specifier);
}

void PSTableCell::refreshCellContentsWithSpecifier(PSSpecifier& specifier)
{
    textLabel().setText(specifier.name());
    setCellEnabled(specifier.isEnabled());
}

void PSTableCell::setCellEnabled(bool enabled)
{
    m_cellEnabled = enabled;
    // Greyed text and no highlight tell the user the row cannot be used.
    textLabel().setTextColor(enabled ? uikit::UIColor::blackColor() : uikit::UIColor::grayColor());
    setSelectionStyle(enabled ? uikit::UITableViewCellSelectionStyleBlue : uikit::UITableViewCellSelectionStyleNone);
    setUserInteractionEnabled(enabled);
}

}
