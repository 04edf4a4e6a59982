// UTF-8 to UTF-16 with the results of the Windows converter (code page UTF-8,
// no flags): strict UTF-8, each ill-formed sequence replaced by U+FFFD.
#include "ezu/platform/platform.h"

#include <limits.h>
#include <string.h>

namespace {

const uint32_t kReplacement = 0xFFFD;

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The range the first continuation byte must lie in after `lead`; it rules
// out overlong forms, surrogates and values above U+10FFFF.
void second_byte_range(unsigned char lead, unsigned char* low, unsigned char* high) {
    *low = 0x80;
    *high = 0xBF;
    if (lead == 0xE0)
        *low = 0xA0;
    else if (lead == 0xED)
        *high = 0x9F;
    else if (lead == 0xF0)
        *low = 0x90;
    else if (lead == 0xF4)
        *high = 0x8F;
}

// Reads one character from the `avail` bytes at `src`. An ill-formed
// sequence yields U+FFFD and consumes its longest valid beginning (at least
// one byte), so the byte that broke it starts the next character.
int decode_strict(const unsigned char* src, size_t avail, uint32_t* code) {
    const unsigned char lead = src[0];
    int length;
    if (lead < 0x80) {
        *code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        *code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        *code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        *code = lead & 0x07;
    } else {
        *code = kReplacement;
        return 1;
    }
    unsigned char low, high;
    second_byte_range(lead, &low, &high);
    for (int i = 1; i < length; ++i) {
        const bool fits = size_t(i) < avail &&
                          (i == 1 ? src[i] >= low && src[i] <= high : is_continuation(src[i]));
        if (!fits) {
            *code = kReplacement;
            return i;
        }
        *code = *code << 6 | (src[i] & 0x3F);
    }
    return length;
}

} // namespace

int plat_utf8_to_wide(const char* src, int src_len, EzuWChar* dst, int dst_units) {
    if (!src || src_len == 0 || src_len < -1 || dst_units < 0 || (dst_units > 0 && !dst))
        return 0;
    // -1: the text through its terminator, which is converted and counted.
    const size_t bytes = src_len == -1 ? strlen(src) + 1 : size_t(src_len);
    if (bytes > size_t(INT_MAX))
        return 0;
    const unsigned char* in = reinterpret_cast<const unsigned char*>(src);
    int units = 0;
    for (size_t pos = 0; pos < bytes;) {
        uint32_t code;
        pos += size_t(decode_strict(in + pos, bytes - pos, &code));
        const int needed = code >= 0x10000 ? 2 : 1;
        if (dst_units > 0) {
            if (needed > dst_units - units)
                return 0; // the room is too small
            if (needed == 2) {
                dst[units] = EzuWChar(0xD800 + ((code - 0x10000) >> 10));
                dst[units + 1] = EzuWChar(0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                dst[units] = EzuWChar(code);
            }
        }
        units += needed;
    }
    return units;
}
