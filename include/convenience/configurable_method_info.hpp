#pragma once

// The method adaptor: ConfigurableCOSMethodInfo answers the host's method queries from a method record.

#include <memory>

#include "convenience/method_info_struct.hpp"
#include "host/method_info.hpp"

namespace orrery::convenience {

/// The host's method metadata answered from a method record. Lives on the host's
/// method-info heap and is owned by the host class it is given to.
class ConfigurableCOSMethodInfo final : public COSMethodInfo {
public:
    explicit ConfigurableCOSMethodInfo(std::shared_ptr<COSMethodInfoStruct> record);
    ~ConfigurableCOSMethodInfo() override;

    const char* getName() override;
    const char* getDescription() override;
    bool isLookupScope() const override;
    const char* getDetailedDescription() override;
    COSAccessLevel getAccess() override;
    /// The plain access level unless the record grants access to named classes or functions.
    ExtendedMemberAccess getExtendedAccess() override;
    COSMethodSignature* getSignature() override;
    void invoke(const COSClient* client, int& outputCount, COSValue* outputs, int inputCount,
                const COSValue* inputs) override;
    bool isAttribute1() override;
    bool isAttribute2() override;
    bool isAttribute3() override;
    bool isAttribute4() override;
    bool isAttribute5() override;
    bool isAttribute6() override;
    bool isAttribute7() override;
    bool isAttribute8() override;
    bool isAttribute9() override;

private:
    std::shared_ptr<COSMethodInfoStruct> record_;
};

}  // namespace orrery::convenience
