/// @file
/// String buffers: the lower tier's text record and its str_ functions.
///
/// A StrBuf holds zero-terminated UTF-8 in a guarded block. It has three
/// states: null (no block), empty text (only the terminator) and text.
/// Lengths and positions count characters (UTF-8 sequences, stepped by their
/// lead byte); functions that return a new StrBuf hand it to the caller, who
/// releases it with str_free.
#ifndef EZU_STRINGS_STRBUF_H
#define EZU_STRINGS_STRBUF_H

#include "ezu/ezu_export.h"

#include "ezu/ezu_wchar.h"

/// The string buffer record: zero-terminated UTF-8 in a guarded block. A
/// new record (all zero) is in the null state.
struct StrBuf {
    char* data;   ///< guarded block holding the text, or null
    int capacity; ///< bytes asked of the memory manager for data; 0 while null
};

// Creation and release.
/// A new record in the null state; null when no block is left.
EZU_API StrBuf* str_new();
/// A new record holding 7-bit `text` up to its zero byte (a byte above 127
/// becomes "?"); null `text` gives the null state.
EZU_API StrBuf* str_from_ascii(const char* text);
/// A new record holding the UTF-8 `text` up to its zero byte; null `text` or
/// text the encoding core rejects gives the null state.
EZU_API StrBuf* str_from_utf8(const char* text);
/// A new record holding `nbytes` bytes of `data` read in `encoding`, as
/// str_assign_bytes() reads them.
EZU_API StrBuf* str_from_bytes(const void* data, int nbytes, int encoding);
/// A new record holding a copy of the bytes of `buf`'s text (a null-state
/// source gives empty text); null for a null `buf` or when no block is left.
EZU_API StrBuf* str_dup(const StrBuf* buf);
/// Releases the text block and the record; returns the payload bytes
/// released, 0 for a null `buf`.
EZU_API int str_free(StrBuf* buf);

/// Assignment: replaces the text with `nbytes` bytes of `data` read in
/// `encoding`; reading stops at the first zero character. Input the encoding
/// core rejects leaves the null state. The block is reused when it is large
/// enough; `nbytes` of 0 gives empty text. Returns 1, also for an invalid
/// encoding, which leaves the text unchanged.
EZU_API int str_assign_bytes(StrBuf* buf, const void* data, int nbytes, int encoding);
/// str_assign_bytes() with the zero-terminated UTF-8 `text`; returns 1.
EZU_API int str_assign_utf8(StrBuf* buf, const char* text);
/// str_assign_bytes() with `nbytes` of 7-bit `text` (-1: up to its zero
/// byte); a byte above 127 becomes "?".
EZU_API void str_assign_ascii(StrBuf* buf, const char* text, int nbytes);

// Capacity and copying.
/// Gives the text block exactly `capacity` bytes, keeping the text that fits
/// (a shorter block cuts it and stays terminated). Returns 1, or 0 with
/// nothing changed when the block cannot be had or `capacity` is below 1.
EZU_API int str_resize(StrBuf* buf, int capacity);
/// Releases the text block: the null state. A null `buf` is accepted.
/// Returns 1.
EZU_API int str_clear(StrBuf* buf);
/// Replaces `dst`'s text with `src`'s; returns the byte length of the copy.
/// A `src` without text clears `dst` and returns 0; 0 also when `dst`'s
/// block cannot grow, leaving it unchanged.
EZU_API int str_copy(const StrBuf* src, StrBuf* dst);
/// Grows the block to n + 1 bytes when its capacity is below n; returns the
/// writable text, or null when the block cannot grow to that size.
EZU_API char* str_reserve(StrBuf* buf, int n);

/// @name Appending
/// Appending; both return the new length in characters (0 on failure).
//@{
/// Appends all of `other`'s text; a null-state `other` changes nothing.
EZU_API int str_append(StrBuf* buf, const StrBuf* other);
/// Appends the first `count` characters of the UTF-8 `text`; empty text
/// turns a null-state buffer into empty text.
EZU_API int str_append_text(StrBuf* buf, const char* text, int count);
//@}

// Queries.
/// Number of characters, each stepped by its lead byte; 0 for a null `buf`
/// or the null state.
EZU_API int str_length(const StrBuf* buf);
/// True for a null `buf` and for the null state.
EZU_API bool str_is_null(const StrBuf* buf);
/// True for a null `buf`, the null state and empty text.
EZU_API bool str_is_empty(const StrBuf* buf);
/// -1, 0 or 1 as the byte-wise comparison of the two texts; the null state
/// sorts before any text, so it is unequal to empty text.
EZU_API int str_compare(const StrBuf* a, const StrBuf* b);
/// str_compare() against the bytes of `text` as they stand (null: the null
/// state).
EZU_API int str_compare_text(const StrBuf* buf, const char* text);
/// TStr::hash() of the text; 0 for the null state.
EZU_API int str_hash(const StrBuf* buf);
/// The position after the first `n` characters (`n` equal to the length
/// gives the terminator); null without text, for a negative `n`, or when the
/// text is shorter.
EZU_API char* str_advance(const StrBuf* buf, int n);
/// The first byte of character `i`, sign-extended; 0 outside the text.
EZU_API int str_char_at(const StrBuf* buf, int i);

/// Export into another encoding: the bytes an export into `encoding`
/// writes, terminator included (0 when it cannot be done).
EZU_API int str_export_size(const StrBuf* buf, int encoding);
/// Converts the text into `encoding` in `out` of `size` bytes, terminator
/// included; returns the bytes written. 0 without writing for an invalid
/// encoding or a `size` that is too small; 0 with empty text in `out` when the
/// conversion fails.
EZU_API int str_export(const StrBuf* buf, void* out, int size, int encoding);
/// str_export() into `out` of `*size_in_out` bytes. A size that is too small
/// is raised to the size needed plus one and 0 is returned; a null-state
/// text writes empty text and returns 0.
EZU_API int str_export_sized(const StrBuf* buf, void* out, int* size_in_out, int encoding);
/// The text in `encoding` in a new guarded block of exactly the size needed,
/// terminator included (release with mem_free); null for an invalid encoding
/// or on failure.
EZU_API void* str_to_new(const StrBuf* buf, int encoding);
/// The 7-bit form into `out` of `size` bytes (empty text when it does not
/// fit); returns `out`.
EZU_API char* str_to_ascii(const StrBuf* buf, char* out, int size);
/// The UTF-8 text into `out` of `size` bytes (empty text when it does not
/// fit); returns `out`.
EZU_API char* str_to_utf8(const StrBuf* buf, char* out, int size);
/// str_to_new() in the 7-bit encoding.
EZU_API char* str_to_new_ascii(const StrBuf* buf);
/// str_to_new() in UTF-8.
EZU_API char* str_to_new_utf8(const StrBuf* buf);
/// str_to_new() in UTF-16 with a byte-order mark.
EZU_API void* str_to_new_utf16bom(const StrBuf* buf);
/// str_to_new() in little-endian UTF-16.
EZU_API EzuWChar* str_to_new_utf16le(const StrBuf* buf);
/// str_to_new() in big-endian UTF-16.
EZU_API void* str_to_new_utf16be(const StrBuf* buf);

/// @name Number text
/// Number text: writers return a new buffer; readers report validity through
/// `ok` (may be null), 1 or 0.
//@{
/// `value` written in `radix` (lower-case digits, a leading "-" when
/// negative).
EZU_API StrBuf* str_from_int64(long long value, int radix);
/// str_from_int64() of an int.
EZU_API StrBuf* str_from_int(int value, int radix);
/// str_from_int64() of a long.
EZU_API StrBuf* str_from_long(long value, int radix);
/// `value` written as printf writes it with `letter` ('e', 'f' or 'g' in
/// either case; any other letter counts as 'f') and `precision` (negative:
/// the default; at most 99), always with "." as the decimal point.
EZU_API StrBuf* str_from_double(double value, char letter, int precision);
/// str_from_double() of a float.
EZU_API StrBuf* str_from_float(float value, char letter, int precision);
/// The whole text read as an integer in `radix`: white space around it, one
/// optional sign, at least one digit; 0 when it is not one or overflows 64
/// bits.
EZU_API long long str_to_int64(const StrBuf* buf, int* ok, int radix);
/// str_to_int64() limited to the int range: a value outside it gives 0 and
/// reports invalid.
EZU_API int str_to_int(const StrBuf* buf, int* ok, int radix);
/// Same as str_to_int().
EZU_API int str_to_long(const StrBuf* buf, int* ok, int radix);
/// The text read by strtod with "." as the decimal point; valid when the text
/// is not empty and was read to its end.
EZU_API double str_to_double(const StrBuf* buf, int* ok);
/// str_to_double() narrowed to float.
EZU_API float str_to_float(const StrBuf* buf, int* ok);
/// 1 when `*c` is a blank, a tab or a line feed, else 0 (also for null).
EZU_API int str_is_space(const char* c);
/// 1 when `*c` is a decimal digit, else 0 (also for null).
EZU_API int str_is_digit(const char* c);
/// The value of the decimal digit `*c`, or -1.
EZU_API int str_digit_value(const char* c);
/// 1 when `*c` is a digit of `radix` (2 to 36, letters in either case),
/// else 0.
EZU_API int str_is_radix_digit(const char* c, int radix);
//@}

/// @name Text operations
/// Text operations. Functions returning StrBuf* give a new record (null only
/// where no block can hold the result, or where a token is missing); the others
/// work in place. A copy made from a null-state text is empty text.
/// Units: positions and counts are characters, except that str_find reports a
/// byte offset and str_mid's count is bytes; str_mid ends its copy at the last
/// whole character within that count. A negative start counts as beyond the
/// end. Separator sets (tokens, str_translate) are matched byte by byte.
/// str_arg leaves out padding that no block can hold (a width near the int
/// limits); str_repeat_to of empty text is empty text; str_replace leaves the
/// text unchanged when the result would not fit a block.
//@{
/// TStr::arg(): `pattern` with its lowest-numbered placeholder replaced by
/// `value` padded to `width`.
EZU_API StrBuf* str_arg(const StrBuf* pattern, const StrBuf* value, int width);
/// Substitutes all values in one pass: "%n" (n from 1 to 9) takes values[n-1]
/// for n up to `count`; text from a value is never scanned again, and a
/// placeholder without a value stays as written. Null only when no block can
/// hold the result.
EZU_API StrBuf* str_args(const StrBuf* pattern, const StrBuf* const* values, int count);
/// TStr::find(): byte offset of `needle` at or after character `from`, or -1
/// (also for a null `needle`).
EZU_API int str_find(const StrBuf* buf, const char* needle, int from, bool case_sensitive);
/// TStr::left(): the first `n` characters.
EZU_API StrBuf* str_left(const StrBuf* buf, int n);
/// TStr::mid(): at most `nbytes` bytes from character `start` on.
EZU_API StrBuf* str_mid(const StrBuf* buf, int start, int nbytes);
/// TStr::right(): the last `n` characters.
EZU_API StrBuf* str_right(const StrBuf* buf, int n);
/// TStr::truncate(): cuts after `n` characters; the cut position, or null.
EZU_API char* str_truncate(StrBuf* buf, int n);
/// The text repeated until it has at least `n` characters, then cut to `n`.
EZU_API StrBuf* str_repeat_to(const StrBuf* buf, int n);
/// ASCII letters to upper case, in place.
EZU_API void str_upper(StrBuf* buf);
/// ASCII letters to lower case, in place.
EZU_API void str_lower(StrBuf* buf);
/// Removes leading and trailing white space, in place.
EZU_API void str_trim(StrBuf* buf);
/// str_trim(), and every inner run of white space becomes one blank.
EZU_API void str_simplify(StrBuf* buf);
/// TStr::replace(): every `what` becomes `with`, in place.
EZU_API void str_replace(StrBuf* buf, const StrBuf* what, const StrBuf* with);
/// TStr::translate() into a new record; `buf` is unchanged.
EZU_API StrBuf* str_translate(const StrBuf* buf, const StrBuf* chars, const StrBuf* with);
/// TStr::takeToken(); `*found_char` (when given) gets the separator byte
/// that ended the token, or 0.
EZU_API StrBuf* str_take_token(StrBuf* buf, const StrBuf* chars, char* found_char);
/// TStr::takeUntil().
EZU_API StrBuf* str_take_until(StrBuf* buf, const StrBuf* separator);
/// TStr::takeLastToken(); `*found_char` as for str_take_token().
EZU_API StrBuf* str_take_last_token(StrBuf* buf, const StrBuf* chars, char* found_char);
/// TStr::takeAfterLast().
EZU_API StrBuf* str_take_after_last(StrBuf* buf, const StrBuf* separator);
/// The last occurrence of `separator` in `text` that starts at or after the
/// second byte, or null (also for null or empty arguments).
EZU_API const char* str_find_last(const char* text, const char* separator);
/// TStr::appendWithSeparator(); a null `separator` means none.
EZU_API void str_append_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator);
/// TStr::prependWithSeparator(); a null `separator` means none.
EZU_API void str_prepend_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator);
/// True when the text is longer than two characters and the second is ":".
EZU_API bool str_has_drive(const StrBuf* buf);
//@}

/// @name Markers and escaping
/// Markers and the "!{" hex "}" escaping. Marker positions and lengths are
/// bytes, `from` counts characters; empty delimiters find nothing. str_escape
/// escapes whole characters of the set by code point (malformed UTF-8 is
/// copied); str_unescape replaces a marker naming a character (1 to U+10FFFF,
/// no surrogate) by its UTF-8 and leaves every other marker as written.
//@{
/// TStr::findMarker(): byte position of the first marker, or -1.
EZU_API int str_find_marker(const StrBuf* buf, const char* open, const char* close, int* length,
                            int from);
/// TStr::escaped(): each character of `chars` as "!{", lower-case hex, "}".
EZU_API StrBuf* str_escape(const StrBuf* buf, const StrBuf* chars);
/// TStr::unescaped().
EZU_API StrBuf* str_unescape(const StrBuf* buf);
//@}

#endif
