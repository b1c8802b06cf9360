// What the typed layer tells the host beyond values: members inherited through
// .superclass(base) rather than bound twice, virtual calls reaching the most derived
// override, static, abstract and read-only members marked, descriptions from doc(), and a
// class used before it is bound reported where the member is defined.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "convenience/typed/typed.hpp"
#include "host/assumed_operations.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

using namespace orrery;
using namespace orrery::convenience::typed;
namespace kit = orrery::testkit;

namespace {

struct Animal {
    explicit Animal(std::string animalName) : name(std::move(animalName)) {}
    virtual ~Animal() = default;
    virtual std::string sound() const { return "..."; }
    virtual int legs() const = 0;
    std::string describe() const { return name + " says " + sound(); }

    std::string name;
    const int id = 7;
};

struct Dog : Animal {
    using Animal::Animal;
    std::string sound() const override { return "woof"; }
    int legs() const override { return 4; }
    static Dog puppy() { return Dog("puppy"); }
};

struct Puppy : Dog {
    using Dog::Dog;
    std::string sound() const override { return "yip"; }
};

struct Kennel {
    int size = 0;
};

struct Walker {};

class TypedInheritance : public orrery::testing::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        auto zoo = defineNamespace("zoo").doc("Animals and their sounds.");
        auto animal = zoo.defineClass<Animal>("Animal")
                          .doc("Something that makes a sound.")
                          .property("name", &Animal::name)
                          .doc("What it is called.")
                          .property("id", &Animal::id)
                          .property("greeting", &Animal::describe)
                          .property("legCount", [](const Animal& animal) { return animal.legs(); })
                          .method("sound", &Animal::sound)
                          .method("describe", &Animal::describe)
                          .abstractMethod<int()>("legs");
        auto dog = zoo.defineClass<Dog>("Dog")
                       .superclass(animal)
                       .constructor<std::string>({"name"})
                       .doc("A dog with a name.")
                       .method("legs", &Dog::legs)
                       .staticMethod("puppy", &Dog::puppy)
                       .doc("A new puppy.");
        zoo.defineClass<Puppy>("Puppy").superclass(dog).constructor<std::string>({"name"});
        zoo.function("count", [](const std::vector<std::string>& names) { return names.size(); }, {"names"})
            .doc("How many names there are.");
        zoo.publish();
    }

    static COSMethodInfo& method(const std::string& cls, const std::string& name) {
        return kit::resolveMethod(cls, name);
    }
};

TEST_F(TypedInheritance, ASubclassAnswersItsBasesMembersWithoutBindingThemAgain) {
    kit::Object rex = kit::construct("zoo.Dog", "rex");
    EXPECT_EQ(rex.get<std::string>("name"), "rex");
    rex.set("name", "max");
    EXPECT_EQ(rex.as<Dog>().name, "max");
    EXPECT_EQ(rex.call<std::string>("describe"), "max says woof");
    EXPECT_EQ(kit::signature("zoo.Dog.describe"), "(zoo.Animal scalar self) -> (string scalar Output_1)");
    EXPECT_EQ(kit::resolveClass("zoo.Dog").findProperty("name"), nullptr);  // the host finds Animal's

    // Two levels down, and through the C++ virtual function to the most derived override.
    kit::Object pup = kit::construct("zoo.Puppy", "bit");
    EXPECT_EQ(pup.call<std::string>("sound"), "yip");
    EXPECT_EQ(pup.call<std::string>("describe"), "bit says yip");
    EXPECT_EQ(pup.get<std::string>("name"), "bit");
}

TEST_F(TypedInheritance, AnAbstractMethodReachesTheImplementationOfTheObjectsClass) {
    kit::Object pup = kit::construct("zoo.Puppy", "bit");
    EXPECT_EQ(pup.call<int>("legs"), 4);  // Dog's, inherited by Puppy
    EXPECT_TRUE(omIsAbstractMethod(method("zoo.Animal", "legs")));
    EXPECT_FALSE(omIsAbstractMethod(method("zoo.Dog", "legs")));
    EXPECT_HOST_ERROR(kit::invokeStatic<int>("zoo.Animal", "legs", pup), "LUMEN:orrery_typed:AbstractMember",
                      "Method zoo.Animal.legs is abstract: a subclass must implement it.");
}

TEST_F(TypedInheritance, StaticAndReadOnlyMembersReachTheHostAsSuch) {
    EXPECT_TRUE(omIsStaticMethod(method("zoo.Dog", "puppy")));
    EXPECT_FALSE(omIsStaticMethod(method("zoo.Dog", "legs")));
    // Called on an object, a static method still gets no object; inherited by Puppy too.
    kit::Object pup = kit::construct("zoo.Puppy", "bit");
    EXPECT_EQ(pup.call<kit::Object>("puppy").get<std::string>("name"), "puppy");

    auto& animal = kit::resolveClass("zoo.Animal");
    EXPECT_EQ(animal.findProperty("name")->getSetAccess(), COSAccessPublic);
    EXPECT_EQ(animal.findProperty("id")->getSetAccess(), COSAccessImmutable);  // a const data member
    EXPECT_EQ(pup.get<int>("id"), 7);
    EXPECT_HOST_ERROR(pup.set("id", 8), "LUMEN:orrery_typed:ReadOnlyProperty", "Property zoo.Animal.id is read-only.");
    // A getter alone, a const member function or a callable, is read-only too.
    EXPECT_EQ(animal.findProperty("greeting")->getSetAccess(), COSAccessImmutable);
    EXPECT_EQ(animal.findProperty("legCount")->getSetAccess(), COSAccessImmutable);
    EXPECT_EQ(pup.get<std::string>("greeting"), "bit says yip");
    EXPECT_EQ(pup.get<int>("legCount"), 4);
    EXPECT_HOST_ERROR(pup.set("legCount", 3), "LUMEN:orrery_typed:ReadOnlyProperty",
                      "Property zoo.Animal.legCount is read-only.");
}

TEST_F(TypedInheritance, DocFillsTheDescriptionOfWhatWasDefinedLast) {
    auto& animal = kit::resolveClass("zoo.Animal");
    EXPECT_STREQ(animal.info()->getDescription(), "Something that makes a sound.");
    EXPECT_STREQ(animal.findProperty("name")->getDescription(), "What it is called.");
    EXPECT_STREQ(animal.findProperty("id")->getDescription(), "");
    auto& dog = kit::resolveClass("zoo.Dog");
    EXPECT_STREQ(dog.findConstructor()->getDescription(), "A dog with a name.");
    EXPECT_STREQ(dog.findMethod("puppy")->getDescription(), "A new puppy.");
    EXPECT_STREQ(dog.info()->getDescription(), "");
    EXPECT_STREQ(reference::findPackage("zoo")->info()->getDescription(), "Animals and their sounds.");
    EXPECT_STREQ(kit::resolveFunction("zoo.count").getDescription(), "How many names there are.");

    auto function = defineFunction("zoo.twice", [](double x) { return 2 * x; }).doc("Twice the number.");
    EXPECT_EQ(function.record()->description, "Twice the number.");
}

TEST_F(TypedInheritance, AnObjectStandsInForItsBaseOnlyWhileItsClassIsBoundAsTheSubclass) {
    kit::Object rex = kit::construct("zoo.Dog", "rex");
    kit::Object pup = kit::construct("zoo.Puppy", "bit");
    EXPECT_EQ(objectAs<Animal>(rex.handle().get()), static_cast<Animal*>(&rex.as<Dog>()));
    EXPECT_EQ(objectAs<Animal>(pup.handle().get()), static_cast<Animal*>(&pup.as<Puppy>()));
    EXPECT_EQ(objectAs<Puppy>(rex.handle().get()), nullptr);

    // Bound again, to another class and without a superclass: the old class's objects are
    // no longer Dogs, and the new class's are Dogs but not Animals.
    defineClass<Dog>("zoo.Hound").constructor<std::string>({"name"}).publish();
    kit::Object hound = kit::construct("zoo.Hound", "max");
    EXPECT_NE(objectAs<Dog>(hound.handle().get()), nullptr);
    EXPECT_EQ(objectAs<Animal>(hound.handle().get()), nullptr);
    EXPECT_EQ(objectAs<Dog>(rex.handle().get()), nullptr);
    EXPECT_EQ(objectAs<Animal>(rex.handle().get()), nullptr);
    // Puppy is still bound below the Dog binding, which now has no superclass.
    EXPECT_EQ(objectAs<Animal>(pup.handle().get()), nullptr);
    EXPECT_NE(objectAs<Dog>(pup.handle().get()), nullptr);
}

TEST(TypedDefinition, AClassUsedBeforeItIsBoundIsNamedWithTheMemberAndTheParameter) {
    EXPECT_THROW_MESSAGE(defineClass<Walker>("zoo.Walker").method("walk", [](Walker&, const Kennel&) {}, {"kennel"}),
                         std::logic_error,
                         "zoo.Walker.walk: input 2 (kennel) is a (anonymous namespace)::Kennel, and no class is bound "
                         "to that C++ type yet: bind it with defineClass before defining zoo.Walker.walk");
    EXPECT_THROW_MESSAGE(defineFunction("zoo.house", [](double) { return Kennel(); }, {"size"}, {"kennel"}),
                         std::logic_error,
                         "zoo.house: output 1 (kennel) is a (anonymous namespace)::Kennel, and no class is bound to "
                         "that C++ type yet: bind it with defineClass before defining zoo.house");
    EXPECT_THROW_MESSAGE(defineClass<Walker>("zoo.Pen").property("kennel", [](const Walker&) { return Kennel(); }),
                         std::logic_error,
                         "zoo.Pen.kennel: its value is a (anonymous namespace)::Kennel, and no class is bound to that "
                         "C++ type yet: bind it with defineClass before defining zoo.Pen.kennel");
}

}  // namespace
