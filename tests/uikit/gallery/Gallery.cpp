// Renders every view the platform's UIKit offers into PNG files, one per look, so they can be
// checked by eye: `uikit-gallery OUTPUT_FOLDER`.

#include <foundation/Clock.h>
#include <foundation/RunLoop.h>
#include <graphics/Context.h>
#include <quartzcore/CABasicAnimation.h>
#include <quartzcore/CAGradientLayer.h>
#include <quartzcore/CATransaction.h>
#include <uikit/UIApplication.h>
#include <uikit/UIButton.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/UIStringDrawing.h>
#include <uikit/UISwitch.h>
#include <uikit/UIWindow.h>
#include <uikit/ViewRendering.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace uikit;

namespace {

std::filesystem::path outputFolder;
int failures = 0;

void save(const graphics::CGImage& image, const std::string& name)
{
    auto path = outputFolder / (name + ".png");
    if (graphics::CGImageWritePNGFile(image, path)) {
        std::printf("wrote %s\n", path.c_str());
    } else {
        std::fprintf(stderr, "uikit-gallery: could not write %s\n", path.c_str());
        ++failures;
    }
}

void save(UIView& view, const std::string& name)
{
    save(renderViewToImage(view, 2), name);
}

runtime::Ref<UIView> canvas(CGFloat width, CGFloat height)
{
    auto view = UIView::create({ { 0, 0 }, { width, height } });
    view->setBackgroundColor(UIColor::colorWithWhite(0.92f, 1));
    return view;
}

// A rounded, glossy square standing in for an application icon.
runtime::Ref<UIImage> iconImage(float hue)
{
    UIGraphicsBeginImageContextWithOptions({ 57, 57 }, false, 0);
    auto context = UIGraphicsGetCurrentContext();
    auto roundedSquare = [&] {
        graphics::CGContextBeginPath(context);
        graphics::CGContextMoveToPoint(context, 0, 28.5f);
        graphics::CGContextAddArcToPoint(context, 0, 0, 28.5f, 0, 10);
        graphics::CGContextAddArcToPoint(context, 57, 0, 57, 28.5f, 10);
        graphics::CGContextAddArcToPoint(context, 57, 57, 28.5f, 57, 10);
        graphics::CGContextAddArcToPoint(context, 0, 57, 0, 28.5f, 10);
        graphics::CGContextClosePath(context);
    };
    UIColor::colorWithHue(hue, 0.7f, 0.85f, 1)->setFill();
    roundedSquare();
    graphics::CGContextFillPath(context);
    // The gloss stays inside the icon's shape.
    roundedSquare();
    graphics::CGContextClip(context);
    UIColor::colorWithWhite(1, 0.3f)->setFill();
    graphics::CGContextFillEllipseInRect(context, { { -10, -30 }, { 77, 58 } });
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return *image;
}

void labels()
{
    auto view = canvas(300, 200);
    const char* texts[] = { "Left aligned", "Centred", "Right aligned" };
    for (int i = 0; i < 3; ++i) {
        auto label = UILabel::create({ { 10, 10 + 30.0f * i }, { 280, 24 } });
        label->setText(texts[i]);
        label->setTextAlignment(static_cast<UITextAlignment>(i));
        view->addSubview(label);
    }
    auto truncated = UILabel::create({ { 10, 100 }, { 150, 24 } });
    truncated->setText("A label far too long for its width");
    truncated->setFont(UIFont::boldSystemFontOfSize(14));
    truncated->setTextColor(UIColor::whiteColor());
    truncated->setShadowColor(UIColor::colorWithWhite(0, 0.5f));
    truncated->setBackgroundColor(UIColor::colorWithRed(0.22f, 0.357f, 0.608f, 1));
    view->addSubview(truncated);
    auto wrapped = UILabel::create({ { 170, 100 }, { 120, 90 } });
    wrapped->setNumberOfLines(0);
    wrapped->setLineBreakMode(UILineBreakModeWordWrap);
    wrapped->setFont(UIFont::systemFontOfSize(12));
    wrapped->setText("Several lines of text wrapped at word boundaries inside the label.");
    view->addSubview(wrapped);
    save(view, "labels");
}

void buttons()
{
    auto view = canvas(300, 160);
    auto rounded = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    rounded->setFrame({ { 10, 10 }, { 130, 37 } });
    rounded->setTitle("Rounded", UIControlStateNormal);
    view->addSubview(rounded);
    auto pressed = UIButton::buttonWithType(UIButtonTypeRoundedRect);
    pressed->setFrame({ { 160, 10 }, { 130, 37 } });
    pressed->setTitle("Pressed", UIControlStateNormal);
    pressed->setHighlighted(true);
    view->addSubview(pressed);
    auto custom = UIButton::buttonWithType(UIButtonTypeCustom);
    custom->setFrame({ { 10, 60 }, { 130, 37 } });
    custom->setBackgroundColor(UIColor::colorWithRed(0.694f, 0.184f, 0.196f, 1));
    custom->layer().setCornerRadius(4);
    custom->setTitle("Kill", UIControlStateNormal);
    custom->setTitleShadowColor(UIColor::colorWithWhite(0, 0.5f), UIControlStateNormal);
    custom->titleLabel().setShadowOffset({ 0, -1 });
    view->addSubview(custom);
    auto withImage = UIButton::buttonWithType(UIButtonTypeCustom);
    withImage->setFrame({ { 160, 60 }, { 130, 60 } });
    withImage->setImage(iconImage(0.55f), UIControlStateNormal);
    withImage->setTitleColor(UIColor::darkGrayColor(), UIControlStateNormal);
    withImage->setTitle("Icon", UIControlStateNormal);
    view->addSubview(withImage);
    auto off = UISwitch::create({ { 10, 120 }, {} });
    auto on = UISwitch::create({ { 100, 120 }, {} });
    on->setOn(true);
    view->addSubview(off);
    view->addSubview(on);
    save(view, "buttons_and_switches");
}

void images()
{
    auto view = canvas(200, 100);
    auto icon = iconImage(0.08f);
    auto natural = UIImageView::createWithImage(icon);
    natural->setFrame({ { 10, 20 }, icon->size() });
    view->addSubview(natural);
    auto stretched = UIImageView::create({ { 80, 10 }, { 110, 80 } });
    stretched->setImage(icon);
    stretched->setAlpha(0.6f);
    view->addSubview(stretched);
    save(view, "image_views");
}

void layers()
{
    auto view = canvas(240, 80);
    quartzcore::CATransaction::begin();
    quartzcore::CATransaction::setDisableActions(true);
    // The confirm button's three-layer face, in its blue first state.
    auto bevel = quartzcore::CAGradientLayer::create();
    bevel->setFrame({ { 20, 20 }, { 60, 26 } });
    bevel->setColors({ graphics::CGColorCreateGray(0, 0.5f), graphics::CGColorCreateGray(1, 1) });
    bevel->setCornerRadius(4);
    auto face = quartzcore::CALayer::create();
    face->setFrame({ { 20, 21 }, { 60, 24 } });
    face->setBackgroundColor(graphics::CGColorCreateRGB(0.22f, 0.357f, 0.608f, 1));
    face->setBorderColor(graphics::CGColorCreateGray(0, 0.1f));
    face->setBorderWidth(1);
    face->setCornerRadius(4);
    auto gloss = quartzcore::CAGradientLayer::create();
    gloss->setFrame({ { 20, 21 }, { 60, 24 } });
    gloss->setColors({ graphics::CGColorCreateGray(1, 0.1f), graphics::CGColorCreateGray(0.2f, 0.1f) });
    gloss->setLocations({ 0, 1 });
    gloss->setCornerRadius(4);
    view->layer().addSublayer(bevel);
    view->layer().addSublayer(face);
    view->layer().addSublayer(gloss);
    auto ring = quartzcore::CALayer::create();
    ring->setFrame({ { 120, 10 }, { 60, 60 } });
    ring->setCornerRadius(30);
    ring->setBorderWidth(6);
    ring->setBorderColor(graphics::CGColorCreateRGB(0.1f, 0.5f, 0.9f, 1));
    view->layer().addSublayer(ring);
    quartzcore::CATransaction::commit();
    save(view, "layers");
}

void animation()
{
    // Virtual time: the face turns from blue to red over 0.25 s; three moments are drawn.
    auto clock = foundation::VirtualClock::create();
    foundation::RunLoop::main().setClock(clock);
    auto view = canvas(100, 50);
    auto face = quartzcore::CALayer::create();
    quartzcore::CATransaction::begin();
    quartzcore::CATransaction::setDisableActions(true);
    face->setFrame({ { 10, 10 }, { 40, 30 } });
    face->setCornerRadius(4);
    face->setBackgroundColor(graphics::CGColorCreateRGB(0.22f, 0.357f, 0.608f, 1));
    quartzcore::CATransaction::commit();
    view->layer().addSublayer(face);

    quartzcore::CATransaction::begin();
    quartzcore::CATransaction::setAnimationDuration(0.25);
    auto colour = quartzcore::CABasicAnimation::animationWithKeyPath("backgroundColor");
    colour->setFromValue(graphics::CGColorCreateRGB(0.22f, 0.357f, 0.608f, 1));
    colour->setToValue(graphics::CGColorCreateRGB(0.694f, 0.184f, 0.196f, 1));
    colour->setRemovedOnCompletion(false);
    colour->setFillMode(quartzcore::CAFillMode::Forwards);
    face->addAnimation(colour, "colorAnimation");
    CGRect frame = face->frame();
    frame.size.width += 40;
    face->setFrame(frame);
    quartzcore::CATransaction::commit();

    for (int step = 0; step <= 2; ++step) {
        save(*view, "animation_" + std::to_string(step * 125) + "ms");
        foundation::RunLoop::main().advanceBy(foundation::Seconds(0.125));
    }
    foundation::RunLoop::main().setClock(foundation::RealClock::create());
}

void screen()
{
    // A home screen: twenty icons with labels on a dark window, rendered as the host renders it.
    auto window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
    window->setBackgroundColor(UIColor::colorWithRed(0.10f, 0.12f, 0.18f, 1));
    window->makeKeyAndVisible();
    for (int i = 0; i < 20; ++i) {
        CGFloat x = 16 + 76.0f * static_cast<CGFloat>(i % 4);
        CGFloat y = 30 + 88.0f * static_cast<CGFloat>(i / 4);
        auto iconView = UIView::create({ { x, y }, { 59, 74 } });
        auto glow = UIImageView::create({ { -7.75f, -8.75f }, { 74.5f, 76 } });
        glow->setTag(567);
        glow->setBackgroundColor(UIColor::colorWithRed(1, 0.85f, 0.2f, 0.5f));
        glow->layer().setCornerRadius(16);
        glow->setAlpha(i % 3 == 0 ? 0.8f : 0);
        iconView->addSubview(glow);
        auto image = UIImageView::createWithImage(iconImage(static_cast<float>(i) / 20));
        image->setFrame({ { 1, 0 }, { 57, 57 } });
        iconView->addSubview(image);
        auto label = UILabel::create({ { -8, 60 }, { 75, 14 } });
        label->setText(i == 7 ? "Photos" : "Application " + std::to_string(i + 1));
        label->setFont(UIFont::boldSystemFontOfSize(11));
        label->setTextColor(UIColor::whiteColor());
        label->setTextAlignment(UITextAlignmentCenter);
        label->setBackgroundColor(UIColor::clearColor());
        iconView->addSubview(label);
        window->addSubview(iconView);
    }
    save(UIApplication::sharedApplication().renderScreen(2), "home_screen");
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: uikit-gallery OUTPUT_FOLDER\n");
        return 2;
    }
    outputFolder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outputFolder, error);
    if (error) {
        std::fprintf(stderr, "uikit-gallery: cannot create %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    labels();
    buttons();
    images();
    layers();
    animation();
    screen();
    return failures == 0 ? 0 : 1;
}
