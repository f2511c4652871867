#pragma once

#include <foundation/Seconds.h>
#include <runtime/Object.h>

#include <functional>

namespace foundation {

// Delayed calls on the main run loop, like -performSelector:withObject:afterDelay:. The target is
// kept alive until the call has run or been cancelled, as Foundation retains it, so the call may
// safely use the target it was made for. A delay of zero runs on the next turn.
void performAfterDelay(runtime::Ref<runtime::Object> target, Seconds delay, std::function<void()> call);

// Cancels every delayed call made for `target` that has not run yet and releases the target's hold.
void cancelPreviousPerformRequestsWithTarget(runtime::Object& target);

// How many delayed calls for `target` are waiting (for tests and diagnostics).
size_t pendingPerformRequestCount(const runtime::Object& target);

}
