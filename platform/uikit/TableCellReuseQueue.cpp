#include <uikit/TableCellReuseQueue.h>

#include <algorithm>

namespace uikit {

runtime::RefPtr<UITableViewCell> TableCellReuseQueue::dequeue(const std::string& identifier)
{
    auto queue = m_queues.find(identifier);
    if (queue == m_queues.end() || queue->second.empty())
        return nullptr;
    runtime::Ref<UITableViewCell> cell = queue->second.back();
    queue->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void TableCellReuseQueue::enqueue(runtime::Ref<UITableViewCell> cell)
{
    if (cell->reuseIdentifier().empty())
        return;
    auto& queue = m_queues[cell->reuseIdentifier()];
    if (queue.size() < maximumPerIdentifier && std::none_of(queue.begin(), queue.end(), [&](auto& queued) { return queued.ptr() == cell.ptr(); }))
        queue.push_back(std::move(cell));
}

void TableCellReuseQueue::remove(const UITableViewCell& cell)
{
    for (auto& [identifier, queue] : m_queues)
        std::erase_if(queue, [&](auto& queued) { return queued.ptr() == &cell; });
}

size_t TableCellReuseQueue::count(const std::string& identifier) const
{
    auto queue = m_queues.find(identifier);
    return queue == m_queues.end() ? 0 : queue->second.size();
}

}
