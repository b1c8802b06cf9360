#pragma once

// COSMethodSignature: the host's description of a callable's inputs and outputs.

#include "host/host_export.hpp"
#include "host/interned.hpp"

namespace orrery {

// The host's description of a callable's inputs and outputs.
class ORRERY_HOST_API COSMethodSignature {
public:
    // A new signature, owned by the caller.
    static COSMethodSignature* createMethodSignature();

    virtual ~COSMethodSignature();
    virtual void addInput(COSId type, COSId name) = 0;
    virtual void addInputWithDefault(COSId type, COSId name, COSId defaultExpression) = 0;
    virtual void addOutput(COSId type, COSId name) = 0;
    virtual void setVarargin() = 0;
    virtual void setSignatureOption(int option) = 0;
    virtual void setVarargout() = 0;
};

}  // namespace orrery
