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

const uint64_t kHigh = 0x8080808080808080ull;

// The bytes of `word` equal to `c`, each marked by its high bit.
inline uint64_t bytes_equal(uint64_t word, char c) {
    return str_ops_zero_bytes(word ^ (0x0101010101010101ull * static_cast<unsigned char>(c)));
}

// The first "%" in [p, end), or null. Patterns are short, so eight bytes are
// tested at a time in place rather than through a library search.
const char* find_percent(const char* p, const char* end) {
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        memcpy(&word, p, 8);
        if (bytes_equal(word, '%'))
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

// Occurrences of the lowest placeholder that the first pass remembers, so
// that the second copies between them without searching; a pattern with more
// is searched again.
const int kKeptPlaces = 16;

struct Lowest {
    char digit; // 0 when the pattern holds no placeholder
    long long count;
    size_t bytes;  // the pattern's length in bytes
    bool all_7bit; // no byte of 0x80 or above: every byte is a character
    int kept;      // occurrences noted in `places`, in order
    const char* places[kKeptPlaces];
};

// Notes the "%" at `at` with the character after it: a placeholder lower
// than any so far starts the count again.
inline void note(Lowest& found, const char* at) {
    const char next = at[1];
    if (next < '1' || next > '9')
        return;
    if (!found.digit || next < found.digit) {
        found.digit = next;
        found.count = 1;
        found.places[0] = at;
        found.kept = 1;
    } else if (next == found.digit) {
        ++found.count;
        if (found.kept < kKeptPlaces)
            found.places[found.kept++] = at;
    }
}

// The bytes [at, n) of `text` (at most 8) in the bits of a word, the first
// byte lowest and 0 above them. The eight bytes at `at` are read when
// `readable` allows it, else, for a text of eight bytes or more, the eight
// that end it, shifted down; only a shorter text is read byte by byte.
inline uint64_t load_bytes(const char* text, size_t at, size_t n, size_t readable) {
    const size_t left = n - at;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    uint64_t word;
    if (at + 8 <= readable) {
        memcpy(&word, text + at, 8);
        return left >= 8 ? word : word & ((uint64_t(1) << (8 * left)) - 1);
    }
    if (n >= 8) {
        memcpy(&word, text + n - 8, 8);
        return word >> (8 * (8 - left));
    }
#else
    (void)readable;
#endif
    uint64_t bytes = 0;
    for (size_t i = 0; i < left && i < 8; ++i)
        bytes |= uint64_t(static_cast<unsigned char>(text[at + i])) << (8 * i);
    return bytes;
}

// The first pass over text of 7-bit bytes, eight at a time: every byte is a
// character, so only the "%" bytes need a look. False at the first byte of
// 0x80 or above, with `found` half filled. `readable` bytes from `text` on
// may be read (at least the text and its terminator).
bool find_lowest_7bit(const char* text, size_t readable, Lowest& found) {
    const size_t n = found.bytes;
    size_t free_from = 0; // the bytes before it belong to a "%" pair
    for (size_t w = 0; w < n; w += 8) {
        const uint64_t word = load_bytes(text, w, n, readable);
        if (word & kHigh)
            return false;
        for (uint64_t marks = bytes_equal(word, '%'); marks; marks &= marks - 1) {
            const size_t at = w + size_t(__builtin_ctzll(marks)) / 8;
            if (at < free_from)
                continue;
            if (at + 1 == n)
                return true;
            note(found, text + at);
            free_from = at + 2;
        }
    }
    return true;
}

// First pass. The character after a "%" is consumed with it, so "%%1" holds
// no placeholder; a "%" that ends the pattern is ordinary text.
Lowest find_lowest(const char* text, size_t bytes, size_t readable) {
    Lowest found;
    found.digit = 0;
    found.count = 0;
    found.kept = 0;
    found.bytes = bytes;
    found.all_7bit = find_lowest_7bit(text, readable, found);
    if (found.all_7bit)
        return found;
    found.digit = 0;
    found.count = 0;
    found.kept = 0;
    for (const char* p = text; *(p = skip_plain(p));) {
        if (*p == '%')
            note(found, p);
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
    str_ops_copy(out, v.text, v.bytes);
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
    const char* run = p;
    if (found.kept == found.count) {
        for (int k = 0; k < found.kept; ++k) {
            const char* at = found.places[k];
            str_ops_copy(out, run, size_t(at - run));
            out = write_insert(out + (at - run), v);
            run = at + 2;
        }
        str_ops_copy(out, run, size_t(end - run) + 1); // with the terminator
        return;
    }
    long long left = found.count;
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
    const bool has_block = pattern && pattern->data;
    const char* text = has_block ? pattern->data : "";
    const Lowest found =
        has_block ? find_lowest(text, str_ops_text_bytes(pattern), size_t(pattern->capacity))
                  : find_lowest(text, 0, 1);
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
