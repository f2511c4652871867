#include <quartzcore/CALayer.h>

#include <quartzcore/CABasicAnimation.h>
#include <quartzcore/LayerPainting.h>
#include <quartzcore/TransactionState.h>

#include <foundation/RunLoop.h>
#include <foundation/ScheduledCall.h>
#include <graphics/Context.h>

#include <algorithm>
#include <cmath>

namespace quartzcore {

TORVANE_DEFINE_CLASS(CALayer)

struct CALayer::RunningAnimation {
    std::string key;
    runtime::Ref<CABasicAnimation> animation;
    AnimationValue from;
    foundation::MonotonicTime begin;
    double duration;
    uint64_t serial;
    bool ended { false };
    std::shared_ptr<detail::CompletionGroup> group;
    foundation::ScheduledCall timer; // an animation that goes takes its end with it
};

namespace {
uint64_t nextAnimationSerial = 1;
uint64_t displayChanges = 0;
size_t inFlight = 0;
}

void CALayer::noteDisplayChange()
{
    ++displayChanges;
}

uint64_t CALayer::displayChangeCount()
{
    return displayChanges;
}

size_t CALayer::animationsInFlight()
{
    return inFlight;
}

runtime::Ref<CALayer> CALayer::create()
{
    return runtime::adoptRef(*new CALayer);
}

// The picture of the content as it was last drawn, at a size in pixels, a scale, a bounds origin
// and an offset within the pixel it starts in; none when that drawing painted nothing.
struct CALayer::DrawnContent {
    int width { 0 };
    int height { 0 };
    CGFloat scale { 0 };
    CGPoint origin {};
    CGPoint phase {};
    graphics::CGContext picture;
};

CALayer::CALayer() = default;

CALayer::~CALayer()
{
    noteDisplayChange();
    // Whoever waits for these animations' transactions must still hear that they ended.
    while (!m_animations.empty())
        endAnimation(m_animations.size() - 1, false);
}

// --- Content ----------------------------------------------------------------------------------

namespace {

bool isWholePixel(double value) { return std::abs(value - std::round(value)) < 1e-3; }

}

void CALayer::drawContentDirectly(const graphics::CGContext& context, CGSize size, bool paintsOnlyOver)
{
    // The content is a picture of the bounds, so it never spills out of them.
    graphics::CGContextSaveGState(context);
    graphics::CGContextClipToRect(context, { m_boundsOrigin, size });
    if (paintsOnlyOver) {
        drawInContext(context);
    } else {
        // Drawn apart and then laid over what lies below, as a backing store would be: clearing
        // inside drawRect clears this layer's picture, not the screen under it.
        cairo_t* cr = context.cairo();
        cairo_push_group(cr);
        drawInContext(context);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
    }
    graphics::CGContextRestoreGState(context);
}

void CALayer::paintContent(const graphics::CGContext& context, CGSize size)
{
    // No area, no content: nothing is stale.
    if (!(size.width > 0) || !(size.height > 0)) {
        m_drawnContent = nullptr;
        m_needsDisplay = false;
        return;
    }
    cairo_t* cr = context.cairo();
    // Content wholly outside the clip (a page scrolled off the screen) is not drawn at all; a kept
    // picture stays for when it shows again.
    double clipLeft, clipTop, clipRight, clipBottom;
    cairo_clip_extents(cr, &clipLeft, &clipTop, &clipRight, &clipBottom);
    if (clipRight <= m_boundsOrigin.x || clipBottom <= m_boundsOrigin.y || clipLeft >= m_boundsOrigin.x + size.width
        || clipTop >= m_boundsOrigin.y + size.height)
        return;

    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    double x = m_boundsOrigin.x;
    double y = m_boundsOrigin.y;
    cairo_user_to_device(cr, &x, &y);
    CGFloat scale = context.scale();
    // Where the content falls between pixels (a layer half a point off the grid on a screen of
    // scale 1): the picture is drawn at that offset, so painting it later is a copy pixel for
    // pixel that gives what drawing it there would have given.
    CGPoint phase { static_cast<CGFloat>(x - std::floor(x)), static_cast<CGFloat>(y - std::floor(y)) };
    if (isWholePixel(phase.x))
        phase.x = 0;
    if (isWholePixel(phase.y))
        phase.y = 0;
    int width = static_cast<int>(std::ceil((size.width * scale + phase.x) - 1e-3f));
    int height = static_cast<int>(std::ceil((size.height * scale + phase.y) - 1e-3f));
    bool keeps = !m_delegate || m_delegate->layerContentDrawing(*this, scale) == CALayerDelegate::ContentDrawing::Kept;
    bool unturned = matrix.xx == 1 && matrix.yy == 1 && matrix.xy == 0 && matrix.yx == 0;
    if (!keeps || !unturned) {
        m_drawnContent = nullptr;
        drawContentDirectly(context, size, !keeps);
        m_needsDisplay = false;
        return;
    }

    // The picture's top-left corner, in points.
    const CGPoint corner { m_boundsOrigin.x - phase.x / scale, m_boundsOrigin.y - phase.y / scale };
    auto& kept = m_drawnContent;
    bool current = kept && !m_needsDisplay && kept->width == width && kept->height == height && kept->scale == scale
        && kept->origin == m_boundsOrigin && kept->phase == phase;
    if (!current) {
        kept = std::make_unique<DrawnContent>(DrawnContent { width, height, scale, m_boundsOrigin, phase, {} });
        auto picture = graphics::CGBitmapContextCreate(width, height, scale);
        if (!picture) {
            kept = nullptr;
            drawContentDirectly(context, size, false);
            m_needsDisplay = false;
            return;
        }
        graphics::CGContextTranslateCTM(picture, -corner.x, -corner.y);
        graphics::CGContextClipToRect(picture, { m_boundsOrigin, size });
        drawInContext(picture);
        m_needsDisplay = false;
        if (picture.operationCount() > 0)
            kept->picture = std::move(picture);
    }
    if (!kept->picture)
        return;
    // The picture was drawn clipped to the bounds; laid whole, it covers a pixel the layer half
    // fills as much as drawing there would.
    cairo_surface_t* surface = cairo_get_target(kept->picture.cairo());
    cairo_surface_flush(surface);
    cairo_save(cr);
    cairo_set_source_surface(cr, surface, corner.x, corner.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

// --- Geometry ---------------------------------------------------------------------------------

void CALayer::setFrame(CGRect frame)
{
    changeFrame(frame);
}

void CALayer::setBounds(CGRect bounds)
{
    if (m_boundsOrigin != bounds.origin) {
        m_boundsOrigin = bounds.origin;
        noteDisplayChange();
    }
    // The centre stays where it is, as it does with the anchor point in the middle.
    CGPoint centre = position();
    changeFrame({ { centre.x - bounds.size.width / 2, centre.y - bounds.size.height / 2 }, bounds.size });
}

CGPoint CALayer::position() const
{
    return { m_frame.origin.x + m_frame.size.width / 2, m_frame.origin.y + m_frame.size.height / 2 };
}

void CALayer::setPosition(CGPoint position)
{
    changeFrame({ { position.x - m_frame.size.width / 2, position.y - m_frame.size.height / 2 }, m_frame.size });
}

void CALayer::changeFrame(CGRect newFrame)
{
    if (newFrame == m_frame)
        return;
    if (implicitAnimationsAllowed())
        addImplicitAnimation("frame", presentationFrame());
    CGSize oldSize = m_frame.size;
    m_frame = newFrame;
    noteDisplayChange();
    if (oldSize == newFrame.size)
        return;
    if (m_needsDisplayOnBoundsChange)
        setNeedsDisplay();
    if (m_delegate)
        m_delegate->layerDidChangeSize(*this, oldSize);
}

// --- Looks --------------------------------------------------------------------------------------

void CALayer::setBackgroundColor(CGColor color)
{
    if (implicitAnimationsAllowed() && !graphics::CGColorEqualToColor(color, m_backgroundColor))
        addImplicitAnimation("backgroundColor", presentationBackgroundColor());
    m_backgroundColor = std::move(color);
    noteDisplayChange();
}

void CALayer::setOpacity(float opacity)
{
    opacity = std::clamp(opacity, 0.0f, 1.0f);
    if (implicitAnimationsAllowed() && opacity != m_opacity)
        addImplicitAnimation("opacity", presentationOpacity());
    if (opacity != m_opacity)
        noteDisplayChange();
    m_opacity = opacity;
}

void CALayer::drawInContext(const graphics::CGContext& context)
{
    if (m_delegate)
        m_delegate->drawLayerInContext(*this, context);
}

// --- Tree ---------------------------------------------------------------------------------------

void CALayer::addSublayer(runtime::Ref<CALayer> layer)
{
    insertSublayerAtIndex(std::move(layer), m_sublayers.size());
}

void CALayer::insertSublayerAtIndex(runtime::Ref<CALayer> layer, size_t index)
{
    // A layer cannot contain itself or one of its ancestors.
    for (const CALayer* ancestor = this; ancestor; ancestor = ancestor->superlayer()) {
        if (ancestor == layer.ptr())
            return;
    }
    if (layer->superlayer() == this) {
        // Moving within this layer: the index counts positions after the layer was taken out.
        auto it = std::find_if(m_sublayers.begin(), m_sublayers.end(), [&](auto& sub) { return sub.ptr() == layer.ptr(); });
        m_sublayers.erase(it);
    } else {
        layer->removeFromSuperlayer();
    }
    index = std::min(index, m_sublayers.size());
    layer->m_superlayer = this;
    m_sublayers.insert(m_sublayers.begin() + static_cast<long>(index), std::move(layer));
    noteDisplayChange();
}

void CALayer::insertSublayerBelow(runtime::Ref<CALayer> layer, const CALayer* sibling)
{
    long index = sibling && sibling->superlayer() == this ? sibling->indexInSuperlayer() : 0;
    if (layer->superlayer() == this && layer->indexInSuperlayer() < index)
        --index;
    insertSublayerAtIndex(std::move(layer), static_cast<size_t>(index));
}

void CALayer::insertSublayerAbove(runtime::Ref<CALayer> layer, const CALayer* sibling)
{
    long index = sibling && sibling->superlayer() == this ? sibling->indexInSuperlayer() + 1 : static_cast<long>(m_sublayers.size());
    if (layer->superlayer() == this && layer->indexInSuperlayer() < index)
        --index;
    insertSublayerAtIndex(std::move(layer), static_cast<size_t>(index));
}

void CALayer::removeFromSuperlayer()
{
    CALayer* parent = superlayer();
    if (!parent)
        return;
    runtime::Ref<CALayer> protect(*this);
    m_superlayer = nullptr;
    noteDisplayChange();
    auto& siblings = parent->m_sublayers;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](auto& sub) { return sub.ptr() == this; }));
}

long CALayer::indexInSuperlayer() const
{
    CALayer* parent = superlayer();
    if (!parent)
        return -1;
    auto& siblings = parent->m_sublayers;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](auto& sub) { return sub.ptr() == this; });
    return it - siblings.begin();
}

CGPoint CALayer::originInRoot() const
{
    // The point of the root's coordinates where this layer's bounds origin lies.
    CGPoint origin { -m_boundsOrigin.x, -m_boundsOrigin.y };
    for (const CALayer* layer = this; layer; layer = layer->superlayer()) {
        origin.x += layer->m_frame.origin.x;
        origin.y += layer->m_frame.origin.y;
        if (const CALayer* parent = layer->superlayer()) {
            origin.x -= parent->m_boundsOrigin.x;
            origin.y -= parent->m_boundsOrigin.y;
        }
    }
    return origin;
}

CGPoint CALayer::convertPointToLayer(CGPoint point, const CALayer* layer) const
{
    CGPoint from = originInRoot();
    CGPoint to = layer ? layer->originInRoot() : CGPoint {};
    return { point.x + from.x - to.x, point.y + from.y - to.y };
}

// --- Animations -------------------------------------------------------------------------------

bool CALayer::implicitAnimationsAllowed() const
{
    if (m_delegate && !m_delegate->layerAllowsImplicitAnimations(*this))
        return false;
    auto transaction = detail::currentTransaction();
    return !transaction.disableActions && transaction.duration > 0;
}

void CALayer::addImplicitAnimation(const char* keyPath, AnimationValue from)
{
    // Runs from what is on screen now to whatever the model value is, so a change in the middle of
    // a running animation continues smoothly from where it is.
    auto animation = CABasicAnimation::animationWithKeyPath(keyPath);
    animation->setFromValue(std::move(from));
    startAnimation(std::move(animation), keyPath);
}

void CALayer::addAnimation(runtime::Ref<CABasicAnimation> animation, const std::string& key)
{
    startAnimation(animation->copy(), key);
}

void CALayer::startAnimation(runtime::Ref<CABasicAnimation> animation, std::string key)
{
    auto transaction = detail::currentTransaction();
    double duration = animation->duration() > 0 ? animation->duration() : transaction.duration;

    AnimationValue from = animation->fromValue();
    if (from.isNull()) {
        if (animation->keyPath() == "backgroundColor")
            from = presentationBackgroundColor();
        else if (animation->keyPath() == "opacity")
            from = presentationOpacity();
        else if (animation->keyPath() == "frame")
            from = presentationFrame();
    }

    // Replacing an animation ends the old one (not finished), before the new one counts.
    if (!key.empty()) {
        auto it = std::find_if(m_animations.begin(), m_animations.end(), [&](auto& running) { return running->key == key; });
        if (it != m_animations.end())
            endAnimation(static_cast<size_t>(it - m_animations.begin()), false);
    }

    auto running = std::make_unique<RunningAnimation>(RunningAnimation {
        std::move(key), std::move(animation), std::move(from), foundation::RunLoop::main().now(), duration,
        nextAnimationSerial++, false, transaction.group, {} });
    if (running->group)
        running->group->animationAdded();
    ++inFlight;
    noteDisplayChange();
    runtime::WeakPtr<CALayer> weakThis(this);
    uint64_t serial = running->serial;
    running->timer = foundation::ScheduledCall::afterDelay(foundation::Seconds(duration), [weakThis, serial] {
        if (auto layer = weakThis.strong())
            layer->animationTimeIsUp(serial);
    });
    m_animations.push_back(std::move(running));
}

void CALayer::animationTimeIsUp(uint64_t serial)
{
    auto it = std::find_if(m_animations.begin(), m_animations.end(), [&](auto& running) { return running->serial == serial; });
    if (it == m_animations.end())
        return;
    RunningAnimation& running = **it;
    running.ended = true;
    --inFlight;
    noteDisplayChange();
    auto group = std::move(running.group);
    if (running.animation->isRemovedOnCompletion())
        m_animations.erase(it);
    // The layer may go away in the completion; nothing of it is touched afterwards.
    if (group)
        group->animationEnded(true);
}

void CALayer::endAnimation(size_t index, bool finished)
{
    auto running = std::move(m_animations[index]);
    m_animations.erase(m_animations.begin() + static_cast<long>(index));
    running->timer.cancel();
    if (!running->ended) {
        --inFlight;
        noteDisplayChange();
    }
    if (running->group && !running->ended)
        running->group->animationEnded(finished);
}

CABasicAnimation* CALayer::animationForKey(const std::string& key) const
{
    for (auto& running : m_animations) {
        if (running->key == key && !key.empty())
            return running->animation.ptr();
    }
    return nullptr;
}

void CALayer::removeAnimationForKey(const std::string& key)
{
    auto it = std::find_if(m_animations.begin(), m_animations.end(), [&](auto& running) { return running->key == key; });
    if (it != m_animations.end())
        endAnimation(static_cast<size_t>(it - m_animations.begin()), false);
}

void CALayer::removeAllAnimations()
{
    while (!m_animations.empty())
        endAnimation(m_animations.size() - 1, false);
}

std::vector<std::string> CALayer::animationKeys() const
{
    std::vector<std::string> keys;
    for (auto& running : m_animations) {
        if (!running->key.empty())
            keys.push_back(running->key);
    }
    return keys;
}

AnimationValue CALayer::presentationValue(const std::string& keyPath, AnimationValue value) const
{
    auto now = foundation::RunLoop::main().now();
    const AnimationValue model = value;
    for (auto& running : m_animations) {
        if (running->animation->keyPath() != keyPath)
            continue;
        auto fill = running->animation->fillMode();
        bool holdsEnd = fill == CAFillMode::Forwards || fill == CAFillMode::Both;
        double progress = running->duration > 0 ? (now - running->begin).value() / running->duration : 1;
        if (running->ended || progress >= 1) {
            // Past its end an animation shows only if it is kept and fills forwards.
            if (!holdsEnd)
                continue;
            progress = 1;
        }
        const AnimationValue& to = running->animation->toValue().isNull() ? model : running->animation->toValue();
        value = AnimationValue::interpolate(running->from, to, std::max(progress, 0.0));
    }
    return value;
}

CGRect CALayer::presentationFrame() const
{
    if (m_animations.empty())
        return m_frame;
    auto animates = [&](std::string_view keyPath) {
        return std::any_of(m_animations.begin(), m_animations.end(), [&](auto& running) { return running->animation->keyPath() == keyPath; });
    };
    CGRect frame = m_frame;
    if (animates("frame")) {
        auto animated = presentationValue("frame", frame);
        if (auto rect = animated.rect())
            frame = *rect;
    }
    if (animates("bounds")) {
        auto animated = presentationValue("bounds", bounds());
        if (auto rect = animated.rect()) {
            CGPoint centre { frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2 };
            frame = CGRect { { centre.x - rect->size.width / 2, centre.y - rect->size.height / 2 }, rect->size };
        }
    }
    if (animates("position")) {
        CGPoint centre { frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2 };
        auto animated = presentationValue("position", centre);
        if (auto point = animated.point())
            frame.origin = CGPoint { point->x - frame.size.width / 2, point->y - frame.size.height / 2 };
    }
    return frame;
}

CGColor CALayer::presentationBackgroundColor() const
{
    if (m_animations.empty())
        return m_backgroundColor;
    auto value = presentationValue("backgroundColor", m_backgroundColor);
    return value.color() ? *value.color() : m_backgroundColor;
}

float CALayer::presentationOpacity() const
{
    if (m_animations.empty())
        return m_opacity;
    auto value = presentationValue("opacity", CGFloat(m_opacity));
    return value.number() ? std::clamp(*value.number(), 0.0f, 1.0f) : m_opacity;
}

// --- Rendering ----------------------------------------------------------------------------------

void CALayer::renderInContext(const graphics::CGContext& context)
{
    float opacity = presentationOpacity();
    if (m_hidden || opacity <= 0 || !context)
        return;
    runtime::Ref<CALayer> protect(*this);
    CGRect frame = presentationFrame();
    CGRect local { {}, frame.size };
    CGFloat radius = std::max(0.0f, std::min({ m_cornerRadius, frame.size.width / 2, frame.size.height / 2 }));
    cairo_t* cr = context.cairo();

    graphics::CGContextSaveGState(context);
    graphics::CGContextTranslateCTM(context, frame.origin.x, frame.origin.y);
    // Alpha below one applies to the layer and its sublayers together, not to each drawing.
    bool group = opacity < 1;
    if (group)
        cairo_push_group(cr);

    CGColor background = presentationBackgroundColor();
    if (background && background.alpha() > 0) {
        graphics::CGContextSetFillColorWithColor(context, background);
        addRoundedRectPath(context, local, radius);
        graphics::CGContextFillPath(context);
    }

    graphics::CGContextSaveGState(context);
    if (m_masksToBounds) {
        addRoundedRectPath(context, local, radius);
        graphics::CGContextClip(context);
    }
    graphics::CGContextTranslateCTM(context, -m_boundsOrigin.x, -m_boundsOrigin.y);

    paintContent(context, frame.size);

    // Sublayers may add or remove layers while drawing: walk a copy.
    auto sublayers = m_sublayers;
    for (auto& sublayer : sublayers)
        sublayer->renderInContext(context);
    graphics::CGContextRestoreGState(context);

    if (m_borderWidth > 0 && m_borderColor && m_borderColor.alpha() > 0) {
        CGFloat half = m_borderWidth / 2;
        CGRect inset { { half, half }, { frame.size.width - m_borderWidth, frame.size.height - m_borderWidth } };
        if (inset.size.width > 0 && inset.size.height > 0) {
            graphics::CGContextSetStrokeColorWithColor(context, m_borderColor);
            graphics::CGContextSetLineWidth(context, m_borderWidth);
            addRoundedRectPath(context, inset, std::max(0.0f, radius - half));
            graphics::CGContextStrokePath(context);
        } else {
            // A border wider than half the layer covers it entirely.
            graphics::CGContextSetFillColorWithColor(context, m_borderColor);
            addRoundedRectPath(context, local, radius);
            graphics::CGContextFillPath(context);
        }
    }

    if (group) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, opacity);
    }
    graphics::CGContextRestoreGState(context);
}

}
