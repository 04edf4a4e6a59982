// TStr: the string class every other class and service passes around.
//
// A TStr owns one StrBuf (UTF-8) and a one-entry cache of the text converted
// into another encoding (the "view"). It has value semantics: copies copy the
// text, never the view. Null state and empty text are both empty, but compare
// unequal.
#ifndef EZU_STRINGS_TSTR_H
#define EZU_STRINGS_TSTR_H

#include "ezu/ezu_export.h"

#include "ezu/ezu_wchar.h"
#include "ezu/strings/strbuf.h"

#include <stddef.h>
#include <stdint.h>

#include <initializer_list>

class EZU_API TStr {
  public:
    TStr();
    TStr(const char* text); // 7-bit text; a byte above 127 becomes "?"
    explicit TStr(char c);
    explicit TStr(unsigned code); // one character given as a UTF-32 value
    TStr(const void* data, int nbytes, int encoding);
    TStr(const TStr& other);
    virtual ~TStr();

    // Takes over a record built by a lower-tier function, without copying.
    static TStr adopt(StrBuf* buf);

    TStr& operator=(const TStr& other);
    TStr& assign(const char* text, int nbytes = -1);
    bool assignUtf8(const char* text);
    bool assignUtf16bom(const void* data, int nbytes);
    bool assignUtf16be(const void* data, int nbytes);
    bool assignUtf16le(const void* data, int nbytes);
    bool assignUtf32(const void* data, int nbytes);

    int length() const;
    bool isEmpty() const;
    bool isNull() const;
    int charAt(int i) const;
    int hash() const;
    StrBuf* buffer() const { return buf_; }
    // Counts the changes made to the text through this string's operations
    // (every one that drops the view). A reader that remembers facts about
    // the text (its length, where a position lies) compares the count to know
    // they still hold. Changes made to buffer() directly are not counted.
    unsigned changeCount() const { return changes_; }

    bool operator==(const TStr& other) const;
    bool operator!=(const TStr& other) const;
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const;

    TStr& append(const TStr& other);
    TStr& operator+=(const TStr& other);
    TStr& operator+=(const char* text);
    TStr& operator+=(char c);
    TStr& operator+=(unsigned code);
    TStr operator+(const TStr& other) const;
    TStr operator+(const char* text) const;
    TStr operator+(char c) const;
    TStr operator+(unsigned code) const;

    // Encoded views: valid until the string changes, another view is asked
    // for, or the string is destroyed.
    const char* ascii() const;
    const EzuWChar* utf16le() const;
    const void* utf16be() const;
    const void* utf16bom() const;

    bool exportTo(void* out, int size, int encoding) const;
    bool exportAscii(char* out, int size) const;
    bool exportUtf8(char* out, int size) const;
    bool exportUtf16bom(void* out, int size) const;
    bool exportUtf16be(void* out, int size) const;
    bool exportUtf16le(void* out, int size) const;
    bool exportUtf32(void* out, int size) const;
    int exportAsciiSized(char* out, int* size_in_out) const;
    char* toAscii(char* out, int size) const;
    char* toUtf8(char* out, int size) const;
    char* newAscii() const;
    void* newUtf8() const;
    void* newUtf16bom() const;
    char* reserve(int n);

    // Placeholder substitution: replaces the lowest-numbered "%1".."%9".
    TStr arg(const TStr& value, int width = 0) const;
    TStr arg(const char* value, int width = 0) const;
    TStr arg(char value, int width = 0) const;
    TStr arg(int value, int width = 0, int base = 10) const;
    TStr arg(long value, int width = 0, int base = 10) const;
    // long long keeps 64 bits on every host (long has 32 bits on Windows).
    // The unsigned forms take every value of their type; with one form per
    // integer type, the sized types (size_t, uint64_t) pick one on every host.
    TStr arg(long long value, int width = 0, int base = 10) const;
    TStr arg(unsigned value, int width = 0, int base = 10) const;
    TStr arg(unsigned long value, int width = 0, int base = 10) const;
    TStr arg(unsigned long long value, int width = 0, int base = 10) const;
    TStr arg(double value, int width = 0, char format = 'g', int precision = -1) const;
    TStr arg(float value, int width = 0, char format = 'g', int precision = -1) const;
    // One-pass substitution: "%n" takes the n-th value (n from 1 to 9) in
    // every place at once. Text that came from a value is never scanned
    // again, so values holding "%1" stay as they are; placeholders without a
    // value stay as written. Values past the ninth are ignored.
    TStr args(std::initializer_list<TStr> values) const;
    static TStr number(int value, int base = 10);

    int find(const TStr& needle, int from = 0, bool caseSensitive = true) const;
    int find(const char* needle, int from = 0, bool caseSensitive = true) const;
    int find(char c, int from = 0, bool caseSensitive = true) const;
    TStr mid(int start, int nbytes = -1) const;
    TStr left(int n) const;
    TStr right(int n) const;
    char* truncate(int n);
    TStr upper() const;
    TStr lower() const;
    TStr trimmed() const;
    TStr simplified() const;
    TStr& replace(const TStr& what, const TStr& with);
    TStr& translate(const TStr& chars, const TStr& with);
    TStr takeToken(const TStr& chars);
    TStr takeUntil(const TStr& separator);
    TStr takeLastToken(const TStr& chars);
    TStr takeAfterLast(const TStr& separator);
    TStr& appendWithSeparator(const TStr& other, const TStr& separator);
    TStr& prependWithSeparator(const TStr& other, const TStr& separator);

    int toInt(bool* ok = nullptr, int base = 10) const;
    int toLong(bool* ok = nullptr, int base = 10) const;
    double toDouble(bool* ok = nullptr) const;
    float toFloat(bool* ok = nullptr) const;

    int findMarker(const TStr& open, const TStr& close, int* length, int from = 0) const;
    TStr escaped(const TStr& chars) const;
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
    // an append the remembered end of the text (tstr.cpp).
    mutable void* view_;
    unsigned changes_ = 0;
};

EZU_API bool operator==(const char* text, const TStr& str);
EZU_API bool operator!=(const char* text, const TStr& str);

// A TStr from zero-terminated UTF-16 (little-endian on every host ezu runs on).
EZU_API TStr ezuFromWide(const EzuWChar* text);

// The shared empty string, the default value where an operation needs one.
extern EZU_API const TStr ezuEmptyStr;

#endif
