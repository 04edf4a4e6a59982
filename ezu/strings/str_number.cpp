// Number text, writing: integers in any radix from 2 to 36 by our own digit
// loop, floating-point values through the standard formatted output.
//
// The library never calls setlocale, so the formatted output uses the C
// locale's decimal point (".") unless the program changes the locale itself.
#include "ezu/strings/strbuf.h"

#include "ezu/core/encoding.h"

#include <stdio.h>

namespace {

const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";

// Writes `precision` (0 to 99) in decimal at `out`; returns the characters written.
int put_precision(char* out, int precision) {
    int n = 0;
    if (precision >= 10)
        out[n++] = char('0' + precision / 10);
    out[n++] = char('0' + precision % 10);
    return n;
}

} // namespace

StrBuf* str_from_int64(long long value, int radix) {
    if (radix < 2 || radix > 36)
        radix = 10;
    // The magnitude is taken in unsigned arithmetic, so the most negative
    // value is never negated as a signed number.
    const bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ull - (unsigned long long)value : value;
    char scratch[72]; // 64 binary digits and a sign fit
    int at = int(sizeof scratch);
    do {
        scratch[--at] = kDigits[magnitude % unsigned(radix)];
        magnitude /= unsigned(radix);
    } while (magnitude);
    if (negative)
        scratch[--at] = '-';
    return str_from_bytes(scratch + at, int(sizeof scratch) - at, ENC_ASCII);
}

StrBuf* str_from_int(int value, int radix) {
    return str_from_int64(value, radix);
}

StrBuf* str_from_long(long value, int radix) {
    return str_from_int64(value, radix);
}

StrBuf* str_from_double(double value, char letter, int precision) {
    switch (letter) {
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        break;
    default:
        letter = 'f';
    }
    // '%', optionally '.' and the precision (at most 99), 'l', the letter.
    char format[20];
    int n = 0;
    format[n++] = '%';
    if (precision >= 0) {
        format[n++] = '.';
        n += put_precision(format + n, precision > 99 ? 99 : precision);
    }
    format[n++] = 'l';
    format[n++] = letter;
    format[n] = 0;
    // With the precision capped at 99 the longest text, the largest double
    // in 'f' form, fits.
    char text[512];
    int written = snprintf(text, sizeof text, format, value);
    if (written < 0)
        written = 0;
    if (written >= int(sizeof text))
        written = int(sizeof text) - 1;
    return str_from_bytes(text, written, ENC_ASCII);
}

StrBuf* str_from_float(float value, char letter, int precision) {
    return str_from_double(double(value), letter, precision);
}
