// Helpers shared by the text operations (str_ops_*.cpp); not part of the
// public interface.
#ifndef EZU_STRINGS_STR_OPS_INTERNAL_H
#define EZU_STRINGS_STR_OPS_INTERNAL_H

#include "ezu/strings/strbuf.h"

#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <string.h>

// Largest text block (terminator included) an operation builds; every size is
// computed in 64 bits and checked against this before it becomes an int.
const long long kStrOpsMaxBlock = INT_MAX - 16;

// The text of a buffer; "" for the null state.
inline const char* str_ops_text(const StrBuf* buf) {
    return !buf || !buf->data ? "" : buf->data;
}

// Whether the `n` bytes at `a` and at `b` are the same. Separators are mostly
// a byte or two, which a loop compares sooner than a library call.
inline bool str_ops_same_bytes(const char* a, const char* b, size_t n) {
    if (n > 8)
        return memcmp(a, b, n) == 0;
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Whether the `n` bytes at `text` begin / end with the `sep_n` bytes of a
// separator, matched byte for byte.
inline bool str_ops_starts_with(const char* text, size_t n, const char* sep, size_t sep_n) {
    return n >= sep_n && str_ops_same_bytes(text, sep, sep_n);
}

inline bool str_ops_ends_with(const char* text, size_t n, const char* sep, size_t sep_n) {
    return n >= sep_n && str_ops_same_bytes(text + n - sep_n, sep, sep_n);
}

// The bytes of `word` that are zero, each marked by its high bit. Exact: no
// carry crosses from one byte into the next.
inline uint64_t str_ops_zero_bytes(uint64_t word) {
    const uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The length in bytes of the text of a record with a block. Short blocks,
// which every byte of may be read, are searched for the terminator eight
// bytes at a time in place of a library call; the last, partial word is read
// as the eight bytes that end the block, whose bytes in front of it were
// searched already.
inline size_t str_ops_text_bytes(const StrBuf* buf) {
    const char* text = buf->data;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    const size_t capacity = size_t(buf->capacity);
    if (capacity >= 8 && capacity <= 64) {
        size_t i = 0;
        for (; i + 8 <= capacity; i += 8) {
            uint64_t word;
            memcpy(&word, text + i, 8);
            if (const uint64_t zeros = str_ops_zero_bytes(word))
                return i + size_t(__builtin_ctzll(zeros)) / 8;
        }
        uint64_t last;
        memcpy(&last, text + capacity - 8, 8);
        return capacity - 8 + size_t(__builtin_ctzll(str_ops_zero_bytes(last))) / 8;
    }
#endif
    return strlen(text);
}

// Copies `n` bytes as memcpy does. The pieces of a substitution or a join
// are mostly a few dozen bytes long, which up to four overlapping word moves
// copy in place of a library call.
inline void str_ops_copy(char* out, const char* from, size_t n) {
    if (n >= 8 && n <= 32) {
        uint64_t a, b, c, d;
        const size_t half = n > 16 ? 8 : 0; // words behind the first, before the last
        memcpy(&a, from, 8);
        memcpy(&b, from + half, 8);
        memcpy(&c, from + n - 8 - half, 8);
        memcpy(&d, from + n - 8, 8);
        memcpy(out, &a, 8);
        memcpy(out + half, &b, 8);
        memcpy(out + n - 8 - half, &c, 8);
        memcpy(out + n - 8, &d, 8);
    } else if (n >= 4 && n < 8) {
        uint32_t head, tail;
        memcpy(&head, from, 4);
        memcpy(&tail, from + n - 4, 4);
        memcpy(out, &head, 4);
        memcpy(out + n - 4, &tail, 4);
    } else if (n < 4) {
        for (size_t i = 0; i < n; ++i)
            out[i] = from[i];
    } else {
        memcpy(out, from, n);
    }
}

// White space of trimming and simplifying: the blank and 0x09 to 0x0D.
inline bool str_ops_is_white(char c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

// True when the byte `c` is one of the bytes of the zero-terminated `set`
// (a null set holds nothing; the zero byte is never in a set).
bool str_ops_in_set(char c, const char* set);

// Bytes of the character at `p` as its lead byte says, never stepping over
// the terminator; 0 at the terminator.
int str_ops_char_bytes(const char* p);

// Characters of a zero-terminated text, stepped as str_length steps them.
int str_ops_count_chars(const char* text);

// str_arg with the value given as its `bytes` bytes of UTF-8 at `value`,
// zero-terminated (the typed forms pass text they wrote themselves).
StrBuf* str_ops_arg_text(const StrBuf* pattern, const char* value, size_t bytes, int width);

// A new record in the empty-text or text state: a block of `size` zero bytes
// (terminator included). Null when `size` is out of range or the block
// cannot be had.
StrBuf* str_ops_new_sized(long long size);

// Room for the text of any 64-bit integer in any radix with its terminator:
// 64 binary digits and a sign.
const int kStrOpsIntChars = 72;

// Writes the zero-terminated text of `value` in `radix` (10 when outside 2 to
// 36) at the end of `scratch` (kStrOpsIntChars bytes) and returns where it
// starts; `*n` receives its length in bytes. The text is 7-bit: an optional
// "-" and lower-case digits.
const char* str_ops_int64_text(long long value, int radix, char* scratch, int* n);
// The same for a magnitude and a sign given apart, so that every unsigned
// 64-bit value can be written too.
const char* str_ops_digits_text(unsigned long long magnitude, bool negative, int radix,
                                char* scratch, int* n);

// Floating-point text with "." as its decimal point whatever the process
// locale. str_ops_point_to_dot rewrites the `n` bytes of zero-terminated text
// the formatted output wrote, replacing the locale's point by ".", and
// returns the new length. str_ops_read_double reads as strtod does in the
// "C" locale; `*end` receives where reading stopped (`text` when no number
// was read).
int str_ops_point_to_dot(char* text, int n);
double str_ops_read_double(const char* text, const char** end);

// A new record holding a copy of the `n` bytes at `text`, as they stand.
StrBuf* str_ops_new_range(const char* text, size_t n);

// Changes the ASCII letters of a zero-terminated text in place, stepping
// character by character, so bytes inside multi-byte characters never change.
void str_ops_upper_text(char* text);
void str_ops_lower_text(char* text);

// Reads one well-formed UTF-8 character (shortest form, no surrogate, at most
// U+10FFFF); returns its bytes, or 0 for anything else.
int str_ops_utf8_decode(const char* p, uint32_t* code);

// True for a code point that names a character: 1 to U+10FFFF, no surrogate.
bool str_ops_code_valid(uint32_t code);

// Writes a valid code point as UTF-8 into `out` (room for 4 bytes); returns
// the bytes written.
int str_ops_utf8_encode(uint32_t code, char* out);

// Appends the `other_n` bytes at `other` to `buf` with exactly one `sep` (may
// be null: none) at the seam; a buffer without a block takes the bytes alone.
// Nothing happens for zero bytes. `other` must not point into `buf`.
void str_ops_append_range(StrBuf* buf, const char* other, size_t other_n, const char* sep);

// The same for a buffer with a block whose text is known to be `text_n` bytes
// long; returns the text's new length in bytes (`text_n` when nothing could
// be appended).
size_t str_ops_append_range_at(StrBuf* buf, size_t text_n, const char* other, size_t other_n,
                               const char* sep);

// The marker search in byte offsets: the first `close` at or after `from`,
// the last `open` that starts at or after `from` and before that close; when
// there is none, the search goes on behind that close. Returns the byte
// offset of the marker and its byte length through the end of `close`, or -1.
// Empty or null `open`/`close` find nothing.
long long str_ops_marker_search(const char* text, size_t from, const char* open, const char* close,
                                size_t* length);

#endif
