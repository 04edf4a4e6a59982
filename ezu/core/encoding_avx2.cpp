// The AVX2 level of the direct loops: runs of ASCII 32 bytes at a time,
// UTF-8 and UTF-16 blocks converted through byte shuffles, and the sizing
// checks over whole blocks. The functions carry their own target attribute, so the rest of the
// library is built for the baseline processor and calls them only after str_avx2_supported said
// yes.
#include "ezu/core/encoding_avx2.h"

#if EZU_AVX2_LOOPS

#include "ezu/core/encoding_ascii_block.h"

#include <immintrin.h>

#define EZU_TARGET_AVX2 __attribute__((target("avx2,popcnt")))

namespace {

EZU_TARGET_AVX2 inline __m256i load(const unsigned char* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

EZU_TARGET_AVX2 inline void store(unsigned char* at, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v);
}

// Nonzero when a byte of `v` is zero or from 0x80.
EZU_TARGET_AVX2 inline unsigned byte_stops(__m256i v) {
    return unsigned(
        _mm256_movemask_epi8(_mm256_or_si256(v, _mm256_cmpeq_epi8(v, _mm256_setzero_si256()))));
}

// Sixteen units in little-endian order.
EZU_TARGET_AVX2 inline __m256i load_units(const unsigned char* at, bool big_endian) {
    const __m256i v = load(at);
    return big_endian ? _mm256_or_si256(_mm256_slli_epi16(v, 8), _mm256_srli_epi16(v, 8)) : v;
}

// Nonzero when a unit of `v` is zero or from 0x80.
EZU_TARGET_AVX2 inline unsigned unit_stops(__m256i v) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i high = _mm256_and_si256(v, _mm256_set1_epi16(short(0xFF80)));
    return unsigned(_mm256_movemask_epi8(_mm256_or_si256(
        _mm256_cmpeq_epi16(v, zero),
        _mm256_xor_si256(_mm256_cmpeq_epi16(high, zero), _mm256_set1_epi8(char(0xFF))))));
}

// The positions of the set bits of an 8-bit mask, in order, then 0x80
// (which a byte shuffle turns into zero).
struct BitPositions {
    unsigned char at[256][8];
    constexpr BitPositions() : at() {
        for (int m = 0; m < 256; ++m) {
            int k = 0;
            for (int j = 0; j < 8; ++j)
                if (m >> j & 1)
                    at[m][k++] = (unsigned char)j;
            for (; k < 8; ++k)
                at[m][k] = 0x80;
        }
    }
};

constexpr BitPositions kBitPositions;

// A block of UTF-8 decoded into UTF-16 units: the units of the characters
// starting in its first 8 bytes in the low half, of the others in the high
// half; `low` and `high` are their bytes, `take` the source bytes.
struct DecodedBlock {
    __m256i units;
    size_t low, high;
    unsigned take;
};

// Decodes the characters of one to three bytes in front of the first
// four-byte one among the 16 bytes at `s` (all readable) when they are all
// well-formed characters other than zero; false for any other block or
// when there are none.
EZU_TARGET_AVX2 inline bool decode_utf8_block(const unsigned char* s, bool big_endian,
                                              DecodedBlock* out) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    auto at_least = [&](int low) {
        return unsigned(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(char(low))), v)));
    };
    auto equal = [&](int value) {
        return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(char(value)))));
    };
    const unsigned high = unsigned(_mm_movemask_epi8(v));
    if (high == 0) {
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) != 0)
            return false;
        const __m256i units = _mm256_cvtepu8_epi16(v);
        out->units = big_endian ? _mm256_slli_epi16(units, 8) : units;
        out->low = out->high = 16;
        out->take = 16;
        return true;
    }
    const unsigned lead2 = at_least(0xC0), lead3 = at_least(0xE0), lead4 = at_least(0xF0);
    const unsigned cont = high & ~lead2;
    // Each lead wants its continuation bytes behind it and nothing else is
    // one; overlong, surrogate and out-of-range forms show in the second
    // byte (in the next block for a lead in the last byte, which is not
    // taken); zero, C0, C1 and F5 to FF go elsewhere.
    const unsigned below_a0 = (~at_least(0xA0) & 0xFFFFu) >> 1;
    const unsigned below_90 = (~at_least(0x90) & 0xFFFFu) >> 1;
    const unsigned second = ((equal(0xE0) & below_a0) | (equal(0xED) & ~below_a0) |
                             (equal(0xF0) & below_90) | (equal(0xF4) & ~below_90)) &
                            0x7FFFu;
    const unsigned expected = (lead2 << 1 | lead3 << 2 | lead4 << 3) & 0xFFFFu;
    if ((cont ^ expected) | second | at_least(0xF5) | equal(0) | equal(0xC0) | equal(0xC1))
        return false;
    // The block is taken up to its first four-byte character (two units,
    // left to the caller) or a character that runs past it.
    const unsigned cut = lead4 | (lead2 & 0x8000u) | (lead3 & 0x4000u) | 0x10000u;
    const unsigned take = unsigned(__builtin_ctz(cut));
    if (take == 0)
        return false;
    const unsigned starts = ~cont & ((1u << take) - 1);
    // The first, second and third bytes of the characters starting in
    // bytes 0 to 7, then of those starting in bytes 8 to 15.
    const __m128i first = _mm_unpacklo_epi64(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kBitPositions.at[starts & 0xFF])),
        _mm_add_epi8(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kBitPositions.at[starts >> 8])),
            _mm_set1_epi8(8)));
    const __m128i one = _mm_set1_epi8(1);
    const __m128i at_second = _mm_add_epi8(first, one);
    const __m256i b0 = _mm256_cvtepu8_epi16(_mm_shuffle_epi8(v, first));
    const __m256i b1 = _mm256_cvtepu8_epi16(_mm_shuffle_epi8(v, at_second));
    const __m256i b2 = _mm256_cvtepu8_epi16(_mm_shuffle_epi8(v, _mm_add_epi8(at_second, one)));
    const __m256i low6 = _mm256_set1_epi16(0x3F);
    const __m256i tail = _mm256_and_si256(b1, low6);
    const __m256i two =
        _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(b0, _mm256_set1_epi16(0x1F)), 6), tail);
    const __m256i three =
        _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(b0, 12), _mm256_slli_epi16(tail, 6)),
                        _mm256_and_si256(b2, low6));
    __m256i units = _mm256_blendv_epi8(
        _mm256_blendv_epi8(b0, two, _mm256_cmpgt_epi16(b0, _mm256_set1_epi16(0xBF))), three,
        _mm256_cmpgt_epi16(b0, _mm256_set1_epi16(0xDF)));
    if (big_endian)
        units = _mm256_or_si256(_mm256_slli_epi16(units, 8), _mm256_srli_epi16(units, 8));
    out->units = units;
    out->low = 2 * size_t(__builtin_popcount(starts & 0xFF));
    out->high = 2 * size_t(__builtin_popcount(starts >> 8));
    out->take = take;
    return true;
}

} // namespace

EZU_TARGET_AVX2 size_t str_utf8_to_utf16_avx2(const unsigned char* s, size_t n, unsigned char* d,
                                              bool big_endian, size_t* written) {
    size_t i = 0, w = 0;
    DecodedBlock block;
    // A run that starts with ASCII is the ASCII routines'.
    if (n < 16 || _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))) == 0 ||
        !decode_utf8_block(s, big_endian, &block)) {
        *written = 0;
        return 0;
    }
    for (;;) {
        // A block is stored 16 bytes a half when the next one overwrites
        // all it puts behind its text; otherwise exactly.
        DecodedBlock next;
        const bool more =
            n - i - block.take >= 16 && decode_utf8_block(s + i + block.take, big_endian, &next);
        unsigned char* const at = d + w;
        const __m128i low = _mm256_castsi256_si128(block.units);
        const __m128i high = _mm256_extracti128_si256(block.units, 1);
        if (more && next.low + next.high + block.high >= 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), low);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at + block.low), high);
        } else {
            ascii_block_store_prefix(at, low, block.low);
            ascii_block_store_prefix(at + block.low, high, block.high);
        }
        i += block.take;
        w += block.low + block.high;
        if (!more)
            break;
        block = next;
    }
    *written = w;
    return i;
}

// Bit masks of the bytes of a 32-byte block that are at least / below /
// equal to a value.
EZU_TARGET_AVX2 inline uint32_t bytes_at_least(__m256i v, int low) {
    return uint32_t(_mm256_movemask_epi8(
        _mm256_cmpeq_epi8(_mm256_max_epu8(v, _mm256_set1_epi8(char(low))), v)));
}
EZU_TARGET_AVX2 inline uint32_t bytes_equal(__m256i v, int value) {
    return uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(char(value)))));
}

EZU_TARGET_AVX2 size_t str_utf8_utf16_size_avx2(const unsigned char* src, size_t n,
                                                int64_t* bytes) {
    size_t i = 0;
    int64_t total = 0;
    while (n - i >= 32) {
        const __m256i v = load(src + i);
        const uint32_t high = uint32_t(_mm256_movemask_epi8(v));
        const uint32_t zeros = bytes_equal(v, 0);
        if (high == 0) {
            if (zeros != 0)
                break;
            total += 64; // ASCII
            i += 32;
            continue;
        }
        const uint32_t lead2 = bytes_at_least(v, 0xC0), lead3 = bytes_at_least(v, 0xE0),
                       lead4 = bytes_at_least(v, 0xF0);
        const uint32_t cont = high & ~lead2;
        // Each lead wants its continuation bytes behind it, and nothing else
        // is one; overlong, surrogate and out-of-range forms show in the
        // second byte (the last byte's second byte is in the next block).
        const uint32_t expected = lead2 << 1 | lead3 << 2 | lead4 << 3;
        const uint32_t below_a0 = ~bytes_at_least(v, 0xA0) >> 1,
                       below_90 = ~bytes_at_least(v, 0x90) >> 1;
        const uint32_t second =
            (bytes_equal(v, 0xE0) & below_a0) | (bytes_equal(v, 0xED) & ~below_a0) |
            (bytes_equal(v, 0xF0) & below_90) | (bytes_equal(v, 0xF4) & ~below_90);
        const uint32_t bad = (cont ^ expected) | zeros | bytes_equal(v, 0xC0) |
                             bytes_equal(v, 0xC1) | bytes_at_least(v, 0xF5) |
                             (second & 0x7FFFFFFFu);
        if (bad != 0)
            break;
        // A character that runs past the block ends the part counted here.
        const uint32_t cut = (lead2 & 0x80000000u) | (lead3 & 0x40000000u) | (lead4 & 0x20000000u);
        const unsigned take = cut ? unsigned(__builtin_ctz(cut)) : 32;
        const uint32_t mask = take == 32 ? 0xFFFFFFFFu : (1u << take) - 1;
        total += 2 * int64_t(unsigned(__builtin_popcount(~cont & mask)) +
                             unsigned(__builtin_popcount(lead4 & mask)));
        i += take;
    }
    *bytes += total;
    return i;
}

bool str_avx2_supported() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}

EZU_TARGET_AVX2 size_t str_ascii_span_avx2(const unsigned char* src, size_t n) {
    size_t i = 0;
    while (n - i >= 64 && (byte_stops(load(src + i)) | byte_stops(load(src + i + 32))) == 0)
        i += 64;
    if (n - i >= 32 && byte_stops(load(src + i)) == 0)
        i += 32;
    return i;
}

EZU_TARGET_AVX2 size_t str_ascii_span16_avx2(const unsigned char* src, size_t units,
                                             bool big_endian) {
    size_t i = 0;
    while (units - i >= 32 && (unit_stops(load_units(src + 2 * i, big_endian)) |
                               unit_stops(load_units(src + 2 * i + 32, big_endian))) == 0)
        i += 32;
    if (units - i >= 16 && unit_stops(load_units(src + 2 * i, big_endian)) == 0)
        i += 16;
    return i;
}

EZU_TARGET_AVX2 size_t str_ascii_to_utf16_avx2(const unsigned char* src, size_t n,
                                               unsigned char* dst, bool big_endian) {
    size_t i = 0;
    for (; n - i >= 32; i += 32) {
        if (byte_stops(load(src + i)) != 0)
            break;
        __m256i low =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
        __m256i high =
            _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 16)));
        if (big_endian) {
            low = _mm256_slli_epi16(low, 8);
            high = _mm256_slli_epi16(high, 8);
        }
        store(dst + 2 * i, low);
        store(dst + 2 * i + 32, high);
    }
    return i;
}

EZU_TARGET_AVX2 size_t str_utf16_to_ascii_avx2(const unsigned char* src, size_t units,
                                               unsigned char* dst, bool big_endian) {
    size_t i = 0;
    for (; units - i >= 32; i += 32) {
        const __m256i a = load_units(src + 2 * i, big_endian);
        const __m256i b = load_units(src + 2 * i + 32, big_endian);
        if ((unit_stops(a) | unit_stops(b)) != 0)
            break;
        // The pack works within each 128-bit half; put the quarters in order.
        store(dst + i, _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8));
    }
    return i;
}

#endif
