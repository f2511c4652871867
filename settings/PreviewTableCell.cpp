#include "PreviewTableCell.h"

#include "DashmereDelegate.h"
#include "FatPreviewCell.h"
#include "PreferenceValues.h"
#include "PreferencesFile.h"
#include "PreviewComposer.h"

#include <foundation/Format.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <graphics/GeometryText.h>
#include <preferences/PSClassFactory.h>
#include <uikit/UIImage.h>
#include <uikit/UIImageView.h>

namespace pane {

TORVANE_DEFINE_CLASS(PreviewTableCell)
PS_REGISTER_CELL_CLASS(PreviewTableCell)

namespace {

// The saved theme image at its place within the icon's box.
runtime::Ref<uikit::UIImageView> savedThemeImage()
{
    auto theme = runtime::dynamicCast<foundation::NSDictionary>(DashmereDelegate::getObjectWithKey("SelectedTheme", false));
    auto frameText = theme ? theme->objectForKey("Frame") : nullptr;
    auto frame = frameText ? graphics::CGRectFromString(foundation::format("%@", frameText)) : uikit::CGRectZero;
    if (torvane::PreferencesFile::boolValueOf(DashmereDelegate::getObjectWithKey("MoveImageAboveIcon", true).get()))
        frame.origin.y = -10;

    auto view = uikit::UIImageView::create(frame);
    if (auto path = theme ? theme->objectForKey("ImagePath") : nullptr)
        view->setImage(uikit::UIImage::imageWithContentsOfFile(foundation::format("%@", path)));
    view->setAlpha(PreferenceValues::floatValueOf(DashmereDelegate::getObjectWithKey("OpacityValue", false).get()));
    return view;
}

}

runtime::Ref<PreviewTableCell> PreviewTableCell::create(preferences::PSSpecifier* specifier)
{
    return runtime::adoptRef(*new PreviewTableCell(specifier));
}

runtime::Ref<PreviewTableCell> PreviewTableCell::createWithSpecifier(uikit::UITableViewCellStyle, const std::string&,
    preferences::PSSpecifier* specifier)
{
    return create(specifier);
}

PreviewTableCell::PreviewTableCell(preferences::PSSpecifier* specifier)
    : PSTableCell(uikit::UITableViewCellStyleDefault, previewReuseIdentifier, specifier)
{
}

void PreviewTableCell::setFrame(uikit::CGRect frame)
{
    PSTableCell::setFrame(previewCellFrame(frame.origin.y));
    loadImageForCell();
}

void PreviewTableCell::loadImageForCell()
{
    PreviewComposer::compose(*this, savedThemeImage());
}

}
