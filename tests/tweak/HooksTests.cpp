#include <AddOnNotifications.h>
#include <Hooks.h>

#include <foundation/NSNotificationCenter.h>
#include <runtime/Class.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBApplication.h>
#include <springboard/SBAwayController.h>
#include <springboard/SBFolder.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <springboard/SBShowcaseController.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace springboard;
using foundation::NSNotificationCenter;

namespace {

// The hooks go onto SpringBoard's real classes; each replacement must leave the host's own
// behaviour intact.
class Hooks : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tweak::installHooks(); }

    void SetUp() override
    {
        auto& center = NSNotificationCenter::defaultCenter();
        for (const char* name : { tweak::AddOnNotification::closeConfirmationAlerts, tweak::AddOnNotification::closeQuickKillerPopup }) {
            m_tokens.push_back(center.addObserver(name, nullptr, [this, name](foundation::NSNotification&) {
                m_posted.push_back(std::string(name) + (m_hostRan() ? " after host" : " before host"));
            }));
        }
    }

    std::vector<foundation::ObserverToken> m_tokens;
    std::vector<std::string> m_posted;
    std::function<bool()> m_hostRan = [] { return false; };
};

}

TEST_F(Hooks, EveryOperationIsReplacedByTheAddOn)
{
    struct Expected {
        const char* className;
        runtime::Selector selector;
        runtime::IMP replacement;
    };
    const Expected table[] = {
        { "SBIconController", openFolderOperation.selector(), runtime::toIMP(tweak::openAFolder) },
        { "SBApplication", setApplicationStateOperation.selector(), runtime::toIMP(tweak::setAppState) },
        { "SBIconView", touchesMovedOperation.selector(), runtime::toIMP(tweak::touchesMovedIcon) },
        { "SBIconView", touchesBeganOperation.selector(), runtime::toIMP(tweak::touchesBeganIcon) },
        { "SBIconViewMap", mappedIconViewOperation.selector(), runtime::toIMP(tweak::getIconViews) },
        { "SBShowcaseController", setHiddenOperation.selector(), runtime::toIMP(tweak::setSwitcherBarHidden) },
        { "SBAwayController", lockOperation.selector(), runtime::toIMP(tweak::deviceIsLocking) },
        { "SBApplication", willActivateOperation.selector(), runtime::toIMP(tweak::phoneCallComing) },
    };
    for (auto& entry : table) {
        auto* cls = runtime::NSClassFromString(entry.className);
        ASSERT_TRUE(cls) << entry.className;
        EXPECT_EQ(cls->lookup(entry.selector), entry.replacement) << entry.className << " " << entry.selector.name();
    }
}

TEST_F(Hooks, InstallingAgainChangesNothing)
{
    tweak::installHooks();
    auto away = SBAwayController::create();
    away->lock();
    EXPECT_TRUE(away->isLocked());
    EXPECT_EQ(m_posted.size(), 2u) << "a replacement hooked over itself would post twice or never return";
}

TEST_F(Hooks, LockingClosesAlertsThenThePopupBeforeSpringBoardLocks)
{
    auto away = SBAwayController::create();
    m_hostRan = [&] { return away->isLocked(); };
    away->lock();
    EXPECT_TRUE(away->isLocked());
    EXPECT_EQ(m_posted, (std::vector<std::string> { "TorvaneSuicide before host", "TorvaneKillActivatorAlertNow before host" }));
}

TEST_F(Hooks, AnyApplicationComingToTheFrontClosesAlertsThenThePopupFirst)
{
    auto application = SBApplication::create("com.apple.mobilephone", "Phone");
    m_hostRan = [&] { return application->activationCount() > 0; };
    application->willActivate();
    EXPECT_EQ(application->activationCount(), 1u);
    EXPECT_EQ(m_posted, (std::vector<std::string> { "TorvaneSuicide before host", "TorvaneKillActivatorAlertNow before host" }));
}

TEST_F(Hooks, OtherOperationsCallStraightThrough)
{
    auto application = SBApplication::create("com.apple.camera", "Camera");
    application->setApplicationState(SBApplicationStateForeground);
    EXPECT_EQ(application->applicationState(), SBApplicationStateForeground);
    // Stopped again, so the add-on's running-applications list is left as it was.
    application->setApplicationState(SBApplicationStateStopped);
    EXPECT_EQ(application->applicationState(), SBApplicationStateStopped);

    auto showcase = SBShowcaseController::create();
    showcase->setHidden(false);
    EXPECT_FALSE(showcase->isHidden());
    showcase->setHidden(true);
    EXPECT_TRUE(showcase->isHidden());

    auto controller = SBIconController::create();
    auto folder = SBFolder::create("Utilities");
    controller->openFolder(folder.ptr(), true);
    EXPECT_EQ(controller->openFolder(), folder.ptr());

    auto model = SBIconModel::create();
    auto icon = SBApplicationIcon::create(application);
    auto map = SBIconViewMap::create(SBIconViewMap::Kind::HomeScreen, model);
    SBIconView* view = map->mappedIconViewForIcon(icon.ptr());
    ASSERT_TRUE(view);
    EXPECT_EQ(view->icon(), icon.ptr());
    EXPECT_EQ(map->mappedIconViewForIcon(icon.ptr()), view);

    EXPECT_TRUE(m_posted.empty());
}
