#pragma once

// The class record: COSClassInfoStruct describes one host class, gathers its members and
// publishes it. createClass makes one.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "convenience/detail/record_tracker.hpp"
#include "convenience/export.hpp"
#include "host/class_info.hpp"
#include "host/cos_class.hpp"
#include "host/cos_package.hpp"
#include "host/enumeration.hpp"
#include "host/interned.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"

namespace orrery::convenience {

struct COSPropInfoStruct;
struct COSMethodInfoStruct;
struct COSConstructorInfoStruct;
struct COSNamespaceInfoStruct;

namespace detail {
class ClassPopulation;
}

/// One superclass of a class: the four arguments of addSuperclass, passed to the host as given.
struct SuperclassEntry {
    COSInternedBase<IdEmptyPolicy> id;
    bool firstFlag = false;
    int number = 0;
    bool secondFlag = false;
};

/// Describes one host class. Fill the fields, link members (addProperty, addMethod,
/// addConstructor, or the members' attach), then publish(); from then on the host queries
/// the record through a ConfigurableCOSClassInfo, which reads each field when asked.
/// Every hook has a harmless default; a hook set to an empty std::function makes the
/// host's call throw std::bad_function_call (only copyDataFcn may be empty). A hook must
/// not replace or clear its own field while it runs (populateClassFcn excepted). Linking and
/// publishing need the record to be owned by a std::shared_ptr (std::bad_weak_ptr else).
struct ORRERY_CONVENIENCE_API COSClassInfoStruct : std::enable_shared_from_this<COSClassInfoStruct>,
                                                   detail::RecordTracker<detail::RecordKind::classRecord> {
    COSClassInfoStruct();
    /// Copies every field; the copy is owned by no shared pointer until the caller makes it so.
    COSClassInfoStruct(const COSClassInfoStruct& other);
    COSClassInfoStruct& operator=(const COSClassInfoStruct& other);
    virtual ~COSClassInfoStruct();

    /// Each answers the host flag query of its number (isClassFlagN); 10, 11 and 13 are set.
    bool classFlag1 : 1 = false;
    bool classFlag2 : 1 = false;
    bool classFlag3 : 1 = false;
    bool classFlag4 : 1 = false;
    bool classFlag5 : 1 = false;
    bool classFlag6 : 1 = false;
    bool classFlag7 : 1 = false;
    bool classFlag8 : 1 = false;
    bool classFlag9 : 1 = false;
    bool classFlag10 : 1 = true;
    bool classFlag11 : 1 = true;
    bool classFlag12 : 1 = false;
    bool classFlag13 : 1 = true;
    bool classFlag14 : 1 = false;
    bool classFlag15 : 1 = false;
    bool classFlag16 : 1 = false;
    bool classFlag17 : 1 = false;
    bool classFlag18 : 1 = false;
    bool classFlag19 : 1 = false;
    bool classFlag20 : 1 = false;
    bool classFlag21 : 1 = false;
    bool classFlag22 : 1 = false;
    bool classFlag23 : 1 = false;
    std::string name;  ///< also given to unnamed constructors when they are linked
    std::string description;
    std::string detailedDescription;
    std::int32_t classInt1 = 0;  ///< answers getClassInt1; classInt2 to 4 and classInt64 likewise
    std::function<bool(const COSClient*, COSInterface*)> clientObjectTestFcn;  ///< default: true
    std::vector<std::string> stringList;  ///< carried for the client; unread here
    std::function<bool(const char*)> nameTestFcn;  ///< default: false
    /// Runs when the host sets the class up, before the members reach the host class.
    std::function<void(COSClass*, const COSClient*)> populateClassFcn;
    std::function<void*(COSInterface*)> allocateDataFcn;  ///< per-object data; default: null
    std::function<void(COSInterface*, void*)> objectDataFcn;  ///< receives processObjectData
    std::function<void(void*)> dataFcn;  ///< receives processData
    std::int32_t classInt2 = 0;
    std::int32_t classInt3 = 0;
    std::function<void(COSInterfacePtr, const COSLoadInfo*)> loadObjectFcn;
    /// default: false, out-arguments untouched
    std::function<bool(COSInterfacePtr, COSValue&, COSDataTypePtr&)> toValueFcn;
    std::function<void(COSInterfacePtr&, COSValue, COSDataTypePtr)> fromValueFcn;
    std::int64_t classInt64 = 0;
    std::int32_t classInt4 = 0;
    std::function<Enumeration<COSInterface*>(COSInterface*)> enumerateFcn;  ///< default: empty enumeration
    std::function<void()> notifyFcn;
    /// Empty by default: the host's own copyData applies.
    std::function<void(const COSInterface*, COSInterface*, const COSInternedBase<IdEmptyPolicy>&)> copyDataFcn;
    COSClass* cosClass = nullptr;  ///< set when the host populates the class
    const COSClient* cosClient = nullptr;
    std::vector<std::shared_ptr<COSPropInfoStruct>> propertyRecords;
    std::vector<std::shared_ptr<COSMethodInfoStruct>> methodRecords;
    std::vector<COSPropInfo*> propertyInfos;  ///< not owned; handed to the host class
    std::vector<COSMethodInfo*> methodInfos;  ///< not owned; handed to the host class
    std::vector<std::shared_ptr<COSConstructorInfoStruct>> constructorRecords;
    std::vector<SuperclassEntry> superclasses;

    void addProperty(std::shared_ptr<COSPropInfoStruct> property);
    void addProperty(COSPropInfo* property);
    void addMethod(std::shared_ptr<COSMethodInfoStruct> method);
    void addMethod(COSMethodInfo* method);
    /// Names an unnamed constructor after the class and gives it the output name "Output".
    void addConstructor(std::shared_ptr<COSConstructorInfoStruct> constructor);
    void addSuperclass(const COSInternedBase<IdEmptyPolicy>& id, bool firstFlag, int number, bool secondFlag);
    /// Points the member's classHolder at this record; adds it to no list.
    void setClassHolder(std::shared_ptr<COSMethodInfoStruct> method);
    void setClassHolder(std::shared_ptr<COSPropInfoStruct> property);

    /// Registers the class with the host's class registry, which populates it on the first request.
    void publish();
    /// Hands the class to an existing host package.
    void attach(COSPackage* package);
    // Joins the namespace record (its addClass, which flushes this record); the adaptor is
    // made when the namespace's package is populated.
    void attach(std::shared_ptr<COSNamespaceInfoStruct> namespaceRecord);

private:
    friend struct COSConstructorInfoStruct;
    friend struct COSNamespaceInfoStruct;
    friend struct ClassPrivateFriend;
    friend class detail::ClassPopulation;

    // Wraps populateClassFcn so that populating the host class also moves the members.
    void flush();
    // Where a derived record adds what it must before publishing.
    virtual void flushEnumMembers();
    void addConstructorUnsafe(std::shared_ptr<COSConstructorInfoStruct> constructor);
    void moveContentToCosClass(COSClass* target);
    // Last: the record enters the ledger once every field above exists.
    [[no_unique_address]] detail::RecordSeal ledgerSeal_;
};

/// Opens the record's private move of its content to code outside the record.
struct ORRERY_CONVENIENCE_API ClassPrivateFriend {
    static void moveContentToCosClass(std::shared_ptr<COSClassInfoStruct> record, COSClass* cosClass);
};

/// A new class record with every default, unnamed or named.
ORRERY_CONVENIENCE_API std::shared_ptr<COSClassInfoStruct> createClass();
ORRERY_CONVENIENCE_API std::shared_ptr<COSClassInfoStruct> createClass(const char* name);

}  // namespace orrery::convenience
