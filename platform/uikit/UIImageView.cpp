#include <uikit/UIImageView.h>

#include <uikit/NSCoding.h>

#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(UIImageView)
TORVANE_ARCHIVABLE_CLASS(UIImageView, UIImageView::create())

runtime::Ref<UIImageView> UIImageView::create(CGRect frame)
{
    return runtime::adoptRef(*new UIImageView(frame));
}

runtime::Ref<UIImageView> UIImageView::createWithImage(runtime::RefPtr<UIImage> image)
{
    CGRect frame {};
    if (image)
        frame.size = image->size();
    auto view = create(frame);
    view->setImage(std::move(image));
    return view;
}

UIImageView::UIImageView(CGRect frame)
    : UIView(frame)
{
    setUserInteractionEnabled(false);
}

void UIImageView::setImage(runtime::RefPtr<UIImage> image)
{
    m_image = std::move(image);
    setNeedsDisplay();
}

void UIImageView::setHighlightedImage(runtime::RefPtr<UIImage> image)
{
    m_highlightedImage = std::move(image);
    setNeedsDisplay();
}

void UIImageView::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    setNeedsDisplay();
}

CGSize UIImageView::sizeThatFits(CGSize size) const
{
    return m_image ? m_image->size() : size;
}

quartzcore::CALayerDelegate::ContentDrawing UIImageView::layerContentDrawing(const quartzcore::CALayer&, CGFloat scale) const
{
    UIImage* shown = m_highlighted && m_highlightedImage ? m_highlightedImage.get() : m_image.get();
    if (!shown)
        return ContentDrawing::PaintedOverEachRender;
    auto pixels = bounds().size;
    bool pixelForPixel = std::abs(pixels.width * scale - static_cast<CGFloat>(shown->CGImage().width())) < 0.5f
        && std::abs(pixels.height * scale - static_cast<CGFloat>(shown->CGImage().height())) < 0.5f;
    return pixelForPixel ? ContentDrawing::PaintedOverEachRender : ContentDrawing::Kept;
}

void UIImageView::drawRect(CGRect)
{
    UIImage* shown = m_highlighted && m_highlightedImage ? m_highlightedImage.get() : m_image.get();
    if (shown)
        shown->drawInRect(bounds());
}

void UIImageView::encodeWithCoder(NSCoder& coder) const
{
    UIView::encodeWithCoder(coder);
    coder.encodeObject(m_image.get(), "UIImage");
    coder.encodeObject(m_highlightedImage.get(), "UIHighlightedImage");
    coder.encodeBool(m_highlighted, "UIHighlighted");
}

void UIImageView::initWithCoder(NSCoder& coder)
{
    UIView::initWithCoder(coder);
    m_image = coder.decodeObjectOfClass<UIImage>("UIImage");
    m_highlightedImage = coder.decodeObjectOfClass<UIImage>("UIHighlightedImage");
    m_highlighted = coder.decodeBool("UIHighlighted");
}

}
