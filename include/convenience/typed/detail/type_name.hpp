#pragma once

// C++ type names for people: demangled at run time for messages, and, at compile time,
// whether a type belongs to the standard library (which no class binding can stand for).

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>

#if __has_include(<cxxabi.h>)
#  include <cxxabi.h>
#endif

namespace orrery::convenience::typed::detail {

/// "geo::Polygon" rather than "N3geo7PolygonE"; the mangled name where it cannot be demangled.
template <class T>
std::string readableTypeName() {
    const char* mangled = typeid(T).name();
#if __has_include(<cxxabi.h>)
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    if (status == 0 && demangled) return demangled.get();
#endif
    return mangled;
}

template <class T>
constexpr std::string_view signatureNaming() {
    return __PRETTY_FUNCTION__;
}

/// Whether T is a type of namespace std, read from the compiler's own spelling of this
/// function's signature ("[with T = std::map<...>" for GCC, "[T = std::map<...>" for
/// Clang). False where the spelling is not recognised: a missed case fails at load time
/// instead, naming the type.
template <class T>
constexpr bool isStandardLibraryType() {
    constexpr std::string_view text = signatureNaming<T>();
    constexpr std::size_t at = text.find("T = ");
    if constexpr (at == std::string_view::npos) {
        return false;
    } else {
        return text.substr(at + 4).starts_with("std::");
    }
}

}  // namespace orrery::convenience::typed::detail
