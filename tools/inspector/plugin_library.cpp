#include "plugin_library.hpp"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "plugin_compatibility.hpp"

namespace orrery::inspector {

PluginLibrary::PluginLibrary(const std::string& path) : file_(std::filesystem::path(path).filename().string()) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) throw LoadError("no such file");
    if (!fs::is_regular_file(status)) throw LoadError("not a file");
    // An absolute path: dlopen would search the library path for a bare file name.
    const std::string absolute = fs::absolute(path).string();
    handle_ = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        throw LoadError(std::string("cannot be loaded as a shared library: ") + (reason ? reason : "unknown reason"));
    }
    // dlsym hands out an object pointer; POSIX guarantees it converts to a function pointer.
    void* symbol = dlsym(handle_, convenience::plugin::entryPointName);
    if (!symbol) {
        close();
        throw LoadError(std::string("not a plugin: it has no entry point ") + convenience::plugin::entryPointName +
                        " (define one with ORRERY_DEFINE_PLUGIN)");
    }
    entry_ = reinterpret_cast<convenience::plugin::EntryPoint>(symbol);
    try {
        warning_ = checkCompatibility(handle_);
    } catch (...) {
        close();  // a constructor that throws leaves no destructor to do it
        throw;
    }
}

PluginLibrary::PluginLibrary(PluginLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      entry_(std::exchange(other.entry_, nullptr)),
      file_(std::move(other.file_)),
      warning_(std::move(other.warning_)) {}

PluginLibrary::~PluginLibrary() { close(); }

void PluginLibrary::close() noexcept {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
    entry_ = nullptr;
}

}  // namespace orrery::inspector
