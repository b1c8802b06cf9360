// The same geo namespace as geo_binding.cpp, written with the records alone and the value
// helpers: what the typed layer saves. The tests run both bindings and compare what the
// host sees.
#include <memory>
#include <stdexcept>
#include <string>

#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
#include "geo.hpp"
#include "geo_raw_binding.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

const std::string kPolygon = "geo.Polygon";

double number(const COSValue& value) {
    auto read = values::readDouble(value);
    if (!read) throw std::invalid_argument("expected a double scalar, got " + values::describeValue(value));
    return *read;
}

geo::Polygon& polygonOf(COSInterface* object) {
    COSClass* cls = omGetObjectClass(object);
    auto* polygon = static_cast<geo::Polygon*>(omGetObjectData(object));
    if (!cls || cls->getClassID().str() != kPolygon || !polygon) throw std::invalid_argument("not a geo.Polygon");
    return *polygon;
}

geo::Polygon& polygonOf(const COSValue& value) { return polygonOf(values::peekObject(value)); }

void checkCount(int count, int expected) {
    if (count != expected) throw std::invalid_argument("wrong number of inputs");
}

COSValue newPolygon(geo::Polygon polygon) {
    COSInterfacePtr object = omCreateObject(COSClass::getClass(makeId(kPolygon)));
    polygonOf(object) = std::move(polygon);
    return values::makeObject(object);
}

std::shared_ptr<COSMethodInfoStruct> method(const char* name, std::vector<std::string> inputs,
                                            std::vector<std::string> outputs, InvokeFcn call) {
    auto record = createMethod(name);
    record->inputTypes = {makeId("geo.Polygon scalar")};
    record->inputTypes.resize(inputs.size() + 1, makeId("double scalar"));
    inputs.insert(inputs.begin(), "self");
    record->inputNames = inputs;
    record->outputTypes.assign(outputs.size(), makeId("double scalar"));
    record->outputNames = outputs;
    record->invokeFcn = std::move(call);
    return record;
}

}  // namespace

std::shared_ptr<COSNamespaceInfoStruct> geo::defineGeoRaw() {
    auto geo = createNamespace("geo");
    auto shape = createClass("Shape");
    // Polygon objects answer it through their superclass; they are the only shapes here.
    auto shapeName = createProperty("name");
    shapeName->SetTypeAndImplicitFactoryDefaultFcn(makeId("string scalar"));
    shapeName->getFcn = [](COSInterface* object) { return values::makeString(polygonOf(object).name); };
    shapeName->setFcn = [](COSInterface* object, COSValue value) {
        auto text = values::readText(value);
        if (!text) throw std::invalid_argument("expected a name");
        polygonOf(object).name = *text;
    };
    shape->addProperty(shapeName);
    auto abstractScale = createMethod("scale");
    abstractScale->inputTypes = {makeId("geo.Shape scalar"), makeId("double scalar")};
    abstractScale->inputNames = {"self", "factor"};
    abstractScale->invokeFcn = [](const COSClient*, int&, COSValue*, int, const COSValue*) {
        throw std::logic_error("geo.Shape.scale is abstract");
    };
    abstractScale->attribute4 = true;  // abstract, to the host
    shape->addMethod(abstractScale);
    geo->addClass(shape);

    auto polygon = createClass("Polygon");
    polygon->allocateDataFcn = [](COSInterface*) -> void* { return new Polygon(""); };
    polygon->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<Polygon*>(data); };
    polygon->addSuperclass(makeId("geo.Shape"), false, 0, false);
    auto constructor = createConstructor();
    constructor->inputTypes = {makeId("string scalar")};
    constructor->inputNames = {"name"};
    constructor->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                const COSValue* inputs) {
        checkCount(inputCount, 1);
        auto name = values::readText(inputs[0]);
        if (!name) throw std::invalid_argument("expected a name");
        outputs[0] = newPolygon(Polygon(*name));
        outputCount = 1;
    };
    polygon->addConstructor(constructor);

    auto area = createProperty("area");
    area->SetTypeAndImplicitFactoryDefaultFcn(makeId("double scalar"));
    area->getFcn = [](COSInterface* object) { return values::makeDouble(polygonOf(object).area()); };
    area->setterAccess = COSAccessImmutable;
    area->setFcn = [](COSInterface*, COSValue) { throw std::logic_error("area is read-only"); };
    polygon->addProperty(area);
    for (const auto& [propertyName, member] : {std::pair{"xs", &Polygon::xs}, std::pair{"ys", &Polygon::ys}}) {
        auto coordinates = createProperty(propertyName);
        auto vertices = member;  // a copy: Clang 14 cannot capture a structured binding
        coordinates->SetTypeAndImplicitFactoryDefaultFcn(makeId("double vector"));
        coordinates->getFcn = [vertices](COSInterface* object) {
            return values::makeDoubles((polygonOf(object).*vertices)());
        };
        coordinates->setterAccess = COSAccessImmutable;
        coordinates->setFcn = [](COSInterface*, COSValue) { throw std::logic_error("read-only"); };
        polygon->addProperty(coordinates);
    }

    polygon->addMethod(
        method("addVertex", {"x", "y"}, {},
               [](const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue* inputs) {
                   checkCount(inputCount, 3);
                   polygonOf(inputs[0]).addVertex(number(inputs[1]), number(inputs[2]));
                   outputCount = 0;
               }));
    polygon->addMethod(
        method("centroid", {}, {"cx", "cy"},
               [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue* inputs) {
                   checkCount(inputCount, 1);
                   auto [cx, cy] = polygonOf(inputs[0]).centroid();
                   if (outputCount > 0) outputs[0] = values::makeDouble(cx);
                   if (outputCount > 1) outputs[1] = values::makeDouble(cy);
                   outputCount = std::min(outputCount, 2);
               }));
    polygon->addMethod(
        method("scale", {"factor"}, {},
               [](const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue* inputs) {
                   checkCount(inputCount, 2);
                   polygonOf(inputs[0]).scale(number(inputs[1]));
                   outputCount = 0;
               }));
    auto unitSquare = createMethod("unitSquare");
    unitSquare->outputTypes = {makeId("geo.Polygon scalar")};
    unitSquare->attribute3 = true;  // static, to the host
    unitSquare->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue*) {
        checkCount(inputCount, 0);
        if (outputCount > 0) outputs[0] = newPolygon(Polygon::unitSquare());
        outputCount = std::min(outputCount, 1);
    };
    polygon->addMethod(unitSquare);
    geo->addClass(polygon);

    auto util = createNamespace("util");
    auto areaFunction = createFunction("area");
    areaFunction->inputTypes = {makeId("geo.Polygon scalar")};
    areaFunction->inputNames = {"polygon"};
    areaFunction->outputTypes = {makeId("double scalar")};
    areaFunction->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                 const COSValue* inputs) {
        checkCount(inputCount, 1);
        if (outputCount > 0) outputs[0] = values::makeDouble(geo::area(polygonOf(inputs[0])));
        outputCount = std::min(outputCount, 1);
    };
    util->addFunction(areaFunction);
    geo->addInnerNamespace(util);
    return geo;
}
