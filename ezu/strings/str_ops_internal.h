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
    return str_is_null(buf) ? "" : buf->data;
}

// Whether the `n` bytes at `text` begin / end with the `sep_n` bytes of a
// separator, matched byte for byte.
inline bool str_ops_starts_with(const char* text, size_t n, const char* sep, size_t sep_n) {
    return n >= sep_n && memcmp(text, sep, sep_n) == 0;
}

inline bool str_ops_ends_with(const char* text, size_t n, const char* sep, size_t sep_n) {
    return n >= sep_n && memcmp(text + n - sep_n, sep, sep_n) == 0;
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
