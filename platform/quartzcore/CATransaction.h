#pragma once

// Groups layer changes. Between begin() and commit() the innermost transaction's settings apply to
// every animation added: its duration, whether implicit animations are disabled, and its completion.
// Outside any explicit transaction changes belong to an implicit one with the default settings
// (0.25 s, actions enabled, no completion).
//
// The completion runs once every animation added during the transaction has finished or been
// removed — from the run loop, when the animation's time is up, so 0.25 s of virtual time completes
// the default transaction. Completions of transactions whose animations end at the same moment run
// in commit order. A transaction that added no animation runs its completion at commit, before
// commit() returns. A completion set for a nested transaction belongs to that nested transaction.

#include <functional>

namespace quartzcore {

class CATransaction {
public:
    static void begin();
    // Commit without a matching begin() is ignored.
    static void commit();

    static double animationDuration();
    static void setAnimationDuration(double seconds);
    static bool disableActions();
    static void setDisableActions(bool disable);
    static void setCompletionBlock(std::function<void()> completion);

    // Number of open explicit transactions (for tests and sanity checks).
    static int depth();

    static constexpr double defaultDuration = 0.25;
};

}
