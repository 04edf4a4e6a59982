// Number text, reading: a strict integer parser in radix 2 to 36 and strtod
// for floating-point values, plus the character tests the parser uses.
//
// strtod reads with the C locale's decimal point ("."), since the library
// never calls setlocale.
#include "ezu/strings/strbuf.h"

#include "ezu/core/encoding.h"

#include <float.h>
#include <limits.h>
#include <math.h>
#include <stdlib.h>

namespace {

// Walks a text character by character with a count of characters left.
struct Cursor {
    const char* p;
    int left;

    bool done() const { return left <= 0; }
    void step() {
        const int n = str_utf8_seq_len(static_cast<unsigned char>(*p));
        int j = 1;
        while (j < n && p[j])
            ++j;
        p += j;
        --left;
    }
    void skip_space() {
        while (!done() && str_is_space(p))
            step();
    }
};

const unsigned long long kMaxPositive = 0x7FFFFFFFFFFFFFFFull;

// The value of a digit already known to be a digit of some radix.
int digit_of(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 87;
    return c - 55;
}

// Reads the digits at the cursor into `*magnitude`; false when the value
// passes `limit` (2^63 - 1, or 2^63 for a negative number).
bool read_digits(Cursor& at, int radix, unsigned long long limit, unsigned long long* magnitude) {
    unsigned long long value = 0;
    while (!at.done() && str_is_radix_digit(at.p, radix)) {
        const unsigned digit = unsigned(digit_of(*at.p));
        if (value > (limit - digit) / unsigned(radix))
            return false;
        value = value * unsigned(radix) + digit;
        at.step();
    }
    *magnitude = value;
    return true;
}

long long parse_int64(const StrBuf* buf, int radix, bool* valid) {
    *valid = false;
    if (radix < 2 || radix > 36 || str_is_null(buf))
        return 0;
    Cursor at = {buf->data, str_length(buf)};
    at.skip_space();
    if (at.done())
        return 0;
    bool negative = false;
    if (*at.p == '-' || *at.p == '+') {
        negative = *at.p == '-';
        at.step();
    }
    if (at.done() || !str_is_radix_digit(at.p, radix))
        return 0;
    // The most negative value has a magnitude one above the largest
    // positive one; it is accepted in every radix, anything beyond is not.
    unsigned long long magnitude = 0;
    if (!read_digits(at, radix, kMaxPositive + (negative ? 1 : 0), &magnitude))
        return 0;
    at.skip_space();
    if (!at.done())
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
    char* end = nullptr;
    const double value = strtod(buf->data, &end);
    set_flag(ok, buf->data[0] != 0 && end && *end == 0);
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
