// Encoding 1, UTF-8, with the permissive rules the string layer relies on:
// the lead byte alone decides a sequence's length and continuation bytes are
// not checked.
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_ascii_block.h"
#include "ezu/core/encoding_codecs.h"

#include <string.h>

int str_utf8_seq_len(unsigned char lead) {
    if ((lead & 0xFC) == 0xFC)
        return 6;
    if ((lead & 0xF8) == 0xF8)
        return 5;
    if ((lead & 0xF0) == 0xF0)
        return 4;
    if ((lead & 0xE0) == 0xE0)
        return 3;
    if ((lead & 0xC0) == 0xC0)
        return 2;
    return 1;
}

int str_utf8_char_size(uint32_t code) {
    if (code < 0x80)
        return 1;
    if (code < 0x800)
        return 2;
    if (code < 0x10000)
        return 3;
    if (code < 0x200000)
        return 4;
    return 1; // written as "?"
}

int str_utf8_encode(uint32_t code, unsigned char* dst, int room, int*) {
    static const unsigned char kLeadMark[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    if (code >= 0x200000)
        code = '?';
    const int n = str_utf8_char_size(code);
    if (room < n)
        return 0;
    for (int i = n - 1; i > 0; --i) {
        dst[i] = (unsigned char)(0x80 | (code & 0x3F));
        code >>= 6;
    }
    dst[0] = (unsigned char)(code | kLeadMark[n]);
    return n;
}

int str_utf8_decode(const unsigned char* src, int avail, uint32_t* code, int*) {
    // Subtracting these undoes the lead marks and the 0x80 of every
    // continuation byte in one step. Five- and six-byte forms are not
    // accumulated, so theirs leave a fixed value above the Unicode range.
    static const uint32_t kOffset[7] = {0, 0, 0x3080, 0xE2080, 0x3C82080, 0xFA082080, 0x82082080};
    if (avail < 1)
        return 0;
    const int n = str_utf8_seq_len(src[0]);
    if (avail < n)
        return 0; // cut off by the end of the input
    uint32_t value = 0;
    if (n <= 4) {
        for (int i = 0; i < n; ++i)
            value = value * 64 + src[i];
    }
    value -= kOffset[n];
    // Malformed bytes (a short continuation such as C0 00) leave a negative value.
    *code = int32_t(value) < 0 ? uint32_t('?') : value;
    return n;
}

int str_utf8_text_length(const unsigned char* text, int limit) {
    if (!text)
        return 0;
    // Runs of ASCII in blocks (each byte is a step of its own), read no
    // further than the terminator.
    const unsigned char* zero =
        limit > 0 ? static_cast<const unsigned char*>(memchr(text, 0, size_t(limit))) : nullptr;
    const int ascii_bound = limit > 0 ? (zero ? int(zero - text) : limit) : 0;
    int pos = 0;
    for (;;) {
        if (pos < ascii_bound)
            pos += int(str_ascii_span(text + pos, size_t(ascii_bound - pos)));
        if (!str_within(limit, pos, 1))
            return pos;
        if (text[pos] == 0)
            return pos;
        // Step over the character by its lead byte, as the decoder does: it
        // takes a zero byte inside a sequence as part of the character, so
        // the length must too, or a length-sized destination would be too
        // small. Without a bound the terminator is the only safe end, so
        // there a zero byte inside a sequence ends the text.
        const int n = str_utf8_seq_len(text[pos]);
        for (int i = 1; i < n; ++i) {
            if (!str_within(limit, pos + i, 1) || (limit < 0 && text[pos + i] == 0))
                return pos + i;
        }
        pos += n;
    }
}
