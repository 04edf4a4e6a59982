/// @file
/// TStr: the string class every other class and service passes around.
///
/// A TStr owns one StrBuf (UTF-8) and a one-entry cache of the text converted
/// into another encoding (the "view"). It has value semantics: copies copy the
/// text, never the view. Null state and empty text are both empty, but compare
/// unequal.
#ifndef EZU_STRINGS_TSTR_H
#define EZU_STRINGS_TSTR_H

#include "ezu/ezu_export.h"

#include "ezu/ezu_wchar.h"
#include "ezu/strings/strbuf.h"

#include <stddef.h>
#include <stdint.h>

#include <initializer_list>

/// A string of UTF-8 text with value semantics. Lengths and positions count
/// characters, except where a method says bytes. Nothing throws: out-of-range
/// positions and counts are clamped, and text that cannot be read gives the
/// null state.
class EZU_API TStr {
  public:
    /// The null state: no text at all (isNull() and isEmpty() are true).
    TStr();
    TStr(const char* text); ///< 7-bit text; a byte above 127 becomes "?"
    /// One 7-bit character; above 127 gives "?", the zero character gives
    /// empty text.
    explicit TStr(char c);
    explicit TStr(unsigned code); ///< one character given as a UTF-32 value
    /// At most `nbytes` bytes of `data` read in `encoding` (0 to 5), ending at
    /// the first zero character. An invalid encoding or input the encoding
    /// core rejects gives the null state.
    TStr(const void* data, int nbytes, int encoding);
    /// A copy of the text; a copy of a null-state string is empty text.
    TStr(const TStr& other);
    /// Releases the text and the view.
    virtual ~TStr();

    /// Takes over a record built by a lower-tier function, without copying.
    /// The string owns it from then on; null gives the null state.
    static TStr adopt(StrBuf* buf);

    /// Copies the text of `other` (self-assignment changes nothing).
    TStr& operator=(const TStr& other);
    /// Replaces the text with `nbytes` bytes of 7-bit `text` (-1: up to its
    /// zero byte); a byte above 127 becomes "?". Returns this string.
    TStr& assign(const char* text, int nbytes = -1);
    /// Replaces the text with the zero-terminated UTF-8 `text`; text the
    /// encoding core rejects leaves the null state. Returns true.
    bool assignUtf8(const char* text);
    /// Replaces the text with `nbytes` bytes of UTF-16 with a byte-order
    /// mark; rejected input leaves the null state. Returns true.
    bool assignUtf16bom(const void* data, int nbytes);
    /// As assignUtf16bom(), from big-endian UTF-16.
    bool assignUtf16be(const void* data, int nbytes);
    /// As assignUtf16bom(), from little-endian UTF-16.
    bool assignUtf16le(const void* data, int nbytes);
    /// As assignUtf16bom(), from UTF-32 in machine order.
    bool assignUtf32(const void* data, int nbytes);

    /// Number of characters; 0 for the null state.
    int length() const;
    /// True for the null state and for empty text.
    bool isEmpty() const;
    /// True only for the null state.
    bool isNull() const;
    /// The first byte of character `i`, sign-extended; 0 when `i` is negative
    /// or not below length().
    int charAt(int i) const;
    /// The bucket selector of the maps: the first four bytes read
    /// little-endian for text longer than four bytes, else the bytes shifted
    /// together; 0 for the null state.
    int hash() const;
    /// The string's own record, for the lower-tier str_ and path_ functions.
    StrBuf* buffer() const { return buf_; }
    /// Counts the changes made to the text through this string's operations
    /// (every one that drops the view). A reader that remembers facts about
    /// the text (its length, where a position lies) compares the count to know
    /// they still hold. Changes made to buffer() directly are not counted.
    unsigned changeCount() const { return changes_; }

    /// Byte-wise equality; the null state equals only the null state.
    bool operator==(const TStr& other) const;
    /// Negation of operator==().
    bool operator!=(const TStr& other) const;
    /// Compares the stored UTF-8 bytes with `text` as it stands; a null
    /// `text` equals only the null state.
    bool operator==(const char* text) const;
    /// Negation of operator==(const char*).
    bool operator!=(const char* text) const;

    /// Appends the text of `other` and returns this string. Appending a
    /// null-state string changes nothing; appending empty text to a
    /// null-state string gives empty text.
    TStr& append(const TStr& other);
    /// Same as append().
    TStr& operator+=(const TStr& other);
    /// Appends 7-bit `text` (a byte above 127 becomes "?").
    TStr& operator+=(const char* text);
    /// Appends one 7-bit character (above 127 becomes "?").
    TStr& operator+=(char c);
    /// Appends one character given as a UTF-32 value.
    TStr& operator+=(unsigned code);
    /// A new string: this text followed by `other`'s.
    TStr operator+(const TStr& other) const;
    /// A new string: this text followed by 7-bit `text`.
    TStr operator+(const char* text) const;
    /// A new string: this text followed by one 7-bit character.
    TStr operator+(char c) const;
    /// A new string: this text followed by one UTF-32 character.
    TStr operator+(unsigned code) const;

    /// @name Encoded views
    /// Encoded views: valid until the string changes, another view is asked
    /// for, or the string is destroyed. A null-state string gives a view
    /// holding only the terminator.
    //@{
    /// The 7-bit form, every character above 127 as "?": the form the
    /// run-time's narrow functions take.
    const char* ascii() const;
    /// Zero-terminated little-endian UTF-16: the form Windows wide calls take.
    const EzuWChar* utf16le() const;
    /// Zero-terminated big-endian UTF-16.
    const void* utf16be() const;
    /// Zero-terminated UTF-16 behind a byte-order mark.
    const void* utf16bom() const;
    //@}

    /// Converts the text into `encoding` in the caller's `out` of `size`
    /// bytes, terminator included. False, with nothing written, when the
    /// encoding is invalid or `size` is too small.
    bool exportTo(void* out, int size, int encoding) const;
    /// exportTo() in the 7-bit encoding.
    bool exportAscii(char* out, int size) const;
    /// exportTo() in UTF-8.
    bool exportUtf8(char* out, int size) const;
    /// exportTo() in UTF-16 with a byte-order mark.
    bool exportUtf16bom(void* out, int size) const;
    /// exportTo() in big-endian UTF-16.
    bool exportUtf16be(void* out, int size) const;
    /// exportTo() in little-endian UTF-16.
    bool exportUtf16le(void* out, int size) const;
    /// exportTo() in UTF-32, machine order.
    bool exportUtf32(void* out, int size) const;
    /// The 7-bit form into `out`; returns the bytes written. When
    /// `*size_in_out` is too small, it is raised to the size needed plus one
    /// and 0 is returned. A null-state string writes empty text.
    int exportAsciiSized(char* out, int* size_in_out) const;
    /// The 7-bit form into `out` of `size` bytes; returns `out`.
    char* toAscii(char* out, int size) const;
    /// The UTF-8 text into `out` of `size` bytes; returns `out`.
    char* toUtf8(char* out, int size) const;
    /// The 7-bit form in a new guarded block the caller releases with
    /// mem_free; null on failure.
    char* newAscii() const;
    /// The UTF-8 text in a new guarded block (release with mem_free); null on
    /// failure.
    void* newUtf8() const;
    /// UTF-16 with a byte-order mark in a new guarded block (release with
    /// mem_free); null on failure.
    void* newUtf16bom() const;
    /// Makes the text block at least `n` bytes long (growing it to n + 1
    /// bytes when it is shorter) and returns the writable text, or null when
    /// the block cannot grow. Bytes written there are not counted by
    /// changeCount().
    char* reserve(int n);

    /// @name Placeholder substitution
    /// Placeholder substitution: replaces the lowest-numbered "%1".."%9".
    /// Every place holding that number gets the value; the rest of the
    /// pattern, the inserted text included, is left for the next call, so
    /// values are supplied in order by chaining. A pattern without a
    /// placeholder comes back unchanged. `width` pads the value with blanks
    /// to that many characters, on the left when positive and on the right
    /// when negative; integers are written in `base`, floating-point values
    /// with `format` ('e', 'f' or 'g') and `precision` (-1: the default).
    //@{
    /// Substitutes `value`'s text (the null state as empty text).
    TStr arg(const TStr& value, int width = 0) const;
    /// Substitutes 7-bit `value`.
    TStr arg(const char* value, int width = 0) const;
    /// Substitutes one 7-bit character.
    TStr arg(char value, int width = 0) const;
    /// Substitutes `value` written in `base`.
    TStr arg(int value, int width = 0, int base = 10) const;
    /// Substitutes `value` written in `base`.
    TStr arg(long value, int width = 0, int base = 10) const;
    /// long long keeps 64 bits on every host (long has 32 bits on Windows).
    /// The unsigned forms take every value of their type; with one form per
    /// integer type, the sized types (size_t, uint64_t) pick one on every host.
    TStr arg(long long value, int width = 0, int base = 10) const;
    /// Substitutes `value` written in `base`.
    TStr arg(unsigned value, int width = 0, int base = 10) const;
    /// Substitutes `value` written in `base`.
    TStr arg(unsigned long value, int width = 0, int base = 10) const;
    /// Substitutes `value` written in `base`.
    TStr arg(unsigned long long value, int width = 0, int base = 10) const;
    /// Substitutes `value` written with `format` and `precision`.
    TStr arg(double value, int width = 0, char format = 'g', int precision = -1) const;
    /// Substitutes `value` written with `format` and `precision`.
    TStr arg(float value, int width = 0, char format = 'g', int precision = -1) const;
    //@}
    /// One-pass substitution: "%n" takes the n-th value (n from 1 to 9) in
    /// every place at once. Text that came from a value is never scanned
    /// again, so values holding "%1" stay as they are; placeholders without a
    /// value stay as written. Values past the ninth are ignored.
    TStr args(std::initializer_list<TStr> values) const;
    /// `value` as text in `base`.
    static TStr number(int value, int base = 10);

    /// Byte offset of the first occurrence of `needle` at or after character
    /// `from`, or -1. An empty needle is found at `from`; a search from beyond
    /// the end finds nothing. Case-insensitive search folds ASCII letters only.
    int find(const TStr& needle, int from = 0, bool caseSensitive = true) const;
    /// find() for a needle given as bytes taken as they stand.
    int find(const char* needle, int from = 0, bool caseSensitive = true) const;
    /// find() for one byte.
    int find(char c, int from = 0, bool caseSensitive = true) const;
    /// A copy of at most `nbytes` bytes from character `start` on, ending at
    /// the last whole character within them (-1: to the end). A start beyond
    /// the end gives empty text.
    TStr mid(int start, int nbytes = -1) const;
    /// The first `n` characters; a negative `n` or one above the length gives
    /// the whole text.
    TStr left(int n) const;
    /// The last `n` characters; 0 or a negative `n` gives empty text.
    TStr right(int n) const;
    /// Cuts the text after `n` characters in place; returns the cut position,
    /// or null when the text is shorter.
    char* truncate(int n);
    /// A copy with the ASCII letters in upper case; other bytes unchanged.
    TStr upper() const;
    /// A copy with the ASCII letters in lower case; other bytes unchanged.
    TStr lower() const;
    /// A copy without leading and trailing white space.
    TStr trimmed() const;
    /// trimmed(), with every inner run of white space as one blank.
    TStr simplified() const;
    /// Replaces every occurrence of `what` by `with`, left to right, in place;
    /// unchanged when nothing matches or the result would not fit a block.
    /// Returns this string.
    TStr& replace(const TStr& what, const TStr& with);
    /// Replaces each run of bytes found in `chars` by `with`, in place: the
    /// pieces between the runs are joined as TEzuStrList::join joins them, so
    /// runs at either end are dropped and text of nothing but such bytes
    /// becomes empty text. 'a//b/' with "/" and "_" gives 'a_b'. Returns this
    /// string.
    TStr& translate(const TStr& chars, const TStr& with);
    /// Removes and returns the text before the first byte found in `chars`;
    /// that byte and the separator bytes right after it go too, and the rest
    /// stays. Without a separator the whole text is the token and the null
    /// state stays; empty text gives no token (the null state).
    TStr takeToken(const TStr& chars);
    /// Removes and returns the text before the first `separator`; the text
    /// after it stays. Without a separator the whole text is the token and
    /// the null state stays.
    TStr takeUntil(const TStr& separator);
    /// Removes and returns the text after the last byte found in `chars`;
    /// the front stays, without that byte and the separator bytes right
    /// before it. Without a separator the token is a copy of the whole text,
    /// which stays as it is.
    TStr takeLastToken(const TStr& chars);
    /// Removes and returns the text after the last `separator` that starts at
    /// or after the second byte; the front stays. Without one the whole text
    /// is the token and the null state stays.
    TStr takeAfterLast(const TStr& separator);
    /// Appends `other` with exactly one `separator` between the two (none is
    /// added when either side already has it there, and one of two is
    /// dropped). Empty `other` adds nothing; a null-state string takes
    /// `other` as it is, while empty text gets the separator in front.
    /// Returns this string.
    TStr& appendWithSeparator(const TStr& other, const TStr& separator);
    /// As appendWithSeparator(), putting `other` in front.
    TStr& prependWithSeparator(const TStr& other, const TStr& separator);

    /// The whole text read as an integer in `base`, surrounded by white space
    /// at most, with one optional sign. Text that is no number or lies
    /// outside the 32-bit range gives 0; `*ok` (when given) says which.
    int toInt(bool* ok = nullptr, int base = 10) const;
    /// Same as toInt().
    int toLong(bool* ok = nullptr, int base = 10) const;
    /// The number at the start of the text, read with "." as the decimal
    /// point (0 when there is none); `*ok` (when given) is true only when the
    /// text is not empty and was read to its end (leading white space is
    /// accepted, trailing white space is not).
    double toDouble(bool* ok = nullptr) const;
    /// toDouble() narrowed to float.
    float toFloat(bool* ok = nullptr) const;

    /// Byte position of the first marker (`open`, text, `close`) at or after
    /// character `from`, or -1; `*length` gets the marker's length in bytes.
    /// Empty delimiters find nothing.
    int findMarker(const TStr& open, const TStr& close, int* length, int from = 0) const;
    /// A copy in which each character found in `chars` is written as "!{",
    /// its code point in hex and "}" (see str_escape()).
    TStr escaped(const TStr& chars) const;
    /// A copy in which each "!{" hex "}" marker naming a character is
    /// replaced by that character; other markers stay as written.
    TStr unescaped() const;

  private:
    struct Adopt {};
    TStr(StrBuf* buf, Adopt);
    void dropView();
    static void releaseView(void* view);
    size_t textEnd(bool* whole) const;
    bool appendPlain(const char* text, size_t n, bool text_whole);
    const void* view(int encoding) const;
    // Replaces the text with `nbytes` of `data` in `encoding`; the source may
    // lie in this string's own view.
    bool assignEncoded(const void* data, int nbytes, int encoding);

    StrBuf* buf_;
    // Guarded block (encoding number, converted text, spare zero), or after
    // an append or a construction from bytes the remembered end of the text
    // (tstr.cpp).
    mutable void* view_;
    unsigned changes_ = 0;
};

/// True when `str` equals the bytes of `text` (see TStr::operator==).
EZU_API bool operator==(const char* text, const TStr& str);
/// Negation of the operator== above.
EZU_API bool operator!=(const char* text, const TStr& str);

/// A TStr from zero-terminated UTF-16 (little-endian on every host ezu runs on).
EZU_API TStr ezuFromWide(const EzuWChar* text);

/// The shared empty string, the default value where an operation needs one.
extern EZU_API const TStr ezuEmptyStr;

#endif
