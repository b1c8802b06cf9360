#include "host/reference/package.hpp"

#include "host/reference/detail/counters.hpp"

namespace orrery {

COSPackage::~COSPackage() = default;

namespace reference {

Package::Package(std::string name) : name_(std::move(name)) { ++detail::counters().packages; }

Package::~Package() {
    for (auto& entry : entries_) {
        delete entry.classInfo;
        delete entry.functionInfo;
        delete entry.namespaceInfo;
    }
    --detail::counters().packages;
}

void Package::keep(PackageEntry entry) {
    try {
        entries_.push_back(entry);
    } catch (...) {
        delete entry.classInfo;
        delete entry.functionInfo;
        delete entry.namespaceInfo;
        throw;
    }
}

void Package::addInnerNamespaceInfo(COSNamespaceInfo* info) { keep({nullptr, nullptr, info, 0, 0}); }
void Package::addClassInfo(COSClassInfo* info, int visibility, int kind) {
    keep({info, nullptr, nullptr, visibility, kind});
}
void Package::addFunctionInfo(COSMethodInfo* info, int visibility, int kind) {
    keep({nullptr, info, nullptr, visibility, kind});
}

}  // namespace reference
}  // namespace orrery
