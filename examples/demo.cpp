// Defines two classes through the library, publishes them to the reference host, and
// uses them the way the host's own users would: construct, read and write properties,
// call a method, and see a refused construction fail with the host's error.
#include <cmath>
#include <cstdio>
#include <string>

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

    reference::shutdown();
    std::printf("\n== Host shut down: %ld host objects still alive\n", reference::liveCounts().total());
    return reference::liveCounts().total() == 0 ? 0 : 1;
}
