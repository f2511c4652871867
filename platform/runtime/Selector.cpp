#include <runtime/Selector.h>

#include <mutex>
#include <unordered_set>

namespace runtime {

namespace {
struct SelectorTable {
    std::mutex lock;
    std::unordered_set<std::string> names;
};

SelectorTable& selectorTable()
{
    static SelectorTable* table = new SelectorTable; // lives for the process, like the ObjC runtime's
    return *table;
}

const std::string& nullName()
{
    static const std::string empty;
    return empty;
}
}

Selector Selector::named(std::string_view name)
{
    auto& table = selectorTable();
    std::lock_guard guard(table.lock);
    auto [it, inserted] = table.names.emplace(name);
    return Selector(&*it);
}

const std::string& Selector::name() const
{
    return m_name ? *m_name : nullName();
}

}
