#include "utf8_repair.hpp"

namespace orrery::inspector {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed sequence a lead byte starts (0 for a byte that starts
// none), and the range its second byte must fall in: narrower than 80..BF after E0, ED,
// F0 and F4, which rules out overlong forms, surrogates and values past U+10FFFF.
struct Lead {
    int length;
    unsigned char low, high;
};

Lead lead(unsigned char byte) {
    if (byte < 0x80) return {1, 0, 0};
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};
    if (byte == 0xED) return {3, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

}  // namespace

std::string repairUtf8(std::string_view text, bool& changed) {
    changed = false;
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const Lead first = lead(static_cast<unsigned char>(text[i]));
        if (first.length == 1) {
            out += text[i++];
            continue;
        }
        // The maximal subpart: the lead byte and as many continuation bytes as could
        // still belong to a well-formed sequence. All of it, and only it, is replaced.
        std::size_t end = i + 1;
        int needed = first.length - 1;
        bool valid = first.length > 0;
        for (unsigned char low = first.low, high = first.high; valid && needed > 0; low = 0x80, high = 0xBF, --needed) {
            if (end >= text.size()) {
                valid = false;
                break;
            }
            const auto next = static_cast<unsigned char>(text[end]);
            if (next < low || next > high) {
                valid = false;
                break;
            }
            ++end;
        }
        if (valid) {
            out.append(text.substr(i, end - i));
        } else {
            out += kReplacement;
            changed = true;
        }
        i = end;
    }
    return out;
}

}  // namespace orrery::inspector
