// Placeholder substitution: the framework's formatting step.
//
// A placeholder is "%" and one digit "1" to "9". Each call replaces every
// occurrence of the lowest-numbered placeholder present by the (padded)
// value and leaves the others for a later call. The result is built in one
// block of exactly the needed size; the inserted value is never scanned.
#include "ezu/strings/str_ops_internal.h"

#include <string.h>

namespace {

struct Lowest {
    char digit; // 0 when the pattern holds no placeholder
    long long count;
};

// First pass. The character after a "%" is consumed with it, so "%%1" holds
// no placeholder; a "%" that ends the pattern is ordinary text.
Lowest find_lowest(const char* p) {
    Lowest found = {0, 0};
    while (*p) {
        if (*p != '%' || !p[1]) {
            p += str_ops_char_bytes(p);
            continue;
        }
        const char next = p[1];
        if (next >= '1' && next <= '9') {
            if (!found.digit || next < found.digit) {
                found.digit = next;
                found.count = 1;
            } else if (next == found.digit) {
                ++found.count;
            }
        }
        p += 1 + str_ops_char_bytes(p + 1);
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
    if (v.spaces_first) {
        memset(out, ' ', size_t(v.spaces));
        out += v.spaces;
    }
    memcpy(out, v.text, v.bytes);
    out += v.bytes;
    if (!v.spaces_first) {
        memset(out, ' ', size_t(v.spaces));
        out += v.spaces;
    }
    return out;
}

// Second pass: copies the pattern, replacing the `found.count` occurrences of
// the lowest placeholder; after the last one the rest is copied as it stands.
void substitute(const char* p, const Lowest& found, const Insert& v, char* out) {
    long long left = found.count;
    while (left > 0 && *p) {
        size_t n = str_ops_char_bytes(p);
        if (*p == '%' && p[1]) {
            if (p[1] == found.digit) {
                out = write_insert(out, v);
                p += 2;
                --left;
                continue;
            }
            n = 1 + str_ops_char_bytes(p + 1);
        }
        memcpy(out, p, n);
        out += n;
        p += n;
    }
    strcpy(out, p);
}

long long result_size(size_t pattern_bytes, const Lowest& found, const Insert& v) {
    const long long inserted = (long long)v.bytes + v.spaces;
    return (long long)pattern_bytes + found.count * (inserted - 2) + 1;
}

} // namespace

StrBuf* str_arg(const StrBuf* pattern, const StrBuf* value, int width) {
    const char* text = str_ops_text(pattern);
    const Lowest found = find_lowest(text);
    if (!found.digit)
        return str_dup(pattern);

    Insert v = {str_ops_text(value), 0, 0, width > 0};
    v.bytes = strlen(v.text);
    const long long magnitude = width < 0 ? -(long long)width : width;
    const long long chars = str_length(value);
    if (magnitude > chars)
        v.spaces = magnitude - chars;

    const size_t pattern_bytes = strlen(text);
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
