#pragma once
// The library's version and ABI tag, and the stamp of them that every plugin carries
// (ORRERY_DEFINE_PLUGIN adds it). A loader compares a plugin's stamp with the library it
// has loaded and refuses a plugin built against another ABI: such a plugin would pass
// records and standard-library types whose layout the library reads differently.
#include <version>  // names the standard library in use

#include "convenience/export.hpp"

#define ORRERY_CONVENIENCE_VERSION_MAJOR 0
#define ORRERY_CONVENIENCE_VERSION_MINOR 1
#define ORRERY_CONVENIENCE_VERSION_PATCH 0
#define ORRERY_CONVENIENCE_VERSION "0.1.0"
// What the SONAME carries: major.minor before 1.0, when a minor release may change the
// ABI; the build checks that the two agree.
#define ORRERY_CONVENIENCE_ABI_VERSION "0.1"

// std::string, std::function and std::vector cross between a plugin and the library, so
// the standard library's own ABI is part of the tag.
#if defined(_LIBCPP_VERSION)
#  define ORRERY_DETAIL_STDLIB_ABI "libc++"
#elif defined(__GLIBCXX__) && defined(_GLIBCXX_USE_CXX11_ABI) && _GLIBCXX_USE_CXX11_ABI
#  define ORRERY_DETAIL_STDLIB_ABI "libstdc++"
#elif defined(__GLIBCXX__)
#  define ORRERY_DETAIL_STDLIB_ABI "libstdc++-pre-cxx11"
#elif defined(_MSC_VER)
#  define ORRERY_DETAIL_STDLIB_ABI "msvc"
#else
#  define ORRERY_DETAIL_STDLIB_ABI "unknown"
#endif

#define ORRERY_CONVENIENCE_ABI_TAG "orrery_convenience-" ORRERY_CONVENIENCE_ABI_VERSION "/" ORRERY_DETAIL_STDLIB_ABI

extern "C" {

/// What a binary was built against. C layout: a loader reads it before it knows whether
/// anything else of the plugin's is compatible.
struct orrery_build_stamp {
    const char* version;  ///< ORRERY_CONVENIENCE_VERSION, "0.1.0"
    const char* abiTag;  ///< ORRERY_CONVENIENCE_ABI_TAG: binaries with equal tags work together
};

/// The stamp of the library itself, as it was built. Found through a plugin's own
/// symbol lookup, it also tells which copy of the library the plugin uses.
ORRERY_CONVENIENCE_API const orrery_build_stamp* orrery_convenience_build_stamp() noexcept;

}  // extern "C"

namespace orrery::convenience::plugin {

/// The name of the function, defined by ORRERY_DEFINE_PLUGIN, that returns a plugin's stamp.
inline constexpr const char* buildStampName = "orrery_plugin_build_stamp";
/// The name of the library's own stamp function.
inline constexpr const char* libraryBuildStampName = "orrery_convenience_build_stamp";
using BuildStampFunction = const orrery_build_stamp* (*)() noexcept;

}  // namespace orrery::convenience::plugin
