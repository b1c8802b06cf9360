#include "number_text.hpp"

#include <charconv>

namespace orrery::inspector {

std::string numberText(double value) {
    char text[32];  // the longest shortest form, -2.2250738585072014e-308, is 24
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace orrery::inspector
