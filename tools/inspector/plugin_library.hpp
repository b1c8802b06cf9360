#pragma once
#include <optional>
#include <stdexcept>
#include <string>

#include "convenience/plugin/entry_point.hpp"

namespace orrery::inspector {

/// Why a plugin could not be loaded.
class LoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A plugin's shared library, open for as long as this lives.
class PluginLibrary {
public:
    /// Opens the library, finds its entry point and checks what it was built against;
    /// LoadError says what is wrong.
    explicit PluginLibrary(const std::string& path);
    PluginLibrary(PluginLibrary&& other) noexcept;
    PluginLibrary& operator=(PluginLibrary&&) = delete;
    PluginLibrary(const PluginLibrary&) = delete;
    ~PluginLibrary();

    convenience::plugin::EntryPoint entryPoint() const { return entry_; }
    /// The file name without its directory.
    const std::string& file() const { return file_; }
    /// What is doubtful about the plugin but does not stop it from loading.
    const std::optional<std::string>& warning() const { return warning_; }

    /// Unloads the library now. Nothing made from its code may be used afterwards.
    void close() noexcept;

private:
    void* handle_ = nullptr;
    convenience::plugin::EntryPoint entry_ = nullptr;
    std::string file_;
    std::optional<std::string> warning_;
};

}  // namespace orrery::inspector
