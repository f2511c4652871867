#include "VirtualTime.h"

#include <quartzcore/CAGradientLayer.h>
#include <quartzcore/CALayer.h>
#include <quartzcore/CATransaction.h>

#include <graphics/Context.h>

#include <cstdlib>

using namespace quartzcore;
using graphics::CGRect;
using graphics::PixelRGBA;

namespace {

class LayerRendering : public quartzcore::testing::VirtualTimeTest {
protected:
    void SetUp() override
    {
        VirtualTimeTest::SetUp();
        // Set-up changes should not animate.
        CATransaction::begin();
        CATransaction::setDisableActions(true);
    }
    void TearDown() override
    {
        CATransaction::commit();
        VirtualTimeTest::TearDown();
    }

    static graphics::CGImage render(CALayer& layer, int size)
    {
        auto context = graphics::CGBitmapContextCreate(size, size, 1);
        layer.renderInContext(context);
        return graphics::CGBitmapContextCreateImage(context);
    }
};

graphics::CGColor rgb(float r, float g, float b, float a = 1) { return graphics::CGColorCreateRGB(r, g, b, a); }

::testing::AssertionResult near(PixelRGBA actual, PixelRGBA expected, int tolerance = 2)
{
    auto close = [&](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (close(actual.red, expected.red) && close(actual.green, expected.green) && close(actual.blue, expected.blue) && close(actual.alpha, expected.alpha))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rgba(" << int(actual.red) << ", " << int(actual.green) << ", " << int(actual.blue) << ", "
                                         << int(actual.alpha) << ")";
}

}

TEST_F(LayerRendering, OpacityAppliesToTheLayerAndItsSublayersAsOneGroup)
{
    auto group = CALayer::create();
    group->setFrame({ { 0, 0 }, { 40, 20 } });
    group->setOpacity(0.5f);
    auto left = CALayer::create();
    left->setFrame({ { 0, 0 }, { 30, 20 } });
    left->setBackgroundColor(rgb(1, 0, 0));
    auto right = CALayer::create();
    right->setFrame({ { 10, 0 }, { 30, 20 } });
    right->setBackgroundColor(rgb(1, 0, 0));
    group->addSublayer(left);
    group->addSublayer(right);

    auto image = render(group, 40);
    // Where the two overlap the result is no more opaque than where only one is: one group.
    EXPECT_TRUE(near(image.pixelAt(20, 10), { 255, 0, 0, 128 }));
    EXPECT_TRUE(near(image.pixelAt(5, 10), { 255, 0, 0, 128 }));
}

TEST_F(LayerRendering, HiddenAndTransparentLayersDrawNothing)
{
    auto layer = CALayer::create();
    layer->setFrame({ { 0, 0 }, { 10, 10 } });
    layer->setBackgroundColor(rgb(0, 0, 1));
    layer->setHidden(true);
    EXPECT_EQ(render(layer, 10).pixelAt(5, 5).alpha, 0);
    layer->setHidden(false);
    layer->setOpacity(0);
    EXPECT_EQ(render(layer, 10).pixelAt(5, 5).alpha, 0);
}

TEST_F(LayerRendering, MasksToBoundsClipsSublayersToTheRoundedShape)
{
    auto outer = CALayer::create();
    outer->setFrame({ { 0, 0 }, { 20, 20 } });
    outer->setCornerRadius(10);
    auto inner = CALayer::create();
    inner->setFrame({ { 0, 0 }, { 30, 30 } });
    inner->setBackgroundColor(rgb(0, 1, 0));
    outer->addSublayer(inner);

    auto unclipped = render(outer, 30);
    EXPECT_TRUE(near(unclipped.pixelAt(25, 25), { 0, 255, 0, 255 }));
    EXPECT_TRUE(near(unclipped.pixelAt(1, 1), { 0, 255, 0, 255 }));

    outer->setMasksToBounds(true);
    auto clipped = render(outer, 30);
    EXPECT_EQ(clipped.pixelAt(25, 25).alpha, 0);
    EXPECT_EQ(clipped.pixelAt(1, 1).alpha, 0) << "the corner is cut by the radius";
    EXPECT_TRUE(near(clipped.pixelAt(10, 10), { 0, 255, 0, 255 }));
}

TEST_F(LayerRendering, BorderIsDrawnAboveSublayersInsideTheBounds)
{
    auto layer = CALayer::create();
    layer->setFrame({ { 2, 2 }, { 20, 20 } });
    layer->setBorderWidth(2);
    layer->setBorderColor(rgb(0, 0, 0));
    auto fill = CALayer::create();
    fill->setFrame({ { 0, 0 }, { 20, 20 } });
    fill->setBackgroundColor(rgb(1, 1, 1));
    layer->addSublayer(fill);

    auto image = render(layer, 24);
    EXPECT_TRUE(near(image.pixelAt(3, 12), { 0, 0, 0, 255 }));
    EXPECT_TRUE(near(image.pixelAt(12, 12), { 255, 255, 255, 255 }));
    EXPECT_EQ(image.pixelAt(1, 12).alpha, 0) << "nothing outside the frame";
}

TEST_F(LayerRendering, BoundsOriginShiftsTheSublayers)
{
    auto layer = CALayer::create();
    layer->setFrame({ { 0, 0 }, { 20, 20 } });
    auto child = CALayer::create();
    child->setFrame({ { 10, 10 }, { 5, 5 } });
    child->setBackgroundColor(rgb(1, 0, 0));
    layer->addSublayer(child);
    layer->setBounds({ { 10, 10 }, { 20, 20 } });
    auto image = render(layer, 20);
    EXPECT_TRUE(near(image.pixelAt(2, 2), { 255, 0, 0, 255 }));
    EXPECT_EQ(image.pixelAt(12, 12).alpha, 0);
}

TEST_F(LayerRendering, GradientLayerRunsFromTopColourToBottomColour)
{
    auto gradient = CAGradientLayer::create();
    gradient->setFrame({ { 0, 0 }, { 10, 100 } });
    gradient->setColors({ rgb(0, 0, 0), rgb(1, 1, 1) });
    auto image = render(gradient, 100);
    EXPECT_LT(image.pixelAt(5, 1).red, 10);
    EXPECT_GT(image.pixelAt(5, 98).red, 245);
    EXPECT_NEAR(image.pixelAt(5, 50).red, 128, 6);
    EXPECT_EQ(image.pixelAt(50, 50).alpha, 0);
}

TEST_F(LayerRendering, DrawsWhatAnAnimationShowsNow)
{
    CATransaction::commit();
    auto layer = CALayer::create();
    CATransaction::begin();
    CATransaction::setDisableActions(true);
    layer->setFrame({ { 0, 0 }, { 10, 10 } });
    layer->setBackgroundColor(rgb(0, 0, 0));
    CATransaction::commit();
    layer->setBackgroundColor(rgb(1, 1, 1));
    advance(0.125);
    EXPECT_NEAR(render(layer, 10).pixelAt(5, 5).red, 128, 3);
    advance(0.125);
    EXPECT_EQ(render(layer, 10).pixelAt(5, 5).red, 255);
    CATransaction::begin();
}

namespace {

// Fills its layer with one colour and counts how often it was asked to.
class CountingPainter final : public CALayerDelegate {
public:
    void drawLayerInContext(CALayer& layer, const graphics::CGContext& context) override
    {
        ++draws;
        if (colour) {
            graphics::CGContextSetFillColorWithColor(context, colour);
            auto area = layer.bounds();
            graphics::CGContextFillRect(context, { { area.origin.x - overdraw, area.origin.y - overdraw },
                                                     { area.size.width + 2 * overdraw, area.size.height + 2 * overdraw } });
        }
    }
    ContentDrawing layerContentDrawing(const CALayer&, graphics::CGFloat) const override { return drawing; }

    int draws { 0 };
    graphics::CGColor colour;
    // How far past the bounds the fill reaches.
    graphics::CGFloat overdraw { 0 };
    ContentDrawing drawing { ContentDrawing::Kept };
};

}

TEST_F(LayerRendering, ContentIsKeptUntilStaleAndDrawnAfreshWhenItCannotBeReused)
{
    CountingPainter painter;
    painter.colour = rgb(0, 0, 1);
    auto layer = CALayer::create();
    layer->setDelegate(&painter);
    layer->setFrame({ { 2, 2 }, { 10, 10 } });

    render(*layer, 16);
    render(*layer, 16);
    EXPECT_EQ(painter.draws, 1) << "an unchanged layer draws once";

    // What the drawing depends on changes only through setNeedsDisplay; until then the kept
    // picture shows.
    painter.colour = rgb(1, 0, 0);
    EXPECT_TRUE(near(render(*layer, 16).pixelAt(5, 5), { 0, 0, 255, 255 }));
    layer->setNeedsDisplay();
    EXPECT_TRUE(near(render(*layer, 16).pixelAt(5, 5), { 255, 0, 0, 255 }));
    EXPECT_EQ(painter.draws, 2);

    // A move reuses the picture; a new size or scale draws again.
    layer->setFrame({ { 4, 4 }, { 10, 10 } });
    EXPECT_TRUE(near(render(*layer, 16).pixelAt(13, 13), { 255, 0, 0, 255 }));
    EXPECT_EQ(painter.draws, 2);
    layer->setFrame({ { 4, 4 }, { 8, 8 } });
    render(*layer, 16);
    EXPECT_EQ(painter.draws, 3);
    auto doubled = graphics::CGBitmapContextCreate(32, 32, 2);
    layer->renderInContext(doubled);
    EXPECT_EQ(painter.draws, 4);

    // Half a pixel off the grid, the picture is drawn at that offset and kept: laid pixel for
    // pixel, it is what drawing the layer there gives, half-covered edge columns included.
    layer->setFrame({ { 4.5f, 4 }, { 8, 8 } });
    auto kept = render(*layer, 16);
    render(*layer, 16);
    EXPECT_EQ(painter.draws, 5);
    painter.drawing = CALayerDelegate::ContentDrawing::PaintedOverEachRender;
    auto direct = render(*layer, 16);
    EXPECT_NEAR(kept.pixelAt(4, 6).alpha, 128, 2);
    for (int x = 3; x <= 13; ++x)
        EXPECT_TRUE(near(kept.pixelAt(x, 6), direct.pixelAt(x, 6), 1)) << "x = " << x;

    // A delegate that paints straight on the target is asked at every render.
    layer->setFrame({ { 0, 0 }, { 8, 8 } });
    render(*layer, 16);
    render(*layer, 16);
    EXPECT_EQ(painter.draws, 8);
    layer->setDelegate(nullptr);
}

// Content is a picture of the bounds: what a delegate draws past them never shows, whether the
// picture is kept, drawn straight on the screen, or kept between pixels.
TEST_F(LayerRendering, ContentDrawnPastTheBoundsIsCutOffThere)
{
    CountingPainter painter;
    painter.colour = rgb(0, 1, 0);
    painter.overdraw = 3;
    auto layer = CALayer::create();
    layer->setDelegate(&painter);
    for (auto drawing : { CALayerDelegate::ContentDrawing::Kept, CALayerDelegate::ContentDrawing::PaintedOverEachRender }) {
        painter.drawing = drawing;
        for (graphics::CGFloat x : { 4.0f, 4.5f }) {
            layer->setFrame({ { x, 4 }, { 8, 8 } });
            auto picture = render(*layer, 20);
            EXPECT_EQ(picture.pixelAt(8, 2).alpha, 0) << "x = " << x;
            EXPECT_EQ(picture.pixelAt(2, 8).alpha, 0) << "x = " << x;
            EXPECT_EQ(picture.pixelAt(14, 8).alpha, 0) << "x = " << x;
            EXPECT_EQ(picture.pixelAt(8, 8).alpha, 255) << "x = " << x;
            // The pixel the bounds end in: empty on the grid, half covered between pixels.
            EXPECT_NEAR(picture.pixelAt(12, 8).alpha, x == 4 ? 0 : 128, 2) << "x = " << x;
        }
    }
    layer->setDelegate(nullptr);
}

TEST_F(LayerRendering, ContentOutsideTheClipIsNotDrawnAndStaysStaleUntilItShows)
{
    CountingPainter painter;
    painter.colour = rgb(0, 1, 0);
    auto page = CALayer::create();
    page->setFrame({ { 0, 0 }, { 16, 16 } });
    auto offScreen = CALayer::create();
    offScreen->setDelegate(&painter);
    offScreen->setFrame({ { 20, 0 }, { 10, 10 } });
    page->addSublayer(offScreen);

    render(*page, 16);
    EXPECT_EQ(painter.draws, 0);
    EXPECT_TRUE(offScreen->needsDisplay()) << "nothing was drawn, so the content is still to draw";

    // Scrolled into view, it draws then.
    offScreen->setFrame({ { 2, 2 }, { 10, 10 } });
    EXPECT_TRUE(near(render(*page, 16).pixelAt(6, 6), { 0, 255, 0, 255 }));
    EXPECT_EQ(painter.draws, 1);
    offScreen->setDelegate(nullptr);
}
