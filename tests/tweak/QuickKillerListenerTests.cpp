#include "TweakTestSupport.h"

#include <AddOnNotifications.h>
#include <MemoryProbe.h>
#include <SavedSwipeSettings.h>
#include <TorvaneActivatorSetup.h>

#include <TQAppCell.h>
#include <TQTableAlert.h>

#include <activator/LAActivator.h>
#include <foundation/Clock.h>
#include <foundation/RunLoop.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconViewMap.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIApplication.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImage.h>
#include <uikit/UITableView.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>

#include <foundation/NSData.h>
#include <foundation/NSNotificationCenter.h>

#include <algorithm>

#include <unistd.h>

using namespace tweak_test;
using activator::LAActivator;
using tweak::TorvaneActivatorSetup;

namespace {

constexpr const char* listenerName = "com.qelvo.torvane.activator.openapps";

constexpr const char* companionPath = "/var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist";

void closeAlerts()
{
    for (auto& alert : uikit::UIAlertView::visibleAlerts()) {
        alert->setDelegate(nullptr);
        alert->dismissWithClickedButtonIndex(-1, false);
    }
}

class QuickKillerListener : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        closeAlerts();
        m_window = uikit::UIWindow::create({ { 0, 0 }, { 320, 480 } });
        m_window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        closeAlerts();
        LAActivator::sharedInstance().unregisterListener(listenerName);
        m_window->setHidden(true);
        uikit::UIApplication::sharedApplication().windowWillGo(*m_window);
        foundation::RunLoop::main().discardPendingWork();
        DeviceTest::TearDown();
    }
    runtime::RefPtr<uikit::UIWindow> m_window;
};

// A SpringBoard with four applications on the home screen and the companion's data of them.
// "Running" ones sit in the switcher bar and the add-on's running list; their processes are not
// started, so they measure 0 MB, except one given this test's own process.
class QuickKillerPopup : public QuickKillerListener {
protected:
    void SetUp() override
    {
        QuickKillerListener::SetUp();
        using namespace springboard;
        m_model = SBIconModel::create();
        m_applications = SBApplicationController::create();
        SBApplicationController::setSharedInstance(m_applications);
        foundation::NSArray::Storage known;
        for (auto [identifier, name] : installed) {
            m_model->addApplicationIconToPage(SBApplicationIcon::create(m_applications->addApplication(identifier, name)), 0);
            if (std::string_view(identifier) != "com.apple.mobilenotes")
                known.push_back(dictionary({ { "BundleID", text(identifier) }, { "AppName", text(name) },
                    { "IconPath", text("/var/mobile/Library/Nimbrel/none.png") } }));
        }
        std::filesystem::create_directories(hostPath("/var/mobile/Library/Nimbrel"));
        ASSERT_TRUE(dictionary({ { "ApplicationData", foundation::NSArray::create(std::move(known)) } })->writeToFile(companionPath, true));
        SBIconViewMap::setSharedMaps(SBIconViewMap::create(SBIconViewMap::Kind::HomeScreen, *m_model),
            SBIconViewMap::create(SBIconViewMap::Kind::Switcher, *m_model));
        m_switcher = SBAppSwitcherController::create();
        SBAppSwitcherController::setSharedInstance(m_switcher);
        m_listener = TorvaneActivatorSetup::create();
        LAActivator::sharedInstance().registerListener(*m_listener, listenerName);
        ASSERT_TRUE(LAActivator::sharedInstance().assignEvent("libactivator.statusbar.doubletap", listenerName));
    }
    void TearDown() override
    {
        closeAlerts();
        for (auto [identifier, name] : installed)
            tweak::SavedSwipeSettings::removeFromFolderArray(foundation::NSStr(identifier).ptr());
        m_listener = nullptr;
        springboard::SBAppSwitcherController::setSharedInstance(nullptr);
        springboard::SBIconViewMap::setSharedMaps(nullptr, nullptr);
        springboard::SBApplicationController::setSharedInstance(nullptr);
        QuickKillerListener::TearDown();
    }

    springboard::SBApplication& application(const char* identifier) { return *m_applications->applicationWithBundleIdentifier(identifier); }
    bool isRunning(const char* identifier) { return application(identifier).applicationState() >= springboard::SBApplicationStateBackground; }
    void run(const char* identifier, pid_t pid = 0)
    {
        auto& running = application(identifier);
        running.setPid(pid);
        running.setApplicationState(springboard::SBApplicationStateBackground);
        m_switcher->applicationDidActivate(running);
        tweak::SavedSwipeSettings::writeToFolderArray(foundation::NSStr(identifier).ptr());
    }
    void fire()
    {
        LAActivator::sharedInstance().sendEvent("libactivator.statusbar.doubletap");
        // The kill buttons turn red over a quarter of a second before they take a tap.
        foundation::RunLoop::main().advanceBy(foundation::Seconds(0.3));
    }
    // The popup as VoiceOver reads it: its title, then each row's accessibility label and value
    // (the application's name and memory), with the bundle identifier the row is known by.
    static std::vector<std::string> popup(std::vector<std::string>* identifiers = nullptr)
    {
        std::vector<std::string> seen;
        auto* listener = TorvaneActivatorSetup::showingPopup();
        if (!listener)
            return seen;
        seen.push_back(listener->appsTable()->view().title().value_or(""));
        auto& table = listener->appsTable()->tableView();
        for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
            auto indexPath = uikit::NSIndexPath::indexPathForRow(row, 0);
            table.scrollToRowAtIndexPath(indexPath, uikit::UITableViewScrollPositionNone, false);
            table.layoutIfNeeded();
            if (auto* cell = table.cellForRowAtIndexPath(indexPath)) {
                seen.push_back(cell->accessibilityLabel() + " " + cell->accessibilityValue());
                if (identifiers)
                    identifiers->push_back(cell->accessibilityIdentifier());
            }
        }
        return seen;
    }
    enum class Kill { Tapped, NoPopup, NoSuchRow };
    // A finger on the Kill button of the row named `name`, through the screen.
    static Kill kill(const std::string& name)
    {
        auto* listener = TorvaneActivatorSetup::showingPopup();
        if (!listener)
            return Kill::NoPopup;
        auto& table = listener->appsTable()->tableView();
        table.layoutIfNeeded();
        for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
            auto* cell = table.cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(row, 0));
            if (!cell || cell->accessibilityLabel() != name)
                continue;
            auto* button = cell->viewWithTag(TorvaneActivatorSetup::killButtonTag);
            if (!button)
                return Kill::NoSuchRow;
            auto bounds = button->bounds();
            auto centre = button->convertPointToView({ graphics::CGRectGetMidX(bounds), graphics::CGRectGetMidY(bounds) }, nullptr);
            auto& application = uikit::UIApplication::sharedApplication();
            EXPECT_EQ(application.injectTouch(uikit::UITouchPhaseBegan, centre), button);
            application.injectTouch(uikit::UITouchPhaseEnded, centre);
            return Kill::Tapped;
        }
        return Kill::NoSuchRow;
    }
    static std::vector<std::string> alertTitles()
    {
        std::vector<std::string> titles;
        for (auto& alert : uikit::UIAlertView::visibleAlerts())
            titles.push_back(alert->title().value_or(""));
        return titles;
    }

    static constexpr std::pair<const char*, const char*> installed[] { { "com.apple.mobilesafari", "Safari" },
        { "com.apple.camera", "Camera" }, { "com.apple.mobilenotes", "Notes" }, { "com.apple.mobilephone", "Phone" } };
    runtime::RefPtr<springboard::SBIconModel> m_model;
    runtime::RefPtr<springboard::SBApplicationController> m_applications;
    runtime::RefPtr<springboard::SBAppSwitcherController> m_switcher;
    runtime::RefPtr<TorvaneActivatorSetup> m_listener;
};

}

TEST_F(QuickKillerListener, DescribesItselfOnlyForItsOwnName)
{
    auto listener = TorvaneActivatorSetup::create();
    auto& activator = LAActivator::sharedInstance();
    EXPECT_EQ(listener->activatorRequiresLocalizedTitleForListenerName(activator, listenerName)->string(), "Torvane Quick Killer");
    EXPECT_EQ(listener->activatorRequiresLocalizedDescriptionForListenerName(activator, listenerName)->string(),
        "Popup shows open apps, RAM use, and kill options");
    EXPECT_FALSE(listener->activatorRequiresLocalizedTitleForListenerName(activator, "com.example.other"));
    EXPECT_FALSE(listener->activatorRequiresLocalizedDescriptionForListenerName(activator, "com.example.other"));
}

TEST_F(QuickKillerListener, IconIsThePNGOfTheBundleImageAndNilForAFileThatIsNoImage)
{
    constexpr const char* iconPath = "/System/Library/PreferenceBundles/TorvaneSettings.bundle/TorvaneIcon.png";
    auto listener = TorvaneActivatorSetup::create();
    auto& activator = LAActivator::sharedInstance();
    EXPECT_FALSE(listener->activatorRequiresSmallIconDataForListenerNameScale(activator, listenerName, 2)) << "no image installed";

    writeRawFile(iconPath, std::string("\x89PNG\r\n\x1a\n", 8) + "but no image after the signature");
    EXPECT_FALSE(listener->activatorRequiresSmallIconDataForListenerNameScale(activator, listenerName, 1));

    uikit::UIGraphicsBeginImageContextWithOptions({ 29, 29 }, false, 1);
    auto drawn = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    writeRawFile(iconPath, "");
    ASSERT_TRUE(uikit::UIImagePNGRepresentation(drawn.get())->writeToFile(iconPath, false));
    for (float scale : { 1.0f, 2.0f }) {
        auto data = listener->activatorRequiresSmallIconDataForListenerNameScale(activator, listenerName, scale);
        ASSERT_TRUE(data);
        auto decoded = uikit::UIImage::imageWithData(*data);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->size().width, 29);
    }
    EXPECT_FALSE(listener->activatorRequiresSmallIconDataForListenerNameScale(activator, "com.example.other", 1));
}

TEST_F(QuickKillerListener, ObservesTheClosingSignalOnlyWhileAlive)
{
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    size_t before = center.observerCount();
    {
        auto listener = TorvaneActivatorSetup::create();
        EXPECT_EQ(center.observerCount(), before + 1);
        EXPECT_FLOAT_EQ(listener->totalRAMBeingUsed(), 0.0f);
        center.postNotificationName(tweak::AddOnNotification::closeQuickKillerPopup);
    }
    EXPECT_EQ(center.observerCount(), before);
    center.postNotificationName(tweak::AddOnNotification::closeQuickKillerPopup); // reaches no dead listener
}

TEST_F(QuickKillerListener, StartUpRegistersItOnlyWhenActivatorIsInstalled)
{
    auto& activator = LAActivator::sharedInstance();
    tweak::SavedSwipeSettings::initialSetupCalled();
    EXPECT_FALSE(activator.hasListenerWithName(listenerName));

    writeRawFile("/Library/MobileSubstrate/DynamicLibraries/Activator.dylib", "");
    tweak::SavedSwipeSettings::initialSetupCalled();
    ASSERT_TRUE(activator.hasListenerWithName(listenerName));
    EXPECT_EQ(activator.localizedTitleForListenerName(listenerName)->string(), "Torvane Quick Killer");

    // An event the user assigned to it reaches it and is taken as handled; without the
    // companion's data it can only say so.
    ASSERT_TRUE(activator.assignEvent("libactivator.statusbar.doubletap", listenerName));
    auto event = activator.sendEvent("libactivator.statusbar.doubletap");
    EXPECT_TRUE(event->isHandled());
    auto alerts = uikit::UIAlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]->title(), "Torvane: No App Data");
    EXPECT_EQ(alerts[0]->message(), "You need to go into Torvanes settings and hit the 'reload' button in the top right corner.");
}

TEST_F(QuickKillerPopup, RowsEndOneByOneThenKillAllEndsOnlyTheRest)
{
    run("com.apple.mobilesafari");
    run("com.apple.camera", ::getpid());
    run("com.apple.mobilephone"); // never ended, so never listed
    fire();
    std::vector<std::string> identifiers;
    auto shown = popup(&identifiers);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(identifiers, (std::vector<std::string> { "com.apple.camera", "com.apple.mobilesafari" }));
    EXPECT_NE(shown[0], "Using 0 MBs of RAM") << "this process uses memory";
    EXPECT_EQ(shown[1].rfind("Camera ", 0), 0u) << "the larger application comes first";
    EXPECT_EQ(shown[2], "Safari 0 MB");

    auto grown = uikit::UIAlertView::visibleAlerts().back()->frame();
    EXPECT_EQ(kill("Camera"), Kill::Tapped);
    EXPECT_FALSE(isRunning("com.apple.camera"));
    auto after = uikit::UIAlertView::visibleAlerts().back()->frame();
    EXPECT_EQ(after.size.height, grown.size.height) << "the popup does not shrink as rows go, nor with its new title";
    EXPECT_EQ(after.origin.y, grown.origin.y);
    EXPECT_TRUE(isRunning("com.apple.mobilesafari"));
    EXPECT_EQ(popup(), (std::vector<std::string> { "Using 0 MBs of RAM", "Safari 0 MB" }));
    EXPECT_EQ(kill("Camera"), Kill::NoSuchRow);

    ASSERT_TRUE(uikit::UIAlertView::tapButtonWithTitle("Kill All"));
    EXPECT_FALSE(isRunning("com.apple.mobilesafari"));
    EXPECT_TRUE(isRunning("com.apple.mobilephone"));
    EXPECT_TRUE(popup().empty());
    EXPECT_EQ(kill("Safari"), Kill::NoPopup);
}

TEST_F(QuickKillerPopup, ASecondEventClosesTheShownPopupBeforeShowingItsOwn)
{
    run("com.apple.mobilesafari", ::getpid());
    run("com.apple.camera");
    fire();
    ASSERT_EQ(popup().size(), 3u);

    // The list changes under the first popup: Safari quits.
    application("com.apple.mobilesafari").setApplicationState(springboard::SBApplicationStateStopped);
    tweak::SavedSwipeSettings::removeFromFolderArray(foundation::NSStr("com.apple.mobilesafari").ptr());
    fire();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Using 0 MBs of RAM" }) << "one popup, the new one";
    EXPECT_TRUE(isRunning("com.apple.camera")) << "closing the first popup ended nothing";

    // Every Kill button on screen belongs to the row it stands in.
    EXPECT_EQ(kill("Safari"), Kill::NoSuchRow);
    EXPECT_EQ(kill("Camera"), Kill::Tapped);
    EXPECT_FALSE(isRunning("com.apple.camera"));
    EXPECT_TRUE(alertTitles().empty()) << "ending the last row closes the popup";
}

TEST_F(QuickKillerPopup, LockingClosesThePopupWithoutEndingAnything)
{
    run("com.apple.mobilesafari");
    run("com.apple.camera");
    fire();
    ASSERT_FALSE(popup().empty());
    foundation::NSNotificationCenter::defaultCenter().postNotificationName(tweak::AddOnNotification::closeQuickKillerPopup);
    EXPECT_TRUE(popup().empty());
    EXPECT_TRUE(alertTitles().empty());
    EXPECT_TRUE(isRunning("com.apple.mobilesafari"));
    EXPECT_TRUE(isRunning("com.apple.camera"));
}

TEST_F(QuickKillerPopup, WarnsOfMissingDataAndOfNoRunningApplications)
{
    run("com.apple.mobilephone");
    fire();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Torvane" });
    EXPECT_EQ(uikit::UIAlertView::visibleAlerts()[0]->message(), "You currently have no running applications.");
    closeAlerts();

    // Notes is running but the companion's file does not know it: no popup for the others either.
    run("com.apple.mobilesafari");
    run("com.apple.mobilenotes");
    fire();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Torvane: No App Data" });
    EXPECT_TRUE(popup().empty());
}

// The file is parsed once while it stays the same; each event still sees what it holds now.
TEST_F(QuickKillerPopup, EachEventSeesTheCompanionFileAsItIsNow)
{
    run("com.apple.mobilesafari");
    run("com.apple.mobilenotes");
    fire();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Torvane: No App Data" });
    closeAlerts();

    // The companion learns of Notes and writes its file anew.
    auto data = foundation::NSDictionary::dictionaryWithContentsOfFile(companionPath);
    ASSERT_TRUE(data);
    auto* known = runtime::dynamicCast<foundation::NSArray>(data->objectForKey("ApplicationData").get());
    ASSERT_TRUE(known);
    auto records = known->objects();
    records.push_back(dictionary({ { "BundleID", text("com.apple.mobilenotes") }, { "AppName", text("Notes") },
        { "IconPath", text("/var/mobile/Library/Nimbrel/none.png") } }));
    ASSERT_TRUE(dictionary({ { "ApplicationData", foundation::NSArray::create(std::move(records)) } })->writeToFile(companionPath, true));
    fire();
    std::vector<std::string> identifiers;
    popup(&identifiers);
    std::sort(identifiers.begin(), identifiers.end());
    EXPECT_EQ(identifiers, (std::vector<std::string> { "com.apple.mobilenotes", "com.apple.mobilesafari" }));
    closeAlerts();

    // Gone: nothing to look up.
    std::filesystem::remove(hostPath(companionPath));
    EXPECT_FALSE(TorvaneActivatorSetup::getAllInfoFromBundleID(*foundation::NSStr("com.apple.mobilesafari")));
}

// Memory figures this test controls: the real `ps | gawk` pipeline over a canned process table.
class QuickKillerMemory : public QuickKillerPopup {
protected:
    void SetUp() override
    {
        QuickKillerPopup::SetUp();
        // Safari 183040 KB (178.75 MB), Camera 1 KB; every other process none.
        tweak::MemoryProbe::setProcessTableCommand("printf '4242 183040\\n4243 1\\n'");
    }
    void TearDown() override
    {
        tweak::MemoryProbe::setProcessTableCommand({});
        QuickKillerPopup::TearDown();
    }
    std::vector<std::string> rowMemoryLabels() const
    {
        std::vector<std::string> labels;
        auto& table = m_listener->appsTable()->tableView();
        for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
            auto cell = table.cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(row, 0));
            if (auto* appCell = runtime::dynamicCast<tweak::TQAppCell>(cell))
                labels.push_back(appCell->appName().value_or("") + " " + appCell->memoryAmount().value_or(""));
        }
        return labels;
    }
};

TEST_F(QuickKillerMemory, TitleAndRowsCutTheMegabytesRatherThanRoundThem)
{
    run("com.apple.mobilesafari", 4242);
    run("com.apple.camera", 4243);
    fire();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Using 178 MBs of RAM" });
    EXPECT_EQ(rowMemoryLabels(), (std::vector<std::string> { "Safari 178 MB", "Camera 0 MB" }));
}

// An application the running list still names but that no longer runs is left out of the popup;
// the others show, with no "No App Data" warning for the one that is gone.
TEST_F(QuickKillerMemory, AListedApplicationThatNoLongerRunsIsLeftOutWithoutAWarning)
{
    run("com.apple.mobilesafari", 4242);
    run("com.apple.camera", 4243);
    application("com.apple.camera").setApplicationState(springboard::SBApplicationStateStopped);
    // Whether or not the add-on's hooks saw the change, the list still names Camera.
    tweak::SavedSwipeSettings::writeToFolderArray(foundation::NSStr("com.apple.camera").ptr());
    fire();
    EXPECT_EQ(alertTitles(), std::vector<std::string> { "Using 178 MBs of RAM" });
    EXPECT_EQ(rowMemoryLabels(), std::vector<std::string> { "Safari 178 MB" });
}
