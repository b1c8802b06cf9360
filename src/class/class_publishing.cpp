#include <cstddef>
#include <stdexcept>
#include <utility>

#include "class/class_population.hpp"
#include "convenience/class_info_struct.hpp"
#include "convenience/configurable_class_info.hpp"
#include "convenience/configurable_constructor_info.hpp"
#include "convenience/configurable_method_info.hpp"
#include "convenience/configurable_prop_info.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "detail/argument_checks.hpp"
#include "detail/class_populations.hpp"
#include "detail/prefetch.hpp"
#include "detail/record_ledger.hpp"

namespace orrery::convenience {
namespace {

// Far enough ahead to cover a miss with the work of a few hand-overs, near enough that
// the lines are still there when their turn comes.
constexpr std::size_t prefetchDistance = 4;

}  // namespace

// The adaptor is its host base and the record pointer, nothing more.
static_assert(sizeof(ClassInfoAdaptor) == sizeof(COSClassInfo) + sizeof(std::shared_ptr<COSClassInfoStruct>));

void COSClassInfoStruct::flushEnumMembers() {}

void COSClassInfoStruct::flush() {
    flushEnumMembers();
    populateClassFcn = detail::ClassPopulation(populateClassFcn, this);
}

void COSClassInfoStruct::publish() {
    flush();
    // Allocation precedes shared_from_this(); if that throws, the new-expression hands
    // the memory back to COSClassInfo::operator delete.
    COSClass::addClass(new ClassInfoAdaptor(shared_from_this()));
}

void COSClassInfoStruct::attach(COSPackage* package) {
    detail::requireNonNull(package, "attach", "host package");
    flush();
    package->addClassInfo(new ClassInfoAdaptor(shared_from_this()), 0, 2);
}

void COSClassInfoStruct::attach(std::shared_ptr<COSNamespaceInfoStruct> namespaceRecord) {
    detail::requireNonNull(namespaceRecord, "attach", "namespace record");
    namespaceRecord->addClass(shared_from_this());
}

void COSClassInfoStruct::moveContentToCosClass(COSClass* target) {
    // A null host class would crash at the first hand-over; refused while the lists are
    // whole. With nothing to hand over there is nothing to refuse.
    if (!target && !(propertyRecords.empty() && methodRecords.empty() && propertyInfos.empty() && methodInfos.empty() &&
                     constructorRecords.empty() && superclasses.empty()))
        throw std::invalid_argument("moveContentToCosClass: the host class is null");
    // The member records were made long before the host populates their class, so their
    // shares are cold by now; asking for the next few early lets those misses overlap.
    const auto prefetchAhead = [](const auto& list, std::size_t i) {
        if (i + prefetchDistance < list.size()) detail::prefetchShares(list[i + prefetchDistance].get());
    };
    for (std::size_t i = 0; i < prefetchDistance; ++i) {
        if (i < propertyRecords.size()) detail::prefetchShares(propertyRecords[i].get());
        if (i < methodRecords.size()) detail::prefetchShares(methodRecords[i].get());
    }
    for (std::size_t i = 0; i < propertyRecords.size(); ++i) {
        prefetchAhead(propertyRecords, i);
        target->addPropertyInfo(new ConfigurableCOSPropInfo(propertyRecords[i]));
    }
    for (std::size_t i = 0; i < methodRecords.size(); ++i) {
        prefetchAhead(methodRecords, i);
        target->addMethodInfo(new ConfigurableCOSMethodInfo(methodRecords[i]));
    }
    for (COSPropInfo* info : propertyInfos) target->addPropertyInfo(info);
    for (COSMethodInfo* info : methodInfos) target->addMethodInfo(info);
    // The host keeps constructors among the methods.
    for (const auto& constructor : constructorRecords)
        target->addMethodInfo(new ConfigurableCOSConstructorInfo(constructor));
    for (const SuperclassEntry& entry : superclasses)
        target->addSuperclass(entry.id, entry.firstFlag, entry.number, entry.secondFlag);

    // Emptied with their room: a populated record keeps no list again in the usual case,
    // and room kept for nothing is most of what a class record costs beside its fields.
    std::exchange(propertyRecords, {});
    std::exchange(methodRecords, {});
    std::exchange(propertyInfos, {});
    std::exchange(methodInfos, {});
    std::exchange(constructorRecords, {});
    std::exchange(superclasses, {});
}

void ClassPrivateFriend::moveContentToCosClass(std::shared_ptr<COSClassInfoStruct> record, COSClass* cosClass) {
    detail::requireNonNull(record, "moveContentToCosClass", "class record");
    record->moveContentToCosClass(cosClass);
}

}  // namespace orrery::convenience

namespace orrery::convenience::detail {

void populateClassRecord(const void* adaptor, COSClassInfoStruct& record, COSClass* cosClass, const COSClient* client) {
    // Stored first, so that members can find their host class from inside the hook.
    noteClassAdaptorPopulated(adaptor, record, cosClass);
    record.cosClass = cosClass;
    record.cosClient = client;
    // A copy runs, so that a hook may replace populateClassFcn without pulling the running
    // callable out from under itself. Publishing's own wrapper is copied without the
    // std::function around it, which would allocate.
    if (const auto* own = record.populateClassFcn.target<ClassPopulation>()) {
        const ClassPopulation running = *own;
        running(cosClass, client);
    } else {
        const auto hook = record.populateClassFcn;
        hook(cosClass, client);
    }
}

}  // namespace orrery::convenience::detail
