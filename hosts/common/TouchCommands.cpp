#include "TouchCommands.h"

#include "ControlServer.h"
#include "TouchScreen.h"

#include <uikit/UIView.h>

namespace hosts {

namespace {

uikit::CGPoint pointAt(const Command& command, size_t index)
{
    return { static_cast<uikit::CGFloat>(command.number(index)), static_cast<uikit::CGFloat>(command.number(index + 1)) };
}

Json chainOf(const uikit::UIView* view, const AccessibilityLabeller& labeller)
{
    Json chain = Json::array();
    for (; view; view = view->superview()) {
        auto label = accessibilityLabelOf(*view, labeller);
        chain.push_back({ { "class", view->className() }, { "label", label ? Json(*label) : Json(nullptr) } });
    }
    return chain;
}

// The view a hand-moved finger went down on, held until the finger lifts: a touch that ends an
// application takes its icon view out of the switcher bar before the answer names it.
runtime::RefPtr<uikit::UIView> g_fingerView;

}

Json touchAnswer(const uikit::UIView* touched)
{
    return { { "touched", touched ? Json(touched->className()) : Json(nullptr) } };
}

Json dragAnswer(const uikit::UIView* touched, double elapsedSeconds)
{
    Json answer = touchAnswer(touched);
    answer["elapsed"] = elapsedSeconds;
    return answer;
}

void serveTouchCommands(ControlServer& server, AccessibilityLabeller labeller)
{
    // The first argument names the process; the table has already routed the request here.
    server.serve("tap", [](const Command& command) -> Json {
        auto touched = TouchScreen::tap(pointAt(command, 1));
        return touchAnswer(touched.get());
    });
    server.serve("drag", [](const Command& command) -> Json {
        foundation::Seconds duration = TouchScreen::defaultDragDuration;
        if (command.argumentCount() >= 7 && command.argument(5) == "seconds")
            duration = foundation::Seconds(command.number(6));
        auto touched = TouchScreen::drag(pointAt(command, 1), pointAt(command, 3), duration);
        return dragAnswer(touched.get(), TouchScreen::dragMoves(duration) / TouchScreen::movesPerSecond);
    });
    server.serve("finger", [labeller = std::move(labeller)](const Command& command) -> Json {
        const std::string& phase = command.argument(0);
        auto point = pointAt(command, 1);
        if (phase == "began") {
            // A finger that went down while another was still on the glass (its lift was lost
            // on the way) lifts the old one first, where it is.
            if (g_fingerView)
                TouchScreen::end(point);
            g_fingerView = TouchScreen::begin(point);
            Json answer = touchAnswer(g_fingerView.get());
            answer["chain"] = chainOf(g_fingerView.get(), labeller);
            return answer;
        }
        if (phase == "moved")
            return touchAnswer(TouchScreen::move(point));
        auto held = std::move(g_fingerView);
        return touchAnswer(TouchScreen::end(point));
    });
}

}
