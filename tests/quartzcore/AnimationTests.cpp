#include "VirtualTime.h"

#include <quartzcore/CABasicAnimation.h>
#include <quartzcore/CALayer.h>
#include <quartzcore/CATransaction.h>

#include <string>
#include <vector>

using namespace quartzcore;
using graphics::CGRect;

namespace {

using LayerAnimation = quartzcore::testing::VirtualTimeTest;

CGRect rect(float x, float y, float w, float h) { return { { x, y }, { w, h } }; }

graphics::CGColor rgb(float r, float g, float b) { return graphics::CGColorCreateRGB(r, g, b, 1); }

}

TEST_F(LayerAnimation, ImplicitFrameChangeAnimatesForAQuarterSecondThenRunsCompletion)
{
    auto layer = CALayer::create();
    {
        CATransaction::begin();
        CATransaction::setDisableActions(true);
        layer->setFrame(rect(0, 0, 100, 20));
        CATransaction::commit();
    }
    bool completed = false;
    CATransaction::begin();
    CATransaction::setCompletionBlock([&] { completed = true; });
    layer->setFrame(rect(0, 0, 200, 20));
    CATransaction::commit();

    // The model changes at once; what is shown moves over time.
    EXPECT_EQ(layer->frame(), rect(0, 0, 200, 20));
    EXPECT_FLOAT_EQ(layer->presentationFrame().size.width, 100);
    advance(0.125);
    EXPECT_NEAR(layer->presentationFrame().size.width, 150, 0.5);
    EXPECT_FALSE(completed);
    advance(0.124);
    EXPECT_FALSE(completed);
    advance(0.001);
    EXPECT_TRUE(completed);
    EXPECT_EQ(layer->presentationFrame(), rect(0, 0, 200, 20));
    EXPECT_TRUE(layer->animationKeys().empty());
}

TEST_F(LayerAnimation, CompletionsRunInCommitOrderAndByEndTime)
{
    auto a = CALayer::create();
    auto b = CALayer::create();
    auto c = CALayer::create();
    std::vector<std::string> order;

    CATransaction::begin();
    CATransaction::setAnimationDuration(0.5);
    CATransaction::setCompletionBlock([&] { order.push_back("slow"); });
    c->setOpacity(0.5f);
    CATransaction::commit();

    CATransaction::begin();
    CATransaction::setCompletionBlock([&] { order.push_back("first"); });
    a->setFrame(rect(10, 0, 10, 10));
    CATransaction::commit();

    CATransaction::begin();
    CATransaction::setCompletionBlock([&] { order.push_back("second"); });
    b->setFrame(rect(20, 0, 10, 10));
    CATransaction::commit();

    advance(0.25);
    EXPECT_EQ(order, (std::vector<std::string> { "first", "second" }));
    advance(0.25);
    EXPECT_EQ(order, (std::vector<std::string> { "first", "second", "slow" }));
}

TEST_F(LayerAnimation, DisabledActionsApplyAtOnceAndCompleteAtCommit)
{
    auto layer = CALayer::create();
    bool completed = false;
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    CATransaction::setCompletionBlock([&] { completed = true; });
    layer->setFrame(rect(5, 5, 50, 50));
    layer->setOpacity(0.25f);
    layer->setBackgroundColor(rgb(1, 0, 0));
    CATransaction::commit();

    EXPECT_TRUE(completed);
    EXPECT_TRUE(layer->animationKeys().empty());
    EXPECT_EQ(layer->presentationFrame(), rect(5, 5, 50, 50));
    EXPECT_FLOAT_EQ(layer->presentationOpacity(), 0.25f);
    EXPECT_TRUE(graphics::CGColorEqualToColor(layer->presentationBackgroundColor(), rgb(1, 0, 0)));
}

TEST_F(LayerAnimation, KeptBackgroundColourAnimationHoldsItsEndWithoutChangingTheModel)
{
    auto layer = CALayer::create();
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    layer->setBackgroundColor(rgb(0, 0, 1));
    CATransaction::commit();

    bool completed = false;
    CATransaction::begin();
    CATransaction::setAnimationDuration(0.25);
    CATransaction::setCompletionBlock([&] { completed = true; });
    auto animation = CABasicAnimation::animationWithKeyPath("backgroundColor");
    animation->setFromValue(rgb(0, 0, 1));
    animation->setToValue(rgb(1, 0, 0));
    animation->setRemovedOnCompletion(false);
    animation->setFillMode(CAFillMode::Forwards);
    layer->addAnimation(animation, "colorAnimation");
    CATransaction::commit();

    advance(0.125);
    auto halfway = layer->presentationBackgroundColor().rgba();
    EXPECT_NEAR(halfway.red, 0.5, 0.01);
    EXPECT_NEAR(halfway.blue, 0.5, 0.01);
    EXPECT_FALSE(completed);

    advance(0.125);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(graphics::CGColorEqualToColor(layer->presentationBackgroundColor(), rgb(1, 0, 0)));
    EXPECT_TRUE(graphics::CGColorEqualToColor(layer->backgroundColor(), rgb(0, 0, 1)));
    EXPECT_NE(layer->animationForKey("colorAnimation"), nullptr);

    // Long after, it still shows the end colour.
    advance(10);
    EXPECT_TRUE(graphics::CGColorEqualToColor(layer->presentationBackgroundColor(), rgb(1, 0, 0)));
}

TEST_F(LayerAnimation, RemovedOnCompletionShowsTheModelAgain)
{
    auto layer = CALayer::create();
    auto animation = CABasicAnimation::animationWithKeyPath("opacity");
    animation->setFromValue(0.0f);
    animation->setToValue(1.0f);
    animation->setDuration(0.25);
    layer->addAnimation(animation, "fade");
    layer->removeAnimationForKey("nothing");
    advance(0.25);
    EXPECT_EQ(layer->animationForKey("fade"), nullptr);
    EXPECT_FLOAT_EQ(layer->presentationOpacity(), 1.0f);
}

TEST_F(LayerAnimation, ReplacingAnAnimationUnderItsKeyStillCompletesTheTransactionOnce)
{
    auto layer = CALayer::create();
    int completions = 0;
    CATransaction::begin();
    CATransaction::setCompletionBlock([&] { ++completions; });
    auto first = CABasicAnimation::animationWithKeyPath("opacity");
    first->setFromValue(0.0f);
    layer->addAnimation(first, "fade");
    auto second = CABasicAnimation::animationWithKeyPath("opacity");
    second->setFromValue(0.5f);
    layer->addAnimation(second, "fade");
    CATransaction::commit();

    EXPECT_EQ(layer->animationKeys(), std::vector<std::string> { "fade" });
    advance(0.25);
    EXPECT_EQ(completions, 1);
    advance(1);
    EXPECT_EQ(completions, 1);
}

TEST_F(LayerAnimation, ChangingTheAddedAnimationObjectLaterDoesNotAffectTheLayer)
{
    auto layer = CALayer::create();
    auto animation = CABasicAnimation::animationWithKeyPath("opacity");
    animation->setFromValue(0.0f);
    animation->setToValue(0.0f);
    animation->setRemovedOnCompletion(false);
    animation->setFillMode(CAFillMode::Forwards);
    layer->addAnimation(animation, "fade");
    animation->setToValue(1.0f);
    advance(0.3);
    EXPECT_FLOAT_EQ(layer->presentationOpacity(), 0.0f);
}

TEST_F(LayerAnimation, LayerDyingMidAnimationStillCompletesItsTransaction)
{
    bool completed = false;
    {
        auto layer = CALayer::create();
        CATransaction::begin();
        CATransaction::setCompletionBlock([&] { completed = true; });
        layer->setFrame(rect(0, 0, 10, 10));
        CATransaction::commit();
    }
    // The completion of a removed animation waits for the next turn, never running inside the
    // destructor that removed it.
    EXPECT_FALSE(completed);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(completed);
}

TEST_F(LayerAnimation, NestedTransactionInheritsDurationButKeepsItsOwnCompletion)
{
    auto layer = CALayer::create();
    std::vector<std::string> order;
    CATransaction::begin();
    CATransaction::setAnimationDuration(1.0);
    CATransaction::setCompletionBlock([&] { order.push_back("outer"); });
    CATransaction::begin();
    EXPECT_DOUBLE_EQ(CATransaction::animationDuration(), 1.0);
    CATransaction::setCompletionBlock([&] { order.push_back("inner"); });
    layer->setOpacity(0.5f);
    CATransaction::commit();
    CATransaction::commit();
    EXPECT_EQ(CATransaction::depth(), 0);

    // The outer transaction added nothing itself, so it completed at its commit.
    EXPECT_EQ(order, std::vector<std::string> { "outer" });
    advance(0.5);
    EXPECT_EQ(order.size(), 1u);
    advance(0.5);
    EXPECT_EQ(order, (std::vector<std::string> { "outer", "inner" }));
}

TEST_F(LayerAnimation, LayerOfAViewDoesNotAnimateImplicitly)
{
    struct ViewLike : CALayerDelegate {
        bool layerAllowsImplicitAnimations(const CALayer&) const override { return false; }
    } delegate;
    auto layer = CALayer::create();
    layer->setDelegate(&delegate);
    layer->setFrame(rect(0, 0, 40, 40));
    EXPECT_TRUE(layer->animationKeys().empty());
    EXPECT_EQ(layer->presentationFrame(), rect(0, 0, 40, 40));
    layer->setDelegate(nullptr);
}

TEST_F(LayerAnimation, ChangeDuringAnAnimationContinuesFromWhereItIs)
{
    auto layer = CALayer::create();
    layer->setOpacity(0.0f);
    advance(0.25);
    layer->setOpacity(1.0f);
    advance(0.125);
    EXPECT_NEAR(layer->presentationOpacity(), 0.5f, 0.01f);
    layer->setOpacity(0.0f);
    EXPECT_NEAR(layer->presentationOpacity(), 0.5f, 0.01f);
    advance(0.125);
    EXPECT_NEAR(layer->presentationOpacity(), 0.25f, 0.01f);
    advance(0.125);
    EXPECT_FLOAT_EQ(layer->presentationOpacity(), 0.0f);
}
