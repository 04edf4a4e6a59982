// Differential test against the host's iconv: seeded random valid Unicode
// texts converted between encodings 1 to 5 must match it byte for byte.
#include "ezu_test.h"

#include "../encoding_test_support.h"

#include <errno.h>
#include <iconv.h>

#include <random>

EZU_TEST_SUITE(NativeOnlyIconvEncodingTest);

namespace {

// The iconv name of each encoding's bytes; encoding 2 is FF FE in front of
// UTF-16LE (the host is little-endian).
const char* iconv_name(int encoding) {
    switch (encoding) {
    case ENC_UTF8:
        return "UTF-8";
    case ENC_UTF16BE:
        return "UTF-16BE";
    case ENC_UTF32:
        return "UTF-32LE";
    default:
        return "UTF-16LE";
    }
}

// Converts code points (as UTF-32LE) into `encoding` with iconv.
Bytes oracle(const std::vector<uint32_t>& codes, int encoding) {
    Bytes utf32;
    for (uint32_t c : codes)
        for (int shift = 0; shift < 32; shift += 8)
            utf32.push_back((unsigned char)(c >> shift));
    iconv_t cd = iconv_open(iconv_name(encoding), "UTF-32LE");
    EXPECT_NE(cd, (iconv_t)-1);
    Bytes out(utf32.size() + 8);
    char* in_ptr = reinterpret_cast<char*>(utf32.data());
    size_t in_left = utf32.size();
    char* out_ptr = reinterpret_cast<char*>(out.data());
    size_t out_left = out.size();
    const size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    EXPECT_NE(result, size_t(-1)) << "errno " << errno;
    iconv_close(cd);
    out.resize(out.size() - out_left);
    if (encoding == ENC_UTF16 && !codes.empty())
        out.insert(out.begin(), {0xFF, 0xFE});
    return out;
}

// One random character from a random class: ASCII, two-, three- or four-byte
// UTF-8 (supplementary planes); never zero and never a surrogate.
uint32_t random_code(std::mt19937& rng) {
    switch (rng() % 4) {
    case 0:
        return 1 + rng() % 0x7F;
    case 1:
        return 0x80 + rng() % (0x800 - 0x80);
    case 2: {
        const uint32_t c = 0x800 + rng() % (0x10000 - 0x800 - 0x800);
        return c < 0xD800 ? c : c + 0x800; // skip the surrogates
    }
    default:
        return 0x10000 + rng() % (0x110000 - 0x10000);
    }
}

} // namespace

TEST_F(NativeOnlyIconvEncodingTest, RandomTextsMatchIconvForEveryPair) {
    std::mt19937 rng(20240611u);
    const int kTexts = 3000;
    int conversions = 0;
    for (int t = 0; t < kTexts; ++t) {
        std::vector<uint32_t> codes(rng() % 24);
        for (uint32_t& c : codes)
            c = random_code(rng);
        Bytes forms[6];
        for (int e = ENC_UTF8; e <= ENC_UTF32; ++e)
            forms[e] = oracle(codes, e);
        // Every other text is given without its terminator in the count.
        const bool with_terminator = t % 2 == 0;
        for (int from = ENC_UTF8; from <= ENC_UTF32; ++from) {
            const Bytes src = with_terminator
                                  ? terminated(forms[from], str_encodings[from].unit_size)
                                  : forms[from];
            for (int to = ENC_UTF8; to <= ENC_UTF32; ++to) {
                const Converted c = size_and_convert(src, from, to);
                ASSERT_TRUE(c.ok) << "text " << t << " from " << from << " to " << to;
                ASSERT_EQ(text_part(c, to), forms[to])
                    << "text " << t << " from " << from << " to " << to;
                ++conversions;
            }
        }
    }
    EXPECT_EQ(conversions, kTexts * 25);
}
