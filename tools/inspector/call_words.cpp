#include "call_words.hpp"

#include <utility>

namespace orrery::inspector {
namespace {

bool startsWith(const std::string& word, const char* prefix) { return word.rfind(prefix, 0) == 0; }

}  // namespace

std::vector<std::vector<std::string>> takeCalls(std::vector<std::string>& words) {
    std::vector<std::vector<std::string>> calls;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        // After "--" every word is a plugin, even one named --call.
        if (word == "--") {
            rest.insert(rest.end(), std::make_move_iterator(words.begin() + std::ptrdiff_t(i)),
                        std::make_move_iterator(words.end()));
            break;
        }
        const bool joined = startsWith(word, "--call=");
        if (word != "--call" && !joined) {
            rest.push_back(std::move(words[i]));
            continue;
        }
        std::vector<std::string> call;
        if (joined) call.push_back(word.substr(7));
        while (i + 1 < words.size() && !startsWith(words[i + 1], "--")) call.push_back(std::move(words[++i]));
        if (call.empty() || call[0].empty())
            throw std::invalid_argument("--call needs the name of a class, method or function");
        calls.push_back(std::move(call));
    }
    words = std::move(rest);
    return calls;
}

}  // namespace orrery::inspector
