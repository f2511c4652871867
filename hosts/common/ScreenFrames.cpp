#include "ScreenFrames.h"

#include "ControlServer.h"
#include "Screenshot.h"

#include <quartzcore/CALayer.h>
#include <uikit/UIApplication.h>
#include <uikit/UIWindow.h>

namespace hosts {

namespace {

// Requests answered while an animation ran; each of them showed a moment of its own.
uint64_t g_animatedFrames = 0;

uint64_t generation() { return quartzcore::CALayer::displayChangeCount() + g_animatedFrames; }

}

void serveScreenFrames(ControlServer& server)
{
    server.serve("frame", [](const Command& command) -> Json {
        if (quartzcore::CALayer::animationsInFlight() > 0)
            ++g_animatedFrames;
        auto since = static_cast<uint64_t>(command.number(0));
        if (since != 0 && generation() == since)
            return { { "changed", false }, { "generation", since } };
        auto scale = command.hasArgument(2) ? static_cast<uikit::CGFloat>(command.integer(2)) : 2;
        auto picture = uikit::UIApplication::sharedApplication().renderScreen(scale);
        writeScreenshot(picture, command.argument(1));
        // Drawing lays out what was waiting for it; the number after it stands for this picture.
        return { { "changed", true }, { "generation", generation() } };
    });
}

}
