// The reference host itself: what the library relies on must hold here, or every other
// test would prove nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "convenience/values.hpp"
#include "host/array.hpp"
#include "host/enumeration.hpp"
#include "host/exception.hpp"
#include "host/interned.hpp"
#include "host/method_signature.hpp"
#include "host/reference/reference_host.hpp"
#include "host/value.hpp"
#include "support/host_error.hpp"
#include "support/host_fixture.hpp"
#include "support/host_metadata.hpp"

namespace {

using namespace orrery;
namespace values = orrery::convenience::values;

class Host : public orrery::testing::HostTest {};

TEST(Interning, EqualTextGivesOnePointerAcrossThreads) {
    EXPECT_EQ(internal::makeInterned("pkg.Point"), internal::makeInterned(std::string("pkg.") + "Point"));
    EXPECT_NE(internal::makeInterned("a"), internal::makeInterned("b"));
    EXPECT_EQ(COSId().get(), nullptr);
    EXPECT_NE(internal::makeInterned(""), nullptr);  // interned empty text is not the empty id

    std::vector<std::set<const std::string*>> seen(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) seen[t].insert(internal::makeInterned("n" + std::to_string(i % 100)));
        });
    for (auto& thread : threads) thread.join();
    for (int t = 1; t < 4; ++t) EXPECT_EQ(seen[t], seen[0]);
    EXPECT_EQ(seen[0].size(), 100u);
}

TEST(Errors, CarryComponentIdAndCatalogueTextWithArguments) {
    using namespace foundation::core::except;
    struct Tag;
    const Message message{{std::string("pkg.Widget")}, "LUMEN:orrery_convenience", "ConstructorNotSupported"};
    EXPECT_HOST_ERROR(throw Exception<Tag>(message), "LUMEN:orrery_convenience:ConstructorNotSupported",
                      "Objects of class 'pkg.Widget' cannot be constructed.");
    EXPECT_EQ(Exception<Tag>(message).GetUnicodeMessageTxt(), u"Objects of class 'pkg.Widget' cannot be constructed.");
}

TEST(Errors, CatalogueFillsInArgumentsByNumberAndNamesAnUnknownMessage) {
    using namespace foundation::core::except;
    struct Tag;
    reference::addMessageText("test:host:Arguments", u"{2} and {0} of {1}; {5}{x} {}");
    // A number, UTF-8 text and UTF-16 text; {5} has no argument and stays empty.
    const Message message{
        {std::int64_t{-42}, std::string("zw\xC3\xB6lf"), std::u16string(u"f\u00fcnf")}, "test:host", "Arguments"};
    EXPECT_HOST_ERROR(throw Exception<Tag>(message), "test:host:Arguments",
                      "f\xC3\xBCnf and -42 of zw\xC3\xB6lf; {x} {}");
    EXPECT_EQ(Exception<Tag>(message).GetUnicodeMessageTxt(), u"f\u00fcnf and -42 of zw\u00f6lf; {x} {}");

    EXPECT_FALSE(reference::findMessageText("test:host:Missing").has_value());
    EXPECT_HOST_ERROR(throw Exception<Tag>(Message{{std::int64_t{1}}, "test:host", "Missing"}), "test:host:Missing",
                      "Unknown message test:host:Missing.");
}

TEST(Errors, PlaceholderMayEndThePatternAndMalformedArgumentsKeepWhatFollows) {
    using namespace foundation::core::except;
    struct Tag;
    reference::addMessageText("test:host:Last", u"{0} failed: {1}");
    reference::addMessageText("test:host:Only", u"{0}");
    // A Latin-1 message (as std::exception::what() may give) loses only its bad byte.
    const Message latin1{{std::string("order"), std::string("caf\xE9 au lait")}, "test:host", "Last"};
    EXPECT_HOST_ERROR(throw Exception<Tag>(latin1), "test:host:Last", "order failed: caf\xEF\xBF\xBD au lait");
    EXPECT_EQ(Exception<Tag>(latin1).GetUnicodeMessageTxt(), u"order failed: caf\uFFFD au lait");
    EXPECT_HOST_ERROR(throw Exception<Tag>(Message{{std::int64_t{7}}, "test:host", "Only"}), "test:host:Only", "7");
}

TEST(LiveCounts, PrinterNamesOnlyTheNonZeroCountsAndEveryFieldIsVisited) {
    reference::LiveCounts counts;
    auto printed = [&] {
        std::ostringstream out;
        out << counts;
        return out.str();
    };
    EXPECT_EQ(printed(), "nothing alive");
    counts.classInfos = 2;
    counts.signatures = 1;
    counts.defaultValues = 3;
    EXPECT_EQ(printed(), "2 class infos, 1 signatures, 3 default values");
    EXPECT_EQ(counts.total(), 6);

    // A counter added to the struct but not to forEach would never be printed or checked.
    std::size_t visited = 0;
    reference::LiveCounts::forEach(counts, [&](const char*, long) { ++visited; });
    EXPECT_EQ(visited * sizeof(long), sizeof(reference::LiveCounts));
}

TEST_F(Host, LiveCountsFollowWhatTheHostMakesAndFrees) {
    // Every test's leak check is only as good as these counts: they must rise, too.
    reference::defineClass("pkg.Thing");
    COSValue value = values::makeDouble(1);
    reference::LiveCounts expected;
    expected.classes = 1;
    expected.arrays = 1;
    EXPECT_EQ(reference::liveCounts(), expected);
    value = COSValue();
    expected.arrays = 0;
    EXPECT_EQ(reference::liveCounts(), expected);
}

TEST_F(Host, SignatureKeepsItsCallsAndShowsTheVariableArgumentMarkers) {
    std::unique_ptr<COSMethodSignature> made(COSMethodSignature::createMethodSignature());
    const reference::Signature& signature = reference::asSignature(made.get());
    EXPECT_EQ(signature.toString(), "() -> ()");
    made->setVarargout();
    EXPECT_EQ(signature.toString(), "() -> (...)");
    EXPECT_FALSE(signature.hasVarargin());
    EXPECT_TRUE(signature.hasVarargout());

    made->addInput(makeId("double"), makeId("x"));
    made->addInputWithDefault(makeId("any"), makeId("y"), makeId("0"));
    made->addOutput(makeId("pkg.Point scalar"), makeId("Output"));
    made->setSignatureOption(3);
    made->setVarargin();
    EXPECT_TRUE(signature.hasVarargin());
    EXPECT_EQ(signature.option(), 3);
    EXPECT_EQ(signature.toString(), "(double x, any y, ...) -> (pkg.Point scalar Output, ...)");
    EXPECT_EQ(signature.calls(), (std::vector<std::string>{"setVarargout", "addInput", "addInputWithDefault",
                                                           "addOutput", "setSignatureOption", "setVarargin"}));
    EXPECT_EQ(reference::liveCounts().signatures, 1);

    EXPECT_THROW_MESSAGE(reference::asSignature(nullptr), std::invalid_argument, "no signature");
}

TEST_F(Host, OwnCanContainInterfacesSaysNoOnlyForBuiltInTypes) {
    reference::defineClass("pkg.Point");
    struct Case {
        const char* type;
        bool canContain;
    };
    for (const Case c : {Case{"double", false},
                         {"double vector", false},
                         {"logical", false},
                         {"char scalar", false},
                         {"string vector", false},
                         {"any", true},
                         {"pkg.Point scalar", true},
                         {"pkg.Point vector", true},
                         {"no.Such scalar", true}}) {
        // Only the type answer is the test's own; canContainInterfaces is the host's.
        orrery::testing::ScriptedPropInfo property("p", makeId(c.type));
        EXPECT_EQ(property.canContainInterfaces(), c.canContain) << c.type;
    }
    EXPECT_EQ(reference::callCounts().canContainInterfaces, 9);
}

TEST_F(Host, EnumerationBodiesAreSharedAndFreedOnce) {
    int a = 0, b = 0;
    auto* pa = reinterpret_cast<COSInterface*>(&a);
    auto* pb = reinterpret_cast<COSInterface*>(&b);
    Enumeration<COSInterface*> empty;
    EXPECT_FALSE(empty.hasBody());
    EXPECT_TRUE(empty.empty());
    {
        Enumeration<COSInterface*> items{pa, pb};
        Enumeration<COSInterface*> copy = items;
        EXPECT_EQ(reference::liveCounts().heapBlocks, 1);
        ASSERT_EQ(copy.size(), 2u);
        EXPECT_EQ(copy[1], pb);
    }
    EXPECT_EQ(reference::liveCounts().heapBlocks, 0);
}

}  // namespace
