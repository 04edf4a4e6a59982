// Block routines for runs of ASCII (1 to 0x7F) in the conversion's direct
// loops: 16 bytes at a time with SSE2 where the compiler targets it, 8 at a
// time through a 64-bit word or one unit at a time otherwise. Each routine
// handles the longest ASCII prefix it is given and returns its length in
// characters; a zero byte or unit ends the run like any non-ASCII one, so the
// caller decides what happens there. Nothing is written past that prefix.
//
// The *_portable variants are always built, so tests can compare them with
// whichever variant the dispatching names use; defining EZU_NO_SSE2 makes the
// dispatching names use them too. Everything is inline: the direct loops call
// these once per run of ASCII, often a short one.
#ifndef EZU_CORE_ENCODING_ASCII_BLOCK_H
#define EZU_CORE_ENCODING_ASCII_BLOCK_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#if defined(__SSE2__) && !defined(EZU_NO_SSE2)
#define EZU_ASCII_BLOCK_SSE2 1
#include <emmintrin.h>
#else
#define EZU_ASCII_BLOCK_SSE2 0
#endif

inline bool ascii_block_is_ascii(unsigned unit) {
    return unit - 1u < 0x7Fu; // 1 to 0x7F; zero wraps around
}

inline unsigned ascii_block_load_unit(const unsigned char* at, bool big_endian) {
    return big_endian ? unsigned(at[0]) << 8 | at[1] : unsigned(at[1]) << 8 | at[0];
}

inline void ascii_block_store_unit(unsigned char* at, unsigned char byte, bool big_endian) {
    at[0] = big_endian ? 0 : byte;
    at[1] = big_endian ? byte : 0;
}

// True when all 8 bytes at `src` are ASCII: a zero byte borrows into its high
// bit, a byte from 0x80 has it set already.
inline bool ascii_block_word_is_ascii(const unsigned char* src) {
    uint64_t w;
    memcpy(&w, src, 8);
    return (((w - 0x0101010101010101ull) | w) & 0x8080808080808080ull) == 0;
}

// Bytes 1 to 0x7F at the start of the `n` bytes at `src`.
inline size_t str_ascii_span_portable(const unsigned char* src, size_t n) {
    size_t i = 0;
    while (n - i >= 8 && ascii_block_word_is_ascii(src + i))
        i += 8;
    while (i < n && ascii_block_is_ascii(src[i]))
        ++i;
    return i;
}

// 16-bit units 1 to 0x7F at the start of the `units` units at `src`, in the
// given byte order.
inline size_t str_ascii_span16_portable(const unsigned char* src, size_t units, bool big_endian) {
    size_t i = 0;
    while (i < units && ascii_block_is_ascii(ascii_block_load_unit(src + 2 * i, big_endian)))
        ++i;
    return i;
}

// Widens the ASCII prefix of at most `n` bytes at `src` into 16-bit units at
// `dst` (room for 2n bytes), in the given order.
inline size_t str_ascii_to_utf16_portable(const unsigned char* src, size_t n, unsigned char* dst,
                                          bool big_endian) {
    size_t i = 0;
    for (; n - i >= 8 && ascii_block_word_is_ascii(src + i); i += 8) {
        for (size_t j = i; j < i + 8; ++j)
            ascii_block_store_unit(dst + 2 * j, src[j], big_endian);
    }
    for (; i < n && ascii_block_is_ascii(src[i]); ++i)
        ascii_block_store_unit(dst + 2 * i, src[i], big_endian);
    return i;
}

// Narrows the ASCII prefix of at most `units` 16-bit units at `src` (in the
// given order) into bytes at `dst` (room for `units` bytes).
inline size_t str_utf16_to_ascii_portable(const unsigned char* src, size_t units,
                                          unsigned char* dst, bool big_endian) {
    size_t i = 0;
    for (; i < units; ++i) {
        const unsigned unit = ascii_block_load_unit(src + 2 * i, big_endian);
        if (!ascii_block_is_ascii(unit))
            break;
        dst[i] = (unsigned char)unit;
    }
    return i;
}

#if EZU_ASCII_BLOCK_SSE2

inline __m128i ascii_block_load(const unsigned char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

inline void ascii_block_store(unsigned char* at, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v);
}

// Bit i set where byte i is not ASCII (zero, or from 0x80).
inline unsigned ascii_block_stops(__m128i v) {
    return unsigned(_mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, _mm_setzero_si128()))));
}

// Eight units in little-endian order.
inline __m128i ascii_block_load_units(const unsigned char* at, bool big_endian) {
    const __m128i v = ascii_block_load(at);
    return big_endian ? _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8)) : v;
}

// Bits 2i and 2i+1 set where unit i is not ASCII.
inline unsigned ascii_block_unit_stops(__m128i v) {
    const __m128i ascii = _mm_and_si128(_mm_cmpgt_epi16(v, _mm_setzero_si128()),
                                        _mm_cmplt_epi16(v, _mm_set1_epi16(0x80)));
    return ~unsigned(_mm_movemask_epi8(ascii)) & 0xFFFFu;
}

// How many of the 8 units in `v` come in front of the first surrogate (8
// when there is none).
inline unsigned ascii_block_units_before_surrogate(__m128i v) {
    const __m128i surrogate = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xF800))),
                                              _mm_set1_epi16(short(0xD800)));
    const unsigned surrogates =
        unsigned(_mm_movemask_epi8(_mm_packs_epi16(surrogate, surrogate))) & 0xFF;
    return surrogates ? unsigned(__builtin_ctz(surrogates)) : 8;
}

inline size_t str_ascii_span(const unsigned char* src, size_t n) {
    size_t i = 0;
    // Two blocks per test while both are ASCII; one block at a time near the
    // end of the run finds its exact length.
    while (n - i >= 32 && (ascii_block_stops(ascii_block_load(src + i)) |
                           ascii_block_stops(ascii_block_load(src + i + 16))) == 0)
        i += 32;
    for (; n - i >= 16; i += 16) {
        const unsigned stops = ascii_block_stops(ascii_block_load(src + i));
        if (stops)
            return i + size_t(__builtin_ctz(stops));
    }
    return i + str_ascii_span_portable(src + i, n - i);
}

inline size_t str_ascii_span16(const unsigned char* src, size_t units, bool big_endian) {
    size_t i = 0;
    for (; units - i >= 8; i += 8) {
        const unsigned stops =
            ascii_block_unit_stops(ascii_block_load_units(src + 2 * i, big_endian));
        if (stops)
            return i + size_t(__builtin_ctz(stops)) / 2;
    }
    return i + str_ascii_span16_portable(src + 2 * i, units - i, big_endian);
}

// Writes the first `n` (up to 8) bytes of `w` as it lies in memory, with
// two overlapping stores instead of a loop: short runs are the common case
// in text with accents, and nothing may be written past them.
inline void ascii_block_store_prefix(unsigned char* at, uint64_t w, size_t n) {
    if (n >= 4) {
        const uint32_t first = uint32_t(w), last = uint32_t(w >> (8 * (n - 4)));
        memcpy(at, &first, 4);
        memcpy(at + n - 4, &last, 4);
    } else if (n >= 2) {
        const uint16_t first = uint16_t(w), last = uint16_t(w >> (8 * (n - 2)));
        memcpy(at, &first, 2);
        memcpy(at + n - 2, &last, 2);
    } else if (n == 1) {
        at[0] = (unsigned char)w;
    }
}

// Writes the first `n` (up to 16) bytes of `v`.
inline void ascii_block_store_prefix(unsigned char* at, __m128i v, size_t n) {
    unsigned char bytes[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), v);
    uint64_t low, high;
    memcpy(&low, bytes, 8);
    memcpy(&high, bytes + 8, 8);
    if (n >= 8) {
        memcpy(at, &low, 8);
        ascii_block_store_prefix(at + 8, high, n - 8);
    } else {
        ascii_block_store_prefix(at, low, n);
    }
}

inline size_t str_ascii_to_utf16(const unsigned char* src, size_t n, unsigned char* dst,
                                 bool big_endian) {
    const __m128i zero = _mm_setzero_si128();
    size_t i = 0;
    for (; n - i >= 16; i += 16) {
        const __m128i v = ascii_block_load(src + i);
        const unsigned stops = ascii_block_stops(v);
        const __m128i low = big_endian ? _mm_unpacklo_epi8(zero, v) : _mm_unpacklo_epi8(v, zero);
        const __m128i high = big_endian ? _mm_unpackhi_epi8(zero, v) : _mm_unpackhi_epi8(v, zero);
        if (stops) {
            const size_t run = size_t(__builtin_ctz(stops));
            if (run >= 8) {
                ascii_block_store(dst + 2 * i, low);
                ascii_block_store_prefix(dst + 2 * i + 16, high, 2 * (run - 8));
            } else {
                ascii_block_store_prefix(dst + 2 * i, low, 2 * run);
            }
            return i + run;
        }
        ascii_block_store(dst + 2 * i, low);
        ascii_block_store(dst + 2 * i + 16, high);
    }
    return i + str_ascii_to_utf16_portable(src + i, n - i, dst + 2 * i, big_endian);
}

inline size_t str_utf16_to_ascii(const unsigned char* src, size_t units, unsigned char* dst,
                                 bool big_endian) {
    size_t i = 0;
    for (; units - i >= 16; i += 16) {
        const __m128i a = ascii_block_load_units(src + 2 * i, big_endian);
        const __m128i b = ascii_block_load_units(src + 2 * i + 16, big_endian);
        if ((ascii_block_unit_stops(a) | ascii_block_unit_stops(b)) != 0)
            break;
        ascii_block_store(dst + i, _mm_packus_epi16(a, b));
    }
    for (; units - i >= 8; i += 8) {
        const __m128i a = ascii_block_load_units(src + 2 * i, big_endian);
        const unsigned stops = ascii_block_unit_stops(a);
        const __m128i bytes = _mm_packus_epi16(a, a);
        if (stops) {
            const size_t run = size_t(__builtin_ctz(stops)) / 2;
            ascii_block_store_prefix(dst + i, bytes, run);
            return i + run;
        }
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + i), bytes);
    }
    return i + str_utf16_to_ascii_portable(src + 2 * i, units - i, dst + i, big_endian);
}

#else

inline size_t str_ascii_span(const unsigned char* src, size_t n) {
    return str_ascii_span_portable(src, n);
}

inline size_t str_ascii_span16(const unsigned char* src, size_t units, bool big_endian) {
    return str_ascii_span16_portable(src, units, big_endian);
}

inline size_t str_ascii_to_utf16(const unsigned char* src, size_t n, unsigned char* dst,
                                 bool big_endian) {
    return str_ascii_to_utf16_portable(src, n, dst, big_endian);
}

inline size_t str_utf16_to_ascii(const unsigned char* src, size_t units, unsigned char* dst,
                                 bool big_endian) {
    return str_utf16_to_ascii_portable(src, units, dst, big_endian);
}

#endif

#endif
