// How long a host takes to render its screen: a 320 x 480 window of twenty icon views (indicator,
// icon image, label) at scale 2, as SpringBoard renders a home-screen page.

#include <graphics/Context.h>
#include <uikit/UIApplication.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/UIWindow.h>
#include <uikit/ViewRendering.h>

#include <benchmark/benchmark.h>

#include <string>

using namespace uikit;

namespace {

runtime::Ref<UIImage> iconImage(float hue)
{
    UIGraphicsBeginImageContextWithOptions({ 57, 57 }, false, 2);
    UIColor::colorWithHue(hue, 0.7f, 0.85f, 1)->setFill();
    graphics::CGContextFillRect(UIGraphicsGetCurrentContext(), { { 0, 0 }, { 57, 57 } });
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return *image;
}

runtime::Ref<UIWindow> homeScreen()
{
    auto window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
    window->setBackgroundColor(UIColor::blackColor());
    window->makeKeyAndVisible();
    for (int i = 0; i < 20; ++i) {
        CGFloat x = 16 + 76.0f * static_cast<CGFloat>(i % 4);
        CGFloat y = 30 + 88.0f * static_cast<CGFloat>(i / 4);
        auto iconView = UIView::create({ { x, y }, { 59, 74 } });
        auto glow = UIImageView::create({ { -7.75f, -8.75f }, { 74.5f, 76 } });
        glow->setImage(iconImage(0.15f));
        glow->setAlpha(0.4f);
        glow->setTag(567);
        iconView->addSubview(glow);
        auto image = UIImageView::createWithImage(iconImage(static_cast<float>(i) / 20));
        iconView->addSubview(image);
        auto label = UILabel::create({ { -8, 60 }, { 75, 14 } });
        label->setText("Application " + std::to_string(i + 1));
        label->setFont(UIFont::boldSystemFontOfSize(11));
        label->setTextColor(UIColor::whiteColor());
        label->setBackgroundColor(UIColor::clearColor());
        label->setTextAlignment(UITextAlignmentCenter);
        iconView->addSubview(label);
        window->addSubview(iconView);
    }
    return window;
}

void RenderHomeScreen(benchmark::State& state)
{
    auto window = homeScreen();
    for (auto _ : state) {
        auto image = renderViewToImage(window, 2);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(RenderHomeScreen)->Unit(benchmark::kMillisecond);

void RenderScreenThroughApplication(benchmark::State& state)
{
    auto window = homeScreen();
    for (auto _ : state) {
        auto image = UIApplication::sharedApplication().renderScreen(2);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(RenderScreenThroughApplication)->Unit(benchmark::kMillisecond);

}
