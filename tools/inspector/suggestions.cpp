#include "suggestions.hpp"

#include <algorithm>
#include <utility>

namespace orrery::inspector {
namespace {

// Every namespace report, outermost first; by an explicit list rather than recursion.
std::vector<const NamespaceReport*> allSpaces(const Inspection& inspection) {
    std::vector<const NamespaceReport*> spaces;
    for (const auto& space : inspection.namespaces) spaces.push_back(&space);
    for (std::size_t i = 0; i < spaces.size(); ++i)
        for (const auto& inner : spaces[i]->namespaces) spaces.push_back(&inner);
    return spaces;
}

void addClass(const ClassReport& cls, std::vector<std::string>& names) {
    names.push_back(cls.id);
    for (const auto& method : cls.methods) names.push_back(cls.id + "." + method.name);
}

}  // namespace

std::size_t editDistance(const std::string& a, const std::string& b) {
    // Three rows of the table: the one two back is needed for swaps.
    std::vector<std::size_t> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) last[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = last[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        before = std::exchange(last, row);
    }
    return last[b.size()];
}

std::vector<std::string> closest(const std::string& name, const std::vector<std::string>& candidates) {
    // A third of the name may be wrong, and always a typo or two: further off, a
    // suggestion is noise.
    const std::size_t limit = std::max<std::size_t>(2, name.size() / 3);
    std::vector<std::pair<std::size_t, std::string>> near;
    for (const auto& candidate : candidates) {
        if (candidate == name) continue;
        const std::size_t distance = editDistance(name, candidate);
        if (distance <= limit) near.emplace_back(distance, candidate);
    }
    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < near.size() && i < 3; ++i) out.push_back(std::move(near[i].second));
    return out;
}

std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates) {
    const std::vector<std::string> names = closest(name, candidates);
    if (names.empty()) return "";
    std::string out = "; did you mean ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i) out += i + 1 == names.size() ? " or " : ", ";
        out += names[i];
    }
    out += '?';
    return out;
}

std::vector<std::string> callableNames(const Inspection& inspection) {
    std::vector<std::string> names;
    for (const auto& cls : inspection.classes) addClass(cls, names);
    for (const NamespaceReport* space : allSpaces(inspection)) {
        for (const auto& cls : space->classes) addClass(cls, names);
        for (const auto& function : space->functions) names.push_back(space->path + "." + function.name);
    }
    return names;
}

const ClassReport* findClassReport(const Inspection& inspection, const std::string& id) {
    for (const auto& cls : inspection.classes)
        if (cls.id == id) return &cls;
    for (const NamespaceReport* space : allSpaces(inspection))
        for (const auto& cls : space->classes)
            if (cls.id == id) return &cls;
    return nullptr;
}

}  // namespace orrery::inspector
