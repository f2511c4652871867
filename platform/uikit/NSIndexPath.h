#pragma once

// A row's address in a table: a section and a row within it (UIKit's table additions to
// NSIndexPath). Immutable; equal when section and row are equal, so index paths work as keys and
// in arrays compared with isEqual.

#include <runtime/Object.h>

#include <compare>
#include <string>

namespace uikit {

class NSIndexPath final : public runtime::Object {
    TORVANE_OBJECT(NSIndexPath, runtime::Object)
public:
    // indexPathForRow:inSection:
    static runtime::Ref<NSIndexPath> indexPathForRow(int row, int section);

    int section() const { return m_section; }
    int row() const { return m_row; }

    // Section first, then row: the order rows appear in a table.
    std::strong_ordering compare(const NSIndexPath& other) const;

    // "<NSIndexPath 0x...> 2 indexes [section, row]", as Foundation prints it.
    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override;

private:
    NSIndexPath(int row, int section)
        : m_section(section)
        , m_row(row)
    {
    }

    int m_section;
    int m_row;
};

}
