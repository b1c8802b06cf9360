// The observatory example on the reference host, written with the test kit: what the host
// sees of the namespace, objects that keep their state, the refused construction, strict
// inputs, variable arguments, and the copy and notification hooks.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "observatory.hpp"
#include "orrery_testkit/gtest.hpp"
#include "orrery_testkit/testkit.hpp"

namespace kit = orrery::testkit;
using orrery::makeId;

namespace {

// An aperture of one square metre: the snr of an exposure is then sqrt(1000 * seconds).
const double kUnitAperture = 2 / std::sqrt(std::numbers::pi);

class Observatory : public kit::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        auto observatory = observatory::defineObservatory();
        EXPECT_NO_DIAGNOSTICS(observatory);
        observatory->publish();
    }

    static std::tuple<double, double, double> statistics() {
        return kit::invoke<double, double, double>("observatory.statistics");
    }
};

TEST_F(Observatory, TheHostSeesTheWholeTree) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"observatory.Telescope",
         "(string scalar name, double scalar aperture) -> (observatory.Telescope scalar Output)"},
        {"observatory.Telescope.point",
         "(observatory.Telescope scalar self, double scalar ra, double scalar dec) -> ()"},
        {"observatory.Telescope.pointing",
         "(observatory.Telescope scalar self) -> (double scalar ra, double scalar dec)"},
        {"observatory.Telescope.observe",
         "(observatory.Telescope scalar self, string scalar target, double scalar exposure) -> "
         "(observatory.Observation scalar observation)"},
        {"observatory.Telescope.resolution", "(observatory.Telescope scalar self) -> (double scalar arcseconds)"},
        {"observatory.Observation", "(any varargin, ...) -> (observatory.Observation scalar Output)"},
        // Attached to the host class: name and output come from the class.
        {"observatory.Catalogue", "(string scalar name) -> (observatory.Catalogue scalar Output)"},
        {"observatory.Catalogue.add", "(observatory.Catalogue scalar self, ...) -> (double scalar count)"},
        {"observatory.Catalogue.totalExposure", "(observatory.Catalogue scalar self) -> (double scalar seconds)"},
        {"observatory.statistics",
         "() -> (double scalar observations, double scalar copies, double scalar notifications)"},
        {"observatory.sky.separation",
         "(double scalar Input_1, double scalar Input_2, double scalar Input_3, double scalar Input_4) -> "
         "(double scalar Output_1)"},
        {"observatory.sky.airmass", "(...) -> (double scalar Output_1, ...)"},
    };
    for (const auto& [name, signature] : expected) EXPECT_EQ(kit::signature(name), signature) << name;

    const std::vector<std::tuple<std::string, std::string, std::string>> properties = {
        {"observatory.Telescope", "name", "string scalar"},
        {"observatory.Telescope", "aperture", "double scalar"},
        {"observatory.Telescope", "observations", "double scalar"},
        {"observatory.Observation", "target", "string scalar"},
        {"observatory.Observation", "telescope", "string scalar"},
        {"observatory.Observation", "exposure", "double scalar"},
        {"observatory.Observation", "snr", "double scalar"},  // the hand-written property
        {"observatory.Catalogue", "name", "string scalar"},
        {"observatory.Catalogue", "count", "double scalar"},
    };
    for (const auto& [cls, name, type] : properties)
        EXPECT_EQ(kit::propertyType(cls, name), type) << cls << "." << name;
    // The records' members come after what the populate hook handed over itself.
    EXPECT_EQ(std::string(kit::resolveClass("observatory.Observation").properties().front()->getName()), "snr");
}

TEST_F(Observatory, ObjectsKeepTheirOwnState) {
    kit::Object unit = kit::construct("observatory.Telescope", "Unit", kUnitAperture);
    kit::Object small = kit::construct("observatory.Telescope", "Refractor", 0.1);
    unit.call("point", 10.6847, 41.2692);
    EXPECT_EQ((unit.call<double, double>("pointing")), std::make_tuple(10.6847, 41.2692));
    EXPECT_EQ((small.call<double, double>("pointing")), std::make_tuple(0.0, 0.0));
    // A 10 cm telescope resolves about 1.38 arcseconds; ten times the aperture, a tenth of it.
    EXPECT_NEAR(small.call<double>("resolution"), 1.384, 1e-3);
    small.set("aperture", 1.0);
    EXPECT_NEAR(small.call<double>("resolution"), 0.1384, 1e-4);

    kit::Object m31 = unit.call<kit::Object>("observe", "M31", 10.0);
    kit::Object m42 = unit.call<kit::Object>("observe", "M42", 2.5);
    EXPECT_EQ(m31.className(), "observatory.Observation");
    EXPECT_EQ(m31.get<std::string>("target"), "M31");
    EXPECT_EQ(m31.get<std::string>("telescope"), "Unit");
    EXPECT_NEAR(m31.get<double>("snr"), 100.0, 1e-9);
    m31.set("exposure", 40.0);
    EXPECT_NEAR(m31.get<double>("snr"), 200.0, 1e-9);
    EXPECT_EQ(unit.get<double>("observations"), 2.0);
    EXPECT_EQ(small.get<double>("observations"), 0.0);

    kit::Object messier = kit::construct("observatory.Catalogue", "Messier");
    EXPECT_EQ(messier.call<double>("add", m31, m42), 2.0);
    EXPECT_EQ(messier.call<double>("add"), 2.0);  // no observations: nothing added
    EXPECT_EQ(messier.get<double>("count"), 2.0);
    m42.set("exposure", 100.0);  // the catalogue keeps what the observation was when added
    EXPECT_EQ(messier.call<double>("totalExposure"), 42.5);
    EXPECT_EQ(std::get<0>(statistics()), 2.0);
}

TEST_F(Observatory, RefusedConstructionAndBadInputsAreErrors) {
    for (const std::vector<orrery::COSValue>& inputs :
         {std::vector<orrery::COSValue>{},
          {orrery::convenience::values::makeString("M31"), orrery::convenience::values::makeDouble(1)}})
        EXPECT_HOST_ERROR(orrery::reference::construct(makeId("observatory.Observation"), inputs),
                          "LUMEN:orrery_convenience:ConstructorNotSupported",
                          "Objects of class 'observatory.Observation' cannot be constructed.");

    kit::Object unit = kit::construct("observatory.Telescope", "Unit", 1.0);
    kit::Object catalogue = kit::construct("observatory.Catalogue", "c");
    kit::Object observation = unit.call<kit::Object>("observe", "Vega", 1.0);
    using std::invalid_argument, std::logic_error;
    EXPECT_THROW_MESSAGE(kit::construct("observatory.Telescope", "Unit"), invalid_argument,
                         "observatory.Telescope takes 2 inputs, not 1");
    EXPECT_THROW_MESSAGE(kit::construct("observatory.Telescope", "Unit", -2.0), invalid_argument,
                         "input 2 of observatory.Telescope must be positive");
    EXPECT_THROW_MESSAGE(kit::construct("observatory.Telescope", 3.0, 2.0), invalid_argument,
                         "input 1 of observatory.Telescope must be text, not a double scalar (3)");
    EXPECT_THROW_MESSAGE(unit.call("point", 360.0, 0.0), invalid_argument,
                         "observatory.Telescope.point: ra must lie in [0, 360)");
    EXPECT_THROW_MESSAGE(unit.call("point", 0.0, "north"), invalid_argument,
                         "input 3 of observatory.Telescope.point must be a finite double scalar, not a string scalar "
                         "(\"north\")");
    EXPECT_THROW(unit.call("point", 0.0, std::nan("")), invalid_argument);
    EXPECT_THROW_MESSAGE(kit::invokeStatic("observatory.Telescope", "point", catalogue, 1.0, 1.0), invalid_argument,
                         "input 1 of observatory.Telescope.point must be a live observatory.Telescope object");
    EXPECT_THROW_MESSAGE(catalogue.call<double>("add", observation, unit), invalid_argument,
                         "input 3 of observatory.Catalogue.add must be a live observatory.Observation object");
    EXPECT_EQ(catalogue.get<double>("count"), 0.0);  // nothing added when one input is wrong
    EXPECT_THROW_MESSAGE((unit.call<kit::Object, double>("observe", "Vega", 1.0)), invalid_argument,
                         "observatory.Telescope.observe gives 1 outputs, not 2");
    EXPECT_EQ(unit.get<double>("observations"), 1.0);  // refused before observing
    EXPECT_THROW_MESSAGE(observation.set("snr", 1.0), logic_error, "observatory.Observation.snr is read-only");
    EXPECT_THROW_MESSAGE(observation.set("target", "Deneb"), logic_error,
                         "observatory.Observation.target is read-only");
    EXPECT_THROW_MESSAGE(observation.set("exposure", 0.0), invalid_argument,
                         "observatory.Observation.exposure must be a positive double scalar, not a double scalar (0)");

    observation.deleteObject();
    EXPECT_THROW_MESSAGE(observation.get<double>("snr"), invalid_argument,
                         "the object of snr must be a live observatory.Observation object");
}

TEST_F(Observatory, FunctionsTakeVariableArguments) {
    EXPECT_NEAR(kit::invoke<double>("observatory.sky.separation", 0.0, 0.0, 90.0, 0.0), 90.0, 1e-12);
    EXPECT_NEAR(kit::invoke<double>("observatory.sky.separation", 0.0, 90.0, 123.0, 90.0), 0.0, 1e-6);  // the pole
    EXPECT_NEAR(kit::invoke<double>("observatory.sky.separation", 359.5, 0.0, 0.5, 0.0), 1.0, 1e-12);  // wraps at 0
    EXPECT_NEAR(kit::invoke<double>("observatory.sky.separation", 10.0, 20.0, 10.0, 20.0 + 1e-7), 1e-7, 1e-12);

    const auto [zenith, thirty] = kit::invoke<double, double>("observatory.sky.airmass", 90.0, 30.0);
    EXPECT_NEAR(zenith, 1.0, 1e-12);
    EXPECT_NEAR(thirty, 2.0, 1e-12);
    EXPECT_NEAR(kit::invoke<double>("observatory.sky.airmass", 30.0, 90.0, 45.0), 2.0, 1e-12);  // the first only
    using std::invalid_argument;
    EXPECT_THROW_MESSAGE(kit::invoke<double>("observatory.sky.airmass"), invalid_argument,
                         "observatory.sky.airmass needs at least one altitude");
    EXPECT_THROW_MESSAGE((kit::invoke<double, double>("observatory.sky.airmass", 60.0)), invalid_argument,
                         "observatory.sky.airmass gives 1 outputs, not 2");
    EXPECT_THROW_MESSAGE(kit::invoke<double>("observatory.sky.airmass", 45.0, 0.0), invalid_argument,
                         "input 2 of observatory.sky.airmass must be an altitude in (0, 90] degrees");
    EXPECT_THROW_MESSAGE(kit::invoke<double>("observatory.sky.separation", 1.0, 2.0, 3.0), invalid_argument,
                         "observatory.sky.separation takes 4 inputs, not 3");
}

TEST_F(Observatory, CopyAndNotifyReachTheObjectsData) {
    kit::Object unit = kit::construct("observatory.Telescope", "Unit", 1.0);
    kit::Object other = kit::construct("observatory.Telescope", "Other", 2.0);
    unit.call("point", 10.0, 20.0);
    kit::Object source = unit.call<kit::Object>("observe", "M31", 30.0);
    kit::Object target = other.call<kit::Object>("observe", "M42", 5.0);

    orrery::COSClassInfo& info = *kit::resolveClass("observatory.Observation").info();
    info.copyData(source.handle().get(), target.handle().get(), makeId("exposure"));
    EXPECT_EQ(target.get<double>("exposure"), 30.0);
    EXPECT_EQ(target.get<std::string>("target"), "M42");  // only the part named
    info.copyData(source.handle().get(), target.handle().get(), makeId("target"));
    EXPECT_EQ(target.get<std::string>("target"), "M31");
    EXPECT_EQ(target.get<std::string>("telescope"), "Other");
    info.copyData(source.handle().get(), target.handle().get(), orrery::COSId());  // all of it
    EXPECT_EQ(target.get<std::string>("telescope"), "Unit");
    EXPECT_EQ(target.get<double>("snr"), source.get<double>("snr"));
    source.set("exposure", 1.0);  // a copy, not a share
    EXPECT_EQ(target.get<double>("exposure"), 30.0);

    EXPECT_THROW_MESSAGE(info.copyData(source.handle().get(), target.handle().get(), makeId("snr")),
                         std::invalid_argument, "an observatory.Observation has no part snr to copy");
    EXPECT_THROW_MESSAGE(info.copyData(source.handle().get(), unit.handle().get(), orrery::COSId()),
                         std::invalid_argument, "the copy's target must be a live observatory.Observation object");

    orrery::COSClassInfo& telescopes = *kit::resolveClass("observatory.Telescope").info();
    telescopes.notify();
    telescopes.notify();
    EXPECT_EQ(statistics(), std::make_tuple(2.0, 3.0, 2.0));  // failed copies are not counted

    // A second definition keeps its own statistics.
    orrery::reference::shutdown();
    observatory::defineObservatory()->publish();
    EXPECT_EQ(statistics(), std::make_tuple(0.0, 0.0, 0.0));
}

}  // namespace
