#include "SettingsTestSupport.h"

#include "PreviewComposer.h"
#include "PreviewTableCell.h"

#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <uikit/UIImageView.h>

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

}
