#pragma once

// The class adaptor: ConfigurableCOSClassInfo answers the host's class queries from a class record.

#include <memory>
#include <type_traits>
#include <utility>

#include "convenience/class_info_struct.hpp"
#include "convenience/detail/class_adaptor_lifetime.hpp"
#include "convenience/detail/hook_call.hpp"
#include "host/class_info.hpp"

namespace orrery::convenience {

/// The host's class metadata answered from a class record, read afresh at every query.
/// Made by publishing on the host's class-info heap (COSClassInfo::operator new) and owned
/// by the host; it keeps the record alive.
template <class RecordPtr>
class ConfigurableCOSClassInfo final : public COSClassInfo {
public:
    explicit ConfigurableCOSClassInfo(RecordPtr record) : record_(std::move(record)) {}
    // When the host lets go of the class, the record must not keep pointing at the host
    // class this adaptor populated, and content that nobody can reach any more is freed.
    ~ConfigurableCOSClassInfo() override {
        if constexpr (std::is_same_v<RecordPtr, std::shared_ptr<COSClassInfoStruct>>)
            detail::releaseClassAdaptor(this, record_);
    }

    const RecordPtr& record() const noexcept { return record_; }

    const char* getName() override { return record_->name.c_str(); }
    const char* getDescription() override { return record_->description.c_str(); }
    const char* getDetailedDescription() override { return record_->detailedDescription.c_str(); }
    std::int32_t getClassInt1() override { return record_->classInt1; }
    void populateClass(COSClass* cosClass, const COSClient* client) override {
        if constexpr (std::is_same_v<RecordPtr, std::shared_ptr<COSClassInfoStruct>>) {
            detail::populateClassRecord(this, *record_, cosClass, client);
        } else {
            // Stored first, so that members can find their host class from inside the hook.
            record_->cosClass = cosClass;
            record_->cosClient = client;
            // A copy runs, so a hook may replace populateClassFcn without pulling the
            // running callable out from under itself.
            auto hook = record_->populateClassFcn;
            hook(cosClass, client);
        }
    }
    void* allocateData(COSInterface* object) override {
        return detail::callHook(record_->allocateDataFcn, "allocateDataFcn", record_->name, object);
    }
    void processObjectData(COSInterface* object, void* data) override {
        detail::callHook(record_->objectDataFcn, "objectDataFcn", record_->name, object, data);
    }
    void processData(void* data) override { detail::callHook(record_->dataFcn, "dataFcn", record_->name, data); }
    bool testClientObject(const COSClient* client, COSInterface* object) override {
        return detail::callHook(record_->clientObjectTestFcn, "clientObjectTestFcn", record_->name, client, object);
    }
    bool isClassFlag1() override { return record_->classFlag1; }
    bool isClassFlag7() override { return record_->classFlag7; }
    bool isClassFlag8() override { return record_->classFlag8; }
    bool testName(const char* name) override {
        return detail::callHook(record_->nameTestFcn, "nameTestFcn", record_->name, name);
    }
    bool isClassFlag9() override { return record_->classFlag9; }
    bool isClassFlag6() override { return record_->classFlag6; }
    bool isClassFlag4() override { return record_->classFlag4; }
    std::int32_t getClassInt2() override { return record_->classInt2; }
    std::int32_t getClassInt3() override { return record_->classInt3; }
    bool isClassFlag13() override { return record_->classFlag13; }
    bool isClassFlag3() override { return record_->classFlag3; }
    bool isClassFlag14() override { return record_->classFlag14; }
    bool isClassFlag2() override { return record_->classFlag2; }
    bool isClassFlag15() override { return record_->classFlag15; }
    bool isClassFlag5() override { return record_->classFlag5; }
    bool isClassFlag16() override { return record_->classFlag16; }
    bool isClassFlag17() override { return record_->classFlag17; }
    bool isClassFlag11() override { return record_->classFlag11; }
    bool isClassFlag10() override { return record_->classFlag10; }
    void loadObject(COSInterfacePtr object, const COSLoadInfo* loadInfo) override {
        detail::callHook(record_->loadObjectFcn, "loadObjectFcn", record_->name, object, loadInfo);
    }
    bool convertToValue(COSInterfacePtr object, COSValue& value, COSDataTypePtr& type) override {
        return detail::callHook(record_->toValueFcn, "toValueFcn", record_->name, object, value, type);
    }
    void convertFromValue(COSInterfacePtr& object, COSValue value, COSDataTypePtr type) override {
        detail::callHook(record_->fromValueFcn, "fromValueFcn", record_->name, object, value, type);
    }
    std::int64_t getClassInt64() override { return record_->classInt64; }
    bool isClassFlag18() override { return record_->classFlag18; }
    bool isClassFlag19() override { return record_->classFlag19; }
    bool isClassFlag20() override { return record_->classFlag20; }
    bool isClassFlag21() override { return record_->classFlag21; }
    bool isClassFlag22() override { return record_->classFlag22; }
    std::int32_t getClassInt4() override { return record_->classInt4; }
    Enumeration<COSInterface*> enumerateObjects(COSInterface* object) override {
        return detail::callHook(record_->enumerateFcn, "enumerateFcn", record_->name, object);
    }
    void notify() override { detail::callHook(record_->notifyFcn, "notifyFcn", record_->name); }
    bool isClassFlag23() override { return record_->classFlag23; }
    bool isClassFlag12() override { return record_->classFlag12; }
    void copyData(const COSInterface* source, COSInterface* target,
                  const COSInternedBase<IdEmptyPolicy>& what) override {
        // The one hook allowed to be empty: the host's own copy applies then.
        if (record_->copyDataFcn)
            detail::callHook(record_->copyDataFcn, "copyDataFcn", record_->name, source, target, what);
        else
            COSClassInfo::copyData(source, target, what);
    }

private:
    RecordPtr record_;
};

/// The adaptor that publishing makes.
using ClassInfoAdaptor = ConfigurableCOSClassInfo<std::shared_ptr<COSClassInfoStruct>>;

}  // namespace orrery::convenience
