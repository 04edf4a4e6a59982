// Number text: the integer writer and reader in every radix, floating-point
// text against the standard formatted output, and the character tests.
#include "ezu_test.h"

#include "ezu/ezu.h"

#include <limits.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string>

EZU_TEST_SUITE(NumberTextTest);

namespace {

// The text of a new buffer, which is released.
std::string take(StrBuf* buf) {
    std::string text = str_is_null(buf) ? std::string("<null>") : std::string(buf->data);
    str_free(buf);
    return text;
}

struct Read {
    long long value;
    int ok;
};

Read read64(const char* text, int radix) {
    StrBuf* buf = str_from_ascii(text);
    Read r;
    r.ok = -1;
    r.value = str_to_int64(buf, &r.ok, radix);
    str_free(buf);
    return r;
}

Read read32(const char* text, int radix) {
    StrBuf* buf = str_from_ascii(text);
    int ok = -1;
    Read r;
    r.value = str_to_int(buf, &ok, radix);
    r.ok = ok;
    str_free(buf);
    return r;
}

bool accepts(const char* text, int radix, long long expected) {
    const Read r = read64(text, radix);
    return r.ok == 1 && r.value == expected;
}

bool rejects(const char* text, int radix) {
    const Read r = read64(text, radix);
    return r.ok == 0 && r.value == 0;
}

// A small deterministic generator, so failures can be reproduced.
struct Lcg {
    uint64_t state;
    uint64_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state;
    }
};

} // namespace

TEST_F(NumberTextTest, WritingIntegers) {
    EXPECT_EQ(take(str_from_int64(0, 10)), "0");
    EXPECT_EQ(take(str_from_int64(255, 16)), "ff");
    EXPECT_EQ(take(str_from_int64(-255, 16)), "-ff");
    EXPECT_EQ(take(str_from_int64(35, 36)), "z");
    EXPECT_EQ(take(str_from_int64(5, 1)), "5");
    EXPECT_EQ(take(str_from_int64(5, 37)), "5");
    EXPECT_EQ(take(str_from_int64(10, -2)), "10");
    EXPECT_EQ(take(str_from_int64(-1, 2)), "-1");
    EXPECT_EQ(take(str_from_int64(8, 8)), "10");
    EXPECT_EQ(take(str_from_int(-42, 10)), "-42");
    EXPECT_EQ(take(str_from_int(INT_MIN, 16)), "-80000000");
    EXPECT_EQ(take(str_from_long(LONG_MAX, 10)), std::to_string(LONG_MAX));
}

TEST_F(NumberTextTest, WritingTheLimits) {
    EXPECT_EQ(take(str_from_int64(INT64_MIN, 10)), "-9223372036854775808");
    EXPECT_EQ(take(str_from_int64(INT64_MIN, 2)), "-1" + std::string(63, '0'));
    EXPECT_EQ(take(str_from_int64(INT64_MIN, 16)), "-8000000000000000");
    EXPECT_EQ(take(str_from_int64(INT64_MIN, 8)), "-1000000000000000000000");
    EXPECT_EQ(take(str_from_int64(INT64_MIN, 36)), "-1y2p0ij32e8e8");
    EXPECT_EQ(take(str_from_int64(INT64_MAX, 2)), std::string(63, '1'));
    EXPECT_EQ(take(str_from_int64(INT64_MAX, 36)), "1y2p0ij32e8e7");
    EXPECT_EQ(take(str_from_int64(INT64_MAX, 16)), "7fffffffffffffff");
}

TEST_F(NumberTextTest, ReadingStrictly) {
    EXPECT_TRUE(accepts(" \t-42\n", 10, -42));
    EXPECT_TRUE(accepts("+7", 10, 7));
    EXPECT_TRUE(accepts("0007", 10, 7));
    EXPECT_TRUE(rejects("42\r", 10)); // carriage return is not white space
    EXPECT_TRUE(rejects("", 10));
    EXPECT_TRUE(rejects("   ", 10));
    EXPECT_TRUE(rejects("-", 10));
    EXPECT_TRUE(rejects("+ 5", 10));
    EXPECT_TRUE(rejects("4 2", 10));
    EXPECT_TRUE(rejects("--4", 10));
    EXPECT_TRUE(rejects("0x1A", 16));
    EXPECT_TRUE(accepts("1A", 16, 26));
    EXPECT_TRUE(accepts("1a", 16, 26));
    EXPECT_TRUE(rejects("12", 2));
    EXPECT_TRUE(accepts("Zz", 36, 35 * 36 + 35));
    EXPECT_TRUE(rejects("g", 16));
    EXPECT_TRUE(rejects("7\xC3\xA9", 10));

    StrBuf* none = str_new();
    int ok = -1;
    EXPECT_EQ(str_to_int64(none, &ok, 10), 0);
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(str_to_int64(none, nullptr, 10), 0);
    str_free(none);
}

TEST_F(NumberTextTest, ReaderRadixOutsideTheRangeFails) {
    EXPECT_TRUE(rejects("1", 1));
    EXPECT_TRUE(rejects("1", 37));
    EXPECT_TRUE(rejects("0", 0));
    EXPECT_TRUE(rejects("5", -10));
}

TEST_F(NumberTextTest, Reading64BitLimits) {
    EXPECT_TRUE(accepts("9223372036854775807", 10, INT64_MAX));
    EXPECT_TRUE(rejects("9223372036854775808", 10));
    EXPECT_TRUE(accepts("-9223372036854775808", 10, INT64_MIN));
    EXPECT_TRUE(rejects("-9223372036854775809", 10));
    EXPECT_TRUE(rejects("99999999999999999999", 10));

    // The most negative value is accepted in every radix, nothing beyond it.
    EXPECT_TRUE(accepts("7fffffffffffffff", 16, INT64_MAX));
    EXPECT_TRUE(rejects("8000000000000000", 16));
    EXPECT_TRUE(accepts("-8000000000000000", 16, INT64_MIN));
    EXPECT_TRUE(rejects("-8000000000000001", 16));
    EXPECT_TRUE(accepts(("-1" + std::string(63, '0')).c_str(), 2, INT64_MIN));
    EXPECT_TRUE(rejects(("-1" + std::string(62, '0') + "1").c_str(), 2));
    EXPECT_TRUE(rejects(("1" + std::string(63, '0')).c_str(), 2));
    EXPECT_TRUE(accepts(std::string(63, '1').c_str(), 2, INT64_MAX));
    EXPECT_TRUE(accepts("-1000000000000000000000", 8, INT64_MIN));
    EXPECT_TRUE(rejects("-1000000000000000000001", 8));
    EXPECT_TRUE(accepts("777777777777777777777", 8, INT64_MAX));
    EXPECT_TRUE(rejects("1000000000000000000000", 8));
    EXPECT_TRUE(accepts("-1y2p0ij32e8e8", 36, INT64_MIN));
    EXPECT_TRUE(rejects("-1y2p0ij32e8e9", 36));
    EXPECT_TRUE(accepts("1Y2P0IJ32E8E7", 36, INT64_MAX));
    EXPECT_TRUE(rejects("1y2p0ij32e8e8", 36));
}

TEST_F(NumberTextTest, Reading32BitLimits) {
    struct Case {
        const char* text;
        int radix;
        long long value; // 0 with ok 0 when out of range
        int ok;
    };
    const Case cases[] = {
        {"2147483647", 10, INT_MAX, 1},
        {"2147483648", 10, 0, 0},
        {"-2147483648", 10, INT_MIN, 1},
        {"-2147483649", 10, 0, 0},
        {"-80000000", 16, INT_MIN, 1},
        {"80000000", 16, 0, 0},
        {"17777777777", 8, INT_MAX, 1},
        {"-20000000001", 8, 0, 0},
        {"zik0zj", 36, INT_MAX, 1},
        {"zik0zk", 36, 0, 0},
        {"1111111111111111111111111111111", 2, INT_MAX, 1},
        {"10000000000000000000000000000000", 2, 0, 0},
    };
    for (const Case& c : cases) {
        const Read r = read32(c.text, c.radix);
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(r.ok, c.ok) << c.text;
    }
    StrBuf* buf = str_from_ascii("12");
    int ok = 0;
    EXPECT_EQ(str_to_long(buf, &ok, 10), 12);
    EXPECT_EQ(ok, 1);
    str_free(buf);
}

TEST_F(NumberTextTest, WriterAndReaderRoundTrip) {
    const long long fixed[] = {
        0, 1, -1, INT64_MIN, INT64_MAX, INT64_MIN + 1, INT64_MAX - 1, INT_MIN, INT_MAX};
    const int radices[] = {2, 3, 7, 8, 10, 16, 36};
    Lcg random = {20240611};
    for (int radix : radices) {
        for (int i = 0; i < 300; ++i) {
            long long value;
            if (i < int(sizeof fixed / sizeof fixed[0])) {
                value = fixed[i];
            } else {
                // Spread over every magnitude, not only the large ones.
                value = (long long)(random.next() >> (random.next() % 64));
                if (i % 2 && value != INT64_MIN)
                    value = -value;
            }
            StrBuf* text = str_from_int64(value, radix);
            int ok = 0;
            const long long back = str_to_int64(text, &ok, radix);
            ASSERT_EQ(ok, 1) << text->data << " radix " << radix;
            ASSERT_EQ(back, value) << text->data << " radix " << radix;
            str_free(text);
        }
    }
}

TEST_F(NumberTextTest, FloatingPointText) {
    EXPECT_EQ(take(str_from_double(0.5, 'x', 2)), "0.50");
    EXPECT_EQ(take(str_from_double(1.0, 'g', -1)), "1");
    EXPECT_EQ(take(str_from_double(0.1, 'g', -1)), "0.1");
    EXPECT_EQ(take(str_from_double(1234567.0, 'g', -5)), "1.23457e+06");
    EXPECT_EQ(take(str_from_double(2.5, 'f', 0)), "2");
    EXPECT_EQ(take(str_from_float(0.25f, 'f', 3)), "0.250");

    // The same format given to the standard formatted output on this system.
    const double values[] = {
        0.0, -0.0, 1234.5, -3.0e-7, 1.0 / 3.0, 6.02214076e23, 1.7976931348623157e308};
    const char letters[] = {'f', 'e', 'g', 'E', 'G', 'F'};
    const int precisions[] = {-1, 0, 3, 99, 150};
    for (double v : values) {
        for (char letter : letters) {
            for (int precision : precisions) {
                char format[16];
                if (precision < 0)
                    snprintf(format, sizeof format, "%%l%c", letter);
                else
                    snprintf(format, sizeof format, "%%.%dl%c", precision > 99 ? 99 : precision,
                             letter);
                char expected[512];
                snprintf(expected, sizeof expected, format, v);
                EXPECT_EQ(take(str_from_double(v, letter, precision)), expected)
                    << format << " of " << v;
            }
        }
    }
}

TEST_F(NumberTextTest, ReadingFloatingPoint) {
    struct Case {
        const char* text;
        double value;
        int ok;
    };
    const Case cases[] = {{"1.5", 1.5, 1}, {" 3.5", 3.5, 1},   {"3.5 ", 3.5, 0}, {"12abc", 12, 0},
                          {"", 0, 0},      {"-2e3", -2000, 1}, {"x", 0, 0}};
    for (const Case& c : cases) {
        StrBuf* buf = str_from_ascii(c.text);
        int ok = -1;
        EXPECT_DOUBLE_EQ(str_to_double(buf, &ok), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
        ok = -1;
        EXPECT_FLOAT_EQ(str_to_float(buf, &ok), float(c.value)) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
        str_free(buf);
    }
    StrBuf* none = str_new();
    int ok = -1;
    EXPECT_EQ(str_to_double(none, &ok), 0.0);
    EXPECT_EQ(ok, 0);
    str_free(none);

    StrBuf* huge = str_from_ascii("1e300");
    EXPECT_EQ(str_to_float(huge, &ok), HUGE_VALF); // beyond float: infinity
    EXPECT_EQ(ok, 1);
    str_free(huge);
}

TEST_F(NumberTextTest, CharacterTests) {
    EXPECT_EQ(str_is_space(" "), 1);
    EXPECT_EQ(str_is_space("\t"), 1);
    EXPECT_EQ(str_is_space("\n"), 1);
    EXPECT_EQ(str_is_space("\r"), 0);
    EXPECT_EQ(str_is_space("\v"), 0);
    EXPECT_EQ(str_is_digit("0"), 1);
    EXPECT_EQ(str_is_digit("9"), 1);
    EXPECT_EQ(str_is_digit("a"), 0);
    EXPECT_EQ(str_digit_value("7"), 7);
    EXPECT_EQ(str_digit_value("x"), -1);
    EXPECT_EQ(str_is_radix_digit("7", 8), 1);
    EXPECT_EQ(str_is_radix_digit("8", 8), 0);
    EXPECT_EQ(str_is_radix_digit("9", 16), 1);
    EXPECT_EQ(str_is_radix_digit("f", 16), 1);
    EXPECT_EQ(str_is_radix_digit("F", 16), 1);
    EXPECT_EQ(str_is_radix_digit("g", 16), 0);
    EXPECT_EQ(str_is_radix_digit("z", 36), 1);
    EXPECT_EQ(str_is_radix_digit("Z", 36), 1);
    EXPECT_EQ(str_is_radix_digit("a", 10), 0);
    EXPECT_EQ(str_is_radix_digit("\xB0", 36), 0);
    EXPECT_EQ(str_is_radix_digit("{", 37), 0);
}
