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
    // A Tree takes name, height, grow and describe from Plant through the host; describe is
    // virtual in C++, so a Tree still describes itself as a tree.
    space.defineClass<Tree>("Tree")
        .superclass(plant)
        .constructor<std::string, double>({"name", "trunkDiameter"})
        .property("trunkDiameter", &Tree::trunkDiameter);
    space.function("plantsPerBed", &plantsPerBed, {"area", "spacing"});
    return space;
}
