#include "host_walk.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "convenience/values.hpp"
#include "error_text.hpp"
#include "host/assumed_operations.hpp"

namespace orrery::inspector {
namespace {

std::string shortName(const std::string& id) {
    const auto dot = id.rfind('.');
    return dot == std::string::npos ? id : id.substr(dot + 1);
}

std::string orEmpty(const char* text) { return text ? text : ""; }

// The name is plugin code too: one that throws is no reason to lose the rest.
template <class Info>
std::string nameOf(Info* info) {
    try {
        return orEmpty(info->getName());
    } catch (...) {
        return "(no name)";
    }
}

}  // namespace

void HostWalk::failed(const std::string& where) { out_.errors.push_back(currentProblem(where)); }

bool HostWalk::reported(const char* check, const std::string& path) const {
    return std::any_of(out_.findings.begin(), out_.findings.end(),
                       [&](const auto& finding) { return finding.check == check && finding.recordName == path; });
}

void HostWalk::stopped(const std::string& path, const char* check, std::string message) {
    // The contract diagnostics may have found the same cycle in the records already.
    if (reported(check, path)) return;
    out_.findings.push_back({convenience::diagnostics::Severity::error, check, "namespace", path, std::move(message)});
}

void HostWalk::hidden(const char* kind, const std::string& name) {
    out_.findings.push_back({convenience::diagnostics::Severity::warning, "hidden-name", kind, name,
                             "an earlier " + std::string(kind) +
                                 " of that name hides this one: the host finds only "
                                 "the first"});
}

template <class Info>
std::string HostWalk::memberName(Info& info, const char* kind, const std::string& owner) {
    try {
        if (const char* name = info.getName()) return name;
        out_.findings.push_back({convenience::diagnostics::Severity::error, "empty-name", kind, owner + ".(null name)",
                                 std::string("the ") + kind + " metadata's name is a null pointer"});
    } catch (...) {
        failed("the name of a " + std::string(kind) + " of " + owner);
    }
    return "";
}

void HostWalk::superclassCycle(reference::ClassObject& cls, const std::string& id) {
    // The host takes each class once, so nothing loops; but a class that inherits from
    // itself through others is not what the plugin meant. Its own id among its direct
    // superclasses is the diagnostics' self-superclass.
    for (reference::ClassObject* super : reference::superclassOrder(cls))
        for (const auto& next : super->superclasses())
            if (next.id.str() == id) {
                out_.findings.push_back({convenience::diagnostics::Severity::error, "superclass-cycle", "class", id,
                                         "the class inherits from itself through " + super->getClassID().str() +
                                             ": the host takes each class once and cuts the cycle there"});
                return;
            }
}

void HostWalk::phase(const std::string& plugin, const std::string& step) {
    if (observer_) observer_->phase(plugin, step);
}

void HostWalk::walkClass(COSClassInfo* info, const std::string& plugin) {
    const std::string name = nameOf(info);
    phase(plugin, "pulling in class " + name);
    try {
        reference::ClassObject* cls = reference::populate(info);
        if (!cls) {
            out_.errors.push_back({"class " + name, "the host cannot populate it", ""});
            return;
        }
        if (reference::findClass(name) != cls) hidden("class", name);
        out_.classes.push_back(classReport(*cls, plugin));
    } catch (...) {
        failed("class " + name);
    }
    progress_.addClass();
}

void HostWalk::walkNamespace(COSNamespaceInfo* info, const std::string& plugin) {
    const std::string name = nameOf(info);
    phase(plugin, "pulling in namespace " + name);
    try {
        reference::Package* package = reference::findPackage(name);
        if (!package) {
            out_.errors.push_back({"namespace " + name, "the host cannot resolve the name", ""});
            return;
        }
        if (package->info() != info) return hidden("namespace", name);
        NamespaceReport report;
        std::vector<COSNamespaceInfo*> open;
        walkPackage(*package, plugin, report, open);
        out_.namespaces.push_back(std::move(report));
    } catch (...) {
        failed("namespace " + name);
    }
}

void HostWalk::walkPackage(reference::Package& package, const std::string& plugin, NamespaceReport& report,
                           std::vector<COSNamespaceInfo*>& open) {
    report.path = package.name();
    report.plugin = plugin;
    if (COSNamespaceInfo* info = package.info()) report.description = orEmpty(info->getDescription());
    open.push_back(package.info());
    struct Leave {
        std::vector<COSNamespaceInfo*>& open;
        ~Leave() { open.pop_back(); }
    } leave{open};
    // By index: resolving an item may populate further packages, never this one, but a
    // reference taken into the list would not survive if it did.
    for (std::size_t i = 0; i < package.entries().size(); ++i) {  // NOLINT(modernize-loop-convert)
        const reference::PackageEntry entry = package.entries()[i];
        if (entry.classInfo) {
            const std::string id = report.path + "." + orEmpty(entry.classInfo->getName());
            phase(plugin, "pulling in class " + id);
            try {
                reference::ClassObject* cls = reference::findPackageClass(id);
                if (cls && cls->info() == entry.classInfo)
                    report.classes.push_back(classReport(*cls, plugin));
                else
                    hidden("class", id);
            } catch (...) {
                failed("class " + id);
            }
            progress_.addClass();
        } else if (entry.functionInfo) {
            const std::string name = report.path + "." + memberName(*entry.functionInfo, "function", report.path);
            report.functions.push_back(callable(*entry.functionInfo, CallableKind::function, "function " + name));
            progress_.addFunction();
        } else if (entry.namespaceInfo) {
            const std::string path = report.path + "." + orEmpty(entry.namespaceInfo->getName());
            // Metadata written by hand comes back as itself; a record that contains itself
            // gets a new adaptor at every level, and the diagnostics have named where.
            if (std::find(open.begin(), open.end(), entry.namespaceInfo) != open.end() ||
                reported("namespace-cycle", path)) {
                stopped(path, "namespace-cycle", "the namespace contains itself: the walk stops here");
                continue;
            }
            if (open.size() >= maxDepth) {
                stopped(path, "too-deep",
                        "namespaces nest deeper than " + std::to_string(maxDepth) + " levels: the walk stops here");
                continue;
            }
            phase(plugin, "pulling in namespace " + path);
            try {
                reference::Package* inner = reference::findPackage(path);
                if (!inner) {
                    out_.errors.push_back({"namespace " + path, "the host cannot resolve the name", ""});
                } else if (inner->info() != entry.namespaceInfo) {
                    hidden("namespace", path);
                } else {
                    NamespaceReport innerReport;
                    walkPackage(*inner, plugin, innerReport, open);
                    report.namespaces.push_back(std::move(innerReport));
                }
            } catch (...) {
                failed("namespace " + path);
            }
        }
    }
}

ClassReport HostWalk::classReport(reference::ClassObject& cls, const std::string& plugin) {
    ClassReport report;
    report.id = cls.getClassName();
    report.plugin = plugin;
    if (COSClassInfo* info = cls.info()) {
        report.description = orEmpty(info->getDescription());
        report.detailedDescription = orEmpty(info->getDetailedDescription());
        report.flags = defaults_.of(*info);
    }
    for (const auto& super : cls.superclasses()) report.superclasses.push_back(super.id.str());
    superclassCycle(cls, report.id);
    report.properties.reserve(cls.properties().size());
    report.methods.reserve(cls.methods().size());
    for (COSPropInfo* info : cls.properties())
        if (info) report.properties.push_back(property(*info, report.id));
    const std::string shortId = shortName(report.id);
    for (COSMethodInfo* info : cls.methods()) {
        if (!info) continue;
        const std::string name = memberName(*info, "method", report.id);
        if (name == report.id || name == shortId)
            report.constructors.push_back(callable(*info, CallableKind::constructor, "constructor of " + report.id));
        else
            report.methods.push_back(callable(*info, CallableKind::method, "method " + report.id + "." + name));
    }
    try {
        const reference::InheritedMembers inherited = reference::inheritedMembers(cls);
        for (const auto& member : inherited.properties) {
            report.inheritedProperties.push_back(property(*member.info, report.id));
            report.inheritedProperties.back().inheritedFrom = member.owner->getClassName();
        }
        for (const auto& member : inherited.methods) {
            const std::string name = orEmpty(member.info->getName());
            report.inheritedMethods.push_back(
                callable(*member.info, CallableKind::method, "method " + report.id + "." + name));
            report.inheritedMethods.back().inheritedFrom = member.owner->getClassName();
        }
    } catch (...) {
        failed("superclasses of " + report.id);
    }
    return report;
}

Property HostWalk::property(COSPropInfo& info, const std::string& owner) {
    Property report;
    report.name = memberName(info, "property", owner);
    try {
        report.description = orEmpty(info.getDescription());
        COSDataType* type = COSDataTypePtrHelper::getObject(info.getDataType());
        report.type = type ? type->getTypeID().str() : "";
        report.getAccess = accessName(info.getGetAccess());
        report.setAccess = accessName(info.getSetAccess());
        report.readOnly = info.getSetAccess() == COSAccessImmutable;
        report.attributes = defaults_.of(info);
        report.factoryDefault = convenience::values::displayValue(info.getFactoryDefault());
    } catch (...) {
        failed("property " + owner + "." + report.name);
    }
    return report;
}

Callable HostWalk::callable(COSMethodInfo& info, CallableKind kind, const std::string& where) {
    Callable report;
    report.name = nameOf(&info);
    try {
        report.description = orEmpty(info.getDescription());
        report.access = accessName(info.getAccess());
        if (kind == CallableKind::method) {
            report.isStatic = omIsStaticMethod(info);
            report.isAbstract = omIsAbstractMethod(info);
        }
        report.attributes = defaults_.of(info, kind);
        // Shown as the marks they mean rather than as numbered attributes.
        std::erase_if(report.attributes, [&](const Difference& difference) {
            return (report.isStatic && difference.query == "isAttribute3") ||
                   (report.isAbstract && difference.query == "isAttribute4");
        });
        if (COSMethodSignature* signature = info.getSignature()) {
            const reference::Signature& own = reference::asSignature(signature);
            for (const auto& input : own.inputs()) report.inputs.push_back({input.type.str(), input.name.str()});
            for (const auto& output : own.outputs()) report.outputs.push_back({output.type.str(), output.name.str()});
            report.varargin = own.hasVarargin();
            report.varargout = own.hasVarargout();
            report.hasSignature = true;
        }
    } catch (...) {
        failed(where);
    }
    return report;
}

}  // namespace orrery::inspector
