#pragma once

#include <memory>

#include "convenience/namespace_info_struct.hpp"
#include "host/namespace_info.hpp"

namespace orrery::convenience {

// The host's namespace metadata answered from a namespace record, read afresh at every
// query. Lives on the host's namespace-info heap and is owned by the host. The host's
// own attemptToLoadSubPackage, throwErrorForDefinitionOfExistingName, initializePackage
// and canLoadDynamicContent stay in force.
class ConfigurableCOSNamespaceInfo final : public COSNamespaceInfo {
public:
    explicit ConfigurableCOSNamespaceInfo(std::shared_ptr<COSNamespaceInfoStruct> record);
    ~ConfigurableCOSNamespaceInfo() override;

    const char* getName() override;
    const char* getDescription() override;
    const char* getDetailedDescription() override;
    void handleName1(const char* name) override;
    void handleName2(const char* name) override;
    void handleName3(const char* name) override;
    void handleName4(const char* name) override;
    const COSMethodSelector* getMethodSelector() override;
    // Runs populatePackageFcn: after flushing, the client's hook and then the hand-over.
    void populatePackage(COSPackage* package) override;
    bool isOption1() override;
    bool isOption2() override;

    const std::shared_ptr<COSNamespaceInfoStruct>& record() const noexcept { return record_; }

private:
    std::shared_ptr<COSNamespaceInfoStruct> record_;
};

}  // namespace orrery::convenience
