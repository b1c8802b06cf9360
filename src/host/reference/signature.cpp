#include "host/reference/counters.hpp"
#include "host/reference/ref_signature.hpp"

namespace orrery {

COSMethodSignature* COSMethodSignature::createMethodSignature() { return new reference::RefMethodSignature(); }
COSMethodSignature::~COSMethodSignature() = default;

namespace reference {

RefMethodSignature::RefMethodSignature() { ++detail::counters().signatures; }
RefMethodSignature::~RefMethodSignature() { --detail::counters().signatures; }

void RefMethodSignature::addInput(COSId type, COSId name) {
    calls_.push_back("addInput");
    inputs_.push_back({type, name});
}

void RefMethodSignature::addInputWithDefault(COSId type, COSId name, COSId) {
    calls_.push_back("addInputWithDefault");
    inputs_.push_back({type, name});
}

void RefMethodSignature::addOutput(COSId type, COSId name) {
    calls_.push_back("addOutput");
    outputs_.push_back({type, name});
}

void RefMethodSignature::setVarargin() {
    calls_.push_back("setVarargin");
    varargin_ = true;
}

void RefMethodSignature::setSignatureOption(int option) {
    calls_.push_back("setSignatureOption");
    option_ = option;
}

void RefMethodSignature::setVarargout() {
    calls_.push_back("setVarargout");
    varargout_ = true;
}

std::vector<std::string> RefMethodSignature::calls() const { return {calls_.begin(), calls_.end()}; }

std::string RefMethodSignature::toString() const {
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

}  // namespace reference
}  // namespace orrery
