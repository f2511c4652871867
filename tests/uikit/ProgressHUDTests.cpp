#include "AlertTestSupport.h"

#include <uikit/UILabel.h>
#include <uikit/UIProgressHUD.h>
#include <uikit/UIProgressView.h>
#include <uikit/ViewRendering.h>

#include <cmath>
#include <limits>

using namespace uikit;

namespace {

using ProgressHUD = uikit::testing::WidgetTest;
using ProgressHUDBar = uikit::testing::WidgetTest;

TEST_F(ProgressHUD, ShowsInAViewAndGoesWhenHidden)
{
    auto list = UIView::create({ { 0, 0 }, { 320, 416 } });
    window().addSubview(list);
    runtime::WeakPtr<UIProgressHUD> weak;
    {
        auto hud = UIProgressHUD::create({ { 60, 100 }, { 200, 205 } });
        weak = hud;
        hud->setText("Please Wait... Loading Applications");
        hud->showInView(*list);
        EXPECT_TRUE(hud->isShowing());
        EXPECT_FALSE(hud->isDone());
    }
    ASSERT_TRUE(weak.get());
    UIProgressHUD& hud = *weak.get();
    EXPECT_EQ(hud.superview(), list.ptr());
    EXPECT_EQ(hud.text(), "Please Wait... Loading Applications");

    // Subviews the owner adds (a stage label) show on top of the panel.
    auto stage = UILabel::create({ { 5, 164 }, { 190, 20 } });
    hud.addSubview(stage);
    hud.done();
    EXPECT_TRUE(hud.isDone());
    hud.hide();
    EXPECT_FALSE(weak.get());
}

TEST_F(ProgressHUD, DrawsADarkPanelWithWhiteMarks)
{
    auto hud = UIProgressHUD::create({ { 0, 0 }, { 200, 205 } });
    hud->setText("Loading");
    auto image = renderViewToImage(*hud, 1);
    auto corner = image.pixelAt(1, 1);
    EXPECT_LT(corner.alpha, 100); // rounded corner
    auto body = image.pixelAt(10, 190);
    EXPECT_GT(body.alpha, 180);
    EXPECT_LT(body.red, 20);
    // The spinner sits in the upper part of the panel: some white ink there.
    int white = 0;
    for (int y = 30; y < 80; ++y) {
        for (int x = 80; x < 120; ++x)
            white += image.pixelAt(x, y).red > 200;
    }
    EXPECT_GT(white, 20);
}

TEST_F(ProgressHUDBar, ProgressIsClampedAndTheBarKeepsItsHeight)
{
    auto bar = UIProgressView::create(UIProgressViewStyleDefault);
    bar->setFrame({ { 5, 185 }, { 190, 25 } });
    EXPECT_EQ(bar->frame(), CGRectMake(5, 185, 190, UIProgressView::barHeight));
    bar->setProgress(0.4f);
    EXPECT_FLOAT_EQ(bar->progress(), 0.4f);
    bar->setProgress(1.7f);
    EXPECT_FLOAT_EQ(bar->progress(), 1.0f);
    bar->setProgress(-3);
    EXPECT_FLOAT_EQ(bar->progress(), 0.0f);
    bar->setProgress(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(bar->progress(), 0.0f);
}

TEST_F(ProgressHUDBar, TheFillCoversTheProgressShareOfTheTrack)
{
    auto bar = UIProgressView::create(UIProgressViewStyleDefault);
    bar->setFrame({ { 0, 0 }, { 200, 9 } });
    bar->setProgress(0.5f);
    auto image = renderViewToImage(*bar, 1);
    auto filled = image.pixelAt(50, 4);
    auto empty = image.pixelAt(150, 4);
    EXPECT_GT(filled.blue, filled.red + 60); // blue fill
    EXPECT_LT(std::abs(int(empty.blue) - int(empty.red)), 30); // grey track
}

}
