#include "members/signature_builder.hpp"

namespace orrery::convenience::detail {
namespace {

using Ids = std::vector<COSInternedBase<IdEmptyPolicy>>;
using AddArgument = void (COSMethodSignature::*)(COSId, COSId);

void addArguments(COSMethodSignature& signature, AddArgument add, const Ids& types,
                  const std::vector<std::string>& names, const char* generatedPrefix) {
    if (!names.empty()) {
        for (std::size_t i = 0; i < types.size(); ++i) (signature.*add)(types[i], makeId(names[i]));
        return;
    }
    for (std::size_t i = 0; i < types.size(); ++i)
        (signature.*add)(types[i], makeId(generatedPrefix + std::to_string(i + 1)));
}

}  // namespace

std::shared_ptr<COSMethodSignature> buildSignature(const Ids& inputTypes, const std::vector<std::string>& inputNames,
                                                   const Ids& outputTypes, const std::vector<std::string>& outputNames,
                                                   bool hasVarargin, bool hasVarargout, std::int32_t signatureOption) {
    std::shared_ptr<COSMethodSignature> signature(COSMethodSignature::createMethodSignature());
    addArguments(*signature, &COSMethodSignature::addInput, inputTypes, inputNames, "Input_");
    if (hasVarargin) signature->setVarargin();
    signature->setSignatureOption(signatureOption);
    addArguments(*signature, &COSMethodSignature::addOutput, outputTypes, outputNames, "Output_");
    if (hasVarargout) signature->setVarargout();
    return signature;
}

}  // namespace orrery::convenience::detail
