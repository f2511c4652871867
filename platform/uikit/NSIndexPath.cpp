#include <uikit/NSIndexPath.h>

#include <cstdio>
#include <functional>

namespace uikit {

TORVANE_DEFINE_CLASS(NSIndexPath)

runtime::Ref<NSIndexPath> NSIndexPath::indexPathForRow(int row, int section)
{
    return runtime::adoptRef(*new NSIndexPath(row, section));
}

std::strong_ordering NSIndexPath::compare(const NSIndexPath& other) const
{
    if (auto order = m_section <=> other.m_section; order != 0)
        return order;
    return m_row <=> other.m_row;
}

std::string NSIndexPath::description() const
{
    char text[96];
    std::snprintf(text, sizeof text, "<NSIndexPath %p> 2 indexes [%d, %d]", static_cast<const void*>(this), m_section, m_row);
    return text;
}

bool NSIndexPath::isEqual(const runtime::Object* other) const
{
    auto path = runtime::dynamicCast<NSIndexPath>(other);
    return path && path->m_section == m_section && path->m_row == m_row;
}

size_t NSIndexPath::hash() const
{
    return std::hash<long long>()((static_cast<long long>(m_section) << 32) ^ static_cast<unsigned>(m_row));
}

}
