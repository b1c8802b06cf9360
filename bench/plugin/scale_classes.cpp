#include "plugin/scale_classes.hpp"

#include <utility>

#include "convenience/convenience.hpp"

namespace bench {

void describeAndPublishScaleClass(int index) {
    using namespace orrery;
    using namespace orrery::convenience;
    static const COSId number = makeId("double");
    static const std::string propertyNames[] = {"p1", "p2", "p3", "p4"};
    static const std::string methodNames[] = {"m1", "m2", "m3", "m4"};
    auto cls = createClass(scaleClassName(index).c_str());
    for (const std::string& name : propertyNames) {
        auto property = createProperty(name.c_str());
        property->SetTypeAndImplicitFactoryDefaultFcn(number);
        cls->addProperty(std::move(property));
    }
    for (const std::string& name : methodNames) {
        auto method = createMethod(name);
        method->inputTypes = {number, number};
        method->inputNames = {"x", "y"};
        cls->addMethod(std::move(method));
    }
    cls->addConstructor(createConstructor());
    cls->addProperty(createProperty("tag"));
    cls->publish();
}

}  // namespace bench
