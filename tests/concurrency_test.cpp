// What the contract allows on several threads at once: records built and signed on
// their own threads, a cached default read everywhere, defaults of different records
// computed side by side. Run under ThreadSanitizer too (the tsan preset).
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "convenience/convenience.hpp"
#include "convenience/diagnostics/live_records.hpp"
#include "host/reference/reference_host.hpp"
#include "support/host_fixture.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;
using ConcurrencyTest = orrery::testing::HostTest;

constexpr int kThreads = 4;

template <class Work>
void onThreads(Work work) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) threads.emplace_back(work, t);
    for (auto& thread : threads) thread.join();
}

TEST_F(ConcurrencyTest, DistinctRecordsAreBuiltAndSignedOnTheirOwnThreads) {
    std::vector<std::vector<std::string>> texts(kThreads);
    onThreads([&](int t) {
        for (int i = 0; i < 50; ++i) {
            auto method = createMethod("m" + std::to_string(i));
            method->inputTypes = {makeId("double"), makeId("t" + std::to_string(t))};
            method->outputTypes = {makeId("logical")};
            texts[t].push_back(reference::asSignature(method->getMethodSignature().get()).toString());
        }
    });
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(texts[t].size(), 50u);
        EXPECT_EQ(texts[t][7], "(double Input_1, t" + std::to_string(t) + " Input_2) -> (logical Output_1)");
    }
    EXPECT_EQ(reference::liveCounts().signatures, 0);
}

TEST_F(ConcurrencyTest, ACachedDefaultIsReadFromSeveralThreads) {
    auto property = createProperty("x");
    property->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    const COSValue first = property->GetFactoryDefaultValue();
    onThreads([&](int) {
        for (int i = 0; i < 1000; ++i) {
            COSValue copy = property->GetFactoryDefaultValue();
            EXPECT_EQ(copy.content(), first.content());
        }
    });
    // Every copy gave its share back: the cache and `first` are the only owners left.
    EXPECT_EQ(first.content()->shareCount(), 1);
    EXPECT_EQ(reference::liveCounts().arrays, 1);
}

TEST_F(ConcurrencyTest, DefaultsOfDifferentRecordsAreComputedSideBySide) {
    reference::defineClass("pkg.Point");
    std::vector<std::shared_ptr<COSPropInfoStruct>> properties;
    for (int i = 0; i < kThreads * 20; ++i) {
        auto property = createProperty(("p" + std::to_string(i)).c_str());
        property->SetTypeAndImplicitFactoryDefaultFcn(makeId(i % 2 ? "pkg.Point scalar" : "logical"));
        properties.push_back(property);
    }
    onThreads([&](int t) {
        for (int i = t; i < kThreads * 20; i += kThreads)
            EXPECT_FALSE(properties[static_cast<std::size_t>(i)]->GetFactoryDefaultValue().isEmpty());
    });
    EXPECT_EQ(reference::liveCounts().defaultValues, kThreads * 20);
    properties.clear();
    EXPECT_EQ(reference::liveCounts().defaultValues, 0);
}

TEST_F(ConcurrencyTest, RecordsComeAndGoOnSeveralThreads) {
    onThreads([](int t) {
        for (int i = 0; i < 200; ++i) {
            auto cls = createClass(("pkg.C" + std::to_string(t)).c_str());
            auto copy = std::make_shared<COSClassInfoStruct>(*cls);
            cls->addProperty(createProperty("x"));
            cls->propertyRecords.clear();
        }
    });
    EXPECT_EQ(diagnostics::liveRecordCount(), 0u);
}

// A report taken while other threads make, copy, move, assign and destroy records reads
// only records whose fields all exist, each under a whole name: the one it was made with,
// or none while one of its own operations changes it. Names past the small-string room,
// so that a torn read would show.
TEST_F(ConcurrencyTest, ALeakReportIsTakenWhileRecordsComeAndGo) {
    const std::string name = "concurrent.record.with.a.name.on.the.heap";
    const std::string other = "another.concurrent.record.named.on.the.heap";
    std::atomic<int> building{kThreads - 1};
    std::vector<std::thread> makers;
    for (int t = 1; t < kThreads; ++t)
        makers.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                auto cls = createClass(name.c_str());
                COSMethodInfoStruct copied(*createMethod(name));
                COSNamespaceInfoStruct moved(std::move(*createNamespace(name.c_str())));
                auto function = createFunction(name.c_str());
                *function = *createFunction(other.c_str());  // copy-assigned while entered
                auto method = createMethod(name);
                *method = std::move(copied);  // both sides change their name
                *cls = *createClass(other.c_str());
                auto property = std::make_shared<COSPropInfoStruct>(*createProperty(name.c_str()));
                cls->addConstructor(createConstructor());  // named after the class
                cls->constructorRecords.clear();  // the pair would keep each other alive
            }
            building.fetch_sub(1);
        });
    int reports = 0;
    bool garbled = false;
    while ((building.load() > 0 || reports == 0) && !garbled) {
        for (const auto& record : diagnostics::liveRecords()) {
            garbled = !(record.name.empty() || record.name == name || record.name == other);
            EXPECT_FALSE(garbled) << record.kind << " \"" << record.name << '"';
            if (garbled) break;
        }
        ++reports;
    }
    for (auto& maker : makers) maker.join();
    EXPECT_EQ(diagnostics::liveRecordCount(), 0u);
}

}  // namespace
