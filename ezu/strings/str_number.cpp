// Number text, writing: integers in any radix from 2 to 36 by our own digit
// loop, floating-point values through the standard formatted output, whose
// decimal point becomes "." whatever locale the program has set.
#include "ezu/strings/str_ops_internal.h"

#include "ezu/core/encoding.h"

#include <stdio.h>
#include <string.h>

namespace {

const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";

// "00" to "99": decimal text is written two digits per division.
const char kDecimalPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the decimal digits of `v` backwards so that they end at `end`;
// returns where they start.
char* write_decimal(unsigned long long v, char* end) {
    while (v >= 100) {
        const unsigned pair = unsigned(v % 100) * 2;
        v /= 100;
        *--end = kDecimalPairs[pair + 1];
        *--end = kDecimalPairs[pair];
    }
    if (v >= 10) {
        *--end = kDecimalPairs[v * 2 + 1];
        *--end = kDecimalPairs[v * 2];
    } else {
        *--end = char('0' + v);
    }
    return end;
}

// The number of decimal digits of `v`: its bit length gives the power of ten
// below it, give or take one, which one comparison settles (zero is compared
// as one: every power but 1 is even).
int decimal_digits(unsigned long long v) {
    static const unsigned long long kPowers[20] = {1ull,
                                                   10ull,
                                                   100ull,
                                                   1000ull,
                                                   10000ull,
                                                   100000ull,
                                                   1000000ull,
                                                   10000000ull,
                                                   100000000ull,
                                                   1000000000ull,
                                                   10000000000ull,
                                                   100000000000ull,
                                                   1000000000000ull,
                                                   10000000000000ull,
                                                   100000000000000ull,
                                                   1000000000000000ull,
                                                   10000000000000000ull,
                                                   100000000000000000ull,
                                                   1000000000000000000ull,
                                                   10000000000000000000ull};
    const int bits = 64 - __builtin_clzll(v | 1);
    const int below = (bits * 1233) >> 12; // bits times log10(2), rounded down
    return below + ((v | 1) >= kPowers[below] ? 1 : 0);
}

// Writes `precision` (0 to 99) in decimal at `out`; returns the characters written.
int put_precision(char* out, int precision) {
    int n = 0;
    if (precision >= 10)
        out[n++] = char('0' + precision / 10);
    out[n++] = char('0' + precision % 10);
    return n;
}

} // namespace

const char* str_ops_int64_text(long long value, int radix, char* scratch, int* n) {
    // The magnitude is taken in unsigned arithmetic, so the most negative
    // value is never negated as a signed number.
    const bool negative = value < 0;
    const unsigned long long magnitude = negative ? 0ull - (unsigned long long)value : value;
    return str_ops_digits_text(magnitude, negative, radix, scratch, n);
}

const char* str_ops_digits_text(unsigned long long magnitude, bool negative, int radix,
                                char* scratch, int* n) {
    if (radix < 2 || radix > 36)
        radix = 10;
    char* const end = scratch + kStrOpsIntChars - 1;
    char* at = end;
    *at = 0;
    if (radix == 10) {
        at = write_decimal(magnitude, at);
    } else if ((radix & (radix - 1)) == 0) {
        // Powers of two need no division.
        int shift = 0;
        while ((1 << shift) < radix)
            ++shift;
        do {
            *--at = kDigits[magnitude & unsigned(radix - 1)];
            magnitude >>= shift;
        } while (magnitude);
    } else {
        do {
            *--at = kDigits[magnitude % unsigned(radix)];
            magnitude /= unsigned(radix);
        } while (magnitude);
    }
    if (negative)
        *--at = '-';
    *n = int(end - at);
    return at;
}

StrBuf* str_from_int64(long long value, int radix) {
    // Digits and sign are 7-bit text, so the record holds them as written.
    // Decimal text is sized first and written straight into its block.
    if (radix == 10 || radix < 2 || radix > 36) {
        const bool negative = value < 0;
        const unsigned long long magnitude =
            negative ? 0ull - (unsigned long long)value : (unsigned long long)value;
        const int n = decimal_digits(magnitude) + (negative ? 1 : 0);
        StrBuf* buf = str_ops_new_sized((long long)n + 1);
        if (buf) {
            write_decimal(magnitude, buf->data + n);
            if (negative)
                buf->data[0] = '-';
        }
        return buf;
    }
    char scratch[kStrOpsIntChars];
    int n = 0;
    const char* text = str_ops_int64_text(value, radix, scratch, &n);
    return str_ops_new_range(text, size_t(n));
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
    written = str_ops_point_to_dot(text, written);
    return str_from_bytes(text, written, ENC_ASCII);
}

StrBuf* str_from_float(float value, char letter, int precision) {
    return str_from_double(double(value), letter, precision);
}
