// The AVX2 level of the direct loops: runs of ASCII 32 bytes at a time,
// UTF-16 blocks converted to UTF-8 through byte shuffles, and the sizing
// checks over whole blocks of UTF-16 (UTF-8 sources are in
// encoding_avx2_utf8.cpp). The functions carry their own target attribute, so the rest of the
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

// Shuffles that put the UTF-8 of four 32-bit lanes (one to three bytes
// each, in memory order) one behind the other: entry m takes from lane j
// the bytes given by bits 2j and 2j + 1 of m (0: one byte, 1: two, 2:
// three, 3: none).
struct Utf8Compaction {
    unsigned char shuffle[256][16];
    unsigned char count[256];
    constexpr Utf8Compaction() : shuffle(), count() {
        for (int m = 0; m < 256; ++m) {
            int k = 0;
            for (int j = 0; j < 4; ++j) {
                const int code = m >> (2 * j) & 3;
                const int bytes = code == 3 ? 0 : code + 1;
                for (int b = 0; b < bytes; ++b)
                    shuffle[m][k++] = (unsigned char)(4 * j + b);
            }
            count[m] = (unsigned char)k;
            for (int i = k; i < 16; ++i)
                shuffle[m][i] = 0x80;
        }
    }
};

constexpr Utf8Compaction kUtf8Compaction;

// Bits 0 to 3 of m moved to bits 0, 2, 4 and 6.
constexpr unsigned char kSpread[16] = {0x00, 0x01, 0x04, 0x05, 0x10, 0x11, 0x14, 0x15,
                                       0x40, 0x41, 0x44, 0x45, 0x50, 0x51, 0x54, 0x55};

// The UTF-8 bytes of the units in 32-bit lanes, one to three bytes per lane
// in memory order.
EZU_TARGET_AVX2 inline __m256i utf8_of_units(__m256i x) {
    const __m256i low6 = _mm256_set1_epi32(0x3F), cont = _mm256_set1_epi32(0x80);
    const __m256i last = _mm256_or_si256(cont, _mm256_and_si256(x, low6));
    const __m256i middle = _mm256_or_si256(cont, _mm256_and_si256(_mm256_srli_epi32(x, 6), low6));
    const __m256i three =
        _mm256_or_si256(_mm256_or_si256(_mm256_set1_epi32(0xE0), _mm256_srli_epi32(x, 12)),
                        _mm256_or_si256(_mm256_slli_epi32(middle, 8), _mm256_slli_epi32(last, 16)));
    const __m256i two =
        _mm256_or_si256(_mm256_or_si256(_mm256_set1_epi32(0xC0), _mm256_srli_epi32(x, 6)),
                        _mm256_slli_epi32(last, 8));
    const __m256i is_two = _mm256_cmpgt_epi32(x, _mm256_set1_epi32(0x7F));
    const __m256i is_three = _mm256_cmpgt_epi32(x, _mm256_set1_epi32(0x7FF));
    return _mm256_blendv_epi8(_mm256_blendv_epi8(x, two, is_two), three, is_three);
}

} // namespace

EZU_TARGET_AVX2 size_t str_utf16_to_utf8_avx2(const unsigned char* s, size_t units,
                                              unsigned char* d, bool big_endian, size_t* written) {
    const __m128i zero = _mm_setzero_si128();
    size_t i = 0, w = 0;
    while (units - i >= 8) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * i));
        if (big_endian)
            v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
        const __m128i below_80 =
            _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), zero);
        const __m128i below_800 =
            _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xF800))), zero);
        // Bit i: unit i below 0x80; bit 8 + i: below 0x800.
        const unsigned small = unsigned(_mm_movemask_epi8(_mm_packs_epi16(below_80, below_800)));
        if ((small & 0xFF) == 0xFF) {
            // ASCII between the blocks of other characters; a run that
            // starts with it is the ASCII routines' (so is a zero).
            if (i == 0 || _mm_movemask_epi8(_mm_cmpeq_epi16(v, zero)) != 0)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(d + w), _mm_packus_epi16(v, v));
            i += 8;
            w += 8;
            continue;
        }
        // The units in front of the first surrogate, which ends the run.
        const unsigned n = ascii_block_units_before_surrogate(v);
        if (n == 0)
            break;
        const unsigned dropped = 0xFFu & ~((1u << n) - 1);
        // Per unit, its bytes less one (2 less a byte for each limit it is
        // below), or 3 for a unit left behind.
        const unsigned codes_low = (0xAAu - kSpread[small & 0xF] - kSpread[small >> 8 & 0xF]) |
                                   3u * kSpread[dropped & 0xF];
        const unsigned codes_high =
            (0xAAu - kSpread[small >> 4 & 0xF] - kSpread[small >> 12 & 0xF]) |
            3u * kSpread[dropped >> 4];
        const __m256i lanes = utf8_of_units(_mm256_cvtepu16_epi32(v));
        const __m256i order = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(
                reinterpret_cast<const __m128i*>(kUtf8Compaction.shuffle[codes_low]))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(kUtf8Compaction.shuffle[codes_high])),
            1);
        const __m256i packed = _mm256_shuffle_epi8(lanes, order);
        const size_t first = kUtf8Compaction.count[codes_low];
        const size_t second = kUtf8Compaction.count[codes_high];
        ascii_block_store_prefix(d + w, _mm256_castsi256_si128(packed), first);
        ascii_block_store_prefix(d + w + first, _mm256_extracti128_si256(packed, 1), second);
        i += n;
        w += first + second;
        if (n < 8)
            break;
    }
    *written = w;
    return i;
}

EZU_TARGET_AVX2 size_t str_utf16_utf8_size_avx2(const unsigned char* src, size_t units,
                                                bool big_endian, int64_t* bytes) {
    const __m256i zero = _mm256_setzero_si256();
    size_t i = 0;
    int64_t total = 0;
    for (; units - i >= 16; i += 16) {
        const __m256i v = load_units(src + 2 * i, big_endian);
        if (unit_stops(v) == 0) {
            total += 16; // ASCII
            continue;
        }
        const __m256i top = _mm256_and_si256(v, _mm256_set1_epi16(short(0xFC00)));
        // Two mask bits per unit.
        const uint32_t highs = uint32_t(
            _mm256_movemask_epi8(_mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xD800)))));
        const uint32_t lows = uint32_t(
            _mm256_movemask_epi8(_mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xDC00)))));
        const uint32_t zeros = uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi16(v, zero)));
        // Every high surrogate has its low one right behind it, in the block.
        if (zeros != 0 || lows != highs << 2 || (highs >> 30) != 0)
            break;
        const uint32_t below_80 = uint32_t(_mm256_movemask_epi8(
            _mm256_cmpeq_epi16(_mm256_and_si256(v, _mm256_set1_epi16(short(0xFF80))), zero)));
        const uint32_t below_800 = uint32_t(_mm256_movemask_epi8(
            _mm256_cmpeq_epi16(_mm256_and_si256(v, _mm256_set1_epi16(short(0xF800))), zero)));
        // Three bytes a unit, less one below each limit, less one for each
        // unit of a pair (four bytes the pair).
        total += 48 - (__builtin_popcount(below_80) + __builtin_popcount(below_800) +
                       __builtin_popcount(highs | lows)) /
                          2;
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
