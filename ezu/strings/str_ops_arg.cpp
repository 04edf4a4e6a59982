// Placeholder substitution: the framework's formatting step.
//
// A placeholder is "%" and one digit "1" to "9". Each call replaces every
// occurrence of the lowest-numbered placeholder present by the (padded)
// value and leaves the others for a later call. The result is built in one
// block of exactly the needed size; the inserted value is never scanned.
#include "ezu/strings/str_ops_internal.h"

#include <stdint.h>
#include <string.h>

namespace {

// The first "%" in [p, end), or null. Patterns are short, so eight bytes are
// tested at a time in place rather than through a library search.
const char* find_percent(const char* p, const char* end) {
    const uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        memcpy(&word, p, 8);
        const uint64_t x = word ^ (kOnes * '%'); // a zero byte where a "%" is
        if ((x - kOnes) & ~x & kHigh)
            break;
    }
    for (; p < end; ++p)
        if (*p == '%')
            return p;
    return nullptr;
}

// Bytes of the character at `p` (not the terminator): 7-bit bytes are whole
// characters, anything else steps as its lead byte says.
inline size_t char_bytes(const char* p) {
    return static_cast<unsigned char>(*p) < 0x80 ? 1 : size_t(str_ops_char_bytes(p));
}

// Skips 7-bit bytes other than "%" and the terminator: they are whole
// characters that neither pass looks at.
inline const char* skip_plain(const char* p) {
    for (;;) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == 0 || c == '%' || c >= 0x80)
            return p;
        ++p;
    }
}

// Steps over the character at `p`, or over a "%" together with the character
// after it (which is what makes "%%1" hold no placeholder); `*p` is not 0.
inline const char* step(const char* p) {
    if (*p == '%' && p[1])
        return p + 1 + char_bytes(p + 1);
    return p + char_bytes(p);
}

struct Lowest {
    char digit; // 0 when the pattern holds no placeholder
    long long count;
    size_t bytes;  // the pattern's length in bytes
    bool all_7bit; // no byte of 0x80 or above: every byte is a character
};

// Notes a placeholder digit (or any other character after a "%").
inline void note(Lowest& found, char next) {
    if (next >= '1' && next <= '9') {
        if (!found.digit || next < found.digit) {
            found.digit = next;
            found.count = 1;
        } else if (next == found.digit) {
            ++found.count;
        }
    }
}

// True when none of the `n` bytes at `text` is 0x80 or above; eight bytes
// are tested at a time.
bool no_high_bytes(const char* text, size_t n) {
    const uint64_t kHigh = 0x8080808080808080ull;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        memcpy(&word, text + i, 8);
        if (word & kHigh)
            return false;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// First pass. The character after a "%" is consumed with it, so "%%1" holds
// no placeholder; a "%" that ends the pattern is ordinary text.
Lowest find_lowest(const char* text) {
    Lowest found = {0, 0, strlen(text), false};
    const char* end = text + found.bytes;
    if (no_high_bytes(text, found.bytes)) {
        // Every character is one byte: only the "%" bytes need a look.
        found.all_7bit = true;
        const char* p = text;
        while ((p = find_percent(p, end)) && p[1]) {
            note(found, p[1]);
            p += 2;
        }
        return found;
    }
    for (const char* p = text; *(p = skip_plain(p));) {
        if (*p == '%')
            note(found, p[1]);
        p = step(p);
    }
    return found;
}

// The value as it is inserted: spaces in front for a positive width, behind
// for a negative one.
struct Insert {
    const char* text;
    size_t bytes;
    long long spaces;
    bool spaces_first;
};

char* write_insert(char* out, const Insert& v) {
    if (v.spaces && v.spaces_first) {
        memset(out, ' ', size_t(v.spaces));
        out += v.spaces;
    }
    memcpy(out, v.text, v.bytes);
    out += v.bytes;
    if (v.spaces && !v.spaces_first) {
        memset(out, ' ', size_t(v.spaces));
        out += v.spaces;
    }
    return out;
}

// Second pass: copies the pattern, replacing the `found.count` occurrences of
// the lowest placeholder; after the last one the rest is copied as it stands.
// Bytes between placeholders are copied in runs.
void substitute(const char* p, const Lowest& found, const Insert& v, char* out) {
    const char* end = p + found.bytes;
    long long left = found.count;
    const char* run = p;
    while (left > 0) {
        if (found.all_7bit)
            p = find_percent(p, end);
        else
            p = skip_plain(p);
        // The count from the first pass promises another placeholder; the
        // end is checked anyway, so a miscount can never run past the text.
        if (!p || !*p)
            break;
        if (*p == '%' && p[1] == found.digit) {
            memcpy(out, run, size_t(p - run));
            out = write_insert(out + (p - run), v);
            p += 2;
            run = p;
            --left;
            continue;
        }
        p = step(p);
    }
    memcpy(out, run, size_t(end - run) + 1); // with the terminator
}

long long result_size(size_t pattern_bytes, const Lowest& found, const Insert& v) {
    const long long inserted = (long long)v.bytes + v.spaces;
    return (long long)pattern_bytes + found.count * (inserted - 2) + 1;
}

} // namespace

StrBuf* str_ops_arg_text(const StrBuf* pattern, const char* value, size_t bytes, int width) {
    const char* text = str_ops_text(pattern);
    const Lowest found = find_lowest(text);
    if (!found.digit)
        return str_dup(pattern);

    Insert v = {value, bytes, 0, width > 0};
    // Padding needs the value's length in characters, which is at most its
    // byte count: only a width beyond that makes counting worth it.
    const long long magnitude = width < 0 ? -(long long)width : width;
    if (magnitude > 0) {
        const long long chars = str_ops_count_chars(value);
        if (magnitude > chars)
            v.spaces = magnitude - chars;
    }

    const size_t pattern_bytes = found.bytes;
    // Padding that no block can hold (a width near the int limits, or more
    // than the heap gives) is left out rather than failing the whole call.
    StrBuf* result = nullptr;
    if (v.spaces)
        result = str_ops_new_sized(result_size(pattern_bytes, found, v));
    if (!result) {
        v.spaces = 0;
        result = str_ops_new_sized(result_size(pattern_bytes, found, v));
    }
    if (result)
        substitute(text, found, v, result->data);
    return result;
}

StrBuf* str_arg(const StrBuf* pattern, const StrBuf* value, int width) {
    const char* text = str_ops_text(value);
    return str_ops_arg_text(pattern, text, strlen(text), width);
}
