#pragma once

// A view that shows an image scaled to fill its bounds. Like UIKit's, it does not take touches by
// default (userInteractionEnabled NO).

#include <runtime/RefPtr.h>
#include <uikit/UIImage.h>
#include <uikit/UIView.h>

namespace uikit {

class UIImageView : public UIView {
    TORVANE_OBJECT(UIImageView, UIView)
public:
    static runtime::Ref<UIImageView> create(CGRect frame = CGRectZero);
    // initWithImage: the frame is the image's size at the origin.
    static runtime::Ref<UIImageView> createWithImage(runtime::RefPtr<UIImage> image);

    UIImage* image() const { return m_image.get(); }
    virtual void setImage(runtime::RefPtr<UIImage> image);
    UIImage* highlightedImage() const { return m_highlightedImage.get(); }
    void setHighlightedImage(runtime::RefPtr<UIImage> image);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;
    // An image shown pixel for pixel is the picture already, shared by every view that shows it: no
    // second copy, and drawing it only paints over what lies below. One that must be resampled
    // (an @2x image on a 1x screen) is kept resampled, since resampling is what costs.
    ContentDrawing layerContentDrawing(const quartzcore::CALayer&, CGFloat scale) const override;

    void encodeWithCoder(NSCoder& coder) const override;
    void initWithCoder(NSCoder& coder) override;

protected:
    explicit UIImageView(CGRect frame);

private:
    runtime::RefPtr<UIImage> m_image;
    runtime::RefPtr<UIImage> m_highlightedImage;
    bool m_highlighted { false };
};

}
