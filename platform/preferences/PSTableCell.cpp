#include <preferences/PSTableCell.h>

#include <foundation/NSArray.h>
#include <foundation/NSString.h>
#include <uikit/UIColor.h>
#include <uikit/UILabel.h>

namespace preferences {

TORVANE_DEFINE_CLASS(PSTableCell)

namespace {

// A multiple-choice row shows the title of the choice its value is.
std::string titleOfCurrentValue(PSSpecifier& specifier)
{
    auto* titles = runtime::dynamicCast<foundation::NSArray>(specifier.propertyForKey("validTitles"));
    auto* values = runtime::dynamicCast<foundation::NSArray>(specifier.propertyForKey("validValues"));
    auto value = specifier.readValue();
    if (!titles || !values || !value)
        return {};
    for (size_t index = 0; index < values->count() && index < titles->count(); ++index) {
        if (value->isEqual(&values->objectAtIndex(index))) {
            auto* title = runtime::dynamicCast<foundation::NSString>(&titles->objectAtIndex(index));
            return title ? title->string() : std::string();
        }
    }
    return {};
}

}

runtime::Ref<PSTableCell> PSTableCell::createWithSpecifier(uikit::UITableViewCellStyle style,
    const std::string& reuseIdentifier, PSSpecifier* specifier)
{
    return runtime::adoptRef(*new PSTableCell(style, reuseIdentifier, specifier));
}

PSTableCell::PSTableCell(uikit::UITableViewCellStyle style, const std::string& reuseIdentifier, PSSpecifier* specifier)
    : uikit::UITableViewCell(style, reuseIdentifier)
    , m_specifier(specifier)
{
    // Settings rows read in bold 17 points; a title too long for the room its control leaves
    // shrinks to fit rather than lose its end.
    textLabel().setFont(uikit::UIFont::boldSystemFontOfSize(17));
    textLabel().setAdjustsFontSizeToFitWidth(true);
    textLabel().setMinimumFontSize(12);
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
    if (specifier.cellType() == PSCellType::LinkList && detailTextLabel())
        detailTextLabel()->setText(titleOfCurrentValue(specifier));
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
