// The well-formedness check. Runs of ASCII go through the block routines the
// conversion uses; with SSE2, whole blocks of well-formed UTF-8 and UTF-16
// pass the block sizers' check in one step, and with AVX2, UTF-8 passes the
// conversion's 32-byte check and UTF-16 a check of 16 units at a time. Everything else is checked
// one character at a time, which is also where every fault is found and named.
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_ascii_block.h"
#include "ezu/core/encoding_avx2.h"
#include "ezu/core/encoding_block_size.h"
#include "ezu/core/encoding_fast.h"

#include <string.h>

namespace {

// Where a check stopped: the fault (STR_WELL_FORMED when it did not) and the
// byte offset it was found at.
struct Verdict {
    int fault;
    int at;
};

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The ASCII bytes (zero included) at the start of the `n` bytes at `s`.
size_t ascii_bytes(const unsigned char* s, size_t n) {
    size_t i = 0;
    while (i < n) {
        i += str_ascii_span(s + i, n - i);
        if (i == n || s[i] != 0)
            break;
        ++i;
    }
    return i;
}

Verdict check_ascii(const unsigned char* s, int len) {
    const int n = int(ascii_bytes(s, size_t(len)));
    return {n == len ? STR_WELL_FORMED : STR_FAULT_ASCII_HIGH_BYTE, n};
}

// One UTF-8 character at the start of the `left` bytes at `s` (s[0] at
// least 0x80): its length, or 0 with *fault set.
int utf8_char(const unsigned char* s, int left, int* fault) {
    const unsigned lead = s[0];
    if (lead < 0xC0) {
        *fault = STR_FAULT_UTF8_STRAY_CONTINUATION;
        return 0;
    }
    if (lead < 0xC2 || lead >= 0xF5) {
        // C0 and C1 start only overlong two-byte forms, F5 to F7 only values
        // above the range, F8 to FD the old five- and six-byte forms.
        *fault = lead < 0xC2   ? STR_FAULT_UTF8_OVERLONG
                 : lead < 0xF8 ? STR_FAULT_UTF8_TOO_LARGE
                 : lead < 0xFE ? STR_FAULT_UTF8_LONG_FORM
                               : STR_FAULT_UTF8_INVALID_BYTE;
        return 0;
    }
    const int n = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    // The second byte's range decides overlong, surrogate and out-of-range
    // forms (the standard's table); the others are plain continuation bytes.
    unsigned low = 0x80, high = 0xBF;
    int below = STR_FAULT_UTF8_OVERLONG, above = STR_FAULT_UTF8_MISSING_CONTINUATION;
    if (lead == 0xE0) {
        low = 0xA0;
    } else if (lead == 0xED) {
        high = 0x9F;
        above = STR_FAULT_UTF8_SURROGATE;
    } else if (lead == 0xF0) {
        low = 0x90;
    } else if (lead == 0xF4) {
        high = 0x8F;
        above = STR_FAULT_UTF8_TOO_LARGE;
    }
    for (int i = 1; i < n; ++i) {
        if (i >= left) {
            *fault = STR_FAULT_UTF8_CUT_OFF;
            return 0;
        }
        if (!is_continuation(s[i])) {
            *fault = STR_FAULT_UTF8_MISSING_CONTINUATION;
            return 0;
        }
        if (i == 1 && (s[1] < low || s[1] > high)) {
            *fault = s[1] < low ? below : above;
            return 0;
        }
    }
    return n;
}

Verdict check_utf8(const unsigned char* s, int len) {
    int pos = 0;
    while (pos < len) {
        // Characters are checked one at a time at least up to here.
        int steps_end = pos;
#if EZU_AVX2_LOOPS
        if (str_fast_level() == FAST_AVX2)
            pos += int(str_utf8_valid_prefix_avx2(s + pos, size_t(len - pos)));
#endif
#if EZU_ASCII_BLOCK_SSE2
        while (len - pos >= 16) {
            const BlockCounts c = utf8_block_counts(s + pos);
            if (c.bytes == 0)
                break;
            pos += c.ascii ? int(ascii_bytes(s + pos, size_t(len - pos))) : int(c.bytes);
        }
        steps_end = pos + 16; // past the block that stopped the check
#endif
        if (pos == len)
            break;
        do {
            if (s[pos] < 0x80) {
                pos += int(ascii_bytes(s + pos, size_t(len - pos)));
                continue;
            }
            int fault = STR_WELL_FORMED;
            const int n = utf8_char(s + pos, len - pos, &fault);
            if (n == 0)
                return {fault, pos};
            pos += n;
        } while (pos < steps_end && pos < len);
    }
    return {STR_WELL_FORMED, pos};
}

unsigned load_unit(const unsigned char* at, bool big_endian) {
    return big_endian ? unsigned(at[0]) << 8 | at[1] : unsigned(at[1]) << 8 | at[0];
}

// UTF-16 in a known order; offsets count from `s`.
Verdict check_utf16(const unsigned char* s, int len, bool big_endian) {
    int pos = 0;
    while (len - pos >= 2) {
        int steps_end = pos;
#if EZU_AVX2_LOOPS
        if (str_fast_level() == FAST_AVX2)
            pos += 2 * int(str_utf16_valid_prefix_avx2(s + pos, size_t(len - pos) / 2, big_endian));
#endif
#if EZU_ASCII_BLOCK_SSE2
        while (len - pos >= 16) {
            const BlockCounts c = utf16_block_counts(s + pos, big_endian);
            if (c.bytes == 0)
                break;
            pos += int(c.bytes);
        }
        steps_end = pos + 16;
#endif
        if (len - pos < 2)
            break;
        do {
            const unsigned unit = load_unit(s + pos, big_endian);
            if (unit < 0xD800 || unit > 0xDFFF) {
                pos += 2;
                continue;
            }
            if (unit > 0xDBFF)
                return {STR_FAULT_UTF16_UNPAIRED_LOW, pos};
            // No whole low surrogate behind it, also where the input ends.
            if (len - pos < 4 || (load_unit(s + pos + 2, big_endian) & 0xFC00) != 0xDC00)
                return {STR_FAULT_UTF16_UNPAIRED_HIGH, pos};
            pos += 4;
        } while (pos < steps_end && len - pos >= 2);
    }
    return {pos < len ? STR_FAULT_UTF16_ODD_BYTE : STR_WELL_FORMED, pos};
}

Verdict check_utf32(const unsigned char* s, int len) {
    int pos = 0;
    for (; len - pos >= 4; pos += 4) {
        uint32_t unit;
        memcpy(&unit, s + pos, 4);
        if (unit > 0x10FFFF)
            return {STR_FAULT_UTF32_TOO_LARGE, pos};
        if (unit >= 0xD800 && unit <= 0xDFFF)
            return {STR_FAULT_UTF32_SURROGATE, pos};
    }
    return {pos < len ? STR_FAULT_UTF32_PARTIAL_UNIT : STR_WELL_FORMED, pos};
}

Verdict check(const unsigned char* s, int len, int encoding) {
    switch (encoding) {
    case ENC_ASCII:
        return check_ascii(s, len);
    case ENC_UTF8:
        return check_utf8(s, len);
    case ENC_UTF16: {
        // A leading mark picks the order and is skipped; without one the
        // machine's order applies.
        int mark = 0, order = str_native_utf16();
        if (len >= 2 && ((s[0] == 0xFE && s[1] == 0xFF) || (s[0] == 0xFF && s[1] == 0xFE))) {
            mark = 2;
            order = s[0] == 0xFE ? ENC_UTF16BE : ENC_UTF16LE;
        }
        Verdict v = check_utf16(s + mark, len - mark, order == ENC_UTF16BE);
        v.at += mark;
        return v;
    }
    case ENC_UTF16BE:
    case ENC_UTF16LE:
        return check_utf16(s, len, encoding == ENC_UTF16BE);
    case ENC_UTF32:
        return check_utf32(s, len);
    default:
        return {STR_FAULT_UNKNOWN_ENCODING, 0};
    }
}

} // namespace

int str_validate(const void* src, int src_len, int encoding, int* offset) {
    if (src == nullptr || src_len < 0)
        src_len = 0;
    const Verdict v = check(static_cast<const unsigned char*>(src), src_len, encoding);
    if (offset)
        *offset = v.at;
    return v.fault;
}

const char* str_fault_text(int fault) {
    static const char* const kTexts[STR_FAULT_COUNT] = {
        "well-formed",
        "unknown encoding",
        "byte above 127 in ASCII text",
        "byte that never occurs in UTF-8",
        "UTF-8 continuation byte without a lead byte",
        "UTF-8 lead byte without its continuation bytes",
        "overlong UTF-8 form",
        "UTF-8 form of a surrogate",
        "UTF-8 form of a value above U+10FFFF",
        "five- or six-byte UTF-8 form",
        "UTF-8 sequence cut off by the end of the input",
        "unpaired high surrogate",
        "unpaired low surrogate",
        "UTF-16 text ending in half a unit",
        "UTF-32 value above 0x10FFFF",
        "UTF-32 value in the surrogate range",
        "UTF-32 text ending inside a unit",
    };
    return fault >= 0 && fault < STR_FAULT_COUNT ? kTexts[fault] : "unknown fault";
}
