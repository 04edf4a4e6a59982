// Sizing well-formed UTF-8 and UTF-16 sixteen bytes at a time with SSE2: a
// block is checked as a whole (structure, overlong forms, surrogates, range,
// zero) and its characters counted without decoding them. A block with
// anything else in it is left to the per-character loops. Without SSE2 there
// are no block sizers and those loops do all the work.
#ifndef EZU_CORE_ENCODING_BLOCK_SIZE_H
#define EZU_CORE_ENCODING_BLOCK_SIZE_H

#include "ezu/core/encoding_ascii_block.h"

#if EZU_ASCII_BLOCK_SSE2

// What a block sizer found in the whole characters at the start of a block.
struct BlockCounts {
    unsigned bytes;      // bytes they take
    unsigned chars;      // characters (UTF-8) or units (UTF-16)
    unsigned narrow;     // UTF-16 units below 0x80
    unsigned mid;        // UTF-16 units below 0x800
    unsigned four_byte;  // UTF-8 four-byte characters
    unsigned surrogates; // UTF-16 units of surrogate pairs
    bool ascii;          // the whole block is ASCII
};

inline unsigned block_popcount16(unsigned m) {
    m = m - ((m >> 1) & 0x5555u);
    m = (m & 0x3333u) + ((m >> 2) & 0x3333u);
    m = (m + (m >> 4)) & 0x0F0Fu;
    return (m + (m >> 8)) & 0x1Fu;
}

// 0xFF in each byte lane of `v` at least `low` / below `high` (unsigned) /
// equal to `value`.
inline __m128i block_at_least(__m128i v, int low) {
    return _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(char(low))), v);
}
inline __m128i block_below(__m128i v, int high) {
    return _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(char(high - 1))), v);
}
inline __m128i block_equal(__m128i v, int value) {
    return _mm_cmpeq_epi8(v, _mm_set1_epi8(char(value)));
}

// The 16 bytes at `s` (all readable) hold UTF-8: counts the well-formed
// characters other than zero at the start of the block, ending before a
// character that runs past it. 0 bytes when anything in the block is not
// well-formed.
inline BlockCounts utf8_block_counts(const unsigned char* s) {
    BlockCounts c = {0, 0, 0, 0, 0, 0, false};
    const __m128i v = ascii_block_load(s);
    if (ascii_block_stops(v) == 0) {
        c.bytes = c.chars = 16;
        c.ascii = true;
        return c;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i lead2 = block_at_least(v, 0xC0), lead3 = block_at_least(v, 0xE0),
                  lead4 = block_at_least(v, 0xF0);
    const __m128i cont = _mm_andnot_si128(lead2, _mm_cmplt_epi8(v, zero));
    // Each lead wants its continuation bytes behind it, and nothing else is
    // a continuation byte.
    const __m128i expected = _mm_or_si128(
        _mm_or_si128(_mm_slli_si128(lead2, 1), _mm_slli_si128(lead3, 2)), _mm_slli_si128(lead4, 3));
    // Overlong, surrogate and out-of-range forms show in the second byte; a
    // lead in the last byte has its second byte in the next block.
    const __m128i next = _mm_srli_si128(v, 1);
    const __m128i below_a0 = block_below(next, 0xA0), below_90 = block_below(next, 0x90);
    const __m128i second =
        _mm_or_si128(_mm_or_si128(_mm_and_si128(block_equal(v, 0xE0), below_a0),
                                  _mm_andnot_si128(below_a0, block_equal(v, 0xED))),
                     _mm_or_si128(_mm_and_si128(block_equal(v, 0xF0), below_90),
                                  _mm_andnot_si128(below_90, block_equal(v, 0xF4))));
    const __m128i bad =
        _mm_or_si128(_mm_or_si128(_mm_xor_si128(cont, expected), _mm_cmpeq_epi8(v, zero)),
                     _mm_or_si128(block_equal(_mm_and_si128(v, _mm_set1_epi8(char(0xFE))), 0xC0),
                                  block_at_least(v, 0xF5)));
    if (((unsigned(_mm_movemask_epi8(bad)) | (unsigned(_mm_movemask_epi8(second)) & 0x7FFF))) != 0)
        return c;
    // A character that runs past the block ends the part counted here.
    const unsigned lead2s = unsigned(_mm_movemask_epi8(lead2)),
                   lead3s = unsigned(_mm_movemask_epi8(lead3)),
                   lead4s = unsigned(_mm_movemask_epi8(lead4));
    const unsigned cut = (lead2s & 0x8000) | (lead3s & 0x4000) | (lead4s & 0x2000);
    const unsigned n = cut ? unsigned(__builtin_ctz(cut)) : 16;
    const unsigned mask = (1u << n) - 1;
    c.bytes = n;
    c.chars = block_popcount16(~unsigned(_mm_movemask_epi8(cont)) & mask);
    c.four_byte = block_popcount16(lead4s & mask);
    return c;
}

// The 8 units at `s` (all readable) hold UTF-16: counts the units of whole
// characters other than zero at the start of the block, ending before a pair
// that runs past it. 0 bytes when the block holds a zero or a lone surrogate.
inline BlockCounts utf16_block_counts(const unsigned char* s, bool big_endian) {
    BlockCounts c = {0, 0, 0, 0, 0, 0, false};
    const __m128i v = ascii_block_load_units(s, big_endian);
    if (ascii_block_unit_stops(v) == 0) {
        c.bytes = 16;
        c.chars = c.narrow = c.mid = 8;
        c.ascii = true;
        return c;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_and_si128(v, _mm_set1_epi16(short(0xFC00)));
    const __m128i high = _mm_cmpeq_epi16(top, _mm_set1_epi16(short(0xD800)));
    const __m128i low = _mm_cmpeq_epi16(top, _mm_set1_epi16(short(0xDC00)));
    const unsigned pairs = unsigned(_mm_movemask_epi8(_mm_packs_epi16(high, low)));
    const unsigned highs = pairs & 0xFF, lows = pairs >> 8;
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(v, zero)) != 0 || lows != ((highs << 1) & 0xFF))
        return c;
    const unsigned n = highs & 0x80 ? 7 : 8; // a pair that runs past the block
    const unsigned mask = (1u << n) - 1;
    const __m128i below_80 = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), zero);
    const __m128i below_800 =
        _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xF800))), zero);
    const unsigned small = unsigned(_mm_movemask_epi8(_mm_packs_epi16(below_80, below_800)));
    c.bytes = 2 * n;
    c.chars = n;
    c.narrow = block_popcount16(small & mask);
    c.mid = block_popcount16((small >> 8) & mask);
    c.surrogates = block_popcount16((highs | lows) & mask);
    return c;
}

#endif

#endif
