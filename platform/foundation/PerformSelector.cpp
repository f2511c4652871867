#include <foundation/PerformSelector.h>

#include <foundation/RunLoop.h>
#include <foundation/ScheduledCall.h>

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace foundation {

namespace {

struct PendingCall {
    uint64_t id;
    ScheduledCall call;
};

// Outstanding calls by target, so they can be cancelled by target. Keyed by address: an entry
// exists only while its call holds the target, so the address cannot be reused meanwhile.
using PendingCalls = std::unordered_multimap<const runtime::Object*, PendingCall>;

PendingCalls& pendingCalls()
{
    static PendingCalls* calls = new PendingCalls;
    return *calls;
}

void forgetCall(const runtime::Object* target, uint64_t id)
{
    auto& calls = pendingCalls();
    auto range = calls.equal_range(target);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second.id == id) {
            calls.erase(it);
            return;
        }
    }
}

}

void performAfterDelay(runtime::Ref<runtime::Object> target, Seconds delay, std::function<void()> call)
{
    static uint64_t nextId = 1;
    uint64_t id = nextId++;
    const runtime::Object* key = target.ptr();
    auto scheduled = ScheduledCall::afterDelay(delay, [target = std::move(target), call = std::move(call), id] {
        forgetCall(target.ptr(), id);
        call();
    });
    pendingCalls().emplace(key, PendingCall { id, std::move(scheduled) });
}

void cancelPreviousPerformRequestsWithTarget(runtime::Object& target)
{
    auto& calls = pendingCalls();
    auto range = calls.equal_range(&target);
    if (range.first == range.second)
        return;
    // Cancelling may release the last reference to the target; keep it until we are done.
    runtime::Ref<runtime::Object> protect(target);
    // Off the table before any is cancelled, so whatever a cancelled call releases sees none of them.
    std::vector<ScheduledCall> cancelled;
    for (auto it = range.first; it != range.second; ++it)
        cancelled.push_back(std::move(it->second.call));
    calls.erase(range.first, range.second);
    cancelled.clear();
}

size_t pendingPerformRequestCount(const runtime::Object& target)
{
    // Only calls still on the loop's schedule count (the loop may have discarded its work).
    auto range = pendingCalls().equal_range(&target);
    size_t count = 0;
    for (auto it = range.first; it != range.second; ++it)
        count += it->second.call.isPending() ? 1 : 0;
    return count;
}

}
