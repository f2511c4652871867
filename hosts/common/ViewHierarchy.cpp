#include "ViewHierarchy.h"

#include <uikit/UIApplication.h>
#include <uikit/UIButton.h>
#include <uikit/UILabel.h>
#include <uikit/UIProgressView.h>
#include <uikit/UISlider.h>
#include <uikit/UISwitch.h>
#include <uikit/UITableViewCell.h>
#include <uikit/UIWindow.h>

namespace hosts {

namespace {

using runtime::dynamicCast;

Json optionalText(const std::optional<std::string>& text) { return text ? Json(*text) : Json(nullptr); }

std::optional<std::string> textOf(const uikit::UIView& view)
{
    if (auto* label = dynamicCast<uikit::UILabel>(&view))
        return label->text();
    if (auto* button = dynamicCast<uikit::UIButton>(&view))
        return button->currentTitle();
    return std::nullopt;
}

std::optional<std::string> accessibilityLabel(const uikit::UIView& view, const AccessibilityLabeller& labeller)
{
    if (labeller) {
        if (auto label = labeller(view))
            return label;
    }
    if (auto* cell = dynamicCast<uikit::UITableViewCell>(&view))
        return cell->accessibilityLabel();
    return textOf(view);
}

}

std::optional<std::string> accessibilityLabelOf(const uikit::UIView& view, const AccessibilityLabeller& labeller)
{
    return accessibilityLabel(view, labeller);
}

namespace {

Json accessibilityValue(const uikit::UIView& view)
{
    if (auto* toggle = dynamicCast<uikit::UISwitch>(&view))
        return toggle->isOn();
    if (auto* slider = dynamicCast<uikit::UISlider>(&view))
        return slider->value();
    if (auto* progress = dynamicCast<uikit::UIProgressView>(&view))
        return progress->progress();
    return nullptr;
}

}

Json viewNodeJson(const uikit::UIView& view, const AccessibilityLabeller& labeller)
{
    // A window stands where it is on the screen; every view inside it in the window's points.
    uikit::CGRect frame = dynamicCast<uikit::UIWindow>(&view) ? view.frame() : view.convertRectToView(view.bounds(), nullptr);
    Json subviews = Json::array();
    for (const auto& subview : view.subviews())
        subviews.push_back(viewNodeJson(subview.get(), labeller));
    return {
        { "class", view.className() },
        { "frame", { frame.origin.x, frame.origin.y, frame.size.width, frame.size.height } },
        { "tag", view.tag() },
        { "alpha", view.alpha() },
        { "hidden", view.isHidden() },
        { "text", optionalText(textOf(view)) },
        { "label", optionalText(accessibilityLabel(view, labeller)) },
        { "value", accessibilityValue(view) },
        { "subviews", std::move(subviews) },
    };
}

Json viewHierarchyJson(const AccessibilityLabeller& labeller)
{
    Json windows = Json::array();
    for (auto* window : uikit::UIApplication::sharedApplication().windows()) {
        window->layoutIfNeeded();
        windows.push_back(viewNodeJson(*window, labeller));
    }
    return { { "windows", std::move(windows) } };
}

}
