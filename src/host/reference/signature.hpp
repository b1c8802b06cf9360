#pragma once

#include <string>
#include <vector>

#include "host/host_export.hpp"
#include "host/method_signature.hpp"

namespace orrery::reference {

struct SignatureArgument {
    COSId type;
    COSId name;
};

// The reference host's signature: keeps what it is given, and the order of the calls.
class ORRERY_HOST_API Signature final : public COSMethodSignature {
public:
    Signature();
    ~Signature() override;

    void addInput(COSId type, COSId name) override;
    void addInputWithDefault(COSId type, COSId name, COSId defaultExpression) override;
    void addOutput(COSId type, COSId name) override;
    void setVarargin() override;
    void setSignatureOption(int option) override;
    void setVarargout() override;

    const std::vector<SignatureArgument>& inputs() const { return inputs_; }
    const std::vector<SignatureArgument>& outputs() const { return outputs_; }
    bool hasVarargin() const { return varargin_; }
    bool hasVarargout() const { return varargout_; }
    int option() const { return option_; }
    // The slot names called, in order.
    std::vector<std::string> calls() const;
    // Human-readable: "(double x, any y, ...) -> (Point Output)".
    std::string toString() const;

private:
    std::vector<SignatureArgument> inputs_;
    std::vector<SignatureArgument> outputs_;
    bool varargin_ = false;
    bool varargout_ = false;
    int option_ = 0;
    std::vector<const char*> calls_;  // static names: signatures are many, keep them small
};

// The reference host's signature behind a host signature pointer; std::invalid_argument
// when there is none or it is not this host's.
ORRERY_HOST_API const Signature& asSignature(const COSMethodSignature* signature);

}  // namespace orrery::reference
