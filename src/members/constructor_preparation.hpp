#pragma once

#include <memory>

#include "convenience/class_info_struct.hpp"
#include "convenience/constructor_info_struct.hpp"
#include "detail/argument_checks.hpp"
#include "detail/record_ledger.hpp"

namespace orrery::convenience::detail {

// What linking a constructor to a class record does, from either side (the class's
// addConstructor, the constructor's attach): an unnamed constructor takes the class's
// name, the output name "Output" is given when there is none, and the constructor holds
// the class. The output type waits for the first signature request, when the host class
// is known. Refused before anything changes when the default name cannot cover the
// declared outputs. The class's own pointer is asked for after the name is given, which is
// as far as an unowned class record (std::bad_weak_ptr) gets.
template <class OwnPointer>
void prepareForClassRecord(COSConstructorInfoStruct& constructor, const COSClassInfoStruct& classRecord,
                           OwnPointer ownPointer, const char* operation) {
    requireNamesForDefaultOutput(constructor, operation);
    if (constructor.name.empty()) assignName(constructor.name, classRecord.name);
    constructor.classHolder = std::shared_ptr<COSClassInfoStruct>(ownPointer());
    if (constructor.outputNames.empty()) constructor.outputNames.emplace_back("Output");
}

}  // namespace orrery::convenience::detail
