#include <uikit/UIButton.h>

#include <graphics/Context.h>
#include <quartzcore/LayerPainting.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <algorithm>
#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(UIButton)
TORVANE_ARCHIVABLE_CLASS(UIButton, UIButton::create())

namespace {

// iOS 6's rounded-rectangle button: dark blue-grey title on a white face with a grey rim; blue
// face and white title while pressed.
runtime::Ref<UIColor> roundedRectTitleColor() { return UIColor::colorWithRed(0.196f, 0.310f, 0.522f, 1); }
constexpr CGFloat roundedRectRadius = 9;

}

runtime::Ref<UIButton> UIButton::buttonWithType(UIButtonType type)
{
    CGRect frame {};
    if (type == UIButtonTypeDetailDisclosure || type == UIButtonTypeInfoLight || type == UIButtonTypeInfoDark || type == UIButtonTypeContactAdd)
        frame.size = { 29, 31 };
    return runtime::adoptRef(*new UIButton(frame, type));
}

runtime::Ref<UIButton> UIButton::create(CGRect frame)
{
    return runtime::adoptRef(*new UIButton(frame, UIButtonTypeCustom));
}

UIButton::UIButton(CGRect frame, UIButtonType type)
    : UIControl(frame)
    , m_buttonType(type)
    , m_titleLabel(UILabel::create())
    , m_imageView(UIImageView::create())
{
    m_titleLabel->setBackgroundColor(UIColor::clearColor());
    m_titleLabel->setFont(UIFont::boldSystemFontOfSize(15));
    m_titleLabel->setTextAlignment(UITextAlignmentCenter);
    m_titleLabel->setLineBreakMode(UILineBreakModeMiddleTruncation);
    m_titleLabel->setShadowOffset({ 0, 0 });
    if (type == UIButtonTypeRoundedRect) {
        setTitleColor(roundedRectTitleColor(), UIControlStateNormal);
        setTitleColor(UIColor::whiteColor(), UIControlStateHighlighted);
    } else {
        setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    }
    addSubview(m_imageView);
    addSubview(m_titleLabel);
    updateContent();
}

template<typename T>
const T* UIButton::lookup(const PerState<T>& values, unsigned state)
{
    auto it = values.find(state);
    if (it == values.end())
        it = values.find(UIControlStateNormal);
    return it == values.end() ? nullptr : &it->second;
}

template<typename T>
void UIButton::store(PerState<runtime::Ref<T>>& values, runtime::RefPtr<T> object, unsigned state)
{
    if (object)
        values.insert_or_assign(state, object.releaseNonNull());
    else
        values.erase(state);
    updateContent();
}

template<typename T>
T* UIButton::objectForState(const PerState<runtime::Ref<T>>& values, unsigned state)
{
    auto object = lookup(values, state);
    return object ? object->ptr() : nullptr;
}

void UIButton::setTitle(std::optional<std::string> title, unsigned state)
{
    if (title)
        m_titles.insert_or_assign(state, std::move(*title));
    else
        m_titles.erase(state);
    updateContent();
}

std::optional<std::string> UIButton::titleForState(unsigned state) const
{
    if (auto title = lookup(m_titles, state))
        return *title;
    return std::nullopt;
}

void UIButton::setTitleColor(runtime::RefPtr<UIColor> color, unsigned state)
{
    store(m_titleColors, std::move(color), state);
}

UIColor* UIButton::titleColorForState(unsigned state) const
{
    return objectForState(m_titleColors, state);
}

void UIButton::setTitleShadowColor(runtime::RefPtr<UIColor> color, unsigned state)
{
    store(m_titleShadowColors, std::move(color), state);
}

UIColor* UIButton::titleShadowColorForState(unsigned state) const
{
    return objectForState(m_titleShadowColors, state);
}

void UIButton::setImage(runtime::RefPtr<UIImage> image, unsigned state)
{
    store(m_images, std::move(image), state);
}

UIImage* UIButton::imageForState(unsigned state) const
{
    return objectForState(m_images, state);
}

void UIButton::setBackgroundImage(runtime::RefPtr<UIImage> image, unsigned state)
{
    store(m_backgroundImages, std::move(image), state);
}

UIImage* UIButton::backgroundImageForState(unsigned state) const
{
    return objectForState(m_backgroundImages, state);
}

void UIButton::stateDidChange()
{
    updateContent();
}

void UIButton::updateContent()
{
    unsigned current = state();
    m_titleLabel->setText(titleForState(current).value_or(""));
    UIColor* color = titleColorForState(current);
    m_titleLabel->setTextColor(color ? runtime::Ref<UIColor>(*color) : UIColor::whiteColor());
    m_titleLabel->setShadowColor(titleShadowColorForState(current));
    m_imageView->setImage(imageForState(current));
    setNeedsLayout();
    setNeedsDisplay();
}

CGSize UIButton::sizeThatFits(CGSize) const
{
    CGSize title = sizeWithFont(m_titleLabel->text(), m_titleLabel->font());
    CGSize image = m_imageView->image() ? m_imageView->image()->size() : CGSize {};
    CGSize size { title.width + image.width, std::max(title.height, image.height) };
    if (m_buttonType == UIButtonTypeRoundedRect) {
        size.width += 2 * 12;
        size.height = std::max(size.height + 2 * 6, 37.0f);
    }
    return size;
}

void UIButton::layoutSubviews()
{
    CGRect bounds = this->bounds();
    UIImage* image = m_imageView->image();
    CGSize imageSize = image ? image->size() : CGSize {};
    CGSize titleSize {};
    if (!m_titleLabel->text().empty()) {
        titleSize = sizeWithFont(m_titleLabel->text(), m_titleLabel->font());
        titleSize.width = std::min(titleSize.width, std::max(0.0f, bounds.size.width - imageSize.width));
    }
    // Image and title side by side, centred together.
    CGFloat x = bounds.origin.x + std::floor((bounds.size.width - imageSize.width - titleSize.width) / 2);
    CGFloat midY = bounds.origin.y + bounds.size.height / 2;
    m_imageView->setFrame({ { x, std::floor(midY - imageSize.height / 2) }, imageSize });
    m_titleLabel->setFrame({ { x + imageSize.width, std::floor(midY - titleSize.height / 2) }, titleSize });
}

void UIButton::drawRect(CGRect)
{
    CGRect bounds = this->bounds();
    if (UIImage* background = backgroundImageForState(state())) {
        background->drawInRect(bounds);
        return;
    }
    if (m_buttonType != UIButtonTypeRoundedRect)
        return;
    auto context = UIGraphicsGetCurrentContext();
    CGRect face = graphics::CGRectInset(bounds, 0.5f, 0.5f);
    if (isHighlighted())
        graphics::CGContextSetRGBFillColor(context, 0.02f, 0.45f, 0.92f, 1);
    else
        graphics::CGContextSetGrayFillColor(context, 1, 1);
    graphics::CGContextSetGrayStrokeColor(context, 0.55f, 1);
    graphics::CGContextSetLineWidth(context, 1);
    quartzcore::addRoundedRectPath(context, face, roundedRectRadius);
    graphics::CGContextDrawPath(context, graphics::kCGPathFillStroke);
}

void UIButton::encodeWithCoder(NSCoder& coder) const
{
    UIControl::encodeWithCoder(coder);
    coder.encodeInt(m_buttonType, "UIButtonType");
    coder.encodeObject(m_titleLabel.ptr(), "UITitleLabel");
    coder.encodeObject(m_imageView.ptr(), "UIImageView");
    for (auto& [state, title] : m_titles)
        coder.encodeString(title, "UITitle." + std::to_string(state));
    for (auto& [state, color] : m_titleColors)
        coder.encodeObject(color.ptr(), "UITitleColor." + std::to_string(state));
    for (auto& [state, color] : m_titleShadowColors)
        coder.encodeObject(color.ptr(), "UITitleShadowColor." + std::to_string(state));
    for (auto& [state, image] : m_images)
        coder.encodeObject(image.ptr(), "UIImage." + std::to_string(state));
    for (auto& [state, image] : m_backgroundImages)
        coder.encodeObject(image.ptr(), "UIBackgroundImage." + std::to_string(state));
}

void UIButton::initWithCoder(NSCoder& coder)
{
    // The archived title label and image view come back among the subviews; the fresh ones this
    // instance was made with give way to them.
    m_titleLabel->removeFromSuperview();
    m_imageView->removeFromSuperview();
    UIControl::initWithCoder(coder);
    auto type = coder.decodeInt("UIButtonType");
    m_buttonType = type >= 0 && type <= 5 ? static_cast<UIButtonType>(type) : UIButtonTypeCustom;
    if (auto label = coder.decodeObjectOfClass<UILabel>("UITitleLabel"))
        m_titleLabel = *label;
    if (auto imageView = coder.decodeObjectOfClass<UIImageView>("UIImageView"))
        m_imageView = *imageView;
    m_titles.clear();
    m_titleColors.clear();
    m_titleShadowColors.clear();
    m_images.clear();
    m_backgroundImages.clear();
    // Only the four basic states and their combinations exist.
    for (unsigned state = 0; state < 8; ++state) {
        std::string suffix = "." + std::to_string(state);
        if (coder.containsValueForKey("UITitle" + suffix))
            m_titles.insert_or_assign(state, coder.decodeString("UITitle" + suffix));
        if (auto color = coder.decodeObjectOfClass<UIColor>("UITitleColor" + suffix))
            m_titleColors.insert_or_assign(state, *color);
        if (auto color = coder.decodeObjectOfClass<UIColor>("UITitleShadowColor" + suffix))
            m_titleShadowColors.insert_or_assign(state, *color);
        if (auto image = coder.decodeObjectOfClass<UIImage>("UIImage" + suffix))
            m_images.insert_or_assign(state, *image);
        if (auto image = coder.decodeObjectOfClass<UIImage>("UIBackgroundImage" + suffix))
            m_backgroundImages.insert_or_assign(state, *image);
    }
}

}
