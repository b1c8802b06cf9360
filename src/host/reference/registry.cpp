#include "host/reference/registry.hpp"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "host/reference/counters.hpp"
#include "host/reference/data_types.hpp"
#include "host/reference/detail/calls_in_progress.hpp"
#include "host/reference/detail/counters.hpp"
#include "host/reference/detail/live_objects.hpp"
#include "host/reference/detail/namespace_tree.hpp"
#include "host/reference/namespace_tree.hpp"

namespace orrery::reference {
namespace {

struct Entry {
    COSClassInfo* info;  // owned
    std::string name;  // the info's name when it was registered
    ClassObject* cls = nullptr;  // owned; made on first request
};

struct Defined {
    std::string name;  // kept while the class object is being freed, for type lookups
    ClassObject* cls;  // owned
};

struct Registry {
    std::vector<Entry> entries;
    // Indexes into entries, first registration winning, so that lookups stay constant
    // time with a hundred thousand classes registered.
    std::unordered_map<COSClassInfo*, std::size_t> byInfo;
    std::unordered_map<std::string, std::size_t> byName;
    std::vector<Defined> defined;  // made by defineClass
    std::vector<Package*> packages;
    // Class objects whose population failed: the info may still point at them, so
    // they live until shutdown, out of every lookup.
    std::vector<ClassObject*> failed;
    bool shuttingDown = false;  // no new class objects while the old ones go
};

Registry& registry() {
    // Never destroyed: records that client code keeps in globals are released after
    // static destruction has begun, and their adaptors may still ask the registry.
    static auto* instance = new Registry();
    return *instance;
}

ClassObject* builtinClass(const std::string& name) {
    // The built-in classes live as long as the process; not counted as live, and their
    // table is never destroyed, so they stay reachable to the very end.
    static const auto* classes = [] {
        auto* all = new std::vector<ClassObject*>();
        for (const std::string& id : builtinClassNames()) {
            all->push_back(new ClassObject(makeId(id)));
            --detail::counters().classes;
        }
        return all;
    }();
    for (ClassObject* cls : *classes)
        if (cls->getClassID().str() == name) return cls;
    return nullptr;
}

Entry* findEntry(const std::string& name) {
    auto& r = registry();
    auto found = r.byName.find(name);
    return found == r.byName.end() ? nullptr : &r.entries[found->second];
}

ClassObject* findDefined(const std::string& name) {
    for (const auto& defined : registry().defined)
        if (defined.cls && defined.name == name) return defined.cls;
    return nullptr;
}

}  // namespace

ClassObject* findClass(const std::string& id) {
    if (Entry* entry = findEntry(id)) return populate(entry->info);
    if (ClassObject* cls = findDefined(id)) return cls;
    if (ClassObject* cls = builtinClass(id)) return cls;
    return findPackageClass(id);
}

bool isKnownClass(const std::string& id) {
    if (findEntry(id) || builtinClass(id) || detail::isKnownPackageClass(id)) return true;
    for (const auto& defined : registry().defined)
        if (defined.name == id) return true;
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

ClassObject* populate(COSClassInfo* info) {
    auto& r = registry();
    auto found = r.byInfo.find(info);
    if (found == r.byInfo.end() || r.shuttingDown) return nullptr;
    const std::size_t index = found->second;
    if (!r.entries[index].cls) {
        auto* cls = new ClassObject(makeId(r.entries[index].name));
        cls->setInfo(info);
        // Registered before the info populates it, so that a lookup from inside the
        // population finds it instead of starting another. Reached by index afterwards:
        // the hook may register classes and move the entries.
        r.entries[index].cls = cls;
        try {
            detail::CallInProgress population;
            info->populateClass(cls, client());
        } catch (...) {
            r.entries[index].cls = nullptr;
            r.failed.push_back(cls);
            throw;
        }
    }
    return r.entries[index].cls;
}

ClassObject* defineClass(const std::string& id) {
    auto* cls = new ClassObject(makeId(id));
    registry().defined.push_back({id, cls});
    return cls;
}

Package* definePackage(const std::string& name) {
    auto* package = new Package(name);
    registry().packages.push_back(package);
    return package;
}

void shutdown() {
    if (detail::callsInProgress.load(std::memory_order_acquire) != 0)
        throw std::logic_error(
            "reference::shutdown: the host is inside a population, constructor, method or property call, whose "
            "metadata shutting down would free under it; shut down once that call has returned");
    auto& r = registry();
    r.shuttingDown = true;
    // Instances that outlive this: their data goes back while their classes still exist,
    // and they are left without a class, safe to release later.
    detail::detachLiveObjects();
    // Class objects first: the metadata they own may still look up class types and
    // infos. Each pointer is cleared before its object goes, and names stay until the
    // end, so such lookups see what is still alive and nothing that is not.
    detail::releaseNamespaceClassObjects();  // the tree's; it makes nothing new from here on
    for (auto& entry : r.entries) delete std::exchange(entry.cls, nullptr);
    for (auto& defined : r.defined) delete std::exchange(defined.cls, nullptr);
    for (auto& cls : r.failed) delete std::exchange(cls, nullptr);
    for (auto& package : r.packages) delete std::exchange(package, nullptr);
    detail::releaseNamespaceTree();
    for (auto& entry : r.entries) delete std::exchange(entry.info, nullptr);
    r = Registry{};
    resetCallCounts();
}

}  // namespace orrery::reference

namespace orrery {

void COSClass::addClass(COSClassInfo* info) {
    auto& r = reference::registry();
    try {
        const char* name = info ? info->getName() : "";
        r.entries.push_back({info, name ? name : ""});
        r.byInfo.emplace(info, r.entries.size() - 1);
        r.byName.emplace(r.entries.back().name, r.entries.size() - 1);
    } catch (...) {
        // Not kept: take back whatever part of the registration went in, and free it.
        if (!r.entries.empty() && r.entries.back().info == info) {
            r.byInfo.erase(info);
            auto named = r.byName.find(r.entries.back().name);
            if (named != r.byName.end() && named->second == r.entries.size() - 1) r.byName.erase(named);
            r.entries.pop_back();
        }
        delete info;
        throw;
    }
}

COSClass* COSClass::getClass(const COSId& id) { return reference::findClass(id.str()); }

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
        reference::ClassObject* cls = reference::findClass(id.str());
        if (!cls) continue;
        for (const auto& super : cls->superclasses()) pending.push_back(super.id);
    }
    return false;
}

}  // namespace orrery
