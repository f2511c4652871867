// The Preferences framework driven as the Settings application drives it: a small pane whose
// specifier file lives on a temporary device, shown in a window inside a navigation controller,
// its rows tapped and its controls used as a finger would.
#include <foundation/Clock.h>
#include <foundation/DeviceRoot.h>
#include <foundation/NSArray.h>
#include <foundation/NSBundle.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/RunLoop.h>
#include <preferences/PSClassFactory.h>
#include <preferences/PSListController.h>
#include <preferences/PSListItemsController.h>
#include <preferences/PSSetupController.h>
#include <preferences/PSSliderTableCell.h>
#include <preferences/PrefsListController.h>
#include <runtime/Operation.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIAlertViewStack.h>
#include <uikit/UIApplication.h>
#include <uikit/UIScreen.h>
#include <uikit/UISwitch.h>
#include <uikit/UIWindow.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

using foundation::NSDictionary;
using foundation::NSNumber;
using foundation::NSString;
using preferences::PSSpecifier;
using uikit::CGFloat;
using uikit::CGPoint;
using uikit::CGRect;

namespace {

// The pane: "get:" / "set:specifier:" answer from and store into `values`, by specifier id.
class FakePane final : public preferences::PSListController {
    TORVANE_OBJECT(FakePane, preferences::PSListController)
public:
    static runtime::Ref<FakePane> create() { return runtime::adoptRef(*new FakePane); }
    std::map<std::string, runtime::Ref<runtime::Object>> values;
    int setterCalls { 0 };
};

runtime::RefPtr<runtime::Object> fakeGetter(runtime::Object* self, runtime::Selector, PSSpecifier* specifier)
{
    auto& values = static_cast<FakePane*>(self)->values;
    auto found = values.find(specifier->identifier());
    return found == values.end() ? nullptr : runtime::RefPtr<runtime::Object>(found->second.ptr());
}

void fakeSetter(runtime::Object* self, runtime::Selector, runtime::Object* value, PSSpecifier* specifier)
{
    auto* pane = static_cast<FakePane*>(self);
    ++pane->setterCalls;
    if (value)
        pane->values.insert_or_assign(specifier->identifier(), runtime::Ref<runtime::Object>(*value));
}

constinit const runtime::Operation<runtime::RefPtr<runtime::Object>(PSSpecifier*)> fakeGetterOperation { "fakeValue:" };
constinit const runtime::Operation<void(runtime::Object*, PSSpecifier*)> fakeSetterOperation { "setFakeValue:specifier:" };

TORVANE_DEFINE_CLASS_WITH_METHODS(FakePane, [](runtime::Class& cls) {
    cls.addMethod(fakeGetterOperation, fakeGetter);
    cls.addMethod(fakeSetterOperation, fakeSetter);
})

class FakeDetail final : public preferences::PSListController {
    TORVANE_OBJECT(FakeDetail, preferences::PSListController)
public:
    static runtime::Ref<FakeDetail> create() { return runtime::adoptRef(*new FakeDetail); }
};
TORVANE_DEFINE_CLASS(FakeDetail)
PS_REGISTER_CONTROLLER_CLASS(FakeDetail)

class FakeSetup final : public preferences::PSSetupController {
    TORVANE_OBJECT(FakeSetup, preferences::PSSetupController)
public:
    static runtime::Ref<FakeSetup> create() { return runtime::adoptRef(*new FakeSetup); }
};
TORVANE_DEFINE_CLASS(FakeSetup)
PS_REGISTER_CONTROLLER_CLASS(FakeSetup)

using Entries = std::initializer_list<std::pair<const char*, runtime::Ref<runtime::Object>>>;

runtime::Ref<NSDictionary> dictionary(Entries entries)
{
    NSDictionary::Storage storage;
    for (auto& [key, value] : entries)
        storage.emplace(key, value);
    return NSDictionary::create(std::move(storage));
}

runtime::Ref<runtime::Object> text(const char* value) { return NSString::create(value); }
runtime::Ref<runtime::Object> flag(bool value) { return NSNumber::numberWithBool(value); }

constexpr const char* paneBundle = "/System/Library/PreferenceBundles/Fake.bundle";
constexpr const char* domainFile = "/var/mobile/Library/Preferences/com.test.fake.plist";

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "prefs-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        std::filesystem::create_directories(m_root + paneBundle);
        std::filesystem::create_directories(m_root + "/var/mobile/Library/Preferences");
        std::filesystem::create_directories(m_root + "/var/log");
    }
    void TearDown() override
    {
        m_window = nullptr;
        m_navigation = nullptr;
        foundation::RunLoop::main().discardPendingWork();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    void writeSpecifierFile()
    {
        auto domain = [](const char* key) { return std::pair<const char*, runtime::Ref<runtime::Object>>("key", text(key)); };
        foundation::NSArray::Storage items {
            dictionary({ { "cell", text("PSGroupCell") }, { "label", text("General") }, { "footerText", text("Footer words") } }),
            dictionary({ { "cell", text("PSSwitchCell") }, { "label", text("Sound") }, { "id", text("SoundID") },
                { "get", text("fakeValue:") }, { "set", text("setFakeValue:specifier:") } }),
            dictionary({ { "cell", text("PSSwitchCell") }, { "label", text("Stored") }, { "id", text("StoredID") },
                domain("StoredKey"), { "defaults", text("com.test.fake") } }),
            dictionary({ { "cell", text("PSSwitchCell") }, { "label", text("Locked") }, { "id", text("LockedID") },
                domain("LockedKey"), { "defaults", text("com.test.fake") }, { "enabled", flag(false) } }),
            dictionary({ { "cell", text("PSNoSuchCell") }, { "label", text("Ignored") } }),
            dictionary({ { "cell", text("PSGroupCell") } }),
            dictionary({ { "cell", text("PSLinkCell") }, { "label", text("More") }, { "id", text("MoreID") }, { "detail", text("FakeDetail") } }),
            dictionary({ { "cell", text("PSLinkCell") }, { "label", text("Setup") }, { "id", text("SetupID") },
                { "detail", text("FakeSetup") }, { "customControllerClass", text("FakeDetail") } }),
            dictionary({ { "cell", text("PSLinkCell") }, { "label", text("Closed") }, { "id", text("ClosedID") },
                { "detail", text("FakeDetail") }, { "enabled", flag(false) } }),
        };
        auto file = dictionary({ { "title", text("Fake") }, { "items", foundation::NSArray::create(std::move(items)) } });
        ASSERT_TRUE(file->writeToFile(std::string(paneBundle) + "/Fake.plist", true));
    }

    // The pane with its specifiers loaded, not yet on screen.
    runtime::Ref<FakePane> makePane()
    {
        writeSpecifierFile();
        auto pane = FakePane::create();
        pane->setBundle(foundation::NSBundle::bundleWithPath(paneBundle).get());
        pane->initForContentSize({ 320, 416 });
        pane->setSpecifiers(pane->loadSpecifiersFromPlistName("Fake", pane.ptr()));
        return pane;
    }

    void show(preferences::PSViewController& screen)
    {
        m_window = uikit::UIWindow::create(uikit::UIScreen::mainScreen().bounds());
        m_navigation = uikit::UINavigationController::create(&screen);
        screen.setRootController(m_navigation.get());
        m_navigation->showInWindow(*m_window);
        m_window->makeKeyAndVisible();
        settle();
    }

    void settle()
    {
        foundation::RunLoop::main().advanceBy(foundation::Seconds(1));
        m_window->layoutIfNeeded();
    }

    bool tapRow(preferences::PSListController& list, const char* identifier)
    {
        auto indexPath = list.indexPathForSpecifier(*list.specifierForID(identifier));
        bool tapped = indexPath && list.table().tapRowAtIndexPath(*indexPath);
        settle();
        return tapped;
    }

    runtime::RefPtr<NSDictionary> domain() const { return NSDictionary::dictionaryWithContentsOfFile(domainFile); }

    std::string m_root;
    runtime::RefPtr<uikit::UIWindow> m_window;
    runtime::RefPtr<uikit::UINavigationController> m_navigation;
};

bool boolOf(const runtime::RefPtr<runtime::Object>& value)
{
    auto* number = runtime::dynamicCast<NSNumber>(value.get());
    return number && number->boolValue();
}

TEST_F(PreferencesTest, SpecifierFileGivesSectionsRowsAndTitle)
{
    auto pane = makePane();
    EXPECT_EQ(pane->title(), std::optional<std::string>("Fake"));
    // The item of an unknown cell type is skipped; the rest keep their order.
    ASSERT_EQ(pane->specifiers().size(), 8u);
    EXPECT_EQ(pane->numberOfSectionsInTableView(pane->table()), 2);
    EXPECT_EQ(pane->tableViewNumberOfRowsInSection(pane->table(), 0), 3);
    EXPECT_EQ(pane->tableViewTitleForHeaderInSection(pane->table(), 0), std::optional<std::string>("General"));
    EXPECT_EQ(pane->tableViewTitleForFooterInSection(pane->table(), 0), std::optional<std::string>("Footer words"));
    EXPECT_EQ(pane->tableViewTitleForHeaderInSection(pane->table(), 1), std::nullopt);
    EXPECT_EQ(pane->indexPathForSpecifier(*pane->specifierForID("SetupID"))->row(), 1);
}

TEST_F(PreferencesTest, SwitchesUseTheirTargetByNameOrTheDefaultsFileKeepingOtherKeys)
{
    ASSERT_TRUE(dictionary({ { "Other", text("kept") }, { "StoredKey", flag(true) } })->writeToFile(domainFile, true));
    auto pane = makePane();
    pane->values.insert_or_assign("SoundID", flag(true));
    show(pane.get());

    auto* sound = pane->cachedCellForSpecifierID("SoundID");
    auto* stored = pane->cachedCellForSpecifierID("StoredID");
    ASSERT_TRUE(sound && stored);
    EXPECT_TRUE(boolOf(sound->controlValue()));
    EXPECT_TRUE(boolOf(stored->controlValue()));

    // The getter-backed row goes through the pane's setter only; the file is not touched.
    ASSERT_TRUE(sound->setControlValueByUser(flag(false)));
    EXPECT_EQ(pane->setterCalls, 1);
    EXPECT_FALSE(boolOf(pane->values.at("SoundID").ptr()));
    EXPECT_EQ(domain()->objectForKey("SoundID"), nullptr);

    // Someone else writes the file meanwhile; flipping the stored row keeps their key and ours.
    auto later = domain()->mutableCopy();
    later->setObjectForKey(text("too"), "Later");
    ASSERT_TRUE(later->writeToFile(domainFile, true));
    ASSERT_TRUE(stored->setControlValueByUser(flag(false)));
    auto written = domain();
    ASSERT_TRUE(written);
    EXPECT_EQ(written->stringForKey("Other")->string(), "kept");
    EXPECT_EQ(written->stringForKey("Later")->string(), "too");
    EXPECT_FALSE(boolOf(written->objectForKey("StoredKey")));

    // Nothing to store is never written as a key, and a damaged file is not replaced.
    EXPECT_FALSE(pane->specifierForID("StoredID")->writeValue(nullptr));
    EXPECT_NE(domain()->objectForKey("StoredKey"), nullptr);
    std::ofstream(m_root + domainFile, std::ios::trunc) << "not a property list";
    EXPECT_FALSE(pane->specifierForID("StoredID")->writeValue(flag(true)));
    std::ifstream damaged(m_root + domainFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(damaged), {}), "not a property list");
}

TEST_F(PreferencesTest, DisabledRowsAreGreyedAndInert)
{
    auto pane = makePane();
    show(pane.get());
    auto* locked = pane->cachedCellForSpecifierID("LockedID");
    ASSERT_TRUE(locked);
    EXPECT_FALSE(locked->isCellEnabled());
    EXPECT_FALSE(locked->setControlValueByUser(flag(true)));
    auto* control = runtime::dynamicCast<uikit::UISwitch>(locked->accessoryView());
    ASSERT_TRUE(control);
    uikit::UIAlertViewStack::tapView(*control);
    EXPECT_FALSE(control->isOn());
    EXPECT_EQ(domain(), nullptr);

    tapRow(pane.get(), "ClosedID");
    EXPECT_EQ(m_navigation->viewControllers().size(), 1u);
}

TEST_F(PreferencesTest, LinkRowsPushTheirDetailAndSetupRowsPresentOverTheRoot)
{
    auto pane = makePane();
    show(pane.get());

    ASSERT_TRUE(tapRow(pane.get(), "MoreID"));
    ASSERT_EQ(m_navigation->viewControllers().size(), 2u);
    auto* detail = runtime::dynamicCast<FakeDetail>(m_navigation->topViewController());
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->rootController(), m_navigation.get());
    EXPECT_EQ(detail->parentController(), pane.ptr());
    EXPECT_EQ(detail->specifier(), pane->specifierForID("MoreID"));
    EXPECT_EQ(detail->bundle(), pane->bundle());
    EXPECT_EQ(detail->title(), std::optional<std::string>("More"));
    m_navigation->popViewControllerAnimated(false);
    settle();

    ASSERT_TRUE(tapRow(pane.get(), "SetupID"));
    auto* setup = runtime::dynamicCast<FakeSetup>(m_navigation->modalViewController());
    ASSERT_TRUE(setup);
    EXPECT_EQ(m_navigation->viewControllers().size(), 1u);
    ASSERT_EQ(setup->viewControllers().size(), 1u);
    auto* first = runtime::dynamicCast<FakeDetail>(setup->topViewController());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->specifier(), pane->specifierForID("SetupID"));
    EXPECT_EQ(first->parentController(), pane.ptr());

    setup->navigationBarButtonClicked(setup->navigationBar(), 1);
    settle();
    EXPECT_EQ(m_navigation->modalViewController(), nullptr);
}

TEST_F(PreferencesTest, CellsAreMadeOnceAndReloadRereadsTheSpecifier)
{
    auto pane = makePane();
    pane->values.insert_or_assign("SoundID", flag(true));
    EXPECT_EQ(pane->cachedCellForSpecifierID("SoundID"), nullptr);
    EXPECT_EQ(pane->cachedCellForSpecifierID("NoSuchID"), nullptr);
    show(pane.get());

    auto* cell = pane->cachedCellForSpecifierID("SoundID");
    ASSERT_TRUE(cell);
    auto indexPath = pane->indexPathForSpecifier(*pane->specifierForID("SoundID"));
    EXPECT_EQ(pane->tableViewCellForRowAtIndexPath(pane->table(), *indexPath).get(), cell);

    pane->values.insert_or_assign("SoundID", flag(false));
    EXPECT_TRUE(boolOf(cell->controlValue()));
    pane->reloadSpecifierID("SoundID");
    EXPECT_FALSE(boolOf(cell->controlValue()));
    EXPECT_EQ(pane->cachedCellForSpecifierID("SoundID"), cell);
}

TEST_F(PreferencesTest, SettingsListLoadsABundleOnceAndRefusesOneThatCannotLoad)
{
    std::string bundle = "/System/Library/PreferenceBundles/TestPane.bundle";
    std::filesystem::create_directories(m_root + bundle);
    std::filesystem::copy_file(TORVANE_TEST_BUNDLE, m_root + bundle + "/TestPane");
    ASSERT_TRUE(dictionary({ { "CFBundleDisplayName", text("Test Pane") }, { "CFBundleExecutable", text("TestPane") },
        { "NSPrincipalClass", text("TestBundleRootController") } })->writeToFile(bundle + "/Info.plist", true));
    foundation::NSArray::Storage items { dictionary({ { "cell", text("PSSwitchCell") }, { "label", text("Only") }, { "id", text("OnlyID") } }) };
    ASSERT_TRUE(dictionary({ { "items", foundation::NSArray::create(std::move(items)) } })->writeToFile(bundle + "/Root.plist", true));
    std::string broken = "/System/Library/PreferenceBundles/Broken.bundle";
    std::filesystem::create_directories(m_root + broken);
    ASSERT_TRUE(dictionary({ { "CFBundleExecutable", text("Missing") }, { "NSPrincipalClass", text("Nobody") } })->writeToFile(broken + "/Info.plist", true));

    auto list = preferences::PrefsListController::create();
    list->initForContentSize({ 320, 416 });
    show(list.get());

    for (int visit = 0; visit < 2; ++visit) {
        ASSERT_TRUE(list->openEntryNamed("Test Pane"));
        settle();
        auto* pane = runtime::dynamicCast<preferences::PSListController>(m_navigation->topViewController());
        ASSERT_TRUE(pane);
        EXPECT_EQ(pane->className(), "TestBundleRootController");
        EXPECT_EQ(pane->bundle()->bundlePath(), bundle);
        EXPECT_NE(pane->specifierForID("OnlyID"), nullptr);
        m_navigation->popViewControllerAnimated(false);
        settle();
    }
    std::ifstream loads(m_root + "/var/log/bundle-loads");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(loads), {}), "loaded\n");

    EXPECT_FALSE(list->openEntryNamed("Broken"));
    settle();
    EXPECT_EQ(m_navigation->viewControllers().size(), 1u);
    EXPECT_EQ(uikit::UIAlertView::visibleAlerts().size(), 1u);
    EXPECT_TRUE(uikit::UIAlertView::tapButtonWithTitle("OK"));
    settle();
}

TEST_F(PreferencesTest, SliderRowFollowsAFingerAndStoresEachValue)
{
    auto specifier = PSSpecifier::createFromItem(dictionary({ { "cell", text("PSSliderCell") }, { "key", text("OpacityValue") },
        { "defaults", text("com.test.fake") }, { "min", NSNumber::numberWithDouble(0.2) }, { "max", NSNumber::numberWithDouble(1) },
        { "showValue", flag(true) } }).get(), nullptr);
    ASSERT_TRUE(specifier);
    auto cell = preferences::PSSliderTableCell::createWithSpecifier(uikit::UITableViewCellStyleDefault, "slider", specifier.get());
    cell->refreshCellContentsWithSpecifier(*specifier);
    m_window = uikit::UIWindow::create(uikit::UIScreen::mainScreen().bounds());
    cell->setFrame({ { 0, 100 }, { 320, 44 } });
    m_window->addSubview(cell);
    m_window->makeKeyAndVisible();
    m_window->layoutIfNeeded();

    auto& slider = cell->control();
    auto onScreen = [&](CGFloat fraction) {
        CGRect frame = slider.frame();
        CGFloat x = frame.origin.x + uikit::UISlider::thumbDiameter / 2 + fraction * (frame.size.width - uikit::UISlider::thumbDiameter);
        return CGPoint { x, 100 + frame.origin.y + frame.size.height / 2 };
    };
    auto& application = uikit::UIApplication::sharedApplication();
    application.injectTouch(uikit::UITouchPhaseBegan, onScreen(0));
    EXPECT_NEAR(slider.value(), 0.2, 0.01);
    application.injectTouch(uikit::UITouchPhaseMoved, onScreen(0.5));
    // Past the end of the track the value stays at the maximum.
    application.injectTouch(uikit::UITouchPhaseMoved, onScreen(1.4));
    application.injectTouch(uikit::UITouchPhaseEnded, onScreen(1.4));
    EXPECT_NEAR(slider.value(), 1, 0.01);
    ASSERT_TRUE(cell->valueLabel());
    EXPECT_EQ(cell->valueLabel()->text(), "1.00");
    EXPECT_NEAR(domain()->numberForKey("OpacityValue")->doubleValue(), 1, 0.01);

    EXPECT_FALSE(cell->setControlValueByUser(NSNumber::numberWithDouble(1.5)));
    cell->setCellEnabled(false);
    application.injectTouch(uikit::UITouchPhaseBegan, onScreen(0));
    application.injectTouch(uikit::UITouchPhaseEnded, onScreen(0));
    EXPECT_NEAR(slider.value(), 1, 0.01);
}

TEST_F(PreferencesTest, ChoiceRowsOpenTheirChoicesAndMoveTheCheckmark)
{
    auto titles = foundation::NSArray::create({ text("Small"), text("Large") });
    auto values = foundation::NSArray::create({ NSNumber::numberWithInt(1), NSNumber::numberWithInt(2) });
    auto choice = PSSpecifier::createFromItem(dictionary({ { "cell", text("PSLinkListCell") }, { "label", text("Size") }, { "id", text("SizeID") },
        { "key", text("Size") }, { "defaults", text("com.test.fake") }, { "default", NSNumber::numberWithInt(1) },
        { "validTitles", titles }, { "validValues", values } }).get(), nullptr);
    ASSERT_TRUE(choice);
    auto pane = FakePane::create();
    pane->initForContentSize({ 320, 416 });
    pane->setSpecifiers({ *choice });
    show(pane.get());
    EXPECT_EQ(pane->cachedCellForSpecifierID("SizeID")->detailTextLabel()->text(), "Small");

    ASSERT_TRUE(tapRow(pane.get(), "SizeID"));
    auto* items = runtime::dynamicCast<preferences::PSListItemsController>(m_navigation->topViewController());
    ASSERT_TRUE(items);
    auto checked = [&](int row) {
        auto cell = items->tableViewCellForRowAtIndexPath(items->table(), uikit::NSIndexPath::indexPathForRow(row, 0));
        return cell->accessoryType() == uikit::UITableViewCellAccessoryCheckmark;
    };
    EXPECT_TRUE(checked(0));
    EXPECT_FALSE(checked(1));
    ASSERT_TRUE(items->table().tapRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(1, 0)));
    settle();
    EXPECT_FALSE(checked(0));
    EXPECT_TRUE(checked(1));
    EXPECT_EQ(domain()->numberForKey("Size")->intValue(), 2);
    EXPECT_EQ(pane->cachedCellForSpecifierID("SizeID")->detailTextLabel()->text(), "Large");
}

}
