#include <quartzcore/CATransaction.h>
#include <quartzcore/TransactionState.h>

#include <foundation/RunLoop.h>

#include <vector>

namespace quartzcore {

namespace {

struct OpenTransaction {
    double duration;
    bool disableActions;
    std::shared_ptr<detail::CompletionGroup> group;
};

// Layers belong to the main thread, like the run loop that drives their animations.
std::vector<OpenTransaction>& stack()
{
    static std::vector<OpenTransaction> transactions;
    return transactions;
}

}

namespace detail {

void CompletionGroup::animationEnded(bool fromTimer)
{
    if (m_pending > 0)
        --m_pending;
    runIfDone(!fromTimer);
}

void CompletionGroup::committed()
{
    m_committed = true;
    runIfDone(false);
}

void CompletionGroup::runIfDone(bool deferred)
{
    if (m_ran || !m_committed || m_pending > 0)
        return;
    m_ran = true;
    auto completion = std::move(m_completion);
    if (!completion)
        return;
    if (deferred)
        foundation::RunLoop::main().dispatch(std::move(completion));
    else
        completion();
}

TransactionSettings currentTransaction()
{
    auto& open = stack();
    if (open.empty())
        return { CATransaction::defaultDuration, false, nullptr };
    auto& top = open.back();
    return { top.duration, top.disableActions, top.group };
}

}

void CATransaction::begin()
{
    auto& open = stack();
    // A nested transaction starts with its parent's settings but has its own completion.
    double duration = open.empty() ? defaultDuration : open.back().duration;
    bool disable = open.empty() ? false : open.back().disableActions;
    open.push_back({ duration, disable, std::make_shared<detail::CompletionGroup>(nullptr) });
}

void CATransaction::commit()
{
    auto& open = stack();
    if (open.empty())
        return;
    auto group = std::move(open.back().group);
    open.pop_back();
    group->committed();
}

double CATransaction::animationDuration()
{
    return detail::currentTransaction().duration;
}

void CATransaction::setAnimationDuration(double seconds)
{
    auto& open = stack();
    if (!open.empty())
        open.back().duration = seconds < 0 ? 0 : seconds;
}

bool CATransaction::disableActions()
{
    return detail::currentTransaction().disableActions;
}

void CATransaction::setDisableActions(bool disable)
{
    auto& open = stack();
    if (!open.empty())
        open.back().disableActions = disable;
}

void CATransaction::setCompletionBlock(std::function<void()> completion)
{
    auto& open = stack();
    if (!open.empty())
        open.back().group->setCompletion(std::move(completion));
}

int CATransaction::depth()
{
    return static_cast<int>(stack().size());
}

}
