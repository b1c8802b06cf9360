#pragma once
// Pulls everything a plugin published into the host the way the host itself would, and
// writes down what the host then sees: each class made and populated, each namespace's
// package made and populated level by level, each callable asked for its signature.
#include <string>
#include <vector>

#include "defaults.hpp"
#include "host/class_info.hpp"
#include "host/namespace_info.hpp"
#include "host/reference/reference_host.hpp"
#include "inspection.hpp"
#include "observer.hpp"
#include "progress.hpp"

namespace orrery::inspector {

class HostWalk {
public:
    HostWalk(Inspection& out, Progress& progress, Observer* observer = nullptr)
        : out_(out), progress_(progress), observer_(observer) {}

    /// A class published to the class registry.
    void walkClass(COSClassInfo* info, const std::string& plugin);
    /// A top-level namespace and everything in it.
    void walkNamespace(COSNamespaceInfo* info, const std::string& plugin);

private:
    /// `open` holds the namespaces being walked, outermost first: the walk stops at one
    /// that contains itself, and at maxDepth.
    void walkPackage(reference::Package& package, const std::string& plugin, NamespaceReport& report,
                     std::vector<COSNamespaceInfo*>& open);
    void phase(const std::string& plugin, const std::string& step);
    ClassReport classReport(reference::ClassObject& cls, const std::string& plugin);
    Property property(COSPropInfo& info, const std::string& owner);
    Callable callable(COSMethodInfo& info, CallableKind kind, const std::string& where);
    /// A member's name. A null one is a finding for that member, and one that throws an
    /// error: neither is a reason to lose the rest of its class or namespace.
    template <class Info>
    std::string memberName(Info& info, const char* kind, const std::string& owner);
    void superclassCycle(reference::ClassObject& cls, const std::string& id);
    bool reported(const char* check, const std::string& path) const;
    void stopped(const std::string& path, const char* check, std::string message);
    void hidden(const char* kind, const std::string& name);
    void failed(const std::string& where);

    Inspection& out_;
    Progress& progress_;
    Observer* observer_;
    Defaults defaults_;
};

}  // namespace orrery::inspector
