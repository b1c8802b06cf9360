#include "members/signature_builder.hpp"

#include <stdexcept>

namespace orrery::convenience::detail {
namespace {

using Ids = std::vector<COSInternedBase<IdEmptyPolicy>>;
using AddArgument = void (COSMethodSignature::*)(COSId, COSId);

std::string countMismatch(const char* direction, std::size_t names, std::size_t types) {
    return std::to_string(names) + " " + direction + (names == 1 ? " name" : " names") + " for " +
           std::to_string(types) + " " + direction + (types == 1 ? " type" : " types") +
           " (give one name per type, or none for generated names)";
}

void addArguments(COSMethodSignature& signature, AddArgument add, const Ids& types,
                  const std::vector<std::string>& names, const char* generatedPrefix) {
    // Callers check with the record's name first; this keeps the reads in bounds regardless.
    if (!names.empty() && names.size() < types.size())
        throw std::invalid_argument(
            "signature: " +
            countMismatch(add == &COSMethodSignature::addInput ? "input" : "output", names.size(), types.size()));
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

void checkArgumentNames(const char* kind, const std::string& name, const Ids& inputTypes,
                        const std::vector<std::string>& inputNames, const Ids& outputTypes,
                        const std::vector<std::string>& outputNames) {
    auto check = [&](const char* direction, const Ids& types, const std::vector<std::string>& names) {
        if (!names.empty() && names.size() < types.size())
            throw std::invalid_argument(std::string(kind) + " \"" + name +
                                        "\": " + countMismatch(direction, names.size(), types.size()));
    };
    check("input", inputTypes, inputNames);
    check("output", outputTypes, outputNames);
}

}  // namespace orrery::convenience::detail
