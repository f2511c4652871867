#include <quartzcore/CALayer.h>
#include <quartzcore/CATransaction.h>

#include <graphics/Context.h>

#include <gtest/gtest.h>

using namespace quartzcore;

namespace {

std::vector<CALayer*> sublayersOf(const CALayer& layer)
{
    std::vector<CALayer*> result;
    for (auto& sublayer : layer.sublayers())
        result.push_back(sublayer.ptr());
    return result;
}

}

TEST(LayerTree, InsertionPositionsFollowIndexAndSiblings)
{
    auto root = CALayer::create();
    auto a = CALayer::create();
    auto b = CALayer::create();
    auto c = CALayer::create();
    auto d = CALayer::create();
    root->addSublayer(a);
    root->addSublayer(b);
    root->insertSublayerAtIndex(c, 1);
    EXPECT_EQ(sublayersOf(root), (std::vector<CALayer*> { a.ptr(), c.ptr(), b.ptr() }));
    root->insertSublayerBelow(d, a.ptr());
    EXPECT_EQ(sublayersOf(root), (std::vector<CALayer*> { d.ptr(), a.ptr(), c.ptr(), b.ptr() }));
    // Moving a layer that is already there above a later sibling.
    root->insertSublayerAbove(d, c.ptr());
    EXPECT_EQ(sublayersOf(root), (std::vector<CALayer*> { a.ptr(), c.ptr(), d.ptr(), b.ptr() }));
    root->insertSublayerAtIndex(a, 100);
    EXPECT_EQ(sublayersOf(root), (std::vector<CALayer*> { c.ptr(), d.ptr(), b.ptr(), a.ptr() }));
    EXPECT_EQ(a->indexInSuperlayer(), 3);
}

TEST(LayerTree, AddingElsewhereMovesAndRemovalReleases)
{
    auto first = CALayer::create();
    auto second = CALayer::create();
    auto child = CALayer::create();
    first->addSublayer(child);
    second->addSublayer(child);
    EXPECT_TRUE(first->sublayers().empty());
    EXPECT_EQ(child->superlayer(), second.ptr());
    unsigned before = child->refCount();
    child->removeFromSuperlayer();
    EXPECT_EQ(child->refCount(), before - 1);
    EXPECT_EQ(child->superlayer(), nullptr);
    EXPECT_EQ(child->indexInSuperlayer(), -1);
}

TEST(LayerTree, RefusesToContainItsOwnAncestor)
{
    auto top = CALayer::create();
    auto middle = CALayer::create();
    top->addSublayer(middle);
    middle->addSublayer(top);
    middle->addSublayer(middle);
    EXPECT_TRUE(middle->sublayers().empty());
    EXPECT_EQ(top->superlayer(), nullptr);
}

TEST(LayerTree, SuperlayerIsWeak)
{
    auto child = CALayer::create();
    {
        auto parent = CALayer::create();
        parent->addSublayer(child);
    }
    EXPECT_EQ(child->superlayer(), nullptr);
}

TEST(LayerGeometry, BoundsKeepTheCentreAndPositionMovesTheFrame)
{
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    auto layer = CALayer::create();
    layer->setFrame({ { 10, 10 }, { 100, 50 } });
    layer->setBounds({ { 0, 0 }, { 50, 20 } });
    EXPECT_EQ(layer->frame(), (graphics::CGRect { { 35, 25 }, { 50, 20 } }));
    layer->setPosition({ 100, 100 });
    EXPECT_EQ(layer->frame(), (graphics::CGRect { { 75, 90 }, { 50, 20 } }));
    CATransaction::commit();
}

TEST(LayerGeometry, SizeChangeMarksForRedrawOnlyWhenAsked)
{
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    auto layer = CALayer::create();
    auto context = graphics::CGBitmapContextCreate(4, 4, 1);
    layer->renderInContext(context);
    EXPECT_FALSE(layer->needsDisplay());
    layer->setFrame({ { 0, 0 }, { 3, 3 } });
    EXPECT_FALSE(layer->needsDisplay());
    layer->setNeedsDisplayOnBoundsChange(true);
    layer->setFrame({ { 1, 1 }, { 3, 3 } });
    EXPECT_FALSE(layer->needsDisplay()) << "a move is not a size change";
    layer->setFrame({ { 1, 1 }, { 4, 3 } });
    EXPECT_TRUE(layer->needsDisplay());
    CATransaction::commit();
}
