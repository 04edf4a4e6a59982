// Number text: the integer and floating-point writers and readers.
//
// Input: a mode byte, then what the mode reads. Properties:
// - an integer written in any radix reads back as itself in the radix the
//   writer used (out-of-range radixes mean 10), in 64 and 32 bits and
//   through the "%1" substitution;
// - a text the integer reader accepts is read alike when blanks, tabs and
//   line feeds surround it, and its value written back reads as itself;
// - a floating-point value written with any letter and precision reads back
//   in full, within what that letter and precision keep (exactly from 17
//   significant digits on).
#include "fuzz_support.h"

#include "ezu/strings/strbuf.h"
#include "ezu/strings/tstr.h"

#include <float.h>
#include <math.h>

namespace {

int effective_radix(int radix) {
    return radix < 2 || radix > 36 ? 10 : radix;
}

// The written text: digits of the radix only, one leading "-" for negative
// values, and no leading zero except in "0".
void check_integer_text(const std::string& text, long long value, int radix) {
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    FUZZ_CHECK(!text.empty());
    const size_t first = value < 0 ? 1 : 0;
    FUZZ_CHECK(first < text.size());
    if (value < 0)
        FUZZ_CHECK(text[0] == '-');
    for (size_t i = first; i < text.size(); ++i) {
        const char* at = strchr(kDigits, text[i]);
        FUZZ_CHECK(text[i] && at && at - kDigits < radix);
    }
    FUZZ_CHECK(text[first] != '0' || text.size() == first + 1);
    FUZZ_CHECK((value == 0) == (text == "0"));
}

void check_integer_write(long long value, int radix) {
    const int r = effective_radix(radix);
    StrBuf* text = str_from_int64(value, radix);
    check_integer_text(fuzz_bytes(text), value, r);
    int ok = -1;
    FUZZ_CHECK(str_to_int64(text, &ok, r) == value && ok == 1);
    str_free(text);

    const int narrow = int(uint32_t(uint64_t(value)));
    StrBuf* text32 = str_from_int(narrow, radix);
    ok = -1;
    FUZZ_CHECK(str_to_int(text32, &ok, r) == narrow && ok == 1);
    str_free(text32);

    const TStr substituted = TStr("%1").arg(narrow, 0, radix);
    bool okay = false;
    FUZZ_CHECK(substituted.toInt(&okay, r) == narrow && okay);
}

void check_integer_read(const std::string& raw, int radix) {
    StrBuf* text = fuzz_raw_buf(raw);
    int ok = -1;
    const long long value = str_to_int64(text, &ok, radix);
    FUZZ_CHECK(ok == 0 || ok == 1);
    if (!ok)
        FUZZ_CHECK(value == 0);
    int ok32 = -1;
    const int value32 = str_to_int(text, &ok32, radix);
    const bool fits = value >= -2147483648LL && value <= 2147483647LL;
    FUZZ_CHECK(ok32 == (ok && fits ? 1 : 0));
    FUZZ_CHECK(value32 == (ok32 ? int(value) : 0));
    str_free(text);
    if (!ok)
        return;
    // Surrounding white space changes nothing.
    StrBuf* padded = fuzz_raw_buf(" \t\n" + fuzz_until_zero(raw) + "\n\t ");
    int ok_padded = -1;
    FUZZ_CHECK(str_to_int64(padded, &ok_padded, radix) == value && ok_padded == 1);
    str_free(padded);
    StrBuf* again = str_from_int64(value, radix);
    int ok_again = -1;
    FUZZ_CHECK(str_to_int64(again, &ok_again, radix) == value && ok_again == 1);
    str_free(again);
}

// The largest difference the written text may leave for a finite value.
double float_tolerance(double value, char letter, int precision) {
    const double magnitude = fabs(value);
    const double rounding = magnitude * 4.5e-16; // the reader's own rounding
    if (letter == 'f' || letter == 'F')
        return pow(10.0, -precision) + rounding;
    const int significant =
        letter == 'e' || letter == 'E' ? precision + 1 : (precision == 0 ? 1 : precision);
    if (significant >= 17)
        return 0;
    return magnitude * pow(10.0, 1 - significant) + rounding;
}

void check_float_write(double value, char letter, int precision) {
    StrBuf* text = str_from_double(value, letter, precision);
    FUZZ_CHECK(!str_is_empty(text));
    int ok = -1;
    const double back = str_to_double(text, &ok);
    FUZZ_CHECK(ok == 1);
    str_free(text);
    if (isnan(value)) {
        FUZZ_CHECK(isnan(back));
        return;
    }
    if (isinf(value)) {
        FUZZ_CHECK(back == value);
        return;
    }
    const bool known = strchr("fFeEgG", letter) && letter;
    const char used = known ? letter : 'f';
    const int digits = precision < 0 ? 6 : (precision > 99 ? 99 : precision);
    const double tolerance = float_tolerance(value, used, digits);
    if (isinf(back)) // rounded to its digits, the text lies beyond the largest double
        FUZZ_CHECK(fabs(value) + tolerance >= DBL_MAX && signbit(back) == signbit(value));
    else
        FUZZ_CHECK(fabs(back - value) <= tolerance);
}

void check_float_narrow(float value) {
    StrBuf* text = str_from_float(value, 'g', 9);
    int ok = -1;
    const float back = str_to_float(text, &ok);
    FUZZ_CHECK(ok == 1);
    FUZZ_CHECK(isnan(value) ? isnan(back) : back == value);
    str_free(text);
}

void check_float_read(const std::string& raw) {
    StrBuf* text = fuzz_raw_buf(raw);
    int ok = -1;
    const double value = str_to_double(text, &ok);
    FUZZ_CHECK(ok == 0 || ok == 1);
    if (ok)
        FUZZ_CHECK(!str_is_empty(text) && (isnan(value) || value == strtod(text->data, nullptr)));
    str_free(text);
}

void run(FuzzInput& in) {
    switch (in.pick(0, 3)) {
    case 0: {
        const long long value = (long long)in.u64();
        check_integer_write(value, int(in.u32()));
        break;
    }
    case 1: {
        const int radix = in.pick(2, 36);
        check_integer_read(in.rest(), radix);
        break;
    }
    case 2: {
        const char letter = char(in.byte());
        const int precision = int(int8_t(in.byte()));
        uint64_t bits = in.u64();
        double value;
        memcpy(&value, &bits, sizeof value);
        check_float_write(value, letter, precision);
        float narrow;
        const uint32_t narrow_bits = uint32_t(bits);
        memcpy(&narrow, &narrow_bits, sizeof narrow);
        check_float_narrow(narrow);
        break;
    }
    default:
        check_float_read(in.rest());
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    fuzz_balanced([&] { run(in); });
    return 0;
}
