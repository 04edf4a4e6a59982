// The AVX2 level of UTF-8 sources: checking 32 bytes at a time with three
// nibble lookups, and converting checked text to UTF-16 16 bytes at a time;
// also the well-formedness check of UTF-16, 16 units at a time.
//
// The check flags every byte that cannot stand where it stands from the byte
// itself and the three in front of it, so a block is judged together with the
// end of the one before. The converter then needs no checks at all: it works
// out, for every byte, the UTF-16 unit a character ending there gives, and
// keeps those of the bytes that end a character (and of the third bytes of
// four-byte characters, which give the first unit of a pair).
#include "ezu/core/encoding_avx2.h"

#if EZU_AVX2_LOOPS

#include "ezu/core/encoding_ascii_block.h"

#include <immintrin.h>

#define EZU_TARGET_AVX2 __attribute__((target("avx2,popcnt")))

namespace {

// Flags of what is wrong with a byte given the byte in front of it. Each is
// the conjunction of a condition on the first byte's high nibble, one on its
// low nibble and one on the second byte's high nibble, so that three table
// lookups and two ANDs find them all.
enum : unsigned char {
    kTooShort = 1,           // a lead byte not followed by a continuation byte
    kTooLong = 2,            // a continuation byte behind ASCII
    kOverlong3 = 4,          // E0 80..9F
    kTooLarge = 8,           // F4 90..BF, F5..FF 90..BF
    kSurrogate = 16,         // ED A0..BF
    kOverlong2 = 32,         // C0 or C1, then anything
    kOverlong4OrF5 = 64,     // F0 80..8F, F5..FF 80..8F
    kTwoContinuations = 128, // right only as the third or fourth byte of a character
};

struct NibbleTables {
    unsigned char first_high[16], first_low[16], second_high[16];
    constexpr NibbleTables() : first_high(), first_low(), second_high() {
        for (int n = 0; n < 16; ++n) {
            unsigned char h = 0, l = kTooShort | kTooLong | kTwoContinuations, s = kOverlong2;
            if (n < 8)
                h = kTooLong;
            else if (n < 12)
                h = kTwoContinuations;
            else if (n == 12)
                h = kTooShort | kOverlong2;
            else if (n == 13)
                h = kTooShort;
            else if (n == 14)
                h = kTooShort | kOverlong3 | kSurrogate;
            else
                h = kTooShort | kTooLarge | kOverlong4OrF5;
            if (n == 0)
                l |= kOverlong3 | kOverlong2 | kOverlong4OrF5;
            if (n == 1)
                l |= kOverlong2;
            if (n >= 4)
                l |= kTooLarge;
            if (n >= 5)
                l |= kOverlong4OrF5;
            if (n == 13)
                l |= kSurrogate;
            if (n < 8 || n >= 12)
                s |= kTooShort;
            else
                s |= kTooLong | kTwoContinuations;
            if (n == 8)
                s |= kOverlong3 | kOverlong4OrF5;
            if (n == 9)
                s |= kOverlong3 | kTooLarge;
            if (n >= 10 && n <= 11)
                s |= kSurrogate | kTooLarge;
            first_high[n] = h;
            first_low[n] = l;
            second_high[n] = s;
        }
    }
};

constexpr NibbleTables kNibbles;

// Shuffles that gather the 16-bit lanes of an 8-bit mask's set bits in
// order at the front of 16 bytes, in either byte order.
struct LaneCompaction {
    unsigned char little[256][16], big[256][16];
    constexpr LaneCompaction() : little(), big() {
        for (int m = 0; m < 256; ++m) {
            int k = 0;
            for (int j = 0; j < 8; ++j) {
                if (m >> j & 1) {
                    little[m][2 * k] = big[m][2 * k + 1] = (unsigned char)(2 * j);
                    little[m][2 * k + 1] = big[m][2 * k] = (unsigned char)(2 * j + 1);
                    ++k;
                }
            }
            for (int i = 2 * k; i < 16; ++i)
                little[m][i] = big[m][i] = 0x80;
        }
    }
};

constexpr LaneCompaction kLanes;

EZU_TARGET_AVX2 inline __m256i broadcast16(const unsigned char* table) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(table)));
}

// Nonzero bytes where the 32 bytes `v`, behind the 32 bytes `prev`, are not
// well-formed UTF-8 (a character cut at the end of `v` is not yet wrong),
// or are zero where `ZeroStops`.
template <bool ZeroStops = true>
EZU_TARGET_AVX2 inline __m256i utf8_errors(__m256i v, __m256i prev) {
    const __m256i behind = _mm256_permute2x128_si256(prev, v, 0x21);
    const __m256i p1 = _mm256_alignr_epi8(v, behind, 15);
    const __m256i p2 = _mm256_alignr_epi8(v, behind, 14);
    const __m256i p3 = _mm256_alignr_epi8(v, behind, 13);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i special = _mm256_and_si256(
        _mm256_and_si256(
            _mm256_shuffle_epi8(broadcast16(kNibbles.first_high),
                                _mm256_and_si256(_mm256_srli_epi16(p1, 4), nibble)),
            _mm256_shuffle_epi8(broadcast16(kNibbles.first_low), _mm256_and_si256(p1, nibble))),
        _mm256_shuffle_epi8(broadcast16(kNibbles.second_high),
                            _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble)));
    // Third and fourth bytes of a character must be continuation bytes,
    // and only they may follow one.
    const __m256i third = _mm256_subs_epu8(p2, _mm256_set1_epi8(char(0xE0 - 0x80)));
    const __m256i fourth = _mm256_subs_epu8(p3, _mm256_set1_epi8(char(0xF0 - 0x80)));
    const __m256i must_follow =
        _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(char(0x80)));
    const __m256i errors = _mm256_xor_si256(special, must_follow);
    return ZeroStops ? _mm256_or_si256(errors, _mm256_cmpeq_epi8(v, _mm256_setzero_si256()))
                     : errors;
}

// Bytes at the end of a checked block that belong to a character it cuts.
inline unsigned cut_at_end(const unsigned char* end) {
    if (end[-1] >= 0xC0)
        return 1;
    if (end[-2] >= 0xE0)
        return 2;
    if (end[-3] >= 0xF0)
        return 3;
    return 0;
}

// Adds the 32 byte counters of `counts` to *total.
EZU_TARGET_AVX2 inline void add_counts(__m256i counts, size_t* total) {
    const __m256i sums = _mm256_sad_epu8(counts, _mm256_setzero_si256());
    const __m128i half =
        _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    *total += size_t(_mm_cvtsi128_si64(half)) + size_t(_mm_extract_epi64(half, 1));
}

// Whether the 32 bytes `v` at `at` are well-formed (without a zero where
// `ZeroStops`) behind the block `prev`; `whole` tells that no character of
// the blocks in front reaches into this one (so for the first block).
template <bool ZeroStops = true>
EZU_TARGET_AVX2 inline bool block_checks(const unsigned char* at, __m256i v, __m256i prev,
                                         bool whole) {
    if (_mm256_movemask_epi8(v) == 0) {
        // ASCII: right unless a zero is in it or a character cut in front.
        return (!ZeroStops || _mm256_testz_si256(_mm256_cmpeq_epi8(v, _mm256_setzero_si256()),
                                                 _mm256_set1_epi8(-1))) &&
               (whole || cut_at_end(at) == 0);
    }
    const __m256i errors = utf8_errors<ZeroStops>(v, prev);
    return _mm256_testz_si256(errors, errors);
}

// The well-formed characters (other than zero where `ZeroStops`) at the
// start of the at most `n` bytes at `s`, checked in whole blocks of 32:
// returns their bytes and adds their UTF-16 units to *units.
template <bool ZeroStops = true>
EZU_TARGET_AVX2 size_t utf8_checked_prefix(const unsigned char* s, size_t n, size_t* units) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i prev = zero;
    // Per byte position, the units of the characters starting there: one for
    // every byte that is not a continuation byte, two for a four-byte lead.
    // Counted in bytes for up to 64 blocks at a time.
    __m256i counts = zero;
    unsigned blocks = 0;
    size_t i = 0, count = 0;
    bool whole = true; // the blocks before end with a whole character
    for (; n - i >= 32; i += 32) {
        // Long ASCII runs two blocks at a time: ASCII without a zero is
        // where no byte has its top bit set and the least byte is not zero.
        if (whole) {
            while (n - i >= 64) {
                const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
                const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32));
                const __m256i least = _mm256_min_epu8(a, b);
                if (_mm256_movemask_epi8(_mm256_or_si256(a, b)) != 0 ||
                    (ZeroStops &&
                     !_mm256_testz_si256(_mm256_cmpeq_epi8(least, zero), _mm256_set1_epi8(-1))))
                    break;
                count += 64;
                prev = b;
                i += 64;
            }
            if (n - i < 32)
                break;
        }
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        if (!block_checks<ZeroStops>(s + i, v, prev, whole))
            break;
        prev = v;
        whole = _mm256_movemask_epi8(v) == 0;
        if (whole) {
            count += 32;
            continue;
        }
        const __m256i starts = _mm256_cmpgt_epi8(v, _mm256_set1_epi8(char(0xBF)));
        const __m256i fours =
            _mm256_min_epu8(_mm256_subs_epu8(v, _mm256_set1_epi8(char(0xEF))), _mm256_set1_epi8(1));
        counts = _mm256_add_epi8(_mm256_sub_epi8(counts, starts), fours);
        if (++blocks == 64) {
            add_counts(counts, &count);
            counts = zero;
            blocks = 0;
        }
    }
    add_counts(counts, &count);
    // A character cut at the end of the last block taken is left out.
    const unsigned cut = i == 0 ? 0 : cut_at_end(s + i);
    if (cut != 0) {
        i -= cut;
        count -= s[i] >= 0xF0 ? 2 : 1;
    }
    *units = count;
    return i;
}

// Writes at `d` the UTF-16 of the characters that end in the 16 checked
// bytes `v` (behind `prev`) at the bytes of `allowed`; `next_cont` tells
// whether the byte behind `v` is a continuation byte. The third byte of a
// four-byte character gives the first unit of its pair, the fourth the
// second. Stores whole 16-byte halves, or with `exact` nothing past the
// units.
EZU_TARGET_AVX2 __attribute__((always_inline)) inline void
chunk_to_utf16(__m128i v, __m128i prev, unsigned next_cont, unsigned allowed, bool exact,
               bool big_endian, unsigned char*& d) {
    if (_mm_movemask_epi8(v) == 0) {
        // ASCII: every byte a character of its own.
        __m256i u = _mm256_cvtepu8_epi16(v);
        if (big_endian)
            u = _mm256_slli_epi16(u, 8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), u);
        d += 32;
        return;
    }
    const __m128i cont_below = _mm_set1_epi8(char(0xC0)); // signed: 80..BF lie below
    const __m128i p1 = _mm_alignr_epi8(v, prev, 15);
    const __m128i p3 = _mm_alignr_epi8(v, prev, 13);
    const __m128i cont = _mm_cmplt_epi8(v, cont_below);
    const __m256i w0 = _mm256_cvtepu8_epi16(v);
    const __m256i w1 = _mm256_cvtepu8_epi16(p1);
    const __m256i low6 = _mm256_set1_epi16(0x3F);
    // The unit of a character of two bytes ending here.
    const __m256i two = _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(w1, low6), 6),
                                        _mm256_and_si256(w0, low6));
    __m256i unit = _mm256_blendv_epi8(w0, two, _mm256_cvtepi8_epi16(cont));
    unsigned thirds = 0;
    // Characters of three and four bytes end here only behind a lead from E0
    // among the three bytes in front.
    const __m128i highest = _mm_max_epu8(v, p3);
    const __m128i from_e0 = _mm_set1_epi8(char(0xE0));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(highest, from_e0), highest)) != 0) {
        const __m128i p2 = _mm_alignr_epi8(v, prev, 14);
        const __m128i cont1 = _mm_cmplt_epi8(p1, cont_below);
        const __m256i three = _mm256_or_si256(
            two, _mm256_slli_epi16(_mm256_cvtepu8_epi16(p2), 12)); // the lead's low four bits
        unit = _mm256_blendv_epi8(unit, three, _mm256_cvtepi8_epi16(_mm_and_si128(cont, cont1)));
        // Bytes two and three behind a four-byte lead (F0 to F4).
        const __m128i lead4 = _mm_set1_epi8(char(0xF0));
        const __m128i third4 = _mm_cmpeq_epi8(_mm_max_epu8(p2, lead4), p2);
        const __m128i fourth4 = _mm_cmpeq_epi8(_mm_max_epu8(p3, lead4), p3);
        thirds = unsigned(_mm_movemask_epi8(third4));
        if (thirds | unsigned(_mm_movemask_epi8(fourth4))) {
            const __m256i high = _mm256_add_epi16(_mm256_srli_epi16(three, 4),
                                                  _mm256_set1_epi16(short(0xD800 - 0x40)));
            const __m256i low = _mm256_or_si256(_mm256_and_si256(two, _mm256_set1_epi16(0x3FF)),
                                                _mm256_set1_epi16(short(0xDC00)));
            unit = _mm256_blendv_epi8(unit, high, _mm256_cvtepi8_epi16(third4));
            unit = _mm256_blendv_epi8(unit, low, _mm256_cvtepi8_epi16(fourth4));
        }
    }
    // Bytes in front of a byte that is not a continuation end a character.
    const unsigned conts = unsigned(_mm_movemask_epi8(cont));
    const unsigned keep = ((~(conts >> 1 | next_cont << 15) & 0xFFFFu) | thirds) & allowed;
    const unsigned char(*const lanes)[16] = big_endian ? kLanes.big : kLanes.little;
    const __m256i order = _mm256_inserti128_si256(
        _mm256_castsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes[keep & 0xFF]))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes[keep >> 8])), 1);
    const __m256i packed = _mm256_shuffle_epi8(unit, order);
    const size_t first = 2 * size_t(__builtin_popcount(keep & 0xFF));
    const size_t second = 2 * size_t(__builtin_popcount(keep >> 8));
    const __m128i low_half = _mm256_castsi256_si128(packed);
    const __m128i high_half = _mm256_extracti128_si256(packed, 1);
    if (exact) {
        ascii_block_store_prefix(d, low_half, first);
        ascii_block_store_prefix(d + first, high_half, second);
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), low_half);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + first), high_half);
    }
    d += first + second;
}

} // namespace

EZU_TARGET_AVX2 size_t str_utf8_utf16_size_avx2(const unsigned char* src, size_t n,
                                                int64_t* bytes) {
    size_t units = 0;
    const size_t taken = utf8_checked_prefix(src, n, &units);
    *bytes += 2 * int64_t(units);
    return taken;
}

EZU_TARGET_AVX2 size_t str_utf8_to_utf16_avx2(const unsigned char* s, size_t n, unsigned char* d,
                                              bool big_endian, size_t* written) {
    // Each block is checked before the one in front of it is converted: a
    // block with a well-formed one behind it is stored in whole halves (the
    // next block's units cover what they put behind its own), the last one
    // exactly and without a character it cuts.
    *written = 0;
    if (n < 32)
        return 0;
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
    if (!block_checks(s, v, _mm256_setzero_si256(), true))
        return 0;
    __m128i before = _mm_setzero_si128();
    unsigned char* out = d;
    size_t i = 0;
    for (;;) {
        __m256i next = v;
        const bool more = n - i >= 64;
        if (more)
            next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32));
        const bool last = !more || !block_checks(s + i + 32, next, v, false);
        const unsigned cut = last ? cut_at_end(s + i + 32) : 0;
        const __m128i a = _mm256_castsi256_si128(v), b = _mm256_extracti128_si256(v, 1);
        chunk_to_utf16(a, before, (s[i + 16] & 0xC0) == 0x80, 0xFFFFu, last, big_endian, out);
        // The last block ends with a whole character, or leaves out the one
        // it cuts, whatever stands behind it.
        const unsigned next_cont = !last && (s[i + 32] & 0xC0) == 0x80;
        chunk_to_utf16(b, a, next_cont, 0xFFFFu >> cut, last, big_endian, out);
        if (last) {
            i += 32 - cut;
            break;
        }
        before = b;
        v = next;
        i += 32;
    }
    *written = size_t(out - d);
    return i;
}

EZU_TARGET_AVX2 size_t str_utf16_valid_prefix_avx2(const unsigned char* src, size_t units,
                                                   bool big_endian) {
    const __m256i top = _mm256_set1_epi16(short(0xFC00));
    const __m256i high = _mm256_set1_epi16(short(0xD800)), low = _mm256_set1_epi16(short(0xDC00));
    size_t i = 0;
    uint32_t open = 0; // 3 when the block before ends with a high surrogate
    for (; units - i >= 16; i += 16) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + 2 * i));
        if (big_endian)
            v = _mm256_or_si256(_mm256_slli_epi16(v, 8), _mm256_srli_epi16(v, 8));
        const __m256i kind = _mm256_and_si256(v, top);
        // Two mask bits per unit: every low surrogate, and only they, right
        // behind a high one.
        const uint32_t highs = uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi16(kind, high)));
        const uint32_t lows = uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi16(kind, low)));
        if (lows != (highs << 2 | open))
            break;
        open = highs >> 30;
    }
    // A pair the last block taken cuts is left out.
    return i - (open != 0);
}

EZU_TARGET_AVX2 size_t str_utf8_valid_prefix_avx2(const unsigned char* src, size_t n) {
    size_t units = 0;
    return utf8_checked_prefix<false>(src, n, &units);
}

#endif
