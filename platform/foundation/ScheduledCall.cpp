#include <foundation/ScheduledCall.h>

#include <utility>

namespace foundation {

ScheduledCall ScheduledCall::onNextTurn(RunLoop::Function function)
{
    return ScheduledCall(RunLoop::main().dispatch(std::move(function)));
}

ScheduledCall ScheduledCall::afterDelay(Seconds delay, RunLoop::Function function)
{
    return ScheduledCall(RunLoop::main().dispatchAfter(delay, std::move(function)));
}

ScheduledCall ScheduledCall::timer(Seconds interval, RunLoop::Repeats repeats, RunLoop::Function function)
{
    return ScheduledCall(RunLoop::main().addTimer(interval, repeats, std::move(function)));
}

ScheduledCall::ScheduledCall(ScheduledCall&& other) noexcept
    : m_handle(std::exchange(other.m_handle, {}))
{
}

ScheduledCall& ScheduledCall::operator=(ScheduledCall&& other) noexcept
{
    if (this != &other) {
        // Take the other call first: cancelling ours destroys its work, which may reach this object.
        RunLoop::Handle incoming = std::exchange(other.m_handle, {});
        RunLoop::Handle outgoing = std::exchange(m_handle, incoming);
        outgoing.cancel();
    }
    return *this;
}

void ScheduledCall::cancel()
{
    RunLoop::Handle handle = std::exchange(m_handle, {});
    handle.cancel();
}

}
