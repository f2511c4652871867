#include "PreviewComposer.h"

#include <foundation/NSFileManager.h>
#include <uikit/UIColor.h>
#include <uikit/UIImage.h>

#include <array>
#include <vector>

namespace pane {

namespace {

struct SampleImages {
    runtime::RefPtr<uikit::UIImage> icon;
    runtime::RefPtr<uikit::UIImage> label;
};

SampleImages sampleImages()
{
    auto& files = foundation::NSFileManager::defaultManager();
    if (!files.fileExistsAtPath(PreviewComposer::capturedIconPath)) {
        // A captured label without its icon would not match the bundle's icon, so both come from the bundle.
        return { uikit::UIImage::imageWithContentsOfFile(PreviewComposer::bundleIconPath),
            uikit::UIImage::imageWithContentsOfFile(PreviewComposer::bundleLabelPath) };
    }
    SampleImages images { uikit::UIImage::imageWithContentsOfFile(PreviewComposer::capturedIconPath), nullptr };
    if (files.fileExistsAtPath(PreviewComposer::capturedLabelPath))
        images.label = uikit::UIImage::imageWithContentsOfFile(PreviewComposer::capturedLabelPath);
    return images;
}

void moveBy(uikit::UIView& view, uikit::CGFloat dx, uikit::CGFloat dy)
{
    auto frame = view.frame();
    frame.origin.x += dx;
    frame.origin.y += dy;
    view.setFrame(frame);
}

}

void PreviewComposer::removePreviousPreview(uikit::UIView& cell)
{
    static constexpr std::array<int, 4> tags { shadowTag, iconTag, themeContainerTag, labelTag };
    // A copy: removing changes the subview list.
    std::vector<runtime::Ref<uikit::UIView>> subviews = cell.subviews();
    for (auto& view : subviews) {
        for (int tag : tags) {
            if (view->tag() == tag) {
                view->removeFromSuperview();
                break;
            }
        }
    }
}

void PreviewComposer::compose(uikit::UIView& cell, runtime::Ref<uikit::UIImageView> themeImage)
{
    removePreviousPreview(cell);

    auto shadow = uikit::UIImageView::create({ { 0, 11 }, { 103, 103 } });
    shadow->setImage(uikit::UIImage::imageWithContentsOfFile(shadowImagePath));
    shadow->setTag(shadowTag);
    cell.addSubview(shadow);

    auto samples = sampleImages();

    auto icon = uikit::UIImageView::create({ { 0, 0 }, { 59, 59 } });
    icon->setImage(samples.icon);
    icon->setTag(iconTag);
    icon->setCenter(shadow->center());
    moveBy(icon, 0, -15);

    auto container = uikit::UIView::create(icon->frame());
    container->setTag(themeContainerTag);
    container->setBackgroundColor(uikit::UIColor::clearColor());
    container->addSubview(std::move(themeImage));

    cell.addSubview(container);
    cell.addSubview(icon);

    moveBy(shadow, 0, 4);

    if (samples.label) {
        auto label = uikit::UIImageView::create({ { 0, 0 }, { 42, 16 } });
        label->setImage(samples.label);
        label->setTag(labelTag);
        label->setCenter(icon->center());
        moveBy(label, 0, 38.4f);
        cell.addSubview(label);
    }
}

}
