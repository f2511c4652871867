#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <vector>

namespace foundation {

// An immutable unordered collection of distinct (by isEqual) objects; touch events carry their
// touches in one. Iteration order is the order of first insertion, though callers must not rely
// on it; anyObject gives the first.
class NSSet final : public runtime::Object {
    TORVANE_OBJECT(NSSet, runtime::Object)
public:
    using Storage = std::vector<runtime::Ref<runtime::Object>>;

    static runtime::Ref<NSSet> create(const Storage& objects = {});

    size_t count() const { return m_objects.size(); }
    runtime::RefPtr<runtime::Object> anyObject() const;
    runtime::Ref<NSArray> allObjects() const;
    bool containsObject(const runtime::Object& object) const;

    Storage::const_iterator begin() const { return m_objects.begin(); }
    Storage::const_iterator end() const { return m_objects.end(); }

    // "{(\n    a,\n    b\n)}", elements as an array prints them.
    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override { return m_objects.size(); }

private:
    explicit NSSet(Storage objects)
        : m_objects(std::move(objects))
    {
    }

    Storage m_objects;
};

}
