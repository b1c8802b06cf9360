#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_class.hpp"
#include "host/cos_package.hpp"
#include "host/host_export.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

// The reference host: an in-process implementation of the host class system, for
// tests, demos and plugin authors who want to try their definitions off-host.
namespace orrery::reference {

// What the host has made and not yet freed. Everything is zero after shutdown() once
// client code has dropped its own handles and records.
struct LiveCounts {
    long classInfos = 0;  // on the class-info heap
    long methodInfos = 0;  // on the method-info heap
    long namespaceInfos = 0;  // on the namespace-info heap
    long propInfos = 0;  // constructed property metadata objects
    long classes = 0;  // host class objects
    long signatures = 0;
    long objects = 0;  // host objects (instances and class data types)
    long arrays = 0;
    long heapBlocks = 0;  // utMalloc blocks, e.g. enumeration bodies
    long defaultValues = 0;  // handed out by makeDefaultValue, not yet released

    long total() const {
        return classInfos + methodInfos + namespaceInfos + propInfos + classes + signatures + objects + arrays +
               heapBlocks + defaultValues;
    }
};
ORRERY_HOST_API LiveCounts liveCounts();

// Call counts that tests use to see which host behaviour ran.
struct CallCounts {
    long canContainInterfaces = 0;  // COSPropInfo's own answer
    long copyData = 0;  // COSClassInfo's own copy
    long typeLookups = 0;  // COSTypeRepository::getType
    long defaultValuesMade = 0;
    long defaultValuesReleased = 0;
    long invalidTypeReports = 0;
    COSId lastInvalidTypeName;
    COSId lastInvalidType;
};
ORRERY_HOST_API CallCounts& callCounts();

// Frees every class info, class object, package and everything they own, and resets
// the call counts. Records that client code still holds stay alive; host objects
// (instances) must be released before, since their classes go.
ORRERY_HOST_API void shutdown();

// The client the registry passes to populateClass.
ORRERY_HOST_API const COSClient* client();

// Class infos handed to COSClass::addClass, in order.
ORRERY_HOST_API std::vector<COSClassInfo*> registeredClassInfos();
// Makes a host class object for a registered info (once) and lets the info populate it.
ORRERY_HOST_API COSClass* populate(COSClassInfo* info);
// A new, empty host class object registered under the id; the host owns it.
ORRERY_HOST_API COSClass* defineClass(const std::string& id);
// The names the registry knows, in registration order.
ORRERY_HOST_API std::vector<std::string> classNames();

// A package not registered anywhere, owned by the host; it keeps what it is given.
ORRERY_HOST_API COSPackage* definePackage(const std::string& name);

}  // namespace orrery::reference

namespace orrery::reference {

struct PackageEntry {
    COSClassInfo* classInfo = nullptr;
    COSMethodInfo* functionInfo = nullptr;
    COSNamespaceInfo* namespaceInfo = nullptr;
    int visibility = 0;
    int kind = 0;
};

// The reference host's package: keeps what it is given, in order, and owns it.
class ORRERY_HOST_API RefPackage final : public COSPackage {
public:
    explicit RefPackage(std::string name);
    ~RefPackage() override;

    void addInnerNamespaceInfo(COSNamespaceInfo* info) override;
    void addClassInfo(COSClassInfo* info, int visibility, int kind) override;
    void addFunctionInfo(COSMethodInfo* info, int visibility, int kind) override;

    const std::string& name() const { return name_; }
    const std::vector<PackageEntry>& entries() const { return entries_; }

private:
    std::string name_;
    std::vector<PackageEntry> entries_;
};

}  // namespace orrery::reference
