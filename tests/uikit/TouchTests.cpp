#include "UIKitTestSupport.h"

#include <foundation/NSSet.h>
#include <uikit/UIApplication.h>
#include <uikit/UIEvent.h>
#include <uikit/UIImageView.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>

#include <string>
#include <vector>

using namespace uikit;

namespace {

using HitTesting = uikit::testing::VirtualTimeTest;
using TouchDelivery = uikit::testing::VirtualTimeTest;

struct Received {
    std::string phase;
    CGPoint location;
    CGPoint previous;
    size_t touchCount;
    bool eventHasTouch;
};

// Records every touch phase it gets, with the location in its own coordinates.
class TouchRecorder : public UIView {
public:
    static runtime::Ref<TouchRecorder> create(CGRect frame) { return runtime::adoptRef(*new TouchRecorder(frame)); }

    void touchesBegan(foundation::NSSet& touches, UIEvent* event) override { record("began", touches, event); }
    void touchesMoved(foundation::NSSet& touches, UIEvent* event) override { record("moved", touches, event); }
    void touchesEnded(foundation::NSSet& touches, UIEvent* event) override { record("ended", touches, event); }
    void touchesCancelled(foundation::NSSet& touches, UIEvent* event) override { record("cancelled", touches, event); }

    std::vector<Received> received;

private:
    explicit TouchRecorder(CGRect frame)
        : UIView(frame)
    {
    }
    void record(const char* phase, foundation::NSSet& touches, UIEvent* event)
    {
        auto touch = runtime::dynamicCast<UITouch>(touches.anyObject());
        ASSERT_NE(touch, nullptr);
        EXPECT_EQ(touch->view(), this);
        received.push_back({ phase, touch->locationInView(this), touch->previousLocationInView(this), touches.count(),
            event && event->allTouches().containsObject(*touch) });
    }
};

runtime::Ref<UIWindow> visibleWindow()
{
    auto window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
    window->makeKeyAndVisible();
    return window;
}

}

TEST_F(HitTesting, SkipsHiddenTransparentAndNonInteractiveViews)
{
    auto window = visibleWindow();
    auto back = UIView::create({ { 0, 0 }, { 100, 100 } });
    auto front = UIView::create({ { 0, 0 }, { 100, 100 } });
    window->addSubview(back);
    window->addSubview(front);
    EXPECT_EQ(window->hitTest({ 50, 50 }, nullptr), front.ptr()) << "the later subview is on top";

    front->setHidden(true);
    EXPECT_EQ(window->hitTest({ 50, 50 }, nullptr), back.ptr());
    front->setHidden(false);
    front->setAlpha(0.005f);
    EXPECT_EQ(window->hitTest({ 50, 50 }, nullptr), back.ptr());
    front->setAlpha(0.01f);
    EXPECT_EQ(window->hitTest({ 50, 50 }, nullptr), front.ptr()) << "0.01 is still visible enough";
    front->setUserInteractionEnabled(false);
    EXPECT_EQ(window->hitTest({ 50, 50 }, nullptr), back.ptr());

    // A non-interactive parent hides its interactive children too.
    auto child = UIView::create({ { 10, 10 }, { 10, 10 } });
    front->addSubview(child);
    EXPECT_EQ(window->hitTest({ 15, 15 }, nullptr), back.ptr());

    // Image views take no touches by default.
    auto image = UIImageView::create({ { 0, 0 }, { 100, 100 } });
    window->addSubview(image);
    EXPECT_EQ(window->hitTest({ 50, 50 }, nullptr), back.ptr());
    EXPECT_EQ(window->hitTest({ 150, 150 }, nullptr), window.ptr());
}

TEST_F(HitTesting, SubviewsOutsideTheirParentAreNotHit)
{
    auto window = visibleWindow();
    auto parent = UIView::create({ { 0, 0 }, { 50, 50 } });
    auto overhang = UIView::create({ { 40, 40 }, { 40, 40 } });
    parent->addSubview(overhang);
    window->addSubview(parent);
    EXPECT_EQ(window->hitTest({ 45, 45 }, nullptr), overhang.ptr());
    EXPECT_EQ(window->hitTest({ 60, 60 }, nullptr), window.ptr());
}

TEST_F(HitTesting, ConvertsPointsThroughFramesAndBoundsOrigins)
{
    auto window = visibleWindow();
    auto outer = UIView::create({ { 10, 20 }, { 200, 200 } });
    auto inner = UIView::create({ { 5, 5 }, { 50, 50 } });
    auto sibling = UIView::create({ { 100, 100 }, { 50, 50 } });
    outer->addSubview(inner);
    window->addSubview(outer);
    window->addSubview(sibling);

    EXPECT_EQ(inner->convertPointToView({ 1, 2 }, nullptr), (CGPoint { 16, 27 }));
    EXPECT_EQ(inner->convertPointToView({ 1, 2 }, window.ptr()), (CGPoint { 16, 27 }));
    EXPECT_EQ(inner->convertPointFromView({ 16, 27 }, nullptr), (CGPoint { 1, 2 }));
    EXPECT_EQ(inner->convertPointToView({ 0, 0 }, sibling.ptr()), (CGPoint { -85, -75 }));
    EXPECT_EQ(sibling->convertPointFromView({ 0, 0 }, inner.ptr()), (CGPoint { -85, -75 }));
    EXPECT_EQ(inner->convertRectToView({ { 1, 1 }, { 3, 4 } }, outer.ptr()), (CGRect { { 6, 6 }, { 3, 4 } }));

    // Scrolling the outer view (its bounds origin) moves what is inside it.
    outer->setBounds({ { 0, 30 }, { 200, 200 } });
    EXPECT_EQ(inner->convertPointToView({ 0, 0 }, nullptr), (CGPoint { 15, -5 }));
    EXPECT_EQ(window->hitTest({ 16, 25 }, nullptr), inner.ptr());
    EXPECT_EQ(window->hitTest({ 16, 50 }, nullptr), outer.ptr());
    EXPECT_EQ(window->hitTest({ 16, 10 }, nullptr), window.ptr()) << "above the scrolled view";
}

TEST_F(TouchDelivery, EveryPhaseGoesToTheViewHitWhenTheTouchBegan)
{
    auto window = visibleWindow();
    auto container = UIView::create({ { 100, 100 }, { 100, 100 } });
    auto target = TouchRecorder::create({ { 10, 10 }, { 40, 40 } });
    container->addSubview(target);
    window->addSubview(container);

    EXPECT_EQ(window->injectTouch(UITouchPhaseBegan, { 115, 120 }), target.ptr());
    window->injectTouch(UITouchPhaseMoved, { 300, 300 });
    window->injectTouch(UITouchPhaseEnded, { 310, 305 });

    ASSERT_EQ(target->received.size(), 3u);
    EXPECT_EQ(target->received[0].phase, "began");
    EXPECT_EQ(target->received[0].location, (CGPoint { 5, 10 }));
    EXPECT_EQ(target->received[1].phase, "moved");
    EXPECT_EQ(target->received[1].location, (CGPoint { 190, 190 })) << "outside the view, still its touch";
    EXPECT_EQ(target->received[1].previous, (CGPoint { 5, 10 }));
    EXPECT_EQ(target->received[2].phase, "ended");
    for (auto& received : target->received) {
        EXPECT_EQ(received.touchCount, 1u);
        EXPECT_TRUE(received.eventHasTouch);
    }
    EXPECT_EQ(window->touchedView(), nullptr);
    EXPECT_EQ(window->injectTouch(UITouchPhaseEnded, { 0, 0 }), nullptr) << "no touch in progress";
}

TEST_F(TouchDelivery, UnhandledTouchesTravelUpTheResponderChain)
{
    // A view that does not handle touches passes them to its superview, touch view unchanged.
    class ChainEnd : public UIView {
    public:
        ChainEnd()
            : UIView(CGRect { { 0, 0 }, { 100, 100 } })
        {
        }
        void touchesBegan(foundation::NSSet& touches, UIEvent*) override { record("began", touches); }
        void touchesEnded(foundation::NSSet& touches, UIEvent*) override { record("ended", touches); }
        std::vector<std::string> phases;
        UIView* touchView { nullptr };

    private:
        void record(const char* phase, foundation::NSSet& touches)
        {
            phases.push_back(phase);
            touchView = runtime::dynamicCast<UITouch>(touches.anyObject())->view();
        }
    };
    auto window = visibleWindow();
    auto parent = runtime::adoptRef(*new ChainEnd);
    auto plain = UIView::create({ { 0, 0 }, { 50, 50 } });
    parent->addSubview(plain);
    window->addSubview(parent);
    window->injectTouch(UITouchPhaseBegan, { 10, 10 });
    window->injectTouch(UITouchPhaseEnded, { 10, 10 });
    EXPECT_EQ(parent->phases, (std::vector<std::string> { "began", "ended" }));
    EXPECT_EQ(parent->touchView, plain.ptr());
}

TEST_F(TouchDelivery, NewTouchCancelsOneInProgressAndRemovedViewsGetNothingMore)
{
    auto window = visibleWindow();
    auto target = TouchRecorder::create({ { 0, 0 }, { 100, 100 } });
    window->addSubview(target);
    window->injectTouch(UITouchPhaseBegan, { 10, 10 });
    window->injectTouch(UITouchPhaseBegan, { 20, 20 });
    ASSERT_EQ(target->received.size(), 3u);
    EXPECT_EQ(target->received[1].phase, "cancelled");
    EXPECT_EQ(target->received[2].phase, "began");

    target->removeFromSuperview();
    window->injectTouch(UITouchPhaseEnded, { 20, 20 });
    EXPECT_EQ(target->received.size(), 3u);
}

TEST_F(TouchDelivery, ApplicationSendsScreenTouchesToTheFrontWindowUnderThem)
{
    auto back = visibleWindow();
    auto backTarget = TouchRecorder::create({ { 0, 0 }, { 320, 480 } });
    back->addSubview(backTarget);

    auto alert = UIWindow::create({ { 20, 100 }, { 280, 200 } });
    alert->setWindowLevel(UIWindowLevelAlert);
    alert->makeKeyAndVisible();
    auto alertTarget = TouchRecorder::create({ { 0, 0 }, { 280, 200 } });
    alert->addSubview(alertTarget);

    auto& application = UIApplication::sharedApplication();
    EXPECT_EQ(application.injectTouch(UITouchPhaseBegan, { 30, 110 }), alertTarget.ptr());
    application.injectTouch(UITouchPhaseEnded, { 30, 110 });
    ASSERT_EQ(alertTarget->received.size(), 2u);
    EXPECT_EQ(alertTarget->received[0].location, (CGPoint { 10, 10 }));

    EXPECT_EQ(application.injectTouch(UITouchPhaseBegan, { 10, 10 }), backTarget.ptr());
    application.injectTouch(UITouchPhaseCancelled, { 10, 10 });
    EXPECT_EQ(backTarget->received.size(), 2u);
    EXPECT_EQ(backTarget->received[1].phase, "cancelled");
}
