#include "UIKitTestSupport.h"

#include <graphics/Context.h>
#include <graphics/ImageCompare.h>
#include <quartzcore/CATransaction.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UILabel.h>
#include <uikit/UIView.h>
#include <uikit/ViewRendering.h>

using namespace uikit;

namespace {

using ViewPictures = uikit::testing::VirtualTimeTest;

// A view that draws a filled circle in drawRect, so the picture shows custom drawing.
class DotView : public UIView {
public:
    static runtime::Ref<DotView> create(CGRect frame) { return runtime::adoptRef(*new DotView(frame)); }
    void drawRect(CGRect rect) override
    {
        UIColor::colorWithRed(0.1f, 0.6f, 0.2f, 1)->setFill();
        graphics::CGContextFillEllipseInRect(UIGraphicsGetCurrentContext(), graphics::CGRectInset(rect, 4, 4));
    }

private:
    explicit DotView(CGRect frame)
        : UIView(frame)
    {
    }
};

// A 160 x 120 point tree with every look the renderer must honour.
runtime::Ref<UIView> makeSampleTree()
{
    auto root = UIView::create({ { 0, 0 }, { 160, 120 } });
    root->setBackgroundColor(UIColor::colorWithWhite(0.92f, 1));

    // Group opacity: a half-transparent panel whose two overlapping children blend as one.
    auto panel = UIView::create({ { 8, 8 }, { 70, 40 } });
    panel->setAlpha(0.5f);
    auto red = UIView::create({ { 0, 0 }, { 45, 40 } });
    red->setBackgroundColor(UIColor::redColor());
    auto blue = UIView::create({ { 25, 0 }, { 45, 40 } });
    blue->setBackgroundColor(UIColor::blueColor());
    panel->addSubview(red);
    panel->addSubview(blue);
    root->addSubview(panel);

    // Hidden: must not show at all.
    auto hidden = UIView::create({ { 90, 8 }, { 60, 40 } });
    hidden->setBackgroundColor(UIColor::greenColor());
    hidden->setHidden(true);
    root->addSubview(hidden);

    // Rounded, bordered, clipping container with an oversized child and custom drawing.
    auto card = UIView::create({ { 90, 8 }, { 60, 50 } });
    card->setBackgroundColor(UIColor::whiteColor());
    card->setClipsToBounds(true);
    card->layer().setCornerRadius(12);
    card->layer().setBorderWidth(2);
    card->layer().setBorderColor(UIColor::blackColor()->CGColor());
    auto spill = UIView::create({ { 30, 25 }, { 80, 80 } });
    spill->setBackgroundColor(UIColor::orangeColor());
    card->addSubview(spill);
    card->addSubview(DotView::create({ { 2, 2 }, { 30, 30 } }));
    root->addSubview(card);

    // A label too long for its width, cut with an ellipsis, with a shadow.
    auto label = UILabel::create({ { 8, 70 }, { 100, 20 } });
    label->setText("Torvane kills running applications");
    label->setFont(UIFont::boldSystemFontOfSize(12));
    label->setTextColor(UIColor::whiteColor());
    label->setShadowColor(UIColor::colorWithWhite(0, 0.5f));
    label->setShadowOffset({ 0, -1 });
    label->setBackgroundColor(UIColor::colorWithRed(0.22f, 0.357f, 0.608f, 1));
    root->addSubview(label);

    // Centred short label on a clear background.
    auto caption = UILabel::create({ { 8, 94 }, { 144, 20 } });
    caption->setText("Kill");
    caption->setTextAlignment(UITextAlignmentCenter);
    caption->setFont(UIFont::systemFontOfSize(14));
    caption->setBackgroundColor(UIColor::clearColor());
    root->addSubview(caption);
    return root;
}

std::filesystem::path reference(const char* name)
{
    return std::filesystem::path(TORVANE_UIKIT_REFERENCES) / name;
}

}

TEST_F(ViewPictures, SampleTreeMatchesItsReference)
{
    auto tree = makeSampleTree();
    auto image = renderViewToImage(tree, 2);
    ASSERT_EQ(image.width(), 320);
    ASSERT_EQ(image.height(), 240);
    auto check = graphics::checkAgainstReference(image, reference("view_tree.png"));
    EXPECT_TRUE(check.passed) << check.message;
}

TEST_F(ViewPictures, LooksThatDoNotDependOnTheReference)
{
    auto tree = makeSampleTree();
    auto image = renderViewToImage(tree, 2);
    // Group opacity: where red and blue overlap only blue shows (half strength over the grey).
    auto overlap = image.pixelAt(2 * 40, 2 * 20);
    EXPECT_GT(overlap.blue, 150);
    EXPECT_LT(overlap.red, 130);
    // The hidden green view shows nowhere.
    bool greenFound = false;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            auto p = image.pixelAt(x, y);
            if (p.green > 200 && p.red < 50 && p.blue < 50)
                greenFound = true;
        }
    }
    EXPECT_FALSE(greenFound);
    // Clipping: the orange child stops at the card's edge (card ends at x = 150 points).
    EXPECT_TRUE(uikit::testing::pixelNear(image.pixelAt(2 * 155, 2 * 55), { 235, 235, 235, 255 }));
    EXPECT_GT(image.pixelAt(2 * 140, 2 * 45).red, 240);
    // Border: black at the card's left edge, half-way down.
    auto border = image.pixelAt(2 * 90 + 1, 2 * 33);
    EXPECT_LT(border.red + border.green + border.blue, 60);
    // Rounded corner: the very corner shows the root's grey, not the card's white.
    EXPECT_TRUE(uikit::testing::pixelNear(image.pixelAt(2 * 90 + 1, 2 * 8 + 1), { 235, 235, 235, 255 }));
}

TEST_F(ViewPictures, AnimatedLayerRendersItsCurrentState)
{
    auto view = UIView::create({ { 0, 0 }, { 10, 10 } });
    auto face = quartzcore::CALayer::create();
    quartzcore::CATransaction::begin();
    quartzcore::CATransaction::setDisableActions(true);
    face->setFrame({ { 0, 0 }, { 10, 10 } });
    face->setBackgroundColor(UIColor::blackColor()->CGColor());
    quartzcore::CATransaction::commit();
    view->layer().addSublayer(face);
    face->setBackgroundColor(UIColor::whiteColor()->CGColor());
    EXPECT_LT(renderViewToImage(view, 1).pixelAt(5, 5).red, 5);
    advance(0.25);
    EXPECT_EQ(renderViewToImage(view, 1).pixelAt(5, 5).red, 255);
}

namespace {

// Clears its whole rectangle, then paints a dot: what lies below must still show around the dot.
class ClearingView final : public UIView {
public:
    static runtime::Ref<ClearingView> create(CGRect frame) { return runtime::adoptRef(*new ClearingView(frame)); }
    void drawRect(CGRect rect) override
    {
        graphics::CGContextClearRect(UIGraphicsGetCurrentContext(), rect);
        UIColor::blueColor()->setFill();
        graphics::CGContextFillRect(UIGraphicsGetCurrentContext(), { { 8, 8 }, { 4, 4 } });
    }

private:
    explicit ClearingView(CGRect frame)
        : UIView(frame)
    {
        setOpaque(false);
    }
};

}

TEST_F(ViewPictures, ClearingInDrawRectClearsOnlyTheViewsOwnPicture)
{
    auto root = UIView::create({ { 0, 0 }, { 20, 20 } });
    root->setBackgroundColor(UIColor::redColor());
    root->addSubview(ClearingView::create(root->bounds()));
    auto image = renderViewToImage(*root, 1);
    EXPECT_TRUE(uikit::testing::pixelNear(image.pixelAt(2, 2), { 255, 0, 0, 255 }));
    EXPECT_TRUE(uikit::testing::pixelNear(image.pixelAt(9, 9), { 0, 0, 255, 255 }));
}
