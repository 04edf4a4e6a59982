// The AVX2 level of the direct loops, for x86-64 processors that have it
// (chosen at run time). The ASCII routines cover a prefix of whole 32-byte
// blocks of their run and return its length in characters; the caller
// finishes the run with the 16-byte routines, so they never look at the
// last block of the run. The block converters and sizers below stop in
// front of anything the per-character loops must see. Where the compiler
// cannot build them, EZU_AVX2_LOOPS is 0 and they are absent.
#ifndef EZU_CORE_ENCODING_AVX2_H
#define EZU_CORE_ENCODING_AVX2_H

#include <stddef.h>
#include <stdint.h>

#if (defined(__x86_64__) || defined(_M_X64)) && defined(__GNUC__) && !defined(EZU_NO_SSE2)
#define EZU_AVX2_LOOPS 1
#else
#define EZU_AVX2_LOOPS 0
#endif

#if EZU_AVX2_LOOPS

// True when the processor (and the system) can run the AVX2 routines.
bool str_avx2_supported();

// The same contracts as str_ascii_span, str_ascii_span16, str_ascii_to_utf16
// and str_utf16_to_ascii, for a prefix of the run made of whole blocks.
size_t str_ascii_span_avx2(const unsigned char* src, size_t n);
size_t str_ascii_span16_avx2(const unsigned char* src, size_t units, bool big_endian);
size_t str_ascii_to_utf16_avx2(const unsigned char* src, size_t n, unsigned char* dst,
                               bool big_endian);
size_t str_utf16_to_ascii_avx2(const unsigned char* src, size_t units, unsigned char* dst,
                               bool big_endian);

// Converts the well-formed characters other than zero at the start of the
// at most `n` bytes at `s` to UTF-16, checked in whole 32-byte blocks (so at
// least 32 bytes are needed), into `d` (room for 2n bytes). Writes exactly
// the UTF-16 of the characters taken, sets *written to its bytes and
// returns the source bytes taken.
size_t str_utf8_to_utf16_avx2(const unsigned char* s, size_t n, unsigned char* d, bool big_endian,
                              size_t* written);

// Converts UTF-16 to UTF-8 in blocks of 16 units from the at most `units`
// units at `s` (none zero) into `d` (room for 3 bytes a unit), starting
// with a block that is not all ASCII; surrogate pairs inside a block are
// taken, and the run ends in front of any other surrogate. Writes exactly
// the UTF-8 of the units taken (nothing behind it), sets *written to its
// bytes and returns the units taken.
size_t str_utf16_to_utf8_avx2(const unsigned char* s, size_t units, unsigned char* d,
                              bool big_endian, size_t* written);

// Sizing for UTF-8 destinations, 32 or 16 units at a time: while a whole
// block of the at most `units` units at `src` holds well-formed characters
// other than zero (a pair wholly inside it, or a high surrogate in its last
// place, left to the next block), adds their UTF-8 bytes to *bytes. Returns
// the units covered.
size_t str_utf16_utf8_size_avx2(const unsigned char* src, size_t units, bool big_endian,
                                int64_t* bytes);

// Whole 64-byte lines from `line` (aligned to 64, so that a line never
// reaches into another page) lying within the `n` bytes there, while they
// hold no zero 16-bit unit; returns the bytes they take.
size_t str_utf16_zero_free_lines_avx2(const unsigned char* line, size_t n);

// Sizing UTF-8 for UTF-16 destinations: the well-formed characters other
// than zero at the start of the at most `n` bytes at `src`, checked in whole
// 32-byte blocks; adds their UTF-16 bytes to *bytes and returns the source
// bytes they take.
size_t str_utf8_utf16_size_avx2(const unsigned char* src, size_t n, int64_t* bytes);

// The check alone, with zero bytes taken as characters: the bytes of the
// well-formed characters at the start of the at most `n` bytes at `src`,
// checked in whole 32-byte blocks.
size_t str_utf8_valid_prefix_avx2(const unsigned char* src, size_t n);

// The same for UTF-16, zero units included: the units of the well-formed
// characters at the start of the at most `units` units at `src`, checked 16
// units at a time.
size_t str_utf16_valid_prefix_avx2(const unsigned char* src, size_t units, bool big_endian);

#endif

#endif
