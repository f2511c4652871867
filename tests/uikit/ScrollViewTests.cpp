#include "AlertTestSupport.h"

#include <runtime/Class.h>
#include <uikit/UIScrollView.h>
#include <uikit/UITableView.h>

using namespace uikit;
using namespace uikit::testing;

namespace {

// A scroll view that writes down what its content is told of a finger.
class TapRecordingScrollView : public UIScrollView {
    TORVANE_OBJECT(TapRecordingScrollView, UIScrollView)
public:
    static runtime::Ref<TapRecordingScrollView> create(CGRect frame) { return runtime::adoptRef(*new TapRecordingScrollView(frame)); }
    EventLog log;

protected:
    void tapDidBegin(UITouch&) override { log.add("tap began"); }
    void tapDidEnd() override { log.add("tap ended"); }
    void tapDidCancel() override { log.add("tap cancelled"); }

private:
    explicit TapRecordingScrollView(CGRect frame)
        : UIScrollView(frame)
    {
    }
};

TORVANE_DEFINE_CLASS(TapRecordingScrollView)

// A 200 x 300 scroll view at the window's top left over content 400 x 1000, covered by a plain view
// that passes its touches up, as most content does.
class ScrollViewTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        scroll = TapRecordingScrollView::create({ { 0, 0 }, { 200, 300 } });
        scroll->setContentSize({ 400, 1000 });
        scroll->addSubview(UIView::create({ { 0, 0 }, { 400, 1000 } }));
        window().addSubview(*scroll);
    }
    void TearDown() override
    {
        scroll = nullptr;
        WidgetTest::TearDown();
    }
    void drag(CGPoint from, CGPoint to)
    {
        window().injectTouch(UITouchPhaseBegan, from);
        window().injectTouch(UITouchPhaseMoved, to);
        window().injectTouch(UITouchPhaseEnded, to);
    }

    runtime::RefPtr<TapRecordingScrollView> scroll;
};

using ScrollViewClamping = ScrollViewTest;
using ScrollViewTouches = ScrollViewTest;
using ScrollViewRectToVisible = ScrollViewTest;

TEST_F(ScrollViewClamping, KeepsTheBoundsWithinTheContentAtBothEnds)
{
    EXPECT_EQ(scroll->clampedContentOffset({ -20, -5 }), CGPointMake(0, 0));
    EXPECT_EQ(scroll->clampedContentOffset({ 900, 5000 }), CGPointMake(200, 700));
    EXPECT_EQ(scroll->clampedContentOffset({ 30, 40 }), CGPointMake(30, 40));

    drag({ 100, 100 }, { 150, 200 }); // towards the start: held at 0
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 0));
    drag({ 190, 290 }, { -3000, -3000 }); // far past the end
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(200, 700));
}

TEST_F(ScrollViewClamping, ContentSmallerThanTheBoundsDoesNotMove)
{
    scroll->setContentSize({ 100, 120 });
    EXPECT_EQ(scroll->clampedContentOffset({ 50, 50 }), CGPointMake(0, 0));
    drag({ 100, 250 }, { 20, 20 });
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 0));
}

TEST_F(ScrollViewTouches, AFingerWithinTheThresholdIsATapForTheContent)
{
    // Exactly the threshold away (6, 8 make 10) is still a tap and moves nothing.
    drag({ 100, 100 }, { 106, 92 });
    EXPECT_EQ(scroll->log.events, (std::vector<std::string> { "tap began", "tap ended" }));
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 0));
    EXPECT_FALSE(scroll->isTracking());

    // A little further is a drag: the tap is cancelled once and the content follows the whole way.
    scroll->log.clear();
    window().injectTouch(UITouchPhaseBegan, { 100, 100 });
    window().injectTouch(UITouchPhaseMoved, { 100, 100 - UIScrollView::dragThreshold - 1 });
    EXPECT_TRUE(scroll->isDragging());
    window().injectTouch(UITouchPhaseMoved, { 100, 40 });
    window().injectTouch(UITouchPhaseEnded, { 100, 40 });
    EXPECT_EQ(scroll->log.events, (std::vector<std::string> { "tap began", "tap cancelled" }));
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 60));
    EXPECT_FALSE(scroll->isDragging());
}

TEST_F(ScrollViewTouches, WithScrollingOffADragCancelsTheTapAndMovesNothing)
{
    scroll->setScrollEnabled(false);
    drag({ 100, 250 }, { 100, 50 });
    EXPECT_EQ(scroll->log.events, (std::vector<std::string> { "tap began", "tap cancelled" }));
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 0));
}

TEST_F(ScrollViewRectToVisible, ScrollsTheLeastDistanceWithinTheContent)
{
    scroll->setContentOffset({ 0, 400 });
    scroll->scrollRectToVisible({ { 10, 450 }, { 50, 100 } }, false); // already in view
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 400));
    scroll->scrollRectToVisible({ { 10, 300 }, { 50, 40 } }, false); // above: its top at the top
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 300));
    scroll->scrollRectToVisible({ { 10, 800 }, { 50, 40 } }, false); // below: its bottom at the bottom
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(0, 540));
    scroll->scrollRectToVisible({ { 350, 980 }, { 100, 100 } }, true); // past the end: held at the end
    EXPECT_EQ(scroll->contentOffset(), CGPointMake(200, 700));
}

TEST(ScrollViewClass, IsRegisteredAndUnderTheTable)
{
    auto* cls = runtime::NSClassFromString("UIScrollView");
    ASSERT_TRUE(cls);
    EXPECT_TRUE(UITableView::staticClass().isSubclassOfClass(*cls));
    EXPECT_TRUE(cls->isSubclassOfClass(UIView::staticClass()));
}

}
