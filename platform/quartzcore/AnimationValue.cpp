#include <quartzcore/AnimationValue.h>

#include <algorithm>

namespace quartzcore {

namespace {

graphics::CGFloat mix(graphics::CGFloat a, graphics::CGFloat b, double t)
{
    return static_cast<graphics::CGFloat>(a + (b - a) * t);
}

}

AnimationValue AnimationValue::interpolate(const AnimationValue& from, const AnimationValue& to, double progress)
{
    if (progress >= 1)
        return to;
    if (progress <= 0)
        return from;
    if (auto a = from.number(), b = to.number(); a && b)
        return mix(*a, *b, progress);
    if (auto a = from.point(), b = to.point(); a && b)
        return graphics::CGPoint { mix(a->x, b->x, progress), mix(a->y, b->y, progress) };
    if (auto a = from.rect(), b = to.rect(); a && b) {
        return graphics::CGRect { { mix(a->origin.x, b->origin.x, progress), mix(a->origin.y, b->origin.y, progress) },
            { mix(a->size.width, b->size.width, progress), mix(a->size.height, b->size.height, progress) } };
    }
    if (auto a = from.color(), b = to.color(); a && b) {
        // A null colour is clear black, so fading from or to "no background" works.
        auto x = a->rgba();
        auto y = b->rgba();
        return graphics::CGColorCreateRGB(mix(float(x.red), float(y.red), progress), mix(float(x.green), float(y.green), progress),
            mix(float(x.blue), float(y.blue), progress), mix(float(x.alpha), float(y.alpha), progress));
    }
    return from;
}

}
