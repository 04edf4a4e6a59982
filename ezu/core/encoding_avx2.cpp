// Runs of ASCII 32 bytes at a time with AVX2. The functions carry their own
// target attribute, so the rest of the library is built for the baseline
// processor and calls them only after str_avx2_supported said yes.
#include "ezu/core/encoding_avx2.h"

#if EZU_AVX2_LOOPS

#include "ezu/core/encoding_latin_block.h"

#include <immintrin.h>

#define EZU_TARGET_AVX2 __attribute__((target("avx2")))

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

// Shuffles that move the kept 16-bit lanes of a vector to its front: entry
// m keeps lane j where bit j of m is set.
struct LaneCompaction {
    unsigned char shuffle[256][16];
    unsigned char count[256];
    constexpr LaneCompaction() : shuffle(), count() {
        for (int m = 0; m < 256; ++m) {
            int k = 0;
            for (int j = 0; j < 8; ++j) {
                if (m >> j & 1) {
                    shuffle[m][2 * k] = (unsigned char)(2 * j);
                    shuffle[m][2 * k + 1] = (unsigned char)(2 * j + 1);
                    ++k;
                }
            }
            count[m] = (unsigned char)k;
            for (int i = 2 * k; i < 16; ++i)
                shuffle[m][i] = 0x80;
        }
    }
};

constexpr LaneCompaction kCompaction;

// The UTF-16 units of the characters starting in eight positions: `b` holds
// each position's byte, `next` the byte after it, both widened to 16 bits.
EZU_TARGET_AVX2 inline __m128i latin_units(__m128i b, __m128i next, bool big_endian) {
    const __m128i lead = _mm_cmpgt_epi16(b, _mm_set1_epi16(0xBF));
    const __m128i two = _mm_or_si128(_mm_slli_epi16(_mm_and_si128(b, _mm_set1_epi16(0x1F)), 6),
                                     _mm_and_si128(next, _mm_set1_epi16(0x3F)));
    const __m128i u = _mm_or_si128(_mm_and_si128(lead, two), _mm_andnot_si128(lead, b));
    return big_endian ? _mm_or_si128(_mm_slli_epi16(u, 8), _mm_srli_epi16(u, 8)) : u;
}

// Writes the kept lanes of `u` at `d`, exactly; returns the bytes written.
EZU_TARGET_AVX2 inline size_t store_kept(unsigned char* d, __m128i u, unsigned keep) {
    const __m128i order =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kCompaction.shuffle[keep]));
    const size_t bytes = 2 * size_t(kCompaction.count[keep]);
    ascii_block_store_prefix(d, _mm_shuffle_epi8(u, order), bytes);
    return bytes;
}

} // namespace

EZU_TARGET_AVX2 size_t str_latin_block_to_utf16_avx2(const unsigned char* s, unsigned char* d,
                                                     bool big_endian, size_t* written) {
    unsigned continuations;
    const unsigned n = utf8_latin_block(s, &continuations);
    if (n == 0 || continuations == 0)
        return 0;
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i next = _mm_srli_si128(v, 1);
    const __m128i zero = _mm_setzero_si128();
    // A character starts at every byte that is not a continuation byte.
    const unsigned starts = ~continuations & ((1u << n) - 1);
    const size_t low = store_kept(
        d, latin_units(_mm_unpacklo_epi8(v, zero), _mm_unpacklo_epi8(next, zero), big_endian),
        starts & 0xFF);
    *written = low + store_kept(d + low,
                                latin_units(_mm_unpackhi_epi8(v, zero),
                                            _mm_unpackhi_epi8(next, zero), big_endian),
                                starts >> 8);
    return n;
}

bool str_avx2_supported() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
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
