#include "Budget.h"

namespace bench {

std::chrono::nanoseconds Budget::spentPerIteration() const
{
    auto iterations = m_state.iterations();
    if (iterations == 0)
        return {};
    return std::chrono::duration_cast<std::chrono::nanoseconds>(m_spent) / static_cast<long long>(iterations);
}

void Budget::report() { report(spentPerIteration()); }

void Budget::report(std::chrono::nanoseconds spent)
{
    double budgetUs = static_cast<double>(m_budget.count()) / 1000;
    double spentUs = static_cast<double>(spent.count()) / 1000;
    m_state.counters["budget_us"] = budgetUs;
    m_state.counters["spent_us"] = spentUs;
    m_state.counters["margin_pct"] = budgetUs > 0 ? 100 * (budgetUs - spentUs) / budgetUs : 0;
    m_state.counters["holds"] = spentUs <= budgetUs ? 1 : 0;
}

}
