// The per-encoding operations behind the encoding table, and the helpers they
// share. Internal to the encoding core: everything else goes through
// str_encodings.
#ifndef EZU_CORE_ENCODING_CODECS_H
#define EZU_CORE_ENCODING_CODECS_H

#include <stdint.h>

// Records a rejected input in the last-error record under this module's name.
void str_report_error(int code, const char* message, int line);

// True when `count` more bytes from `pos` lie inside `limit` (a negative limit
// is no bound).
inline bool str_within(int limit, int pos, int count) {
    return limit < 0 || count <= limit - pos;
}

// Encoding 0: 7-bit ASCII.
int str_ascii_decode(const unsigned char* src, int avail, uint32_t* code, int* state);
int str_ascii_encode(uint32_t code, unsigned char* dst, int room, int* state);
int str_ascii_text_length(const unsigned char* text, int limit);

// Encoding 1: UTF-8.
int str_utf8_decode(const unsigned char* src, int avail, uint32_t* code, int* state);
int str_utf8_encode(uint32_t code, unsigned char* dst, int room, int* state);
int str_utf8_char_size(uint32_t code);
int str_utf8_text_length(const unsigned char* text, int limit);

// Encodings 3 and 4: UTF-16 big-endian and little-endian.
int str_utf16be_decode(const unsigned char* src, int avail, uint32_t* code, int* state);
int str_utf16be_encode(uint32_t code, unsigned char* dst, int room, int* state);
int str_utf16be_text_length(const unsigned char* text, int limit);
int str_utf16le_decode(const unsigned char* src, int avail, uint32_t* code, int* state);
int str_utf16le_encode(uint32_t code, unsigned char* dst, int room, int* state);
int str_utf16le_text_length(const unsigned char* text, int limit);
int str_utf16_char_size(uint32_t code); // encodings 2, 3 and 4

// Encoding 2: UTF-16 with a byte-order mark.
int str_utf16bom_decode(const unsigned char* src, int avail, uint32_t* code, int* state);
int str_utf16bom_encode(uint32_t code, unsigned char* dst, int room, int* state);
int str_utf16bom_text_length(const unsigned char* text, int limit);

// Encoding 5: UTF-32 in machine order.
int str_utf32_decode(const unsigned char* src, int avail, uint32_t* code, int* state);
int str_utf32_encode(uint32_t code, unsigned char* dst, int room, int* state);
int str_utf32_text_length(const unsigned char* text, int limit);

#endif
