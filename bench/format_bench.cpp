// Number text and placeholder substitution: ezu beside Qt, fmt, the C++
// library's to_chars/from_chars and the C library's snprintf/strtoll. One
// iteration runs through all 4096 sample inputs; figures are per input.
// Writers include the allocation of their result (a StrBuf, std::string or
// QString); readers read into a plain integer.
#include "bench_inputs.h"

#include "ezu/ezu.h"

#include <QString>
#include <fmt/format.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using bench::CopyCount;
using bench::copyCounts;
using bench::expectedMessage;
using bench::sampleIntegers;
using bench::sampleIntegerTexts;

// Runs `one` on every input per iteration after checking each result once;
// `one` returns the result as a std::string for the check.
template <class Input, class One>
void timeEach(benchmark::State& state, const std::vector<Input>& inputs, One one,
              std::string (*expected)(const Input&), const char* what) {
    for (const Input& in : inputs)
        if (!bench::verify(state, one(in, true) == expected(in), what))
            return;
    for (auto _ : state)
        for (const Input& in : inputs)
            one(in, false);
    state.SetItemsProcessed(state.iterations() * int64_t(inputs.size()));
}

std::string integerText(const long long& v) {
    return std::to_string(v);
}

// --- "%1 of %2 files copied" with two numbers

void ezuArg(benchmark::State& state) {
    const TStr pattern(bench::kMessage);
    timeEach(
        state, copyCounts(),
        [&](const CopyCount& c, bool check) {
            TStr s = pattern.arg(c.copied).arg(c.total);
            benchmark::DoNotOptimize(s.buffer()->data);
            return check ? std::string(s.buffer()->data) : std::string();
        },
        expectedMessage, "ezu: wrong message");
}

void qtArg(benchmark::State& state) {
    const QString pattern = QString::fromLatin1(bench::kMessage);
    timeEach(
        state, copyCounts(),
        [&](const CopyCount& c, bool check) {
            QString s = pattern.arg(c.copied).arg(c.total);
            benchmark::DoNotOptimize(s.constData());
            return check ? s.toStdString() : std::string();
        },
        expectedMessage, "qt: wrong message");
}

void fmtArg(benchmark::State& state) {
    timeEach(
        state, copyCounts(),
        [](const CopyCount& c, bool) {
            std::string s = fmt::format("{} of {} files copied", c.copied, c.total);
            benchmark::DoNotOptimize(s.data());
            return s;
        },
        expectedMessage, "fmt: wrong message");
}

void snprintfArg(benchmark::State& state) {
    timeEach(
        state, copyCounts(),
        [](const CopyCount& c, bool) {
            char out[64];
            const int n =
                std::snprintf(out, sizeof out, "%d of %d files copied", c.copied, c.total);
            std::string s(out, size_t(n));
            benchmark::DoNotOptimize(s.data());
            return s;
        },
        expectedMessage, "snprintf: wrong message");
}

// --- the same message in one pass, beside chained arg and Qt's multi-arg form

void ezuArgs(benchmark::State& state) {
    const TStr pattern(bench::kMessage);
    timeEach(
        state, copyCounts(),
        [&](const CopyCount& c, bool check) {
            TStr s = pattern.args({TStr::number(c.copied), TStr::number(c.total)});
            benchmark::DoNotOptimize(s.buffer()->data);
            return check ? std::string(s.buffer()->data) : std::string();
        },
        expectedMessage, "ezu args: wrong message");
}

void ezuArgChain(benchmark::State& state) {
    const TStr pattern(bench::kMessage);
    timeEach(
        state, copyCounts(),
        [&](const CopyCount& c, bool check) {
            TStr s = pattern.arg(TStr::number(c.copied)).arg(TStr::number(c.total));
            benchmark::DoNotOptimize(s.buffer()->data);
            return check ? std::string(s.buffer()->data) : std::string();
        },
        expectedMessage, "ezu chained arg: wrong message");
}

void qtMultiArg(benchmark::State& state) {
    const QString pattern = QString::fromLatin1(bench::kMessage);
    timeEach(
        state, copyCounts(),
        [&](const CopyCount& c, bool check) {
            QString s = pattern.arg(QString::number(c.copied), QString::number(c.total));
            benchmark::DoNotOptimize(s.constData());
            return check ? s.toStdString() : std::string();
        },
        expectedMessage, "qt multi-arg: wrong message");
}

// --- 64-bit integer to text

void ezuFromInt64(benchmark::State& state) {
    timeEach(
        state, sampleIntegers(),
        [](const long long& v, bool check) {
            StrBuf* b = str_from_int64(v, 10);
            benchmark::DoNotOptimize(b->data);
            std::string s = check ? std::string(b->data) : std::string();
            str_free(b);
            return s;
        },
        integerText, "ezu: wrong text");
}

void stdFromInt64(benchmark::State& state) {
    timeEach(
        state, sampleIntegers(),
        [](const long long& v, bool) {
            char out[24];
            const auto r = std::to_chars(out, out + sizeof out, v);
            std::string s(out, r.ptr);
            benchmark::DoNotOptimize(s.data());
            return s;
        },
        integerText, "to_chars: wrong text");
}

void fmtFromInt64(benchmark::State& state) {
    timeEach(
        state, sampleIntegers(),
        [](const long long& v, bool) {
            std::string s = fmt::format("{}", v);
            benchmark::DoNotOptimize(s.data());
            return s;
        },
        integerText, "fmt: wrong text");
}

void snprintfFromInt64(benchmark::State& state) {
    timeEach(
        state, sampleIntegers(),
        [](const long long& v, bool) {
            char out[24];
            const int n = std::snprintf(out, sizeof out, "%lld", v);
            std::string s(out, size_t(n));
            benchmark::DoNotOptimize(s.data());
            return s;
        },
        integerText, "snprintf: wrong text");
}

// --- text to 64-bit integer

// Times `read` over all sample texts after checking that it gives every
// sample value.
template <class Source, class Read>
void timeReader(benchmark::State& state, const std::vector<Source>& sources, Read read,
                const char* what) {
    const auto& values = sampleIntegers();
    for (size_t i = 0; i < sources.size(); ++i) {
        bool ok = false;
        const long long v = read(sources[i], &ok);
        if (!bench::verify(state, ok && v == values[i], what))
            return;
    }
    for (auto _ : state) {
        for (const Source& s : sources) {
            bool ok;
            benchmark::DoNotOptimize(read(s, &ok));
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(sources.size()));
}

void ezuToInt64(benchmark::State& state) {
    std::vector<StrBuf*> bufs;
    for (const std::string& t : sampleIntegerTexts())
        bufs.push_back(str_from_ascii(t.c_str()));
    timeReader(
        state, bufs,
        [](StrBuf* b, bool* ok) {
            int flag = 0;
            const long long v = str_to_int64(b, &flag, 10);
            *ok = flag == 1;
            return v;
        },
        "ezu: wrong value");
    for (StrBuf* b : bufs)
        str_free(b);
}

void stdToInt64(benchmark::State& state) {
    timeReader(
        state, sampleIntegerTexts(),
        [](const std::string& t, bool* ok) {
            long long v = 0;
            const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
            *ok = r.ec == std::errc() && r.ptr == t.data() + t.size();
            return v;
        },
        "from_chars: wrong value");
}

void strtollToInt64(benchmark::State& state) {
    timeReader(
        state, sampleIntegerTexts(),
        [](const std::string& t, bool* ok) {
            char* end = nullptr;
            const long long v = std::strtoll(t.c_str(), &end, 10);
            *ok = *end == '\0';
            return v;
        },
        "strtoll: wrong value");
}

} // namespace

int main(int argc, char** argv) {
    bench::add("arg/two_numbers", "ezu", ezuArg);
    bench::add("arg/two_numbers", "qt", qtArg);
    bench::add("arg/two_numbers", "fmt", fmtArg);
    bench::add("arg/two_numbers", "snprintf", snprintfArg);
    bench::add("args/two_texts", "ezu", ezuArgs);
    bench::add("args/two_texts", "arg_chain", ezuArgChain);
    bench::add("args/two_texts", "qt", qtMultiArg);
    bench::add("from_int64", "ezu", ezuFromInt64);
    bench::add("from_int64", "std", stdFromInt64);
    bench::add("from_int64", "fmt", fmtFromInt64);
    bench::add("from_int64", "snprintf", snprintfFromInt64);
    bench::add("to_int64", "ezu", ezuToInt64);
    bench::add("to_int64", "std", stdToInt64);
    bench::add("to_int64", "strtoll", strtollToInt64);
    return bench::run(argc, argv);
}
