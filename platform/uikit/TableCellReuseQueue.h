#pragma once

// Internal to uikit: the cells a table has taken off screen, waiting per reuse identifier to be
// handed out again by dequeueReusableCellWithIdentifier. Cells without an identifier are not kept,
// a cell is never queued twice, and at most a few screenfuls wait per identifier.

#include <runtime/Ref.h>
#include <uikit/UITableViewCell.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace uikit {

class TableCellReuseQueue {
public:
    // Cells kept waiting per identifier; more than a screenful is never needed.
    static constexpr size_t maximumPerIdentifier = 32;

    // The most recently queued cell for `identifier`, prepared for reuse, or nullptr.
    runtime::RefPtr<UITableViewCell> dequeue(const std::string& identifier);
    void enqueue(runtime::Ref<UITableViewCell> cell);
    // Takes the cell out of the queue, for a cell the data source handed out without dequeuing it.
    void remove(const UITableViewCell& cell);
    size_t count(const std::string& identifier) const;

private:
    std::unordered_map<std::string, std::vector<runtime::Ref<UITableViewCell>>> m_queues;
};

}
