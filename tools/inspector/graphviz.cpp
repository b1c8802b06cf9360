#include "graphviz.hpp"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

namespace orrery::inspector {

std::string findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream directories(path ? path : "");
    for (std::string directory; std::getline(directories, directory, ':');) {
        const auto candidate = std::filesystem::path(directory.empty() ? "." : directory) / program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return "";
}

bool renderSvg(const std::string& dot, const std::string& dotFile, const std::string& svgFile) {
    std::vector<std::string> words = {dot, "-Tsvg", dotFile, "-o", svgFile};
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    return posix_spawn(&child, dot.c_str(), nullptr, nullptr, argv.data(), environ) == 0 &&
           waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace orrery::inspector
