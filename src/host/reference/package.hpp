#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_package.hpp"
#include "host/host_export.hpp"
#include "host/method_info.hpp"
#include "host/namespace_info.hpp"

namespace orrery::reference {

class ClassObject;

namespace detail {
struct NamespaceTree;

// Lets string-keyed maps be searched with a string_view, so that resolving a dotted
// name makes no strings.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
};
template <class T>
using ByName = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;
}  // namespace detail

// One thing a package was given, with the two further arguments of its add operation.
struct PackageEntry {
    COSClassInfo* classInfo = nullptr;
    COSMethodInfo* functionInfo = nullptr;
    COSNamespaceInfo* namespaceInfo = nullptr;
    int visibility = 0;
    int kind = 0;
};

// The reference host's package: keeps what it is given, in order, and owns it. A
// package of the namespace tree (namespace_tree.hpp) also owns the inner packages and
// class objects that the tree makes for its content, on request.
class ORRERY_HOST_API Package final : public COSPackage {
public:
    // `name` is the full dotted path ("outer.inner") for a package of the tree.
    explicit Package(std::string name, COSNamespaceInfo* info = nullptr);
    ~Package() override;

    // Each add takes ownership; what cannot be kept (memory ran out) is freed at once.
    void addInnerNamespaceInfo(COSNamespaceInfo* info) override;
    void addClassInfo(COSClassInfo* info, int visibility, int kind) override;
    void addFunctionInfo(COSMethodInfo* info, int visibility, int kind) override;

    const std::string& name() const { return name_; }
    // The info that populated this package; null for a package made by definePackage.
    COSNamespaceInfo* info() const { return info_; }
    const std::vector<PackageEntry>& entries() const { return entries_; }

    // What the package was given, by the name each item reported when it was added;
    // the first of a name wins. Null when there is none.
    COSNamespaceInfo* findNamespaceInfo(std::string_view name) const;
    COSClassInfo* findClassInfo(std::string_view name) const;
    COSMethodInfo* findFunction(std::string_view name) const;

    // Inner packages made so far, in the order they were made, and one of them by name.
    const std::vector<Package*>& innerPackages() const { return inner_; }
    Package* findInnerPackage(std::string_view name) const;
    // The class object made for one of the package's classes, by class name, or null.
    ClassObject* findClassObject(std::string_view name) const;

private:
    friend struct detail::NamespaceTree;

    // Records the entry under the name its item reports, or frees the item and rethrows.
    void keep(PackageEntry entry, detail::ByName<std::size_t>& index);
    // Frees the class objects of this package and of its inner packages. Done before
    // any info goes: the metadata they own may still look names up while it is freed.
    void releaseClassObjects();

    std::string name_;
    COSNamespaceInfo* info_;  // not owned: the parent package or the tree owns it
    std::vector<PackageEntry> entries_;
    detail::ByName<std::size_t> namespaceIndex_, classIndex_, functionIndex_;  // into entries_
    std::vector<Package*> inner_;  // owned
    detail::ByName<Package*> innerByName_;
    detail::ByName<ClassObject*> classObjects_;  // owned
};

}  // namespace orrery::reference
