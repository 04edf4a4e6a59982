// Blocks of UTF-8 text made of one- and two-byte characters only, as in
// most text in languages written with Latin, Greek or Cyrillic letters:
// checked with a few comparisons, far fewer than a block of any
// well-formed UTF-8 needs.
#ifndef EZU_CORE_ENCODING_LATIN_BLOCK_H
#define EZU_CORE_ENCODING_LATIN_BLOCK_H

#include "ezu/core/encoding_ascii_block.h"

#if EZU_ASCII_BLOCK_SSE2

// The 16 bytes at `s` (all readable): when they hold only characters 1 to
// U+07FF (well-formed, no zero), returns the bytes of the whole characters
// among them (16, or 15 when the last byte leads a character that runs past
// the block) and sets *continuations to the bit mask of their continuation
// bytes; 0 for any other block.
inline unsigned utf8_latin_block(const unsigned char* s, unsigned* continuations) {
    const __m128i v = ascii_block_load(s);
    // As signed bytes: continuations are -128 to -65, leads C2 to DF are
    // -62 to -33.
    const unsigned high = unsigned(_mm_movemask_epi8(v));
    const unsigned cont = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(-64))));
    const unsigned lead = unsigned(_mm_movemask_epi8(_mm_and_si128(
        _mm_cmpgt_epi8(v, _mm_set1_epi8(-63)), _mm_cmplt_epi8(v, _mm_set1_epi8(-32)))));
    const unsigned zero = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())));
    if (zero != 0 || high != (cont | lead) || cont != ((lead << 1) & 0xFFFFu))
        return 0;
    *continuations = cont;
    return lead & 0x8000u ? 15 : 16;
}

#endif

#endif
