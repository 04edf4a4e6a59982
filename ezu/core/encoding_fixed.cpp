// The fixed-width encodings: 7-bit ASCII (0) and UTF-32 in machine order (5).
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_codecs.h"

#include <string.h>

int str_ascii_decode(const unsigned char* src, int avail, uint32_t* code, int*) {
    if (avail < 1)
        return 0;
    // Widened as a signed byte: 0x80 to 0xFF become 0xFFFFFF80 to 0xFFFFFFFF,
    // which no encoder but UTF-32 can write, so they come out as "?".
    *code = uint32_t(int32_t(int8_t(src[0])));
    return 1;
}

int str_ascii_encode(uint32_t code, unsigned char* dst, int room, int*) {
    if (room < 1)
        return 0;
    dst[0] = code < 0x80 ? (unsigned char)code : '?';
    return 1;
}

int str_ascii_text_length(const unsigned char* text, int limit) {
    if (!text)
        return 0;
    if (limit >= 0) {
        const void* zero = memchr(text, 0, size_t(limit));
        return zero ? int(static_cast<const unsigned char*>(zero) - text) : limit;
    }
    int length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

int str_utf32_decode(const unsigned char* src, int avail, uint32_t* code, int*) {
    if (avail < 4)
        return 0;
    memcpy(code, src, 4);
    return 4;
}

int str_utf32_encode(uint32_t code, unsigned char* dst, int room, int*) {
    if (room < 4)
        return 0;
    memcpy(dst, &code, 4);
    return 4;
}

int str_utf32_text_length(const unsigned char* text, int limit) {
    if (!text)
        return 0;
    const unsigned char zero[4] = {0, 0, 0, 0};
    int length = 0;
    while (str_within(limit, length, 4) && memcmp(text + length, zero, 4) != 0)
        length += 4;
    return length;
}
