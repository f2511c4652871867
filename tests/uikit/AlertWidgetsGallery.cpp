// uikit-widgets-gallery: renders the system widgets (alert, action sheet, tables, progress display,
// navigation) as a person sees them on the 320 x 480 screen, one PNG each, into the folder given on
// the command line (the current folder by default).

#include <foundation/Clock.h>
#include <foundation/NSArray.h>
#include <foundation/NSString.h>
#include <foundation/RunLoop.h>
#include <graphics/Image.h>
#include <uikit/UIActionSheet.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIApplication.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UILabel.h>
#include <uikit/UINavigationController.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIProgressHUD.h>
#include <uikit/UIProgressView.h>
#include <uikit/UIScreen.h>
#include <uikit/UIScrollView.h>
#include <uikit/UISwitch.h>
#include <uikit/UITableView.h>
#include <uikit/UIWindow.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace uikit;

namespace {

// Rows grouped like a settings screen, or listed like an index of applications.
class GallerySource : public runtime::Object, public UITableViewDataSource, public UITableViewDelegate {
    TORVANE_OBJECT(GallerySource, runtime::Object)
    TORVANE_ADOPTS(UITableViewDataSource, UITableViewDelegate)
public:
    static runtime::Ref<GallerySource> create(bool settings) { return runtime::adoptRef(*new GallerySource(settings)); }

    int numberOfSectionsInTableView(UITableView&) override { return m_settings ? 3 : 4; }
    int tableViewNumberOfRowsInSection(UITableView&, int section) override
    {
        if (!m_settings)
            return 3;
        return section == 0 ? 1 : section == 1 ? 3 : 2;
    }
    std::optional<std::string> tableViewTitleForHeaderInSection(UITableView&, int section) override
    {
        if (!m_settings)
            return std::string(1, static_cast<char>('A' + section));
        return section == 1 ? std::optional<std::string>("Home Screen") : std::nullopt;
    }
    std::optional<std::string> tableViewTitleForFooterInSection(UITableView&, int section) override
    {
        if (m_settings && section == 2)
            return std::string("Themes are located in /Library/Application Support/Torvane/Themes.");
        return std::nullopt;
    }
    runtime::RefPtr<foundation::NSArray> sectionIndexTitlesForTableView(UITableView&) override
    {
        if (m_settings)
            return nullptr;
        return foundation::NSArray::create({ foundation::NSString::create("A"), foundation::NSString::create("B"),
            foundation::NSString::create("C"), foundation::NSString::create("D") });
    }
    runtime::RefPtr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView& table, NSIndexPath& path) override
    {
        static const char* settingsRows[3][3] = { { "Icon Outlines", "", "" }, { "Confirmation Alert", "App Switcher", "Clear Badges" },
            { "Disable for Apps", "Reload", "" } };
        static const char* names[4][3] = { { "Angry Birds", "App Store", "Audible" }, { "Calculator", "Calendar", "Camera" },
            { "Clock", "Compass", "Contacts" }, { "Dropbox", "Doodle", "Drafts" } };
        auto cell = table.dequeueReusableCellWithIdentifier("Row");
        if (!cell)
            cell = UITableViewCell::create(m_settings ? UITableViewCellStyleValue1 : UITableViewCellStyleDefault, "Row");
        if (m_settings) {
            cell->textLabel().setText(settingsRows[path.section()][path.row()]);
            cell->setAccessoryType(UITableViewCellAccessoryNone);
            if (path.section() == 0)
                cell->setAccessoryType(UITableViewCellAccessoryCheckmark);
            if (path.section() == 2 && path.row() == 0) {
                cell->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
                cell->detailTextLabel()->setText("3");
            } else {
                cell->detailTextLabel()->setText("");
            }
        } else {
            cell->textLabel().setText(names[path.section()][path.row()]);
        }
        return cell;
    }

private:
    explicit GallerySource(bool settings)
        : m_settings(settings)
    {
    }
    bool m_settings;
};

TORVANE_DEFINE_CLASS(GallerySource)

bool save(const std::filesystem::path& folder, const char* name)
{
    auto image = UIApplication::sharedApplication().renderScreen(2);
    auto path = folder / name;
    bool written = graphics::CGImageWritePNGFile(image, path);
    std::printf("%s %s\n", written ? "wrote" : "could not write", path.c_str());
    return written;
}

runtime::Ref<UIWindow> makeHome()
{
    auto window = UIWindow::create(UIScreen::mainScreen().bounds());
    window->setBackgroundColor(UIColor::colorWithRed(0.20f, 0.32f, 0.45f, 1));
    for (int i = 0; i < 16; ++i) {
        auto icon = UIView::create({ { 16.0f + (i % 4) * 76, 30.0f + (i / 4) * 88 }, { 57, 57 } });
        icon->setBackgroundColor(UIColor::colorWithHue((i * 0.07f), 0.6f, 0.9f, 1));
        icon->layer().setCornerRadius(10);
        window->addSubview(icon);
    }
    window->makeKeyAndVisible();
    return window;
}

}

int main(int argc, char** argv)
{
    std::filesystem::path folder = argc > 1 ? argv[1] : ".";
    std::filesystem::create_directories(folder);
    foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
    bool ok = true;

    auto home = makeHome();

    auto alert = UIAlertView::create(std::string("Safari"), std::string("Currently using 24.61 MBs of RAM"), nullptr,
        std::string("Cancel"), { "Kill" });
    alert->show();
    ok &= save(folder, "alert.png");
    alert->dismissWithClickedButtonIndex(-1, false);

    // An alert grown to hold a table between its message and its buttons, as an owner may do:
    // the alert grows evenly, the buttons move down by the table's height and the table ends 65
    // points above the alert's bottom edge.
    auto listSource = GallerySource::create(false);
    auto grown = UIAlertView::create(std::string("Running Apps (64 MB)"), std::nullopt, nullptr, std::string("Cancel"), { "Kill All" });
    auto embedded = UITableView::create(CGRectZero, UITableViewStylePlain);
    embedded->setDataSource(listSource.ptr());
    embedded->setRowHeight(40);
    embedded->layer().setCornerRadius(5);
    grown->addSubview(embedded);
    grown->show();
    const CGFloat tableHeight = 120;
    CGRect frame = grown->frame();
    CGPoint centre = grown->center();
    frame.size.height += tableHeight;
    grown->setFrame(frame);
    grown->setCenter(centre);
    grown->setFrame(graphics::CGRectIntegral(grown->frame()));
    for (auto& subview : grown->subviews()) {
        if (subview->isKindOf<UIControl>())
            subview->setFrame(graphics::CGRectOffset(subview->frame(), 0, tableHeight));
    }
    frame = grown->frame();
    embedded->setFrame({ { 12, frame.size.height - tableHeight - 65 }, { frame.size.width - 24, tableHeight } });
    ok &= save(folder, "alert-with-table.png");
    grown->dismissWithClickedButtonIndex(-1, false);

    auto info = UIAlertView::create(std::string("Torvane Information"),
        std::string("Every running application will now be visually obvious on your home screen."), nullptr, std::string("Dismiss"),
        { "Later", "Never" });
    info->show();
    ok &= save(folder, "alert-three-buttons.png");
    info->dismissWithClickedButtonIndex(-1, false);

    // A message too long for the screen scrolls inside the alert.
    std::string note;
    for (int paragraph = 1; paragraph <= 12; ++paragraph)
        note += "    Paragraph " + std::to_string(paragraph) + " of a note that does not fit on the screen at once. \n \n";
    note += "The last line.";
    auto longNote = UIAlertView::create(std::string("Torvane Information"), note, nullptr, std::string("Dismiss"));
    longNote->show();
    ok &= save(folder, "alert-long-message.png");
    if (auto* scroll = longNote->messageScrollView())
        scroll->setContentOffset(scroll->clampedContentOffset({ 0, 100000 }));
    ok &= save(folder, "alert-long-message-end.png");
    longNote->dismissWithClickedButtonIndex(-1, false);

    auto sheet = UIActionSheet::create(std::string("Would you like to disable Safari?"), nullptr, std::nullopt, std::nullopt, { "Yes", "Cancel" });
    sheet->setActionSheetStyle(UIActionSheetStyleBlackTranslucent);
    sheet->setDestructiveButtonIndex(1);
    sheet->showInView(*home);
    ok &= save(folder, "action-sheet.png");
    sheet->dismissWithClickedButtonIndex(-1, false);

    auto plainSheet = UIActionSheet::create(std::string("Choose a theme"), nullptr, std::string("Cancel"), std::string("Delete"), { "Icon Outlines" });
    plainSheet->showInView(*home);
    ok &= save(folder, "action-sheet-default.png");
    plainSheet->dismissWithClickedButtonIndex(-1, false);
    home->setHidden(true);

    // A settings screen: navigation bar over a grouped table.
    auto settingsWindow = UIWindow::create(UIScreen::mainScreen().bounds());
    auto settingsSource = GallerySource::create(true);
    auto root = UIViewController::create();
    root->setTitle(std::string("Settings"));
    auto list = UIViewController::create();
    list->setTitle(std::string("Torvane"));
    auto grouped = UITableView::create({ {}, { 320, 416 } }, UITableViewStyleGrouped);
    grouped->setDataSource(settingsSource.ptr());
    grouped->setDelegate(settingsSource.ptr());
    list->setView(grouped);
    list->navigationItem().setRightBarButtonItem(UIBarButtonItem::create("Reload", UIBarButtonItemStyleBordered, nullptr, nullptr));
    auto navigation = UINavigationController::create(root);
    navigation->pushViewController(list, false);
    navigation->view().setFrame({ { 0, 20 }, { 320, 460 } });
    settingsWindow->setBackgroundColor(UIColor::blackColor());
    settingsWindow->addSubview(navigation->view());
    settingsWindow->makeKeyAndVisible();
    grouped->selectRowAtIndexPath(NSIndexPath::indexPathForRow(1, 1).ptr(), false, UITableViewScrollPositionNone);
    ok &= save(folder, "grouped-table.png");

    // The waiting display over the list, with its stage label and bar.
    auto hud = UIProgressHUD::create({ { 60, 100 }, { 200, 205 } });
    hud->setText("Please Wait... Loading Applications");
    hud->showInView(*grouped);
    auto stage = UILabel::create({ { 5, 164 }, { 190, 20 } });
    stage->setTextAlignment(UITextAlignmentCenter);
    stage->setBackgroundColor(UIColor::clearColor());
    stage->setTextColor(UIColor::whiteColor());
    stage->setText("Updating Database..");
    hud->addSubview(stage);
    auto bar = UIProgressView::create(UIProgressViewStyleDefault);
    bar->setFrame({ { 5, 185 }, { 190, 25 } });
    bar->setProgress(0.4f);
    hud->addSubview(bar);
    ok &= save(folder, "progress-hud.png");
    hud->hide();

    // A plain indexed list pushed on top.
    auto appsSource = GallerySource::create(false);
    auto apps = UIViewController::create();
    apps->setTitle(std::string("Disable for Apps"));
    auto plain = UITableView::create({ {}, { 320, 416 } }, UITableViewStylePlain);
    plain->setDataSource(appsSource.ptr());
    plain->setDelegate(appsSource.ptr());
    apps->setView(plain);
    navigation->pushViewController(apps, false);
    ok &= save(folder, "plain-table.png");

    return ok ? 0 : 1;
}
