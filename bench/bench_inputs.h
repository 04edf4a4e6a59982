// Inputs shared by the benchmarks, all generated from fixed seeds so that
// every run and every candidate sees the same data.
//
// Texts are built as code points and encoded here by a plain reference
// encoder, independent of every candidate, so that each candidate's output
// can be checked against it before timing.
#ifndef EZU_BENCH_INPUTS_H
#define EZU_BENCH_INPUTS_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace bench {

constexpr size_t kTextBytes = 64 * 1024;

// One sample text in its two forms. The UTF-16 form is in the host's order,
// which is little-endian on every machine the suite runs on.
struct Text {
    const char* name;
    std::string utf8;
    std::u16string utf16;
    int utf16Bytes() const { return int(utf16.size() * 2); }
};

inline void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

inline void appendUtf16(std::u16string& out, uint32_t c) {
    if (c < 0x10000) {
        out += char16_t(c);
    } else {
        c -= 0x10000;
        out += char16_t(0xD800 + (c >> 10));
        out += char16_t(0xDC00 + (c & 0x3FF));
    }
}

inline size_t utf8Size(uint32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Fills exactly kTextBytes of UTF-8 with characters drawn by `next`, then
// pads with full stops when the last character does not fit.
template <class Next> Text makeText(const char* name, Next next) {
    Text t{name, {}, {}};
    for (;;) {
        const uint32_t c = next();
        if (t.utf8.size() + utf8Size(c) > kTextBytes)
            break;
        appendUtf8(t.utf8, c);
        appendUtf16(t.utf16, c);
    }
    while (t.utf8.size() < kTextBytes) {
        t.utf8 += '.';
        t.utf16 += u'.';
    }
    return t;
}

// Word-shaped text: letters from `letter`, a blank or a line break between
// words of 2 to 10 letters, now and then a comma.
template <class Letter> Text makeWords(const char* name, uint32_t seed, Letter letter) {
    std::mt19937 rng(seed);
    int left = 0;
    size_t column = 0;
    return makeText(name, [&, letter]() mutable -> uint32_t {
        ++column;
        if (left == 0) {
            left = 2 + int(rng() % 9);
            if (column > 70) {
                column = 0;
                return '\n';
            }
            return rng() % 8 == 0 ? ',' : ' ';
        }
        --left;
        return letter(rng);
    });
}

inline const Text& asciiText() {
    static const Text t = makeWords("ascii", 1001, [](std::mt19937& rng) -> uint32_t {
        return rng() % 12 == 0 ? 'A' + rng() % 26 : 'a' + rng() % 26;
    });
    return t;
}

// Letters of French, German, Polish, Czech and Hungarian text: about one
// letter in five is accented (two UTF-8 bytes).
inline const Text& latinText() {
    static const Text t = makeWords("latin", 1002, [](std::mt19937& rng) -> uint32_t {
        static const uint32_t accented[] = {0xE0,  0xE1,  0xE2,  0xE4,  0xE7,  0xE8,  0xE9,  0xEA,
                                            0xEB,  0xEE,  0xEF,  0xF1,  0xF3,  0xF4,  0xF6,  0xF9,
                                            0xFA,  0xFB,  0xFC,  0xDF,  0xC9,  0xD6,  0x105, 0x107,
                                            0x119, 0x142, 0x144, 0x15B, 0x17A, 0x17C, 0x10D, 0x11B,
                                            0x159, 0x161, 0x17E, 0x16F, 0x151, 0x171};
        if (rng() % 5 == 0)
            return accented[rng() % (sizeof accented / sizeof accented[0])];
        return 'a' + rng() % 26;
    });
    return t;
}

// Chinese and Japanese text with emoji: ideographs (three UTF-8 bytes, one
// UTF-16 unit), some kana and punctuation, ASCII digits and blanks, and
// about one emoji in twenty characters (four bytes, a surrogate pair).
inline const Text& cjkEmojiText() {
    static const Text t = [] {
        std::mt19937 rng(1003);
        return makeText("cjk_emoji", [&]() -> uint32_t {
            const uint32_t pick = rng() % 100;
            if (pick < 5)
                return 0x1F600 + rng() % 0x50; // emoticons
            if (pick < 7)
                return 0x1F300 + rng() % 0x100; // pictographs
            if (pick < 17)
                return 0x3041 + rng() % 0x53; // hiragana
            if (pick < 21)
                return rng() % 2 ? 0x3001 : 0x3002; // ideographic comma, full stop
            if (pick < 24)
                return '0' + rng() % 10;
            if (pick < 26)
                return rng() % 4 ? ' ' : '\n';
            return 0x4E00 + rng() % 0x51A6; // unified ideographs
        });
    }();
    return t;
}

inline std::vector<const Text*> allTexts() {
    return {&asciiText(), &latinText(), &cjkEmojiText()};
}

// 4096 signed integers of 1 to 19 digits, about equally many of each length.
inline const std::vector<long long>& sampleIntegers() {
    static const std::vector<long long> values = [] {
        std::mt19937_64 rng(20261208);
        std::vector<long long> v;
        for (int i = 0; i < 4096; ++i) {
            const int digits = 1 + int(rng() % 19);
            uint64_t low = 0, high = 9;
            for (int d = 1; d < digits; ++d) {
                low = d == 1 ? 10 : low * 10;
                high = high * 10 + 9;
            }
            if (digits == 19)
                high = uint64_t(INT64_MAX);
            const long long x = (long long)(low + rng() % (high - low + 1));
            v.push_back(rng() % 2 ? x : -x);
        }
        return v;
    }();
    return values;
}

inline const std::vector<std::string>& sampleIntegerTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (long long v : sampleIntegers())
            t.push_back(std::to_string(v));
        return t;
    }();
    return texts;
}

// The message of the placeholder benchmarks and 4096 pairs of numbers for it
// (files copied out of a total), so that every candidate formats the same.
constexpr const char* kMessage = "%1 of %2 files copied";
struct CopyCount {
    int copied;
    int total;
};
inline const std::vector<CopyCount>& copyCounts() {
    static const std::vector<CopyCount> counts = [] {
        std::mt19937 rng(77);
        std::vector<CopyCount> c;
        for (int i = 0; i < 4096; ++i) {
            const int total = 1 + int(rng() % 100000);
            c.push_back({int(rng() % uint32_t(total + 1)), total});
        }
        return c;
    }();
    return counts;
}
inline std::string expectedMessage(const CopyCount& c) {
    return std::to_string(c.copied) + " of " + std::to_string(c.total) + " files copied";
}

// Lower-case ASCII words of 3 to 12 letters, some with a digit.
inline std::vector<std::string> makeWordList(uint32_t seed, int count) {
    std::mt19937 rng(seed);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        std::string w;
        const int n = 3 + int(rng() % 10);
        for (int k = 0; k < n; ++k)
            w += rng() % 9 == 0 ? char('0' + rng() % 10) : char('a' + rng() % 26);
        words.push_back(w);
    }
    return words;
}

// The list benchmarks split this text at ',' into 64 elements and join them
// again with "; ".
constexpr int kListElements = 64;
inline const std::vector<std::string>& listElements() {
    static const std::vector<std::string> words = makeWordList(64, kListElements);
    return words;
}
inline std::string joinedList(const char* separator) {
    std::string s;
    for (size_t i = 0; i < listElements().size(); ++i)
        s += (i ? separator : "") + listElements()[i];
    return s;
}

// Settings keys: relative keys of a program's options in a few sections,
// each with its own value. The first 100 keys are the 100-key set.
inline const std::vector<std::string>& settingsKeys() {
    static const std::vector<std::string> keys = [] {
        const std::vector<std::string> words = makeWordList(1000, 1000);
        std::vector<std::string> k;
        for (int i = 0; i < 1000; ++i)
            k.push_back("section" + std::to_string(i % 23) + "/" + words[i] + "_" +
                        std::to_string(i));
        return k;
    }();
    return keys;
}
inline std::string settingsValue(int i) {
    return "value " + std::to_string(i * 7919);
}

// Pieces of the append benchmarks: 1000 words and 4096 single characters.
inline const std::vector<std::string>& appendWords() {
    static const std::vector<std::string> words = makeWordList(4242, 1000);
    return words;
}

// Marks a candidate whose result differs from the reference; the case is
// then reported as an error and not timed.
inline bool verify(benchmark::State& state, bool ok, const char* what) {
    if (!ok)
        state.SkipWithError(what);
    return ok;
}

// Registers one case under "<group>/<candidate>", the name the ratio script
// splits into its group and its candidate.
template <class Fn> void add(const std::string& group, const char* candidate, Fn fn) {
    benchmark::RegisterBenchmark((group + "/" + candidate).c_str(), fn);
}

// The main routine of every bench program, after its cases are registered.
inline int run(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench

#endif
