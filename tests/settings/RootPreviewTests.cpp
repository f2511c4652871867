#include "SettingsTestSupport.h"

#include "DashmereDelegate.h"
#include "PreviewComposer.h"
#include "PreviewTableCell.h"

#include <foundation/NSBundle.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/RunLoop.h>
#include <preferences/PSSpecifier.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIImageView.h>
#include <uikit/UITableView.h>

#include <fstream>

using pane::DashmereDelegate;
using pane::PreviewComposer;
using pane::PreviewTableCell;
using namespace settings_test;
using foundation::NSDictionary;
using foundation::NSStr;

namespace {

class RootPreview : public DeviceTest {
protected:
    // The saved theme image of a preview laid out by the root list at height y.
    uikit::UIImageView& themeImageAfterLayout(PreviewTableCell& cell, float y) const
    {
        cell.setFrame({ { 0, y }, { 300, 120 } });
        auto* container = cell.viewWithTag(PreviewComposer::themeContainerTag);
        EXPECT_NE(container, nullptr);
        EXPECT_EQ(container->subviews().size(), 1u);
        return static_cast<uikit::UIImageView&>(container->subviews().front().get());
    }

    runtime::Ref<NSDictionary> barTheme() const
    {
        return NSDictionary::create({ { "Frame", NSStr("{{-6,61},{71,15}}") },
            { "ImagePath", NSStr("/Themes/Bars/BarRed.png") }, { "Name", NSStr("Running Bars") } });
    }
};

// The root list's preview shows what is saved: raised to y -10 when the image goes above the icon
// (x and size as the theme gives them), at the saved strength, and rebuilt on every layout.
TEST_F(RootPreview, ShowsTheSavedThemeRaisedAndAtItsStrength)
{
    writeSwatch("/Themes/Bars/BarRed.png", 71, 15, 0.9f, 0.1f, 0.1f);
    writePreferences(NSDictionary::create({ { "SelectedTheme", barTheme() },
        { "MoveImageAboveIcon", foundation::NSNumber::numberWithBool(true) }, { "OpacityValue", NSStr("0.5") } }));
    auto cell = PreviewTableCell::create(nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), "CellPreviewHome");

    auto& raised = themeImageAfterLayout(*cell, 7);
    EXPECT_EQ(cell->frame(), (uikit::CGRect { { 108, 7 }, { 103, 103 } }));
    EXPECT_EQ(raised.frame(), (uikit::CGRect { { -6, -10 }, { 71, 15 } }));
    EXPECT_FLOAT_EQ(raised.alpha(), 0.5f);
    ASSERT_NE(raised.image(), nullptr);

    writePreferences(NSDictionary::create({ { "SelectedTheme", barTheme() } }));
    auto& behind = themeImageAfterLayout(*cell, 7);
    EXPECT_EQ(behind.frame(), (uikit::CGRect { { -6, 61 }, { 71, 15 } }));
    EXPECT_FLOAT_EQ(behind.alpha(), 0) << "an absent OpacityValue gives alpha 0";
}

// Turning "Raise Image" on moves the root list's preview at once: the next layout of the list shows
// the theme image raised, without leaving the screen and coming back.
TEST_F(RootPreview, TheRaiseImageSwitchMovesThePreviewAtOnce)
{
    writeSwatch("/Themes/Bars/BarRed.png", 71, 15, 0.9f, 0.1f, 0.1f);
    writePreferences(NSDictionary::create({ { "SelectedTheme", barTheme() }, { "OpacityValue", NSStr("1") },
        { "FirstAlert", NSStr("Pass") }, { "NewFeatureAlert", NSStr("Pass") } }));
    std::filesystem::create_directories(hostPath("/Library/MobileSubstrate/DynamicLibraries"));
    std::ofstream(hostPath("/Library/MobileSubstrate/DynamicLibraries/Nimbrel.dylib")) << "companion";

    auto root = DashmereDelegate::create();
    root->setBundle(foundation::NSBundle::bundleWithPath(bundlePath).get());
    ASSERT_TRUE(root->initForContentSize({ 320, 416 }));
    auto& table = root->table();
    // Until the list has settled: laying out its rows the first time asks for another pass.
    for (int pass = 0; pass < 3; ++pass)
        table.layoutIfNeeded();
    auto themeImage = [&] {
        auto* cell = root->cachedCellForSpecifierID("PreviewID");
        auto* container = cell ? cell->viewWithTag(PreviewComposer::themeContainerTag) : nullptr;
        return container && !container->subviews().empty() ? container->subviews().front()->frame() : uikit::CGRectZero;
    };
    ASSERT_EQ(themeImage().origin.y, 61);

    auto* raise = root->specifierForID("MoveImageID");
    ASSERT_NE(raise, nullptr);
    root->willSetSettings(foundation::NSNumber::numberWithBool(true).ptr(), raise);
    table.layoutIfNeeded();
    EXPECT_EQ(themeImage().origin.y, -10);

    for (auto& alert : uikit::UIAlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(-1, false);
    foundation::RunLoop::main().discardPendingWork();
}

}
