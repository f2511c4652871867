// Every hookable operation of SpringBoard goes through its class's method table: a replacement
// installed with MSHookMessageEx runs on the host's own calls and chains to the host's
// implementation. Hooks stay for the life of the process, so this file has a test binary of its own.

#include "SpringBoardTestSupport.h"

#include <springboard/HookedOperations.h>
#include <springboard/SBAwayController.h>
#include <springboard/SBFolder.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <springboard/SBShowcaseController.h>

#include <foundation/NSSet.h>
#include <substrate/Hook.h>
#include <uikit/UIApplication.h>
#include <uikit/UITouch.h>

#include <vector>

using namespace springboard;
using springboard::testing::DeviceFixture;
using runtime::Object;
using runtime::Selector;

namespace {

std::vector<std::string> g_calls;

// A finger down at the view's centre, moved `up` points up and `dx` across, lifted there; answers
// the view the touch went to.
uikit::UIView* swipe(uikit::UIView& view, uikit::CGFloat up, uikit::CGFloat dx)
{
    auto bounds = view.bounds();
    auto centre = view.convertPointToView({ bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2 }, nullptr);
    auto& application = uikit::UIApplication::sharedApplication();
    auto* touched = application.injectTouch(uikit::UITouchPhaseBegan, centre);
    application.injectTouch(uikit::UITouchPhaseMoved, { centre.x + dx, centre.y - up });
    application.injectTouch(uikit::UITouchPhaseEnded, { centre.x + dx, centre.y - up });
    return touched;
}

OpenFolderIMP g_openFolder;
SetApplicationStateIMP g_setApplicationState;
WillActivateIMP g_willActivate;
TouchesIMP g_touchesBegan;
TouchesIMP g_touchesMoved;
MappedIconViewIMP g_mappedIconView;
SetHiddenIMP g_setHidden;
LockIMP g_lock;
uikit::CGPoint g_lastMoveLocation;

void openFolderHook(Object* self, Selector selector, Object* folder, bool animated)
{
    auto* asFolder = runtime::dynamicCast<SBFolder>(folder);
    g_calls.push_back("openFolder " + (asFolder ? asFolder->displayName() : std::string("?")));
    g_openFolder(self, selector, folder, animated);
}
void setApplicationStateHook(Object* self, Selector selector, int state)
{
    g_calls.push_back("setApplicationState " + std::to_string(state));
    g_setApplicationState(self, selector, state);
}
void willActivateHook(Object* self, Selector selector)
{
    g_calls.push_back("willActivate");
    g_willActivate(self, selector);
}
void touchesBeganHook(Object* self, Selector selector, Object* touches, Object* event)
{
    g_calls.push_back(runtime::dynamicCast<foundation::NSSet>(touches) ? "touchesBegan" : "touchesBegan without a set");
    g_touchesBegan(self, selector, touches, event);
}
void touchesMovedHook(Object* self, Selector selector, Object* touches, Object* event)
{
    g_calls.push_back("touchesMoved");
    if (auto* set = runtime::dynamicCast<foundation::NSSet>(touches)) {
        if (auto touch = runtime::dynamicCast<uikit::UITouch>(set->anyObject()))
            g_lastMoveLocation = touch->locationInView(static_cast<uikit::UIView*>(runtime::dynamicCast<SBIconView>(self)));
    }
    g_touchesMoved(self, selector, touches, event);
}
Object* mappedIconViewHook(Object* self, Selector selector, Object* icon)
{
    g_calls.push_back("mapped");
    return g_mappedIconView(self, selector, icon);
}
void setHiddenHook(Object* self, Selector selector, bool hidden)
{
    g_calls.push_back(hidden ? "setHidden YES" : "setHidden NO");
    g_setHidden(self, selector, hidden);
}
void lockHook(Object* self, Selector selector)
{
    g_calls.push_back("lock");
    g_lock(self, selector);
}

class Hooked : public DeviceFixture {
protected:
    static void SetUpTestSuite()
    {
        MSHookMessageEx(runtime::NSClassFromString("SBIconController"), openFolderOperation, openFolderHook, &g_openFolder);
        MSHookMessageEx(runtime::NSClassFromString("SBApplication"), setApplicationStateOperation, setApplicationStateHook, &g_setApplicationState);
        MSHookMessageEx(runtime::NSClassFromString("SBApplication"), willActivateOperation, willActivateHook, &g_willActivate);
        MSHookMessageEx(runtime::NSClassFromString("SBIconView"), touchesBeganOperation, touchesBeganHook, &g_touchesBegan);
        MSHookMessageEx(runtime::NSClassFromString("SBIconView"), touchesMovedOperation, touchesMovedHook, &g_touchesMoved);
        MSHookMessageEx(runtime::NSClassFromString("SBIconViewMap"), mappedIconViewOperation, mappedIconViewHook, &g_mappedIconView);
        MSHookMessageEx(runtime::NSClassFromString("SBShowcaseController"), setHiddenOperation, setHiddenHook, &g_setHidden);
        MSHookMessageEx(runtime::NSClassFromString("SBAwayController"), lockOperation, lockHook, &g_lock);
    }
    void SetUp() override
    {
        DeviceFixture::SetUp();
        g_calls.clear();
    }
};

size_t countOf(const std::string& call) { return std::count(g_calls.begin(), g_calls.end(), call); }

}

TEST_F(Hooked, EveryClassHandsBackItsOwnImplementation)
{
    for (auto* original : { toIMP(g_openFolder), toIMP(g_setApplicationState), toIMP(g_willActivate), toIMP(g_touchesBegan),
             toIMP(g_touchesMoved), toIMP(g_mappedIconView), toIMP(g_setHidden), toIMP(g_lock) })
        EXPECT_NE(original, nullptr);
}

TEST_F(Hooked, LayoutMapsEveryHomeScreenViewThroughTheHook)
{
    auto& springBoard = boot();
    // Seven page and dock items of the standard device, each mapped when laid out.
    EXPECT_GE(countOf("mapped"), 9u);
    g_calls.clear();
    springBoard.layoutDock();
    EXPECT_EQ(countOf("mapped"), 3u);
}

TEST_F(Hooked, FolderOpeningRunsTheHookThenTheHostsOpening)
{
    auto& springBoard = boot();
    g_calls.clear();
    springBoard.openFolderNamed("Utilities");
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ(g_calls.front(), "openFolder Utilities");
    EXPECT_EQ(SBIconController::sharedInstance()->openFolder(), springBoard.model().folderNamed("Utilities"));
    EXPECT_EQ(countOf("mapped"), 3u) << "the folder's three icons are mapped as the folder lays out";
}

TEST_F(Hooked, StateChangesAndActivationGoThroughTheHooks)
{
    boot();
    g_calls.clear();
    auto& application = this->application("com.apple.mobilesafari");
    application.setApplicationState(SBApplicationStateBackground);
    application.willActivate();
    EXPECT_EQ(g_calls, (std::vector<std::string> { "setApplicationState 2", "willActivate" }));
    EXPECT_EQ(application.applicationState(), SBApplicationStateBackground);
    EXPECT_EQ(application.activationCount(), 1u);

    g_calls.clear();
    SBApplicationController::sharedInstance()->launchApplication("com.apple.Maps", 1);
    ASSERT_GE(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[0], "willActivate");
    EXPECT_EQ(g_calls[1], "setApplicationState 4");
    ASSERT_TRUE(settle());
}

TEST_F(Hooked, SwipeTouchesReachTheIconViewThroughTheHooks)
{
    auto& springBoard = boot();
    auto& view = springBoard.iconViewForTarget("Maps");
    g_calls.clear();
    auto* touched = swipe(view, 10, 3);
    EXPECT_EQ(touched, &view);
    EXPECT_EQ(g_calls, (std::vector<std::string> { "touchesBegan", "touchesMoved" }));
    EXPECT_FLOAT_EQ(g_lastMoveLocation.x, 29.5f + 3);
    EXPECT_FLOAT_EQ(g_lastMoveLocation.y, 37 - 10);
}

TEST_F(Hooked, SwitcherAndLockGoThroughTheHooks)
{
    auto& springBoard = boot();
    g_calls.clear();
    springBoard.showSwitcher();
    EXPECT_EQ(countOf("setHidden NO"), 1u);
    EXPECT_TRUE(springBoard.isSwitcherShowing());
    springBoard.hideSwitcher();
    EXPECT_EQ(countOf("setHidden YES"), 1u);
    EXPECT_FALSE(springBoard.isSwitcherShowing());

    SBAwayController::sharedInstance()->lock();
    EXPECT_EQ(countOf("lock"), 1u);
    EXPECT_TRUE(SBAwayController::sharedInstance()->isLocked());
    // The lock screen takes the touches now.
    auto* touched = swipe(springBoard.iconViewForTarget("Maps"), 10, 0);
    EXPECT_EQ(countOf("touchesBegan"), 0u);
    EXPECT_NE(touched, nullptr);
    SBAwayController::sharedInstance()->unlock();
    EXPECT_FALSE(SBAwayController::sharedInstance()->isLocked());
}
