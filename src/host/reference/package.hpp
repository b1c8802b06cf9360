#pragma once

#include <string>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_package.hpp"
#include "host/host_export.hpp"
#include "host/method_info.hpp"
#include "host/namespace_info.hpp"

namespace orrery::reference {

// One thing a package was given, with the two further arguments of its add operation.
struct PackageEntry {
    COSClassInfo* classInfo = nullptr;
    COSMethodInfo* functionInfo = nullptr;
    COSNamespaceInfo* namespaceInfo = nullptr;
    int visibility = 0;
    int kind = 0;
};

// The reference host's package: keeps what it is given, in order, and owns it.
class ORRERY_HOST_API Package final : public COSPackage {
public:
    explicit Package(std::string name);
    ~Package() override;

    // Each add takes ownership; what cannot be kept (memory ran out) is freed at once.
    void addInnerNamespaceInfo(COSNamespaceInfo* info) override;
    void addClassInfo(COSClassInfo* info, int visibility, int kind) override;
    void addFunctionInfo(COSMethodInfo* info, int visibility, int kind) override;

    const std::string& name() const { return name_; }
    const std::vector<PackageEntry>& entries() const { return entries_; }

private:
    void keep(PackageEntry entry);

    std::string name_;
    std::vector<PackageEntry> entries_;
};

}  // namespace orrery::reference
