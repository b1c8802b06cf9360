// The host's UTF-16 to UTF-8 conversion (fl::i18n::ustring_to_utf8), which makes a
// std::string each time. 1 MiB of ASCII is timed against memcpy of the same UTF-16
// bytes into a ready buffer; text of every kind against ICU's u_strToUTF8WithSub
// (U+FFFD for lone surrogates) into a ready buffer, copied into a std::string. Both
// sides run in the same iterations; "ratio" is the conversion's time over the
// baseline's.
#include <benchmark/benchmark.h>
#include <unicode/ustring.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "host/exception.hpp"
#include "plugin/paired_timing.hpp"

namespace {

constexpr std::size_t kMiB = 1 << 20;

std::u16string asciiText(std::size_t units, unsigned seed = 1) {
    std::u16string text(units, u' ');
    std::mt19937 rng(seed);
    for (char16_t& unit : text) unit = static_cast<char16_t>(u' ' + rng() % 95);
    return text;
}

// About 30% of the characters outside ASCII: Latin letters with accents (2 bytes in
// UTF-8), CJK (3 bytes), and one in twenty an emoji (a surrogate pair, 4 bytes).
std::u16string mixedText(std::size_t units, unsigned seed = 2) {
    std::mt19937 rng(seed);
    std::u16string text;
    text.reserve(units + 1);
    while (text.size() < units) {
        const unsigned roll = rng() % 100;
        if (roll < 70) {
            text.push_back(static_cast<char16_t>(u'a' + rng() % 26));
        } else if (roll < 85) {
            text.push_back(static_cast<char16_t>(0xC0 + rng() % 0x100));
        } else if (roll < 95) {
            text.push_back(static_cast<char16_t>(0x4E00 + rng() % 0x5000));
        } else if (text.size() + 2 <= units) {
            const char32_t code = 0x1F600 + rng() % 0x50 - 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        }
    }
    return text;
}

// Short strings come from a pool of different ones, in turn: one string converted over
// and over would let the branch predictor learn it.
class TextPool {
public:
    TextPool(std::size_t units, std::u16string (*make)(std::size_t, unsigned)) {
        for (unsigned i = 0; i < kCount; ++i) texts_.push_back(make(units, 100 + i));
    }
    const std::u16string& next() { return texts_[next_++ % kCount]; }

private:
    static constexpr unsigned kCount = 4096;
    std::vector<std::u16string> texts_;
    unsigned next_ = 0;
};

void againstMemcpy(benchmark::State& state, const std::u16string& text) {
    std::vector<char> target(text.size() * sizeof(char16_t));
    bench::timePaired(
        state, 1, [&] { benchmark::DoNotOptimize(fl::i18n::ustring_to_utf8(text)); },
        [&] {
            std::memcpy(target.data(), text.data(), target.size());
            benchmark::DoNotOptimize(target.data());
            benchmark::ClobberMemory();
        },
        "convert", "memcpy");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(target.size()));
}

// ICU's conversion made to give a std::string too: into a ready buffer, then copied.
std::string icuUtf8(const std::u16string& text, std::vector<char>& buffer) {
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t length = 0;
    u_strToUTF8WithSub(buffer.data(), std::int32_t(buffer.size()), &length, text.data(), std::int32_t(text.size()),
                       0xFFFD, nullptr, &status);
    return std::string(buffer.data(), std::size_t(length));
}

void againstIcu(benchmark::State& state, const std::u16string& text) {
    std::vector<char> buffer(text.size() * 3 + 1);
    bench::timePaired(
        state, 1, [&] { benchmark::DoNotOptimize(fl::i18n::ustring_to_utf8(text)); },
        [&] { benchmark::DoNotOptimize(icuUtf8(text, buffer)); }, "convert", "icu");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size() * sizeof(char16_t)));
}

void shortAgainstIcu(benchmark::State& state, TextPool pool) {
    std::vector<char> buffer(std::size_t(state.range(0)) * 3 + 1);
    TextPool other = pool;  // the same strings in the same order for both sides
    bench::timePaired(
        state, 20000, [&] { benchmark::DoNotOptimize(fl::i18n::ustring_to_utf8(pool.next())); },
        [&] { benchmark::DoNotOptimize(icuUtf8(other.next(), buffer)); }, "convert", "icu");
}

// 1 MiB of UTF-16 input in each case.
void BM_Ascii1MiB_vsMemcpy(benchmark::State& state) { againstMemcpy(state, asciiText(kMiB / 2)); }
void BM_Mixed1MiB_vsIcu(benchmark::State& state) { againstIcu(state, mixedText(kMiB / 2)); }
void BM_Ascii1MiB_vsIcu(benchmark::State& state) { againstIcu(state, asciiText(kMiB / 2)); }
void BM_Ascii_vsIcu(benchmark::State& state) {
    shortAgainstIcu(state, TextPool(std::size_t(state.range(0)), asciiText));
}
void BM_Mixed_vsIcu(benchmark::State& state) {
    shortAgainstIcu(state, TextPool(std::size_t(state.range(0)), mixedText));
}

BENCHMARK(BM_Ascii1MiB_vsMemcpy)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mixed1MiB_vsIcu)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ascii1MiB_vsIcu)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ascii_vsIcu)->Arg(8)->Arg(32)->UseManualTime();
BENCHMARK(BM_Mixed_vsIcu)->Arg(8)->Arg(32)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
