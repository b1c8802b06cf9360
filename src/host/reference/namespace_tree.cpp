#include "host/reference/namespace_tree.hpp"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "host/exception.hpp"
#include "host/reference/detail/calls_in_progress.hpp"
#include "host/reference/detail/namespace_tree.hpp"
#include "host/reference/detail/ownership.hpp"
#include "host/reference/registry.hpp"

namespace orrery::reference {

struct NamespaceNotFound;

namespace detail {

struct NamespaceTree {
    std::vector<COSNamespaceInfo*> infos;  // owned, in the order registered
    ByName<COSNamespaceInfo*> infoByName;  // the first of a name
    std::vector<Package*> packages;  // owned: top-level packages, in the order made
    ByName<Package*> packageByName;
    // Populations that failed: the info may have kept a pointer to what it was given,
    // so these live until shutdown, out of every lookup.
    std::vector<Package*> failedPackages;
    std::vector<ClassObject*> failedClasses;
    bool shuttingDown = false;  // no new packages or class objects while the old ones go

    static NamespaceTree& get() {
        // Never destroyed, like the class registry: adaptors freed during static
        // destruction may still look names up.
        static auto* instance = new NamespaceTree();
        return *instance;
    }

    Package* topLevel(std::string_view name) {
        if (Package* made = find(packageByName, name)) return made;
        COSNamespaceInfo* info = find(infoByName, name);
        if (!info || shuttingDown) return nullptr;
        return makePopulated(std::string(name), info, packages, packageByName, name);
    }

    Package* inner(Package& parent, std::string_view name) {
        if (Package* made = parent.findInnerPackage(name)) return made;
        COSNamespaceInfo* info = parent.findNamespaceInfo(name);
        if (!info || shuttingDown) return nullptr;
        std::string path = parent.name();
        path.append(".").append(name);
        return makePopulated(std::move(path), info, parent.inner_, parent.innerByName_, name);
    }

    // The same steps as the class registry: findable first, then populated, and out of
    // sight again if the population fails.
    ClassObject* classIn(Package& package, std::string_view name) {
        if (ClassObject* made = package.findClassObject(name)) return made;
        COSClassInfo* info = package.findClassInfo(name);
        if (!info || shuttingDown) return nullptr;
        failedClasses.reserve(failedClasses.size() + 1);  // retiring must not fail
        std::string id = package.name();
        id.append(".").append(name);
        auto* cls = new ClassObject(makeId(id));
        cls->setInfo(info);
        try {
            package.classObjects_.emplace(std::string(name), cls);
        } catch (...) {
            delete cls;
            throw;
        }
        try {
            detail::CallInProgress population;
            info->populateClass(cls, client());
        } catch (...) {
            eraseIfMapped(package.classObjects_, name, cls);
            failedClasses.push_back(cls);
            throw;
        }
        return cls;
    }

    Package* resolve(std::string_view path) {
        const std::size_t dot = path.find('.');
        Package* package = topLevel(path.substr(0, dot));
        if (dot == std::string_view::npos) return package;
        std::size_t from = dot + 1;
        while (package) {
            const std::size_t next = path.find('.', from);
            package = inner(*package, path.substr(from, next == std::string_view::npos ? next : next - from));
            if (next == std::string_view::npos) break;
            from = next + 1;
        }
        return package;
    }

    void releaseClassObjects() {
        shuttingDown = true;
        for (Package* package : packages) package->releaseClassObjects();
        for (Package* package : failedPackages) package->releaseClassObjects();
        for (auto& cls : failedClasses) delete std::exchange(cls, nullptr);
    }

private:
    template <class T>
    static T* find(const ByName<T*>& index, std::string_view name) {
        auto found = index.find(name);
        return found == index.end() ? nullptr : found->second;
    }

    template <class T>
    static void eraseIfMapped(ByName<T*>& index, std::string_view name, T* item) {
        auto found = index.find(name);
        if (found != index.end() && found->second == item) index.erase(found);
    }

    Package* makePopulated(std::string path, COSNamespaceInfo* info, std::vector<Package*>& order,
                           ByName<Package*>& index, std::string_view name) {
        failedPackages.reserve(failedPackages.size() + 1);  // retiring must not fail
        auto made = std::make_unique<Package>(std::move(path), info);
        order.push_back(made.get());
        Package* package = made.release();
        try {
            index.emplace(std::string(name), package);
        } catch (...) {
            order.pop_back();
            delete package;
            throw;
        }
        try {
            detail::CallInProgress population;
            info->populatePackage(package);
        } catch (...) {
            // The population may have made packages beside this one: look it up by value.
            eraseIfMapped(index, name, package);
            if (auto at = std::find(order.begin(), order.end(), package); at != order.end()) order.erase(at);
            failedPackages.push_back(package);
            throw;
        }
        return package;
    }
};

bool isKnownPackageClass(const std::string& classId) {
    const std::size_t dot = classId.rfind('.');
    if (dot == std::string::npos) return false;
    // Only packages made so far: follow the made ones, start nothing.
    auto& tree = NamespaceTree::get();
    const std::string_view path = std::string_view(classId).substr(0, dot);
    std::size_t from = 0;
    Package* package = nullptr;
    for (;;) {
        const std::size_t next = path.find('.', from);
        const std::string_view name = path.substr(from, next == std::string_view::npos ? next : next - from);
        if (!package) {
            auto found = tree.packageByName.find(name);
            package = found == tree.packageByName.end() ? nullptr : found->second;
        } else {
            package = package->findInnerPackage(name);
        }
        if (!package) return false;
        if (next == std::string_view::npos) break;
        from = next + 1;
    }
    return package->findClassInfo(std::string_view(classId).substr(dot + 1)) != nullptr;
}

void releaseNamespaceClassObjects() { NamespaceTree::get().releaseClassObjects(); }

void releaseNamespaceTree() {
    auto& tree = NamespaceTree::get();
    tree.shuttingDown = true;
    releaseNamespaceClassObjects();
    // Out of every lookup before anything goes.
    tree.packageByName.clear();
    tree.infoByName.clear();
    for (Package* package : std::exchange(tree.packages, {})) delete package;
    for (Package* package : std::exchange(tree.failedPackages, {})) delete package;
    for (COSNamespaceInfo* info : std::exchange(tree.infos, {})) delete info;
    tree = NamespaceTree{};
}

}  // namespace detail

Package* findPackage(const std::string& path) { return detail::NamespaceTree::get().resolve(path); }

ClassObject* findPackageClass(const std::string& classId) {
    const std::size_t dot = classId.rfind('.');
    if (dot == std::string::npos) return nullptr;
    auto& tree = detail::NamespaceTree::get();
    Package* package = tree.resolve(std::string_view(classId).substr(0, dot));
    return package ? tree.classIn(*package, std::string_view(classId).substr(dot + 1)) : nullptr;
}

COSMethodInfo* findFunction(const std::string& dottedName) {
    const std::size_t dot = dottedName.rfind('.');
    if (dot == std::string::npos) return nullptr;
    Package* package = detail::NamespaceTree::get().resolve(std::string_view(dottedName).substr(0, dot));
    return package ? package->findFunction(std::string_view(dottedName).substr(dot + 1)) : nullptr;
}

std::vector<COSNamespaceInfo*> registeredNamespaceInfos() { return detail::NamespaceTree::get().infos; }
std::vector<Package*> topLevelPackages() { return detail::NamespaceTree::get().packages; }

}  // namespace orrery::reference

namespace orrery {
namespace {

[[noreturn]] void throwNotFound(const std::string& path) {
    using namespace foundation::core::except;
    throw Exception<reference::NamespaceNotFound>(Message{{path}, "orrery:namespace", "NotFound"});
}

}  // namespace

void COSPackage::addNamespace(COSNamespaceInfo* info) {
    auto& tree = reference::detail::NamespaceTree::get();
    reference::detail::keepOrFree(tree.infos, info);
    try {
        const char* name = info ? info->getName() : nullptr;
        if (name) tree.infoByName.emplace(name, info);  // the first of a name keeps its place
    } catch (...) {
        tree.infos.pop_back();
        delete info;
        throw;
    }
}

COSPackage* omGetNamespace(const char* name) {
    if (!name) throw std::invalid_argument("omGetNamespace: no name");
    COSPackage* package = reference::detail::NamespaceTree::get().topLevel(name);
    if (!package) throwNotFound(name);
    return package;
}

COSPackage* omGetInnerNamespace(COSPackage* package, const char* name) {
    auto* parent = dynamic_cast<reference::Package*>(package);
    if (!parent) throw std::invalid_argument("omGetInnerNamespace: not a package of the reference host");
    if (!name) throw std::invalid_argument("omGetInnerNamespace: no name");
    COSPackage* inner = reference::detail::NamespaceTree::get().inner(*parent, name);
    if (!inner) throwNotFound(parent->name() + "." + name);
    return inner;
}

}  // namespace orrery
