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
    // A Tree has Plant's members through the host's class hierarchy; describe is virtual in
    // C++, so Plant's binding already calls Tree's.
    space.defineClass<Tree>("Tree")
        .superclass(plant)
        .constructor<std::string, double>({"name", "trunkDiameter"})
        .property("trunkDiameter", &Tree::trunkDiameter);
    space.function("plantsPerBed", &plantsPerBed, {"area", "spacing"});
    return space;
}
