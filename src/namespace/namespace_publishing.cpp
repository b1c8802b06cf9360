#include <stdexcept>
#include <string>

#include "convenience/class_info_struct.hpp"
#include "convenience/configurable_class_info.hpp"
#include "convenience/configurable_namespace_function_info.hpp"
#include "convenience/configurable_namespace_info.hpp"
#include "convenience/namespace_function_info_struct.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "detail/argument_checks.hpp"
#include "namespace/namespace_population.hpp"

namespace orrery::convenience {
namespace {

// A null record in a content list cannot become an adaptor the host could query: the
// population stops there with a clear error instead.
template <class Record>
const std::shared_ptr<Record>& present(const std::shared_ptr<Record>& record, const char* kind,
                                       const COSNamespaceInfoStruct& owner) {
    if (!record) throw std::invalid_argument(std::string("namespace '") + owner.name + "' lists a null " + kind);
    return record;
}

}  // namespace

namespace detail {

void NamespacePopulation::operator()(COSPackage* package) const {
    previous_(package);
    if (!identity_.isAlive()) return;
    COSNamespaceInfoStruct& r = record();
    if (!package) throw std::invalid_argument("namespace '" + r.name + "': no package to populate");
    // By index, re-reading the size: the host may call back into the record while it
    // takes an item, and whatever is appended meanwhile is handed over too (a range-for
    // would read through invalidated iterators then).
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (std::size_t i = 0; i < r.classInfos.size(); ++i) package->addClassInfo(r.classInfos[i], 0, 2);
    for (std::size_t i = 0; i < r.classes.size(); ++i) {
        auto item = present(r.classes[i], "class record", r);
        package->addClassInfo(new ClassInfoAdaptor(std::move(item)), 0, 2);
    }
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (std::size_t i = 0; i < r.functionInfos.size(); ++i) package->addFunctionInfo(r.functionInfos[i], 0, 2);
    for (std::size_t i = 0; i < r.functions.size(); ++i) {
        auto item = present(r.functions[i], "function record", r);
        package->addFunctionInfo(new ConfigurableCOSNamespaceFunctionInfo(std::move(item)), 0, 2);
    }
    for (std::size_t i = 0; i < r.innerNamespaces.size(); ++i) {
        auto item = present(r.innerNamespaces[i], "namespace record", r);
        package->addInnerNamespaceInfo(new ConfigurableCOSNamespaceInfo(std::move(item)));
    }
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (std::size_t i = 0; i < r.innerNamespaceInfos.size(); ++i)
        package->addInnerNamespaceInfo(r.innerNamespaceInfos[i]);
}

}  // namespace detail

void COSNamespaceInfoStruct::flush() {
    // Each flush adds a layer around the hook; each layer hands the content over once.
    populatePackageFcn = detail::NamespacePopulation(populatePackageFcn, this);
}

void COSNamespaceInfoStruct::attach(COSPackage* package) {
    // Calling into a null package would be undefined; refuse before anything changes.
    detail::requireNonNull(package, "attach", "host package");
    flush();
    // Allocation precedes shared_from_this(); if that throws, the new-expression hands
    // the memory back to COSNamespaceInfo::operator delete.
    package->addInnerNamespaceInfo(new ConfigurableCOSNamespaceInfo(shared_from_this()));
}

void COSNamespaceInfoStruct::publish() {
    std::size_t dot = name.find('.');
    if (dot == std::string::npos) {
        flush();
        COSPackage::addNamespace(new ConfigurableCOSNamespaceInfo(shared_from_this()));
        return;
    }
    // Every component but the last names a package, the first at the top level. The
    // host's answers are passed on as they come. The path is split from a copy: a lookup
    // may populate a package, and the client hooks that this runs may change this record.
    const std::string path = name;
    COSPackage* package = omGetNamespace(path.substr(0, dot).c_str());
    for (std::size_t next = path.find('.', dot + 1); next != std::string::npos; next = path.find('.', dot + 1)) {
        package = omGetInnerNamespace(package, path.substr(dot + 1, next - dot - 1).c_str());
        dot = next;
    }
    detail::assignName(name, path.substr(dot + 1));
    if (name.empty()) return;  // the path ended in ".": nothing to hand over
    attach(package);
}

}  // namespace orrery::convenience
