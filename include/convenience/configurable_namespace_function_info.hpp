#pragma once

#include <memory>

#include "convenience/namespace_function_info_struct.hpp"
#include "host/method_info.hpp"

namespace orrery::convenience {

// The host's metadata of a namespace function, answered from its record. The attribute
// queries have fixed answers: those of a method record left at its defaults. Lives on
// the host's method-info heap and is owned by the package it is given to.
class ConfigurableCOSNamespaceFunctionInfo final : public COSMethodInfo {
public:
    explicit ConfigurableCOSNamespaceFunctionInfo(std::shared_ptr<COSNamespaceFunctionInfoStruct> record);
    ~ConfigurableCOSNamespaceFunctionInfo() override;

    const char* getName() override;
    const char* getDescription() override;
    const char* getDetailedDescription() override;
    COSAccessLevel getAccess() override;
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
    std::shared_ptr<COSNamespaceFunctionInfoStruct> record_;
};

}  // namespace orrery::convenience
