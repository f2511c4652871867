#pragma once

// A push button: a title label (and optionally an image and a background image) whose text, colours
// and images are set per control state. The value for the current state falls back to the normal
// state's when the state has none of its own. Title label defaults: bold system font 15; custom
// buttons have white titles, rounded-rectangle buttons blue-grey titles on a white rounded face.

#include <runtime/RefPtr.h>
#include <uikit/UIControl.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>

#include <map>
#include <optional>
#include <string>

namespace uikit {

enum UIButtonType : int {
    UIButtonTypeCustom = 0,
    UIButtonTypeRoundedRect = 1,
    UIButtonTypeDetailDisclosure = 2,
    UIButtonTypeInfoLight = 3,
    UIButtonTypeInfoDark = 4,
    UIButtonTypeContactAdd = 5,
};

class UIButton : public UIControl {
    TORVANE_OBJECT(UIButton, UIControl)
public:
    static runtime::Ref<UIButton> buttonWithType(UIButtonType type);
    // initWithFrame: makes a custom button.
    static runtime::Ref<UIButton> create(CGRect frame = CGRectZero);

    UIButtonType buttonType() const { return m_buttonType; }

    void setTitle(std::optional<std::string> title, unsigned state);
    std::optional<std::string> titleForState(unsigned state) const;
    void setTitleColor(runtime::RefPtr<UIColor> color, unsigned state);
    UIColor* titleColorForState(unsigned state) const;
    void setTitleShadowColor(runtime::RefPtr<UIColor> color, unsigned state);
    UIColor* titleShadowColorForState(unsigned state) const;
    void setImage(runtime::RefPtr<UIImage> image, unsigned state);
    UIImage* imageForState(unsigned state) const;
    void setBackgroundImage(runtime::RefPtr<UIImage> image, unsigned state);
    UIImage* backgroundImageForState(unsigned state) const;

    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    UIColor* currentTitleColor() const { return titleColorForState(state()); }
    UIImage* currentImage() const { return imageForState(state()); }

    UILabel& titleLabel() const { return m_titleLabel.get(); }
    UIImageView& imageView() const { return m_imageView.get(); }

    bool showsTouchWhenHighlighted() const { return false; }
    bool adjustsImageWhenHighlighted() const { return m_adjustsImageWhenHighlighted; }
    void setAdjustsImageWhenHighlighted(bool value) { m_adjustsImageWhenHighlighted = value; }

    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

    void encodeWithCoder(NSCoder& coder) const override;
    void initWithCoder(NSCoder& coder) override;

protected:
    UIButton(CGRect frame, UIButtonType type);
    void stateDidChange() override;
    void didAddSubview(UIView&) override { }

private:
    template<typename T>
    using PerState = std::map<unsigned, T>;
    template<typename T>
    static const T* lookup(const PerState<T>& values, unsigned state);
    // Stores `object` for `state`, or forgets the state's own value when it is null.
    template<typename T>
    void store(PerState<runtime::Ref<T>>& values, runtime::RefPtr<T> object, unsigned state);
    template<typename T>
    static T* objectForState(const PerState<runtime::Ref<T>>& values, unsigned state);
    void updateContent();

    UIButtonType m_buttonType;
    runtime::Ref<UILabel> m_titleLabel;
    runtime::Ref<UIImageView> m_imageView;
    PerState<std::string> m_titles;
    PerState<runtime::Ref<UIColor>> m_titleColors;
    PerState<runtime::Ref<UIColor>> m_titleShadowColors;
    PerState<runtime::Ref<UIImage>> m_images;
    PerState<runtime::Ref<UIImage>> m_backgroundImages;
    bool m_adjustsImageWhenHighlighted { true };
};

}
