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

void serveTouchCommands(ControlServer& server)
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
}

}
