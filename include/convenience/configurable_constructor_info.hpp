#pragma once

// The constructor adaptor: ConfigurableCOSConstructorInfo answers the host's queries about a
// constructor from a constructor record.

#include <memory>

#include "convenience/constructor_info_struct.hpp"
#include "host/method_info.hpp"

namespace orrery::convenience {

/// The host's metadata of a constructor, which the host keeps among the class's methods.
/// isLookupScope is left to the host.
class ConfigurableCOSConstructorInfo final : public COSMethodInfo {
public:
    explicit ConfigurableCOSConstructorInfo(std::shared_ptr<COSConstructorInfoStruct> record);
    ~ConfigurableCOSConstructorInfo() override;

    const char* getName() override;
    const char* getDescription() override;
    const char* getDetailedDescription() override;
    COSAccessLevel getAccess() override;
    /// Always the record's extendedAccess as it stands.
    ExtendedMemberAccess getExtendedAccess() override;
    COSMethodSignature* getSignature() override;
    void invoke(const COSClient* client, int& outputCount, COSValue* outputs, int inputCount,
                const COSValue* inputs) override;
    bool isAttribute1() override;  ///< false: constructors are never that
    bool isAttribute2() override;  ///< false
    bool isAttribute3() override;
    bool isAttribute4() override;
    bool isAttribute5() override;
    bool isAttribute6() override;
    bool isAttribute7() override;
    bool isAttribute8() override;
    bool isAttribute9() override;

private:
    std::shared_ptr<COSConstructorInfoStruct> record_;
};

}  // namespace orrery::convenience
