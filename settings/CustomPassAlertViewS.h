#pragma once

// The pane's information alerts: the system alert with its stock background taken away and the
// dark rounded panel of the add-on's confirmation drawn in its place. Title, message and buttons
// stay the system alert's own. None of the pane's uses has a delegate or acts on its button.

#include <graphics/Context.h>
#include <runtime/Ref.h>
#include <uikit/UIAlertView.h>

#include <optional>
#include <string>
#include <vector>

namespace pane {

class CustomPassAlertViewS final : public uikit::UIAlertView {
    TORVANE_OBJECT(CustomPassAlertViewS, uikit::UIAlertView)
public:
    // initWithFrame:
    static runtime::Ref<CustomPassAlertViewS> create(uikit::CGRect frame = uikit::CGRectZero);
    // initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:
    static runtime::Ref<CustomPassAlertViewS> create(std::optional<std::string> title, std::optional<std::string> message,
        runtime::Object* delegate, std::optional<std::string> cancelButtonTitle,
        const std::vector<std::string>& otherButtonTitles = {});
    ~CustomPassAlertViewS() override;

    // Takes the stock image away so the drawn panel shows; lays out nothing else.
    void layoutSubviews() override;
    void drawRect(uikit::CGRect rect) override;
    // drawRoundedRect:inContext:withRadius:
    void drawRoundedRect(uikit::CGRect rect, const graphics::CGContext& context, uikit::CGFloat radius) const;

private:
    explicit CustomPassAlertViewS(uikit::CGRect frame);
};

}
