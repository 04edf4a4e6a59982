// Number text, reading: a strict integer parser in radix 2 to 36 and strtod
// for floating-point values (with "." as the decimal point whatever locale the
// program has set), plus the character tests the parser uses.
#include "ezu/strings/str_ops_internal.h"

#include <float.h>
#include <limits.h>
#include <math.h>

namespace {

const unsigned long long kMaxPositive = 0x7FFFFFFFFFFFFFFFull;

// The value of every byte as a digit: 0 to 9 for '0' to '9', 10 to 35 for
// the letters of either case, and 99 for every other byte, so a byte is a
// digit of radix r exactly when its value is below r.
struct DigitTable {
    unsigned char value[256];
    DigitTable() {
        for (int c = 0; c < 256; ++c)
            value[c] = 99;
        for (int c = '0'; c <= '9'; ++c)
            value[c] = static_cast<unsigned char>(c - '0');
        for (int c = 'a'; c <= 'z'; ++c)
            value[c] = static_cast<unsigned char>(c - 'a' + 10);
        for (int c = 'A'; c <= 'Z'; ++c)
            value[c] = static_cast<unsigned char>(c - 'A' + 10);
    }
};

const DigitTable kDigitTable;

inline unsigned digit_value(char c) {
    return kDigitTable.value[static_cast<unsigned char>(c)];
}

inline bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Every byte the parser consumes (white space, sign, digits) is a whole
// one-byte character, so walking bytes visits the same characters as
// stepping by lead bytes would, and the text is used up exactly when the
// terminator is reached.
long long parse_int64(const StrBuf* buf, int radix, bool* valid) {
    *valid = false;
    if (radix < 2 || radix > 36 || !buf || !buf->data)
        return 0;
    const char* p = buf->data;
    while (is_space(*p))
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    unsigned digit = digit_value(*p);
    if (digit >= unsigned(radix))
        return 0;
    unsigned long long magnitude = 0;
    if (radix == 10) {
        // Eighteen decimal digits stay below 10^18 < 2^63: no check needed.
        int i = 0;
        for (unsigned d; i < 18 && (d = unsigned(p[i] - '0')) < 10; ++i)
            magnitude = magnitude * 10 + d;
        p += i;
        digit = digit_value(*p);
    }
    if (digit < unsigned(radix)) {
        // The most negative value has a magnitude one above the largest
        // positive one; it is accepted in every radix, anything beyond is not.
        const unsigned long long limit = kMaxPositive + (negative ? 1 : 0);
        const unsigned long long cutoff = limit / unsigned(radix);
        const unsigned cutlim = unsigned(limit % unsigned(radix));
        do {
            if (magnitude > cutoff || (magnitude == cutoff && digit > cutlim))
                return 0;
            magnitude = magnitude * unsigned(radix) + digit;
            digit = digit_value(*++p);
        } while (digit < unsigned(radix));
    }
    while (is_space(*p))
        ++p;
    if (*p)
        return 0;
    *valid = true;
    if (!negative)
        return (long long)magnitude;
    if (magnitude > kMaxPositive)
        return LLONG_MIN;
    return -(long long)magnitude;
}

void set_flag(int* ok, bool value) {
    if (ok)
        *ok = value ? 1 : 0;
}

} // namespace

int str_is_space(const char* c) {
    return c && (*c == ' ' || *c == '\t' || *c == '\n') ? 1 : 0;
}

int str_is_digit(const char* c) {
    return c && *c >= '0' && *c <= '9' ? 1 : 0;
}

int str_digit_value(const char* c) {
    return str_is_digit(c) ? *c - '0' : -1;
}

int str_is_radix_digit(const char* c, int radix) {
    if (!c || radix < 2 || radix > 36)
        return 0;
    // Compared as signed bytes: nothing from 0x80 up is a digit.
    const signed char ch = static_cast<signed char>(*c);
    if (radix <= 10)
        return ch >= '0' && ch < '0' + radix ? 1 : 0;
    if (ch >= '0' && ch <= '9')
        return 1;
    if (ch >= 'a' && ch < 'a' + radix - 10)
        return 1;
    return ch >= 'A' && ch < 'A' + radix - 10 ? 1 : 0;
}

long long str_to_int64(const StrBuf* buf, int* ok, int radix) {
    bool valid = false;
    const long long value = parse_int64(buf, radix, &valid);
    set_flag(ok, valid);
    return value;
}

int str_to_int(const StrBuf* buf, int* ok, int radix) {
    bool valid = false;
    const long long value = parse_int64(buf, radix, &valid);
    if (!valid || value < INT_MIN || value > INT_MAX) {
        set_flag(ok, false);
        return 0;
    }
    set_flag(ok, true);
    return int(value);
}

int str_to_long(const StrBuf* buf, int* ok, int radix) {
    return str_to_int(buf, ok, radix);
}

double str_to_double(const StrBuf* buf, int* ok) {
    if (str_is_null(buf)) {
        set_flag(ok, false);
        return 0;
    }
    const char* end = nullptr;
    const double value = str_ops_read_double(buf->data, &end);
    set_flag(ok, buf->data[0] != 0 && *end == 0);
    return value;
}

float str_to_float(const StrBuf* buf, int* ok) {
    const double value = str_to_double(buf, ok);
    // A double from half a unit in the last place above FLT_MAX on rounds to
    // the infinity of its sign; below that it rounds to a finite float (the
    // float writer's text of FLT_MAX reads as slightly more than FLT_MAX).
    const double overflow = double(FLT_MAX) + ldexp(1.0, FLT_MAX_EXP - FLT_MANT_DIG - 1);
    if (value >= overflow)
        return HUGE_VALF;
    if (value <= -overflow)
        return -HUGE_VALF;
    return float(value);
}
