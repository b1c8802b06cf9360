#include "plugin_compatibility.hpp"

#include <dlfcn.h>

#include <cstring>

#include "convenience/plugin/build_stamp.hpp"
#include "plugin_library.hpp"

namespace orrery::inspector {
namespace {

using convenience::plugin::BuildStampFunction;

std::string describe(const orrery_build_stamp& stamp) {
    return std::string(stamp.version) + " (ABI " + stamp.abiTag + ")";
}

// The file that holds an address, for the warning.
std::string fileOf(void* address) {
    Dl_info info{};
    return dladdr(address, &info) != 0 && info.dli_fname ? info.dli_fname : "an unnamed object";
}

}  // namespace

std::optional<std::string> checkCompatibility(void* handle) {
    const orrery_build_stamp& ours = *orrery_convenience_build_stamp();
    // dlsym hands out object pointers; POSIX guarantees they convert to function pointers.
    auto* stampOf = reinterpret_cast<BuildStampFunction>(dlsym(handle, convenience::plugin::buildStampName));
    if (!stampOf)
        throw LoadError(std::string("it carries no build stamp (") + convenience::plugin::buildStampName +
                        "): it was not built with this library's ORRERY_DEFINE_PLUGIN; rebuild it against " +
                        describe(ours));
    const orrery_build_stamp* theirs = stampOf();
    if (!theirs || !theirs->version || !theirs->abiTag) throw LoadError("its build stamp is empty");
    if (std::strcmp(theirs->abiTag, ours.abiTag) != 0)
        throw LoadError("built against orrery_convenience " + describe(*theirs) + ", but the inspector runs " +
                        describe(ours) + ": rebuild the plugin against " + ours.version);

    // The library the plugin's own lookups reach, against the one this process uses. A
    // plugin that links the library statically, or another build of it, defines its
    // classes in a registry of its own.
    void* theirLibrary = dlsym(handle, convenience::plugin::libraryBuildStampName);
    void* ourLibrary = dlsym(RTLD_DEFAULT, convenience::plugin::libraryBuildStampName);
    if (theirLibrary && ourLibrary && theirLibrary != ourLibrary)
        return "it brings its own copy of the library (in " + fileOf(theirLibrary) + ") beside the inspector's (" +
               fileOf(ourLibrary) + "): what it defines there, the inspector's host may not see";
    return std::nullopt;
}

}  // namespace orrery::inspector
