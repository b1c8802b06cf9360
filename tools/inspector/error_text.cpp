#include "error_text.hpp"

#include <exception>

#include "host/exception.hpp"

namespace orrery::inspector {

Problem currentProblem(std::string where) {
    try {
        throw;
    } catch (const foundation::core::except::IMsgIDException& error) {
        return {std::move(where), error.what(), error.get_error_id()};
    } catch (const std::exception& error) {
        return {std::move(where), error.what(), ""};
    } catch (...) {
        return {std::move(where), "an exception that is neither a host error nor a std::exception", ""};
    }
}

std::string describe(const Problem& problem) {
    std::string text = problem.where + ": " + problem.message;
    if (!problem.id.empty()) text += " [" + problem.id + "]";
    return text;
}

}  // namespace orrery::inspector
