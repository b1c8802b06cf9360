#pragma once
// Pulls everything a plugin published into the host the way the host itself would, and
// writes down what the host then sees: each class made and populated, each namespace's
// package made and populated level by level, each callable asked for its signature.
#include <string>

#include "defaults.hpp"
#include "host/class_info.hpp"
#include "host/namespace_info.hpp"
#include "host/reference/reference_host.hpp"
#include "inspection.hpp"
#include "progress.hpp"

namespace orrery::inspector {

class HostWalk {
public:
    HostWalk(Inspection& out, Progress& progress) : out_(out), progress_(progress) {}

    /// A class published to the class registry.
    void walkClass(COSClassInfo* info, const std::string& plugin);
    /// A top-level namespace and everything in it.
    void walkNamespace(COSNamespaceInfo* info, const std::string& plugin);

private:
    void walkPackage(reference::Package& package, const std::string& plugin, NamespaceReport& report);
    ClassReport classReport(reference::ClassObject& cls, const std::string& plugin);
    Property property(COSPropInfo& info, const std::string& owner);
    Callable callable(COSMethodInfo& info, CallableKind kind, const std::string& where);
    void hidden(const char* kind, const std::string& name);
    void failed(const std::string& where);

    Inspection& out_;
    Progress& progress_;
    Defaults defaults_;
};

}  // namespace orrery::inspector
