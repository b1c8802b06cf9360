// The reference host's class registry: which class a name finds, when a class info
// populates its class object, and what a failed population leaves behind.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "host/cos_class.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/host_metadata.hpp"

namespace {

using namespace orrery;
using orrery::testing::ScriptedClassInfo;
using orrery::testing::ScriptedPropInfo;

class Registry : public orrery::testing::HostTest {
protected:
    // The registry owns the info from here on.
    static ScriptedClassInfo* registerClass(const std::string& name) {
        auto* info = new ScriptedClassInfo(name);
        COSClass::addClass(info);
        return info;
    }
};

TEST_F(Registry, FirstRegistrationOfANameWinsAndBothInfosAreOwned) {
    auto* first = registerClass("pkg.Point");
    auto* second = registerClass("pkg.Point");
    EXPECT_EQ(reference::registeredClassInfos(), (std::vector<COSClassInfo*>{first, second}));
    EXPECT_EQ(reference::classNames(), (std::vector<std::string>{"pkg.Point", "pkg.Point"}));

    reference::ClassObject* cls = reference::findClass("pkg.Point");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->info(), first);
    EXPECT_EQ(COSClass::getClass(makeId("pkg.Point")), cls);
    EXPECT_EQ(first->populations, 1);
    EXPECT_EQ(second->populations, 0);

    EXPECT_EQ(reference::liveCounts().classInfos, 2);
    reference::shutdown();
    EXPECT_EQ(reference::liveCounts().classInfos, 0);
}

TEST_F(Registry, LookupFromInsideThePopulationFindsTheClassBeingPopulated) {
    auto* info = registerClass("pkg.Point");
    std::vector<COSClass*> seen;
    info->populate = [&](COSClass* cls, const COSClient* client) {
        if (info->populations > 1) return;  // a second population must not recurse forever
        EXPECT_EQ(client, reference::client());
        seen = {cls, reference::findClass("pkg.Point"), COSClass::getClass(makeId("pkg.Point")),
                reference::populate(info)};
    };
    reference::ClassObject* cls = reference::findClass("pkg.Point");
    EXPECT_EQ(seen, std::vector<COSClass*>(4, cls));
    EXPECT_EQ(info->populations, 1);
    EXPECT_EQ(reference::liveCounts().classes, 1);
}

TEST_F(Registry, FailedPopulationIsRolledBackAndTheNextRequestPopulatesAgain) {
    auto* info = registerClass("pkg.Point");
    std::vector<COSClass*> given;
    info->populate = [&](COSClass* cls, const COSClient*) {
        given.push_back(cls);
        cls->addPropertyInfo(new ScriptedPropInfo("x"));
        if (given.size() == 1) throw std::runtime_error("first population fails");
    };
    EXPECT_THROW_MESSAGE(reference::findClass("pkg.Point"), std::runtime_error, "first population fails");
    EXPECT_TRUE(reference::isKnownClass("pkg.Point"));

    reference::ClassObject* cls = reference::findClass("pkg.Point");
    ASSERT_EQ(given.size(), 2u);
    EXPECT_EQ(cls, given[1]);
    EXPECT_NE(cls, given[0]);
    EXPECT_EQ(reference::findClass("pkg.Point"), cls);
    EXPECT_EQ(info->populations, 2);
    // The info may still point at the failed class object: it lives, out of every
    // lookup, until shutdown frees it with what it was given.
    EXPECT_EQ(reference::liveCounts().classes, 2);
    EXPECT_EQ(reference::liveCounts().propInfos, 2);
}

}  // namespace
