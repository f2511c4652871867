#include "SpringBoardTestSupport.h"

#include <springboard/SBIconListLayout.h>
#include <springboard/SBIconModel.h>

#include <climits>
#include <vector>

using namespace springboard;
using springboard::host::ApplicationProcesses;
using springboard::testing::DeviceFixture;

TEST(IconListLayout, DockCentresFewerThanFourIconsWithThePageGaps)
{
    struct Case {
        size_t count;
        float firstX;
    };
    // n icons of 59 with 17-point gaps, centred where the page columns are: four on the columns,
    // two on the middle ones.
    for (auto [count, firstX] : { Case { 1, 131 }, Case { 2, 93 }, Case { 3, 55 }, Case { 4, 17 } }) {
        for (size_t index = 0; index < count; ++index) {
            auto origin = SBIconListLayout::originForIcon(SBIconListLayout::Style::Dock, index, count);
            EXPECT_FLOAT_EQ(origin.x, firstX + 76 * index) << count << " icons, icon " << index;
            EXPECT_FLOAT_EQ(origin.y, 10);
        }
    }
}

TEST(IconListLayout, PagesFillRowsAndTheSwitcherBarFillsScreens)
{
    auto last = SBIconListLayout::originForIcon(SBIconListLayout::Style::Page, 15, 16);
    EXPECT_FLOAT_EQ(last.x, 245);
    EXPECT_FLOAT_EQ(last.y, 290);
    auto fifth = SBIconListLayout::originForIcon(SBIconListLayout::Style::Switcher, 4, 6);
    EXPECT_FLOAT_EQ(fifth.x, 320 + 17);
    EXPECT_FLOAT_EQ(fifth.y, 12);
    auto folderSecondRow = SBIconListLayout::originForIcon(SBIconListLayout::Style::Folder, 5, 6);
    EXPECT_FLOAT_EQ(folderSecondRow.x, 93);
    EXPECT_FLOAT_EQ(folderSecondRow.y, 34 + 88);
    EXPECT_GT(SBIconListLayout::folderPanelHeight(5), SBIconListLayout::folderPanelHeight(4));
    EXPECT_EQ(SBIconListLayout::folderPanelHeight(0), SBIconListLayout::folderPanelHeight(1)) << "an empty folder still has a row";
}

TEST(IconModel, EachApplicationHasOnePlaceAndPlacesHaveRoom)
{
    auto model = SBIconModel::create();
    auto icon = [](const char* identifier) { return SBApplicationIcon::create(SBApplication::create(identifier, identifier)); };
    EXPECT_TRUE(model->addApplicationIconToPage(icon("com.a"), 0));
    EXPECT_FALSE(model->addApplicationIconToDock(icon("com.a"))) << "a second icon for the same application";
    EXPECT_FALSE(model->addApplicationIconToFolder(icon("com.a"), "Stuff"));
    EXPECT_EQ(model->folderNamed("Stuff"), nullptr) << "a refused member makes no folder";
    for (const char* identifier : { "com.d1", "com.d2", "com.d3", "com.d4" })
        EXPECT_TRUE(model->addApplicationIconToDock(icon(identifier)));
    EXPECT_FALSE(model->addApplicationIconToDock(icon("com.d5")));
    EXPECT_EQ(model->applicationIconForDisplayIdentifier("com.d5"), nullptr) << "a refused icon is not registered";

    EXPECT_TRUE(model->addApplicationIconToFolder(icon("com.f1"), "Stuff", 1));
    EXPECT_TRUE(model->addApplicationIconToFolder(icon("com.f2"), "Stuff"));
    auto* folder = model->folderNamed("Stuff");
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->icons().size(), 2u);
    EXPECT_EQ(model->locationOfIcon(*folder->icon()), "page1");
    EXPECT_EQ(model->pageOfIcon(*model->applicationIconForDisplayIdentifier("com.f2")), 1) << "a folder member is on its folder's page";
    EXPECT_EQ(model->pageOfIcon(*model->applicationIconForDisplayIdentifier("com.d1")), -1);
    EXPECT_TRUE(model->isIconInDock(*model->applicationIconForDisplayIdentifier("com.d1")));
}

TEST(IconModel, FolderBadgeIsItsApplicationsBadgesAddedUpAndFollowsThem)
{
    auto model = SBIconModel::create();
    auto icon = [](const char* identifier, int badge) {
        auto made = SBApplicationIcon::create(SBApplication::create(identifier, identifier));
        made->setBadgeValue(badge);
        return made;
    };
    auto mail = icon("com.mail", 2);
    auto notes = icon("com.notes", 0);
    ASSERT_TRUE(model->addApplicationIconToFolder(mail, "Stuff"));
    SBFolderIcon* folderIcon = model->folderNamed("Stuff")->icon();
    ASSERT_NE(folderIcon, nullptr);
    EXPECT_EQ(folderIcon->badgeValue(), 2);

    // What the folder icon's views hear: each new sum, once.
    std::vector<int> heard;
    auto observation = folderIcon->observeChanges([&] { heard.push_back(folderIcon->badgeValue()); });
    ASSERT_TRUE(model->addApplicationIconToFolder(notes, "Stuff"));
    ASSERT_TRUE(model->addApplicationIconToFolder(icon("com.news", 3), "Stuff"));
    notes->setBadgeValue(4);
    mail->setBadge(nullptr);
    notes->setBadgeValue(4);
    EXPECT_EQ(heard, (std::vector<int> { 5, 9, 7 }));

    // The folder has no badge of its own to set; clearing its badge clears its applications'.
    folderIcon->setBadgeValue(20);
    EXPECT_EQ(folderIcon->badgeValue(), 7);
    folderIcon->setBadge(nullptr);
    EXPECT_EQ(folderIcon->badgeValue(), 0);
    EXPECT_EQ(notes->badgeValue(), 0);
    EXPECT_EQ(heard.back(), 0);

    mail->setBadgeValue(INT_MAX);
    notes->setBadgeValue(INT_MAX);
    EXPECT_EQ(folderIcon->badgeValue(), INT_MAX) << "a sum too large for a badge must not wrap round";
}

using ProcessStart = DeviceFixture;

TEST_F(ProcessStart, MissingApplicationExecutableFailsTheLaunchCleanly)
{
    boot();
    ApplicationProcesses::shared().setExecutable((root() / "no-such-sim-app").string());
    auto& maps = application("com.apple.Maps");
    EXPECT_THROW(SBApplicationController::sharedInstance()->launchApplication("com.apple.Maps", 1), std::runtime_error);
    EXPECT_EQ(maps.applicationState(), SBApplicationStateNeverStarted);
    EXPECT_EQ(maps.pid(), 0);
    EXPECT_EQ(ApplicationProcesses::shared().childCount(), 0u);
    EXPECT_TRUE(ApplicationProcesses::shared().isSettled());
}

TEST_F(ProcessStart, ApplicationThatCannotStartIsStoppedWhenItsProcessEnds)
{
    boot();
    // An executable that exits at once stands for an application that crashes on start.
    ApplicationProcesses::shared().setExecutable("/bin/false");
    SBApplicationController::sharedInstance()->launchApplication("com.apple.Maps", 1);
    auto& maps = application("com.apple.Maps");
    EXPECT_EQ(maps.applicationState(), SBApplicationStateForeground);
    ASSERT_TRUE(runUntil([&] { return maps.applicationState() == SBApplicationStateStopped; }));
    EXPECT_EQ(maps.pid(), 0);
    EXPECT_TRUE(settle());
}
