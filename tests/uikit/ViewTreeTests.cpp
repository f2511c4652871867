#include "UIKitTestSupport.h"

#include <uikit/UIColor.h>
#include <uikit/UIView.h>
#include <uikit/UIWindow.h>

#include <string>
#include <vector>

using namespace uikit;

namespace {

using ViewTree = uikit::testing::VirtualTimeTest;

std::vector<UIView*> subviewsOf(const UIView& view)
{
    std::vector<UIView*> result;
    for (auto& subview : view.subviews())
        result.push_back(subview.ptr());
    return result;
}

// The views whose layers are the parent's sublayers, in layer order.
std::vector<const quartzcore::CALayer*> layersOf(const UIView& view)
{
    std::vector<const quartzcore::CALayer*> result;
    for (auto& layer : view.layer().sublayers())
        result.push_back(layer.ptr());
    return result;
}

class RecordingView : public UIView {
public:
    static runtime::Ref<RecordingView> create(std::vector<std::string>& log, std::string name)
    {
        return runtime::adoptRef(*new RecordingView(log, std::move(name)));
    }
    void layoutSubviews() override { m_log.push_back(m_name + ".layout"); }
    void didAddSubview(UIView&) override { m_log.push_back(m_name + ".didAdd"); }
    void willRemoveSubview(UIView&) override { m_log.push_back(m_name + ".willRemove"); }
    void willMoveToWindow(UIWindow* window) override { m_log.push_back(m_name + (window ? ".toWindow" : ".toNoWindow")); }

private:
    RecordingView(std::vector<std::string>& log, std::string name)
        : UIView(CGRectZero)
        , m_log(log)
        , m_name(std::move(name))
    {
    }
    std::vector<std::string>& m_log;
    std::string m_name;
};

}

TEST_F(ViewTree, OrderOperationsKeepSubviewsAndLayersInStep)
{
    auto parent = UIView::create();
    auto a = UIView::create();
    auto b = UIView::create();
    auto c = UIView::create();
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubviewAtIndex(c, 0);
    EXPECT_EQ(subviewsOf(parent), (std::vector<UIView*> { c.ptr(), a.ptr(), b.ptr() }));

    parent->bringSubviewToFront(c);
    EXPECT_EQ(subviewsOf(parent), (std::vector<UIView*> { a.ptr(), b.ptr(), c.ptr() }));
    parent->sendSubviewToBack(b);
    EXPECT_EQ(subviewsOf(parent), (std::vector<UIView*> { b.ptr(), a.ptr(), c.ptr() }));
    parent->insertSubviewAboveSubview(b, a.ptr());
    EXPECT_EQ(subviewsOf(parent), (std::vector<UIView*> { a.ptr(), b.ptr(), c.ptr() }));
    parent->insertSubviewBelowSubview(c, a.ptr());
    EXPECT_EQ(subviewsOf(parent), (std::vector<UIView*> { c.ptr(), a.ptr(), b.ptr() }));

    EXPECT_EQ(layersOf(parent), (std::vector<const quartzcore::CALayer*> { &c->layer(), &a->layer(), &b->layer() }));
}

TEST_F(ViewTree, PlainLayersKeepTheirPlaceBetweenSubviewLayers)
{
    // A view that adds its own layers, then brings a subview to the front (a button's face).
    auto button = UIView::create();
    auto label = UIView::create();
    button->addSubview(label);
    auto face = quartzcore::CALayer::create();
    button->layer().addSublayer(face);
    button->bringSubviewToFront(label);
    EXPECT_EQ(layersOf(button), (std::vector<const quartzcore::CALayer*> { face.ptr(), &label->layer() }));

    // A view inserted at index 0 goes below the first subview's layer, not below the face.
    auto behind = UIView::create();
    button->insertSubviewAtIndex(behind, 0);
    EXPECT_EQ(layersOf(button), (std::vector<const quartzcore::CALayer*> { face.ptr(), &behind->layer(), &label->layer() }));
}

TEST_F(ViewTree, SuperviewOwnsSubviewsAndTheBackLinkIsWeak)
{
    auto child = UIView::create();
    unsigned alone = child->refCount();
    {
        auto parent = UIView::create();
        parent->addSubview(child);
        EXPECT_EQ(child->refCount(), alone + 1);
        EXPECT_EQ(child->superview(), parent.ptr());
        child->removeFromSuperview();
        EXPECT_EQ(child->refCount(), alone);
        EXPECT_EQ(child->superview(), nullptr);
        EXPECT_EQ(child->layer().superlayer(), nullptr);
        parent->addSubview(child);
    }
    EXPECT_EQ(child->superview(), nullptr) << "the parent died";
    EXPECT_EQ(child->refCount(), alone);
}

TEST_F(ViewTree, AddingToAnotherParentMovesAndCyclesAreRefused)
{
    auto first = UIView::create();
    auto second = UIView::create();
    auto child = UIView::create();
    first->addSubview(child);
    second->addSubview(child);
    EXPECT_TRUE(first->subviews().empty());
    EXPECT_EQ(child->superview(), second.ptr());

    child->addSubview(second);
    child->addSubview(child);
    EXPECT_TRUE(child->subviews().empty());
    EXPECT_EQ(second->superview(), nullptr);

    auto window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
    first->addSubview(window);
    EXPECT_TRUE(first->subviews().empty()) << "a window is always a root";
}

TEST_F(ViewTree, ViewWithTagSearchesDepthFirstIncludingItself)
{
    auto root = UIView::create();
    auto branch = UIView::create();
    auto deep = UIView::create();
    auto later = UIView::create();
    root->setTag(1);
    deep->setTag(567);
    later->setTag(567);
    branch->addSubview(deep);
    root->addSubview(branch);
    root->addSubview(later);
    EXPECT_EQ(root->viewWithTag(1), root.ptr());
    EXPECT_EQ(root->viewWithTag(567), deep.ptr());
    EXPECT_EQ(later->viewWithTag(567), later.ptr());
    EXPECT_EQ(root->viewWithTag(42), nullptr);
}

TEST_F(ViewTree, TreeCallbacksArriveInUIKitOrder)
{
    std::vector<std::string> log;
    auto window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
    auto parent = RecordingView::create(log, "parent");
    auto child = RecordingView::create(log, "child");
    window->addSubview(parent);
    log.clear();
    parent->addSubview(child);
    EXPECT_EQ(log, (std::vector<std::string> { "child.toWindow", "parent.didAdd" }));
    log.clear();
    child->removeFromSuperview();
    EXPECT_EQ(log, (std::vector<std::string> { "parent.willRemove", "child.toNoWindow" }));
}

TEST_F(ViewTree, LayoutRunsOnTheNextTurnOrWhenForced)
{
    std::vector<std::string> log;
    auto view = RecordingView::create(log, "view");
    view->setNeedsLayout();
    view->setNeedsLayout();
    EXPECT_TRUE(log.empty());
    view->layoutIfNeeded();
    EXPECT_EQ(log, std::vector<std::string> { "view.layout" });
    view->layoutIfNeeded();
    EXPECT_EQ(log.size(), 1u) << "nothing pending any more";

    // Views in a visible window are laid out by the run loop.
    auto window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
    window->makeKeyAndVisible();
    window->addSubview(view);
    log.clear();
    view->setFrame({ { 0, 0 }, { 50, 50 } });
    EXPECT_TRUE(log.empty());
    runPendingWork();
    EXPECT_EQ(log, std::vector<std::string> { "view.layout" });
}

TEST_F(ViewTree, AutoresizingSharesTheChangeAmongFlexibleParts)
{
    auto parent = UIView::create({ { 0, 0 }, { 100, 100 } });
    auto stretch = UIView::create({ { 10, 10 }, { 80, 20 } });
    stretch->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    auto pinnedRight = UIView::create({ { 70, 40 }, { 20, 20 } });
    pinnedRight->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleTopMargin);
    auto fixed = UIView::create({ { 5, 5 }, { 10, 10 } });
    parent->addSubview(stretch);
    parent->addSubview(pinnedRight);
    parent->addSubview(fixed);

    parent->setFrame({ { 0, 0 }, { 200, 150 } });
    EXPECT_EQ(stretch->frame(), (CGRect { { 10, 10 }, { 180, 20 } }));
    EXPECT_EQ(pinnedRight->frame(), (CGRect { { 170, 90 }, { 20, 20 } }));
    EXPECT_EQ(fixed->frame(), (CGRect { { 5, 5 }, { 10, 10 } }));

    parent->setAutoresizesSubviews(false);
    parent->setFrame({ { 0, 0 }, { 100, 100 } });
    EXPECT_EQ(stretch->frame(), (CGRect { { 10, 10 }, { 180, 20 } }));
}

TEST_F(ViewTree, ViewPropertiesAreTheLayersProperties)
{
    auto view = UIView::create({ { 10, 20 }, { 30, 40 } });
    EXPECT_EQ(view->center(), (CGPoint { 25, 40 }));
    view->setCenter({ 100, 100 });
    EXPECT_EQ(view->layer().frame(), (CGRect { { 85, 80 }, { 30, 40 } }));
    view->layer().setFrame({ { 0, 0 }, { 5, 5 } });
    EXPECT_EQ(view->frame(), (CGRect { { 0, 0 }, { 5, 5 } }));
    view->setAlpha(0.4f);
    view->setHidden(true);
    view->setClipsToBounds(true);
    view->setBackgroundColor(UIColor::redColor());
    EXPECT_FLOAT_EQ(view->layer().opacity(), 0.4f);
    EXPECT_TRUE(view->layer().isHidden());
    EXPECT_TRUE(view->layer().masksToBounds());
    EXPECT_TRUE(graphics::CGColorEqualToColor(view->layer().backgroundColor(), UIColor::redColor()->CGColor()));
    view->setBackgroundColor(nullptr);
    EXPECT_FALSE(view->layer().backgroundColor());
    // A view's own changes never animate.
    EXPECT_TRUE(view->layer().animationKeys().empty());
}
