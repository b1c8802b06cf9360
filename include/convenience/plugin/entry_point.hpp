#pragma once
// The entry point of a class-definition plugin: a shared library that, when loaded,
// defines its classes, namespaces and functions through the library and publishes them.
// A loader (the inspector, or a host's own) opens the library, looks the entry point up
// by name and calls it once; whatever the plugin published is then the host's to pull.
//
//     ORRERY_DEFINE_PLUGIN() {
//         auto point = orrery::convenience::createClass("pkg.Point");
//         ...
//         point->publish();
//     }
//
// The entry point may throw: the host's message-ID errors or any std::exception. The
// loader reports the error and does not use what the plugin published before the throw.
//
// The macro also stamps the plugin with the library version and ABI tag it was built
// against (convenience/plugin/build_stamp.hpp), which a loader checks before it calls in.
#include "convenience/plugin/build_stamp.hpp"

#if defined(_WIN32)
#  define ORRERY_PLUGIN_EXPORT __declspec(dllexport)
#else
#  define ORRERY_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

/// Defines the plugin's build stamp and its entry point; follow it with the entry point's body.
#define ORRERY_DEFINE_PLUGIN()                                                                         \
  extern "C" ORRERY_PLUGIN_EXPORT const orrery_build_stamp* orrery_plugin_build_stamp() noexcept {     \
    static constexpr orrery_build_stamp stamp{ORRERY_CONVENIENCE_VERSION, ORRERY_CONVENIENCE_ABI_TAG}; \
    return &stamp;                                                                                     \
  }                                                                                                    \
  extern "C" ORRERY_PLUGIN_EXPORT void orrery_define_plugin()

namespace orrery::convenience::plugin {

/// The name a loader looks the entry point up by.
inline constexpr const char* entryPointName = "orrery_define_plugin";
/// Its type: no arguments, nothing returned; errors are thrown.
using EntryPoint = void (*)();

}  // namespace orrery::convenience::plugin
