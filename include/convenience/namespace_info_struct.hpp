#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "convenience/detail/record_tracker.hpp"
#include "convenience/export.hpp"
#include "host/class_info.hpp"
#include "host/cos_package.hpp"
#include "host/interface_ptr.hpp"
#include "host/method_info.hpp"
#include "host/namespace_info.hpp"

namespace orrery::convenience {

struct COSClassInfoStruct;
struct COSNamespaceFunctionInfoStruct;

// Describes one namespace: its texts, hooks and options, and its content (classes,
// functions and inner namespaces, each as records of this library or as host metadata
// objects made elsewhere). publish() hands the namespace to the host; the content
// reaches the host later, when the host populates the package it made for the
// namespace, so the host builds its tree one level at a time.
struct ORRERY_CONVENIENCE_API COSNamespaceInfoStruct : std::enable_shared_from_this<COSNamespaceInfoStruct>,
                                                       detail::RecordTracker<detail::RecordKind::namespaceRecord> {
    COSNamespaceInfoStruct();
    // Member-wise: a copy shares the content records and borrows the same host objects,
    // carries the hooks as they stand, and is owned by no shared pointer.
    COSNamespaceInfoStruct(const COSNamespaceInfoStruct& other);
    COSNamespaceInfoStruct(COSNamespaceInfoStruct&& other) noexcept;
    COSNamespaceInfoStruct& operator=(const COSNamespaceInfoStruct& other);
    COSNamespaceInfoStruct& operator=(COSNamespaceInfoStruct&& other) noexcept;
    ~COSNamespaceInfoStruct();

    // May be a dotted path before publish(), which keeps only the last component.
    std::string name;
    std::string description;
    std::string detailedDescription;
    std::function<void(const char*)> handleName1Fcn;  // default: does nothing
    std::function<void(const char*)> handleName2Fcn;
    std::function<void(const char*)> handleName3Fcn;
    std::function<void(const char*)> handleName4Fcn;
    std::function<const COSMethodSelector*()> methodSelectorFcn;  // default: null
    // Default: does nothing. Flushing wraps it so that population also hands the content over.
    std::function<void(COSPackage*)> populatePackageFcn;
    bool option1 = true;
    bool option2 = true;
    std::vector<std::shared_ptr<COSClassInfoStruct>> classes;
    std::vector<COSClassInfo*> classInfos;  // borrowed until handed to a package
    std::vector<std::shared_ptr<COSNamespaceFunctionInfoStruct>> functions;
    std::vector<COSMethodInfo*> functionInfos;  // borrowed until handed to a package
    std::vector<std::shared_ptr<COSNamespaceInfoStruct>> innerNamespaces;
    std::vector<COSNamespaceInfo*> innerNamespaceInfos;  // borrowed until handed to a package

    void addClass(COSClassInfo* classInfo);
    // Flushes the class record first.
    void addClass(std::shared_ptr<COSClassInfoStruct> classRecord);
    void addFunction(COSMethodInfo* functionInfo);
    void addFunction(std::shared_ptr<COSNamespaceFunctionInfoStruct> function);
    void addInnerNamespace(COSNamespaceInfo* namespaceInfo);
    // Flushes the inner record first.
    void addInnerNamespace(std::shared_ptr<COSNamespaceInfoStruct> inner);
    // Hands this namespace to an existing host package as an inner namespace.
    void attach(COSPackage* package);
    // Joins the parent record (its addInnerNamespace).
    void attach(std::shared_ptr<COSNamespaceInfoStruct> parent);
    // A plain name: a new top-level namespace. A dotted path ("outer.inner.leaf"): an
    // inner namespace of the package the path leads to, and `name` becomes its last
    // component; a path ending in "." hands nothing over.
    void publish();

private:
    // Wraps populatePackageFcn so that populating a package also hands the content over.
    void flush();
    // Last: the record enters the ledger once every field above exists.
    [[no_unique_address]] detail::RecordSeal ledgerSeal_;
};

ORRERY_CONVENIENCE_API std::shared_ptr<COSNamespaceInfoStruct> createNamespace();
ORRERY_CONVENIENCE_API std::shared_ptr<COSNamespaceInfoStruct> createNamespace(const char* name);

}  // namespace orrery::convenience
