#include <algorithm>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

#include "convenience/class_info_struct.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "convenience/diagnostics/contract.hpp"
#include "convenience/method_info_struct.hpp"
#include "convenience/namespace_function_info_struct.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "convenience/prop_info_struct.hpp"
#include "detail/class_populations.hpp"
#include "host/data_type.hpp"

namespace orrery::convenience::diagnostics {
namespace {

constexpr const char* kSuffixes[] = {" scalar", " vector"};

// One diagnosis: the findings so far, and the classes of the records diagnosed, whose
// data types the host will know once it has set them up.
class Checker {
public:
    std::vector<Finding> findings;

    void add(Severity severity, const char* check, const char* kind, const std::string& name, std::string message) {
        findings.push_back({severity, check, kind, name, std::move(message)});
    }

    void collectClasses(const COSNamespaceInfoStruct& space, const std::string& path,
                        std::vector<const COSNamespaceInfoStruct*>& open) {
        if (std::find(open.begin(), open.end(), &space) != open.end()) return;
        open.push_back(&space);
        for (const auto& cls : space.classes)
            if (cls) knownClasses_.insert(path + "." + cls->name);
        for (const auto& inner : space.innerNamespaces)
            if (inner) collectClasses(*inner, path + "." + inner->name, open);
        open.pop_back();
    }
    void knowClass(const std::string& id) { knownClasses_.insert(id); }

    // One record has one cosClass: listed in two places, it answers for the host class
    // populated last only, and its members reach only the first populated.
    void noteListing(const COSClassInfoStruct& cls, const std::string& id) {
        auto [first, isNew] = listings_.try_emplace(&cls, id);
        if (!isNew && first->second != id)
            add(Severity::error, "shared-class", "class", id,
                "the class record is also listed as " + first->second +
                    ": the host makes a class for each listing, but only the first populated gets the members, "
                    "and the record answers for the last populated alone; make one record per class");
    }

    void checkClass(const COSClassInfoStruct& cls, const std::string& id) {
        const char* kind = "class";
        if (cls.name.empty()) add(Severity::error, "empty-name", kind, id, "the class has no name");
        std::string others;
        for (COSClass* other : detail::otherHostClassesOf(cls))
            others += (others.empty() ? "" : ", ") + other->getClassID().str();
        if (!others.empty())
            add(Severity::error, "shared-class", kind, id,
                "the host populated the record as " + others + " too" +
                    (cls.cosClass ? " besides " + cls.cosClass->getClassID().str() : std::string()) +
                    ": only the first populated gets the members, and the record answers for the last populated "
                    "alone; make one record per class");
        checkHooks(kind, id,
                   {{"clientObjectTestFcn", bool(cls.clientObjectTestFcn)},
                    {"nameTestFcn", bool(cls.nameTestFcn)},
                    {"populateClassFcn", bool(cls.populateClassFcn)},
                    {"allocateDataFcn", bool(cls.allocateDataFcn)},
                    {"objectDataFcn", bool(cls.objectDataFcn)},
                    {"dataFcn", bool(cls.dataFcn)},
                    {"loadObjectFcn", bool(cls.loadObjectFcn)},
                    {"toValueFcn", bool(cls.toValueFcn)},
                    {"fromValueFcn", bool(cls.fromValueFcn)},
                    {"enumerateFcn", bool(cls.enumerateFcn)},
                    {"notifyFcn", bool(cls.notifyFcn)}});
        std::vector<COSId> seen;
        for (const SuperclassEntry& super : cls.superclasses) {
            if (super.id.isEmpty())
                add(Severity::error, "empty-superclass", kind, id, "a superclass entry has the empty id");
            else if (super.id.str() == id)
                add(Severity::error, "self-superclass", kind, id, "the class is its own superclass");
            else if (std::find(seen.begin(), seen.end(), super.id) != seen.end())
                add(Severity::warning, "duplicate-superclass", kind, id,
                    "superclass " + super.id.str() + " is listed more than once");
            else if (!isKnownClass(super.id.str()))
                // A warning: the host passes over a superclass it does not know, and the
                // class may yet be published; most often, though, the id has a typo.
                add(Severity::warning, "unknown-superclass", kind, id,
                    "superclass " + super.id.str() + " names no class the host or the diagnosed records know");
            seen.push_back(super.id);
        }
        checkNoNulls(cls.propertyInfos, kind, id, "propertyInfos");
        checkNoNulls(cls.methodInfos, kind, id, "methodInfos");

        Names properties, methods;
        for (const auto& property : cls.propertyRecords) {
            if (!property) {
                add(Severity::error, "null-entry", kind, id, "propertyRecords holds a null record");
                continue;
            }
            const std::string name = id + "." + property->name;
            properties.note(*this, "property", name, property->name, "property");
            checkMemberOf(cls, property->classHolder, "property", name);
            checkProperty(*property, name);
        }
        for (const auto& method : cls.methodRecords) {
            if (!method) {
                add(Severity::error, "null-entry", kind, id, "methodRecords holds a null record");
                continue;
            }
            const std::string name = id + "." + method->name;
            methods.note(*this, "method", name, method->name, "method or constructor");
            checkMemberOf(cls, method->classHolder, "method", name);
            checkCallable(*method, "method", name, method->outputTypes.size());
        }
        for (const auto& constructor : cls.constructorRecords) {
            if (!constructor) {
                add(Severity::error, "null-entry", kind, id, "constructorRecords holds a null record");
                continue;
            }
            const std::string name = id + "." + constructor->name;
            methods.note(*this, "constructor", name, constructor->name, "method or constructor");
            checkConstructor(cls, *constructor, name);
        }
    }

    void checkNamespace(const COSNamespaceInfoStruct& space, const std::string& path, bool topLevel,
                        std::vector<const COSNamespaceInfoStruct*>& open) {
        const char* kind = "namespace";
        if (std::find(open.begin(), open.end(), &space) != open.end()) {
            add(Severity::error, "namespace-cycle", kind, path, "the namespace contains itself");
            return;
        }
        // Far past any real tree; deeper, the recursion would risk the stack (thousands of
        // levels overflow it under the sanitizers).
        constexpr std::size_t maxDepth = 100;
        if (open.size() >= maxDepth) {
            add(Severity::error, "too-deep", kind, path,
                "namespaces nest deeper than " + std::to_string(maxDepth) + " levels: the walk stops here");
            return;
        }
        open.push_back(&space);
        if (space.name.empty())
            add(topLevel ? Severity::warning : Severity::error, "empty-name", kind, path, "the namespace has no name");
        else if (topLevel && space.name.back() == '.')
            add(Severity::error, "empty-name", kind, path,
                "the dotted name ends in \".\": publish() hands nothing to the host");
        checkHooks(kind, path,
                   {{"handleName1Fcn", bool(space.handleName1Fcn)},
                    {"handleName2Fcn", bool(space.handleName2Fcn)},
                    {"handleName3Fcn", bool(space.handleName3Fcn)},
                    {"handleName4Fcn", bool(space.handleName4Fcn)},
                    {"methodSelectorFcn", bool(space.methodSelectorFcn)},
                    {"populatePackageFcn", bool(space.populatePackageFcn)}});
        checkNoNulls(space.classInfos, kind, path, "classInfos");
        checkNoNulls(space.functionInfos, kind, path, "functionInfos");
        checkNoNulls(space.innerNamespaceInfos, kind, path, "innerNamespaceInfos");

        // Classes, functions and inner namespaces share the package's names.
        Names names;
        for (const auto& cls : space.classes) {
            if (!cls) {
                add(Severity::error, "null-entry", kind, path, "classes holds a null record");
                continue;
            }
            names.note(*this, "class", path + "." + cls->name, cls->name, "name in the namespace");
            noteListing(*cls, path + "." + cls->name);
            checkClass(*cls, path + "." + cls->name);
        }
        for (const auto& function : space.functions) {
            if (!function) {
                add(Severity::error, "null-entry", kind, path, "functions holds a null record");
                continue;
            }
            names.note(*this, "function", path + "." + function->name, function->name, "name in the namespace");
            checkFunction(*function, path + "." + function->name);
        }
        for (const auto& inner : space.innerNamespaces) {
            if (!inner) {
                add(Severity::error, "null-entry", kind, path, "innerNamespaces holds a null record");
                continue;
            }
            names.note(*this, "namespace", path + "." + inner->name, inner->name, "name in the namespace");
            checkNamespace(*inner, path + "." + inner->name, false, open);
        }
        open.pop_back();
    }

    void checkFunction(const COSNamespaceFunctionInfoStruct& function, const std::string& name) {
        checkCallable(function, "function", name, function.outputTypes.size());
    }

private:
    struct Hook {
        const char* name;
        bool present;
    };

    // Names met so far in one scope; the second of a name is reported.
    struct Names {
        std::vector<std::string> seen;
        void note(Checker& checker, const char* kind, const std::string& qualified, const std::string& name,
                  const char* what) {
            if (name.empty()) return;  // reported as empty-name
            if (std::find(seen.begin(), seen.end(), name) != seen.end())
                checker.add(Severity::error, "duplicate-name", kind, qualified,
                            "another " + std::string(what) + " is named " + name + ": the host finds only the first");
            seen.push_back(name);
        }
    };

    void checkHooks(const char* kind, const std::string& name, std::initializer_list<Hook> hooks) {
        for (const Hook& hook : hooks)
            if (!hook.present)
                add(Severity::error, "empty-hook", kind, name,
                    std::string("hook ") + hook.name + " is empty: the host's call throws std::bad_function_call");
    }

    template <class T>
    void checkNoNulls(const std::vector<T*>& list, const char* kind, const std::string& name, const char* field) {
        if (std::find(list.begin(), list.end(), nullptr) != list.end())
            add(Severity::error, "null-entry", kind, name, std::string(field) + " holds a null pointer");
    }

    // Asked through its data type, so that no class is made or populated on the way.
    bool isKnownClass(const std::string& id) const {
        return knownClasses_.count(id) || static_cast<bool>(COSTypeRepository::getType(makeId(id + " scalar")));
    }

    bool isKnownType(const COSId& type) const {
        const std::string& text = type.str();
        for (const char* suffix : kSuffixes) {
            const std::string tail(suffix);
            if (text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0 &&
                knownClasses_.count(text.substr(0, text.size() - tail.size())))
                return true;
        }
        return static_cast<bool>(COSTypeRepository::getType(type));
    }

    void checkType(const COSId& type, const char* kind, const std::string& name, const std::string& what) {
        if (type.isEmpty())
            add(Severity::error, "unknown-type", kind, name, what + " has the empty type id");
        else if (!isKnownType(type))
            add(Severity::error, "unknown-type", kind, name,
                what + " has the type " + type.str() + ", which the host does not know");
    }

    void checkProperty(const COSPropInfoStruct& property, const std::string& name) {
        const char* kind = "property";
        if (property.name.empty()) add(Severity::error, "empty-name", kind, name, "the property has no name");
        checkType(property.type, kind, name, "the property");
        checkHooks(kind, name,
                   {{"getFcn", bool(property.getFcn)},
                    {"setFcn", bool(property.setFcn)},
                    {"setAlternateFcn", bool(property.setAlternateFcn)},
                    {"factoryDefaultFcn", bool(property.factoryDefaultFcn)},
                    {"enumerateInterfacesFcn", bool(property.enumerateInterfacesFcn)},
                    {"enumerateArraysFcn", bool(property.enumerateArraysFcn)}});
    }

    // `outputCount` is the number of outputs the signature will have.
    template <class Record>
    void checkCallable(const Record& record, const char* kind, const std::string& name, std::size_t outputCount) {
        if (record.name.empty())
            add(Severity::error, "empty-name", kind, name, std::string("the ") + kind + " has no name");
        for (std::size_t i = 0; i < record.inputTypes.size(); ++i)
            checkType(record.inputTypes[i], kind, name, "input " + std::to_string(i + 1));
        for (std::size_t i = 0; i < record.outputTypes.size(); ++i)
            checkType(record.outputTypes[i], kind, name, "output " + std::to_string(i + 1));
        checkNames(record.inputNames.size(), record.inputTypes.size(), "input", kind, name);
        checkNames(record.outputNames.size(), outputCount, "output", kind, name);
        checkHooks(kind, name, {{"invokeFcn", bool(record.invokeFcn)}});
    }

    void checkNames(std::size_t names, std::size_t types, const char* direction, const char* kind,
                    const std::string& name) {
        if (names == 0 || names == types) return;
        const std::string counts = std::to_string(types) + " " + direction + " types but " + std::to_string(names) +
                                   " " + direction + " names";
        if (names < types)
            add(Severity::error, "short-name-list", kind, name,
                counts + ": the host's signature needs a name for every type");
        else
            add(Severity::warning, "long-name-list", kind, name, counts + ": the names past the types are ignored");
    }

    void checkConstructor(const COSClassInfoStruct& cls, const COSConstructorInfoStruct& constructor,
                          const std::string& name) {
        const char* kind = "constructor";
        const ClassHolder& holder = constructor.classHolder;
        const bool unattached =
            (holder.index() == 0 && std::get<0>(holder).isEmpty()) || (holder.index() == 1 && !std::get<1>(holder));
        if (unattached && constructor.outputTypes.empty())
            add(Severity::error, "unattached-constructor", kind, name,
                "the constructor names no class and declares no output: its signature cannot be built");
        else
            checkMemberOf(cls, holder, kind, name);
        // Without declared outputs the signature gets one: the class's scalar type.
        checkCallable(constructor, kind, name, std::max<std::size_t>(constructor.outputTypes.size(), 1));
    }

    void checkMemberOf(const COSClassInfoStruct& cls, const ClassHolder& holder, const char* kind,
                       const std::string& name) {
        if (holder.index() == 1 && std::get<1>(holder) && std::get<1>(holder).get() != &cls)
            add(Severity::warning, "foreign-member", kind, name,
                "its classHolder names another class record (" + std::get<1>(holder)->name + ")");
    }

    std::unordered_set<std::string> knownClasses_;

    std::unordered_map<const COSClassInfoStruct*, std::string> listings_;  // the first id of each class record
};

}  // namespace

std::vector<Finding> diagnose(const COSClassInfoStruct& record) {
    Checker checker;
    checker.knowClass(record.name);
    checker.checkClass(record, record.name);
    return std::move(checker.findings);
}

std::vector<Finding> diagnose(const COSNamespaceInfoStruct& record) {
    Checker checker;
    std::vector<const COSNamespaceInfoStruct*> open;
    checker.collectClasses(record, record.name, open);
    checker.checkNamespace(record, record.name, true, open);
    return std::move(checker.findings);
}

std::vector<Finding> diagnose(const COSNamespaceFunctionInfoStruct& record) {
    Checker checker;
    checker.checkFunction(record, record.name);
    return std::move(checker.findings);
}

const char* toString(Severity severity) { return severity == Severity::error ? "error" : "warning"; }

std::string describe(const std::vector<Finding>& findings) {
    if (findings.empty()) return "no findings";
    std::string text;
    for (const Finding& finding : findings) {
        if (!text.empty()) text += '\n';
        text += std::string(toString(finding.severity)) + ": " + finding.recordKind + " \"" + finding.recordName +
                "\": " + finding.message + " [" + finding.check + "]";
    }
    return text;
}

}  // namespace orrery::convenience::diagnostics
