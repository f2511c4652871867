#include <runtime/MessageSend.h>

#include <gtest/gtest.h>

using namespace runtime;

namespace {

class Animal : public Object {
    TORVANE_OBJECT(Animal, Object)
public:
    static Ref<Animal> create() { return adoptRef(*new Animal); }

protected:
    Animal() = default;
};

class Dog : public Animal {
    TORVANE_OBJECT(Dog, Animal)
public:
    static Ref<Dog> create() { return adoptRef(*new Dog); }
};

constinit const Operation<int(int times)> bark { "bark:" };

int barkImplementation(Object*, Selector, int times) { return times * 2; }

void setUpDog(Class& cls) { cls.addMethod(bark, barkImplementation); }

TORVANE_DEFINE_CLASS(Animal)
TORVANE_DEFINE_CLASS_WITH_METHODS(Dog, setUpDog)

}

TEST(ClassRegistry, LooksUpClassesByNameBeforeFirstUse)
{
    EXPECT_EQ(NSClassFromString("Dog"), &Dog::staticClass());
    EXPECT_EQ(NSClassFromString("NSObject"), &Object::staticClass());
    EXPECT_EQ(NSClassFromString("NoSuchClass"), nullptr);
    EXPECT_EQ(Dog::staticClass().superclass(), &Animal::staticClass());
}

TEST(ClassRegistry, KindAndMemberTests)
{
    Ref<Dog> dog = Dog::create();
    Ref<Animal> animal = Animal::create();
    EXPECT_TRUE(dog->isKindOfClass(Animal::staticClass()));
    EXPECT_TRUE(dog->isKindOfClass(Object::staticClass()));
    EXPECT_FALSE(dog->isMemberOfClass(Animal::staticClass()));
    EXPECT_FALSE(animal->isKindOfClass(Dog::staticClass()));
    EXPECT_EQ(dog->className(), "Dog");
    EXPECT_EQ(dynamicCast<Dog>(animal), nullptr);
    EXPECT_EQ(dynamicCast<Animal>(dog), dog.ptr());
}

TEST(ClassRegistry, RespondsOnlyToRegisteredOperations)
{
    Ref<Dog> dog = Dog::create();
    Ref<Animal> animal = Animal::create();
    EXPECT_TRUE(dog->respondsToSelector(sel("bark:")));
    EXPECT_FALSE(animal->respondsToSelector(sel("bark:")));
    EXPECT_TRUE(Dog::staticClass().instancesRespondToSelector(sel("bark:")));
    EXPECT_EQ(msgSend(bark, dog.ptr(), 21), 42);
}

TEST(ClassRegistry, DescriptionNamesTheClass)
{
    Ref<Dog> dog = Dog::create();
    EXPECT_EQ(dog->description().rfind("<Dog: 0x", 0), 0u);
}
