// Defines two classes through the library, publishes them to the reference host, and
// uses them the way the host's own users would: construct, read and write properties,
// call a method, and see a refused construction fail with the host's error. Then
// publishes a namespace tree and lets the host resolve it, one level at a time, as
// names under it are asked for.
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"

using namespace orrery;
using namespace orrery::convenience;

namespace {

struct PointData {
    double x = 0;
    double y = 0;
};

PointData& dataOf(COSInterface* object) { return *static_cast<PointData*>(reference::asObject(object)->data()); }

std::shared_ptr<COSPropInfoStruct> coordinate(const char* name, double PointData::*field) {
    auto property = createProperty(name);
    property->description = std::string("the ") + name + " coordinate";
    property->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    property->getFcn = [field](COSInterface* object) { return reference::makeDouble(dataOf(object).*field); };
    property->setFcn = [field](COSInterface* object, COSValue value) {
        dataOf(object).*field = reference::toDouble(value);
    };
    return property;
}

void describePoint() {
    auto point = createClass("pkg.Point");
    point->description = "A point in the plane";
    // Each object carries its coordinates; the host hands them back to us on destruction.
    point->allocateDataFcn = [](COSInterface*) -> void* { return new PointData(); };
    point->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<PointData*>(data); };

    point->addProperty(coordinate("x", &PointData::x));
    point->addProperty(coordinate("y", &PointData::y));

    auto norm = createMethod("norm");
    norm->description = "distance from the origin";
    norm->inputTypes = {makeId("pkg.Point scalar")};
    norm->inputNames = {"self"};
    norm->outputTypes = {makeId("double")};
    norm->outputNames = {"length"};
    norm->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int, const COSValue* inputs) {
        const PointData& p = dataOf(reference::toObject(inputs[0]));
        outputs[0] = reference::makeDouble(std::hypot(p.x, p.y));
        outputCount = 1;
    };
    point->addMethod(norm);

    auto constructor = createConstructor();
    constructor->inputTypes = {makeId("double"), makeId("double")};
    constructor->inputNames = {"x", "y"};
    constructor->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                const COSValue* inputs) {
        COSInterfacePtr object = reference::createObject(reference::findClass("pkg.Point"));
        if (inputCount >= 2) dataOf(object) = {reference::toDouble(inputs[0]), reference::toDouble(inputs[1])};
        outputs[0] = reference::makeObjects({object});
        outputCount = 1;
    };
    point->addConstructor(constructor);
    point->publish();
}

void describeSecret() {
    auto secret = createClass("pkg.Secret");
    secret->description = "A point nobody may make";
    secret->addSuperclass(makeId("pkg.Point"), false, 0, false);
    secret->addConstructor(createUnsupportedConstructor("pkg.Secret"));
    secret->publish();
}

const char* yes(bool b) { return b ? "yes" : "no"; }

void showClass(const char* id) {
    auto* cls = reference::findClass(id);
    COSClassInfo* info = cls->info();
    std::printf("\nclass %s - %s\n", info->getName(), info->getDescription());
    bool (COSClassInfo::*flags[])() = {
        &COSClassInfo::isClassFlag1,  &COSClassInfo::isClassFlag2,  &COSClassInfo::isClassFlag3,
        &COSClassInfo::isClassFlag4,  &COSClassInfo::isClassFlag5,  &COSClassInfo::isClassFlag6,
        &COSClassInfo::isClassFlag7,  &COSClassInfo::isClassFlag8,  &COSClassInfo::isClassFlag9,
        &COSClassInfo::isClassFlag10, &COSClassInfo::isClassFlag11, &COSClassInfo::isClassFlag12,
        &COSClassInfo::isClassFlag13, &COSClassInfo::isClassFlag14, &COSClassInfo::isClassFlag15,
        &COSClassInfo::isClassFlag16, &COSClassInfo::isClassFlag17, &COSClassInfo::isClassFlag18,
        &COSClassInfo::isClassFlag19, &COSClassInfo::isClassFlag20, &COSClassInfo::isClassFlag21,
        &COSClassInfo::isClassFlag22, &COSClassInfo::isClassFlag23};
    std::printf("  flags set    ");
    for (int i = 0; i < 23; ++i)
        if ((info->*flags[i])()) std::printf("%d ", i + 1);
    std::printf("\n  numbers      %d %d %d %d %lld\n", info->getClassInt1(), info->getClassInt2(), info->getClassInt3(),
                info->getClassInt4(), static_cast<long long>(info->getClassInt64()));
    for (const auto& super : cls->superclasses()) std::printf("  superclass   %s\n", super.id.c_str());
    for (COSPropInfo* property : cls->properties()) {
        COSDataType* type = COSDataTypePtrHelper::getObject(property->getDataType());
        std::printf("  property     %-6s %-8s default %-4s settable %-3s (%s)\n", property->getName(),
                    type ? type->getTypeID().c_str() : "?", reference::describe(property->getFactoryDefault()).c_str(),
                    yes(property->isPropertyAttribute7()), property->getDescription());
    }
    for (COSMethodInfo* method : cls->methods()) {
        const auto& signature = reference::asSignature(method->getSignature());
        std::printf("  %-12s %s%s\n", std::string(method->getName()) == cls->getClassName() ? "constructor" : "method",
                    method->getName(), signature.toString().c_str());
    }
}

// --- A namespace tree ------------------------------------------------------------------

struct CircleData {
    double radius = 0;
};

CircleData& circleOf(COSInterface* object) { return *static_cast<CircleData*>(reference::asObject(object)->data()); }

// geo.shapes.Circle: one property, a constructor from the radius and a method.
std::shared_ptr<COSClassInfoStruct> describeCircle() {
    auto circle = createClass("Circle");
    circle->description = "A circle around the origin";
    circle->allocateDataFcn = [](COSInterface*) -> void* { return new CircleData(); };
    circle->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<CircleData*>(data); };

    auto radius = createProperty("radius");
    radius->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    radius->getFcn = [](COSInterface* object) { return reference::makeDouble(circleOf(object).radius); };
    circle->addProperty(radius);

    auto area = createMethod("area");
    area->inputTypes = {makeId("geo.shapes.Circle scalar")};
    area->outputTypes = {makeId("double")};
    area->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int, const COSValue* inputs) {
        const double r = circleOf(reference::toObject(inputs[0])).radius;
        outputs[0] = reference::makeDouble(3.14159265358979 * r * r);
        outputCount = 1;
    };
    circle->addMethod(area);

    auto constructor = createConstructor();
    constructor->inputTypes = {makeId("double")};
    constructor->inputNames = {"radius"};
    constructor->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                const COSValue* inputs) {
        // The host knows the class by its full dotted id.
        COSInterfacePtr object = reference::createObject(reference::findClass("geo.shapes.Circle"));
        if (inputCount >= 1) circleOf(object).radius = reference::toDouble(inputs[0]);
        outputs[0] = reference::makeObjects({object});
        outputCount = 1;
    };
    circle->addConstructor(constructor);
    return circle;
}

// geo: a class, a function with named inputs, and two inner namespaces. geo.shapes: a
// class and a function with generated input names and any number of inputs.
void describeGeo() {
    auto geo = createNamespace("geo");
    geo->description = "Plane geometry";
    auto vector = createClass("Vector");
    vector->description = "A direction and a length";
    geo->addClass(vector);

    auto distance = createFunction("distance");
    distance->description = "distance between two points";
    distance->inputTypes.assign(4, makeId("double"));
    distance->inputNames = {"x1", "y1", "x2", "y2"};
    distance->outputTypes = {makeId("double")};
    distance->outputNames = {"d"};
    distance->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int, const COSValue* in) {
        auto x = [in](int i) { return reference::toDouble(in[i]); };
        outputs[0] = reference::makeDouble(std::hypot(x(2) - x(0), x(3) - x(1)));
        outputCount = 1;
    };
    geo->addFunction(distance);

    auto shapes = createNamespace("shapes");
    shapes->description = "Things with an area";
    shapes->addClass(describeCircle());
    auto total = createFunction("total");
    total->description = "sum of any number of values";
    total->inputTypes = {makeId("double")};  // no names: the host sees Input_1
    total->hasVarargin = true;
    total->outputTypes = {makeId("double")};
    total->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                          const COSValue* inputs) {
        double sum = 0;
        for (int i = 0; i < inputCount; ++i) sum += reference::toDouble(inputs[i]);
        outputs[0] = reference::makeDouble(sum);
        outputCount = 1;
    };
    shapes->addFunction(total);
    geo->addInnerNamespace(shapes);

    auto units = createNamespace("units");
    units->description = "Nobody asks for this one";
    geo->addInnerNamespace(units);
    geo->publish();
}

void showPackage(const reference::Package& package, int depth) {
    const std::string indent(std::size_t(depth) * 2, ' ');
    std::printf("%snamespace %s - %s\n", indent.c_str(), package.name().c_str(), package.info()->getDescription());
    for (const reference::PackageEntry& entry : package.entries()) {
        if (COSClassInfo* cls = entry.classInfo) {
            const bool made = package.findClassObject(cls->getName()) != nullptr;
            std::printf("%s  class     %s.%s - %s%s\n", indent.c_str(), package.name().c_str(), cls->getName(),
                        cls->getDescription(), made ? "" : "  (not set up yet)");
        } else if (COSMethodInfo* function = entry.functionInfo) {
            std::printf("%s  function  %s%s - %s\n", indent.c_str(), function->getName(),
                        reference::asSignature(function->getSignature()).toString().c_str(),
                        function->getDescription());
        } else if (COSNamespaceInfo* inner = entry.namespaceInfo) {
            if (const reference::Package* made = package.findInnerPackage(inner->getName()))
                showPackage(*made, depth + 1);
            else
                std::printf("%s  namespace %s.%s - %s  (not resolved yet)\n", indent.c_str(), package.name().c_str(),
                            inner->getName(), inner->getDescription());
        }
    }
}

void showPackages(const char* when) {
    std::printf("%s: %ld package(s) made\n", when, reference::liveCounts().packages);
}

std::vector<COSValue> doubles(std::initializer_list<double> values) {
    std::vector<COSValue> out;
    for (double value : values) out.push_back(reference::makeDouble(value));
    return out;
}

// Each call names a function or class by its dotted path; the host makes the packages
// on the way the first time.
void useGeo() {
    auto distance = reference::invokeFunction("geo.distance", doubles({0, 0, 3, 4}), 1);
    std::printf("geo.distance(0, 0, 3, 4)    = %s\n", reference::describe(distance[0]).c_str());
    showPackages("after geo.distance");

    auto total = reference::invokeFunction("geo.shapes.total", doubles({1, 2, 3}), 1);
    std::printf("geo.shapes.total(1, 2, 3)   = %s\n", reference::describe(total[0]).c_str());
    showPackages("after geo.shapes.total");

    COSInterfacePtr c = reference::toObject(reference::construct(makeId("geo.shapes.Circle"), doubles({2})));
    std::printf("c = geo.shapes.Circle(2)    radius = %s, area() = %s\n",
                reference::describe(reference::getProperty(c, "radius")).c_str(),
                reference::describe(reference::invokeMethod(c, "area", {}, 1)[0]).c_str());
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("== Describing pkg.Point and pkg.Secret through the library and publishing them\n");
    describePoint();
    describeSecret();
    std::printf("registered with the host: ");
    for (const auto& name : reference::classNames()) std::printf("%s  ", name.c_str());
    std::printf("\n(nothing populated yet: %ld host class objects)\n", reference::liveCounts().classes);

    std::printf("\n== The host asks for the classes and pulls their members in\n");
    showClass("pkg.Point");
    showClass("pkg.Secret");

    std::printf("\n== Using pkg.Point as the host's users do\n");
    {
        COSInterfacePtr p = reference::toObject(
            reference::construct(makeId("pkg.Point"), {reference::makeDouble(3), reference::makeDouble(4)}));
        std::printf("p = pkg.Point(3, 4)      x = %s, y = %s\n",
                    reference::describe(reference::getProperty(p, "x")).c_str(),
                    reference::describe(reference::getProperty(p, "y")).c_str());
        std::printf("p.norm()                 = %s\n",
                    reference::describe(reference::invokeMethod(p, "norm", {}, 1)[0]).c_str());
        reference::setProperty(p, "x", reference::makeDouble(6));
        reference::setProperty(p, "y", reference::makeDouble(8));
        std::printf("p.x = 6; p.y = 8; norm() = %s\n",
                    reference::describe(reference::invokeMethod(p, "norm", {}, 1)[0]).c_str());
    }

    std::printf("\n== Constructing pkg.Secret is refused\n");
    try {
        reference::construct(makeId("pkg.Secret"), {});
        std::printf("unexpected: pkg.Secret was constructed\n");
        return 1;
    } catch (const ConstructorNotSupportedError& error) {
        std::printf("error id:   %s\nmessage:    %s\n", error.get_error_id(), error.what());
    }

    std::printf("\n== A namespace tree, described through the library and published\n");
    describeGeo();
    std::printf("top-level namespaces: ");
    for (COSNamespaceInfo* info : reference::registeredNamespaceInfos()) std::printf("%s  ", info->getName());
    std::printf("\n");
    showPackages("before anything is asked for");

    std::printf("\n== The host resolves names as they are asked for\n");
    useGeo();

    std::printf("\n== The tree as the host sees it\n");
    for (const reference::Package* package : reference::topLevelPackages()) showPackage(*package, 0);

    reference::shutdown();
    std::printf("\n== Host shut down: %ld host objects still alive\n", reference::liveCounts().total());
    return reference::liveCounts().total() == 0 ? 0 : 1;
}
