#include "host/reference/package.hpp"

#include <utility>

#include "host/reference/class_object.hpp"
#include "host/reference/detail/counters.hpp"
#include "host/reference/detail/lookup_generation.hpp"

namespace orrery {

COSPackage::~COSPackage() = default;

namespace reference {
namespace {

const char* nameOf(const PackageEntry& entry) {
    if (entry.classInfo) return entry.classInfo->getName();
    if (entry.functionInfo) return entry.functionInfo->getName();
    if (entry.namespaceInfo) return entry.namespaceInfo->getName();
    return nullptr;  // a null item is kept, but has no name to be found by
}

void freeItem(const PackageEntry& entry) {
    delete entry.classInfo;
    delete entry.functionInfo;
    delete entry.namespaceInfo;
}

template <class T>
T* lookUp(const detail::ByName<T*>& index, std::string_view name) {
    auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

}  // namespace

Package::Package(std::string name, COSNamespaceInfo* info) : name_(std::move(name)), info_(info) {
    ++detail::counters().packages;
}

Package::~Package() {
    // Out of every index before it goes, like the class objects.
    releaseClassObjects();
    innerByName_.clear();
    for (Package* inner : std::exchange(inner_, {})) delete inner;
    namespaceIndex_.clear();
    classIndex_.clear();
    functionIndex_.clear();
    for (const auto& entry : std::exchange(entries_, {})) freeItem(entry);
    --detail::counters().packages;
}

void Package::keep(PackageEntry entry, detail::ByName<std::size_t>& index) {
    try {
        entries_.push_back(entry);
    } catch (...) {
        freeItem(entry);
        throw;
    }
    try {
        if (const char* name = nameOf(entry)) index.emplace(name, entries_.size() - 1);  // the first keeps its place
    } catch (...) {
        entries_.pop_back();
        freeItem(entry);
        throw;
    }
}

void Package::addInnerNamespaceInfo(COSNamespaceInfo* info) {
    detail::classesChanged();
    keep({nullptr, nullptr, info, 0, 0}, namespaceIndex_);
}
void Package::addClassInfo(COSClassInfo* info, int visibility, int kind) {
    detail::classesChanged();
    keep({info, nullptr, nullptr, visibility, kind}, classIndex_);
}
void Package::addFunctionInfo(COSMethodInfo* info, int visibility, int kind) {
    keep({nullptr, info, nullptr, visibility, kind}, functionIndex_);
}

COSNamespaceInfo* Package::findNamespaceInfo(std::string_view name) const {
    auto found = namespaceIndex_.find(name);
    return found == namespaceIndex_.end() ? nullptr : entries_[found->second].namespaceInfo;
}

COSClassInfo* Package::findClassInfo(std::string_view name) const {
    auto found = classIndex_.find(name);
    return found == classIndex_.end() ? nullptr : entries_[found->second].classInfo;
}

COSMethodInfo* Package::findFunction(std::string_view name) const {
    auto found = functionIndex_.find(name);
    return found == functionIndex_.end() ? nullptr : entries_[found->second].functionInfo;
}

Package* Package::findInnerPackage(std::string_view name) const { return lookUp(innerByName_, name); }
ClassObject* Package::findClassObject(std::string_view name) const { return lookUp(classObjects_, name); }

void Package::releaseClassObjects() {
    // Each pointer leaves the index before its object goes, so that lookups made while
    // it is freed see only what is still alive.
    while (!classObjects_.empty()) {
        auto node = classObjects_.extract(classObjects_.begin());
        delete node.mapped();
    }
    for (Package* inner : inner_) inner->releaseClassObjects();
}

}  // namespace reference
}  // namespace orrery
