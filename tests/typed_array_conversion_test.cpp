// Arrays of texts and of bound objects: std::vector<std::string>, std::vector<std::u16string>
// and std::vector<T> of a bound class to host arrays and back, through members and directly.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "convenience/typed/typed.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "orrery_testkit/testkit.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"

using namespace orrery;
namespace values = orrery::convenience::values;
using namespace orrery::convenience::typed;
using namespace orrery::convenience::values;
namespace kit = orrery::testkit;

namespace {

struct Point {
    double x = 0, y = 0;
};
struct Point3 : Point {
    double z = 0;
};

class ArrayConversions : public orrery::testing::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        auto pts = defineNamespace("pts");
        auto point = pts.defineClass<Point>("Point").constructor<>().property("x", &Point::x);
        pts.defineClass<Point3>("Point3").superclass(point).constructor<>();
        pts.function("shifted",
                     [](std::vector<Point> points, double dx) {
                         for (Point& p : points) p.x += dx;
                         return points;
                     },
                     {"points", "dx"})
            .function("joined",
                      [](const std::vector<std::string>& words) {
                          std::string out;
                          for (const auto& word : words) out += (out.empty() ? "" : "+") + word;
                          return out;
                      },
                      {"words"})
            .function("reversed",
                      [](std::vector<std::u16string> words) { return std::vector(words.rbegin(), words.rend()); },
                      {"words"});
        pts.publish();
    }
};

TEST_F(ArrayConversions, StringVectorsTravelAsStringRowsBothWays) {
    const std::vector<std::string> words{"a", "caf\u00e9", ""};
    const COSValue row = Converter<std::vector<std::string>>::make(words);
    EXPECT_EQ(values::displayValue(row),
              values::displayValue(reference::makeStringArray({1, 3}, {u"a", std::u16string(u"caf\u00e9"), u""})));
    EXPECT_EQ(Converter<std::vector<std::string>>::read(row), words);
    EXPECT_EQ(Converter<std::vector<std::u16string>>::read(row),
              (std::vector<std::u16string>{u"a", u"caf\u00e9", u""}));
    // Columns and empty arrays are vectors too; a matrix, a missing string and a char
    // vector are not string vectors.
    EXPECT_EQ(Converter<std::vector<std::string>>::read(reference::makeStringArray({2, 1}, {u"x", u"y"})),
              (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(Converter<std::vector<std::string>>::read(Converter<std::vector<std::string>>::make({})),
              std::vector<std::string>{});
    EXPECT_EQ(Converter<std::vector<std::string>>::read(reference::makeStringArray({2, 2}, {u"a", u"b", u"c", u"d"})),
              std::nullopt);
    EXPECT_EQ(Converter<std::vector<std::string>>::read(reference::makeStringArray({1, 2}, {u"a", std::nullopt})),
              std::nullopt);
    EXPECT_EQ(Converter<std::vector<std::u16string>>::read(values::makeChars("ab")), std::nullopt);
    EXPECT_EQ(Converter<std::vector<std::string>>::typeId(), makeId("string vector"));

    EXPECT_EQ(kit::invoke<std::string>("pts.joined", words), "a+caf\u00e9+");
    EXPECT_EQ(kit::invoke<std::vector<std::u16string>>("pts.reversed", std::vector<std::u16string>{u"1", u"2"}),
              (std::vector<std::u16string>{u"2", u"1"}));
    EXPECT_HOST_ERROR(kit::invoke<std::string>("pts.joined", 3.0), "LUMEN:orrery_typed:BadInput",
                      "Input 1 (words) of pts.joined must be a string vector, not a double scalar (3).");
}

TEST_F(ArrayConversions, VectorsOfABoundClassTravelAsObjectRowsOfCopies) {
    kit::Object a = kit::construct("pts.Point");
    a.set("x", 1.0);
    kit::Object b = kit::construct("pts.Point3");  // a subclass object stands in for a Point
    b.set("x", 2.0);
    const COSValue points = convenience::values::makeObjects(std::vector{a.handle(), b.handle()});

    const auto read = Converter<std::vector<Point>>::read(points);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[1].x, 2.0);
    EXPECT_EQ(Converter<std::vector<Point>>::typeId(), makeId("pts.Point vector"));
    EXPECT_EQ(kit::signature("pts.shifted"),
              "(pts.Point vector points, double scalar dx) -> (pts.Point vector Output_1)");

    const auto shifted = kit::invoke<COSValue>("pts.shifted", points, 10.0);
    const auto objects = peekObjects(shifted);
    ASSERT_TRUE(objects);
    ASSERT_EQ(objects->size(), 2u);
    EXPECT_EQ(objectAs<Point>((*objects)[0])->x, 11.0);
    EXPECT_NE((*objects)[0], a.handle().get());  // new objects holding copies
    EXPECT_EQ(omGetObjectClass((*objects)[1])->getClassID(), makeId("pts.Point"));
    EXPECT_EQ(a.get<double>("x"), 1.0);

    // Anything but constructed Points in an object vector does not read.
    kit::Object gone = kit::construct("pts.Point");
    gone.deleteObject();
    EXPECT_EQ(
        Converter<std::vector<Point>>::read(convenience::values::makeObjects(std::vector{a.handle(), gone.handle()})),
        std::nullopt);
    EXPECT_EQ(Converter<std::vector<Point3>>::read(points), std::nullopt);  // a is no Point3
    EXPECT_HOST_ERROR(kit::invoke<COSValue>("pts.shifted", 1.0, 1.0), "LUMEN:orrery_typed:BadInput",
                      "Input 1 (points) of pts.shifted must be an object vector of constructed pts.Point objects, not "
                      "a double scalar (1).");
}

}  // namespace
