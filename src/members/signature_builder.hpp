#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/interned.hpp"
#include "host/method_signature.hpp"

namespace orrery::convenience::detail {

// Builds a new host signature from a callable's description. An empty name list means
// generated names (Input_1, ..., Output_1, ...) for that whole direction; otherwise a
// name is read for every type.
std::shared_ptr<COSMethodSignature> buildSignature(const std::vector<COSInternedBase<IdEmptyPolicy>>& inputTypes,
                                                   const std::vector<std::string>& inputNames,
                                                   const std::vector<COSInternedBase<IdEmptyPolicy>>& outputTypes,
                                                   const std::vector<std::string>& outputNames, bool hasVarargin,
                                                   bool hasVarargout, std::int32_t signatureOption);

// Throws std::invalid_argument naming the callable ("constructor \"pkg.Point\"") and the
// two counts when a non-empty name list is shorter than its type list: the builder reads
// a name for every type, so such a record cannot be described to the host.
void checkArgumentNames(const char* kind, const std::string& name,
                        const std::vector<COSInternedBase<IdEmptyPolicy>>& inputTypes,
                        const std::vector<std::string>& inputNames,
                        const std::vector<COSInternedBase<IdEmptyPolicy>>& outputTypes,
                        const std::vector<std::string>& outputNames);

}  // namespace orrery::convenience::detail
