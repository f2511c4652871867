#pragma once

// Internal to quartzcore: the open transactions and the completion bookkeeping that links the
// animations added during a transaction to its completion.

#include <functional>
#include <memory>

namespace quartzcore::detail {

// One transaction's completion: runs once the transaction has been committed and every animation
// counted against it has ended.
class CompletionGroup {
public:
    explicit CompletionGroup(std::function<void()> completion)
        : m_completion(std::move(completion))
    {
    }
    void animationAdded() { ++m_pending; }
    // `fromTimer` is true when the animation ended because its time was up (the completion may run
    // right there); an animation removed or replaced by code runs the completion on the next
    // run-loop turn instead, so it never runs inside the caller's own change.
    void animationEnded(bool fromTimer);
    void committed();
    void setCompletion(std::function<void()> completion) { m_completion = std::move(completion); }

private:
    void runIfDone(bool deferred);

    std::function<void()> m_completion;
    int m_pending { 0 };
    bool m_committed { false };
    bool m_ran { false };
};

struct TransactionSettings {
    double duration;
    bool disableActions;
    std::shared_ptr<CompletionGroup> group; // null for the implicit transaction
};

// The innermost open transaction's settings, or the implicit transaction's.
TransactionSettings currentTransaction();

}
