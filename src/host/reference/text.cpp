#include "host/reference/text.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "host/exception.hpp"
#include "util/utf8_decoding.hpp"

// ORRERY_TEXT_PORTABLE selects the path without SSE2 on x86-64 too, to test it there.
#if (defined(__SSE2__) || defined(_M_X64)) && !defined(ORRERY_TEXT_PORTABLE)
#  define ORRERY_TEXT_SSE2 1
#  include <emmintrin.h>
#endif

// UTF-16 to UTF-8 for any sequence of code units: a unit below U+0080 takes one byte,
// below U+0800 two, other units three, a surrogate pair four for its two units, and a
// surrogate outside a pair becomes U+FFFD (three bytes). A first pass counts the bytes,
// so that the result is allocated once, at its size, and notes where the text stops
// being plain ASCII; the second writes the bytes in place, copying that ASCII start
// without looking at it again. With SSE2, runs of ASCII go 64 units at a time and other
// text 8 at a time: each unit's bytes are formed in vector lanes as one 32-bit word and
// a length, and the words are stored one after the other, 4 bytes each. Without SSE2
// each unit is formed the same way, without branching on its length.
namespace fl::i18n {
namespace {

// Room kept past the bytes: every unit is stored as 4 bytes whatever its length (a
// pair's trail has length 0), and the last few ASCII units as 8.
constexpr std::size_t kStoreRoom = 8;
// Bytes up to which the result is formed on the stack first.
constexpr std::size_t kShortText = 64;

struct Measure {
    std::size_t length;  // of the UTF-8 form
    const char16_t* asciiEnd;  // the units before it are known to be ASCII
};

// The bytes, least significant first, at out; 4 bytes are written whatever the length.
inline void store4(char* out, std::uint32_t bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &bytes, 4);
    } else {
        for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(bytes >> (8 * i));
    }
}

#if defined(ORRERY_TEXT_SSE2)

inline __m128i load(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i splat(int value) { return _mm_set1_epi16(static_cast<std::int16_t>(value)); }

// True when every unit of v is below U+0080: adding 0x7F80 with saturation sets the top
// bit of a unit exactly when it is not.
inline bool allAscii(__m128i v) { return (_mm_movemask_epi8(_mm_adds_epu16(v, splat(0x7F80))) & 0xAAAA) == 0; }

// The 64 units at p, or-ed together (as a tree: the loads do not wait on one another).
inline __m128i or64(const char16_t* p) {
    const __m128i a = _mm_or_si128(load(p), load(p + 8));
    const __m128i b = _mm_or_si128(load(p + 16), load(p + 24));
    const __m128i c = _mm_or_si128(load(p + 32), load(p + 40));
    const __m128i d = _mm_or_si128(load(p + 48), load(p + 56));
    return _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
}

// Per lane, minus the bytes beyond the first of the unit, plus 2 when it starts a pair
// with the next unit (whose trail then counts the pair's 2): from -2 to 0.
inline __m128i negatedExtras(__m128i units, __m128i next) {
    // -1 for each of "below U+0080" and "below U+0800": the extra bytes are 2 + below.
    const __m128i below = _mm_add_epi16(_mm_cmpeq_epi16(_mm_and_si128(units, splat(0xFF80)), _mm_setzero_si128()),
                                        _mm_cmpeq_epi16(_mm_and_si128(units, splat(0xF800)), _mm_setzero_si128()));
    const __m128i pair = _mm_and_si128(_mm_cmpeq_epi16(_mm_and_si128(units, splat(0xFC00)), splat(0xD800)),
                                       _mm_cmpeq_epi16(_mm_and_si128(next, splat(0xFC00)), splat(0xDC00)));
    return _mm_sub_epi16(_mm_sub_epi16(splat(-2), below), _mm_add_epi16(pair, pair));
}

// The units at p, p[8] being the next unit of the last.
inline __m128i negatedExtras(const char16_t* p) { return negatedExtras(load(p), load(p + 1)); }

// The n (at most 8) units at p in the low lanes, zero units above: built in registers,
// since a vector load from a copy would wait for the copy's stores to land.
inline __m128i loadFew(const char16_t* p, std::size_t n) {
    __m128i units = _mm_setzero_si128();
    switch (n) {
        case 8: return load(p);
        case 7: units = _mm_insert_epi16(units, p[6], 6); [[fallthrough]];
        case 6: units = _mm_insert_epi16(units, p[5], 5); [[fallthrough]];
        case 5: units = _mm_insert_epi16(units, p[4], 4); [[fallthrough]];
        case 4: units = _mm_insert_epi16(units, p[3], 3); [[fallthrough]];
        case 3: units = _mm_insert_epi16(units, p[2], 2); [[fallthrough]];
        case 2: units = _mm_insert_epi16(units, p[1], 1); [[fallthrough]];
        case 1: units = _mm_insert_epi16(units, p[0], 0); [[fallthrough]];
        default: return units;
    }
}

// The next unit of each lane when zero units follow the last.
inline __m128i nextOfFew(__m128i units) { return _mm_srli_si128(units, 2); }

// The sum of the lanes, each from -32768 to 0, negated.
inline std::size_t negatedSum(__m128i lanes) {
    const __m128i pairs = _mm_madd_epi16(lanes, splat(-1));
    const __m128i half = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, _MM_SHUFFLE(1, 0, 3, 2)));
    const __m128i all = _mm_add_epi32(half, _mm_shuffle_epi32(half, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(all));
}

// The UTF-8 length of the units, and where the leading run of all-ASCII 64-unit blocks
// ends (the second pass copies those without looking).
Measure measure(const char16_t* p, const char16_t* last) {
    Measure result{static_cast<std::size_t>(last - p), nullptr};
    // 64 units at a time, skipped when all ASCII. A lane falls by at most 16 per 64
    // units: summed every 1024 times.
    while (last - p > 64) {
        __m128i negated = _mm_setzero_si128();
        for (int blocks = 0; blocks < 1024 && last - p > 64; ++blocks, p += 64) {
            if (allAscii(or64(p))) continue;
            if (!result.asciiEnd) result.asciiEnd = p;
#  pragma GCC unroll 8
            for (int i = 0; i < 64; i += 8) negated = _mm_add_epi16(negated, negatedExtras(p + i));
        }
        result.length += negatedSum(negated);
    }
    if (!result.asciiEnd) result.asciiEnd = p;
    __m128i negated = _mm_setzero_si128();
    for (; last - p > 8; p += 8) negated = _mm_add_epi16(negated, negatedExtras(p));
    // The last 8 or fewer, followed by zero units: one byte each, no extra, no pair.
    const __m128i few = loadFew(p, static_cast<std::size_t>(last - p));
    negated = _mm_add_epi16(negated, negatedExtras(few, nextOfFew(few)));
    result.length += negatedSum(negated);
    return result;
}

// Writes 8 units, or only the first `lanes` of them, and returns how many units that
// took: 9 when the eighth starts a pair. nextUnits() gives each lane's next unit. Lane
// by lane: the first two bytes in one 16-bit word, the other two in another, and the
// length.
template <class NextUnits>
[[gnu::always_inline]] inline int encode8(__m128i units, NextUnits nextUnits, char*& out, int lanes = 8) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(units, splat(0xFF80)), zero);
    if (_mm_movemask_epi8(ascii) == 0xFFFF) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(units, units));
        out += lanes;
        return 8;
    }
    const __m128i low6 = _mm_and_si128(units, splat(0x3F));
    const __m128i shifted6 = _mm_srli_epi16(units, 6);
    const __m128i below800 = _mm_cmpeq_epi16(_mm_and_si128(units, splat(0xF800)), zero);
    const __m128i twoByteLead = _mm_andnot_si128(ascii, below800);
    const __m128i first =
        _mm_or_si128(_mm_and_si128(units, ascii),
                     _mm_or_si128(_mm_and_si128(_mm_or_si128(shifted6, splat(0xC0)), twoByteLead),
                                  _mm_andnot_si128(below800, _mm_or_si128(_mm_srli_epi16(units, 12), splat(0xE0)))));
    const __m128i second = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(low6, below800), _mm_andnot_si128(below800, _mm_and_si128(shifted6, splat(0x3F)))),
        splat(0x80));
    __m128i lowHalf = _mm_or_si128(first, _mm_slli_epi16(second, 8));
    __m128i highHalf = _mm_or_si128(low6, splat(0x80));
    __m128i lengths = _mm_add_epi16(_mm_add_epi16(splat(3), ascii), below800);  // masks are -1
    int taken = 8;

    const __m128i surrogate = _mm_cmpeq_epi16(_mm_and_si128(units, splat(0xF800)), splat(0xD800));
    if (_mm_movemask_epi8(surrogate) != 0) {
        const __m128i next = nextUnits();
        const __m128i lead = _mm_cmpeq_epi16(_mm_and_si128(units, splat(0xFC00)), splat(0xD800));
        const __m128i pairLead =
            _mm_and_si128(lead, _mm_cmpeq_epi16(_mm_and_si128(next, splat(0xFC00)), splat(0xDC00)));
        const __m128i pairTrail = _mm_slli_si128(pairLead, 2);
        const __m128i lone = _mm_andnot_si128(_mm_or_si128(pairLead, pairTrail), surrogate);
        // The code point is high << 10 | low: the lead's 10 bits plus 0x40, the trail's 10.
        const __m128i high = _mm_add_epi16(_mm_and_si128(units, splat(0x3FF)), splat(0x40));
        const __m128i low = _mm_and_si128(next, splat(0x3FF));
        const __m128i byte0 = _mm_or_si128(_mm_srli_epi16(high, 8), splat(0xF0));
        const __m128i byte1 = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(high, 2), splat(0x3F)), splat(0x80));
        const __m128i byte2 = _mm_or_si128(
            _mm_or_si128(_mm_slli_epi16(_mm_and_si128(high, splat(3)), 4), _mm_srli_epi16(low, 6)), splat(0x80));
        const __m128i byte3 = _mm_or_si128(_mm_and_si128(low, splat(0x3F)), splat(0x80));
        const __m128i replaced = _mm_or_si128(pairLead, lone);
        lowHalf = _mm_or_si128(_mm_andnot_si128(replaced, lowHalf),
                               _mm_or_si128(_mm_and_si128(pairLead, _mm_or_si128(byte0, _mm_slli_epi16(byte1, 8))),
                                            _mm_and_si128(lone, splat(0xBFEF))));  // U+FFFD: EF BF BD
        highHalf = _mm_or_si128(_mm_andnot_si128(replaced, highHalf),
                                _mm_or_si128(_mm_and_si128(pairLead, _mm_or_si128(byte2, _mm_slli_epi16(byte3, 8))),
                                             _mm_and_si128(lone, splat(0xBD))));
        // A pair's lead 4 (3 + 1), its trail 0; a lone surrogate 3 as it is.
        lengths = _mm_andnot_si128(pairTrail, _mm_sub_epi16(lengths, pairLead));
        taken += _mm_extract_epi16(pairLead, 7) & 1;
    }

    alignas(16) std::uint32_t words[8];
    alignas(16) std::uint16_t counts[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(words), _mm_unpacklo_epi16(lowHalf, highHalf));
    _mm_store_si128(reinterpret_cast<__m128i*>(words + 4), _mm_unpackhi_epi16(lowHalf, highHalf));
    _mm_store_si128(reinterpret_cast<__m128i*>(counts), lengths);
#  pragma GCC unroll 8
    for (int k = 0; k < lanes; ++k) {
        store4(out, words[k]);
        out += counts[k];
    }
    return taken;
}

// The 8 units at p; p[8] must exist.
[[gnu::always_inline]] inline int encode8At(const char16_t* p, char*& out) {
    return encode8(
        load(p), [p] { return load(p + 1); }, out);
}

// Writes the units and returns the end of their bytes; those before asciiEnd are ASCII.
char* encode(const char16_t* p, const char16_t* last, const char16_t* asciiEnd, char* out) {
    for (; p < asciiEnd; p += 16, out += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(load(p), load(p + 8)));
    // 64 units at a time while they are ASCII; otherwise those 64 go 8 at a time. The
    // last 8 at a time may look one unit past them (for a pair): 72 must be left.
    while (last - p >= 72) {
        if (allAscii(or64(p))) {
#  pragma GCC unroll 4
            for (int i = 0; i < 64; i += 16)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(load(p + i), load(p + i + 8)));
            p += 64;
            out += 64;
            continue;
        }
        for (const char16_t* const stop = p + 64; p < stop;) p += encode8At(p, out);
    }
    while (last - p > 8) p += encode8At(p, out);
    if (p < last) {
        // The last 8 or fewer, followed by zero units: a lead at the end has no trail.
        const __m128i few = loadFew(p, static_cast<std::size_t>(last - p));
        encode8(
            few, [few] { return nextOfFew(few); }, out, static_cast<int>(last - p));
    }
    return out;
}

#else

constexpr bool isLead(std::uint32_t unit) { return (unit & 0xFC00) == 0xD800; }
constexpr bool isTrail(std::uint32_t unit) { return (unit & 0xFC00) == 0xDC00; }
constexpr bool isSurrogate(std::uint32_t unit) { return (unit & 0xF800) == 0xD800; }

// Bytes beyond the first of the unit at p; a lead surrogate that starts a pair takes 0,
// its trail 2 (4 in all).
inline std::size_t extraBytes(const char16_t* p, const char16_t* last) {
    const std::uint32_t unit = *p;
    const bool startsPair = isLead(unit) && last - p >= 2 && isTrail(p[1]);
    return std::size_t(unit >= 0x80) + std::size_t(unit >= 0x800) - 2 * std::size_t(startsPair);
}

// Writes the unit (or pair) at p and steps past it. Always inlined: p and out must stay
// in registers in the loops that call it.
[[gnu::always_inline]] inline void encodeUnit(const char16_t*& p, const char16_t* last, char*& out) {
    const std::uint32_t unit = *p;
    if (!isSurrogate(unit)) [[likely]] {
        // All three forms, selected by masks: a branch on the length would be taken at
        // random in mixed text.
        const std::uint32_t two = 0x80C0u | (unit >> 6) | ((unit & 0x3F) << 8);
        const std::uint32_t three = 0x8080E0u | (unit >> 12) | (((unit >> 6) & 0x3F) << 8) | ((unit & 0x3F) << 16);
        const std::uint32_t wide = 0u - std::uint32_t(unit >= 0x80);
        const std::uint32_t wider = 0u - std::uint32_t(unit >= 0x800);
        store4(out, (unit & ~wide) | (two & wide & ~wider) | (three & wider));
        out += 1 + (unit >= 0x80) + (unit >= 0x800);
        p += 1;
    } else if (isLead(unit) && last - p >= 2 && isTrail(p[1])) {
        const std::uint32_t code = 0x10000 + ((unit - 0xD800) << 10) + (std::uint32_t(p[1]) - 0xDC00);
        store4(out, (0xF0 | (code >> 18)) | ((0x80 | ((code >> 12) & 0x3F)) << 8) |
                        ((0x80 | ((code >> 6) & 0x3F)) << 16) | ((0x80u | (code & 0x3F)) << 24));
        out += 4;
        p += 2;
    } else {
        store4(out, 0xBDBFEF);  // U+FFFD
        out += 3;
        p += 1;
    }
}

Measure measure(const char16_t* p, const char16_t* last) {
    Measure result{static_cast<std::size_t>(last - p), p};
    for (; p < last; ++p) result.length += extraBytes(p, last);
    return result;
}

char* encode(const char16_t* p, const char16_t* last, const char16_t*, char* out) {
    while (p < last) encodeUnit(p, last, out);
    return out;
}

#endif

}  // namespace

std::string ustring_to_utf8(const std::u16string& text) {
    const char16_t* const first = text.data();
    const char16_t* const last = first + text.size();
    const Measure measured = measure(first, last);
    const std::size_t length = measured.length;
    if (length <= kShortText) {
        // Formed on the stack and copied: a short result stays inside the string itself.
        char bytes[kShortText + kStoreRoom];
        encode(first, last, measured.asciiEnd, bytes);
        return std::string(bytes, length);
    }
    std::string out;
#if defined(__cpp_lib_string_resize_and_overwrite)
    // Written in place, never zero-filled first.
    out.resize_and_overwrite(length + kStoreRoom, [&](char* bytes, std::size_t) {
        encode(first, last, measured.asciiEnd, bytes);
        return length;
    });
#else
    out.resize(length + kStoreRoom);
    encode(first, last, measured.asciiEnd, out.data());
    out.resize(length);  // within the allocation: no copy
#endif
    return out;
}

}  // namespace fl::i18n

namespace orrery::reference {
std::u16string utf8ToUtf16(const std::string& text) { return text::utf8ToUtf16(text); }
}  // namespace orrery::reference
