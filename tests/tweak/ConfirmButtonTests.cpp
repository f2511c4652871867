#include <ConfirmButton/TQConfirmButton.h>
#include <ConfirmButton/UIColor-Toolkit.h>

#include <foundation/Clock.h>
#include <foundation/RunLoop.h>
#include <graphics/ImageCompare.h>
#include <quartzcore/CATransaction.h>
#include <uikit/UIFont.h>
#include <uikit/UIStringDrawing.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>
#include <uikit/ViewRendering.h>

#include <gtest/gtest.h>

#include <filesystem>

using tweak::TQConfirmButton;
using namespace uikit;

namespace {

// A "Kill" button anchored at (255, 7) in a row-sized view, as the popup places it, on the run
// loop's virtual clock.
class ConfirmButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        window = UIWindow::create({ { 0, 0 }, { 320, 480 } });
        window->makeKeyAndVisible();
        row = UIView::create({ { 0, 100 }, { 280, 40 } });
        window->addSubview(*row);
    }
    void TearDown() override { foundation::RunLoop::main().discardPendingWork(); }

    runtime::Ref<TQConfirmButton> addButton(runtime::Ref<TQConfirmButton> made)
    {
        made->setAnchor({ 255, 7 });
        made->addTarget(nullptr, [this](UIControl&, UIEvent*) { ++fired; }, UIControlEventTouchUpInside);
        row->addSubview(made);
        return made;
    }

    void advance(double seconds) { foundation::RunLoop::main().advanceBy(foundation::Seconds(seconds)); }

    // A tap in the row's coordinates.
    void tap(CGPoint down, std::optional<CGPoint> up = std::nullopt)
    {
        CGPoint lift = up.value_or(down);
        window->injectTouch(UITouchPhaseBegan, { down.x, down.y + 100 });
        window->injectTouch(UITouchPhaseMoved, { lift.x, lift.y + 100 });
        window->injectTouch(UITouchPhaseEnded, { lift.x, lift.y + 100 });
    }

    static uint32_t faceHex(const TQConfirmButton& button)
    {
        return tweak::toolkit::rgbHex(UIColor::colorWithCGColor(button.colorLayer().presentationBackgroundColor()));
    }

    static CGFloat textWidth(const char* text) { return sizeWithFont(text, UIFont::boldSystemFontOfSize(14)).width + 20; }

    runtime::RefPtr<UIWindow> window;
    runtime::RefPtr<UIView> row;
    int fired = 0;
};

constexpr uint32_t confirmRedHex = 0xB12F32;
constexpr uint32_t defaultTintHex = 0x385B9B;

}

TEST_F(ConfirmButton, AnchorPutsTheTopRightCornerAtThePoint)
{
    auto button = addButton(TQConfirmButton::buttonWithTitle("Kill", "Kill"));
    EXPECT_EQ(CGRectGetMaxX(button->frame()), 255);
    EXPECT_EQ(button->frame().origin.y, 7);
    EXPECT_EQ(button->frame().size.height, 26);
    EXPECT_FLOAT_EQ(button->frame().size.width, textWidth("Kill"));
    EXPECT_EQ(faceHex(button), defaultTintHex);
}

TEST_F(ConfirmButton, SelectedRightAfterMakingTurnsRedAndTheFirstTapFiresOnce)
{
    auto button = addButton(TQConfirmButton::buttonWithTitle("Kill", "Kill"));
    button->setSelected(true);
    EXPECT_FALSE(button->isUserInteractionEnabled()) << "no touches while it changes";
    EXPECT_FALSE(button->isSelected()) << "the control's own selected state is left alone";
    advance(0.1);
    EXPECT_NE(faceHex(button), confirmRedHex);
    EXPECT_NE(faceHex(button), defaultTintHex);
    advance(0.2);
    EXPECT_EQ(faceHex(button), confirmRedHex);
    ASSERT_TRUE(button->isUserInteractionEnabled());

    tap({ 240, 20 });
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(button->isConfirmed());
    tap({ 240, 20 });
    advance(1);
    tap({ 240, 20 });
    EXPECT_EQ(fired, 1) << "a confirmed button ignores further taps";
}

TEST_F(ConfirmButton, FirstTapAsksAndATapElsewhereTakesTheQuestionBack)
{
    auto button = addButton(TQConfirmButton::buttonWithTitle("Kill", "Really?"));
    tap({ 240, 20 });
    EXPECT_EQ(fired, 0);
    ASSERT_TRUE(button->cancelOverlay());
    EXPECT_EQ(button->cancelOverlay()->superview(), row.get());
    EXPECT_EQ(row->subviews().back().ptr(), button.ptr()) << "the button stays above its catcher";
    advance(0.3);
    EXPECT_EQ(faceHex(button), confirmRedHex);
    EXPECT_EQ(button->currentTitle(), "Really?");

    tap({ 20, 20 });
    EXPECT_FALSE(button->cancelOverlay());
    EXPECT_EQ(row->subviews().size(), 1u);
    advance(0.3);
    EXPECT_EQ(faceHex(button), defaultTintHex);
    EXPECT_EQ(button->currentTitle(), "Kill");
    EXPECT_FALSE(button->getIfBeenSelected());
    EXPECT_EQ(fired, 0);
}

TEST_F(ConfirmButton, FingerLiftedOutsideTakesTheShadeAwayAndFiresNothing)
{
    auto button = addButton(TQConfirmButton::buttonWithTitle("Kill", "Kill"));
    window->injectTouch(UITouchPhaseBegan, { 240, 120 });
    ASSERT_TRUE(button->darkenLayer());
    EXPECT_EQ(button->layer().sublayers().back().ptr(), button->darkenLayer());
    window->injectTouch(UITouchPhaseMoved, { 100, 300 });
    window->injectTouch(UITouchPhaseEnded, { 100, 300 });
    EXPECT_FALSE(button->darkenLayer());
    EXPECT_FALSE(button->getIfBeenSelected());
    EXPECT_EQ(fired, 0);
}

TEST_F(ConfirmButton, WidthChangesKeepTheAnchoredEdge)
{
    for (auto [anchor, kept] : { std::pair { tweak::TQConfirmButtonAnchorRight, 1.0f }, { tweak::TQConfirmButtonAnchorCenter, 0.5f },
             { tweak::TQConfirmButtonAnchorLeft, 0.0f } }) {
        SCOPED_TRACE(anchor);
        auto button = addButton(TQConfirmButton::buttonWithTitle("Kill", "Kill this application"));
        button->setToggleAnimation(anchor);
        CGRect before = button->frame();
        CGFloat keptX = before.origin.x + before.size.width * kept;
        button->setSelected(true);
        advance(0.3);
        CGRect after = button->frame();
        EXPECT_FLOAT_EQ(after.size.width, textWidth("Kill this application"));
        EXPECT_FLOAT_EQ(after.origin.x + after.size.width * kept, keptX);
        // The face fills the button again once the change is over.
        EXPECT_FLOAT_EQ(button->colorLayer().frame().origin.x, 0);
        EXPECT_FLOAT_EQ(button->colorLayer().frame().size.width, after.size.width);
        button->removeFromSuperview();
    }
}

TEST_F(ConfirmButton, DisabledButtonNeverShadesOrFires)
{
    auto button = addButton(TQConfirmButton::buttonWithDisabledTitle("Off"));
    EXPECT_TRUE(button->getIfIsDisabled());
    EXPECT_EQ(button->currentTitle(), "Off");
    window->injectTouch(UITouchPhaseBegan, { 240, 120 });
    EXPECT_FALSE(button->darkenLayer());
    window->injectTouch(UITouchPhaseEnded, { 240, 120 });
    advance(1);
    EXPECT_FALSE(button->getIfBeenSelected());
    EXPECT_FALSE(button->cancelOverlay());
    EXPECT_EQ(fired, 0);

    auto enabled = addButton(TQConfirmButton::buttonWithTitle("Kill", "Kill"));
    enabled->disableWithTitle("Gone");
    advance(0.3);
    EXPECT_EQ(faceHex(enabled), 0xD9D9D9u);
    tap({ 240, 20 });
    EXPECT_EQ(fired, 0);
}

TEST_F(ConfirmButton, TintKeepsHueAndBrightnessAndAddsSaturation)
{
    auto button = addButton(TQConfirmButton::buttonWithTitle("Kill", "Kill"));
    CGFloat r, g, b;
    tweak::toolkit::hueSaturationBrightnessToRGB(120, 0.5f, 0.8f, &r, &g, &b);
    button->setTintColor(UIColor::colorWithRed(r, g, b, 0.3f));
    auto face = UIColor::colorWithCGColor(button->colorLayer().backgroundColor());
    EXPECT_NEAR(tweak::toolkit::hue(face), 120, 0.5);
    EXPECT_NEAR(tweak::toolkit::saturation(face), 0.65, 1e-3);
    EXPECT_NEAR(tweak::toolkit::brightness(face), 0.8, 1e-3);
    EXPECT_FLOAT_EQ(tweak::toolkit::alpha(face), 1);
}

// Blue face with a dark bevel and white "Kill"; then red with "Kill it" once asked.
TEST_F(ConfirmButton, BothStatesMatchTheirReferences)
{
    auto button = addButton(TQConfirmButton::buttonWithTitle("Kill", "Kill it"));
    button->layoutIfNeeded();
    auto first = graphics::checkAgainstReference(renderViewToImage(button, 2),
        std::filesystem::path(TORVANE_TWEAK_REFERENCES) / "ConfirmButtonFirst.png");
    EXPECT_TRUE(first.passed) << first.message;
    button->setSelected(true);
    advance(0.3);
    button->layoutIfNeeded();
    auto asked = graphics::checkAgainstReference(renderViewToImage(button, 2),
        std::filesystem::path(TORVANE_TWEAK_REFERENCES) / "ConfirmButtonConfirm.png");
    EXPECT_TRUE(asked.passed) << asked.message;
}
