#pragma once

// UTF-8 to code points and UTF-16, shared by the library and the reference host so that
// both read malformed text alike: each maximal subpart of an ill-formed sequence (the
// longest start of a well-formed sequence, or else one byte) becomes one U+FFFD, and
// reading resumes at the byte that broke the sequence, which may well start a valid one.
// No surrogate and no value past U+10FFFF ever comes out.

#include <cstddef>
#include <string>
#include <string_view>

namespace orrery::text {

inline constexpr char32_t kReplacement = 0xFFFD;

// Calls emit(code point) for each character of the bytes.
template <class Emit>
constexpr void decodeUtf8(std::string_view bytes, Emit&& emit) {
    const std::size_t size = bytes.size();
    auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = byteAt(i);
        if (lead < 0x80) {
            emit(char32_t{lead});
            ++i;
            continue;
        }
        // The length and the range of the second byte follow from the lead; the others
        // are always 80..BF. The narrowed second ranges exclude overlong forms (E0, F0),
        // surrogates (ED) and values past U+10FFFF (F4).
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        }
        std::size_t taken = 1;
        while (length != 0 && taken < length && i + taken < size) {
            const unsigned char next = byteAt(i + taken);
            if (next < low || next > high) break;
            code = (code << 6) | (next & 0x3F);
            low = 0x80;
            high = 0xBF;
            ++taken;
        }
        emit(taken == length ? code : kReplacement);
        i += taken;
    }
}

inline void appendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
        return;
    }
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

inline std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    decodeUtf8(bytes, [&](char32_t code) { appendUtf16(out, code); });
    return out;
}

}  // namespace orrery::text
