#include "host/reference/signature.hpp"

#include <stdexcept>

#include "host/reference/detail/counters.hpp"

namespace orrery {

COSMethodSignature* COSMethodSignature::createMethodSignature() { return new reference::Signature(); }
COSMethodSignature::~COSMethodSignature() = default;

namespace reference {

Signature::Signature() { ++detail::counters().signatures; }
Signature::~Signature() { --detail::counters().signatures; }

void Signature::addInput(COSId type, COSId name) {
    calls_.push_back("addInput");
    inputs_.push_back({type, name});
}

void Signature::addInputWithDefault(COSId type, COSId name, COSId) {
    calls_.push_back("addInputWithDefault");
    inputs_.push_back({type, name});
}

void Signature::addOutput(COSId type, COSId name) {
    calls_.push_back("addOutput");
    outputs_.push_back({type, name});
}

void Signature::setVarargin() {
    calls_.push_back("setVarargin");
    varargin_ = true;
}

void Signature::setSignatureOption(int option) {
    calls_.push_back("setSignatureOption");
    option_ = option;
}

void Signature::setVarargout() {
    calls_.push_back("setVarargout");
    varargout_ = true;
}

std::vector<std::string> Signature::calls() const { return {calls_.begin(), calls_.end()}; }

std::string Signature::toString() const {
    auto list = [](const std::vector<SignatureArgument>& arguments, bool more) {
        std::string out = "(";
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (i) out += ", ";
            out += arguments[i].type.str() + " " + arguments[i].name.str();
        }
        if (more) out += arguments.empty() ? "..." : ", ...";
        return out + ")";
    };
    return list(inputs_, varargin_) + " -> " + list(outputs_, varargout_);
}

const Signature& asSignature(const COSMethodSignature* signature) {
    auto* own = dynamic_cast<const Signature*>(signature);
    if (!own) throw std::invalid_argument(signature ? "not a signature of the reference host" : "no signature");
    return *own;
}

}  // namespace reference
}  // namespace orrery
