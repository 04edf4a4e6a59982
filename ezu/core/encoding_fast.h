// Direct loops for the conversion core: runs of characters converted or
// sized without going through the encoding table one character at a time.
//
// A run covers only characters every path treats alike: Unicode scalar values
// other than zero (no surrogates, nothing above U+10FFFF, no overlong or
// otherwise ill-formed UTF-8), each lying wholly inside the source and, when
// converting, fitting wholly into the room. The run stops in front of
// anything else and leaves it to the table, so decoding errors, their reports
// and the handling of the text's end stay with the per-encoding operations.
//
// `from` and `to` are settled encodings: 0, 1, 3, 4 or 5 (encoding 2 once its
// order is known); for any other pair the run is empty.
#ifndef EZU_CORE_ENCODING_FAST_H
#define EZU_CORE_ENCODING_FAST_H

#include <stddef.h>
#include <stdint.h>

// Implementation levels of the block routines, each kept beside the better
// ones: plain C++, 16-byte SSE2 blocks, and (on x86-64 processors that have
// it) AVX2 blocks for ASCII and the common conversions. The best the machine has is
// used unless a test asks for another.
enum { FAST_PORTABLE = 0, FAST_SSE2 = 1, FAST_AVX2 = 2 };

// The level in use.
int str_fast_level();

// For tests only: uses `level` from now on, or the best the machine has when
// it asks for more (or is negative); returns the level now in use.
int str_fast_force_level(int level);

// Bytes 1 to 0x7F at the start of the `n` bytes at `src`, with the block
// routines of the level in use.
size_t str_fast_ascii_span(const unsigned char* src, size_t n);

// Bytes of the at most `len` bytes at `src` in front of the first zero unit
// of encoding `from` (any UTF-16 order for encoding 2); `len` without one.
// The runs are given no more than this, so that their block reads never go
// past the end of a zero-terminated text whose length was given too large.
// Read one unit at a time, except through memchr for single bytes.
int str_fast_text_length(const unsigned char* src, int len, int from);

// For a source of single bytes (encodings 0 and 1), whose runs stop at a
// zero byte themselves: bytes of the at most `len` bytes at `src` (a byte
// of the text, or its terminator) that a run may be given without reading
// past the terminator into memory that may not exist. That is the rest of
// the 4 KiB page `src` lies in, and the next page too when no zero comes
// first; the next run gets the next page.
int str_fast_run_bound(const unsigned char* src, int len);

// False under AddressSanitizer, which calls any read past a text's
// terminator a fault even inside a page: there str_fast_text_length bounds
// the runs of every source.
bool str_fast_page_bounds();

// Adds the destination bytes of the run at the start of `src` (at most `len`
// bytes) to *size and returns the source bytes it covers. Sizing treats the
// destination 2 like 3 and 4, which take the same room.
int str_fast_size_run(const unsigned char* src, int len, int from, int to, int64_t* size);

// Converts the run at the start of `src` (at most `left` bytes) into `dst`
// (`room` bytes), writing no terminator; returns the source bytes consumed
// and sets *written to the bytes written.
int str_fast_convert_run(const unsigned char* src, int left, int from, unsigned char* dst, int room,
                         int to, int* written);

#endif
