// String formatting, token taking and number text, side by side with the
// standard library's conversions. Each case checks its result once before it
// is timed.
#include <benchmark/benchmark.h>

#include "ezu/ezu.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// 4096 integers of 1 to 19 digits from a fixed seed.
const std::vector<long long>& sample_integers() {
    static std::vector<long long> values = [] {
        std::mt19937_64 rng(20261208);
        std::vector<long long> v;
        for (int i = 0; i < 4096; ++i) {
            const int digits = 1 + int(rng() % 19);
            long long limit = 1;
            for (int d = 1; d < digits; ++d)
                limit *= 10;
            long long x = limit + (long long)(rng() % uint64_t(limit * 9 - 1));
            v.push_back(rng() % 2 ? x : -x);
        }
        return v;
    }();
    return values;
}

const std::vector<std::string>& sample_texts() {
    static std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (long long v : sample_integers())
            t.push_back(std::to_string(v));
        return t;
    }();
    return texts;
}

void check(bool ok, benchmark::State& state, const char* what) {
    if (!ok)
        state.SkipWithError(what);
}

void BM_EzuArgTwoPlaceholders(benchmark::State& state) {
    const TStr pattern("%1 of %2 files copied");
    check(pattern.arg(3).arg(10) == "3 of 10 files copied", state, "wrong arg result");
    int i = 0;
    for (auto _ : state) {
        TStr s = pattern.arg(i).arg(i + 7);
        benchmark::DoNotOptimize(s.buffer());
        ++i;
    }
}
BENCHMARK(BM_EzuArgTwoPlaceholders);

void BM_SnprintfTwoNumbers(benchmark::State& state) {
    char out[64];
    int i = 0;
    for (auto _ : state) {
        std::snprintf(out, sizeof out, "%d of %d files copied", i, i + 7);
        std::string s(out);
        benchmark::DoNotOptimize(s.data());
        ++i;
    }
}
BENCHMARK(BM_SnprintfTwoNumbers);

void BM_EzuTakeTokens(benchmark::State& state) {
    std::string joined;
    for (int i = 0; i < 64; ++i)
        joined += "element" + std::to_string(i) + (i < 63 ? ":" : "");
    const TStr text(joined.c_str());
    const TStr separator(":");
    for (auto _ : state) {
        TStr rest(text);
        int count = 0;
        while (!rest.isEmpty()) {
            TStr token = rest.takeUntil(separator);
            benchmark::DoNotOptimize(token.buffer());
            ++count;
        }
        if (count != 64)
            state.SkipWithError("wrong token count");
    }
}
BENCHMARK(BM_EzuTakeTokens);

void BM_StdStringTokens(benchmark::State& state) {
    std::string joined;
    for (int i = 0; i < 64; ++i)
        joined += "element" + std::to_string(i) + (i < 63 ? ":" : "");
    for (auto _ : state) {
        std::vector<std::string> parts;
        size_t start = 0;
        for (;;) {
            const size_t at = joined.find(':', start);
            parts.emplace_back(joined, start, at == std::string::npos ? at : at - start);
            if (at == std::string::npos)
                break;
            start = at + 1;
        }
        benchmark::DoNotOptimize(parts.data());
    }
}
BENCHMARK(BM_StdStringTokens);

void BM_EzuToInt64(benchmark::State& state) {
    std::vector<StrBuf*> bufs;
    for (const std::string& t : sample_texts())
        bufs.push_back(str_from_ascii(t.c_str()));
    int ok = 0;
    check(str_to_int64(bufs[5], &ok, 10) == sample_integers()[5] && ok, state, "wrong value");
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(str_to_int64(bufs[i], &ok, 10));
        i = (i + 1) % bufs.size();
    }
    for (StrBuf* b : bufs)
        str_free(b);
}
BENCHMARK(BM_EzuToInt64);

void BM_StdFromChars(benchmark::State& state) {
    const auto& texts = sample_texts();
    size_t i = 0;
    for (auto _ : state) {
        long long v = 0;
        const std::string& t = texts[i];
        std::from_chars(t.data(), t.data() + t.size(), v);
        benchmark::DoNotOptimize(v);
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_StdFromChars);

void BM_Strtoll(benchmark::State& state) {
    const auto& texts = sample_texts();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtoll(texts[i].c_str(), nullptr, 10));
        i = (i + 1) % texts.size();
    }
}
BENCHMARK(BM_Strtoll);

void BM_EzuFromInt64(benchmark::State& state) {
    const auto& values = sample_integers();
    StrBuf* first = str_from_int64(values[0], 10);
    check(std::to_string(values[0]) == first->data, state, "wrong text");
    str_free(first);
    size_t i = 0;
    for (auto _ : state) {
        StrBuf* b = str_from_int64(values[i], 10);
        benchmark::DoNotOptimize(b->data);
        str_free(b);
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_EzuFromInt64);

void BM_StdToCharsIntoString(benchmark::State& state) {
    const auto& values = sample_integers();
    size_t i = 0;
    for (auto _ : state) {
        char out[24];
        auto r = std::to_chars(out, out + sizeof out, values[i]);
        std::string s(out, r.ptr);
        benchmark::DoNotOptimize(s.data());
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_StdToCharsIntoString);

void BM_SnprintfInt64(benchmark::State& state) {
    const auto& values = sample_integers();
    size_t i = 0;
    for (auto _ : state) {
        char out[24];
        std::snprintf(out, sizeof out, "%lld", values[i]);
        std::string s(out);
        benchmark::DoNotOptimize(s.data());
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_SnprintfInt64);

} // namespace

BENCHMARK_MAIN();
