// One-pass placeholder substitution: every "%n" takes the n-th value at once.
//
// Placeholders are read exactly as the chained substitution reads them ("%"
// and one digit "1" to "9"; a "%" consumes the character after it, so "%%1"
// holds none), but the pattern is scanned once: text that came from a value
// is never looked at again, so a value holding "%1" stays as it is. A
// placeholder without a value is copied as it stands.
#include "ezu/strings/str_ops_internal.h"

namespace {

// The value for the placeholder "%d", or null when `d` is no placeholder
// digit or has no value.
inline const char* value_for(char d, const char* const* values, const size_t* bytes, int count,
                             size_t* n) {
    if (d < '1' || d > '9' || d - '0' > count)
        return nullptr;
    *n = bytes[d - '1'];
    return values[d - '1'];
}

// Walks the pattern once, calling `run(text, n)` for every piece of the
// result in order: runs of the pattern and whole values.
template <class Run>
void walk(const char* p, const char* const* values, const size_t* bytes, int count, Run run) {
    const char* start = p;
    while (*p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c != '%') {
            p += c < 0x80 ? 1 : str_ops_char_bytes(p);
            continue;
        }
        if (!p[1]) {
            ++p;
            break;
        }
        size_t n = 0;
        const char* value = value_for(p[1], values, bytes, count, &n);
        if (!value) {
            // Any other character after "%" is consumed with it.
            p += 1 + (static_cast<unsigned char>(p[1]) < 0x80 ? 1 : str_ops_char_bytes(p + 1));
            continue;
        }
        run(start, size_t(p - start));
        run(value, n);
        p += 2;
        start = p;
    }
    run(start, size_t(p - start));
}

} // namespace

StrBuf* str_args(const StrBuf* pattern, const StrBuf* const* values, int count) {
    if (count < 0)
        count = 0;
    if (count > 9)
        count = 9;
    const char* texts[9];
    size_t bytes[9];
    for (int i = 0; i < count; ++i) {
        texts[i] = values[i] ? str_ops_text(values[i]) : "";
        bytes[i] = strlen(texts[i]);
    }
    const char* text = str_ops_text(pattern);

    long long size = 1; // the terminator
    walk(text, texts, bytes, count, [&](const char*, size_t n) { size += (long long)n; });
    StrBuf* result = str_ops_new_sized(size);
    if (!result)
        return nullptr;
    char* out = result->data;
    walk(text, texts, bytes, count, [&](const char* piece, size_t n) {
        memcpy(out, piece, n);
        out += n;
    });
    return result;
}
