// The AVX2 level of UTF-16 to UTF-8: sixteen units at a time, with a short
// road for blocks whose units are all below 0x800 (one or two bytes each)
// and surrogate pairs taken inside the block. Built with its own target
// attribute; called only after str_avx2_supported said yes.
#include "ezu/core/encoding_avx2.h"

#if EZU_AVX2_LOOPS

#include "ezu/core/encoding_ascii_block.h"

#include <immintrin.h>

#define EZU_TARGET_AVX2 __attribute__((target("avx2,popcnt")))
#define EZU_INLINE_AVX2 __attribute__((target("avx2,popcnt"), always_inline)) inline

namespace {

// Sixteen units in little-endian order.
EZU_INLINE_AVX2 __m256i load_units(const unsigned char* at, bool big_endian) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    return big_endian ? _mm256_or_si256(_mm256_slli_epi16(v, 8), _mm256_srli_epi16(v, 8)) : v;
}

// All ones in the lanes whose unit is below `limit`, a power of two.
EZU_INLINE_AVX2 __m256i below(__m256i v, int limit) {
    return _mm256_cmpeq_epi16(_mm256_and_si256(v, _mm256_set1_epi16(short(-limit))),
                              _mm256_setzero_si256());
}

// Shuffles that put the UTF-8 of four 32-bit lanes (one to three bytes
// each, in memory order) one behind the other: entry m takes from lane j
// the bytes given by bits 2j and 2j + 1 of m (0: one byte, 1: two, 2:
// three, 3: none).
struct LaneCompaction {
    unsigned char shuffle[256][16];
    unsigned char count[256];
    constexpr LaneCompaction() : shuffle(), count() {
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

constexpr LaneCompaction kLaneCompaction;

// Shuffles for eight 16-bit lanes holding one or two UTF-8 bytes: entry m
// takes the first byte alone from lane j where bit j of m is set (ASCII),
// both bytes elsewhere.
struct PairCompaction {
    unsigned char shuffle[256][16];
    unsigned char count[256];
    constexpr PairCompaction() : shuffle(), count() {
        for (int m = 0; m < 256; ++m) {
            int k = 0;
            for (int j = 0; j < 8; ++j) {
                shuffle[m][k++] = (unsigned char)(2 * j);
                if (!(m >> j & 1))
                    shuffle[m][k++] = (unsigned char)(2 * j + 1);
            }
            count[m] = (unsigned char)k;
            for (int i = k; i < 16; ++i)
                shuffle[m][i] = 0x80;
        }
    }
};

constexpr PairCompaction kPairCompaction;

enum BlockKind { kAsciiBlock, kNarrowBlock, kWideBlock };

// One block of 16 units sorted out ahead of its store: its kind, the units
// it takes, the UTF-8 bytes they make and the per-part shapes the store
// needs.
struct Utf16Block {
    __m256i units;
    int kind;
    unsigned take;  // units taken
    unsigned bytes; // UTF-8 bytes of those units
    bool go_on;     // the run may go on behind the units taken
    uint32_t shape; // narrow: ASCII units (bits 0-7, 16-23); wide: 2 bits a unit
};

// Sorts out the 16 units at `at` (none zero). Takes them up to the first
// surrogate that is not half of a pair lying in the block; a high surrogate
// in the last place is left to the next block. False when it takes none.
EZU_INLINE_AVX2 bool sort_block(const unsigned char* at, bool big_endian, Utf16Block* b) {
    const __m256i v = load_units(at, big_endian);
    const __m256i below_80 = below(v, 0x80), below_800 = below(v, 0x800);
    b->units = v;
    if (uint32_t(_mm256_movemask_epi8(below_800)) == 0xFFFFFFFFu) {
        const uint32_t ascii =
            uint32_t(_mm256_movemask_epi8(_mm256_packs_epi16(below_80, below_80)));
        b->kind = ascii == 0xFFFFFFFFu ? kAsciiBlock : kNarrowBlock;
        b->take = 16;
        b->bytes = 32 - unsigned(__builtin_popcount(ascii)) / 2;
        b->go_on = true;
        b->shape = ascii;
        return true;
    }
    const __m256i top = _mm256_and_si256(v, _mm256_set1_epi16(short(0xFC00)));
    const __m256i high = _mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xD800)));
    const __m256i low = _mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xDC00)));
    // Two mask bits a unit: a high surrogate wants a low one right behind
    // it, a low one a high one right in front.
    const uint32_t highs = uint32_t(_mm256_movemask_epi8(high));
    const uint32_t lows = uint32_t(_mm256_movemask_epi8(low));
    const uint32_t lone = (highs & ~(lows >> 2)) | (lows & ~(highs << 2));
    const unsigned take = lone ? unsigned(__builtin_ctz(lone)) / 2 : 16;
    if (take == 0)
        return false;
    // Per unit its UTF-8 bytes less one, a unit of a pair counting two:
    // 2 less one for each limit it is below, less one for a surrogate.
    const __m256i code = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_set1_epi16(2), _mm256_add_epi16(below_80, below_800)),
        _mm256_or_si256(high, low));
    // Bit 0 of each code to the top of its low byte, bit 1 to the top of
    // its high byte: the byte mask then holds the codes 2 bits a unit.
    uint32_t shape = uint32_t(_mm256_movemask_epi8(
        _mm256_or_si256(_mm256_slli_epi16(code, 7), _mm256_slli_epi16(code, 14))));
    if (take < 16)
        shape |= ~0u << (2 * take); // code 3: nothing
    b->kind = kWideBlock;
    b->take = take;
    b->bytes = unsigned(kLaneCompaction.count[shape & 0xFF]) +
               kLaneCompaction.count[shape >> 8 & 0xFF] +
               kLaneCompaction.count[shape >> 16 & 0xFF] + kLaneCompaction.count[shape >> 24];
    b->go_on = take == 16 || (take == 15 && (highs >> 30) != 0);
    b->shape = shape;
    return true;
}

// Stores the first `n` bytes of `v`, or all 16 when `whole`.
EZU_INLINE_AVX2 void put(unsigned char* at, __m128i v, size_t n, bool whole) {
    if (whole)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v);
    else
        ascii_block_store_prefix(at, v, n);
}

// Units below 0x800 in 16-bit lanes: the ASCII ones keep their byte, the
// others get their lead byte in the low half and their continuation byte
// in the high half; the compaction drops the high half of the ASCII ones.
EZU_INLINE_AVX2 void store_narrow(const Utf16Block& b, unsigned char* d, bool whole) {
    const __m256i v = b.units;
    const __m256i two = _mm256_or_si256(
        _mm256_or_si256(_mm256_srli_epi16(v, 6),
                        _mm256_slli_epi16(_mm256_and_si256(v, _mm256_set1_epi16(0x3F)), 8)),
        _mm256_set1_epi16(short(0x80C0)));
    const __m256i lanes = _mm256_blendv_epi8(two, v, below(v, 0x80));
    const unsigned first = b.shape & 0xFF, second = b.shape >> 16 & 0xFF;
    const __m256i order = _mm256_inserti128_si256(
        _mm256_castsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPairCompaction.shuffle[first]))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPairCompaction.shuffle[second])), 1);
    const __m256i packed = _mm256_shuffle_epi8(lanes, order);
    const size_t n = kPairCompaction.count[first];
    put(d, _mm256_castsi256_si128(packed), n, whole);
    put(d + n, _mm256_extracti128_si256(packed, 1), kPairCompaction.count[second], whole);
}

// The shuffles of two groups of four lanes, one a half.
EZU_INLINE_AVX2 __m256i lane_order(unsigned first, unsigned second) {
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLaneCompaction.shuffle[first]))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLaneCompaction.shuffle[second])), 1);
}

// Any units: the first two bytes of each in a 16-bit lane and the third in
// another, joined into 32-bit lanes of four units each. A surrogate pair's
// four bytes are split two and two over its units; the low unit takes two
// bits of the high one, the unit in front of it.
EZU_INLINE_AVX2 void store_wide(const Utf16Block& b, unsigned char* d, bool whole) {
    const __m256i v = b.units;
    const __m256i low6 = _mm256_set1_epi16(0x3F);
    const __m256i last = _mm256_or_si256(_mm256_and_si256(v, low6), _mm256_set1_epi16(0x80));
    const __m256i last_high = _mm256_slli_epi16(_mm256_and_si256(v, low6), 8);
    const __m256i two = _mm256_or_si256(_mm256_or_si256(_mm256_srli_epi16(v, 6), last_high),
                                        _mm256_set1_epi16(short(0x80C0)));
    const __m256i three = _mm256_or_si256(
        _mm256_or_si256(_mm256_srli_epi16(v, 12),
                        _mm256_slli_epi16(_mm256_and_si256(_mm256_srli_epi16(v, 6), low6), 8)),
        _mm256_set1_epi16(short(0x80E0)));
    // A high surrogate's bits plus 0x40 are the code point's bits 10 to 20.
    const __m256i t = _mm256_sub_epi16(v, _mm256_set1_epi16(short(0xD7C0)));
    const __m256i pair_first = _mm256_or_si256(
        _mm256_or_si256(_mm256_srli_epi16(t, 8),
                        _mm256_slli_epi16(_mm256_and_si256(_mm256_srli_epi16(t, 2), low6), 8)),
        _mm256_set1_epi16(short(0x80F0)));
    // The unit in front of each (zero in front of the first).
    const __m256i before = _mm256_alignr_epi8(v, _mm256_permute2x128_si256(v, v, 0x08), 14);
    const __m256i pair_second = _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi16(v, 6), _mm256_set1_epi16(0x0F)),
                        _mm256_slli_epi16(_mm256_and_si256(before, _mm256_set1_epi16(3)), 4)),
        _mm256_or_si256(last_high, _mm256_set1_epi16(short(0x8080))));
    const __m256i top = _mm256_and_si256(v, _mm256_set1_epi16(short(0xFC00)));
    __m256i lead =
        _mm256_blendv_epi8(three, _mm256_blendv_epi8(two, v, below(v, 0x80)), below(v, 0x800));
    lead = _mm256_blendv_epi8(lead, pair_first,
                              _mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xD800))));
    lead = _mm256_blendv_epi8(lead, pair_second,
                              _mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xDC00))));
    // Units 0-3 and 8-11, then 4-7 and 12-15, in 32-bit lanes.
    const __m256i front = _mm256_unpacklo_epi16(lead, last);
    const __m256i back = _mm256_unpackhi_epi16(lead, last);
    const unsigned c0 = b.shape & 0xFF, c1 = b.shape >> 8 & 0xFF, c2 = b.shape >> 16 & 0xFF,
                   c3 = b.shape >> 24;
    const __m256i p = _mm256_shuffle_epi8(front, lane_order(c0, c2));
    const __m256i q = _mm256_shuffle_epi8(back, lane_order(c1, c3));
    const size_t n0 = kLaneCompaction.count[c0], n1 = kLaneCompaction.count[c1],
                 n2 = kLaneCompaction.count[c2];
    put(d, _mm256_castsi256_si128(p), n0, whole);
    put(d + n0, _mm256_castsi256_si128(q), n1, whole);
    put(d + n0 + n1, _mm256_extracti128_si256(p, 1), n2, whole);
    put(d + n0 + n1 + n2, _mm256_extracti128_si256(q, 1), kLaneCompaction.count[c3], whole);
}

} // namespace

EZU_TARGET_AVX2 size_t str_utf16_to_utf8_avx2(const unsigned char* s, size_t units,
                                              unsigned char* d, bool big_endian, size_t* written) {
    size_t i = 0, w = 0;
    Utf16Block block;
    // A run that starts with ASCII is the ASCII routines'.
    if (units < 16 || !sort_block(s, big_endian, &block) || block.kind == kAsciiBlock) {
        *written = 0;
        return 0;
    }
    for (;;) {
        // Each part of a block is stored 16 bytes wide when the next block
        // writes at least 16 bytes, so that it overwrites all this one puts
        // behind its text; the last block of the run is stored exactly.
        Utf16Block next;
        const size_t after = i + block.take;
        const bool more =
            block.go_on && units - after >= 16 && sort_block(s + 2 * after, big_endian, &next);
        const bool whole = more && next.bytes >= 16;
        unsigned char* const at = d + w;
        if (block.kind == kAsciiBlock) {
            const __m256i v = block.units;
            _mm_storeu_si128(
                reinterpret_cast<__m128i*>(at),
                _mm_packus_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1)));
        } else if (block.kind == kNarrowBlock) {
            store_narrow(block, at, whole);
        } else {
            store_wide(block, at, whole);
        }
        i = after;
        w += block.bytes;
        if (!more)
            break;
        block = next;
    }
    *written = w;
    return i;
}

namespace {

// Adds the UTF-8 bytes of the 16 units in `v` (none zero) to *total when
// every surrogate among them is half of a pair lying in the block, but for
// a high one in the last place, which is left to the next block. Returns
// the units counted: 16, 15, or 0 (adding nothing).
EZU_INLINE_AVX2 unsigned size_units(__m256i v, int64_t* total) {
    const __m256i top = _mm256_and_si256(v, _mm256_set1_epi16(short(0xFC00)));
    // Two mask bits a unit; the shift drops a high surrogate in the last
    // place.
    const uint32_t highs =
        uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xD800)))));
    const uint32_t lows =
        uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi16(top, _mm256_set1_epi16(short(0xDC00)))));
    if (lows != highs << 2)
        return 0;
    const unsigned units = highs >> 30 ? 15 : 16;
    const uint32_t kept = units == 16 ? 0xFFFFFFFFu : 0x3FFFFFFFu;
    const uint32_t below_80 = uint32_t(_mm256_movemask_epi8(below(v, 0x80)));
    const uint32_t below_800 = uint32_t(_mm256_movemask_epi8(below(v, 0x800)));
    // Three bytes a unit, less one below each limit, less one for each
    // unit of a pair (four bytes the pair).
    *total += 3 * units -
              unsigned(__builtin_popcount(below_80 & kept) + __builtin_popcount(below_800 & kept) +
                       __builtin_popcount((highs | lows) & kept)) /
                  2;
    return units;
}

EZU_INLINE_AVX2 bool has_zero(__m256i v) {
    const __m256i zeros = _mm256_cmpeq_epi16(v, _mm256_setzero_si256());
    return !_mm256_testz_si256(zeros, zeros);
}

} // namespace

EZU_TARGET_AVX2 size_t str_utf16_utf8_size_avx2(const unsigned char* src, size_t units,
                                                bool big_endian, int64_t* bytes) {
    size_t i = 0;
    int64_t total = 0;
    // Two blocks at a time: ASCII and units below 0x800 (the common text)
    // are told by one test over both.
    while (units - i >= 32) {
        const __m256i a = load_units(src + 2 * i, big_endian);
        const __m256i b = load_units(src + 2 * i + 32, big_endian);
        if (has_zero(_mm256_min_epu16(a, b)))
            break;
        const __m256i any = _mm256_or_si256(a, b);
        if (_mm256_testz_si256(any, _mm256_set1_epi16(short(0xFF80)))) {
            total += 32;
        } else if (_mm256_testz_si256(any, _mm256_set1_epi16(short(0xF800)))) {
            // Two bytes a unit, less one for each ASCII one.
            total += 64 - (__builtin_popcount(uint32_t(_mm256_movemask_epi8(below(a, 0x80)))) +
                           __builtin_popcount(uint32_t(_mm256_movemask_epi8(below(b, 0x80))))) /
                              2;
        } else {
            // A block that ends in front of a pair going on behind it
            // moves the next one to start at that pair.
            const unsigned first = size_units(a, &total);
            i += first;
            if (first < 16) {
                if (first == 0)
                    break;
                continue;
            }
            const unsigned second = size_units(b, &total);
            i += second;
            if (second == 0)
                break;
            continue;
        }
        i += 32;
    }
    while (units - i >= 16) {
        const __m256i v = load_units(src + 2 * i, big_endian);
        const unsigned n = has_zero(v) ? 0 : size_units(v, &total);
        if (n == 0)
            break;
        i += n;
    }
    *bytes += total;
    return i;
}

EZU_TARGET_AVX2 size_t str_utf16_zero_free_lines_avx2(const unsigned char* line, size_t n) {
    const __m256i* at = reinterpret_cast<const __m256i*>(line);
    size_t i = 0;
    // Two lines a test while both lie in the text, then one.
    for (; n - i >= 128; i += 128, at += 4) {
        const __m256i zeros = _mm256_min_epu16(
            _mm256_min_epu16(_mm256_load_si256(at), _mm256_load_si256(at + 1)),
            _mm256_min_epu16(_mm256_load_si256(at + 2), _mm256_load_si256(at + 3)));
        if (has_zero(zeros))
            break;
    }
    if (n - i >= 64 &&
        !has_zero(_mm256_min_epu16(_mm256_load_si256(at), _mm256_load_si256(at + 1))))
        i += 64;
    return i;
}

#endif
