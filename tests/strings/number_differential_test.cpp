// Integer text against the standard library's conversions: the writer
// against std::to_chars and the reader against std::from_chars, over seeded
// values in every radix the interface takes, the extremes included.
#include "ezu_test.h"

#include "ezu/ezu.h"

#include <charconv>
#include <limits.h>
#include <stdint.h>
#include <string>
#include <vector>

EZU_TEST_SUITE(NumberDifferentialTest);

namespace {

struct Lcg {
    uint64_t state;
    uint64_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state ^ (state >> 29);
    }
};

// The extremes, the values around every power of the radix, and seeded
// values of every bit length.
std::vector<long long> sample_values(int radix, uint64_t seed) {
    std::vector<long long> v = {0,
                                1,
                                -1,
                                LLONG_MAX,
                                LLONG_MIN,
                                LLONG_MIN + 1,
                                INT_MAX,
                                INT_MIN,
                                (long long)INT_MAX + 1,
                                (long long)INT_MIN - 1};
    for (unsigned long long p = unsigned(radix);
         p <= (unsigned long long)LLONG_MAX / unsigned(radix); p *= unsigned(radix)) {
        for (long long d = -1; d <= 1; ++d) {
            v.push_back((long long)p + d);
            v.push_back(-(long long)p - d);
        }
    }
    Lcg rng = {seed};
    for (int i = 0; i < 300; ++i) {
        const int bits = 1 + int(rng.next() % 63);
        const long long x = (long long)(rng.next() >> (64 - bits));
        v.push_back(rng.next() % 2 ? x : -x);
    }
    return v;
}

std::string std_text(long long value, int radix) {
    char out[80];
    const auto r = std::to_chars(out, out + sizeof out, value, radix);
    return std::string(out, r.ptr);
}

std::string take(StrBuf* buf) {
    std::string text = buf && buf->data ? std::string(buf->data) : std::string("<null>");
    str_free(buf);
    return text;
}

struct Read {
    long long value;
    int ok;
};

// Read as UTF-8, so that bytes above 127 reach the reader as they are.
Read read64(const std::string& text, int radix) {
    StrBuf* buf = str_from_utf8(text.c_str());
    Read r = {0, -1};
    r.value = str_to_int64(buf, &r.ok, radix);
    str_free(buf);
    return r;
}

std::string upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    }
    return s;
}

} // namespace

TEST_F(NumberDifferentialTest, WriterMatchesToCharsInEveryRadix) {
    for (int radix = 2; radix <= 36; ++radix) {
        for (long long value : sample_values(radix, 1000 + radix)) {
            const std::string expected = std_text(value, radix);
            StrBuf* buf = str_from_int64(value, radix);
            ASSERT_NE(buf, nullptr);
            // The block is exactly the text and its terminator.
            EXPECT_EQ(buf->capacity, int(expected.size()) + 1) << value << " radix " << radix;
            ASSERT_EQ(take(buf), expected) << "radix " << radix;
        }
    }
}

TEST_F(NumberDifferentialTest, WriterUsesRadixTenOutsideTheRange) {
    for (int radix : {INT_MIN, -36, -1, 0, 1, 37, 100, INT_MAX}) {
        for (long long value : sample_values(10, 77)) {
            ASSERT_EQ(take(str_from_int64(value, radix)), std_text(value, 10)) << radix;
        }
    }
}

TEST_F(NumberDifferentialTest, ThirtyTwoBitWritersWidenWithTheSign) {
    Lcg rng = {42};
    for (int i = 0; i < 500; ++i) {
        const int value = int(uint32_t(rng.next()));
        const int radix = 2 + int(rng.next() % 35);
        EXPECT_EQ(take(str_from_int(value, radix)), std_text(value, radix));
        EXPECT_EQ(take(str_from_long(value, radix)), std_text(value, radix));
        EXPECT_EQ(TStr::number(value, radix), std_text(value, radix).c_str());
    }
    EXPECT_EQ(TStr::number(INT_MIN, 2), std_text(INT_MIN, 2).c_str());
}

TEST_F(NumberDifferentialTest, ReaderMatchesFromCharsInEveryRadix) {
    for (int radix = 2; radix <= 36; ++radix) {
        for (long long value : sample_values(radix, 2000 + radix)) {
            const std::string text = std_text(value, radix);
            long long expected = 0;
            std::from_chars(text.data(), text.data() + text.size(), expected, radix);
            ASSERT_EQ(expected, value);
            const Read plain = read64(text, radix);
            ASSERT_EQ(plain.ok, 1) << text << " radix " << radix;
            ASSERT_EQ(plain.value, value) << text << " radix " << radix;
            // Upper-case letters, surrounding white space and a "+" are read alike.
            const std::string decorated =
                " \t\n" + (value >= 0 ? "+" + upper(text) : upper(text)) + "\n\t ";
            const Read r = read64(decorated, radix);
            ASSERT_EQ(r.ok, 1) << decorated << " radix " << radix;
            ASSERT_EQ(r.value, value) << decorated << " radix " << radix;
        }
    }
}

TEST_F(NumberDifferentialTest, ReaderRejectsOverflowAtTheExactBoundary) {
    for (int radix = 2; radix <= 36; ++radix) {
        // 2^63 is one too many for a positive value and exactly the most
        // negative one; 2^63 + 1 is too many for both.
        char out[80];
        const unsigned long long two63 = 0x8000000000000000ull;
        auto text_of = [&](unsigned long long v) {
            const auto r = std::to_chars(out, out + sizeof out, v, radix);
            return std::string(out, r.ptr);
        };
        EXPECT_EQ(read64(text_of(two63 - 1), radix).value, LLONG_MAX) << radix;
        const Read over = read64(text_of(two63), radix);
        EXPECT_EQ(over.ok, 0) << radix;
        EXPECT_EQ(over.value, 0) << radix;
        const Read most_negative = read64("-" + text_of(two63), radix);
        EXPECT_EQ(most_negative.ok, 1) << radix;
        EXPECT_EQ(most_negative.value, LLONG_MIN) << radix;
        EXPECT_EQ(read64("-" + text_of(two63 + 1), radix).ok, 0) << radix;
        EXPECT_EQ(read64(text_of(~0ull), radix).ok, 0) << radix;
        // Leading zeros do not count towards overflow.
        EXPECT_EQ(read64("000000000000000000000000000000000000000000000000000000000000000000" +
                             text_of(two63 - 1),
                         radix)
                      .value,
                  LLONG_MAX)
            << radix;
    }
    // Long decimal texts around the 18 and 19 digit marks.
    EXPECT_EQ(read64("999999999999999999", 10).value, 999999999999999999ll);
    EXPECT_EQ(read64("-999999999999999999", 10).value, -999999999999999999ll);
    EXPECT_EQ(read64("9223372036854775807", 10).value, LLONG_MAX);
    EXPECT_EQ(read64("9223372036854775808", 10).ok, 0);
    EXPECT_EQ(read64("9999999999999999999", 10).ok, 0);
    EXPECT_EQ(read64("10000000000000000000", 10).ok, 0);
    EXPECT_EQ(read64("99999999999999999999999999", 10).ok, 0);
}

TEST_F(NumberDifferentialTest, ReaderRejectsWhatIsNoNumberOfTheRadix) {
    for (int radix = 2; radix <= 36; ++radix) {
        // The first character past the radix's digits, in both cases.
        const char beyond = radix < 10 ? char('0' + radix) : char('a' + radix - 10);
        if (radix < 36) {
            EXPECT_EQ(read64(std::string("1") + beyond, radix).ok, 0) << radix;
            EXPECT_EQ(read64(upper(std::string(1, beyond)), radix).ok, 0) << radix;
        }
        for (const char* bad : {"", " ", "-", "+", "+-1", "- 1", "1 1", "1\r", "\r1", "1\xc3\xa9",
                                "\xc3\xa9", "0_", "1-", "\x80"}) {
            const Read r = read64(bad, radix);
            EXPECT_EQ(r.ok, 0) << radix << " '" << bad << "'";
            EXPECT_EQ(r.value, 0) << radix;
        }
    }
    // A buffer without text, and readers asked for an impossible radix.
    StrBuf* null_state = str_new();
    int ok = -1;
    EXPECT_EQ(str_to_int64(null_state, &ok, 10), 0);
    EXPECT_EQ(ok, 0);
    str_free(null_state);
    EXPECT_EQ(read64("1", 1).ok, 0);
    EXPECT_EQ(read64("1", 37).ok, 0);
}

TEST_F(NumberDifferentialTest, ThirtyTwoBitReadersKeepTheSignedRange) {
    Lcg rng = {7};
    for (int i = 0; i < 500; ++i) {
        const long long value = (long long)(rng.next() >> 30) - (1ll << 33);
        const int radix = 2 + int(rng.next() % 35);
        StrBuf* buf = str_from_int64(value, radix);
        int ok = -1;
        const int got = str_to_int(buf, &ok, radix);
        const bool fits = value >= INT_MIN && value <= INT_MAX;
        EXPECT_EQ(ok, fits ? 1 : 0) << value;
        EXPECT_EQ(got, fits ? int(value) : 0) << value;
        EXPECT_EQ(str_to_long(buf, &ok, radix), fits ? int(value) : 0);
        str_free(buf);
    }
}

TEST_F(NumberDifferentialTest, TypedArgWritesTheSameTextAsTheWriter) {
    const TStr pattern("<%1|%2|%1>");
    Lcg rng = {99};
    for (int i = 0; i < 400; ++i) {
        const int value = int(uint32_t(rng.next()));
        const int radix = int(rng.next() % 40); // 0, 1 and 37 to 39 mean 10
        const int width = int(rng.next() % 41) - 20;
        std::string text = std_text(value, radix >= 2 && radix <= 36 ? radix : 10);
        const size_t magnitude = size_t(width < 0 ? -width : width);
        if (magnitude > text.size()) {
            const std::string pad(magnitude - text.size(), ' ');
            text = width > 0 ? pad + text : text + pad;
        }
        const std::string expected = "<" + text + "|%2|" + text + ">";
        const TStr by_int = pattern.arg(value, width, radix);
        EXPECT_EQ(by_int, expected.c_str()) << value << " " << width << " " << radix;
        EXPECT_EQ(by_int.buffer()->capacity, int(expected.size()) + 1);
        EXPECT_EQ(pattern.arg(long(value), width, radix), expected.c_str());
    }
}
