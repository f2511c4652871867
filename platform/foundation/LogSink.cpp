#include <foundation/LogSink.h>

#include <deque>
#include <mutex>

namespace foundation {

namespace {

struct SinkState {
    std::mutex mutex;
    std::deque<std::string> lines;
};

SinkState& state()
{
    static SinkState* sink = new SinkState;
    return *sink;
}

}

std::vector<std::string> LogSink::lines()
{
    auto& sink = state();
    std::lock_guard lock(sink.mutex);
    return { sink.lines.begin(), sink.lines.end() };
}

void LogSink::clear()
{
    auto& sink = state();
    std::lock_guard lock(sink.mutex);
    sink.lines.clear();
}

void LogSink::append(std::string_view message)
{
    auto& sink = state();
    std::lock_guard lock(sink.mutex);
    sink.lines.emplace_back(message);
    while (sink.lines.size() > capacity)
        sink.lines.pop_front();
}

bool LogSink::contains(std::string_view fragment)
{
    auto& sink = state();
    std::lock_guard lock(sink.mutex);
    for (auto& line : sink.lines) {
        if (line.find(fragment) != std::string::npos)
            return true;
    }
    return false;
}

}
