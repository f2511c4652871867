#include "SpringBoardTestSupport.h"

#include <springboard/SBAwayController.h>
#include <springboard/SBCloseBoxView.h>
#include <springboard/SBFolder.h>
#include <springboard/SBIconBadgeView.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconImageContainerView.h>
#include <springboard/SBIconImageView.h>
#include <springboard/SBIconLabelImageView.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>

#include <foundation/NSData.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <graphics/Image.h>
#include <graphics/ImageCompare.h>
#include <uikit/NSKeyedArchiver.h>

#include <string>
#include <vector>

using namespace springboard;
using springboard::testing::DeviceFixture;

using HomeScreen = DeviceFixture;

TEST_F(HomeScreen, FolderHoldsItsApplicationsAndNothingElse)
{
    auto& springBoard = boot();
    SBFolder* utilities = springBoard.model().folderNamed("Utilities");
    ASSERT_NE(utilities, nullptr);
    EXPECT_TRUE(utilities->containsNodeIdentifier("com.apple.mobilecal"));
    EXPECT_TRUE(utilities->containsNodeIdentifier("com.apple.mobilenotes"));
    EXPECT_FALSE(utilities->containsNodeIdentifier("com.apple.mobilesafari"));
    EXPECT_FALSE(utilities->containsNodeIdentifier("com.apple.mobile"));

    auto identifiers = utilities->containedNodeIdentifiers();
    EXPECT_EQ(identifiers->count(), 3u);
    EXPECT_TRUE(identifiers->containsObject(foundation::NSString::create("com.apple.mobiletimer")));

    auto* calendar = springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobilecal");
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(springBoard.model().locationOfIcon(*calendar), "folder:Utilities");
    ASSERT_NE(utilities->icon(), nullptr);
    EXPECT_TRUE(utilities->icon()->isFolderIcon());
    EXPECT_EQ(utilities->icon()->folder(), utilities);
    EXPECT_EQ(springBoard.model().locationOfIcon(*utilities->icon()), "page0");
}

TEST_F(HomeScreen, DescriptionPlacesIconsAndOverflowsFullPages)
{
    HomeScreenDescription description;
    for (int index = 0; index < 18; ++index)
        description.applications.push_back({ "com.example.app" + std::to_string(index), "App " + std::to_string(index), 0 });
    description.dock = { "com.example.app0" };
    auto& springBoard = boot(description);
    auto& model = springBoard.model();
    ASSERT_EQ(model.pages().size(), 2u);
    EXPECT_EQ(model.pages()[0].size(), 16u);
    EXPECT_EQ(model.pages()[1].size(), 1u);
    EXPECT_EQ(model.dock().size(), 1u);
    EXPECT_EQ(model.locationOfIcon(*model.applicationIconForDisplayIdentifier("com.example.app17")), "page1");
    EXPECT_EQ(model.applicationIconForDisplayIdentifier("com.example.nothing"), nullptr);
}

TEST_F(HomeScreen, IconViewsSitAtTheIOS6Positions)
{
    auto& springBoard = boot();
    auto& map = springBoard.homescreenMap();
    auto frameOf = [&](const char* identifier) {
        auto* view = map.iconViewForIcon(springBoard.model().applicationIconForDisplayIdentifier(identifier));
        EXPECT_NE(view, nullptr) << identifier;
        return view ? view->convertRectToView(view->bounds(), nullptr) : uikit::CGRectZero;
    };
    auto photos = frameOf("com.apple.mobileslideshow");
    EXPECT_FLOAT_EQ(photos.origin.x, 17);
    EXPECT_FLOAT_EQ(photos.origin.y, 26);
    EXPECT_FLOAT_EQ(photos.size.width, 59);
    auto maps = frameOf("com.apple.Maps"); // fourth item: the last column
    EXPECT_FLOAT_EQ(maps.origin.x, 245);
    auto cydia = frameOf("com.saurik.Cydia"); // fifth item: second row
    EXPECT_FLOAT_EQ(cydia.origin.x, 17);
    EXPECT_FLOAT_EQ(cydia.origin.y, 114);
    // Three dock icons are centred with the page's gaps.
    auto phone = frameOf("com.apple.mobilephone");
    auto safari = frameOf("com.apple.mobilesafari");
    EXPECT_FLOAT_EQ(phone.origin.y, 394);
    EXPECT_FLOAT_EQ(safari.origin.x - phone.origin.x, 152);
    EXPECT_FLOAT_EQ(phone.origin.x + (safari.origin.x + 59 - phone.origin.x) / 2, 160.5);
    auto* dockView = map.iconViewForIcon(springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobilephone"));
    EXPECT_TRUE(dockView->isInDock());
    EXPECT_FALSE(map.iconViewForIcon(springBoard.model().applicationIconForDisplayIdentifier("com.apple.Maps"))->isInDock());
}

TEST_F(HomeScreen, MappingReusesTheViewOfAnIconWithinAMap)
{
    auto& springBoard = boot();
    auto* icon = springBoard.model().applicationIconForDisplayIdentifier("com.apple.Maps");
    auto& home = springBoard.homescreenMap();
    auto& switcher = springBoard.switcherMap();
    SBIconView* first = home.mappedIconViewForIcon(icon);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(home.mappedIconViewForIcon(icon), first);
    EXPECT_EQ(home.iconViewForIcon(icon), first);
    EXPECT_EQ(first->icon(), icon);

    // The switcher map has its own views and makes none by looking.
    EXPECT_EQ(switcher.iconViewForIcon(icon), nullptr);
    SBIconView* inSwitcher = switcher.mappedIconViewForIcon(icon);
    ASSERT_NE(inSwitcher, nullptr);
    EXPECT_NE(inSwitcher, first);
    switcher.purgeIconView(icon);
    EXPECT_EQ(switcher.iconViewForIcon(icon), nullptr);
    EXPECT_EQ(home.mappedIconViewForIcon(nullptr), nullptr);

    EXPECT_EQ(SBIconViewMap::homescreenMap(), &home);
    EXPECT_EQ(home.iconModel(), &springBoard.model());
    EXPECT_EQ(switcher.iconModel(), &springBoard.model());
}

TEST_F(HomeScreen, IconViewHoldsImageLabelAndBadgeParts)
{
    auto& springBoard = boot();
    auto* icon = springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobileslideshow");
    auto* view = springBoard.homescreenMap().iconViewForIcon(icon);
    ASSERT_NE(view, nullptr);
    ASSERT_GE(view->subviews().size(), 2u);
    auto* container = runtime::dynamicCast<SBIconImageContainerView>(view->subviews()[0]);
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->subviews().size(), 1u);
    auto* imageView = runtime::dynamicCast<SBIconImageView>(container->subviews()[0]);
    ASSERT_NE(imageView, nullptr);
    ASSERT_NE(imageView->image(), nullptr);
    EXPECT_FLOAT_EQ(imageView->image()->size().width, 59);
    EXPECT_FLOAT_EQ(imageView->image()->size().height, 59);
    auto* label = runtime::dynamicCast<SBIconLabelImageView>(view->subviews()[1]);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(label->image(), nullptr);
    EXPECT_GT(label->image()->size().width, 10);
    EXPECT_FLOAT_EQ(label->frame().origin.y, SBIconView::labelTop);
    // Centred under the image.
    EXPECT_NEAR(label->frame().origin.x + label->frame().size.width / 2, 29.5, 0.01);
    EXPECT_EQ(view->badgeView(), nullptr);
}

TEST_F(HomeScreen, BadgesFollowTheIconsValue)
{
    auto& springBoard = boot();
    auto* icon = springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobilesafari");
    auto* view = springBoard.homescreenMap().iconViewForIcon(icon);
    ASSERT_NE(view, nullptr);

    icon->setBadge(foundation::NSNumber::numberWithInt(3).ptr());
    EXPECT_EQ(icon->badgeValue(), 3);
    ASSERT_NE(view->badgeView(), nullptr);
    EXPECT_EQ(view->badgeView()->text(), "3");
    EXPECT_EQ(view->badgeView()->superview(), view);

    icon->setBadge(foundation::NSString::create("12").ptr());
    EXPECT_EQ(view->badgeView()->text(), "12");
    EXPECT_GT(view->badgeView()->frame().size.width, SBIconBadgeView::height);

    icon->setBadge(nullptr);
    EXPECT_EQ(icon->badgeValue(), 0);
    EXPECT_EQ(view->badgeView(), nullptr);

    icon->setBadge(foundation::NSNumber::numberWithInt(4).ptr());
    icon->setBadge(foundation::NSNumber::numberWithInt(0).ptr());
    EXPECT_EQ(view->badgeView(), nullptr) << "0 clears like nil";
    icon->setBadge(foundation::NSNumber::numberWithInt(-2).ptr());
    EXPECT_EQ(icon->badgeValue(), 0);
}

TEST_F(HomeScreen, DescribedBadgesShowAtStart)
{
    auto description = HomeScreenDescription::standard();
    description.applications[3].badge = 7; // Photos
    auto& springBoard = boot(description);
    auto* icon = springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobileslideshow");
    EXPECT_EQ(icon->badgeValue(), 7);
    auto* view = springBoard.homescreenMap().iconViewForIcon(icon);
    ASSERT_NE(view->badgeView(), nullptr);
}

TEST_F(HomeScreen, ArchivedCopyOfAnIconViewKeepsItsImageAndLabelViews)
{
    auto& springBoard = boot();
    auto* icon = springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobileslideshow");
    icon->setBadgeValue(2);
    auto* view = springBoard.homescreenMap().iconViewForIcon(icon);
    auto data = uikit::NSKeyedArchiver::archivedDataWithRootObject(*view);
    ASSERT_NE(data, nullptr);
    auto copy = uikit::NSKeyedUnarchiver::unarchiveObjectWithData(*data);
    auto* copiedView = runtime::dynamicCast<SBIconView>(copy);
    ASSERT_NE(copiedView, nullptr);
    EXPECT_NE(copiedView, view);
    EXPECT_EQ(copiedView->superview(), nullptr);
    ASSERT_EQ(copiedView->subviews().size(), view->subviews().size());
    auto* container = runtime::dynamicCast<SBIconImageContainerView>(copiedView->subviews()[0]);
    ASSERT_NE(container, nullptr);
    auto* imageView = runtime::dynamicCast<SBIconImageView>(container->subviews().at(0));
    ASSERT_NE(imageView, nullptr);
    ASSERT_NE(imageView->image(), nullptr);
    auto* label = runtime::dynamicCast<SBIconLabelImageView>(copiedView->subviews()[1]);
    ASSERT_NE(label, nullptr);
    EXPECT_NE(label->image(), nullptr);
    auto* badge = runtime::dynamicCast<SBIconBadgeView>(copiedView->subviews()[2]);
    ASSERT_NE(badge, nullptr);
    EXPECT_EQ(badge->text(), "2");
}

TEST_F(HomeScreen, TargetsResolveByNameOrIdentifierInTheCurrentContext)
{
    auto& springBoard = boot();
    EXPECT_EQ(springBoard.iconForTarget("Safari").leafIdentifier(), "com.apple.mobilesafari");
    EXPECT_EQ(springBoard.iconForTarget("com.apple.mobilesafari").displayName(), "Safari");
    EXPECT_TRUE(springBoard.iconForTarget("Utilities").isFolderIcon());
    EXPECT_THROW(springBoard.iconForTarget("Nothing"), SpringBoardError);

    // An icon inside a closed folder is known but out of reach.
    EXPECT_EQ(springBoard.iconForTarget("Clock").leafIdentifier(), "com.apple.mobiletimer");
    EXPECT_THROW(springBoard.iconViewForTarget("Clock"), SpringBoardError);
    springBoard.openFolderNamed("Utilities");
    auto& clock = springBoard.iconViewForTarget("Clock");
    EXPECT_NE(clock.window(), nullptr);
    EXPECT_THROW(springBoard.openFolderNamed("Games"), SpringBoardError);

    // While the switcher bar shows, only its icons count.
    springBoard.showSwitcher();
    EXPECT_THROW(springBoard.iconForTarget("Safari"), SpringBoardError);
    springBoard.hideSwitcher();
    EXPECT_NO_THROW(springBoard.iconForTarget("Safari"));
}

TEST_F(HomeScreen, OpeningAFolderShowsItsIconsAndClosingPutsThemAway)
{
    auto& springBoard = boot();
    springBoard.openFolderNamed("Utilities");
    auto* notes = springBoard.homescreenMap().iconViewForIcon(springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobilenotes"));
    ASSERT_NE(notes, nullptr);
    ASSERT_NE(notes->window(), nullptr);
    auto frame = notes->convertRectToView(notes->bounds(), nullptr);
    // The panel opens below the folder icon's row (row 1 ends at 26 + 74).
    EXPECT_GT(frame.origin.y, 100);
    EXPECT_FLOAT_EQ(frame.origin.x, 169);
    springBoard.closeFolder();
    EXPECT_EQ(notes->window(), nullptr);
}

TEST_F(HomeScreen, HomeScreenRendersAtRetinaSize)
{
    auto& springBoard = boot();
    springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobilemail")->setBadgeValue(4);
    auto image = springBoard.renderScreen();
    ASSERT_TRUE(image);
    EXPECT_EQ(image.width(), 640);
    EXPECT_EQ(image.height(), 960);
    auto png = graphics::CGImageCreatePNGData(image);
    EXPECT_GT(png.size(), 10000u);
    // The wallpaper is not black, and the photo icon's tile covers its spot.
    auto wallpaper = image.pixelAt(320, 40);
    EXPECT_EQ(wallpaper.alpha, 255);
    EXPECT_GT(int(wallpaper.blue), 40);
    auto photos = image.pixelAt(2 * (17 + 29), 2 * (26 + 40));
    EXPECT_EQ(photos.alpha, 255);
    EXPECT_NE(photos, wallpaper);
    if (const char* out = std::getenv("SB_SCREENSHOT"))
        graphics::CGImageWritePNGFile(image, out);
}

TEST_F(HomeScreen, HomeScreenWithFolderBadgeAndSwitcherMatchesItsReferencePicture)
{
    // The standard device with a badge, an open folder and then the switcher bar over two running
    // applications: every part of SpringBoard's look in two pictures, checked by eye once.
    auto& springBoard = boot();
    springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobilemail")->setBadgeValue(4);
    springBoard.openFolderNamed("Utilities");
    auto folder = graphics::checkAgainstReference(springBoard.renderScreen(), REFERENCES_DIR "/home-folder.png");
    EXPECT_TRUE(folder.passed) << folder.message;

    springBoard.closeFolder();
    auto& controller = *SBApplicationController::sharedInstance();
    controller.launchApplication("com.apple.Maps", 1);
    controller.launchApplication("com.apple.mobilesafari", 1);
    springBoard.showSwitcher();
    auto switcher = graphics::checkAgainstReference(springBoard.renderScreen(), REFERENCES_DIR "/switcher.png");
    EXPECT_TRUE(switcher.passed) << switcher.message;
    ASSERT_TRUE(settle());
}

TEST_F(HomeScreen, FolderIconShowsTheBadgesOfItsApplications)
{
    auto& springBoard = boot();
    auto* folderView = springBoard.homescreenMap().iconViewForIcon(springBoard.model().folderNamed("Utilities")->icon());
    ASSERT_NE(folderView, nullptr);
    EXPECT_EQ(folderView->badgeView(), nullptr);
    springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobiletimer")->setBadgeValue(3);
    springBoard.model().applicationIconForDisplayIdentifier("com.apple.mobilenotes")->setBadgeValue(9);
    ASSERT_NE(folderView->badgeView(), nullptr);
    EXPECT_EQ(folderView->badgeView()->text(), "12");
}

TEST_F(HomeScreen, EditingShowsCloseBoxesOnTheRemovableIconsOnly)
{
    // Built-in applications and folders cannot be deleted; a folder may hold one that can.
    auto description = HomeScreenDescription::standard();
    description.applications.push_back({ "com.example.notebook", "Notebook" });
    description.folders[0].second.push_back("com.example.notebook");
    auto& springBoard = boot(description);
    auto& model = springBoard.model();
    auto closeBoxesOn = [&](const std::vector<runtime::Ref<SBIcon>>& icons) {
        std::vector<std::string> names;
        for (auto& icon : icons) {
            auto* view = springBoard.homescreenMap().iconViewForIcon(icon.ptr());
            if (view && view->closeBoxView() && view->closeBoxView()->superview() == view)
                names.push_back(icon->displayName());
        }
        return names;
    };
    using Names = std::vector<std::string>;
    const auto& folderIcons = model.folderNamed("Utilities")->icons();
    auto& iconController = *SBIconController::sharedInstance();

    iconController.setIsEditing(true);
    EXPECT_EQ(closeBoxesOn(model.pages()[0]), (Names { "Cydia", "iFile" }));
    EXPECT_EQ(closeBoxesOn(model.dock()), Names {});
    auto picture = graphics::checkAgainstReference(springBoard.renderScreen(), REFERENCES_DIR "/home-editing.png");
    EXPECT_TRUE(picture.passed) << picture.message;
    // The folder's views are first made now, while editing.
    springBoard.openFolderNamed("Utilities");
    EXPECT_EQ(closeBoxesOn(folderIcons), (Names { "Notebook" }));

    iconController.setIsEditing(false);
    EXPECT_EQ(closeBoxesOn(folderIcons), Names {});
    springBoard.closeFolder();
    EXPECT_EQ(closeBoxesOn(model.pages()[0]), Names {});
}

TEST_F(HomeScreen, LockedStatusBarShowsAPadlockWhereTheTimeWas)
{
    auto& springBoard = boot();
    auto statusBarMiddle = [](const graphics::CGImage& image) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 40; ++y) {
            for (int x = 240; x < 400; ++x)
                pixels.push_back(image.premultipliedAt(x, y));
        }
        return pixels;
    };
    auto unlocked = statusBarMiddle(springBoard.renderScreen());

    SBAwayController::sharedInstance()->lock();
    auto locked = springBoard.renderScreen();
    auto picture = graphics::checkAgainstReference(locked, REFERENCES_DIR "/lock.png");
    EXPECT_TRUE(picture.passed) << picture.message;
    auto padlockBody = locked.pixelAt(320, 26);
    EXPECT_GT(int(padlockBody.red), 240);
    EXPECT_GT(int(padlockBody.blue), 240);

    SBAwayController::sharedInstance()->unlock();
    EXPECT_EQ(statusBarMiddle(springBoard.renderScreen()), unlocked) << "the time is back in the status bar";
}
