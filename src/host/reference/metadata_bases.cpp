// The host's own behaviour of its metadata base classes, and their heaps.
#include <cstdlib>
#include <new>
#include <string>

#include "host/class_info.hpp"
#include "host/exception.hpp"
#include "host/method_info.hpp"
#include "host/namespace_info.hpp"
#include "host/prop_info.hpp"
#include "host/reference/counters.hpp"
#include "host/reference/data_types.hpp"
#include "host/reference/detail/counters.hpp"
#include "host/reference/objects.hpp"

namespace orrery {
namespace reference {
struct NameAlreadyDefined;
}

namespace {
using reference::detail::counters;

// Through the global operator new, so that allocation-failure tests reach these heaps too.
void* metadataAlloc(std::size_t bytes, std::atomic<long>& live) {
    void* block = ::operator new(bytes);
    ++live;
    return block;
}

void metadataFree(void* block, std::atomic<long>& live) noexcept {
    if (!block) return;
    --live;
    ::operator delete(block);
}

}  // namespace

// --- COSClassInfo -------------------------------------------------------------------
COSClassInfo::COSClassInfo() = default;
COSClassInfo::~COSClassInfo() = default;
void* COSClassInfo::operator new(std::size_t bytes) { return metadataAlloc(bytes, counters().classInfos); }
void COSClassInfo::operator delete(void* block) noexcept { metadataFree(block, counters().classInfos); }

const char* COSClassInfo::getName() { return ""; }
const char* COSClassInfo::getDescription() { return ""; }
const char* COSClassInfo::getDetailedDescription() { return ""; }
std::int32_t COSClassInfo::getClassInt1() { return 0; }
void COSClassInfo::populateClass(COSClass*, const COSClient*) {}
void* COSClassInfo::allocateData(COSInterface*) { return nullptr; }
void COSClassInfo::processObjectData(COSInterface*, void*) {}
void COSClassInfo::processData(void*) {}
bool COSClassInfo::testClientObject(const COSClient*, COSInterface*) { return true; }
bool COSClassInfo::isClassFlag1() { return false; }
bool COSClassInfo::isClassFlag7() { return false; }
bool COSClassInfo::isClassFlag8() { return false; }
bool COSClassInfo::testName(const char*) { return false; }
bool COSClassInfo::canOtherClassContainThisClass(COSId) const { return true; }
bool COSClassInfo::canThisClassContainOtherClass(COSId) const { return true; }
bool COSClassInfo::isClassFlag9() { return false; }
bool COSClassInfo::isClassFlag6() { return false; }
bool COSClassInfo::isClassFlag4() { return false; }
std::int32_t COSClassInfo::getClassInt2() { return 0; }
std::int32_t COSClassInfo::getClassInt3() { return 0; }
bool COSClassInfo::isClassFlag13() { return false; }
bool COSClassInfo::isClassFlag3() { return false; }
bool COSClassInfo::isClassFlag14() { return false; }
bool COSClassInfo::isClassFlag2() { return false; }
bool COSClassInfo::isClassFlag15() { return false; }
bool COSClassInfo::isClassFlag5() { return false; }
bool COSClassInfo::isClassFlag16() { return false; }
bool COSClassInfo::isClassFlag17() { return false; }
bool COSClassInfo::isClassFlag11() { return false; }
bool COSClassInfo::isClassFlag10() { return false; }
void COSClassInfo::loadObject(COSInterfacePtr, const COSLoadInfo*) {}
bool COSClassInfo::convertToValue(COSInterfacePtr, COSValue&, COSDataTypePtr&) { return false; }
void COSClassInfo::convertFromValue(COSInterfacePtr&, COSValue, COSDataTypePtr) {}
std::int64_t COSClassInfo::getClassInt64() { return 0; }
bool COSClassInfo::areClassFunctionsAllowed() const { return true; }
bool COSClassInfo::isClassFlag18() { return false; }
bool COSClassInfo::isClassFlag19() { return false; }
bool COSClassInfo::isClassFlag20() { return false; }
bool COSClassInfo::isClassFlag21() { return false; }
bool COSClassInfo::isClassFlag22() { return false; }
std::int32_t COSClassInfo::getClassInt4() { return 0; }
Enumeration<COSInterface*> COSClassInfo::enumerateObjects(COSInterface*) { return {}; }
void COSClassInfo::notify() {}
bool COSClassInfo::isClassFlag23() { return false; }
bool COSClassInfo::isClassFlag12() { return false; }
bool COSClassInfo::willAllocateData() const { return false; }

void COSClassInfo::copyData(const COSInterface* source, COSInterface* target, const COSId& what) {
    ++reference::callCounts().copyData;
    auto* from = reference::asObject(const_cast<COSInterface*>(source));
    auto* to = reference::asObject(target);
    if (!from || !to) return;
    auto found = from->values().find(what.str());
    if (found != from->values().end()) to->values()[what.str()] = found->second;
}

// --- COSPropInfo --------------------------------------------------------------------
COSPropInfo::COSPropInfo() { ++counters().propInfos; }
COSPropInfo::~COSPropInfo() { --counters().propInfos; }

const char* COSPropInfo::getName() { return ""; }
const char* COSPropInfo::getDescription() { return ""; }
const char* COSPropInfo::getDetailedDescription() const { return ""; }
COSValue COSPropInfo::getFactoryDefault() { return {}; }
COSDataTypePtr COSPropInfo::getDataType() { return COSDataTypePtr(makeId("any")); }
COSAccessLevel COSPropInfo::getGetAccess() { return COSAccessPublic; }
ExtendedMemberAccess COSPropInfo::getExtendedGetAccess() const { return ExtendedMemberAccess(COSAccessPublic); }
COSAccessLevel COSPropInfo::getSetAccess() { return COSAccessPublic; }
ExtendedMemberAccess COSPropInfo::getExtendedSetAccess() const { return ExtendedMemberAccess(COSAccessPublic); }
bool COSPropInfo::isSealed() const { return false; }
bool COSPropInfo::hasInternalDefault() const { return false; }
bool COSPropInfo::isPropertyAttribute1() { return false; }
bool COSPropInfo::isPropertyAttribute2() { return false; }
bool COSPropInfo::isPropertyAttribute3() { return false; }
bool COSPropInfo::isPropertyAttribute4() { return false; }
bool COSPropInfo::isPropertyAttribute5() { return false; }
bool COSPropInfo::isPropertyAttribute6() { return false; }
bool COSPropInfo::isWarnOnCopyError() const { return false; }
bool COSPropInfo::isPropertyAttribute7() { return false; }
bool COSPropInfo::isPropertyAttribute8() { return false; }
bool COSPropInfo::isPropertyAttribute9() { return false; }
bool COSPropInfo::isPropertyAttribute10() { return false; }
bool COSPropInfo::isPropertyAttribute11() { return false; }
bool COSPropInfo::isNeverAmbiguous() const { return false; }
double COSPropInfo::getPartialMatchPriority() const { return 1.0; }
bool COSPropInfo::isPropertyAttribute12() { return false; }
bool COSPropInfo::isPropertyAttribute13() { return false; }
bool COSPropInfo::isPropertyAttribute14() { return false; }
bool COSPropInfo::isWeakReference() const { return false; }
COSValue COSPropInfo::getValue(COSInterface*) { return {}; }
void COSPropInfo::setValue(COSInterface*, COSValue) {}
void COSPropInfo::setValueAlternate(COSInterface*, COSValue) {}
bool COSPropInfo::isDestructible() const { return true; }
Enumeration<COSInterface*> COSPropInfo::enumerateInterfaces(const COSClient*, COSInterface*) { return {}; }
Enumeration<hxArray*> COSPropInfo::enumerateArrays(const COSClient*, COSInterface*) { return {}; }

bool COSPropInfo::canContainInterfaces() {
    ++reference::callCounts().canContainInterfaces;
    COSDataTypePtr handle = getDataType();  // keeps a made-on-demand type alive
    COSDataType* type = COSDataTypePtrHelper::getObject(handle);
    if (!type) return true;  // unknown: assume the worst
    return !reference::isBuiltinClassType(type->getTypeID().str());
}

// --- COSMethodInfo ------------------------------------------------------------------
COSMethodInfo::COSMethodInfo() = default;
COSMethodInfo::~COSMethodInfo() = default;
void* COSMethodInfo::operator new(std::size_t bytes) { return metadataAlloc(bytes, counters().methodInfos); }
void COSMethodInfo::operator delete(void* block) noexcept { metadataFree(block, counters().methodInfos); }

const char* COSMethodInfo::getName() { return ""; }
const char* COSMethodInfo::getDescription() { return ""; }
bool COSMethodInfo::isLookupScope() const { return false; }
const char* COSMethodInfo::getDetailedDescription() { return ""; }
COSAccessLevel COSMethodInfo::getAccess() { return COSAccessPublic; }
ExtendedMemberAccess COSMethodInfo::getExtendedAccess() { return ExtendedMemberAccess(COSAccessPublic); }
COSMethodSignature* COSMethodInfo::getSignature() { return nullptr; }
void COSMethodInfo::invoke(const COSClient*, int&, COSValue*, int, const COSValue*) {}
bool COSMethodInfo::isAttribute1() { return false; }
bool COSMethodInfo::isAttribute2() { return false; }
bool COSMethodInfo::isAttribute3() { return false; }
bool COSMethodInfo::isAttribute4() { return false; }
bool COSMethodInfo::isAttribute5() { return false; }
bool COSMethodInfo::isAttribute6() { return false; }
bool COSMethodInfo::isAttribute7() { return false; }
bool COSMethodInfo::isAttribute8() { return false; }
bool COSMethodInfo::isAttribute9() { return false; }

// --- COSNamespaceInfo ---------------------------------------------------------------
COSNamespaceInfo::COSNamespaceInfo() = default;
COSNamespaceInfo::~COSNamespaceInfo() = default;
void* COSNamespaceInfo::operator new(std::size_t bytes) { return metadataAlloc(bytes, counters().namespaceInfos); }
void COSNamespaceInfo::operator delete(void* block) noexcept { metadataFree(block, counters().namespaceInfos); }
const char* COSNamespaceInfo::getName() { return ""; }
const char* COSNamespaceInfo::getDescription() { return ""; }
const char* COSNamespaceInfo::getDetailedDescription() { return ""; }
void COSNamespaceInfo::handleName1(const char*) {}
void COSNamespaceInfo::attemptToLoadSubPackage(const char*) {}  // nothing to load: no packages on disk
void COSNamespaceInfo::throwErrorForDefinitionOfExistingName(const char* name) {
    using namespace foundation::core::except;
    const char* self = getName();
    throw Exception<reference::NameAlreadyDefined>(Message{
        {std::string(name ? name : ""), std::string(self ? self : "")}, "orrery:namespace", "NameAlreadyDefined"});
}
void COSNamespaceInfo::handleName2(const char*) {}
void COSNamespaceInfo::handleName3(const char*) {}
void COSNamespaceInfo::handleName4(const char*) {}
const COSMethodSelector* COSNamespaceInfo::getMethodSelector() { return nullptr; }
void COSNamespaceInfo::populatePackage(COSPackage*) {}
void COSNamespaceInfo::initializePackage(COSPackage*) {}
bool COSNamespaceInfo::isOption1() { return false; }
bool COSNamespaceInfo::isOption2() { return false; }
bool COSNamespaceInfo::canLoadDynamicContent() const { return false; }  // all content comes from population

}  // namespace orrery
