#include "UIKitTestSupport.h"

#include <uikit/UIButton.h>
#include <uikit/UIColor.h>
#include <uikit/UISwitch.h>
#include <uikit/UIWindow.h>

#include <string>
#include <vector>

using namespace uikit;

namespace {

class Controls : public uikit::testing::VirtualTimeTest {
protected:
    void SetUp() override
    {
        VirtualTimeTest::SetUp();
        window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
        window->makeKeyAndVisible();
        button = UIButton::buttonWithType(UIButtonTypeRoundedRect);
        button->setFrame({ { 100, 100 }, { 80, 40 } });
        window->addSubview(*button);
        for (auto [events, name] : { std::pair { UIControlEventTouchDown, "down" }, { UIControlEventTouchUpInside, "upInside" },
                 { UIControlEventTouchUpOutside, "upOutside" }, { UIControlEventTouchCancel, "cancel" },
                 { UIControlEventValueChanged, "valueChanged" } }) {
            std::string label = name;
            button->addTarget(nullptr, [this, label](UIControl&, UIEvent*) { fired.push_back(label); }, events);
        }
    }

    void tap(CGPoint down, CGPoint up)
    {
        window->injectTouch(UITouchPhaseBegan, down);
        window->injectTouch(UITouchPhaseMoved, up);
        window->injectTouch(UITouchPhaseEnded, up);
    }

    runtime::RefPtr<UIWindow> window;
    runtime::RefPtr<UIButton> button;
    std::vector<std::string> fired;
};

}

TEST_F(Controls, TouchUpInsideFiresOnlyItsOwnActions)
{
    tap({ 110, 110 }, { 150, 130 });
    EXPECT_EQ(fired, (std::vector<std::string> { "down", "upInside" }));
}

TEST_F(Controls, TouchUpOutsideFiresUpOutsideNotInside)
{
    tap({ 110, 110 }, { 300, 300 });
    EXPECT_EQ(fired, (std::vector<std::string> { "down", "upOutside" }));
}

TEST_F(Controls, HighlightFollowsTheFingerWhileTracking)
{
    window->injectTouch(UITouchPhaseBegan, { 110, 110 });
    EXPECT_TRUE(button->isHighlighted());
    EXPECT_TRUE(button->isTracking());
    window->injectTouch(UITouchPhaseMoved, { 10, 10 });
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_FALSE(button->isTouchInside());
    window->injectTouch(UITouchPhaseMoved, { 120, 120 });
    EXPECT_TRUE(button->isHighlighted());
    window->injectTouch(UITouchPhaseCancelled, { 120, 120 });
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_FALSE(button->isTracking());
    EXPECT_EQ(fired, (std::vector<std::string> { "down", "cancel" }));
}

TEST_F(Controls, MaskSelectsEveryMatchingEntryInOrder)
{
    std::vector<std::string> order;
    auto control = UIControl::create();
    control->addTarget(nullptr, [&](UIControl&, UIEvent*) { order.push_back("touches"); }, UIControlEventAllTouchEvents);
    control->addTarget(nullptr, [&](UIControl&, UIEvent*) { order.push_back("value"); }, UIControlEventValueChanged);
    control->addTarget(nullptr, [&](UIControl&, UIEvent*) { order.push_back("all"); }, UIControlEventAllEvents);
    control->sendActionsForControlEvents(UIControlEventTouchUpInside);
    control->sendActionsForControlEvents(UIControlEventValueChanged);
    EXPECT_EQ(order, (std::vector<std::string> { "touches", "all", "value", "all" }));
}

TEST_F(Controls, TargetsAreWeakAndCanBeRemoved)
{
    auto control = UIControl::create();
    int calls = 0;
    auto keeper = UIView::create();
    {
        auto shortLived = UIView::create();
        control->addTarget(shortLived.ptr(), [&](UIControl&, UIEvent*) { ++calls; }, UIControlEventTouchDown);
        control->addTarget(keeper.ptr(), [&](UIControl&, UIEvent*) { calls += 10; }, UIControlEventTouchDown | UIControlEventTouchUpInside);
        EXPECT_EQ(control->actionCount(UIControlEventTouchDown), 2u);
    }
    control->sendActionsForControlEvents(UIControlEventTouchDown);
    EXPECT_EQ(calls, 10) << "the dead target's action is skipped";
    control->removeTarget(keeper.ptr(), UIControlEventTouchUpInside);
    EXPECT_EQ(control->actionCount(UIControlEventAllEvents), 0u);
}

TEST_F(Controls, DisabledControlSwallowsTouchesAndSendsNothing)
{
    button->setEnabled(false);
    EXPECT_EQ(button->state(), UIControlStateDisabled);
    tap({ 110, 110 }, { 110, 110 });
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(window->hitTest({ 110, 110 }, nullptr), button.get());
}

TEST_F(Controls, ActionMayRemoveTheControlFromItsWindow)
{
    button->addTarget(nullptr, [this](UIControl& sender, UIEvent*) { sender.removeFromSuperview(); }, UIControlEventTouchDown);
    tap({ 110, 110 }, { 110, 110 });
    EXPECT_EQ(button->superview(), nullptr);
    EXPECT_EQ(fired, std::vector<std::string> { "down" }) << "later phases go nowhere";
}

TEST_F(Controls, SubclassMayBypassTheStandardHandling)
{
    // A control that ignores touch-ended entirely (as a confirm button does while animating).
    class Stubborn : public UIButton {
    public:
        Stubborn()
            : UIButton(CGRect { { 0, 0 }, { 50, 50 } }, UIButtonTypeCustom)
        {
        }
        void touchesEnded(foundation::NSSet&, UIEvent*) override { }
    };
    auto stubborn = runtime::adoptRef(*new Stubborn);
    window->addSubview(stubborn);
    std::vector<std::string> events;
    stubborn->addTarget(nullptr, [&](UIControl&, UIEvent*) { events.push_back("down"); }, UIControlEventTouchDown);
    stubborn->addTarget(nullptr, [&](UIControl&, UIEvent*) { events.push_back("up"); }, UIControlEventTouchUpInside);
    window->injectTouch(UITouchPhaseBegan, { 10, 10 });
    window->injectTouch(UITouchPhaseEnded, { 10, 10 });
    EXPECT_EQ(events, std::vector<std::string> { "down" });
}

TEST_F(Controls, ButtonValuesFallBackToTheNormalState)
{
    button->setTitle("Kill", UIControlStateNormal);
    button->setTitleColor(UIColor::redColor(), UIControlStateHighlighted);
    button->setTitleShadowColor(UIColor::blackColor(), UIControlStateNormal);
    EXPECT_EQ(button->currentTitle(), "Kill");
    EXPECT_EQ(button->titleLabel().text(), "Kill");
    EXPECT_TRUE(button->titleLabel().shadowColor()->isEqual(UIColor::blackColor().ptr()));

    window->injectTouch(UITouchPhaseBegan, { 110, 110 });
    EXPECT_EQ(button->titleForState(UIControlStateHighlighted), "Kill");
    EXPECT_TRUE(button->currentTitleColor()->isEqual(UIColor::redColor().ptr()));
    EXPECT_TRUE(button->titleLabel().textColor().isEqual(UIColor::redColor().ptr()));
    window->injectTouch(UITouchPhaseEnded, { 110, 110 });
    EXPECT_FALSE(button->titleLabel().textColor().isEqual(UIColor::redColor().ptr()));

    button->setTitle(std::nullopt, UIControlStateNormal);
    EXPECT_EQ(button->currentTitle(), std::nullopt);
    EXPECT_EQ(button->titleLabel().text(), "");
}

TEST_F(Controls, ButtonLaysItsTitleOutInTheMiddle)
{
    auto custom = UIButton::buttonWithType(UIButtonTypeCustom);
    custom->setFrame({ { 0, 0 }, { 200, 40 } });
    custom->setTitle("OK", UIControlStateNormal);
    custom->layoutIfNeeded();
    CGRect title = custom->titleLabel().frame();
    EXPECT_GT(title.size.width, 0);
    EXPECT_NEAR(title.origin.x + title.size.width / 2, 100, 1);
    EXPECT_NEAR(title.origin.y + title.size.height / 2, 20, 1);
}

TEST_F(Controls, SwitchFlipsOnTapAndSendsValueChanged)
{
    auto control = UISwitch::create({ { 10, 300 }, { 500, 500 } });
    EXPECT_EQ(control->frame().size, UISwitch::switchSize);
    window->addSubview(control);
    int changes = 0;
    control->addTarget(nullptr, [&](UIControl& sender, UIEvent*) {
        ++changes;
        EXPECT_TRUE(static_cast<UISwitch&>(sender).isOn());
    }, UIControlEventValueChanged);
    window->injectTouch(UITouchPhaseBegan, { 20, 310 });
    window->injectTouch(UITouchPhaseEnded, { 20, 310 });
    EXPECT_TRUE(control->isOn());
    EXPECT_EQ(changes, 1);

    // Lifting outside does not flip it; setting it in code sends nothing.
    window->injectTouch(UITouchPhaseBegan, { 20, 310 });
    window->injectTouch(UITouchPhaseEnded, { 200, 200 });
    EXPECT_TRUE(control->isOn());
    control->setOn(false);
    EXPECT_EQ(changes, 1);
}
