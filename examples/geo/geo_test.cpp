// The geo example on the reference host, written with the test kit. The host must see the
// same namespace whichever binding made it, typed (geo_binding.cpp) or raw
// (geo_raw_binding.cpp); the typed one adds its argument checks and errors.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "geo_binding.hpp"
#include "geo_raw_binding.hpp"
#include "orrery_testkit/gtest.hpp"
#include "orrery_testkit/testkit.hpp"

namespace kit = orrery::testkit;

namespace {

kit::Object triangle() {
    kit::Object polygon = kit::construct("geo.Polygon", "tri");
    polygon.call("addVertex", 0.0, 0.0);
    polygon.call("addVertex", 4.0, 0.0);
    polygon.call("addVertex", 0.0, 3.0);
    return polygon;
}

class EitherBinding : public kit::HostTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        if (GetParam())
            geo::defineGeo().publish();
        else
            geo::defineGeoRaw()->publish();
    }
};

TEST_P(EitherBinding, TheHostSeesTheseSignatures) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"geo.Polygon", "(string scalar name) -> (geo.Polygon scalar Output)"},
        {"geo.Polygon.addVertex", "(geo.Polygon scalar self, double scalar x, double scalar y) -> ()"},
        {"geo.Polygon.centroid", "(geo.Polygon scalar self) -> (double scalar cx, double scalar cy)"},
        {"geo.Polygon.scale", "(geo.Polygon scalar self, double scalar factor) -> ()"},
        {"geo.Polygon.unitSquare", "() -> (geo.Polygon scalar Output_1)"},
        {"geo.Shape.scale", "(geo.Shape scalar self, double scalar factor) -> ()"},
        {"geo.util.area", "(geo.Polygon scalar polygon) -> (double scalar Output_1)"},
    };
    for (const auto& [name, signature] : expected) EXPECT_EQ(kit::signature(name), signature) << name;
    for (const auto& [name, type] : {std::pair{"name", "string scalar"}, std::pair{"area", "double scalar"},
                                     std::pair{"xs", "double vector"}, std::pair{"ys", "double vector"}})
        EXPECT_EQ(kit::propertyType("geo.Polygon", name), type) << name;
    EXPECT_EQ(kit::propertyType("geo.Shape", "name"), "string scalar");
    // Polygon's name is Shape's, found through the superclass: it is not bound twice.
    EXPECT_TRUE(kit::resolveClass("geo.Polygon").findProperty("name") == nullptr);
    const auto& superclasses = kit::resolveClass("geo.Polygon").superclasses();
    ASSERT_EQ(superclasses.size(), 1u);
    EXPECT_EQ(superclasses[0].id.str(), "geo.Shape");
}

TEST_P(EitherBinding, PolygonsWorkThroughTheHost) {
    kit::Object polygon = triangle();
    EXPECT_EQ(polygon.className(), "geo.Polygon");
    EXPECT_EQ(polygon.get<std::string>("name"), "tri");
    EXPECT_EQ(polygon.get<double>("area"), 6.0);
    EXPECT_EQ(polygon.call<double>("centroid"), 4.0 / 3);  // asked for one output only
    EXPECT_EQ((polygon.call<double, double>("centroid")), std::make_tuple(4.0 / 3, 1.0));

    polygon.call("scale", 2.0);
    polygon.set("name", "big");
    EXPECT_EQ(polygon.get<std::vector<double>>("xs"), (std::vector<double>{0, 8, 0}));
    EXPECT_EQ(polygon.get<std::vector<double>>("ys"), (std::vector<double>{0, 0, 6}));
    EXPECT_EQ(polygon.get<std::string>("name"), "big");
    EXPECT_EQ(kit::invoke<double>("geo.util.area", polygon), 24.0);
}

TEST_P(EitherBinding, AStaticMethodReturnsANewHostObject) {
    kit::Object square = kit::invokeStatic<kit::Object>("geo.Polygon", "unitSquare");
    EXPECT_EQ(square.className(), "geo.Polygon");
    EXPECT_EQ(square.get<std::string>("name"), "unit square");
    EXPECT_EQ(kit::invoke<double>("geo.util.area", square), 1.0);
    EXPECT_NE(kit::invokeStatic<kit::Object>("geo.Polygon", "unitSquare").handle(), square.handle());
}

INSTANTIATE_TEST_SUITE_P(Geo, EitherBinding, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "typed" : "raw"; });

class Typed : public kit::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        auto geo = geo::defineGeo();
        EXPECT_NO_DIAGNOSTICS(geo.record());
        geo.publish();
    }
};

TEST_F(Typed, WrongInputsAreHostErrorsNamingTheArgument) {
    kit::Object polygon = triangle();
    EXPECT_HOST_ERROR(polygon.call("addVertex", 1.0), "LUMEN:orrery_typed:WrongInputCount",
                      "geo.Polygon.addVertex takes 3 inputs (self, x, y), but was given 2.");
    EXPECT_HOST_ERROR(polygon.call("addVertex", 1.0, "up"), "LUMEN:orrery_typed:BadInput",
                      "Input 3 (y) of geo.Polygon.addVertex must be a double scalar, not a string scalar (\"up\").");
    EXPECT_HOST_ERROR(kit::construct("geo.Polygon", 7.0), "LUMEN:orrery_typed:BadInput",
                      "Input 1 (name) of geo.Polygon must be a string scalar or a character vector, not a double "
                      "scalar (7).");
    EXPECT_HOST_ERROR(kit::invoke<double>("geo.util.area", 1.0), "LUMEN:orrery_typed:BadInput",
                      "Input 1 (polygon) of geo.util.area must be a constructed geo.Polygon object, not a double "
                      "scalar (1).");
    EXPECT_HOST_ERROR((polygon.call<double, double, double>("centroid")), "LUMEN:orrery_typed:TooManyOutputs",
                      "geo.Polygon.centroid gives 2 outputs (cx, cy), but 3 were asked for.");
    EXPECT_HOST_ERROR(polygon.set("area", 1.0), "LUMEN:orrery_typed:ReadOnlyProperty",
                      "Property geo.Polygon.area is read-only.");
    EXPECT_HOST_ERROR(polygon.set("name", 1.0), "LUMEN:orrery_typed:BadPropertyValue",
                      "Property geo.Shape.name must be set to a string scalar or a character vector, not a double "
                      "scalar (1).");
}

TEST_F(Typed, FailuresOfTheLibraryAndAbstractMembersAreNamedHostErrors) {
    kit::Object line = kit::construct("geo.Polygon", "line");
    EXPECT_HOST_ERROR(line.call<double>("centroid"), "LUMEN:orrery_typed:CppException",
                      "geo.Polygon.centroid failed: polygon 'line' encloses no area");
    EXPECT_HOST_ERROR(kit::invokeStatic("geo.Shape", "scale", line, 2.0), "LUMEN:orrery_typed:AbstractMember",
                      "Method geo.Shape.scale is abstract: a subclass must implement it.");
    line.deleteObject();
    EXPECT_HOST_ERROR(line.get<std::string>("name"), "LUMEN:orrery_typed:InvalidObject",
                      "geo.Shape.name needs a constructed geo.Shape object, not a deleted geo.Polygon object.");
}

}  // namespace
