#pragma once

// Every case carries its budget: after its loop it reports what one iteration may cost
// ("budget_us"), what it cost in this run ("spent_us"), the share of the budget left
// ("margin_pct", negative when over) and "holds" (1 or 0), so one run shows whether every budget
// holds. The spent time is measured here, around the timed work only, so cases that prepare each
// iteration with the timer paused are judged on the timed part alone.

#include <benchmark/benchmark.h>

#include <chrono>

namespace bench {

class Budget {
public:
    using Clock = std::chrono::steady_clock;

    Budget(benchmark::State& state, std::chrono::nanoseconds budget)
        : m_state(state)
        , m_budget(budget)
    {
    }

    // Times the whole loop of a case that pauses nothing: start() just before it, then report().
    void start() { m_started = Clock::now(); }
    void stop() { m_spent += Clock::now() - m_started; }

    // What one iteration cost, as far as measured with start() and stop().
    std::chrono::nanoseconds spentPerIteration() const;

    // Sets the counters. `spent` overrides the measured figure (a budget on a difference).
    void report();
    void report(std::chrono::nanoseconds spentPerIteration);

private:
    benchmark::State& m_state;
    std::chrono::nanoseconds m_budget;
    Clock::time_point m_started {};
    Clock::duration m_spent {};
};

}
