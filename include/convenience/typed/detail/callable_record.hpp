#pragma once

// Fills the signature fields and the invokeFcn of a method or function record from a C++
// callable, the way every typed member does.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "convenience/typed/detail/invoker.hpp"

namespace orrery::convenience::typed::detail {

/// The record's inputs and outputs come from the callable's parameters and result. With
/// `hasSelf` the first parameter is the object, named "self"; `inputNames` then names the
/// others. Names not given are the host's generated ones ("Input_2" after "self").
template <class Record, class Fn>
void fillCallable(Record& record, Fn fn, const std::string& member, bool hasSelf,
                  const std::vector<std::string>& inputNames, const std::vector<std::string>& outputNames) {
    using Call = InvokerFor<Fn>;
    const auto total = static_cast<std::size_t>(Call::total);
    // Generated names count the object too, as the host's do; the object is "self" always.
    std::vector<std::string> named = namesFor({}, total, "input", member);
    if (!inputNames.empty()) {
        named = namesFor(inputNames, hasSelf ? total - 1 : total, "input", member);
        if (hasSelf) named.insert(named.begin(), "self");
    } else if (hasSelf) {
        named.front() = "self";
    }
    auto site = std::make_shared<CallSite>(CallSite{member, named, {}});
    site->outputNames = namesFor(
        outputNames, static_cast<std::size_t>(Results<typename CallableTraits<Fn>::Result>::count), "output", member);
    record.inputTypes = Call::inputTypeIds(member, named);
    record.inputNames = inputNames.empty() && !hasSelf ? std::vector<std::string>() : named;
    record.outputTypes = Call::outputTypeIds(member, site->outputNames);
    record.outputNames = outputNames;
    record.invokeFcn = Call(std::move(fn), std::move(site));
}

}  // namespace orrery::convenience::typed::detail
