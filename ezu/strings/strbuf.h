// String buffers: the lower tier's text record and its str_ functions.
//
// A StrBuf holds zero-terminated UTF-8 in a guarded block. It has three
// states: null (no block), empty text (only the terminator) and text.
// Lengths and positions count characters (UTF-8 sequences, stepped by their
// lead byte); functions that return a new StrBuf hand it to the caller, who
// releases it with str_free.
#ifndef EZU_STRINGS_STRBUF_H
#define EZU_STRINGS_STRBUF_H

#include "ezu/ezu_export.h"

#include "ezu/ezu_wchar.h"

struct StrBuf {
    char* data;   // guarded block holding the text, or null
    int capacity; // bytes asked of the memory manager for data; 0 while null
};

// Creation and release.
EZU_API StrBuf* str_new();
EZU_API StrBuf* str_from_ascii(const char* text);
EZU_API StrBuf* str_from_utf8(const char* text);
EZU_API StrBuf* str_from_bytes(const void* data, int nbytes, int encoding);
EZU_API StrBuf* str_dup(const StrBuf* buf);
EZU_API int str_free(StrBuf* buf);

// Assignment: replaces the text with `nbytes` bytes of `data` read in
// `encoding`; reading stops at the first zero character. Input the encoding
// core rejects leaves the null state.
EZU_API int str_assign_bytes(StrBuf* buf, const void* data, int nbytes, int encoding);
EZU_API int str_assign_utf8(StrBuf* buf, const char* text);
EZU_API void str_assign_ascii(StrBuf* buf, const char* text, int nbytes);

// Capacity and copying.
EZU_API int str_resize(StrBuf* buf, int capacity);
EZU_API int str_clear(StrBuf* buf);
EZU_API int str_copy(const StrBuf* src, StrBuf* dst);
// Grows the block to n + 1 bytes when its capacity is below n; returns the
// writable text, or null when the block cannot grow to that size.
EZU_API char* str_reserve(StrBuf* buf, int n);

// Appending; both return the new length in characters (0 on failure).
EZU_API int str_append(StrBuf* buf, const StrBuf* other);
EZU_API int str_append_text(StrBuf* buf, const char* text, int count);

// Queries.
EZU_API int str_length(const StrBuf* buf);
EZU_API bool str_is_null(const StrBuf* buf);
EZU_API bool str_is_empty(const StrBuf* buf);
EZU_API int str_compare(const StrBuf* a, const StrBuf* b);
EZU_API int str_compare_text(const StrBuf* buf, const char* text);
EZU_API int str_hash(const StrBuf* buf);
EZU_API char* str_advance(const StrBuf* buf, int n);
EZU_API int str_char_at(const StrBuf* buf, int i);

// Export into another encoding. str_export_size gives the bytes an export
// into `encoding` writes, terminator included (0 when it cannot be done).
EZU_API int str_export_size(const StrBuf* buf, int encoding);
EZU_API int str_export(const StrBuf* buf, void* out, int size, int encoding);
EZU_API int str_export_sized(const StrBuf* buf, void* out, int* size_in_out, int encoding);
EZU_API void* str_to_new(const StrBuf* buf, int encoding);
EZU_API char* str_to_ascii(const StrBuf* buf, char* out, int size);
EZU_API char* str_to_utf8(const StrBuf* buf, char* out, int size);
EZU_API char* str_to_new_ascii(const StrBuf* buf);
EZU_API char* str_to_new_utf8(const StrBuf* buf);
EZU_API void* str_to_new_utf16bom(const StrBuf* buf);
EZU_API EzuWChar* str_to_new_utf16le(const StrBuf* buf);
EZU_API void* str_to_new_utf16be(const StrBuf* buf);

// Number text: writers return a new buffer; readers report validity through
// `ok` (may be null), 1 or 0.
EZU_API StrBuf* str_from_int64(long long value, int radix);
EZU_API StrBuf* str_from_int(int value, int radix);
EZU_API StrBuf* str_from_long(long value, int radix);
EZU_API StrBuf* str_from_double(double value, char letter, int precision);
EZU_API StrBuf* str_from_float(float value, char letter, int precision);
EZU_API long long str_to_int64(const StrBuf* buf, int* ok, int radix);
EZU_API int str_to_int(const StrBuf* buf, int* ok, int radix);
EZU_API int str_to_long(const StrBuf* buf, int* ok, int radix);
EZU_API double str_to_double(const StrBuf* buf, int* ok);
EZU_API float str_to_float(const StrBuf* buf, int* ok);
EZU_API int str_is_space(const char* c);
EZU_API int str_is_digit(const char* c);
EZU_API int str_digit_value(const char* c);
EZU_API int str_is_radix_digit(const char* c, int radix);

// Text operations. Functions returning StrBuf* give a new record (null only
// where no block can hold the result, or where a token is missing); the others
// work in place. A copy made from a null-state text is empty text.
// Units: positions and counts are characters, except that str_find reports a
// byte offset and str_mid's count is bytes; str_mid ends its copy at the last
// whole character within that count. A negative start counts as beyond the
// end. Separator sets (tokens, str_translate) are matched byte by byte.
// str_arg leaves out padding that no block can hold (a width near the int
// limits); str_repeat_to of empty text is empty text; str_replace leaves the
// text unchanged when the result would not fit a block.
EZU_API StrBuf* str_arg(const StrBuf* pattern, const StrBuf* value, int width);
// Substitutes all values in one pass: "%n" (n from 1 to 9) takes values[n-1]
// for n up to `count`; text from a value is never scanned again, and a
// placeholder without a value stays as written. Null only when no block can
// hold the result.
EZU_API StrBuf* str_args(const StrBuf* pattern, const StrBuf* const* values, int count);
EZU_API int str_find(const StrBuf* buf, const char* needle, int from, bool case_sensitive);
EZU_API StrBuf* str_left(const StrBuf* buf, int n);
EZU_API StrBuf* str_mid(const StrBuf* buf, int start, int nbytes);
EZU_API StrBuf* str_right(const StrBuf* buf, int n);
EZU_API char* str_truncate(StrBuf* buf, int n);
EZU_API StrBuf* str_repeat_to(const StrBuf* buf, int n);
EZU_API void str_upper(StrBuf* buf);
EZU_API void str_lower(StrBuf* buf);
EZU_API void str_trim(StrBuf* buf);
EZU_API void str_simplify(StrBuf* buf);
EZU_API void str_replace(StrBuf* buf, const StrBuf* what, const StrBuf* with);
EZU_API StrBuf* str_translate(const StrBuf* buf, const StrBuf* chars, const StrBuf* with);
EZU_API StrBuf* str_take_token(StrBuf* buf, const StrBuf* chars, char* found_char);
EZU_API StrBuf* str_take_until(StrBuf* buf, const StrBuf* separator);
EZU_API StrBuf* str_take_last_token(StrBuf* buf, const StrBuf* chars, char* found_char);
EZU_API StrBuf* str_take_after_last(StrBuf* buf, const StrBuf* separator);
EZU_API const char* str_find_last(const char* text, const char* separator);
EZU_API void str_append_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator);
EZU_API void str_prepend_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator);
EZU_API bool str_has_drive(const StrBuf* buf);

// Markers and the "!{" hex "}" escaping. Marker positions and lengths are
// bytes, `from` counts characters; empty delimiters find nothing. str_escape
// escapes whole characters of the set by code point (malformed UTF-8 is
// copied); str_unescape replaces a marker naming a character (1 to U+10FFFF,
// no surrogate) by its UTF-8 and leaves every other marker as written.
EZU_API int str_find_marker(const StrBuf* buf, const char* open, const char* close, int* length,
                            int from);
EZU_API StrBuf* str_escape(const StrBuf* buf, const StrBuf* chars);
EZU_API StrBuf* str_unescape(const StrBuf* buf);

#endif
