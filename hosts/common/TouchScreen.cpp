#include "TouchScreen.h"

#include <sim/protocol/ControlError.h>

#include <foundation/RunLoop.h>
#include <uikit/UIActionSheet.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIButton.h>
#include <uikit/UIApplication.h>
#include <uikit/UIProgressHUD.h>
#include <uikit/UIScreen.h>
#include <uikit/UIScrollView.h>
#include <uikit/UIWindow.h>

#include <algorithm>
#include <cmath>

namespace hosts {

using sim::protocol::ControlError;
using uikit::CGPoint;
using uikit::CGRect;
using uikit::UIView;

namespace {

uikit::UIApplication& application() { return uikit::UIApplication::sharedApplication(); }

std::string quoted(const std::optional<std::string>& text)
{
    return text && !text->empty() ? " '" + *text + "'" : std::string();
}

// A waiting display shown over the point: it takes no touches itself, but what lies under it is
// not for touching either.
uikit::UIProgressHUD* waitingDisplayAt(UIView& view, CGPoint point)
{
    if (view.isHidden() || view.alpha() <= 0.01f)
        return nullptr;
    if (auto* hud = runtime::dynamicCast<uikit::UIProgressHUD>(&view))
        return graphics::CGRectContainsPoint(TouchScreen::visibleFrame(*hud), point) ? hud : nullptr;
    auto& subviews = view.subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        if (auto* hud = waitingDisplayAt(it->get(), point))
            return hud;
    }
    return nullptr;
}

bool isWithin(const UIView* view, const UIView& ancestor)
{
    return view && (view == &ancestor || view->isDescendantOfView(&ancestor));
}

}

UIView* TouchScreen::viewAt(CGPoint point)
{
    auto windows = application().windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        uikit::UIWindow& window = **it;
        window.layoutIfNeeded();
        CGRect frame = window.frame();
        CGPoint origin = window.bounds().origin;
        if (UIView* hit = window.hitTest({ point.x - frame.origin.x + origin.x, point.y - frame.origin.y + origin.y }, nullptr))
            return hit;
    }
    return nullptr;
}

UIView* TouchScreen::begin(CGPoint point) { return application().injectTouch(uikit::UITouchPhaseBegan, point); }
UIView* TouchScreen::move(CGPoint point) { return application().injectTouch(uikit::UITouchPhaseMoved, point); }
UIView* TouchScreen::end(CGPoint point) { return application().injectTouch(uikit::UITouchPhaseEnded, point); }

runtime::RefPtr<UIView> TouchScreen::tap(CGPoint point)
{
    runtime::RefPtr<UIView> touched = begin(point);
    end(point);
    return touched;
}

int TouchScreen::dragMoves(foundation::Seconds duration)
{
    return std::max(1, static_cast<int>(std::lround(duration.value() * movesPerSecond)));
}

runtime::RefPtr<UIView> TouchScreen::drag(CGPoint from, CGPoint to, foundation::Seconds duration)
{
    runtime::RefPtr<UIView> touched = begin(from);
    int moves = dragMoves(duration);
    foundation::Seconds frame(1 / movesPerSecond);
    for (int step = 1; step <= moves; ++step) {
        foundation::RunLoop::main().advanceBy(frame);
        auto fraction = static_cast<uikit::CGFloat>(step) / static_cast<uikit::CGFloat>(moves);
        move({ from.x + (to.x - from.x) * fraction, from.y + (to.y - from.y) * fraction });
    }
    end(to);
    return touched;
}

CGPoint TouchScreen::centreOf(const UIView& view)
{
    CGRect bounds = view.bounds();
    return view.convertPointToView({ graphics::CGRectGetMidX(bounds), graphics::CGRectGetMidY(bounds) }, nullptr);
}

CGRect TouchScreen::visibleFrame(const UIView& view)
{
    CGRect frame { view.convertPointToView(view.bounds().origin, nullptr), view.bounds().size };
    // Every enclosing view that clips (a scroll view) cuts it down, and so does the screen.
    for (const UIView* ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        if (!runtime::dynamicCast<uikit::UIScrollView>(ancestor))
            continue;
        CGRect clip { ancestor->convertPointToView(ancestor->bounds().origin, nullptr), ancestor->bounds().size };
        frame = graphics::CGRectIntersection(frame, clip);
    }
    return graphics::CGRectIntersection(frame, uikit::UIScreen::mainScreen().bounds());
}

CGPoint TouchScreen::reachableCentre(UIView& view, std::string_view what)
{
    runtime::Ref<UIView> protect(view);
    if (!view.window() || view.window()->isHidden())
        throw ControlError(std::string(what) + " is not on screen");
    view.window()->layoutIfNeeded();
    for (const UIView* ancestor = &view; ancestor; ancestor = ancestor->superview()) {
        if (ancestor->isHidden() || ancestor->alpha() <= 0.01f)
            throw ControlError(std::string(what) + " is not on screen (hidden)");
    }
    CGRect visible = visibleFrame(view);
    if (graphics::CGRectIsEmpty(visible))
        throw ControlError(std::string(what) + " is out of view");
    CGPoint centre = centreOf(view);
    if (!graphics::CGRectContainsPoint(visible, centre))
        centre = { graphics::CGRectGetMidX(visible), graphics::CGRectGetMidY(visible) };
    requireReach(view, centre, what);
    return centre;
}

void TouchScreen::requireReach(UIView& view, CGPoint screenPoint, std::string_view what)
{
    UIView* hit = viewAt(screenPoint);
    if (isWithin(hit, view))
        return;
    if (!hit)
        throw ControlError(std::string(what) + " is not on screen");
    if (auto* window = view.window(); window && window == hit->window()) {
        if (auto* hud = waitingDisplayAt(*window, screenPoint))
            throw ControlError(std::string(what) + " is covered by " + describeCover(*hud));
    }
    if (view.isDescendantOfView(hit) && hit->window() == view.window())
        throw ControlError(std::string(what) + " does not take touches (a touch there goes to the " + hit->className() + " around it)");
    throw ControlError(std::string(what) + " is covered by " + describeCover(*hit));
}

void TouchScreen::tapView(UIView& view, std::string_view what)
{
    runtime::Ref<UIView> protect(view);
    tap(reachableCentre(view, what));
}

void TouchScreen::dragIntoView(uikit::UIScrollView& scrollView, CGRect rect, std::string_view what)
{
    runtime::Ref<uikit::UIScrollView> protect(scrollView);
    constexpr int maximumDrags = 40;
    for (int attempt = 0;; ++attempt) {
        scrollView.layoutIfNeeded();
        CGRect bounds = scrollView.bounds();
        uikit::CGFloat needed = 0;
        if (graphics::CGRectGetMinY(rect) < graphics::CGRectGetMinY(bounds))
            needed = graphics::CGRectGetMinY(rect) - graphics::CGRectGetMinY(bounds);
        else if (graphics::CGRectGetMaxY(rect) > graphics::CGRectGetMaxY(bounds))
            needed = std::min(graphics::CGRectGetMaxY(rect) - graphics::CGRectGetMaxY(bounds), graphics::CGRectGetMinY(rect) - graphics::CGRectGetMinY(bounds));
        if (needed == 0)
            return;
        if (attempt == maximumDrags)
            throw ControlError(std::string(what) + " cannot be reached: the list would not scroll to it");

        // A finger down in the list's visible part, moved against the way the content should go:
        // never more than most of the list's height at once, and always past the distance below
        // which a finger counts as a tap.
        CGRect visible = visibleFrame(scrollView);
        uikit::CGFloat reach = visible.size.height * 0.7f;
        if (reach <= uikit::UIScrollView::dragThreshold * 2)
            throw ControlError(std::string(what) + " cannot be reached: its list shows too little of itself to scroll");
        uikit::CGFloat distance = std::clamp(std::abs(needed), uikit::UIScrollView::dragThreshold * 2, reach);
        uikit::CGFloat x = graphics::CGRectGetMidX(visible);
        uikit::CGFloat margin = (visible.size.height - distance) / 2;
        CGPoint from { x, needed > 0 ? graphics::CGRectGetMaxY(visible) - margin : graphics::CGRectGetMinY(visible) + margin };
        CGPoint to { x, needed > 0 ? from.y - distance : from.y + distance };
        UIView* hit = viewAt(from);
        if (!isWithin(hit, scrollView)) {
            if (!hit)
                throw ControlError(std::string(what) + " is out of view, and its list is not on screen to scroll");
            if (auto* window = scrollView.window(); window && window == hit->window()) {
                if (auto* hud = waitingDisplayAt(*window, from))
                    throw ControlError(std::string(what) + " is covered by " + describeCover(*hud) + " (out of view, in a list that cannot be scrolled)");
            }
            if (scrollView.isDescendantOfView(hit) && hit->window() == scrollView.window())
                throw ControlError(std::string(what) + " is out of view, and its list takes no touches now (a touch there goes to the " + hit->className() + " around it)");
            throw ControlError(std::string(what) + " is covered by " + describeCover(*hit) + " (out of view, in a list that cannot be scrolled)");
        }
        CGPoint before = scrollView.contentOffset();
        drag(from, to);
        if (scrollView.contentOffset().y == before.y)
            throw ControlError(std::string(what) + " cannot be reached: the list does not scroll any further");
    }
}

namespace {

template<typename View>
void tapButtonOfTop(const std::vector<runtime::Ref<View>>& shown, const std::string& title, const std::string& kind)
{
    if (!shown.empty()) {
        runtime::Ref<View> top = shown.back();
        for (int index = 0; index < top->numberOfButtons(); ++index) {
            if (top->buttonTitleAtIndex(index) == title) {
                TouchScreen::tapView(*top->buttonAtIndex(index), "the " + kind + "'s '" + title + "' button");
                return;
            }
        }
    }
    throw ControlError("no " + kind + " shows a button \"" + title + "\"");
}

}

void TouchScreen::tapAlertButton(const std::string& title)
{
    tapButtonOfTop(uikit::UIAlertView::visibleAlerts(), title, "alert");
}

void TouchScreen::tapSheetButton(const std::string& title)
{
    tapButtonOfTop(uikit::UIActionSheet::visibleSheets(), title, "action sheet");
}

std::string TouchScreen::describeCover(UIView& hit)
{
    for (UIView* view = &hit; view; view = view->superview()) {
        if (auto* alert = runtime::dynamicCast<uikit::UIAlertView>(view))
            return "the alert" + quoted(alert->title());
        if (auto* sheet = runtime::dynamicCast<uikit::UIActionSheet>(view))
            return "the action sheet" + quoted(sheet->title());
        if (auto* hud = runtime::dynamicCast<uikit::UIProgressHUD>(view))
            return "the waiting display" + quoted(std::optional<std::string>(hud->text()));
    }
    // The dimming around an alert or a sheet belongs to the one on top.
    if (hit.window() && hit.window()->windowLevel() >= uikit::UIWindowLevelAlert) {
        auto alerts = uikit::UIAlertView::visibleAlerts();
        if (!alerts.empty())
            return "the alert" + quoted(alerts.back()->title());
    }
    if (auto sheets = uikit::UIActionSheet::visibleSheets(); !sheets.empty() && std::string_view(hit.className()) == "ActionSheetDimmingView")
        return "the action sheet" + quoted(sheets.back()->title());
    return std::string("a ") + hit.className();
}

}
