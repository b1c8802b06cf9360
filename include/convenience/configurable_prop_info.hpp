#pragma once

// The property adaptor: ConfigurableCOSPropInfo answers the host's property queries from a
// property record.

#include <memory>

#include "convenience/prop_info_struct.hpp"
#include "host/prop_info.hpp"

namespace orrery::convenience {

/// The host's property metadata answered from a property record. Made by the library
/// (attach, publishing) on the ordinary heap and owned by the host class it is given to.
class ConfigurableCOSPropInfo final : public COSPropInfo {
public:
    explicit ConfigurableCOSPropInfo(std::shared_ptr<COSPropInfoStruct> record);
    ~ConfigurableCOSPropInfo() override;

    const char* getName() override;
    const char* getDescription() override;
    COSValue getFactoryDefault() override;
    COSDataTypePtr getDataType() override;
    COSAccessLevel getGetAccess() override;
    COSAccessLevel getSetAccess() override;
    bool isPropertyAttribute1() override;
    bool isPropertyAttribute2() override;
    bool isPropertyAttribute3() override;
    bool isPropertyAttribute4() override;
    bool isPropertyAttribute5() override;
    bool isPropertyAttribute6() override;
    bool isPropertyAttribute7() override;
    bool isPropertyAttribute8() override;
    bool isPropertyAttribute9() override;
    bool isPropertyAttribute10() override;
    bool isPropertyAttribute11() override;
    bool isPropertyAttribute12() override;
    bool isPropertyAttribute13() override;
    bool isPropertyAttribute14() override;
    COSValue getValue(COSInterface* object) override;
    void setValue(COSInterface* object, COSValue value) override;
    void setValueAlternate(COSInterface* object, COSValue value) override;
    /// Asks the host at most once per record; the answer is kept in the record.
    bool canContainInterfaces() override;
    Enumeration<COSInterface*> enumerateInterfaces(const COSClient* client, COSInterface* object) override;
    Enumeration<hxArray*> enumerateArrays(const COSClient* client, COSInterface* object) override;

private:
    std::shared_ptr<COSPropInfoStruct> record_;
};

}  // namespace orrery::convenience
