// Splitting a text of 64 elements at ',' and joining the elements again with
// "; ": ezu's string list beside Qt's QStringList and std::string with a
// vector. Figures are per split plus join.
#include "bench_inputs.h"

#include "ezu/ezu.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace {

const char* const kJoinSeparator = "; ";

void ezuSplitJoin(benchmark::State& state) {
    const TStr text(bench::joinedList(",").c_str());
    const TStr separator(kJoinSeparator);
    const TEzuStrList first = TEzuStrList::split(',', text);
    if (!bench::verify(state,
                       first.size() == bench::kListElements &&
                           first.join(separator) == bench::joinedList(kJoinSeparator).c_str(),
                       "ezu: wrong elements"))
        return;
    for (auto _ : state) {
        TEzuStrList parts = TEzuStrList::split(',', text);
        TStr joined = parts.join(separator);
        benchmark::DoNotOptimize(joined.buffer()->data);
    }
}

void qtSplitJoin(benchmark::State& state) {
    const QString text = QString::fromLatin1(bench::joinedList(",").c_str());
    const QString separator = QString::fromLatin1(kJoinSeparator);
    const QStringList first = text.split(QLatin1Char(','));
    if (!bench::verify(state,
                       first.size() == bench::kListElements &&
                           first.join(separator).toStdString() == bench::joinedList(kJoinSeparator),
                       "qt: wrong elements"))
        return;
    for (auto _ : state) {
        QStringList parts = text.split(QLatin1Char(','));
        QString joined = parts.join(separator);
        benchmark::DoNotOptimize(joined.constData());
    }
}

std::vector<std::string> stdSplit(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.emplace_back(text, start);
            return parts;
        }
        parts.emplace_back(text, start, at - start);
        start = at + 1;
    }
}

std::string stdJoin(const std::vector<std::string>& parts, const std::string& separator) {
    size_t size = 0;
    for (const std::string& p : parts)
        size += p.size() + separator.size();
    std::string joined;
    joined.reserve(size);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            joined += separator;
        joined += parts[i];
    }
    return joined;
}

void stdSplitJoin(benchmark::State& state) {
    const std::string text = bench::joinedList(",");
    const std::string separator = kJoinSeparator;
    const std::vector<std::string> first = stdSplit(text, ',');
    if (!bench::verify(state,
                       first.size() == size_t(bench::kListElements) &&
                           stdJoin(first, separator) == bench::joinedList(kJoinSeparator),
                       "std: wrong elements"))
        return;
    for (auto _ : state) {
        std::vector<std::string> parts = stdSplit(text, ',');
        std::string joined = stdJoin(parts, separator);
        benchmark::DoNotOptimize(joined.data());
    }
}

} // namespace

int main(int argc, char** argv) {
    bench::add("split_join/64", "ezu", ezuSplitJoin);
    bench::add("split_join/64", "qt", qtSplitJoin);
    bench::add("split_join/64", "std", stdSplitJoin);
    return bench::run(argc, argv);
}
