#pragma once

#include <atomic>
#include <ostream>
#include <string>

#include "host/host_export.hpp"
#include "host/interned.hpp"

namespace orrery::reference {

// What the host has made and not yet freed, one count per kind. Every count is zero
// after shutdown() once client code has dropped its own handles and records. The
// fields are listed once, here; `forEach` names them for printing and copying.
template <class Count>
struct LiveCountsOf {
    Count classInfos{};  // on the class-info heap
    Count methodInfos{};  // on the method-info heap
    Count namespaceInfos{};  // on the namespace-info heap
    Count propInfos{};  // constructed property metadata objects
    Count classes{};  // host class objects
    Count packages{};  // host packages
    Count signatures{};
    Count objects{};  // host objects (instances and class data types)
    Count arrays{};
    Count strings{};  // string elements of string arrays
    Count heapBlocks{};  // utMalloc blocks, e.g. enumeration bodies
    Count defaultValues{};  // handed out by makeDefaultValue, not yet released

    friend bool operator==(const LiveCountsOf&, const LiveCountsOf&) = default;

    template <class Self, class Visit>
    static void forEach(Self& self, Visit visit) {
        visit("class infos", self.classInfos);
        visit("method infos", self.methodInfos);
        visit("namespace infos", self.namespaceInfos);
        visit("property infos", self.propInfos);
        visit("class objects", self.classes);
        visit("packages", self.packages);
        visit("signatures", self.signatures);
        visit("objects", self.objects);
        visit("arrays", self.arrays);
        visit("strings", self.strings);
        visit("heap blocks", self.heapBlocks);
        visit("default values", self.defaultValues);
    }
};

struct LiveCounts : LiveCountsOf<long> {
    long total() const;
    friend bool operator==(const LiveCounts&, const LiveCounts&) = default;
};
ORRERY_HOST_API LiveCounts liveCounts();
// Names the non-zero counts, e.g. "2 class infos, 1 signatures", or "nothing alive".
ORRERY_HOST_API std::ostream& operator<<(std::ostream& out, const LiveCounts& counts);

// What is alive, for people: the counts as above, then each instance by its class
// ("object of class pkg.Point"). After shutdown() this is what client code still holds.
ORRERY_HOST_API std::string leakReport();

inline long LiveCounts::total() const {
    long sum = 0;
    forEach(*this, [&](const char*, long count) { sum += count; });
    return sum;
}

// How often host behaviour ran, for tests that must see it run (or not). Atomic: the
// host may be called on several threads. shutdown() sets them back to zero.
struct CallCounts {
    std::atomic<long> canContainInterfaces{0};  // COSPropInfo's own answer
    std::atomic<long> copyData{0};  // COSClassInfo's own copy
    std::atomic<long> typeLookups{0};  // COSTypeRepository::getType
    std::atomic<long> defaultValuesMade{0};
    std::atomic<long> defaultValuesReleased{0};
    std::atomic<long> invalidTypeReports{0};

    template <class Visit>
    static void forEach(CallCounts& self, Visit visit) {
        for (auto* count : {&self.canContainInterfaces, &self.copyData, &self.typeLookups, &self.defaultValuesMade,
                            &self.defaultValuesReleased, &self.invalidTypeReports})
            visit(*count);
    }
};
ORRERY_HOST_API CallCounts& callCounts();
ORRERY_HOST_API void resetCallCounts();

// The last report of a property with an unknown data type: the property's name id and
// the type id, as issueInvalidPropertyDatatypeAssertion received them.
struct InvalidTypeReport {
    COSId propertyName;
    COSId typeId;
};
ORRERY_HOST_API InvalidTypeReport lastInvalidTypeReport();

}  // namespace orrery::reference
