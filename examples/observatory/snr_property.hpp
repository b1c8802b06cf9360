#pragma once

// observatory.Observation.snr, written as the host's own property metadata rather than as
// a property record: a derived, read-only value that needs none of a record's hooks. The
// class's populateClassFcn hands it to the host class, which owns it from then on.

#include "host/prop_info.hpp"

namespace observatory {

class SignalToNoiseProperty final : public orrery::COSPropInfo {
public:
    const char* getName() override;
    const char* getDescription() override;
    orrery::COSDataTypePtr getDataType() override;
    orrery::COSAccessLevel getSetAccess() override;
    orrery::COSValue getValue(orrery::COSInterface* object) override;
    void setValue(orrery::COSInterface* object, orrery::COSValue value) override;
    void setValueAlternate(orrery::COSInterface* object, orrery::COSValue value) override;
};

}  // namespace observatory
