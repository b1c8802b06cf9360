#include "garden_binding.hpp"

#include "convenience/typed/typed.hpp"
#include "garden.hpp"

orrery::convenience::typed::NamespaceBuilder garden::defineGarden() {
    using namespace orrery::convenience::typed;
    auto space = defineNamespace("garden");
    auto plant = space.defineClass<Plant>("Plant")
                     .constructor<std::string>({"name"})
                     .property("name", &Plant::name)
                     .property("height", &Plant::height)  // a getter only: read-only on the host
                     .method("grow", &Plant::grow, {"metres"})
                     .method("describe", &Plant::describe);
    // Calls on a Tree find the members its own class lists, so it lists those it inherits
    // too. describe is virtual in C++: a Tree describes itself as a tree.
    space.defineClass<Tree>("Tree")
        .superclass(plant)
        .constructor<std::string, double>({"name", "trunkDiameter"})
        .property("name", &Tree::name)
        .property("height", &Tree::height)
        .property("trunkDiameter", &Tree::trunkDiameter)
        .method("grow", &Tree::grow, {"metres"})
        .method("describe", &Tree::describe);
    space.function("plantsPerBed", &plantsPerBed, {"area", "spacing"});
    return space;
}
