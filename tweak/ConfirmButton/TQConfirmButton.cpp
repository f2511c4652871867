#include "TQConfirmButton.h"

#include "UIColor-Toolkit.h"

#include <foundation/NSSet.h>
#include <quartzcore/CABasicAnimation.h>
#include <quartzcore/CAGradientLayer.h>
#include <quartzcore/CATransaction.h>
#include <uikit/UIFont.h>
#include <uikit/UIStringDrawing.h>
#include <uikit/UITouch.h>

namespace tweak {

TORVANE_DEFINE_CLASS(TQConfirmButton)

using runtime::Ref;
using uikit::CGFloat;
using uikit::CGPoint;
using uikit::CGRect;
using uikit::UIColor;

namespace {

constexpr double toggleDuration = 0.25;
constexpr CGFloat cornerRadius = 4;
// Wide and tall enough to cover any superview the popup puts the button in, in either orientation.
constexpr CGFloat catcherSize = 1024;

Ref<UIColor> defaultTint() { return UIColor::colorWithRed(0.22f, 0.357f, 0.608f, 1); }
Ref<UIColor> confirmRed() { return UIColor::colorWithRed(0.694f, 0.184f, 0.196f, 1); }
Ref<UIColor> disabledFace() { return UIColor::colorWithWhite(0.85f, 1); }

CGFloat widthForText(const std::optional<std::string>& text)
{
    if (!text)
        return 20;
    return uikit::sizeWithFont(*text, uikit::UIFont::boldSystemFontOfSize(14)).width + 20;
}

}

Ref<TQConfirmButton> TQConfirmButton::buttonWithTitle(std::string title, std::string confirm)
{
    return runtime::adoptRef(*new TQConfirmButton(std::move(title), std::move(confirm), std::nullopt));
}

Ref<TQConfirmButton> TQConfirmButton::buttonWithDisabledTitle(std::string disabled)
{
    return runtime::adoptRef(*new TQConfirmButton(std::nullopt, std::nullopt, std::move(disabled)));
}

TQConfirmButton::TQConfirmButton(std::optional<std::string> title, std::optional<std::string> confirm, std::optional<std::string> disabled)
    : UIButton(uikit::CGRectZero, uikit::UIButtonTypeCustom)
    , m_title(std::move(title))
    , m_confirm(std::move(confirm))
    , m_disabled(std::move(disabled))
{
    layer().setNeedsDisplayOnBoundsChange(true);
    const std::optional<std::string>& shown = m_disabled ? m_disabled : m_title;
    CGRect current = frame();
    setFrame({ current.origin, { widthForText(shown), height } });
    setTitle(shown, uikit::UIControlStateNormal);
    titleLabel().setTextAlignment(uikit::UITextAlignmentCenter);
    titleLabel().setBackgroundColor(UIColor::clearColor());
    titleLabel().setFont(uikit::UIFont::boldSystemFontOfSize(14));
    applyLook(m_disabled ? Look::Disabled : Look::Normal);
    m_tint = m_disabled ? disabledFace() : defaultTint();
    setupLayers();
}

void TQConfirmButton::applyLook(Look look)
{
    if (look == Look::Disabled) {
        setTitleColor(UIColor::colorWithWhite(0.6f, 1), uikit::UIControlStateNormal);
        setTitleShadowColor(UIColor::colorWithWhite(1, 1), uikit::UIControlStateNormal);
        titleLabel().setShadowOffset({ 0, 1 });
    } else {
        setTitleColor(UIColor::whiteColor(), uikit::UIControlStateNormal);
        setTitleShadowColor(UIColor::colorWithWhite(0, 0.5f), uikit::UIControlStateNormal);
        titleLabel().setShadowOffset({ 0, -1 });
    }
}

void TQConfirmButton::setupLayers()
{
    CGRect bounds = this->bounds();
    CGRect inner = { { 0, 1 }, { bounds.size.width, bounds.size.height - 2 } };
    // A new button shows its face at once rather than fading it in.
    quartzcore::CATransaction::begin();
    quartzcore::CATransaction::setDisableActions(true);

    auto bevel = quartzcore::CAGradientLayer::create();
    bevel->setFrame({ { 0, 0 }, bounds.size });
    bevel->setColors({ graphics::CGColorCreateGray(0, 0.5f), graphics::CGColorCreateGray(1, 1) });
    bevel->setCornerRadius(cornerRadius);
    bevel->setNeedsDisplayOnBoundsChange(true);
    layer().addSublayer(bevel);

    m_colorLayer = quartzcore::CALayer::create();
    m_colorLayer->setFrame(inner);
    m_colorLayer->setBorderColor(graphics::CGColorCreateGray(0, 0.1f));
    m_colorLayer->setBorderWidth(1);
    m_colorLayer->setBackgroundColor(m_tint->CGColor());
    m_colorLayer->setCornerRadius(cornerRadius);
    m_colorLayer->setNeedsDisplayOnBoundsChange(true);
    layer().addSublayer(*m_colorLayer);

    auto gloss = quartzcore::CAGradientLayer::create();
    gloss->setFrame(inner);
    gloss->setColors({ graphics::CGColorCreateGray(1, 0.1f), graphics::CGColorCreateGray(0.2f, 0.1f) });
    gloss->setLocations({ 0, 1 });
    gloss->setCornerRadius(cornerRadius);
    gloss->setNeedsDisplayOnBoundsChange(true);
    layer().addSublayer(gloss);
    quartzcore::CATransaction::commit();

    bringSubviewToFront(titleLabel());
}

CGFloat TQConfirmButton::shiftFor(CGFloat delta) const
{
    switch (m_toggleAnimation) {
    case TQConfirmButtonAnchorRight: return delta;
    case TQConfirmButtonAnchorCenter: return delta / 2;
    case TQConfirmButtonAnchorLeft: return 0;
    }
    return 0;
}

void TQConfirmButton::toggle()
{
    if (!isUserInteractionEnabled())
        return;
    setUserInteractionEnabled(false);
    titleLabel().setAlpha(0);

    std::optional<std::string> text;
    if (m_disabled) {
        text = m_disabled;
        applyLook(Look::Disabled);
    } else {
        text = m_selected ? m_confirm : m_title;
    }
    setTitle(text, uikit::UIControlStateNormal);
    CGFloat delta = widthForText(text) - frame().size.width;

    Ref protectedThis { *this };
    quartzcore::CATransaction::begin();
    quartzcore::CATransaction::setAnimationDuration(toggleDuration);
    quartzcore::CATransaction::setCompletionBlock([protectedThis, delta] { protectedThis->finishToggle(delta); });

    auto colorAnimation = quartzcore::CABasicAnimation::animationWithKeyPath("backgroundColor");
    colorAnimation->setRemovedOnCompletion(false);
    colorAnimation->setFillMode(quartzcore::CAFillMode::Forwards);
    if (m_disabled) {
        colorAnimation->setFromValue(confirmRed()->CGColor());
        colorAnimation->setToValue(disabledFace()->CGColor());
    } else if (m_selected) {
        colorAnimation->setFromValue(m_tint->CGColor());
        colorAnimation->setToValue(confirmRed()->CGColor());
    } else {
        colorAnimation->setFromValue(confirmRed()->CGColor());
        colorAnimation->setToValue(m_tint->CGColor());
    }
    m_colorLayer->addAnimation(colorAnimation, "colorAnimation");

    CGFloat shift = shiftFor(delta);
    for (auto& sublayer : std::vector(layer().sublayers())) {
        CGRect layerFrame = sublayer->frame();
        sublayer->setFrame({ { layerFrame.origin.x - shift, layerFrame.origin.y },
            { layerFrame.size.width + delta, layerFrame.size.height } });
    }
    quartzcore::CATransaction::commit();
    setNeedsDisplay();
}

void TQConfirmButton::finishToggle(CGFloat delta)
{
    CGFloat shift = shiftFor(delta);
    CGRect current = frame();
    setFrame({ { current.origin.x - shift, current.origin.y }, { current.size.width + delta, current.size.height } });

    // The button itself moved by the shift, so the layers move back by it to stay where they are.
    Ref protectedThis { *this };
    quartzcore::CATransaction::begin();
    quartzcore::CATransaction::setDisableActions(true);
    quartzcore::CATransaction::setCompletionBlock([protectedThis] { protectedThis->setUserInteractionEnabled(true); });
    for (auto& sublayer : std::vector(layer().sublayers())) {
        CGRect layerFrame = sublayer->frame();
        sublayer->setFrame({ { layerFrame.origin.x + shift, layerFrame.origin.y }, layerFrame.size });
    }
    quartzcore::CATransaction::commit();
    titleLabel().setAlpha(1);
    setNeedsLayout();
}

void TQConfirmButton::setSelected(bool selected)
{
    m_selected = selected;
    toggle();
}

void TQConfirmButton::disableWithTitle(std::string disabled)
{
    m_disabled = std::move(disabled);
    toggle();
}

void TQConfirmButton::removeCatcher()
{
    if (!m_cancelOverlay)
        return;
    // The catcher may be the one calling us, from its own touch handling: keep it alive until then.
    Ref<uikit::UIButton> catcher = *m_cancelOverlay;
    m_cancelOverlay = nullptr;
    catcher->removeFromSuperview();
}

void TQConfirmButton::cancel()
{
    if (m_cancelOverlay && isUserInteractionEnabled())
        removeCatcher();
    setSelected(false);
}

void TQConfirmButton::setAnchor(CGPoint point)
{
    CGRect current = frame();
    setFrame({ { point.x - current.size.width, point.y }, current.size });
}

void TQConfirmButton::setTintColor(const UIColor& color)
{
    m_tint = UIColor::colorWithHue(toolkit::hue(color) / 360, toolkit::saturation(color) + 0.15f, toolkit::brightness(color), 1);
    m_colorLayer->setBackgroundColor(m_tint->CGColor());
    setNeedsDisplay();
}

void TQConfirmButton::darken()
{
    // One shade at a time: a second one would stay behind when lighten takes the first away.
    if (m_darkenLayer)
        return;
    m_darkenLayer = quartzcore::CALayer::create();
    m_darkenLayer->setFrame({ { 0, 0 }, bounds().size });
    m_darkenLayer->setBackgroundColor(graphics::CGColorCreateGray(0, 0.2f));
    m_darkenLayer->setCornerRadius(cornerRadius);
    m_darkenLayer->setNeedsDisplayOnBoundsChange(true);
    layer().addSublayer(*m_darkenLayer);
}

void TQConfirmButton::lighten()
{
    if (!m_darkenLayer)
        return;
    m_darkenLayer->removeFromSuperlayer();
    m_darkenLayer = nullptr;
}

void TQConfirmButton::touchesBegan(foundation::NSSet& touches, uikit::UIEvent* event)
{
    if (!m_disabled && !m_confirmed && isUserInteractionEnabled())
        darken();
    UIButton::touchesBegan(touches, event);
}

void TQConfirmButton::touchesEnded(foundation::NSSet& touches, uikit::UIEvent* event)
{
    if (m_disabled || m_confirmed || !isUserInteractionEnabled())
        return;
    uikit::UITouch* touch = firstTouch(touches);
    uikit::UIView* superview = this->superview();
    bool inside = touch && superview && graphics::CGRectContainsPoint(frame(), touch->locationInView(superview));
    lighten();
    if (!inside) {
        UIButton::touchesCancelled(touches, event);
        return;
    }
    if (!m_selected) {
        Ref protectedThis { *this };
        setSelected(true);
        if (!m_cancelOverlay) {
            m_cancelOverlay = uikit::UIButton::buttonWithType(uikit::UIButtonTypeCustom);
            m_cancelOverlay->setFrame({ { 0, 0 }, { catcherSize, catcherSize } });
            m_cancelOverlay->addTarget(this, [this](uikit::UIControl& sender, uikit::UIEvent*) {
                Ref<uikit::UIControl> protectedCatcher { sender };
                cancel();
            }, uikit::UIControlEventTouchDown);
            superview->addSubview(*m_cancelOverlay);
        }
        superview->bringSubviewToFront(*this);
        return;
    }
    m_confirmed = true;
    removeCatcher();
    UIButton::touchesEnded(touches, event);
}

}
