// The garden binding on the reference host, written with the test kit: what the host
// sees, and plants used through it as a host's user would.
#include <gtest/gtest.h>

#include <string>

#include "garden_binding.hpp"
#include "orrery_testkit/gtest.hpp"
#include "orrery_testkit/testkit.hpp"

namespace kit = orrery::testkit;

namespace {

class Garden : public kit::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        garden::defineGarden().publish();
    }
};

TEST_F(Garden, TheHostSeesTheseSignatures) {
    EXPECT_EQ(kit::signature("garden.Plant"), "(string scalar name) -> (garden.Plant scalar Output)");
    EXPECT_EQ(kit::signature("garden.Tree"),
              "(string scalar name, double scalar trunkDiameter) -> (garden.Tree scalar Output)");
    EXPECT_EQ(kit::signature("garden.Plant.grow"), "(garden.Plant scalar self, double scalar metres) -> ()");
    EXPECT_EQ(kit::signature("garden.plantsPerBed"),
              "(double scalar area, double scalar spacing) -> (double scalar Output_1)");
    EXPECT_EQ(kit::propertyType("garden.Plant", "height"), "double scalar");
    EXPECT_EQ(kit::resolveClass("garden.Tree").superclasses().at(0).id.str(), "garden.Plant");
}

TEST_F(Garden, PlantsGrowAndTheirHeightIsReadOnly) {
    kit::Object rose = kit::construct("garden.Plant", "rose");
    rose.call("grow", 0.25);
    rose.call("grow", 0.5);
    EXPECT_EQ(rose.get<double>("height"), 0.75);
    rose.set("name", "climbing rose");
    EXPECT_EQ(rose.call<std::string>("describe"), "climbing rose, a plant");
    // The library's exceptions reach the host's user as host errors.
    EXPECT_HOST_ERROR(rose.set("height", 3.0), "LUMEN:orrery_typed:ReadOnlyProperty",
                      "Property garden.Plant.height is read-only.");
    EXPECT_HOST_ERROR(rose.call("grow", -1.0), "LUMEN:orrery_typed:CppException",
                      "garden.Plant.grow failed: plants do not shrink");
    EXPECT_EQ(rose.get<double>("height"), 0.75);  // a refused call changed nothing
}

TEST_F(Garden, ATreeIsAPlantWithItsOwnDescription) {
    kit::Object oak = kit::construct("garden.Tree", "oak", 0.4);
    EXPECT_EQ(oak.className(), "garden.Tree");
    EXPECT_EQ(oak.get<double>("trunkDiameter"), 0.4);
    // Plant's members on a Tree; describe is Tree's.
    oak.call("grow", 2.0);
    EXPECT_EQ(oak.get<double>("height"), 2.0);
    EXPECT_EQ(oak.call<std::string>("describe"), "oak, a tree");
}

TEST_F(Garden, PlantsPerBedCountsWholePlants) {
    EXPECT_EQ(kit::invoke<double>("garden.plantsPerBed", 10.0, 1.5), 4.0);
    EXPECT_HOST_ERROR(kit::invoke<double>("garden.plantsPerBed", 10.0, 0.0), "LUMEN:orrery_typed:CppException",
                      "garden.plantsPerBed failed: the spacing must be positive");
}

}  // namespace
