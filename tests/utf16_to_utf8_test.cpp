// The host's UTF-16 to UTF-8 conversion against ICU's, which substitutes U+FFFD for
// each surrogate outside a pair: the two must agree byte for byte on any input.
#include <gtest/gtest.h>
#include <unicode/ustring.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "host/exception.hpp"

namespace {

// Allocations made while counting is on, by any operator new in this program.
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Not inlined: the compiler would take malloc's pairing with operator new for a mismatch.
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace std::string_literals;
using fl::i18n::ustring_to_utf8;

std::string icuUtf8(const std::u16string& text) {
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t length = 0;
    const auto size = static_cast<std::int32_t>(text.size());
    u_strToUTF8WithSub(nullptr, 0, &length, text.data(), size, 0xFFFD, nullptr, &status);
    std::string out(static_cast<std::size_t>(length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), length, &length, text.data(), size, 0xFFFD, nullptr, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    return out;
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15], ' '};
    return out;
}

#define EXPECT_SAME_AS_ICU(text)                                                                  \
  do {                                                                                            \
    const std::u16string input_ = (text);                                                         \
    const std::string expected_ = icuUtf8(input_);                                                \
    const std::string actual_ = ustring_to_utf8(input_);                                          \
    EXPECT_EQ(actual_, expected_) << "got " << hex(actual_) << "\nICU " << hex(expected_) << "\n" \
                                  << "for " << input_.size() << " units";                         \
  } while (false)

TEST(Utf16ToUtf8, EncodesEachRangeAndPair) {
    EXPECT_EQ(ustring_to_utf8(u""), "");
    EXPECT_EQ(ustring_to_utf8(u"plain ASCII"), "plain ASCII");
    EXPECT_EQ(ustring_to_utf8(u"\x7F\x80"), "\x7F\xC2\x80");
    EXPECT_EQ(ustring_to_utf8(u"\x7FF\x800"), "\xDF\xBF\xE0\xA0\x80");
    EXPECT_EQ(ustring_to_utf8(u"\xD7FF\xE000\xFFFF"), "\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF");
    EXPECT_EQ(ustring_to_utf8(u"\xD800\xDC00"), "\xF0\x90\x80\x80");  // U+10000
    EXPECT_EQ(ustring_to_utf8(u"\xDBFF\xDFFF"), "\xF4\x8F\xBF\xBF");  // U+10FFFF
    EXPECT_EQ(ustring_to_utf8(u"a\0b"s), "a\0b"s);
}

TEST(Utf16ToUtf8, EachSurrogateOutsideAPairBecomesTheReplacementCharacter) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(ustring_to_utf8(u"\xD800"), fffd);  // lead at the end
    EXPECT_EQ(ustring_to_utf8(u"\xDC00x"), fffd + "x");  // trail alone
    EXPECT_EQ(ustring_to_utf8(u"\xD800\xD800\xDC00"), fffd + "\xF0\x90\x80\x80");  // lead, then a pair
    EXPECT_EQ(ustring_to_utf8(u"\xDC00\xD800"), fffd + fffd);  // trail before lead
    EXPECT_EQ(ustring_to_utf8(u"\xD800\xDC00\xDC00"), "\xF0\x90\x80\x80" + fffd);  // pair, then a trail
    EXPECT_SAME_AS_ICU(u"\xD800\xDC00\xDC00\xD800 \xDBFF"s);
}

TEST(Utf16ToUtf8, AgreesWithIcuWhereverASpecialUnitStandsInAsciiText) {
    // Every position in and around the 16-unit blocks, for each kind of unit or pair,
    // so that pairs straddle block edges and lone surrogates end blocks.
    const std::vector<std::u16string> specials = {u"\xE9",   u"\x20AC",    u"\xD83D\xDE00",
                                                  u"\xD800", u"\xDFFF",    u"\xDBFF\xDFFF",
                                                  u"\0"s,    u"\x80\x7FF", u"\xD800\xD800"};
    for (const std::u16string& special : specials)
        for (std::size_t length = 0; length <= 70; ++length)
            for (std::size_t at = 0; at <= length; ++at) {
                std::u16string text(length, u'a');
                text.insert(at, special);
                EXPECT_SAME_AS_ICU(text);
            }
}

// Units drawn from the ranges that take different paths, surrogates often.
char16_t randomUnit(std::mt19937& rng) {
    std::uniform_int_distribution<int> kind(0, 9);
    auto in = [&](int first, int last) {
        return static_cast<char16_t>(std::uniform_int_distribution<int>(first, last)(rng));
    };
    switch (kind(rng)) {
        case 0:
        case 1:
        case 2: return in(0, 0x7F);
        case 3: return in(0x80, 0x7FF);
        case 4: return in(0x800, 0xD7FF);
        case 5: return in(0xD800, 0xDBFF);
        case 6: return in(0xDC00, 0xDFFF);
        case 7: return in(0xE000, 0xFFFF);
        case 8: return in(0x7E, 0x81);
        default: return in(0, 0xFFFF);
    }
}

TEST(Utf16ToUtf8, AgreesWithIcuOnRandomText) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> length(0, 300);
    for (int i = 0; i < 20000; ++i) {
        std::u16string text(static_cast<std::size_t>(length(rng)), u'\0');
        for (char16_t& unit : text) unit = randomUnit(rng);
        EXPECT_SAME_AS_ICU(text);
        if (::testing::Test::HasFailure()) break;
    }
    // Long text: mostly ASCII runs with valid pairs and stray surrogates between them.
    std::u16string text;
    while (text.size() < 200000) {
        text.append(std::uniform_int_distribution<std::size_t>(0, 40)(rng), u'x');
        text.push_back(randomUnit(rng));
        if (rng() % 4 == 0) text += u"\xD83D\xDE00";
    }
    EXPECT_SAME_AS_ICU(text);
}

TEST(Utf16ToUtf8, AllocatesOnlyTheResult) {
    const std::u16string shortText = u"short";  // fits in the string itself
    std::u16string longText;
    for (int i = 0; i < 1000; ++i) longText += u"ascii \xE9\x20AC\xD83D\xDE00 ";
    counting = true;
    const std::string shortResult = ustring_to_utf8(shortText);
    const long afterShort = allocations.exchange(0);
    const std::string longResult = ustring_to_utf8(longText);
    const long afterLong = allocations.exchange(0);
    counting = false;
    EXPECT_EQ(afterShort, 0);
    EXPECT_EQ(afterLong, 1);
    EXPECT_EQ(shortResult, "short");
    EXPECT_EQ(longResult, icuUtf8(longText));
    EXPECT_LT(longResult.capacity(), longResult.size() + 16);  // sized once: no worst-case reserve
}

}  // namespace
