#pragma once

#include <quartzcore/CALayer.h>
#include <runtime/RefPtr.h>
#include <uikit/UIButton.h>
#include <uikit/UIColor.h>

#include <optional>
#include <string>

namespace tweak {

// Which edge of a confirm button stays put when a new text changes its width.
enum TQConfirmButtonAnchor : int {
    TQConfirmButtonAnchorRight = 0,
    TQConfirmButtonAnchorLeft = 1,
    TQConfirmButtonAnchorCenter = 2,
};

// A small rounded push button that asks for a second tap. The first tap turns it red with the
// confirm text and puts a full-area catcher behind it, so a tap anywhere else takes the question
// back; only a tap on the red face sends the control's actions, once. A disabled button shows a
// grey text on a light grey face and ignores touches. Each change of state animates for 0.25 s,
// during which the button takes no touches and further toggles do nothing.
class TQConfirmButton final : public uikit::UIButton {
    TORVANE_OBJECT(TQConfirmButton, uikit::UIButton)
public:
    static constexpr uikit::CGFloat height = 26;

    static runtime::Ref<TQConfirmButton> buttonWithTitle(std::string title, std::string confirm);
    static runtime::Ref<TQConfirmButton> buttonWithDisabledTitle(std::string disabled);

    // The flag of the confirm state; the control's own selected state is left alone.
    void setSelected(bool selected) override;
    void disableWithTitle(std::string disabled);
    // Back to the first state, dropping the catcher (unless a change is still animating).
    void cancel();
    // Places the button so that its top-right corner is at the point.
    void setAnchor(uikit::CGPoint point);
    // The first state's face: the colour's hue and brightness, a little more saturated.
    void setTintColor(const uikit::UIColor& color);
    void darken();
    void lighten();

    bool getIfBeenSelected() const { return m_selected; }
    bool getIfIsDisabled() const { return m_disabled.has_value(); }
    bool isConfirmed() const { return m_confirmed; }

    const std::optional<std::string>& title() const { return m_title; }
    const std::optional<std::string>& confirm() const { return m_confirm; }
    const std::optional<std::string>& disabled() const { return m_disabled; }
    uikit::UIColor& tint() const { return *m_tint; }
    TQConfirmButtonAnchor toggleAnimation() const { return m_toggleAnimation; }
    void setToggleAnimation(TQConfirmButtonAnchor anchor) { m_toggleAnimation = anchor; }

    quartzcore::CALayer& colorLayer() const { return *m_colorLayer; }
    quartzcore::CALayer* darkenLayer() const { return m_darkenLayer.get(); }
    uikit::UIButton* cancelOverlay() const { return m_cancelOverlay.get(); }

    void touchesBegan(foundation::NSSet& touches, uikit::UIEvent* event) override;
    void touchesEnded(foundation::NSSet& touches, uikit::UIEvent* event) override;

private:
    enum class Look { Normal, Disabled };
    TQConfirmButton(std::optional<std::string> title, std::optional<std::string> confirm, std::optional<std::string> disabled);
    void applyLook(Look look);
    void setupLayers();
    void toggle();
    void finishToggle(uikit::CGFloat delta);
    // How far the x of something of the given width change moves for the anchor.
    uikit::CGFloat shiftFor(uikit::CGFloat delta) const;
    void removeCatcher();

    bool m_selected { false };
    bool m_confirmed { false };
    runtime::RefPtr<quartzcore::CALayer> m_colorLayer;
    runtime::RefPtr<quartzcore::CALayer> m_darkenLayer;
    runtime::RefPtr<uikit::UIButton> m_cancelOverlay;
    std::optional<std::string> m_title;
    std::optional<std::string> m_confirm;
    std::optional<std::string> m_disabled;
    runtime::RefPtr<uikit::UIColor> m_tint;
    TQConfirmButtonAnchor m_toggleAnimation { TQConfirmButtonAnchorRight };
};

}
