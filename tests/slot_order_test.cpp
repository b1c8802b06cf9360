// The host calls its metadata classes through fixed virtual-table slots; a reordered
// declaration would silently answer the wrong query. Under the Itanium C++ ABI a
// pointer to a virtual member function holds 1 + its slot's byte offset in the table.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_class.hpp"
#include "host/cos_package.hpp"
#include "host/data_type.hpp"
#include "host/method_info.hpp"
#include "host/method_signature.hpp"
#include "host/namespace_info.hpp"
#include "host/prop_info.hpp"
#include "host/string_array.hpp"

namespace {

template <class MemberPointer>
std::ptrdiff_t slotOf(MemberPointer pointer) {
    static_assert(sizeof(MemberPointer) == 2 * sizeof(std::uintptr_t), "Itanium member function pointer");
    std::uintptr_t words[2];
    std::memcpy(words, &pointer, sizeof words);
    EXPECT_EQ(words[0] & 1u, 1u) << "not a virtual function";
    return static_cast<std::ptrdiff_t>((words[0] - 1) / sizeof(void*));
}

// The destructor takes the first two slots (complete and deleting destructor).
template <class... Pointers>
std::vector<std::ptrdiff_t> slots(Pointers... pointers) {
    return {slotOf(pointers)...};
}

std::vector<std::ptrdiff_t> consecutive(std::ptrdiff_t first, std::size_t count) {
    std::vector<std::ptrdiff_t> out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = first + static_cast<std::ptrdiff_t>(i);
    return out;
}

using namespace orrery;

TEST(SlotOrder, ClassInfoQueriesFollowTheDestructorInHostOrder) {
    using C = COSClassInfo;
    auto actual = slots(
        &C::getName, &C::getDescription, &C::getDetailedDescription, &C::getClassInt1, &C::populateClass,
        &C::allocateData, &C::processObjectData, &C::processData, &C::testClientObject, &C::isClassFlag1,
        &C::isClassFlag7, &C::isClassFlag8, &C::testName, &C::canOtherClassContainThisClass,
        &C::canThisClassContainOtherClass, &C::isClassFlag9, &C::isClassFlag6, &C::isClassFlag4, &C::getClassInt2,
        &C::getClassInt3, &C::isClassFlag13, &C::isClassFlag3, &C::isClassFlag14, &C::isClassFlag2, &C::isClassFlag15,
        &C::isClassFlag5, &C::isClassFlag16, &C::isClassFlag17, &C::isClassFlag11, &C::isClassFlag10, &C::loadObject,
        &C::convertToValue, &C::convertFromValue, &C::getClassInt64, &C::areClassFunctionsAllowed, &C::isClassFlag18,
        &C::isClassFlag19, &C::isClassFlag20, &C::isClassFlag21, &C::isClassFlag22, &C::getClassInt4,
        &C::enumerateObjects, &C::notify, &C::isClassFlag23, &C::isClassFlag12, &C::copyData, &C::willAllocateData);
    EXPECT_EQ(actual, consecutive(2, 47));
}

TEST(SlotOrder, PropInfoHas36QueriesAfterTheDestructor) {
    using P = COSPropInfo;
    auto actual =
        slots(&P::getName, &P::getDescription, &P::getDetailedDescription, &P::getFactoryDefault, &P::getDataType,
              &P::getGetAccess, &P::getExtendedGetAccess, &P::getSetAccess, &P::getExtendedSetAccess, &P::isSealed,
              &P::hasInternalDefault, &P::isPropertyAttribute1, &P::isPropertyAttribute2, &P::isPropertyAttribute3,
              &P::isPropertyAttribute4, &P::isPropertyAttribute5, &P::isPropertyAttribute6, &P::isWarnOnCopyError,
              &P::isPropertyAttribute7, &P::isPropertyAttribute8, &P::isPropertyAttribute9, &P::isPropertyAttribute10,
              &P::isPropertyAttribute11, &P::isNeverAmbiguous, &P::getPartialMatchPriority, &P::isPropertyAttribute12,
              &P::isPropertyAttribute13, &P::isPropertyAttribute14, &P::isWeakReference, &P::getValue, &P::setValue,
              &P::setValueAlternate, &P::canContainInterfaces, &P::isDestructible, &P::enumerateInterfaces,
              &P::enumerateArrays);
    EXPECT_EQ(actual, consecutive(2, 36));
}

TEST(SlotOrder, MethodInfoHas17QueriesAfterTheDestructor) {
    using M = COSMethodInfo;
    auto actual = slots(&M::getName, &M::getDescription, &M::isLookupScope, &M::getDetailedDescription, &M::getAccess,
                        &M::getExtendedAccess, &M::getSignature, &M::invoke, &M::isAttribute1, &M::isAttribute2,
                        &M::isAttribute3, &M::isAttribute4, &M::isAttribute5, &M::isAttribute6, &M::isAttribute7,
                        &M::isAttribute8, &M::isAttribute9);
    EXPECT_EQ(actual, consecutive(2, 17));
}

TEST(SlotOrder, NamespaceInfoHas15QueriesAfterTheDestructor) {
    using N = COSNamespaceInfo;
    auto actual = slots(&N::getName, &N::getDescription, &N::getDetailedDescription, &N::handleName1,
                        &N::attemptToLoadSubPackage, &N::throwErrorForDefinitionOfExistingName, &N::handleName2,
                        &N::handleName3, &N::handleName4, &N::getMethodSelector, &N::populatePackage,
                        &N::initializePackage, &N::isOption1, &N::isOption2, &N::canLoadDynamicContent);
    EXPECT_EQ(actual, consecutive(2, 15));
}

TEST(SlotOrder, HostServicesKeepTheirSlots) {
    // Class object: three adds with one unused slot between the second and the third.
    EXPECT_EQ(slots(&COSClass::addSuperclass, &COSClass::addPropertyInfo, &COSClass::addEventInfo,
                    &COSClass::addMethodInfo, &COSClass::getClassID, &COSClass::getClassName),
              consecutive(0, 6));
    // Package: the three adds come first, the destructor after them.
    EXPECT_EQ(slots(&COSPackage::addInnerNamespaceInfo, &COSPackage::addClassInfo, &COSPackage::addFunctionInfo),
              consecutive(0, 3));
    EXPECT_EQ(slots(&COSMethodSignature::addInput, &COSMethodSignature::addInputWithDefault,
                    &COSMethodSignature::addOutput, &COSMethodSignature::setVarargin,
                    &COSMethodSignature::setSignatureOption, &COSMethodSignature::setVarargout),
              consecutive(2, 6));
    EXPECT_EQ(slots(&COSDataType::getTypeID, &COSDataType::makeDefaultValue, &COSDataType::releaseValue),
              consecutive(2, 3));
}

TEST(SlotOrder, StringArrayAddsItsVariantsAfterTheBasesTwoOperations) {
    // Five operations, then the destructor (slots 5 and 6), then the two that the array
    // base adds, then the array's getVariant pair, the mutable form first.
    using Object = coretypes::RefCountedObject;
    EXPECT_EQ(slots(&Object::typeName, &Object::hashValue, &Object::equals, &Object::toString, &Object::destroy),
              consecutive(0, 5));
    using Base = Korvane::String::detail::StringArrayBase;
    EXPECT_EQ(slots(&Base::elementCount, &Base::isElementMissing), consecutive(7, 2));
    using A = Korvane::String::detail::StringArray;
    A::VariantPtr (A::*mutableForm)() = &A::getVariant;
    A::ConstVariantPtr (A::*constForm)() const = &A::getVariant;
    EXPECT_EQ(slots(mutableForm, constForm), consecutive(9, 2));
}

}  // namespace
