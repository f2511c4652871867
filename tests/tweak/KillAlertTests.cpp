#include "SwipeTestSupport.h"

#include <foundation/NSNotificationCenter.h>
#include <graphics/ImageCompare.h>
#include <uikit/UIImage.h>
#include <uikit/UIImageView.h>
#include <uikit/UIScreen.h>
#include <uikit/ViewRendering.h>

#include <filesystem>

using namespace tweak_test;
using tweak::CustomPassAlertViewTQ;
using foundation::NSStr;

namespace {

using KillAlert = SwipeTest;

}

TEST_F(KillAlert, FolderMessageCountsTheRunningApplicationsAndCutsTheirMemory)
{
    run("com.apple.mobilesafari", 101);
    run("com.apple.camera", 102);
    m_memory = { { 101, "10.500000" }, { 102, "2.250000" }, { 103, "99.000000" } };
    application("com.apple.mobilenotes").setPid(103); // not running: neither counted nor added
    auto glow = uikit::UIView::create();
    auto folderView = uikit::UIView::create();
    folderView->addSubview(glow);

    auto alert = CustomPassAlertViewTQ::create(uikit::UIScreen::mainScreen().bounds(), NSStr("Utilities").ptr(), nullptr, 0,
        strings({ "com.apple.mobilesafari", "com.apple.camera", "com.apple.mobilenotes" }).ptr(), glow, nullptr);
    EXPECT_EQ(alert->kind(), CustomPassAlertViewTQ::Kind::Folder);
    EXPECT_EQ(alert->title(), "Utilities");
    EXPECT_EQ(alert->message(), "2 Application(s) currently using 12.75 MBs of RAM");
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Kill");

    ASSERT_TRUE(uikit::UIAlertView::tapButtonWithTitle("Kill"));
    EXPECT_FALSE(isRunning("com.apple.mobilesafari"));
    EXPECT_FALSE(isRunning("com.apple.camera"));
    EXPECT_EQ(glow->superview(), nullptr) << "a folder that was ended loses its indicator";
    EXPECT_TRUE(alerts().empty());
}

TEST_F(KillAlert, ApplicationSwipeAsksWithTheMemoryCutToTwoDecimalsAndKillEnds)
{
    run("com.apple.mobilesafari", 4242);
    m_memory = { { 4242, "3.141590" }, { 0, "8.999999" } };

    swipe("com.apple.mobilesafari", 0, -3);
    auto shown = alerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->title(), "Safari");
    EXPECT_EQ(shown[0]->message(), "Currently using 3.14 MBs of RAM");

    // Rounding would give 9.00; the figure is cut.
    EXPECT_EQ(CustomPassAlertViewTQ::create(uikit::UIScreen::mainScreen().bounds(), NSStr("Notes").ptr(),
                  NSStr("com.apple.mobilenotes").ptr(), 0, nullptr, nullptr, nullptr)->message(),
        "Currently using 8.99 MBs of RAM");
    closeAlerts();

    swipe("com.apple.mobilesafari", 0, -3);
    ASSERT_TRUE(uikit::UIAlertView::tapButtonWithTitle("Kill"));
    EXPECT_FALSE(isRunning("com.apple.mobilesafari"));
}

TEST_F(KillAlert, BadgeAlertClearsOnlyOnClear)
{
    auto* camera = iconView("com.apple.camera").icon();
    camera->setBadgeValue(3);

    swipe("com.apple.camera", 0, 6);
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0]->message(), "Would you like to remove the badge on this icon?");
    ASSERT_TRUE(uikit::UIAlertView::tapButtonWithTitle("Cancel"));
    EXPECT_EQ(camera->badgeValue(), 3);
    EXPECT_TRUE(alerts().empty());

    swipe("com.apple.camera", 0, 6);
    ASSERT_TRUE(uikit::UIAlertView::tapButtonWithTitle("Clear"));
    EXPECT_EQ(camera->badgeValue(), 0);
}

TEST_F(KillAlert, ClosingSignalShutsEveryOpenAlertWithoutEnding)
{
    run("com.apple.mobilesafari", 11);
    run("com.apple.camera", 12);
    swipe("com.apple.mobilesafari", 0, -3);
    swipe("com.apple.camera", 0, -3);
    ASSERT_EQ(alerts().size(), 2u);

    foundation::NSNotificationCenter::defaultCenter().postNotificationName("TorvaneSuicide");
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(isRunning("com.apple.mobilesafari"));
    EXPECT_TRUE(isRunning("com.apple.camera"));
}

TEST_F(KillAlert, DrawnPanelReplacesTheStockBackground)
{
    auto alert = CustomPassAlertViewTQ::create(uikit::UIScreen::mainScreen().bounds(), NSStr("Safari").ptr(),
        NSStr("com.apple.mobilesafari").ptr(), 0, nullptr, nullptr, nullptr);
    alert->layoutIfNeeded();
    // Only the stock background loses its image: a tagged image view keeps its own.
    auto tagged = uikit::UIImageView::create();
    tagged->setTag(5);
    tagged->setImage(uikit::UIImage::imageWithCGImage(graphics::CGBitmapContextCreateImage(graphics::CGBitmapContextCreate(2, 2))));
    alert->insertSubviewAtIndex(tagged, 0);
    alert->setNeedsLayout();
    alert->layoutIfNeeded();
    EXPECT_NE(tagged->image(), nullptr);
    for (auto& subview : alert->subviews()) {
        if (subview->isMemberOfClass(uikit::UIImageView::staticClass()) && subview->tag() == 0)
            EXPECT_EQ(static_cast<uikit::UIImageView&>(subview.get()).image(), nullptr);
    }
    tagged->removeFromSuperview();

    // Dark rounded panel with a grey rim and the gloss over the title, under the stock title,
    // message and buttons.
    auto image = uikit::renderViewToImage(*alert, 2);
    auto check = graphics::checkAgainstReference(image, std::filesystem::path(TORVANE_TWEAK_REFERENCES) / "KillAlertPanel.png");
    EXPECT_TRUE(check.passed) << check.message;
}
