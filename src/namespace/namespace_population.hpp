#pragma once

#include <functional>

#include "convenience/namespace_info_struct.hpp"
#include "detail/record_ledger.hpp"
#include "host/cos_package.hpp"

namespace orrery::convenience::detail {

// What flush installs as a namespace record's populatePackageFcn: the hook that was
// there before, then the record's content handed to the package, in this order: class
// objects, class records, function objects, function records, inner namespace records,
// inner namespace objects. The lists are read at each call and left as they are.
//
// The record is held by a plain pointer: the record owns this callable. A copy of the
// record carries a copy of the callable that still points at the record it was made in;
// once that record is gone, the callable hands nothing over, as if its lists were empty.
class NamespacePopulation {
public:
    NamespacePopulation(std::function<void(COSPackage*)> previous, COSNamespaceInfoStruct* record)
        : previous_(std::move(previous)), record_(record), identity_(identityOf(*record)) {}

    void operator()(COSPackage* package) const;

private:
    // The record whose content goes to the package.
    COSNamespaceInfoStruct& record() const { return *record_; }

    std::function<void(COSPackage*)> previous_;
    COSNamespaceInfoStruct* record_;
    RecordIdentity identity_;
};

}  // namespace orrery::convenience::detail
