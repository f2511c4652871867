#include <uikit/AlertPanelRenderer.h>

#include <graphics/ColorSpace.h>
#include <graphics/Gradient.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImage.h>

#include <algorithm>

namespace uikit {

using namespace graphics;

void fillVerticalGradient(const CGContext& c, CGRect rect, RGBA top, RGBA bottom)
{
    const CGFloat components[] = { top.red, top.green, top.blue, top.alpha, bottom.red, bottom.green, bottom.blue, bottom.alpha };
    const CGFloat locations[] = { 0, 1 };
    auto gradient = CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, locations, 2);
    CGContextDrawLinearGradient(c, gradient, { CGRectGetMidX(rect), CGRectGetMinY(rect) },
        { CGRectGetMidX(rect), CGRectGetMaxY(rect) }, kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
}

namespace {

// Runs `draw` in a fresh transparent image context of `size` and returns the picture.
template<typename Draw>
runtime::Ref<UIImage> renderImage(CGSize size, Draw draw)
{
    size.width = std::max<CGFloat>(size.width, 1);
    size.height = std::max<CGFloat>(size.height, 1);
    UIGraphicsBeginImageContextWithOptions(size, false, 0);
    CGContext c = UIGraphicsGetCurrentContext();
    CGContextSetShouldAntialias(c, true);
    draw(c, CGRect { {}, size });
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image.releaseNonNull();
}

// The upper half of a glossy face: white fading out, within the rounded shape.
void drawGloss(const CGContext& c, CGRect face, CGFloat radius, CGFloat strength)
{
    CGContextSaveGState(c);
    addRoundedRectPath(c, face, radius);
    CGContextClip(c);
    CGRect upper { face.origin, { face.size.width, face.size.height / 2 } };
    CGContextClipToRect(c, upper);
    fillVerticalGradient(c, upper, { 1, 1, 1, strength }, { 1, 1, 1, strength * 0.3f });
    CGContextRestoreGState(c);
}

}

runtime::Ref<UIImage> alertPanelImage(CGSize size)
{
    return renderImage(size, [](const CGContext& c, CGRect bounds) {
        const CGFloat radius = 10;
        CGRect panel = CGRectInset(bounds, 1.5, 1.5);

        // Translucent navy body, lighter at the top.
        CGContextSaveGState(c);
        addRoundedRectPath(c, panel, radius);
        CGContextClip(c);
        fillVerticalGradient(c, panel, { 0.22f, 0.29f, 0.47f, 0.95f }, { 0.04f, 0.09f, 0.25f, 0.95f });

        // The wide glossy arc over the title.
        CGFloat w = panel.size.width;
        CGContextAddEllipseInRect(c, { { panel.origin.x - w * 0.45f, panel.origin.y - 70 }, { w * 1.9f, 114 } });
        CGContextClip(c);
        fillVerticalGradient(c, { panel.origin, { w, 44 } }, { 1, 1, 1, 0.32f }, { 1, 1, 1, 0.08f });
        CGContextRestoreGState(c);

        // The light rim.
        CGContextSetLineWidth(c, 2);
        CGContextSetRGBStrokeColor(c, 0.92f, 0.94f, 0.98f, 0.9f);
        addRoundedRectPath(c, panel, radius);
        CGContextStrokePath(c);
    });
}

runtime::Ref<UIImage> sheetPanelImage(CGSize size, SheetPanelLook look)
{
    return renderImage(size, [look](const CGContext& c, CGRect bounds) {
        switch (look) {
        case SheetPanelLook::BlueGrey:
            fillVerticalGradient(c, bounds, { 0.42f, 0.47f, 0.58f, 0.94f }, { 0.15f, 0.19f, 0.29f, 0.94f });
            break;
        case SheetPanelLook::BlackTranslucent:
            fillVerticalGradient(c, bounds, { 0.12f, 0.12f, 0.12f, 0.82f }, { 0, 0, 0, 0.82f });
            break;
        case SheetPanelLook::BlackOpaque:
            fillVerticalGradient(c, bounds, { 0.14f, 0.14f, 0.14f, 1 }, { 0.02f, 0.02f, 0.02f, 1 });
            break;
        }
        // A hairline of light along the top edge.
        CGContextSetRGBFillColor(c, 1, 1, 1, 0.35f);
        CGContextFillRect(c, { {}, { bounds.size.width, 1 } });
    });
}

runtime::Ref<UIImage> modalButtonImage(CGSize size, ModalButtonLook look, bool highlighted)
{
    return renderImage(size, [look, highlighted](const CGContext& c, CGRect bounds) {
        const bool onSheet = look != ModalButtonLook::AlertDefault && look != ModalButtonLook::AlertCancel;
        const CGFloat radius = onSheet ? 7 : 5;
        // One point of room below for the embossed edge.
        CGRect face { { bounds.origin.x + 0.5f, bounds.origin.y + 0.5f }, { bounds.size.width - 1, bounds.size.height - 2 } };

        RGBA top {}, bottom {};
        if (highlighted) {
            top = { 0.36f, 0.60f, 0.98f, 1 };
            bottom = { 0.08f, 0.33f, 0.86f, 1 };
        } else {
            switch (look) {
            case ModalButtonLook::AlertDefault:
                top = { 0.46f, 0.52f, 0.66f, 0.75f };
                bottom = { 0.17f, 0.23f, 0.40f, 0.75f };
                break;
            case ModalButtonLook::AlertCancel:
                top = { 0.33f, 0.37f, 0.47f, 0.8f };
                bottom = { 0.10f, 0.13f, 0.24f, 0.8f };
                break;
            case ModalButtonLook::SheetDefault:
                top = { 0.99f, 0.99f, 0.99f, 1 };
                bottom = { 0.84f, 0.85f, 0.87f, 1 };
                break;
            case ModalButtonLook::SheetDestructive:
                top = { 0.93f, 0.33f, 0.31f, 1 };
                bottom = { 0.72f, 0.05f, 0.04f, 1 };
                break;
            case ModalButtonLook::SheetCancel:
                top = { 0.33f, 0.33f, 0.35f, 1 };
                bottom = { 0.10f, 0.10f, 0.12f, 1 };
                break;
            }
        }

        // Embossed lower edge: a faint light line under the face.
        CGContextSetRGBFillColor(c, 1, 1, 1, 0.18f);
        addRoundedRectPath(c, CGRectOffset(face, 0, 1), radius);
        CGContextFillPath(c);

        CGContextSaveGState(c);
        addRoundedRectPath(c, face, radius);
        CGContextClip(c);
        fillVerticalGradient(c, face, top, bottom);
        CGContextRestoreGState(c);
        drawGloss(c, face, radius, look == ModalButtonLook::SheetDefault && !highlighted ? 0.5f : 0.28f);

        CGContextSetLineWidth(c, 1);
        CGContextSetRGBStrokeColor(c, 0, 0, 0, onSheet ? 0.55f : 0.45f);
        addRoundedRectPath(c, face, radius);
        CGContextStrokePath(c);
    });
}

}
