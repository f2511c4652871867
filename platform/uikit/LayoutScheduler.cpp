#include <uikit/LayoutScheduler.h>

#include <foundation/RunLoop.h>
#include <uikit/UIApplication.h>
#include <uikit/UIWindow.h>

#include <vector>

namespace uikit {

namespace {
foundation::RunLoop::Handle pendingPass;
}

void LayoutScheduler::scheduleLayoutPass()
{
    // The handle (not a flag) tells whether a pass is still waiting, so a loop whose pending work
    // was discarded gets a new pass.
    if (pendingPass.isPending())
        return;
    pendingPass = foundation::RunLoop::main().dispatch([] { runLayoutPass(); });
}

void LayoutScheduler::runLayoutPass()
{
    // Without an application object there is no visible window; do not make one here, so a host
    // can still install its own.
    UIApplication* application = UIApplication::existingSharedApplication();
    if (!application)
        return;
    // Held strongly first: laying out one window may release another.
    std::vector<runtime::Ref<UIWindow>> windows;
    for (UIWindow* window : application->windows())
        windows.emplace_back(*window);
    for (auto& window : windows)
        window->layoutIfNeeded();
}

}
