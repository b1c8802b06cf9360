// Both UTF-8 readers, the reference host's and the typed layer's, decode as Unicode
// recommends: one U+FFFD per maximal subpart of an ill-formed sequence, reading on at the
// byte that broke it, and never a surrogate or a value past U+10FFFF.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "convenience/values.hpp"
#include "host/reference/text.hpp"

namespace {

struct Case {
    std::string bytes;
    std::u16string expected;
    const char* what;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8C\x8D", u"a\u00e9\u20ac\U0001F30D", "one of each length"},
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF\xED\x9F\xBF\xEE\x80\x80", u"\uFFFF\U0010FFFF\uD7FF\uE000", "range edges"},
        {"\x80", u"\uFFFD", "a lone continuation byte"},
        {"\xE2\x82", u"\uFFFD", "cut short: one maximal subpart"},
        {"\xE2\x82"
         "A",
         u"\uFFFDA", "the byte that breaks a sequence is read again"},
        {"\xF0\x9F\x8C"
         "caf\xC3\xA9",
         u"\uFFFDcaf\u00e9", "valid text after a cut sequence survives"},
        {"caf\xE9 au lait", u"caf\uFFFD au lait", "Latin-1: the following bytes are not swallowed"},
        {"\xC0\xAF", u"\uFFFD\uFFFD", "overlong two-byte form"},
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", "overlong three-byte form"},
        {"\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD", "overlong four-byte form"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", "an encoded high surrogate"},
        {"\xED\xB0\x80", u"\uFFFD\uFFFD\uFFFD", "an encoded low surrogate"},
        {"\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD", "the last encoded surrogate"},
        {"\xED\xA0\xBD\xED\xB8\x80", std::u16string(6, u'\uFFFD'), "an encoded surrogate pair (CESU-8)"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", "past U+10FFFF"},
        {"\xF7\xBF\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD", "past U+10FFFF, old four-byte lead"},
        {"\xF8\x88\x80\x80\x80", std::u16string(5, u'\uFFFD'), "a five-byte form"},
        {"\xFE\xFF", u"\uFFFD\uFFFD", "bytes that never occur"},
        // Unicode's own example of the practice.
        {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd",
         "Unicode's example"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3), "a NUL byte is a character"},
    };
    return all;
}

void expectAllCases(const std::function<std::u16string(const std::string&)>& read) {
    for (const Case& c : cases()) EXPECT_EQ(read(c.bytes), c.expected) << c.what;
}

TEST(Utf8ToUtf16, ReferenceHostReplacesEachMaximalSubpart) {
    expectAllCases([](const std::string& bytes) { return orrery::reference::utf8ToUtf16(bytes); });
}

TEST(Utf8ToUtf16, TypedLayerReplacesEachMaximalSubpart) {
    expectAllCases([](const std::string& bytes) { return orrery::convenience::values::utf8ToUtf16(bytes); });
}

// Every two-byte input, and every three-byte one that starts with a lead of three or four
// bytes: the result holds only whole pairs, and never more replacements than bytes.
TEST(Utf8ToUtf16, NeverEmitsALoneSurrogate) {
    auto check = [](const std::string& bytes) {
        const std::u16string units = orrery::reference::utf8ToUtf16(bytes);
        ASSERT_EQ(units, orrery::convenience::values::utf8ToUtf16(bytes));
        for (std::size_t i = 0; i < units.size(); ++i) {
            const bool lead = units[i] >= 0xD800 && units[i] <= 0xDBFF;
            const bool trail = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
            ASSERT_FALSE(trail) << "at " << i;
            if (lead) {
                ASSERT_TRUE(i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF);
                ++i;
            }
        }
        ASSERT_LE(units.size(), bytes.size());
    };
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            check({static_cast<char>(a), static_cast<char>(b)});
            if (a < 0xE0) continue;
            for (int c = 0x7F; c < 0xC1; ++c) check({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
            if (::testing::Test::HasFatalFailure()) return;
        }
}

}  // namespace
