// UTF-8 to UTF-16LE and back on the three sample texts: ezu's encoding core
// beside Qt, ICU and the C library's iconv. Every case counts what a user
// calls to get a new converted text: sizing where the interface asks for it,
// allocating the result, converting and releasing it. Figures are bytes of
// source text per second. The string class's road (a TStr built from UTF-8,
// then its UTF-16LE view) is measured beside the core's.
#include "bench_inputs.h"

#include "ezu/ezu.h"

#include <QByteArray>
#include <QString>
#include <unicode/ustring.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <iconv.h>

namespace {

using bench::Text;

bool sameUtf16(const void* data, size_t units, const Text& t) {
    return units == t.utf16.size() && std::memcmp(data, t.utf16.data(), units * 2) == 0;
}

bool sameUtf8(const void* data, size_t bytes, const Text& t) {
    return bytes == t.utf8.size() && std::memcmp(data, t.utf8.data(), bytes) == 0;
}

// --- UTF-8 to UTF-16LE

// Returns the converted units in a new guarded block, or null.
void* ezuToUtf16(const Text& t, int* units) {
    const int size = str_convert_size(t.utf8.data(), int(t.utf8.size()), ENC_UTF8, ENC_UTF16LE);
    if (size == 0)
        return nullptr;
    void* out = mem_alloc(size);
    if (!out || !str_convert(t.utf8.data(), int(t.utf8.size()), ENC_UTF8, out, size, ENC_UTF16LE)) {
        mem_free(out);
        return nullptr;
    }
    if (units)
        *units = int(std::char_traits<char16_t>::length(static_cast<const char16_t*>(out)));
    return out;
}

void ezuUtf8ToUtf16(benchmark::State& state, const Text* t) {
    int units = 0;
    void* first = ezuToUtf16(*t, &units);
    const bool ok = first && sameUtf16(first, size_t(units), *t);
    mem_free(first);
    if (!bench::verify(state, ok, "ezu: UTF-16 differs from the reference"))
        return;
    for (auto _ : state) {
        void* out = ezuToUtf16(*t, nullptr);
        benchmark::DoNotOptimize(out);
        mem_free(out);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(t->utf8.size()));
}

// The road through the string class: a TStr built from the UTF-8 bytes, then
// asked for its UTF-16LE view.
void ezuTStrUtf8ToUtf16(benchmark::State& state, const Text* t) {
    {
        const TStr first(t->utf8.data(), int(t->utf8.size()), ENC_UTF8);
        const EzuWChar* view = first.utf16le();
        const size_t units =
            view ? std::char_traits<char16_t>::length(reinterpret_cast<const char16_t*>(view)) : 0;
        if (!bench::verify(state, view && sameUtf16(view, units, *t),
                           "ezu TStr: UTF-16 differs from the reference"))
            return;
    }
    for (auto _ : state) {
        const TStr s(t->utf8.data(), int(t->utf8.size()), ENC_UTF8);
        benchmark::DoNotOptimize(s.utf16le());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(t->utf8.size()));
}

void qtUtf8ToUtf16(benchmark::State& state, const Text* t) {
    const QString first = QString::fromUtf8(t->utf8.data(), int(t->utf8.size()));
    if (!bench::verify(state, sameUtf16(first.utf16(), size_t(first.size()), *t),
                       "qt: UTF-16 differs from the reference"))
        return;
    for (auto _ : state) {
        QString s = QString::fromUtf8(t->utf8.data(), int(t->utf8.size()));
        benchmark::DoNotOptimize(s.constData());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(t->utf8.size()));
}

// ICU and iconv get the room the longest possible result needs (one unit per
// source byte) instead of a sizing pass of their own, as their users do.
UChar* icuToUtf16(const Text& t, int32_t* units) {
    const int32_t room = int32_t(t.utf8.size()) + 1;
    UChar* out = static_cast<UChar*>(std::malloc(size_t(room) * sizeof(UChar)));
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(out, room, units, t.utf8.data(), int32_t(t.utf8.size()), &status);
    if (U_FAILURE(status)) {
        std::free(out);
        return nullptr;
    }
    return out;
}

void icuUtf8ToUtf16(benchmark::State& state, const Text* t) {
    int32_t units = 0;
    UChar* first = icuToUtf16(*t, &units);
    const bool ok = first && sameUtf16(first, size_t(units), *t);
    std::free(first);
    if (!bench::verify(state, ok, "icu: UTF-16 differs from the reference"))
        return;
    for (auto _ : state) {
        UChar* out = icuToUtf16(*t, &units);
        benchmark::DoNotOptimize(out);
        std::free(out);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(t->utf8.size()));
}

// Converts `in_bytes` bytes into a new block of `room` bytes with a
// descriptor opened once; null on failure.
char* iconvInto(iconv_t cd, const void* in, size_t in_bytes, size_t room, size_t* written) {
    char* out = static_cast<char*>(std::malloc(room));
    char* src = const_cast<char*>(static_cast<const char*>(in));
    char* dst = out;
    size_t src_left = in_bytes, dst_left = room;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &src, &src_left, &dst, &dst_left) == size_t(-1)) {
        std::free(out);
        return nullptr;
    }
    *written = room - dst_left;
    return out;
}

void iconvUtf8ToUtf16(benchmark::State& state, const Text* t) {
    iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    size_t written = 0;
    const size_t room = t->utf8.size() * 2 + 2;
    char* first = iconvInto(cd, t->utf8.data(), t->utf8.size(), room, &written);
    const bool ok = first && sameUtf16(first, written / 2, *t);
    std::free(first);
    if (bench::verify(state, ok, "iconv: UTF-16 differs from the reference")) {
        for (auto _ : state) {
            char* out = iconvInto(cd, t->utf8.data(), t->utf8.size(), room, &written);
            benchmark::DoNotOptimize(out);
            std::free(out);
        }
        state.SetBytesProcessed(state.iterations() * int64_t(t->utf8.size()));
    }
    iconv_close(cd);
}

// --- UTF-16LE to UTF-8

char* ezuToUtf8(const Text& t, int* bytes) {
    const int size = str_convert_size(t.utf16.data(), t.utf16Bytes(), ENC_UTF16LE, ENC_UTF8);
    if (size == 0)
        return nullptr;
    char* out = static_cast<char*>(mem_alloc(size));
    if (!out || !str_convert(t.utf16.data(), t.utf16Bytes(), ENC_UTF16LE, out, size, ENC_UTF8)) {
        mem_free(out);
        return nullptr;
    }
    if (bytes)
        *bytes = int(std::strlen(out));
    return out;
}

void ezuUtf16ToUtf8(benchmark::State& state, const Text* t) {
    int bytes = 0;
    char* first = ezuToUtf8(*t, &bytes);
    const bool ok = first && sameUtf8(first, size_t(bytes), *t);
    mem_free(first);
    if (!bench::verify(state, ok, "ezu: UTF-8 differs from the reference"))
        return;
    for (auto _ : state) {
        char* out = ezuToUtf8(*t, nullptr);
        benchmark::DoNotOptimize(out);
        mem_free(out);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(t->utf16Bytes()));
}

void qtUtf16ToUtf8(benchmark::State& state, const Text* t) {
    const QString source = QString::fromUtf16(t->utf16.data(), int(t->utf16.size()));
    const QByteArray first = source.toUtf8();
    if (!bench::verify(state, sameUtf8(first.constData(), size_t(first.size()), *t),
                       "qt: UTF-8 differs from the reference"))
        return;
    for (auto _ : state) {
        QByteArray b = source.toUtf8();
        benchmark::DoNotOptimize(b.constData());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(t->utf16Bytes()));
}

// Room for the longest result: three bytes per unit (a surrogate pair, two
// units, becomes four bytes).
char* icuToUtf8(const Text& t, int32_t* bytes) {
    const int32_t room = int32_t(t.utf16.size()) * 3 + 1;
    char* out = static_cast<char*>(std::malloc(size_t(room)));
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(out, room, bytes, t.utf16.data(), int32_t(t.utf16.size()), &status);
    if (U_FAILURE(status)) {
        std::free(out);
        return nullptr;
    }
    return out;
}

void icuUtf16ToUtf8(benchmark::State& state, const Text* t) {
    int32_t bytes = 0;
    char* first = icuToUtf8(*t, &bytes);
    const bool ok = first && sameUtf8(first, size_t(bytes), *t);
    std::free(first);
    if (!bench::verify(state, ok, "icu: UTF-8 differs from the reference"))
        return;
    for (auto _ : state) {
        char* out = icuToUtf8(*t, &bytes);
        benchmark::DoNotOptimize(out);
        std::free(out);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(t->utf16Bytes()));
}

void iconvUtf16ToUtf8(benchmark::State& state, const Text* t) {
    iconv_t cd = iconv_open("UTF-8", "UTF-16LE");
    size_t written = 0;
    const size_t room = t->utf16.size() * 3 + 1;
    char* first = iconvInto(cd, t->utf16.data(), size_t(t->utf16Bytes()), room, &written);
    const bool ok = first && sameUtf8(first, written, *t);
    std::free(first);
    if (bench::verify(state, ok, "iconv: UTF-8 differs from the reference")) {
        for (auto _ : state) {
            char* out = iconvInto(cd, t->utf16.data(), size_t(t->utf16Bytes()), room, &written);
            benchmark::DoNotOptimize(out);
            std::free(out);
        }
        state.SetBytesProcessed(state.iterations() * int64_t(t->utf16Bytes()));
    }
    iconv_close(cd);
}

void registerAll() {
    using Case = void (*)(benchmark::State&, const Text*);
    struct Candidate {
        const char* name;
        Case fn;
    };
    const Candidate toUtf16[] = {{"ezu", ezuUtf8ToUtf16},
                                 {"ezu_tstr", ezuTStrUtf8ToUtf16},
                                 {"qt", qtUtf8ToUtf16},
                                 {"icu", icuUtf8ToUtf16},
                                 {"iconv", iconvUtf8ToUtf16}};
    const Candidate toUtf8[] = {{"ezu", ezuUtf16ToUtf8},
                                {"qt", qtUtf16ToUtf8},
                                {"icu", icuUtf16ToUtf8},
                                {"iconv", iconvUtf16ToUtf8}};
    for (const Text* t : bench::allTexts()) {
        for (const Candidate& c : toUtf16)
            bench::add(std::string("utf8_to_utf16le/") + t->name, c.name,
                       [c, t](benchmark::State& s) { c.fn(s, t); });
        for (const Candidate& c : toUtf8)
            bench::add(std::string("utf16le_to_utf8/") + t->name, c.name,
                       [c, t](benchmark::State& s) { c.fn(s, t); });
    }
}

} // namespace

int main(int argc, char** argv) {
    registerAll();
    return bench::run(argc, argv);
}
