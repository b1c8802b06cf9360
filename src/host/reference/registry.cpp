// The class registry, class objects and packages of the reference host.
#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "host/namespace_info.hpp"
#include "host/reference/counters.hpp"
#include "host/reference/objects.hpp"
#include "host/reference/ref_class.hpp"
#include "host/reference/reference_host.hpp"

namespace orrery::reference {
namespace {

struct Entry {
    COSClassInfo* info;  // owned
    std::string name;  // the info's name when it was registered
    RefClass* cls = nullptr;  // owned; made on first request
};

struct Defined {
    std::string name;  // kept while the class object is being freed, for type lookups
    RefClass* cls;  // owned
};

struct Registry {
    std::vector<Entry> entries;
    // Indexes into entries, first registration winning, so that lookups stay constant
    // time with a hundred thousand classes registered.
    std::unordered_map<COSClassInfo*, std::size_t> byInfo;
    std::unordered_map<std::string, std::size_t> byName;
    std::vector<Defined> defined;  // made by defineClass
    std::vector<RefPackage*> packages;
    std::vector<COSNamespaceInfo*> namespaces;
    bool shuttingDown = false;  // no new class objects while the old ones go
};

Registry& registry() {
    static Registry r;
    return r;
}

RefClass* builtinClass(const std::string& name) {
    // The built-in classes live as long as the process; not counted as live, and their
    // table is never destroyed, so they stay reachable to the very end.
    static const auto* classes = [] {
        auto* all = new std::vector<RefClass*>();
        for (const char* id : {"double", "logical", "char", "string"}) {
            all->push_back(new RefClass(makeId(id)));
            --detail::counters().classes;
        }
        return all;
    }();
    for (RefClass* cls : *classes)
        if (cls->getClassID().str() == name) return cls;
    return nullptr;
}

Entry* findEntry(const std::string& name) {
    auto& r = registry();
    auto found = r.byName.find(name);
    return found == r.byName.end() ? nullptr : &r.entries[found->second];
}

}  // namespace

bool isRegisteredClassName(const std::string& name) {
    if (findEntry(name) || builtinClass(name)) return true;
    for (const auto& defined : registry().defined)
        if (defined.name == name) return true;
    return false;
}

const COSClient* client() {
    static const int token = 0;
    return reinterpret_cast<const COSClient*>(&token);
}

std::vector<COSClassInfo*> registeredClassInfos() {
    std::vector<COSClassInfo*> infos;
    for (auto& entry : registry().entries) infos.push_back(entry.info);
    return infos;
}

std::vector<std::string> classNames() {
    std::vector<std::string> names;
    for (auto& entry : registry().entries) names.push_back(entry.name);
    for (const auto& defined : registry().defined) names.push_back(defined.name);
    return names;
}

COSClass* populate(COSClassInfo* info) {
    auto& r = registry();
    auto found = r.byInfo.find(info);
    if (found == r.byInfo.end() || r.shuttingDown) return nullptr;
    const std::size_t index = found->second;
    if (!r.entries[index].cls) {
        auto* cls = new RefClass(makeId(r.entries[index].name));
        r.entries[index].cls = cls;
        cls->setInfo(info);
        // Reached by index afterwards: the hook may register classes and move the entries.
        info->populateClass(cls, client());
    }
    return r.entries[index].cls;
}

COSClass* defineClass(const std::string& id) {
    auto* cls = new RefClass(makeId(id));
    registry().defined.push_back({id, cls});
    return cls;
}

COSPackage* definePackage(const std::string& name) {
    auto* package = new RefPackage(name);
    registry().packages.push_back(package);
    return package;
}

void shutdown() {
    auto& r = registry();
    r.shuttingDown = true;
    // Class objects first: the metadata they own may still look up class types and
    // infos. Each pointer is cleared before its object goes, and names stay until the
    // end, so such lookups see what is still alive and nothing that is not.
    for (auto& entry : r.entries) delete std::exchange(entry.cls, nullptr);
    for (auto& defined : r.defined) delete std::exchange(defined.cls, nullptr);
    for (auto& package : r.packages) delete std::exchange(package, nullptr);
    for (auto& entry : r.entries) delete std::exchange(entry.info, nullptr);
    for (auto& info : r.namespaces) delete std::exchange(info, nullptr);
    r = Registry{};
    callCounts() = CallCounts{};
}

// --- RefClass -----------------------------------------------------------------------
RefClass::RefClass(COSId id) : id_(id) { ++detail::counters().classes; }

RefClass::~RefClass() {
    for (auto* info : properties_) delete info;
    for (auto* info : methods_) delete info;
    --detail::counters().classes;
}

void RefClass::addSuperclass(const COSId& superclass, bool firstFlag, int number, bool secondFlag) {
    superclasses_.push_back({superclass, firstFlag, number, secondFlag});
}
void RefClass::addPropertyInfo(COSPropInfo* info) { properties_.push_back(info); }
void RefClass::addEventInfo(COSEventInfo*) {}
void RefClass::addMethodInfo(COSMethodInfo* info) { methods_.push_back(info); }
COSId RefClass::getClassID() { return id_; }
const char* RefClass::getClassName() { return id_.c_str(); }

COSPropInfo* RefClass::findProperty(const std::string& name) const {
    for (auto* info : properties_)
        if (info && name == info->getName()) return info;
    return nullptr;
}

COSMethodInfo* RefClass::findMethod(const std::string& name) const {
    for (auto* info : methods_)
        if (info && name == info->getName()) return info;
    return nullptr;
}

// --- RefPackage ---------------------------------------------------------------------
RefPackage::RefPackage(std::string name) : name_(std::move(name)) {}

RefPackage::~RefPackage() {
    for (auto& entry : entries_) {
        delete entry.classInfo;
        delete entry.functionInfo;
        delete entry.namespaceInfo;
    }
}

void RefPackage::addInnerNamespaceInfo(COSNamespaceInfo* info) { entries_.push_back({nullptr, nullptr, info, 0, 0}); }
void RefPackage::addClassInfo(COSClassInfo* info, int visibility, int kind) {
    entries_.push_back({info, nullptr, nullptr, visibility, kind});
}
void RefPackage::addFunctionInfo(COSMethodInfo* info, int visibility, int kind) {
    entries_.push_back({nullptr, info, nullptr, visibility, kind});
}

}  // namespace orrery::reference

namespace orrery {

COSClass::~COSClass() = default;
COSPackage::~COSPackage() = default;

void COSClass::addClass(COSClassInfo* info) {
    const char* name = info ? info->getName() : "";
    auto& r = reference::registry();
    r.entries.push_back({info, name ? name : ""});
    r.byInfo.emplace(info, r.entries.size() - 1);
    r.byName.emplace(r.entries.back().name, r.entries.size() - 1);
}

COSClass* COSClass::getClass(const COSId& id) {
    const std::string& name = id.str();
    if (auto* entry = reference::findEntry(name)) return reference::populate(entry->info);
    for (const auto& defined : reference::registry().defined)
        if (defined.cls && defined.name == name) return defined.cls;
    return reference::builtinClass(name);
}

void COSPackage::addNamespace(COSNamespaceInfo* info) { reference::registry().namespaces.push_back(info); }

bool omIsSubclassOfBuiltin(const COSId& classId) {
    // Depth-first through the superclasses, guarding against cycles.
    std::vector<COSId> seen;
    std::vector<COSId> pending{classId};
    while (!pending.empty()) {
        COSId id = pending.back();
        pending.pop_back();
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
        seen.push_back(id);
        if (!(id == classId) && reference::builtinClass(id.str())) return true;
        auto* cls = dynamic_cast<reference::RefClass*>(COSClass::getClass(id));
        if (!cls) continue;
        for (const auto& super : cls->superclasses()) pending.push_back(super.id);
    }
    return false;
}

}  // namespace orrery
