// The well-formedness check on the three sample texts, in UTF-8 and in
// UTF-16LE, beside the conversion of the same text (UTF-8 to UTF-16LE and
// back: sizing, allocating, converting, releasing), which a program that
// checks before it converts pays on top. Figures are bytes of source text
// per second.
#include "bench_inputs.h"

#include "ezu/ezu.h"

namespace {

using bench::Text;

struct Source {
    const void* data;
    int bytes;
    int from;
    int to;
};

Source utf8Source(const Text& t) {
    return {t.utf8.data(), int(t.utf8.size()), ENC_UTF8, ENC_UTF16LE};
}

Source utf16Source(const Text& t) {
    return {t.utf16.data(), t.utf16Bytes(), ENC_UTF16LE, ENC_UTF8};
}

void check(benchmark::State& state, Source s) {
    int offset = -1;
    const bool ok =
        str_validate(s.data, s.bytes, s.from, &offset) == STR_WELL_FORMED && offset == s.bytes;
    if (!bench::verify(state, ok, "ezu: the check refuses a well-formed text"))
        return;
    for (auto _ : state) {
        int at;
        benchmark::DoNotOptimize(str_validate(s.data, s.bytes, s.from, &at));
        benchmark::DoNotOptimize(at);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(s.bytes));
}

void convert(benchmark::State& state, Source s) {
    for (auto _ : state) {
        const int size = str_convert_size(s.data, s.bytes, s.from, s.to);
        void* out = mem_alloc(size);
        if (!out || !str_convert(s.data, s.bytes, s.from, out, size, s.to)) {
            mem_free(out);
            state.SkipWithError("conversion failed");
            return;
        }
        benchmark::DoNotOptimize(out);
        mem_free(out);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(s.bytes));
}

void registerAll() {
    for (const Text* t : bench::allTexts()) {
        const Source sources[] = {utf8Source(*t), utf16Source(*t)};
        const char* const groups[] = {"validate_utf8/", "validate_utf16le/"};
        for (int i = 0; i < 2; ++i) {
            const Source s = sources[i];
            const std::string group = std::string(groups[i]) + t->name;
            bench::add(group, "ezu", [s](benchmark::State& st) { check(st, s); });
            bench::add(group, "conversion", [s](benchmark::State& st) { convert(st, s); });
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    registerAll();
    return bench::run(argc, argv);
}
