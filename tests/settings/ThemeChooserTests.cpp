#include "SettingsTestSupport.h"

#include "ChooseCustomImageSetupController.h"
#include "ChooseImageSetupController.h"

#include <foundation/NSArray.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <uikit/NSIndexPath.h>
#include <preferences/PSClassFactory.h>
#include <preferences/PSSpecifier.h>
#include <uikit/UIAlertView.h>
#include <uikit/UILabel.h>
#include <uikit/UINavigationController.h>
#include <uikit/UITableViewCell.h>

#include <optional>
#include <string>
#include <vector>

using pane::ChooseCustomImageSetupController;
using pane::ChooseImageSetupController;
using namespace settings_test;
using foundation::NSArray;
using foundation::NSDictionary;
using foundation::NSStr;
using runtime::Ref;

namespace {

constexpr const char* themesRoot = "/Library/Application Support/Torvane/Themes";

Ref<NSDictionary> image(const char* displayName, const char* realName)
{
    return NSDictionary::create({ { "DisplayName", NSStr(displayName) }, { "RealName", NSStr(realName) } });
}

class ThemeChooser : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        // Listed in this order: a theme of two images, then "Icon Label Bars" with three, one of
        // which has the same file name as an image of the first.
        writeTheme("Aurora", NSDictionary::create({ { "ThemeFolderName", NSStr("Aurora Glow") },
            { "ImageFrame", NSStr("{{-4,-4},{67,67}}") },
            { "Names", NSArray::create({ image("Green Aurora", "Green.png"), image("Blue Aurora", "Blue.png") }) } }));
        writeTheme("Bars", NSDictionary::create({ { "ThemeFolderName", NSStr("Icon Label Bars") },
            { "ImageFrame", NSStr("{{-6,61},{71,15}}") },
            { "Names", NSArray::create({ image("Red Bar", "BarRed.png"), image("White Bar", "BarWhite.png"), image("Blue Bar", "Blue.png") }) } }));
        // The one-time information has been seen, unless a test says otherwise.
        writePreferences(NSDictionary::create({ { "ThemeAlertNew", NSStr("Informed") } }));
    }
    void TearDown() override
    {
        for (auto& alert : uikit::UIAlertView::visibleAlerts())
            alert->dismissWithClickedButtonIndex(-1, false);
        DeviceTest::TearDown();
    }

    void writeTheme(const char* folder, Ref<NSDictionary> list) const
    {
        std::filesystem::create_directories(hostPath(std::string(themesRoot) + "/" + folder));
        ASSERT_TRUE(list->writeToFile(std::string(themesRoot) + "/" + folder + "/list.plist", true));
    }

    // The chooser presented modally over a navigation controller standing for the Settings stack.
    Ref<ChooseCustomImageSetupController> openChooser()
    {
        m_settingsStack = uikit::UINavigationController::create();
        auto chooser = ChooseCustomImageSetupController::create();
        chooser->setRootController(m_settingsStack.get());
        EXPECT_TRUE(chooser->initForContentSize({ 320, 416 }));
        m_settingsStack->presentModalViewController(chooser, false);
        return chooser;
    }
    bool chooserIsOpen() const { return m_settingsStack->modalViewController() != nullptr; }

    static void pick(ChooseCustomImageSetupController& chooser, int section, int row)
    {
        chooser.tableViewDidSelectRowAtIndexPath(*chooser.selectionTable(), uikit::NSIndexPath::indexPathForRow(row, section));
    }
    static Ref<uikit::UITableViewCell> row(ChooseCustomImageSetupController& chooser, int section, int row)
    {
        return *chooser.tableViewCellForRowAtIndexPath(*chooser.selectionTable(), uikit::NSIndexPath::indexPathForRow(row, section));
    }
    // The rows that carry the checkmark, as "section.row".
    static std::vector<std::string> checkedRows(ChooseCustomImageSetupController& chooser)
    {
        std::vector<std::string> checked;
        auto& table = *chooser.selectionTable();
        for (int section = 0; section < chooser.numberOfSectionsInTableView(table); ++section) {
            for (int index = 0; index < chooser.tableViewNumberOfRowsInSection(table, section); ++index) {
                if (row(chooser, section, index)->accessoryType() == uikit::UITableViewCellAccessoryCheckmark)
                    checked.push_back(std::to_string(section) + "." + std::to_string(index));
            }
        }
        return checked;
    }

    runtime::RefPtr<uikit::UINavigationController> m_settingsStack;
};

// Sections follow the listing with the themes' own names as headers, the footer stands under the
// last section only, and the checkmark follows the file name into both themes.
TEST_F(ThemeChooser, SectionsFooterAndCheckmarkFollowTheThemes)
{
    writePreferences(NSDictionary::create({ { "ThemeAlertNew", NSStr("Informed") },
        { "SelectedTheme", NSDictionary::create({ { "ImageName", NSStr("Blue.png") }, { "Frame", NSStr("{{-4,-4},{67,67}}") } }) } }));
    auto chooser = openChooser();
    auto& table = *chooser->selectionTable();
    ASSERT_EQ(chooser->numberOfSectionsInTableView(table), 2);
    EXPECT_EQ(chooser->tableViewNumberOfRowsInSection(table, 0), 2);
    EXPECT_EQ(chooser->tableViewNumberOfRowsInSection(table, 1), 3);
    EXPECT_EQ(chooser->tableViewTitleForHeaderInSection(table, 0), std::optional<std::string>("Aurora Glow"));
    EXPECT_EQ(chooser->tableViewTitleForHeaderInSection(table, 1), std::optional<std::string>("Icon Label Bars"));
    EXPECT_EQ(chooser->tableViewTitleForFooterInSection(table, 0), std::nullopt);
    EXPECT_NE(chooser->tableViewTitleForFooterInSection(table, 1), std::nullopt);
    EXPECT_EQ(row(*chooser, 1, 1)->textLabel().text(), "White Bar");
    EXPECT_EQ(checkedRows(*chooser), (std::vector<std::string> { "0.1", "1.2" }));

    pick(*chooser, 1, 0);
    EXPECT_EQ(checkedRows(*chooser), (std::vector<std::string> { "1.0" }));
}

// Save writes the whole picked image as SelectedTheme; for "Icon Label Bars" it first turns
// MoveImageAboveIcon off, and only when it was on. Then the chooser closes.
TEST_F(ThemeChooser, SaveWritesThePickedImageWhole)
{
    writePreferences(NSDictionary::create({ { "ThemeAlertNew", NSStr("Informed") },
        { "MoveImageAboveIcon", foundation::NSNumber::numberWithBool(true) },
        { "SelectedTheme", NSDictionary::create({ { "ImageName", NSStr("Green.png") }, { "Legacy", NSStr("old") } }) } }));
    auto chooser = openChooser();
    pick(*chooser, 1, 1);
    chooser->saveImages();

    EXPECT_FALSE(chooserIsOpen());
    auto saved = readPreferences();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->objectForKey("MoveImageAboveIcon")->description(), "0");
    auto expected = NSDictionary::create({ { "Frame", NSStr("{{-6,61},{71,15}}") },
        { "ImagePath", NSStr(std::string(themesRoot) + "/Bars/BarWhite.png") }, { "ImageName", NSStr("BarWhite.png") },
        { "DisplayName", NSStr("White Bar") }, { "Name", NSStr("Icon Label Bars") } });
    EXPECT_TRUE(expected->isEqual(saved->objectForKey("SelectedTheme").get())) << saved->description();

    writePreferences(NSDictionary::create({ { "ThemeAlertNew", NSStr("Informed") }, { "MoveImageAboveIcon", foundation::NSNumber::numberWithBool(true) } }));
    auto again = openChooser();
    pick(*again, 0, 1);
    again->saveImages();
    EXPECT_EQ(readPreferences()->objectForKey("MoveImageAboveIcon")->description(), "1") << "other themes may stay above the icon";
}

// A theme without a frame still saves every entry it has: the missing one is left out, not the
// entries after it.
TEST_F(ThemeChooser, AThemeWithoutAFrameSavesTheOtherEntries)
{
    writeTheme("Plain", NSDictionary::create({ { "ThemeFolderName", NSStr("Plain") },
        { "Names", NSArray::create({ image("Plain Ring", "Ring.png") }) } }));
    auto chooser = openChooser();
    ASSERT_EQ(chooser->numberOfSectionsInTableView(*chooser->selectionTable()), 3);
    pick(*chooser, 2, 0);
    chooser->saveImages();

    auto saved = runtime::dynamicCast<NSDictionary>(readPreferences()->objectForKey("SelectedTheme"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->objectForKey("Frame"), nullptr);
    auto expected = NSDictionary::create({ { "ImagePath", NSStr(std::string(themesRoot) + "/Plain/Ring.png") },
        { "ImageName", NSStr("Ring.png") }, { "DisplayName", NSStr("Plain Ring") }, { "Name", NSStr("Plain") } });
    EXPECT_TRUE(expected->isEqual(saved.get())) << saved->description();
}

// Cancel after a pick, and Save after picking the image already chosen, close without writing.
TEST_F(ThemeChooser, CancelAndRepickingTheCurrentImageWriteNothing)
{
    writePreferences(NSDictionary::create({ { "ThemeAlertNew", NSStr("Informed") },
        { "SelectedTheme", NSDictionary::create({ { "ImageName", NSStr("Green.png") } }) } }));
    auto before = readPreferences();

    auto cancelled = openChooser();
    pick(*cancelled, 1, 0);
    cancelled->doneWithPage();
    EXPECT_FALSE(chooserIsOpen());
    EXPECT_TRUE(before->isEqual(readPreferences().get()));

    auto unchanged = openChooser();
    pick(*unchanged, 0, 0);
    EXPECT_EQ(unchanged->willSaveDict().count(), 0u);
    unchanged->saveImages();
    EXPECT_FALSE(chooserIsOpen());
    EXPECT_TRUE(before->isEqual(readPreferences().get()));
}

// The information about themes shows at the first opening with a preferences file, never again.
TEST_F(ThemeChooser, ThemesInformationShowsOnce)
{
    writePreferences(NSDictionary::create({}));
    openChooser();
    auto alerts = uikit::UIAlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.front()->title(), std::optional<std::string>("Themes"));
    EXPECT_EQ(alerts.front()->buttonTitleAtIndex(alerts.front()->cancelButtonIndex()), std::optional<std::string>("Dismiss"));
    EXPECT_EQ(readPreferences()->objectForKey("ThemeAlertNew")->description(), "Informed");
    alerts.front()->dismissWithClickedButtonIndex(0, false);

    openChooser();
    EXPECT_TRUE(uikit::UIAlertView::visibleAlerts().empty());
}

// The chooser entry as the specifier file names it: the setup controller made by name shows the
// chooser as its first screen, and the chooser's Save closes the whole modal stack.
TEST_F(ThemeChooser, ChooserEntryOpensAndSaveClosesTheSetupController)
{
    auto entry = preferences::PSSpecifier::create("Indicator Image", preferences::PSCellType::Link);
    entry->setPropertyForKey(NSStr("ChooseCustomImageSetupController"), "customControllerClass");
    auto made = preferences::PSClassFactory::makeViewController("ChooseImageSetupController");
    auto* setup = runtime::dynamicCast<ChooseImageSetupController>(made.get());
    ASSERT_NE(setup, nullptr);

    auto settingsStack = uikit::UINavigationController::create();
    setup->setupWithSpecifier(*entry, *settingsStack, nullptr);
    settingsStack->presentModalViewController(*setup, false);
    auto* chooser = runtime::dynamicCast<ChooseCustomImageSetupController>(setup->topViewController());
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->navigationItem().title(), std::optional<std::string>("Images"));

    pick(*chooser, 0, 0);
    ASSERT_TRUE(chooser->navigationItem().rightBarButtonItem()->performAction());
    EXPECT_EQ(settingsStack->modalViewController(), nullptr);
    EXPECT_EQ(readPreferences()->dictionaryForKey("SelectedTheme")->objectForKey("ImageName")->description(), "Green.png");
}

}
