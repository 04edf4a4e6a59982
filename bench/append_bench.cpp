// A text built by many appends: 1000 words, and 4096 single characters,
// appended one by one to an empty string. ezu's TStr beside std::string (and
// Qt's QString for reference). Figures are per append.
#include "bench_inputs.h"

#include "ezu/ezu.h"

#include <QString>

#include <string>
#include <vector>

namespace {

std::string expectedWords() {
    std::string s;
    for (const std::string& w : bench::appendWords())
        s += w;
    return s;
}

// 4096 characters cycling through the printable ASCII range.
constexpr int kChars = 4096;
char charAt(int i) {
    return char(' ' + i % 95);
}
std::string expectedChars() {
    std::string s;
    for (int i = 0; i < kChars; ++i)
        s += charAt(i);
    return s;
}

void ezuWords(benchmark::State& state) {
    std::vector<TStr> words;
    for (const std::string& w : bench::appendWords())
        words.emplace_back(w.c_str());
    auto build = [&words] {
        TStr s;
        for (const TStr& w : words)
            s += w;
        return s;
    };
    if (!bench::verify(state, build() == expectedWords().c_str(), "ezu: wrong text"))
        return;
    for (auto _ : state) {
        TStr s = build();
        benchmark::DoNotOptimize(s.buffer()->data);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size()));
}

void stdWords(benchmark::State& state) {
    const std::vector<std::string>& words = bench::appendWords();
    auto build = [&words] {
        std::string s;
        for (const std::string& w : words)
            s += w;
        return s;
    };
    if (!bench::verify(state, build() == expectedWords(), "std: wrong text"))
        return;
    for (auto _ : state) {
        std::string s = build();
        benchmark::DoNotOptimize(s.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size()));
}

void qtWords(benchmark::State& state) {
    std::vector<QString> words;
    for (const std::string& w : bench::appendWords())
        words.push_back(QString::fromLatin1(w.c_str()));
    auto build = [&words] {
        QString s;
        for (const QString& w : words)
            s += w;
        return s;
    };
    if (!bench::verify(state, build().toStdString() == expectedWords(), "qt: wrong text"))
        return;
    for (auto _ : state) {
        QString s = build();
        benchmark::DoNotOptimize(s.constData());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(words.size()));
}

void ezuChars(benchmark::State& state) {
    auto build = [] {
        TStr s;
        for (int i = 0; i < kChars; ++i)
            s += charAt(i);
        return s;
    };
    if (!bench::verify(state, build() == expectedChars().c_str(), "ezu: wrong text"))
        return;
    for (auto _ : state) {
        TStr s = build();
        benchmark::DoNotOptimize(s.buffer()->data);
    }
    state.SetItemsProcessed(state.iterations() * kChars);
}

void stdChars(benchmark::State& state) {
    auto build = [] {
        std::string s;
        for (int i = 0; i < kChars; ++i)
            s += charAt(i);
        return s;
    };
    if (!bench::verify(state, build() == expectedChars(), "std: wrong text"))
        return;
    for (auto _ : state) {
        std::string s = build();
        benchmark::DoNotOptimize(s.data());
    }
    state.SetItemsProcessed(state.iterations() * kChars);
}

void qtChars(benchmark::State& state) {
    auto build = [] {
        QString s;
        for (int i = 0; i < kChars; ++i)
            s += QLatin1Char(charAt(i));
        return s;
    };
    if (!bench::verify(state, build().toStdString() == expectedChars(), "qt: wrong text"))
        return;
    for (auto _ : state) {
        QString s = build();
        benchmark::DoNotOptimize(s.constData());
    }
    state.SetItemsProcessed(state.iterations() * kChars);
}

} // namespace

int main(int argc, char** argv) {
    bench::add("append/1000_words", "ezu", ezuWords);
    bench::add("append/1000_words", "std", stdWords);
    bench::add("append/1000_words", "qt", qtWords);
    bench::add("append/4096_chars", "ezu", ezuChars);
    bench::add("append/4096_chars", "std", stdChars);
    bench::add("append/4096_chars", "qt", qtChars);
    return bench::run(argc, argv);
}
