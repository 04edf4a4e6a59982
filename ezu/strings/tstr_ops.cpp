// The TStr text operations: each method hands its work to the str_ function
// of the same role. Methods that return a string adopt the record that
// function builds (a null-state TStr when it builds none); methods that
// change the string drop the view first.
#include "ezu/strings/tstr.h"

#include "ezu/strings/str_ops_internal.h"

#include <string.h>

namespace {

TStr adopted(StrBuf* record) {
    return record ? TStr::adopt(record) : TStr();
}

// Substitutes an integer's text, written into a scratch area of our own.
TStr arg_number(const StrBuf* pattern, long long value, int width, int base) {
    char scratch[kStrOpsIntChars];
    int n = 0;
    const char* text = str_ops_int64_text(value, base, scratch, &n);
    return adopted(str_ops_arg_text(pattern, text, size_t(n), width));
}

TStr arg_unsigned(const StrBuf* pattern, unsigned long long value, int width, int base) {
    char scratch[kStrOpsIntChars];
    int n = 0;
    const char* text = str_ops_digits_text(value, false, base, scratch, &n);
    return adopted(str_ops_arg_text(pattern, text, size_t(n), width));
}

// True when every byte of `text` is 7-bit, so that reading it in encoding 0
// would give the same bytes back.
bool all_7bit(const char* text) {
    for (; *text; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    }
    return true;
}

// Substitutes a value built by a number writer, then releases it.
TStr arg_of(const StrBuf* pattern, StrBuf* value, int width) {
    TStr result = adopted(str_arg(pattern, value, width));
    str_free(value);
    return result;
}

// A copy of `buf` changed in place by `op`.
TStr changed_copy(const StrBuf* buf, void (*op)(StrBuf*)) {
    StrBuf* copy = str_dup(buf);
    if (copy)
        op(copy);
    return adopted(copy);
}

const char* text_or_null(const TStr& s) {
    return s.buffer()->data;
}

} // namespace

TStr TStr::arg(const TStr& value, int width) const {
    return adopted(str_arg(buf_, value.buf_, width));
}

TStr TStr::arg(const char* value, int width) const {
    // 7-bit text reads back unchanged in encoding 0: no conversion needed.
    if (!value)
        return adopted(str_ops_arg_text(buf_, "", 0, width));
    if (all_7bit(value))
        return adopted(str_ops_arg_text(buf_, value, strlen(value), width));
    return arg(TStr(value), width);
}

TStr TStr::arg(char value, int width) const {
    // One character read in encoding 0: a byte above 127 is "?", the zero
    // character is empty text.
    const char text[2] = {static_cast<unsigned char>(value) >= 0x80 ? '?' : value, 0};
    return adopted(str_ops_arg_text(buf_, text, value ? 1 : 0, width));
}

TStr TStr::arg(int value, int width, int base) const {
    return arg_number(buf_, value, width, base);
}

TStr TStr::arg(long value, int width, int base) const {
    return arg_number(buf_, value, width, base);
}

TStr TStr::arg(long long value, int width, int base) const {
    return arg_number(buf_, value, width, base);
}

TStr TStr::arg(unsigned value, int width, int base) const {
    return arg_unsigned(buf_, value, width, base);
}

TStr TStr::arg(unsigned long value, int width, int base) const {
    return arg_unsigned(buf_, value, width, base);
}

TStr TStr::arg(unsigned long long value, int width, int base) const {
    return arg_unsigned(buf_, value, width, base);
}

TStr TStr::arg(double value, int width, char format, int precision) const {
    return arg_of(buf_, str_from_double(value, format, precision), width);
}

TStr TStr::arg(float value, int width, char format, int precision) const {
    return arg_of(buf_, str_from_float(value, format, precision), width);
}

TStr TStr::number(int value, int base) {
    return adopted(str_from_int64(value, base));
}

int TStr::find(const TStr& needle, int from, bool caseSensitive) const {
    return str_find(buf_, text_or_null(needle), from, caseSensitive);
}

int TStr::find(const char* needle, int from, bool caseSensitive) const {
    return str_find(buf_, needle, from, caseSensitive);
}

int TStr::find(char c, int from, bool caseSensitive) const {
    const char needle[2] = {c, 0};
    return str_find(buf_, needle, from, caseSensitive);
}

TStr TStr::mid(int start, int nbytes) const {
    return adopted(str_mid(buf_, start, nbytes));
}

TStr TStr::left(int n) const {
    return adopted(str_left(buf_, n));
}

TStr TStr::right(int n) const {
    return adopted(str_right(buf_, n));
}

char* TStr::truncate(int n) {
    dropView();
    return str_truncate(buf_, n);
}

TStr TStr::upper() const {
    return changed_copy(buf_, str_upper);
}

TStr TStr::lower() const {
    return changed_copy(buf_, str_lower);
}

TStr TStr::trimmed() const {
    return changed_copy(buf_, str_trim);
}

TStr TStr::simplified() const {
    return changed_copy(buf_, str_simplify);
}

TStr& TStr::replace(const TStr& what, const TStr& with) {
    dropView();
    str_replace(buf_, what.buf_, with.buf_);
    return *this;
}

TStr& TStr::translate(const TStr& chars, const TStr& with) {
    StrBuf* result = str_translate(buf_, chars.buf_, with.buf_);
    if (!result)
        return *this;
    dropView();
    // The new text takes the place of the old in this string's own record.
    StrBuf old = *buf_;
    *buf_ = *result;
    *result = old;
    str_free(result);
    return *this;
}

TStr TStr::takeToken(const TStr& chars) {
    dropView();
    return adopted(str_take_token(buf_, chars.buf_, nullptr));
}

TStr TStr::takeUntil(const TStr& separator) {
    dropView();
    return adopted(str_take_until(buf_, separator.buf_));
}

TStr TStr::takeLastToken(const TStr& chars) {
    dropView();
    return adopted(str_take_last_token(buf_, chars.buf_, nullptr));
}

TStr TStr::takeAfterLast(const TStr& separator) {
    dropView();
    return adopted(str_take_after_last(buf_, separator.buf_));
}

TStr& TStr::prependWithSeparator(const TStr& other, const TStr& separator) {
    dropView();
    str_prepend_sep(buf_, other.buf_, separator.buf_);
    return *this;
}

int TStr::toInt(bool* ok, int base) const {
    int valid = 0;
    const int value = str_to_int(buf_, &valid, base);
    if (ok)
        *ok = valid != 0;
    return value;
}

int TStr::toLong(bool* ok, int base) const {
    int valid = 0;
    const int value = str_to_long(buf_, &valid, base);
    if (ok)
        *ok = valid != 0;
    return value;
}

double TStr::toDouble(bool* ok) const {
    int valid = 0;
    const double value = str_to_double(buf_, &valid);
    if (ok)
        *ok = valid != 0;
    return value;
}

float TStr::toFloat(bool* ok) const {
    int valid = 0;
    const float value = str_to_float(buf_, &valid);
    if (ok)
        *ok = valid != 0;
    return value;
}

int TStr::findMarker(const TStr& open, const TStr& close, int* length, int from) const {
    return str_find_marker(buf_, text_or_null(open), text_or_null(close), length, from);
}

TStr TStr::escaped(const TStr& chars) const {
    return adopted(str_escape(buf_, chars.buf_));
}

TStr TStr::unescaped() const {
    return adopted(str_unescape(buf_));
}
