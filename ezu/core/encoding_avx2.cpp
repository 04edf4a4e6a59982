// The AVX2 level of the direct loops: runs of ASCII 32 bytes at a time (UTF-8
// sources and the checks are in encoding_avx2_utf8.cpp, UTF-16 to UTF-8 in
// encoding_avx2_utf16.cpp). The functions carry their own target attribute, so the rest of the
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

} // namespace

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
