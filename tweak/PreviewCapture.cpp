#include "PreviewCapture.h"

#include <foundation/NSData.h>
#include <foundation/NSFileManager.h>
#include <springboard/SBIconImageContainerView.h>
#include <springboard/SBIconLabelImageView.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <uikit/NSKeyedArchiver.h>
#include <uikit/UIImage.h>
#include <uikit/UIImageView.h>

namespace tweak {

namespace {

// The detached copy of a view, or nil when it cannot be archived.
runtime::RefPtr<uikit::UIView> archivedCopy(const uikit::UIView& view)
{
    auto data = uikit::NSKeyedArchiver::archivedDataWithRootObject(view);
    if (!data)
        return nullptr;
    auto copy = uikit::NSKeyedUnarchiver::unarchiveObjectWithData(*data);
    return runtime::RefPtr<uikit::UIView>(runtime::dynamicCast<uikit::UIView>(copy));
}

// Only the exact class counts: subclasses of the icon-image view draw overlays of their own.
uikit::UIImage* iconImageIn(const uikit::UIView& container)
{
    for (auto& subview : container.subviews()) {
        if (subview->className() == "SBIconImageView")
            return static_cast<uikit::UIImageView*>(subview.ptr())->image();
    }
    return nullptr;
}

}

void PreviewCapture::saveNewPreviewImage()
{
    auto* map = springboard::SBIconViewMap::homescreenMap();
    auto* icon = map ? map->iconModel()->applicationIconForDisplayIdentifier(sampleApplication) : nullptr;
    auto* liveView = icon ? map->iconViewForIcon(icon) : nullptr;
    if (!liveView)
        return;
    auto copy = archivedCopy(*liveView);
    if (!copy)
        return;

    runtime::RefPtr<uikit::UIImage> iconImage;
    runtime::RefPtr<uikit::UIImage> labelImage;
    for (auto& subview : copy->subviews()) {
        if (subview->isKindOf<springboard::SBIconImageContainerView>())
            iconImage = iconImageIn(*subview);
        else if (auto* label = runtime::dynamicCast<springboard::SBIconLabelImageView>(subview.ptr()))
            labelImage = label->image();
    }
    if (!iconImage)
        return;

    if (auto png = uikit::UIImagePNGRepresentation(iconImage.get()))
        png->writeToFile(iconImagePath, true);
    if (labelImage) {
        if (auto png = uikit::UIImagePNGRepresentation(labelImage.get()))
            png->writeToFile(labelImagePath, true);
        return;
    }
    auto& files = foundation::NSFileManager::defaultManager();
    if (files.fileExistsAtPath(labelImagePath))
        files.removeItemAtPath(labelImagePath);
}

}
