#include <foundation/NSMutableArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSSet.h>
#include <foundation/NSSortDescriptor.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace foundation;
using runtime::Object;
using runtime::Ref;

namespace {

std::vector<std::string> texts(const NSArray& array)
{
    std::vector<std::string> result;
    for (const auto& element : array)
        result.push_back(element->description());
    return result;
}
using Texts = std::vector<std::string>;

Ref<NSDictionary> app(const char* name, const char* ram)
{
    return NSDictionary::create({ { "AppName", NSStr(name) }, { "RAM", NSStr(ram) } });
}

}

TEST(ValuesCollection, ArrayLookupsUseIsEqual)
{
    auto array = NSArray::create({ NSStr("a"), NSNumber::numberWithInt(1), NSStr("b") });
    EXPECT_EQ(array->count(), 3u);
    EXPECT_EQ(array->indexOfObject(NSStr("b")), 2u);
    EXPECT_EQ(array->indexOfObject(NSNumber::numberWithBool(true)), 1u); // YES equals 1
    EXPECT_EQ(array->indexOfObject(NSStr("z")), NSNotFound);
    EXPECT_TRUE(array->containsObject(NSStr("a")));
    EXPECT_EQ(array->firstObject()->description(), "a");
    EXPECT_EQ(array->lastObject()->description(), "b");
    EXPECT_THROW(array->objectAtIndex(3), std::out_of_range);

    auto empty = NSArray::create();
    EXPECT_FALSE(empty->firstObject());
    EXPECT_FALSE(empty->lastObject());
}

TEST(ValuesCollection, MutableArrayEditing)
{
    auto array = NSMutableArray::create();
    array->addObject(NSStr("x"));
    array->addObject(NSStr("y"));
    array->addObject(NSStr("x"));
    array->insertObjectAtIndex(NSStr("first"), 0);
    array->insertObjectAtIndex(NSStr("last"), array->count());
    EXPECT_EQ(texts(array), (Texts { "first", "x", "y", "x", "last" }));

    array->removeObject(NSStr("x")); // every equal element goes
    EXPECT_EQ(texts(array), (Texts { "first", "y", "last" }));
    array->removeObjectAtIndex(0);
    array->replaceObjectAtIndexWithObject(1, NSStr("end"));
    EXPECT_EQ(texts(array), (Texts { "y", "end" }));
    array->addObjectsFromArray(array); // itself: doubles, does not loop
    EXPECT_EQ(texts(array), (Texts { "y", "end", "y", "end" }));

    EXPECT_THROW(array->insertObjectAtIndex(NSStr("z"), 9), std::out_of_range);
    EXPECT_THROW(array->removeObjectAtIndex(4), std::out_of_range);
    EXPECT_THROW(array->replaceObjectAtIndexWithObject(4, NSStr("z")), std::out_of_range);
    array->removeAllObjects();
    EXPECT_EQ(array->count(), 0u);
}

TEST(ValuesCollection, RemovingTheOnlyReferenceWhileComparingIsSafe)
{
    auto array = NSMutableArray::create();
    {
        auto only = NSStr("gone");
        array->addObject(only);
    }
    // The argument is the array's own element, its last reference apart from ours.
    Object& element = array->objectAtIndex(0);
    array->removeObject(element);
    EXPECT_EQ(array->count(), 0u);
}

TEST(ValuesCollection, CopiesAreIndependent)
{
    auto original = NSMutableArray::create({ NSStr("a") });
    auto frozen = original->copy();
    auto changed = frozen->mutableCopy();
    original->addObject(NSStr("b"));
    changed->addObject(NSStr("c"));
    EXPECT_EQ(texts(frozen), (Texts { "a" }));
    EXPECT_FALSE(frozen->isKindOf<NSMutableArray>());
    EXPECT_EQ(texts(changed), (Texts { "a", "c" }));
    EXPECT_TRUE(original->isEqual(NSArray::create({ NSStr("a"), NSStr("b") }).ptr()));
    EXPECT_FALSE(original->isEqual(frozen.ptr()));
}

TEST(ValuesCollection, SortsAreStable)
{
    auto array = NSMutableArray::create();
    const char* names[] = { "b1", "a1", "b2", "c1", "a2", "b3" };
    for (const char* name : names)
        array->addObject(NSStr(name));
    array->sortUsingComparator([](Object& x, Object& y) {
        return static_cast<int>(x.description()[0]) - static_cast<int>(y.description()[0]);
    });
    EXPECT_EQ(texts(array), (Texts { "a1", "a2", "b1", "b2", "b3", "c1" }));
}

TEST(ValuesCollection, AnInconsistentComparatorCannotBreakTheArray)
{
    auto array = NSMutableArray::create();
    for (int i = 0; i < 200; ++i)
        array->addObject(NSNumber::numberWithInt(i % 7));
    array->sortUsingComparator([](Object&, Object&) { return -1; }); // "always less"
    EXPECT_EQ(array->count(), 200u);
    int sum = 0;
    for (const auto& element : *array)
        sum += runtime::dynamicCast<NSNumber>(element)->intValue();
    int expected = 0;
    for (int i = 0; i < 200; ++i)
        expected += i % 7;
    EXPECT_EQ(sum, expected); // same elements, nothing lost or duplicated
}

TEST(ValuesCollection, SortUsingSelectorOrdersLettersWithLocalizedCompare)
{
    auto letters = NSMutableArray::create({ NSStr("b"), NSStr("A"), NSStr("#"), NSStr("a"), NSStr("C") });
    letters->sortUsingSelector(SortSelector::LocalizedCompare);
    EXPECT_EQ(texts(letters), (Texts { "#", "a", "A", "b", "C" }));
    letters->sortUsingSelector(SortSelector::Compare);
    EXPECT_EQ(texts(letters), (Texts { "#", "A", "C", "a", "b" }));

    // Mixed kinds keep a consistent order instead of failing.
    auto mixed = NSMutableArray::create({ NSStr("x"), NSNumber::numberWithInt(2), NSArray::create(), NSNumber::numberWithInt(1) });
    mixed->sortUsingSelector(SortSelector::LocalizedCompare);
    EXPECT_EQ(texts(mixed), (Texts { "1", "2", "x", "(\n)" }));
}

TEST(ValuesCollection, SortDescriptorsByKeyPath)
{
    auto apps = NSMutableArray::create({ app("Mail", "9.5"), app("Maps", "12"), app("Safari", "40.25"), app("Notes", "12") });
    apps->sortUsingDescriptors({ NSSortDescriptor::create("RAM.floatValue", false) });
    std::vector<std::string> names;
    for (const auto& entry : *apps)
        names.push_back(runtime::dynamicCast<NSDictionary>(entry)->stringForKey("AppName")->string());
    // Numerically, not as text ("9.5" > "12" as strings); equal values keep their order.
    EXPECT_EQ(names, (Texts { "Safari", "Maps", "Notes", "Mail" }));

    auto byName = NSMutableArray::create({ app("safari", "1"), app("Calendar", "1"), app("app store", "1"), app("Compass", "1") });
    byName->sortUsingDescriptors({ NSSortDescriptor::create("AppName", true, SortSelector::LocalizedCaseInsensitiveCompare) });
    names.clear();
    for (const auto& entry : *byName)
        names.push_back(runtime::dynamicCast<NSDictionary>(entry)->stringForKey("AppName")->string());
    EXPECT_EQ(names, (Texts { "app store", "Calendar", "Compass", "safari" }));

    // A missing key sorts as nil, first when ascending.
    auto descriptor = NSSortDescriptor::create("Missing.floatValue", true);
    EXPECT_FALSE(descriptor->valueFor(app("x", "1")));
    EXPECT_EQ(descriptor->compareObjects(app("x", "1"), app("y", "2")), NSOrderedSame);
}

TEST(ValuesCollection, DictionaryLookupsAndEditing)
{
    auto dictionary = NSMutableDictionary::create();
    dictionary->setObjectForKey(NSStr("1.2.1"), "Version");
    dictionary->setObjectForKey(NSNumber::numberWithBool(true), "Enabled");
    dictionary->setObjectForKey(NSNumber::numberWithBool(false), "Enabled"); // replaces
    EXPECT_EQ(dictionary->count(), 2u);
    EXPECT_FALSE(dictionary->numberForKey("Enabled")->boolValue());
    EXPECT_EQ(dictionary->stringForKey("Version")->string(), "1.2.1");
    EXPECT_FALSE(dictionary->stringForKey("Enabled")); // not a string
    EXPECT_FALSE(dictionary->objectForKey("Absent"));
    EXPECT_EQ(texts(dictionary->allKeys()), (Texts { "Enabled", "Version" }));
    EXPECT_EQ(texts(dictionary->allValues()), (Texts { "0", "1.2.1" }));

    auto other = NSDictionary::create({ { "Enabled", NSNumber::numberWithBool(true) }, { "New", NSStr("n") } });
    dictionary->addEntriesFromDictionary(other);
    EXPECT_EQ(texts(dictionary->allKeys()), (Texts { "Enabled", "New", "Version" }));
    EXPECT_TRUE(dictionary->numberForKey("Enabled")->boolValue());
    dictionary->addEntriesFromDictionary(dictionary); // itself: no change
    EXPECT_EQ(dictionary->count(), 3u);
    dictionary->removeObjectForKey("New");
    dictionary->removeObjectForKey("Never there");
    EXPECT_EQ(dictionary->count(), 2u);

    auto snapshot = NSDictionary::dictionaryWithDictionary(dictionary);
    dictionary->removeAllObjects();
    EXPECT_EQ(snapshot->count(), 2u);
    EXPECT_FALSE(snapshot->isKindOf<NSMutableDictionary>());
    EXPECT_TRUE(NSMutableDictionary::dictionaryWithDictionary(snapshot)->isKindOf<NSMutableDictionary>());
}

TEST(ValuesCollection, DictionaryEqualityComparesEntries)
{
    auto a = NSDictionary::create({ { "k", NSNumber::numberWithInt(1) }, { "l", NSArray::create({ NSStr("x") }) } });
    auto b = NSMutableDictionary::create({ { "l", NSArray::create({ NSStr("x") }) }, { "k", NSNumber::numberWithBool(true) } });
    EXPECT_TRUE(a->isEqual(b.ptr()));
    EXPECT_EQ(a->hash(), b->hash());
    b->setObjectForKey(NSStr("1"), "k");
    EXPECT_FALSE(a->isEqual(b.ptr()));
}

TEST(ValuesCollection, SetKeepsDistinctObjects)
{
    auto touchA = NSStr("touch");
    auto set = NSSet::create({ touchA, NSStr("touch"), NSNumber::numberWithInt(1), NSNumber::numberWithBool(true) });
    EXPECT_EQ(set->count(), 2u);
    EXPECT_EQ(set->anyObject().get(), touchA.ptr());
    EXPECT_TRUE(set->containsObject(NSNumber::numberWithDouble(1.0)));
    EXPECT_FALSE(set->containsObject(NSStr("other")));
    EXPECT_EQ(set->allObjects()->count(), 2u);
    EXPECT_FALSE(NSSet::create()->anyObject());
    EXPECT_TRUE(set->isEqual(NSSet::create({ NSNumber::numberWithInt(1), NSStr("touch") }).ptr()));
}
