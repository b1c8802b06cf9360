#pragma once

#include <functional>

#include "convenience/class_info_struct.hpp"
#include "detail/record_ledger.hpp"
#include "host/cos_class.hpp"

namespace orrery::convenience::detail {

// What flush installs as a class record's populateClassFcn: the hook that was there
// before, then the record's content moved into the host class.
//
// The record is held by a plain pointer: the record owns this callable. A copy of the
// record carries a copy of the callable that still points at the record it was made in;
// once that record is gone, the callable moves nothing, as if the lists were empty. Each
// flush adds a layer; the inner layers' moves leave nothing for the outer ones.
class ClassPopulation {
public:
    ClassPopulation(std::function<void(COSClass*, const COSClient*)> previous, COSClassInfoStruct* record)
        : previous_(std::move(previous)), record_(record), identity_(identityOf(*record)) {}

    void operator()(COSClass* cosClass, const COSClient* client) const {
        previous_(cosClass, client);
        if (identity_.isAlive()) record_->moveContentToCosClass(cosClass);
    }

private:
    std::function<void(COSClass*, const COSClient*)> previous_;
    COSClassInfoStruct* record_;
    RecordIdentity identity_;
};

}  // namespace orrery::convenience::detail
