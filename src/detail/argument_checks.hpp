#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace orrery::convenience::detail {

// Records and names are handed over as pointers; a null one would crash deep inside a
// later step, so it is refused at the door with the operation's name.
template <class Pointer>
void requireNonNull(const Pointer& pointer, const char* operation, const char* what) {
    if (!pointer) throw std::invalid_argument(std::string(operation) + ": the " + what + " is null");
}

// "1 output type", "2 output types".
inline std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// Linking a constructor to a class record gives it the one output name "Output" when it
// has none; a constructor declaring two or more output types would then have fewer names
// than types. Refuse before anything changes.
template <class Constructor>
void requireNamesForDefaultOutput(const Constructor& constructor, const char* operation) {
    if (!constructor.outputNames.empty() || constructor.outputTypes.size() <= 1) return;
    throw std::invalid_argument(std::string(operation) + ": constructor \"" + constructor.name + "\" declares " +
                                counted(constructor.outputTypes.size(), "output type") +
                                " and no output names; the default name \"Output\" serves one output only, so "
                                "name every output");
}

// Attaching an unnamed constructor to a host class puts the class type and the name
// "Output" in front of its declared outputs; with fewer names than types declared, the
// names would not cover the types. Refuse before anything changes.
template <class Constructor>
void requireNamesForClassOutput(const Constructor& constructor, const char* operation) {
    if (constructor.outputNames.size() >= constructor.outputTypes.size()) return;
    throw std::invalid_argument(std::string(operation) + ": constructor \"" + constructor.name + "\" declares " +
                                counted(constructor.outputTypes.size(), "output type") + " but " +
                                counted(constructor.outputNames.size(), "output name") +
                                "; name every output before attaching it");
}

}  // namespace orrery::convenience::detail
