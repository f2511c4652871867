// The disabled-applications list once the companion has answered: what counts as no data.

#include "NeverShowApplicationsController.h"
#include "SettingsTestSupport.h"

#include <foundation/NSArray.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIAlertView.h>
#include <uikit/UITableViewCell.h>

namespace {

using foundation::NSArray;
using pane::NeverShowApplicationsController;
using foundation::NSDictionary;
using foundation::NSStr;
using runtime::Ref;

constexpr const char* companionDataPath = "/var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist";

class DisabledListLoading : public settings_test::DeviceTest {
protected:
    void TearDown() override
    {
        for (auto& alert : uikit::UIAlertView::visibleAlerts())
            alert->dismissWithClickedButtonIndex(-1, false);
        settings_test::DeviceTest::TearDown();
    }

    void writeCompanionData(Ref<NSArray> records) const
    {
        std::filesystem::create_directories(hostPath("/var/mobile/Library/Nimbrel"));
        ASSERT_TRUE(NSDictionary::create({ { "ApplicationData", records } })->writeToFile(companionDataPath, true));
    }
    static Ref<NSDictionary> record(const char* name, const char* identifier, bool isFolder)
    {
        return NSDictionary::create({ { "AppName", NSStr(name) }, { "BundleID", NSStr(identifier) },
            { "IconPath", NSStr("/nowhere.png") }, { "IsFolder", foundation::NSNumber::numberWithBool(isFolder) } });
    }
    // The list as it is once the companion's completion signal has reached it.
    static Ref<NeverShowApplicationsController> loadedList()
    {
        auto list = NeverShowApplicationsController::create();
        EXPECT_TRUE(list->initForContentSize({ 320, 436 }));
        list->checkApps();
        return list;
    }
    static std::vector<std::string> alertTitles()
    {
        std::vector<std::string> titles;
        for (auto& alert : uikit::UIAlertView::visibleAlerts())
            titles.push_back(alert->title().value_or(""));
        return titles;
    }
};

// Only folders, an empty array and no file at all all end in the same alert over an empty table,
// with the waiting display gone and scrolling back on.
TEST_F(DisabledListLoading, NoApplicationsEndInTheLoadingErrorAlert)
{
    writeCompanionData(NSArray::create({ record("Utilities", "folder:Utilities", true) }));
    auto foldersOnly = loadedList();
    EXPECT_EQ(foldersOnly->numberOfSectionsInTableView(*foldersOnly->appTable()), 0);
    EXPECT_TRUE(foldersOnly->appTable()->isScrollEnabled());
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Loading Error" });
    ASSERT_EQ(uikit::UIAlertView::visibleAlerts().size(), 1u);
    EXPECT_EQ(uikit::UIAlertView::visibleAlerts().front()->message(), std::optional<std::string>("Applications could not be loaded, please try again."));
    uikit::UIAlertView::visibleAlerts().front()->dismissWithClickedButtonIndex(0, false);

    writeCompanionData(NSArray::create());
    loadedList();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Loading Error" });
    uikit::UIAlertView::visibleAlerts().front()->dismissWithClickedButtonIndex(0, false);

    std::filesystem::remove(hostPath(companionDataPath));
    loadedList();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Loading Error" });
}

// A one-letter application still counts as loaded: no alert, though it has no row.
TEST_F(DisabledListLoading, AOneLetterApplicationLoadsWithoutARow)
{
    writeCompanionData(NSArray::create({ record("X", "com.example.x", false) }));
    auto list = loadedList();
    EXPECT_EQ(list->numberOfSectionsInTableView(*list->appTable()), 0);
    EXPECT_TRUE(alertTitles().empty());
}

// Within a letter's section the names sort without regard to case, as a person reads them: the
// lower-case "iBooks" before "Instagram" and "iTunes", though upper case sorts first byte by byte.
TEST_F(DisabledListLoading, NamesSortWithoutRegardToCase)
{
    writeCompanionData(NSArray::create({ record("iTunes", "com.apple.itunes", false), record("Instagram", "com.burbn.instagram", false),
        record("iBooks", "com.apple.ibooks", false) }));
    auto list = loadedList();
    auto& table = *list->appTable();
    ASSERT_EQ(list->numberOfSectionsInTableView(table), 1);
    EXPECT_EQ(list->tableViewTitleForHeaderInSection(table, 0), std::optional<std::string>("I"));
    std::vector<std::string> names;
    for (int row = 0; row < list->tableViewNumberOfRowsInSection(table, 0); ++row) {
        auto cell = list->tableViewCellForRowAtIndexPath(table, uikit::NSIndexPath::indexPathForRow(row, 0));
        names.push_back(cell ? cell->accessibilityLabel() : std::string());
    }
    EXPECT_EQ(names, (std::vector<std::string> { "iBooks", "Instagram", "iTunes" }));
}

}
