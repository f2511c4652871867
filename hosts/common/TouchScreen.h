#pragma once

// A finger on the screen of this process. Every touch goes in screen points (320 x 480) through
// the application's touch delivery: it begins in the front-most visible window whose hit test finds
// a view at the point, and stays with that view until it ends, as on a device. So a control that
// an alert, a sheet or the waiting display covers is not reached: the cover takes the touch.
//
// The hosts carry out every command that stands for a finger through here: they find the target on
// screen, take its centre and refuse, naming the cover, when a touch there would go elsewhere.

#include <foundation/Seconds.h>
#include <runtime/RefPtr.h>
#include <uikit/UIGeometry.h>

#include <string>
#include <string_view>

namespace uikit {
class UIScrollView;
class UIView;
}

namespace hosts {

class TouchScreen {
public:
    // How often a drag reports the finger's position, in the main run loop's (virtual) time.
    static constexpr double movesPerSecond = 60;
    static constexpr foundation::Seconds defaultDragDuration { 0.2 };

    // The view a touch beginning at the point would go to (nullptr: none), without touching.
    static uikit::UIView* viewAt(uikit::CGPoint);

    // The phases of one finger; each returns the view the touch belongs to.
    static uikit::UIView* begin(uikit::CGPoint);
    static uikit::UIView* move(uikit::CGPoint);
    static uikit::UIView* end(uikit::CGPoint);

    // Began and ended at one point.
    static runtime::RefPtr<uikit::UIView> tap(uikit::CGPoint);
    // Began at `from`, a move every 1/60 s of the main run loop's clock along the line (the clock
    // advancing in between, so timers due on the way run), the last move and the end at `to`.
    // Returns the view the touch began on.
    static runtime::RefPtr<uikit::UIView> drag(uikit::CGPoint from, uikit::CGPoint to, foundation::Seconds duration = defaultDragDuration);
    // The number of moves a drag of that duration makes (at least one).
    static int dragMoves(foundation::Seconds duration);

    // The view's centre in screen points.
    static uikit::CGPoint centreOf(const uikit::UIView&);
    // The centre of `view` when a touch there reaches it (or a view inside it). Otherwise throws a
    // ControlError: "<what> is covered by <cover>", "<what> does not take touches" (the touch would
    // go to a view around it) or "<what> is not on screen".
    static uikit::CGPoint reachableCentre(uikit::UIView& view, std::string_view what);
    // Refuses as reachableCentre does unless a touch at `screenPoint` reaches `view`.
    static void requireReach(uikit::UIView& view, uikit::CGPoint screenPoint, std::string_view what);
    // A tap at reachableCentre(view, what).
    static void tapView(uikit::UIView& view, std::string_view what);

    // A finger on the button titled `title` of the topmost alert (action sheet). Throws a
    // ControlError when none shows such a button or something covers it.
    static void tapAlertButton(const std::string& title);
    static void tapSheetButton(const std::string& title);

    // Drags `scrollView` with a finger, as a user scrolls, until `rect` (in its content coordinates)
    // lies within its visible bounds. Throws a ControlError saying that `what` cannot be reached
    // when the list does not scroll that far or something covers it where the finger would go down.
    static void dragIntoView(uikit::UIScrollView& scrollView, uikit::CGRect rect, std::string_view what);
    // The part of the view that shows on the screen, in screen points.
    static uikit::CGRect visibleFrame(const uikit::UIView&);

    // What a reader of the screen would call the thing a touch went to instead: "the alert
    // 'Themes'", "the action sheet 'Reset'", "the waiting display 'Loading'", "a UINavigationBar".
    static std::string describeCover(uikit::UIView& hit);
};

}
