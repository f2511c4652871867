#include "SettingsTestSupport.h"

#include "FatPreviewCell.h"
#include "PreviewComposer.h"

#include <graphics/ImageCompare.h>
#include <uikit/UIImage.h>
#include <uikit/UIImageView.h>
#include <uikit/ViewRendering.h>

#include <vector>

using pane::FatPreviewCell;
using pane::PreviewComposer;
using namespace settings_test;

namespace {

constexpr const char* glowFolder = "/Library/Application Support/Torvane/Themes/IconOutlines";

class PreviewComposition : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        std::filesystem::create_directories(hostPath(glowFolder));
        std::filesystem::copy(std::filesystem::path(TORVANE_SETTINGS_BUNDLE) / "../Themes/IconOutlines", hostPath(glowFolder),
            std::filesystem::copy_options::recursive);
    }

    // The chooser's theme image: the red glow at its theme's frame.
    runtime::Ref<uikit::UIImageView> glow() const
    {
        auto view = uikit::UIImageView::create({ { -7.75f, -8.75f }, { 74.5f, 76 } });
        view->setImage(uikit::UIImage::imageWithContentsOfFile(std::string(glowFolder) + "/GlowRed.png"));
        return view;
    }

    // The preview cell laid out as the chooser's preview table places it, on a white stage.
    runtime::Ref<uikit::UIView> composedPreview(runtime::Ref<FatPreviewCell>& cell) const
    {
        cell = FatPreviewCell::create(uikit::UITableViewCellStyleDefault, "ImageCell");
        PreviewComposer::compose(*cell, glow());
        cell->setFrame({ { 10, 4 }, { 300, 44 } });
        auto view = stage({ 320, 125 });
        view->addSubview(cell);
        return view;
    }

    static std::vector<int> previewTags(const uikit::UIView& cell)
    {
        std::vector<int> tags;
        for (auto& view : cell.subviews()) {
            if (view->tag())
                tags.push_back(view->tag());
        }
        return tags;
    }

    static uikit::UIImageView& tagged(const uikit::UIView& cell, int tag)
    {
        return static_cast<uikit::UIImageView&>(*cell.viewWithTag(tag));
    }
};

// With the add-on's captured icon and label: shadow, glow, icon and label stacked in that order at
// their places, and a second composition replaces the first instead of adding to it.
TEST_F(PreviewComposition, CapturedSamplesStackAroundTheThemeImage)
{
    writeSwatch(PreviewComposer::capturedIconPath, 59, 59, 0.85f, 0.45f, 0.10f);
    writeSwatch(PreviewComposer::capturedLabelPath, 42, 16, 0.15f, 0.15f, 0.15f);
    runtime::Ref<FatPreviewCell> cell = FatPreviewCell::create();
    auto view = composedPreview(cell);
    PreviewComposer::compose(*cell, glow());

    EXPECT_EQ(cell->frame(), (uikit::CGRect { { 108, 4 }, { 103, 103 } }));
    EXPECT_EQ(previewTags(*cell), (std::vector<int> { PreviewComposer::shadowTag, PreviewComposer::themeContainerTag,
                                      PreviewComposer::iconTag, PreviewComposer::labelTag }));
    EXPECT_EQ(tagged(*cell, PreviewComposer::shadowTag).frame(), (uikit::CGRect { { 0, 15 }, { 103, 103 } }));
    EXPECT_EQ(tagged(*cell, PreviewComposer::iconTag).frame(), (uikit::CGRect { { 22, 18 }, { 59, 59 } }));
    EXPECT_EQ(cell->viewWithTag(PreviewComposer::themeContainerTag)->frame(), (uikit::CGRect { { 22, 18 }, { 59, 59 } }));
    auto label = tagged(*cell, PreviewComposer::labelTag).frame();
    EXPECT_FLOAT_EQ(label.origin.x, 30.5f);
    EXPECT_FLOAT_EQ(label.origin.y, 77.9f);
    EXPECT_EQ(tagged(*cell, PreviewComposer::iconTag).image()->devicePath(), PreviewComposer::capturedIconPath);

    auto check = graphics::checkAgainstReference(uikit::renderViewToImage(*view, 2), reference("PreviewCaptured.png"));
    EXPECT_TRUE(check.passed) << check.message;
}

// Without a captured icon both samples come from the bundle, even when a captured label exists;
// with a captured icon but no label there is no label at all.
TEST_F(PreviewComposition, SamplesFallBackToTheBundleAsAPair)
{
    writeSwatch(PreviewComposer::capturedLabelPath, 42, 16, 0.15f, 0.15f, 0.15f);
    runtime::Ref<FatPreviewCell> cell = FatPreviewCell::create();
    auto view = composedPreview(cell);
    EXPECT_EQ(tagged(*cell, PreviewComposer::iconTag).image()->devicePath(), PreviewComposer::bundleIconPath);
    EXPECT_EQ(tagged(*cell, PreviewComposer::labelTag).image()->devicePath(), PreviewComposer::bundleLabelPath);
    auto check = graphics::checkAgainstReference(uikit::renderViewToImage(*view, 2), reference("PreviewFallback.png"));
    EXPECT_TRUE(check.passed) << check.message;

    std::filesystem::remove(hostPath(PreviewComposer::capturedLabelPath));
    writeSwatch(PreviewComposer::capturedIconPath, 59, 59, 0.85f, 0.45f, 0.10f);
    PreviewComposer::compose(*cell, glow());
    EXPECT_EQ(cell->viewWithTag(PreviewComposer::labelTag), nullptr);
    EXPECT_EQ(tagged(*cell, PreviewComposer::iconTag).image()->devicePath(), PreviewComposer::capturedIconPath);
}

}
