// Direct conversion loops, one instantiation per pair of source and
// destination, with runs of ASCII handled in blocks.
#include "ezu/core/encoding_fast.h"

#include "ezu/core/encoding.h"
#include "ezu/core/encoding_ascii_block.h"
#include "ezu/core/encoding_avx2.h"
#include "ezu/core/encoding_block_size.h"
#include "ezu/core/encoding_latin_block.h"

#include <stdint.h>
#include <string.h>

#include <type_traits>

#if defined(__SANITIZE_ADDRESS__)
#define EZU_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EZU_UNDER_ASAN 1
#endif
#endif
#ifndef EZU_UNDER_ASAN
#define EZU_UNDER_ASAN 0
#endif

namespace {

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

bool is_surrogate(uint32_t code) {
    return code >= 0xD800 && code <= 0xDFFF;
}

uint32_t load_unit(const unsigned char* at, bool big_endian) {
    return big_endian ? uint32_t(at[0]) << 8 | at[1] : uint32_t(at[1]) << 8 | at[0];
}

// A 16-bit unit in whichever order; good for comparing with zero.
uint16_t load_any_unit(const unsigned char* at) {
    uint16_t unit;
    memcpy(&unit, at, 2);
    return unit;
}

void store_unit(unsigned char* at, uint32_t unit, bool big_endian) {
    at[big_endian ? 0 : 1] = (unsigned char)(unit >> 8);
    at[big_endian ? 1 : 0] = (unsigned char)unit;
}

// Sources. decode reads one character from `avail` (at least 1) bytes and
// returns the bytes it takes, or 0 for anything left to the encoding table.
// kUnit is the source's unit size; a unit below 0x80 starts an ASCII run.
// kBigEndian is the order of 16-bit units (false where there are none);
// kBlockSized tells whether the block sizers know the source.

struct AsciiSource {
    static const int kUnit = 1;
    static const bool kBlockSized = false;
    static const bool kBigEndian = false;
    static int decode(const unsigned char* s, size_t, uint32_t* code) {
        *code = s[0];
        return s[0] != 0 && s[0] < 0x80; // high bytes widen as signed values
    }
};

struct Utf8Source {
    static const int kUnit = 1;
    static const bool kBlockSized = true;
    static const bool kBigEndian = false;
    static int decode(const unsigned char* s, size_t avail, uint32_t* code) {
        const uint32_t lead = s[0];
        if (lead < 0x80) {
            *code = lead;
            return lead != 0;
        }
        if (lead < 0xC2) // a continuation byte, or the lead of an overlong form
            return 0;
        if (lead < 0xE0) {
            if (avail < 2 || !is_continuation(s[1]))
                return 0;
            *code = (lead & 0x1F) << 6 | (s[1] & 0x3Fu);
            return 2;
        }
        if (lead < 0xF0) {
            if (avail < 3 || !is_continuation(s[1]) || !is_continuation(s[2]))
                return 0;
            const uint32_t c = (lead & 0x0F) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
            if (c < 0x800 || is_surrogate(c))
                return 0;
            *code = c;
            return 3;
        }
        if (lead > 0xF4 || avail < 4 || !is_continuation(s[1]) || !is_continuation(s[2]) ||
            !is_continuation(s[3]))
            return 0;
        const uint32_t c =
            (lead & 0x07) << 18 | (s[1] & 0x3Fu) << 12 | (s[2] & 0x3Fu) << 6 | (s[3] & 0x3Fu);
        if (c < 0x10000 || c > 0x10FFFF)
            return 0;
        *code = c;
        return 4;
    }
};

template <bool BigEndian> struct Utf16Source {
    static const int kUnit = 2;
    static const bool kBlockSized = true;
    static const bool kBigEndian = BigEndian;
    static int decode(const unsigned char* s, size_t avail, uint32_t* code) {
        if (avail < 2)
            return 0;
        const uint32_t first = load_unit(s, BigEndian);
        if (!is_surrogate(first)) {
            *code = first;
            return first != 0 ? 2 : 0;
        }
        if (first > 0xDBFF || avail < 4)
            return 0;
        const uint32_t second = load_unit(s + 2, BigEndian);
        if (second < 0xDC00 || second > 0xDFFF)
            return 0;
        *code = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        return 4;
    }
};

struct Utf32Source {
    static const int kUnit = 4;
    static const bool kBlockSized = false;
    static const bool kBigEndian = false;
    static int decode(const unsigned char* s, size_t avail, uint32_t* code) {
        if (avail < 4)
            return 0;
        uint32_t c;
        memcpy(&c, s, 4);
        if (c == 0 || is_surrogate(c) || c > 0x10FFFF)
            return 0;
        *code = c;
        return 4;
    }
};

// Destinations, given scalar values only. size is the bytes write puts out
// for a code point; kWidth those of an ASCII character.

struct AsciiDestination {
    static const int kWidth = 1;
    static const bool kBigEndian = false;
    static int size(uint32_t) { return 1; }
    static void write(uint32_t code, unsigned char* d) {
        d[0] = code < 0x80 ? (unsigned char)code : '?';
    }
};

struct Utf8Destination {
    static const int kWidth = 1;
    static const bool kBigEndian = false;
    static int size(uint32_t code) {
        return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    }
    static void write(uint32_t code, unsigned char* d) {
        if (code < 0x80) {
            d[0] = (unsigned char)code;
        } else if (code < 0x800) {
            d[0] = (unsigned char)(0xC0 | code >> 6);
            d[1] = (unsigned char)(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            d[0] = (unsigned char)(0xE0 | code >> 12);
            d[1] = (unsigned char)(0x80 | (code >> 6 & 0x3F));
            d[2] = (unsigned char)(0x80 | (code & 0x3F));
        } else {
            d[0] = (unsigned char)(0xF0 | code >> 18);
            d[1] = (unsigned char)(0x80 | (code >> 12 & 0x3F));
            d[2] = (unsigned char)(0x80 | (code >> 6 & 0x3F));
            d[3] = (unsigned char)(0x80 | (code & 0x3F));
        }
    }
};

template <bool BigEndian> struct Utf16Destination {
    static const int kWidth = 2;
    static const bool kBigEndian = BigEndian;
    static int size(uint32_t code) { return code < 0x10000 ? 2 : 4; }
    static void write(uint32_t code, unsigned char* d) {
        if (code < 0x10000) {
            store_unit(d, code, BigEndian);
            return;
        }
        const uint32_t v = code - 0x10000;
        store_unit(d, 0xD800 + (v >> 10), BigEndian);
        store_unit(d + 2, 0xDC00 + (v & 0x3FF), BigEndian);
    }
};

struct Utf32Destination {
    static const int kWidth = 4;
    static const bool kBigEndian = false;
    static int size(uint32_t) { return 4; }
    static void write(uint32_t code, unsigned char* d) { memcpy(d, &code, 4); }
};

// True when the character at `s` (before `end`) is an ASCII unit, worth
// handing to the block routines.
template <class S> bool starts_ascii_run(const unsigned char* s, const unsigned char* end) {
    if constexpr (S::kUnit == 1)
        return s[0] < 0x80;
    else if constexpr (S::kUnit == 2)
        return end - s >= 2 && load_unit(s, S::kBigEndian) < 0x80;
    else
        return false;
}

#if EZU_AVX2_LOOPS
// Whether the first 16 bytes (8 units) are ASCII: short runs, common in text
// with accents, stay with the 16-byte routines, which find their end with
// less work than a call into the wide ones.
bool starts_long_ascii_run(const unsigned char* s) {
    return ascii_block_stops(ascii_block_load(s)) == 0;
}
bool starts_long_ascii_run16(const unsigned char* s, bool big_endian) {
    return ascii_block_unit_stops(ascii_block_load_units(s, big_endian)) == 0;
}
#endif

// The block routines of implementation level L (FAST_PORTABLE, FAST_SSE2 or
// FAST_AVX2). The wide routines take whole blocks at the front of a long run
// and leave its end to the 16-byte ones.
template <int L> size_t level_ascii_span(const unsigned char* s, size_t n) {
    if constexpr (L == FAST_PORTABLE)
        return str_ascii_span_portable(s, n);
    size_t i = 0;
#if EZU_AVX2_LOOPS
    if constexpr (L == FAST_AVX2)
        if (n >= 64 && starts_long_ascii_run(s))
            i = str_ascii_span_avx2(s, n);
#endif
    return i + str_ascii_span(s + i, n - i);
}

template <int L> size_t level_ascii_span16(const unsigned char* s, size_t units, bool big_endian) {
    if constexpr (L == FAST_PORTABLE)
        return str_ascii_span16_portable(s, units, big_endian);
    size_t i = 0;
#if EZU_AVX2_LOOPS
    if constexpr (L == FAST_AVX2)
        if (units >= 32 && starts_long_ascii_run16(s, big_endian))
            i = str_ascii_span16_avx2(s, units, big_endian);
#endif
    return i + str_ascii_span16(s + 2 * i, units - i, big_endian);
}

template <int L>
size_t level_ascii_to_utf16(const unsigned char* s, size_t n, unsigned char* d, bool big_endian) {
    if constexpr (L == FAST_PORTABLE)
        return str_ascii_to_utf16_portable(s, n, d, big_endian);
    size_t i = 0;
#if EZU_AVX2_LOOPS
    if constexpr (L == FAST_AVX2)
        if (n >= 64 && starts_long_ascii_run(s))
            i = str_ascii_to_utf16_avx2(s, n, d, big_endian);
#endif
    return i + str_ascii_to_utf16(s + i, n - i, d + 2 * i, big_endian);
}

template <int L>
size_t level_utf16_to_ascii(const unsigned char* s, size_t units, unsigned char* d,
                            bool big_endian) {
    if constexpr (L == FAST_PORTABLE)
        return str_utf16_to_ascii_portable(s, units, d, big_endian);
    size_t i = 0;
#if EZU_AVX2_LOOPS
    if constexpr (L == FAST_AVX2)
        if (units >= 32 && starts_long_ascii_run16(s, big_endian))
            i = str_utf16_to_ascii_avx2(s, units, d, big_endian);
#endif
    return i + str_utf16_to_ascii(s + 2 * i, units - i, d + i, big_endian);
}

// The ASCII characters at the start of `chars` source characters.
template <class S, int L> size_t ascii_span(const unsigned char* s, size_t chars) {
    if constexpr (S::kUnit == 1)
        return level_ascii_span<L>(s, chars);
    else if constexpr (S::kUnit == 2)
        return level_ascii_span16<L>(s, chars, S::kBigEndian);
    else
        return 0;
}

// Converts the ASCII characters at the start of the `chars` characters at
// `s` (room for all of them at `d`); returns how many there were.
template <class S, class D, int L>
size_t ascii_block(const unsigned char* s, size_t chars, unsigned char* d) {
    if constexpr (S::kUnit == 1 && D::kWidth == 2) {
        return level_ascii_to_utf16<L>(s, chars, d, D::kBigEndian);
    } else if constexpr (S::kUnit == 2 && D::kWidth == 1) {
        return level_utf16_to_ascii<L>(s, chars, d, S::kBigEndian);
    } else {
        const size_t n = ascii_span<S, L>(s, chars);
        if constexpr (S::kUnit == 1 && D::kWidth == 1) {
            memcpy(d, s, n);
        } else if constexpr (S::kUnit == 2 && D::kWidth == 2 && S::kBigEndian == D::kBigEndian) {
            memcpy(d, s, 2 * n);
        } else if constexpr (S::kUnit == 1) {
            for (size_t i = 0; i < n; ++i)
                D::write(s[i], d + i * D::kWidth);
        } else {
            for (size_t i = 0; i < n; ++i)
                D::write(load_unit(s + 2 * i, S::kBigEndian), d + i * D::kWidth);
        }
        return n;
    }
}

#if EZU_ASCII_BLOCK_SSE2

// Destination bytes of the characters a block sizer counted.
template <class S, class D> int64_t block_bytes(const BlockCounts& c) {
    if constexpr (S::kUnit == 1) {
        if constexpr (D::kWidth == 1)
            return c.bytes;
        else if constexpr (D::kWidth == 2)
            return 2 * int64_t(c.chars + c.four_byte);
        else
            return 4 * int64_t(c.chars);
    } else {
        if constexpr (D::kWidth == 1)
            return 3 * int64_t(c.chars) - c.narrow - c.mid - c.surrogates;
        else if constexpr (D::kWidth == 2)
            return 2 * int64_t(c.chars);
        else
            return 4 * int64_t(c.chars) - 2 * int64_t(c.surrogates);
    }
}

// The counts of a block the sizers take, or bytes 0. UTF-8 blocks of one-
// and two-byte characters are counted the short way.
template <class S> BlockCounts block_counts(const unsigned char* p) {
    if constexpr (S::kUnit == 1) {
        unsigned continuations;
        const unsigned n = utf8_latin_block(p, &continuations);
        if (n == 0 || continuations == 0)
            return utf8_block_counts(p); // also the ASCII blocks
        BlockCounts c = {0, 0, 0, 0, 0, 0, false};
        c.bytes = n;
        c.chars = n - block_popcount16(continuations);
        return c;
    } else {
        return utf16_block_counts(p, S::kBigEndian);
    }
}

// Sizes whole blocks from `s` while they are well-formed; returns the bytes
// covered.
template <class S, class D, int L>
size_t size_blocks(const unsigned char* s, const unsigned char* end, int64_t* total) {
    const unsigned char* p = s;
    while (end - p >= 16) {
#if EZU_AVX2_LOOPS
        // The wider sizers where they apply, each block they leave to the
        // one below.
        if constexpr (L == FAST_AVX2 && S::kUnit == 2 && D::kWidth == 1) {
            p += 2 * str_utf16_utf8_size_avx2(p, size_t(end - p) / 2, S::kBigEndian, total);
            if (end - p < 16)
                break;
        } else if constexpr (L == FAST_AVX2 && std::is_same<S, Utf8Source>::value &&
                             D::kWidth != 4) {
            // UTF-8 keeps its bytes: the checked bytes are the size.
            int64_t units = 0;
            const size_t n = str_utf8_utf16_size_avx2(p, size_t(end - p), &units);
            *total += D::kWidth == 1 ? int64_t(n) : units;
            p += n;
            if (end - p < 16)
                break;
        }
#endif
        const BlockCounts c = block_counts<S>(p);
        if (c.bytes == 0)
            break;
        if (c.ascii) {
            // A whole block of ASCII: the ASCII routines take the rest of a
            // long run faster.
            const size_t n = ascii_span<S, L>(p, size_t(end - p) / S::kUnit);
            *total += int64_t(n) * D::kWidth;
            p += n * S::kUnit;
            continue;
        }
        *total += block_bytes<S, D>(c);
        p += c.bytes;
    }
    return size_t(p - s);
}

#endif

template <class S, class D, int L> int size_run(const unsigned char* src, int len, int64_t* size) {
    const unsigned char* s = src;
    const unsigned char* const end = src + len;
    int64_t total = 0;
    while (s < end) {
        // Characters one at a time at least up to here.
        const unsigned char* steps_end = s;
        bool block_sized = false;
#if EZU_ASCII_BLOCK_SSE2
        if constexpr (S::kBlockSized && L != FAST_PORTABLE) {
            s += size_blocks<S, D, L>(s, end, &total);
            steps_end = s + 16; // past the block that stopped the sizer
            block_sized = true;
        }
#endif
        if (!block_sized && starts_ascii_run<S>(s, end)) {
            const size_t n = ascii_span<S, L>(s, size_t(end - s) / S::kUnit);
            s += n * S::kUnit;
            total += int64_t(n) * D::kWidth;
        }
        if (s == end)
            break;
        bool stopped = false;
        do {
            uint32_t code;
            const int consumed = S::decode(s, size_t(end - s), &code);
            stopped = consumed == 0;
            if (!stopped) {
                total += D::size(code);
                s += consumed;
            }
        } while (!stopped && s < steps_end && s < end);
        if (stopped)
            break;
    }
    *size += total;
    return int(s - src);
}

// The two most common pairs without the checks of convert_run: decoding and
// encoding share one branch per character, and the source and the room are
// checked once per stretch in which every character lies wholly in the
// source and fits the room. They return in front of anything convert_run's
// sources leave to the encoding table, or near the end of the source or the
// room, where convert_run goes on.

template <bool BigEndian, int L>
void utf8_to_utf16_unchecked(const unsigned char*& s, const unsigned char* end, unsigned char*& d,
                             const unsigned char* limit) {
    // A character of n bytes writes at most 2n; one starting in the stretch
    // reads at most 3 bytes past it.
#if EZU_AVX2_LOOPS
    const unsigned char* one_at_a_time = s;
#endif
    while (end - s >= 4 && limit - d >= 8) {
        const size_t by_source = size_t(end - s) - 3, by_room = size_t(limit - d - 6) / 2;
        const unsigned char* const stretch_end = s + (by_source < by_room ? by_source : by_room);
        while (s < stretch_end) {
            const uint32_t lead = s[0];
#if EZU_AVX2_LOOPS
            // Mixed text 32 bytes at a time; long ASCII runs go to the ASCII
            // routines, and after a block the wide loop refused, the
            // characters up to its end go one at a time.
            if (L == FAST_AVX2 && s >= one_at_a_time && stretch_end - s >= 32 &&
                !starts_long_ascii_run(s)) {
                size_t written;
                const size_t n =
                    str_utf8_to_utf16_avx2(s, size_t(stretch_end - s), d, BigEndian, &written);
                s += n;
                d += written;
                if (n != 0)
                    continue;
                one_at_a_time = s + 32;
            }
#endif
            if (lead < 0x80) {
                const size_t n = level_ascii_to_utf16<L>(s, size_t(stretch_end - s), d, BigEndian);
                if (n == 0)
                    return; // the end of the text
                s += n;
                d += 2 * n;
            } else if (lead < 0xE0) {
                if (lead < 0xC2 || !is_continuation(s[1]))
                    return;
                store_unit(d, (lead & 0x1F) << 6 | (s[1] & 0x3Fu), BigEndian);
                s += 2;
                d += 2;
            } else if (lead < 0xF0) {
                if (!is_continuation(s[1]) || !is_continuation(s[2]))
                    return;
                const uint32_t c = (lead & 0x0F) << 12 | (s[1] & 0x3Fu) << 6 | (s[2] & 0x3Fu);
                if (c < 0x800 || is_surrogate(c))
                    return;
                store_unit(d, c, BigEndian);
                s += 3;
                d += 2;
            } else {
                if (lead > 0xF4 || !is_continuation(s[1]) || !is_continuation(s[2]) ||
                    !is_continuation(s[3]))
                    return;
                const uint32_t c = (lead & 0x07) << 18 | (s[1] & 0x3Fu) << 12 |
                                   (s[2] & 0x3Fu) << 6 | (s[3] & 0x3Fu);
                if (c < 0x10000 || c > 0x10FFFF)
                    return;
                store_unit(d, 0xD800 + ((c - 0x10000) >> 10), BigEndian);
                store_unit(d + 2, 0xDC00 + ((c - 0x10000) & 0x3FF), BigEndian);
                s += 4;
                d += 4;
            }
        }
    }
}

#if EZU_ASCII_BLOCK_SSE2

// The UTF-8 bytes of the units in a vector of 32-bit lanes, one to three
// bytes per lane in memory order.
inline __m128i utf8_of_units(__m128i x) {
    const __m128i low6 = _mm_set1_epi32(0x3F), cont = _mm_set1_epi32(0x80);
    const __m128i last = _mm_or_si128(cont, _mm_and_si128(x, low6));
    const __m128i middle = _mm_or_si128(cont, _mm_and_si128(_mm_srli_epi32(x, 6), low6));
    const __m128i three =
        _mm_or_si128(_mm_or_si128(_mm_set1_epi32(0xE0), _mm_srli_epi32(x, 12)),
                     _mm_or_si128(_mm_slli_epi32(middle, 8), _mm_slli_epi32(last, 16)));
    const __m128i two = _mm_or_si128(_mm_or_si128(_mm_set1_epi32(0xC0), _mm_srli_epi32(x, 6)),
                                     _mm_slli_epi32(last, 8));
    const __m128i is_two = _mm_cmpgt_epi32(x, _mm_set1_epi32(0x7F));
    const __m128i is_three = _mm_cmpgt_epi32(x, _mm_set1_epi32(0x7FF));
    const __m128i one_or_two =
        _mm_or_si128(_mm_and_si128(is_two, two), _mm_andnot_si128(is_two, x));
    return _mm_or_si128(_mm_and_si128(is_three, three), _mm_andnot_si128(is_three, one_or_two));
}

// Writes the UTF-8 of the units in front of the first surrogate among the
// 8 units at `s` (all readable; none zero), with room for 3 bytes per unit;
// returns how many units it took. The lanes are put together 4 bytes at a
// time (each overwriting what the one before wrote past its end) in a local
// block, of which exactly the text is stored, so nothing is left behind it.
inline unsigned utf16_block_to_utf8(const unsigned char* s, unsigned char*& d, bool big_endian) {
    const __m128i v = ascii_block_load_units(s, big_endian);
    const unsigned n = ascii_block_units_before_surrogate(v);
    if (n == 0)
        return 0;
    const __m128i zero = _mm_setzero_si128();
    uint32_t lanes[8];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), utf8_of_units(_mm_unpacklo_epi16(v, zero)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes + 4),
                     utf8_of_units(_mm_unpackhi_epi16(v, zero)));
    const __m128i two = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), zero);
    const __m128i three = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xF800))), zero);
    // Bit i: unit i below 0x80; bit 8 + i: below 0x800.
    const unsigned small = unsigned(_mm_movemask_epi8(_mm_packs_epi16(two, three)));
    const unsigned kept = (1u << n) - 1;
    const unsigned length =
        3 * n - block_popcount16(small & kept) - block_popcount16(small >> 8 & kept);
    uint32_t behind;
    memcpy(&behind, d + length, 4);
    unsigned char* out = d;
    for (unsigned i = 0; i < n; ++i) {
        memcpy(out, &lanes[i], 4);
        out += 3 - (small >> i & 1) - (small >> (8 + i) & 1);
    }
    memcpy(d + length, &behind, 4);
    d += length;
    return n;
}

#endif

template <bool BigEndian, int L>
void utf16_to_utf8_unchecked(const unsigned char*& s, const unsigned char* end, unsigned char*& d,
                             const unsigned char* limit) {
    // A unit writes at most 3 bytes, a pair 4; a pair starting in the
    // stretch reads one unit past it.
    while (end - s >= 4 && limit - d >= 7) {
        const size_t by_source = size_t(end - s - 2) / 2, by_room = size_t(limit - d - 4) / 3;
        const unsigned char* const stretch_end =
            s + 2 * (by_source < by_room ? by_source : by_room);
        while (s < stretch_end) {
#if EZU_ASCII_BLOCK_SSE2
            // Whole blocks: long runs of ASCII to the ASCII routines, mixed
            // blocks to the block converter.
            if (L != FAST_PORTABLE && stretch_end - s >= 16) {
                if (ascii_block_unit_stops(ascii_block_load_units(s, BigEndian)) == 0) {
                    const size_t n =
                        level_utf16_to_ascii<L>(s, size_t(stretch_end - s) / 2, d, BigEndian);
                    s += 2 * n;
                    d += n;
                    continue;
                }
#if EZU_AVX2_LOOPS
                if (L == FAST_AVX2) {
                    size_t written;
                    const size_t n = str_utf16_to_utf8_avx2(s, size_t(stretch_end - s) / 2, d,
                                                            BigEndian, &written);
                    s += 2 * n;
                    d += written;
                    if (n != 0)
                        continue;
                }
#endif
                const unsigned n = utf16_block_to_utf8(s, d, BigEndian);
                s += 2 * n;
                if (n != 0)
                    continue;
            }
#endif
            const uint32_t unit = load_unit(s, BigEndian);
            if (unit < 0x80) {
                const size_t n =
                    level_utf16_to_ascii<L>(s, size_t(stretch_end - s) / 2, d, BigEndian);
                if (n == 0)
                    return; // the end of the text
                s += 2 * n;
                d += n;
            } else if (unit < 0x800) {
                d[0] = (unsigned char)(0xC0 | unit >> 6);
                d[1] = (unsigned char)(0x80 | (unit & 0x3F));
                s += 2;
                d += 2;
            } else if (!is_surrogate(unit)) {
                d[0] = (unsigned char)(0xE0 | unit >> 12);
                d[1] = (unsigned char)(0x80 | (unit >> 6 & 0x3F));
                d[2] = (unsigned char)(0x80 | (unit & 0x3F));
                s += 2;
                d += 3;
            } else {
                const uint32_t second = load_unit(s + 2, BigEndian);
                if (unit > 0xDBFF || second < 0xDC00 || second > 0xDFFF)
                    return;
                const uint32_t c = 0x10000 + ((unit - 0xD800) << 10) + (second - 0xDC00);
                d[0] = (unsigned char)(0xF0 | c >> 18);
                d[1] = (unsigned char)(0x80 | (c >> 12 & 0x3F));
                d[2] = (unsigned char)(0x80 | (c >> 6 & 0x3F));
                d[3] = (unsigned char)(0x80 | (c & 0x3F));
                s += 4;
                d += 4;
            }
        }
    }
}

// UTF-8 into UTF-8: well-formed blocks are copied as they stand.
template <int L>
void utf8_to_utf8_unchecked(const unsigned char*& s, const unsigned char* end, unsigned char*& d,
                            const unsigned char* limit) {
#if EZU_ASCII_BLOCK_SSE2
    if constexpr (L != FAST_PORTABLE) {
        while (end - s >= 16 && limit - d >= 16) {
#if EZU_AVX2_LOOPS
            if constexpr (L == FAST_AVX2) {
                int64_t units = 0;
                const size_t fit = size_t(end - s < limit - d ? end - s : limit - d);
                const size_t n = str_utf8_utf16_size_avx2(s, fit, &units);
                memcpy(d, s, n);
                s += n;
                d += n;
                if (end - s < 16 || limit - d < 16)
                    break;
            }
#endif
            const BlockCounts c = block_counts<Utf8Source>(s);
            if (c.bytes == 0)
                return;
            size_t n = c.bytes;
            if (c.ascii) {
                const size_t fit = size_t(end - s < limit - d ? end - s : limit - d);
                n = level_ascii_span<L>(s, fit);
            }
            memcpy(d, s, n);
            s += n;
            d += n;
        }
    }
#else
    (void)s, (void)end, (void)d, (void)limit;
#endif
}

template <class S, class D, int L>
int convert_run(const unsigned char* src, int left, unsigned char* dst, int room, int* written) {
    const unsigned char* s = src;
    const unsigned char* const end = src + left;
    unsigned char* d = dst;
    unsigned char* const limit = dst + room;
    if constexpr (std::is_same<S, Utf8Source>::value && D::kWidth == 2)
        utf8_to_utf16_unchecked<D::kBigEndian, L>(s, end, d, limit);
    else if constexpr (S::kUnit == 2 && std::is_same<D, Utf8Destination>::value)
        utf16_to_utf8_unchecked<S::kBigEndian, L>(s, end, d, limit);
    else if constexpr (std::is_same<S, Utf8Source>::value &&
                       std::is_same<D, Utf8Destination>::value)
        utf8_to_utf8_unchecked<L>(s, end, d, limit);
    while (s < end) {
        if (starts_ascii_run<S>(s, end)) {
            const size_t chars = size_t(end - s) / S::kUnit;
            const size_t fit = size_t(limit - d) / D::kWidth;
            const size_t n = ascii_block<S, D, L>(s, chars < fit ? chars : fit, d);
            s += n * S::kUnit;
            d += n * D::kWidth;
            if (s == end)
                break;
        }
        uint32_t code;
        const int consumed = S::decode(s, size_t(end - s), &code);
        if (consumed == 0)
            break;
        const int bytes = D::size(code);
        if (limit - d < bytes)
            break;
        D::write(code, d);
        s += consumed;
        d += bytes;
    }
    *written = int(d - dst);
    return int(s - src);
}

template <class S, int L> int size_from(const unsigned char* src, int len, int to, int64_t* size) {
    switch (to) {
    case ENC_UTF8:
        return size_run<S, Utf8Destination, L>(src, len, size);
    case ENC_UTF16:
    case ENC_UTF16BE:
    case ENC_UTF16LE:
        return size_run<S, Utf16Destination<false>, L>(src, len, size);
    case ENC_UTF32:
        return size_run<S, Utf32Destination, L>(src, len, size);
    default:
        return 0;
    }
}

template <class S, int L>
int convert_from(const unsigned char* src, int left, unsigned char* dst, int room, int to,
                 int* written) {
    switch (to) {
    case ENC_ASCII:
        return convert_run<S, AsciiDestination, L>(src, left, dst, room, written);
    case ENC_UTF8:
        return convert_run<S, Utf8Destination, L>(src, left, dst, room, written);
    case ENC_UTF16BE:
        return convert_run<S, Utf16Destination<true>, L>(src, left, dst, room, written);
    case ENC_UTF16LE:
        return convert_run<S, Utf16Destination<false>, L>(src, left, dst, room, written);
    case ENC_UTF32:
        return convert_run<S, Utf32Destination, L>(src, left, dst, room, written);
    default:
        return 0;
    }
}

} // namespace

int str_fast_text_length(const unsigned char* src, int len, int from) {
    if (len <= 0)
        return 0;
    if (from == ENC_ASCII || from == ENC_UTF8) {
        const void* zero = memchr(src, 0, size_t(len));
        return zero ? int(static_cast<const unsigned char*>(zero) - src) : len;
    }
    if (from == ENC_UTF32)
        return len; // its runs read one whole unit at a time and stop at zero
    const int units = len / 2;
    int i = 0;
#if EZU_ASCII_BLOCK_SSE2 && !EZU_UNDER_ASAN
    // Aligned blocks: a block never reaches into another page, so it can be
    // read whole even where the text ends inside it. (AddressSanitizer would
    // call that a read past the text; under it the loop below does it all.)
    if ((reinterpret_cast<uintptr_t>(src) & 1) == 0) {
        const uintptr_t start = reinterpret_cast<uintptr_t>(src);
        const unsigned char* block = src - (start & 15);
        unsigned skip = unsigned(start & 15); // bytes in front of the text
        for (;;) {
            const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(block));
            const unsigned zeros =
                unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(v, _mm_setzero_si128()))) >> skip;
            const long long at = block + skip - src; // byte offset of the first unit looked at
            if (zeros != 0) {
                const long long zero = at + __builtin_ctz(zeros);
                return zero < 2LL * units ? int(zero) : len;
            }
            if (at + 16 - skip >= 2LL * units)
                return len;
            block += 16;
            skip = 0;
#if EZU_AVX2_LOOPS
            if (str_fast_level() == FAST_AVX2 && (reinterpret_cast<uintptr_t>(block) & 63) == 0 &&
                block + 64 - src <= 2LL * units)
                block += str_utf16_zero_free_lines_avx2(block, size_t(src + 2LL * units - block));
#endif
            // From a 64-byte boundary on, four blocks at a time: they lie in
            // one line, so in one page.
            while ((reinterpret_cast<uintptr_t>(block) & 63) == 0 &&
                   block + 64 - src <= 2LL * units) {
                const __m128i* line = reinterpret_cast<const __m128i*>(block);
                const __m128i zero = _mm_setzero_si128();
                const __m128i any =
                    _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(_mm_load_si128(line), zero),
                                              _mm_cmpeq_epi16(_mm_load_si128(line + 1), zero)),
                                 _mm_or_si128(_mm_cmpeq_epi16(_mm_load_si128(line + 2), zero),
                                              _mm_cmpeq_epi16(_mm_load_si128(line + 3), zero)));
                if (_mm_movemask_epi8(any) != 0)
                    break; // the blocks one at a time find it
                block += 64;
            }
        }
    }
#endif
    // One 16-bit load per unit, never one past the first zero unit.
    for (; units - i >= 4; i += 4) {
        for (int k = i; k < i + 4; ++k)
            if (load_any_unit(src + 2 * k) == 0)
                return 2 * k;
    }
    for (; i < units; ++i)
        if (load_any_unit(src + 2 * i) == 0)
            return 2 * i;
    return len;
}

bool str_fast_page_bounds() {
    return !EZU_UNDER_ASAN;
}

int str_fast_run_bound(const unsigned char* src, int len) {
    if (len <= 0)
        return 0;
    const int kPage = 4096;
    int room = kPage - int(reinterpret_cast<uintptr_t>(src) & (kPage - 1));
    if (room < 64 && len > room) {
        // Near the end of the page: the next page holds more of the text
        // unless a zero ends it in this one.
        if (memchr(src, 0, size_t(room)))
            return room;
        room += kPage;
    }
    return len < room ? len : room;
}

namespace {

int best_level() {
#if EZU_AVX2_LOOPS
    if (str_avx2_supported())
        return FAST_AVX2;
#endif
    return EZU_ASCII_BLOCK_SSE2 ? FAST_SSE2 : FAST_PORTABLE;
}

int g_level = -1; // chosen on first use

int level() {
    if (g_level < 0)
        g_level = best_level();
    return g_level;
}

template <int L>
int size_run_at(const unsigned char* src, int len, int from, int to, int64_t* size) {
    switch (from) {
    case ENC_ASCII:
        return size_from<AsciiSource, L>(src, len, to, size);
    case ENC_UTF8:
        return size_from<Utf8Source, L>(src, len, to, size);
    case ENC_UTF16BE:
        return size_from<Utf16Source<true>, L>(src, len, to, size);
    case ENC_UTF16LE:
        return size_from<Utf16Source<false>, L>(src, len, to, size);
    case ENC_UTF32:
        return size_from<Utf32Source, L>(src, len, to, size);
    default:
        return 0;
    }
}

template <int L>
int convert_run_at(const unsigned char* src, int left, int from, unsigned char* dst, int room,
                   int to, int* written) {
    switch (from) {
    case ENC_ASCII:
        return convert_from<AsciiSource, L>(src, left, dst, room, to, written);
    case ENC_UTF8:
        return convert_from<Utf8Source, L>(src, left, dst, room, to, written);
    case ENC_UTF16BE:
        return convert_from<Utf16Source<true>, L>(src, left, dst, room, to, written);
    case ENC_UTF16LE:
        return convert_from<Utf16Source<false>, L>(src, left, dst, room, to, written);
    case ENC_UTF32:
        return convert_from<Utf32Source, L>(src, left, dst, room, to, written);
    default:
        return 0;
    }
}

} // namespace

int str_fast_level() {
    return level();
}

int str_fast_force_level(int wanted) {
    const int best = best_level();
    g_level = wanted < 0 || wanted > best ? best : wanted;
    return g_level;
}

size_t str_fast_ascii_span(const unsigned char* src, size_t n) {
    switch (level()) {
    case FAST_PORTABLE:
        return level_ascii_span<FAST_PORTABLE>(src, n);
    case FAST_SSE2:
        return level_ascii_span<FAST_SSE2>(src, n);
    default:
        return level_ascii_span<FAST_AVX2>(src, n);
    }
}

int str_fast_size_run(const unsigned char* src, int len, int from, int to, int64_t* size) {
    switch (level()) {
    case FAST_PORTABLE:
        return size_run_at<FAST_PORTABLE>(src, len, from, to, size);
    case FAST_SSE2:
        return size_run_at<FAST_SSE2>(src, len, from, to, size);
    default:
        return size_run_at<FAST_AVX2>(src, len, from, to, size);
    }
}

int str_fast_convert_run(const unsigned char* src, int left, int from, unsigned char* dst, int room,
                         int to, int* written) {
    *written = 0;
    switch (level()) {
    case FAST_PORTABLE:
        return convert_run_at<FAST_PORTABLE>(src, left, from, dst, room, to, written);
    case FAST_SSE2:
        return convert_run_at<FAST_SSE2>(src, left, from, dst, room, to, written);
    default:
        return convert_run_at<FAST_AVX2>(src, left, from, dst, room, to, written);
    }
}
