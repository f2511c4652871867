#include "AlertTestSupport.h"

#include <uikit/UIBarButtonItem.h>
#include <uikit/UIButton.h>
#include <uikit/UILabel.h>
#include <uikit/UINavigationController.h>

using namespace uikit;
using uikit::testing::EventLog;

namespace {

// A screen that writes its appearance callbacks into a shared log, prefixed with its name.
class RecordingScreen : public UIViewController {
    TORVANE_OBJECT(RecordingScreen, UIViewController)
public:
    static runtime::Ref<RecordingScreen> create(std::string name, EventLog& log)
    {
        return runtime::adoptRef(*new RecordingScreen(std::move(name), log));
    }
    void viewWillAppear(bool) override { m_log.add(m_name + " will appear"); }
    void viewDidAppear(bool) override { m_log.add(m_name + " did appear"); }
    void viewWillDisappear(bool) override { m_log.add(m_name + " will disappear"); }
    void viewDidDisappear(bool) override { m_log.add(m_name + " did disappear"); }

private:
    RecordingScreen(std::string name, EventLog& log)
        : m_name(std::move(name))
        , m_log(log)
    {
        setTitle(m_name);
    }
    std::string m_name;
    EventLog& m_log;
};

TORVANE_DEFINE_CLASS(RecordingScreen)

class NavigationStack : public uikit::testing::WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        root = RecordingScreen::create("Settings", log);
        navigation = UINavigationController::create(root);
        navigation->showInWindow(window());
        log.clear();
    }
    void TearDown() override
    {
        navigation = nullptr;
        root = nullptr;
        WidgetTest::TearDown();
    }

    EventLog log;
    runtime::RefPtr<RecordingScreen> root;
    runtime::RefPtr<UINavigationController> navigation;
};

using NavigationModal = NavigationStack;
using NavigationBarButtons = NavigationStack;

TEST_F(NavigationStack, ShowingTheStackShowsItsRoot)
{
    EventLog fresh;
    auto screen = RecordingScreen::create("Root", fresh);
    auto stack = UINavigationController::create(screen);
    EXPECT_TRUE(fresh.events.empty());
    auto other = UIWindow::create({ { 0, 0 }, { 320, 480 } });
    other->addSubview(stack->view()); // a host putting the stack into its window
    EXPECT_EQ(fresh.events, (std::vector<std::string> { "Root will appear", "Root did appear" }));
    EXPECT_EQ(stack->navigationBar().titleLabel().text(), "Root");
    EXPECT_FALSE(stack->navigationBar().showsBackButton());
    EXPECT_EQ(screen->navigationController(), stack.ptr());
}

TEST_F(NavigationStack, PushAndPopSwapScreensWithTheirCallbacks)
{
    auto pane = RecordingScreen::create("Torvane", log);
    navigation->pushViewController(pane, true);
    EXPECT_EQ(log.events, (std::vector<std::string> { "Settings will disappear", "Torvane will appear", "Settings did disappear",
                              "Torvane did appear" }));
    EXPECT_EQ(navigation->topViewController(), pane.ptr());
    EXPECT_EQ(pane->parentViewController(), navigation.get());
    EXPECT_EQ(pane->view().superview(), &navigation->view());
    EXPECT_EQ(root->view().superview(), nullptr);
    EXPECT_EQ(pane->view().frame(), CGRectMake(0, 44, 320, 436));

    // The bar shows the top title and a back button titled after the screen below.
    auto& bar = navigation->navigationBar();
    EXPECT_EQ(bar.titleLabel().text(), "Torvane");
    ASSERT_TRUE(bar.showsBackButton());
    EXPECT_EQ(bar.leftButton()->titleForState(UIControlStateNormal), "Settings");

    log.clear();
    auto popped = navigation->popViewControllerAnimated(false);
    EXPECT_EQ(popped.get(), pane.ptr());
    EXPECT_EQ(log.events, (std::vector<std::string> { "Torvane will disappear", "Settings will appear", "Torvane did disappear",
                              "Settings did appear" }));
    EXPECT_EQ(pane->parentViewController(), nullptr);
    EXPECT_EQ(pane->navigationController(), nullptr);
    EXPECT_EQ(bar.titleLabel().text(), "Settings");
    // The root is never popped.
    EXPECT_FALSE(navigation->popViewControllerAnimated(false));
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
}

TEST_F(NavigationStack, TheBackButtonPopsThroughATouch)
{
    runtime::WeakPtr<UIViewController> weak;
    {
        auto pane = RecordingScreen::create("Torvane", log);
        weak = pane;
        navigation->pushViewController(pane, false);
    }
    ASSERT_TRUE(navigation->navigationBar().tapButtonWithTitle("Settings"));
    EXPECT_EQ(navigation->topViewController(), root.get());
    EXPECT_FALSE(weak.get()); // a popped screen nobody holds is gone
}

TEST_F(NavigationStack, PopToRootPopsEverythingAboveIt)
{
    auto a = RecordingScreen::create("A", log);
    auto b = RecordingScreen::create("B", log);
    navigation->pushViewController(a, false);
    navigation->pushViewController(b, false);
    navigation->pushViewController(b, false); // already in the stack: refused
    EXPECT_EQ(navigation->viewControllers().size(), 3u);
    log.clear();
    auto popped = navigation->popToRootViewControllerAnimated(false);
    ASSERT_EQ(popped.size(), 2u);
    EXPECT_EQ(popped[0].ptr(), a.ptr());
    EXPECT_EQ(popped[1].ptr(), b.ptr());
    // Only the screen on top and the one coming back hear of it.
    EXPECT_EQ(log.events, (std::vector<std::string> { "B will disappear", "Settings will appear", "B did disappear", "Settings did appear" }));
    EXPECT_EQ(navigation->navigationBar().items().size(), 1u);
}

TEST_F(NavigationModal, APresentedScreenCoversTheWholeStackAndLeavesOnDismissal)
{
    auto pane = RecordingScreen::create("Torvane", log);
    navigation->pushViewController(pane, false);
    runtime::RefPtr<RecordingScreen> chooser = RecordingScreen::create("Images", log);
    runtime::RefPtr<UINavigationController> chooserNavigation = UINavigationController::create(chooser);
    log.clear();

    // Presented from a screen of the stack, it goes on top of the navigation controller.
    pane->presentModalViewController(*chooserNavigation, true);
    EXPECT_EQ(navigation->modalViewController(), chooserNavigation.get());
    EXPECT_EQ(chooserNavigation->presentingViewController(), navigation.get());
    EXPECT_EQ(navigation->visibleViewController(), chooserNavigation.get());
    EXPECT_EQ(log.events, (std::vector<std::string> { "Torvane will disappear", "Images will appear", "Torvane did disappear",
                              "Images did appear" }));
    EXPECT_EQ(chooserNavigation->view().frame(), navigation->view().frame());
    EXPECT_EQ(chooserNavigation->view().superview(), &window());
    EXPECT_TRUE(navigation->view().isHidden());
    // A touch on the bar's place reaches the presented screen's bar.
    UIView* touched = window().injectTouch(UITouchPhaseBegan, { 160, 20 });
    window().injectTouch(UITouchPhaseCancelled, { 160, 20 });
    ASSERT_NE(touched, nullptr);
    EXPECT_TRUE(touched->isDescendantOfView(&chooserNavigation->view()));

    log.clear();
    runtime::WeakPtr<UIViewController> weak(chooserNavigation);
    chooserNavigation = nullptr;
    chooser = nullptr;
    navigation->dismissModalViewControllerAnimated(true);
    EXPECT_EQ(log.events, (std::vector<std::string> { "Images will disappear", "Torvane will appear", "Images did disappear",
                              "Torvane did appear" }));
    EXPECT_FALSE(navigation->modalViewController());
    EXPECT_FALSE(navigation->view().isHidden());
    EXPECT_FALSE(weak.get());

    // With nothing presented a dismissal does nothing.
    log.clear();
    navigation->dismissModalViewControllerAnimated(false);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(NavigationModal, ThePresentedScreenMayDismissItself)
{
    auto chooser = RecordingScreen::create("Images", log);
    navigation->presentModalViewController(chooser, false);
    chooser->dismissModalViewControllerAnimated(false);
    EXPECT_FALSE(navigation->modalViewController());
    EXPECT_EQ(chooser->view().superview(), nullptr);
}

TEST_F(NavigationBarButtons, ABarItemRunsItsActionWhenEnabledAndItsTargetLives)
{
    int reloads = 0;
    auto pane = RecordingScreen::create("Torvane", log);
    auto reload = UIBarButtonItem::create("Reload", UIBarButtonItemStyleBordered, pane.ptr(), [&](UIBarButtonItem&) { ++reloads; });
    pane->navigationItem().setRightBarButtonItem(reload);
    navigation->pushViewController(pane, false);
    auto& bar = navigation->navigationBar();
    ASSERT_NE(bar.rightButton(), nullptr);
    EXPECT_EQ(bar.rightButton()->titleForState(UIControlStateNormal), "Reload");

    ASSERT_TRUE(bar.tapButtonWithTitle("Reload"));
    EXPECT_EQ(reloads, 1);

    // Disabled: the button is there, dimmed, and a finger on it does nothing.
    reload->setEnabled(false);
    ASSERT_NE(bar.rightButton(), nullptr);
    EXPECT_FALSE(bar.rightButton()->isEnabled());
    bar.tapButtonWithTitle("Reload");
    EXPECT_EQ(reloads, 1);
    reload->setEnabled(true);
    reload->setTitle("Again");
    ASSERT_TRUE(bar.tapButtonWithTitle("Again"));
    EXPECT_EQ(reloads, 2);

    // A left item replaces the back button.
    pane->navigationItem().setLeftBarButtonItem(UIBarButtonItem::create("Cancel", UIBarButtonItemStyleBordered, nullptr, nullptr));
    EXPECT_FALSE(bar.showsBackButton());
    EXPECT_EQ(bar.leftButton()->titleForState(UIControlStateNormal), "Cancel");
}

TEST_F(NavigationBarButtons, AnItemWhoseTargetDiedDoesNothing)
{
    int runs = 0;
    runtime::RefPtr<UIBarButtonItem> item;
    {
        auto target = UIViewController::create();
        item = UIBarButtonItem::create("Go", UIBarButtonItemStyleDone, target.ptr(), [&](UIBarButtonItem&) { ++runs; });
        EXPECT_TRUE(item->performAction());
    }
    EXPECT_FALSE(item->performAction());
    EXPECT_EQ(runs, 1);
}

TEST_F(NavigationBarButtons, ControllersAnswerForTheirNavigationItem)
{
    EXPECT_TRUE(respondsToOptional(root.get(), ViewControllerMethods::navigationItem));
    EXPECT_TRUE(UIViewController::staticClass().instancesRespondToSelector(ViewControllerMethods::dismissModalViewController.selector()));
    // The navigation bar's operation, which a controller does not answer.
    static constinit const OptionalOperation navigationBarButtons { "showLeftButton:withStyle:rightButton:withStyle:" };
    EXPECT_FALSE(respondsToOptional(root.get(), navigationBarButtons));
    root->navigationItem().setTitle(std::string("Renamed"));
    EXPECT_EQ(navigation->navigationBar().titleLabel().text(), "Renamed");
}

}
