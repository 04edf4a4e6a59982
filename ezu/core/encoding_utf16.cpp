// Encodings 3 and 4, UTF-16 big-endian and little-endian: one implementation
// parameterised by the byte order of each 16-bit unit.
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_codecs.h"

namespace {

// The reports each order's decoder makes, with their line numbers.
struct Utf16Order {
    bool big_endian;
    const char* short_message; // fewer than 2 bytes available
    int short_line;
    int cut_pair_line;
    int unpaired_high_line;
    int unpaired_low_line;
};

const Utf16Order kBigEndian = {
    true, "from buffer overflow in private_str_decode_utf16BE", 1279, 1288, 1298, 1303};
const Utf16Order kLittleEndian = {
    false, "from buffer overflow in private_str_decode_utf16LE", 1350, 1359, 1369, 1374};

bool is_high_surrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool is_low_surrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

uint32_t load_unit(const unsigned char* at, bool big_endian) {
    return big_endian ? uint32_t(at[0]) << 8 | at[1] : uint32_t(at[1]) << 8 | at[0];
}

void store_unit(unsigned char* at, uint32_t unit, bool big_endian) {
    const unsigned char high = (unsigned char)(unit >> 8), low = (unsigned char)unit;
    at[0] = big_endian ? high : low;
    at[1] = big_endian ? low : high;
}

int decode(const unsigned char* src, int avail, uint32_t* code, const Utf16Order& order) {
    if (avail < 2) {
        str_report_error(STR_ERR_OVERFLOW, order.short_message, order.short_line);
        return 0;
    }
    const uint32_t first = load_unit(src, order.big_endian);
    if (is_low_surrogate(first)) {
        str_report_error(STR_ERR_INVALID, "unpaired low surrogate", order.unpaired_low_line);
        return 0;
    }
    if (!is_high_surrogate(first)) {
        *code = first;
        return 2;
    }
    if (avail < 4) {
        str_report_error(STR_ERR_OVERFLOW, "from buffer overflow", order.cut_pair_line);
        return 0;
    }
    const uint32_t second = load_unit(src + 2, order.big_endian);
    if (!is_low_surrogate(second)) {
        str_report_error(STR_ERR_INVALID, "unpaired high surrogate", order.unpaired_high_line);
        return 0;
    }
    *code = 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    return 4;
}

int encode(uint32_t code, unsigned char* dst, int room, bool big_endian) {
    if (code >= 0xD800 && code <= 0xDFFF)
        return 0; // a lone surrogate has no UTF-16 form
    if (code > 0x10FFFF)
        code = '?';
    if (code <= 0xFFFF) {
        if (room < 2)
            return 0;
        store_unit(dst, code, big_endian);
        return 2;
    }
    if (room < 4)
        return 0;
    const uint32_t v = code - 0x10000;
    store_unit(dst, 0xD800 + (v >> 10), big_endian);
    store_unit(dst + 2, 0xDC00 + (v & 0x3FF), big_endian);
    return 4;
}

int text_length(const unsigned char* text, int limit, bool big_endian) {
    if (!text)
        return 0;
    int pos = 0;
    for (;;) {
        if (!str_within(limit, pos, 2))
            return pos;
        const uint32_t unit = load_unit(text + pos, big_endian);
        if (unit == 0)
            return pos;
        pos += 2;
        // The low half of a pair is stepped over with its high half; a zero
        // unit or the bound there ends the text instead.
        if (is_high_surrogate(unit) && str_within(limit, pos, 2) &&
            load_unit(text + pos, big_endian) != 0)
            pos += 2;
    }
}

} // namespace

int str_utf16_char_size(uint32_t code) {
    if (code >= 0xD800 && code <= 0xDFFF)
        return 0; // cannot be written
    if (code >= 0x10000 && code <= 0x10FFFF)
        return 4;
    return 2; // one unit, or the "?" that replaces a value above 0x10FFFF
}

int str_utf16be_decode(const unsigned char* src, int avail, uint32_t* code, int*) {
    return decode(src, avail, code, kBigEndian);
}

int str_utf16be_encode(uint32_t code, unsigned char* dst, int room, int*) {
    return encode(code, dst, room, true);
}

int str_utf16be_text_length(const unsigned char* text, int limit) {
    return text_length(text, limit, true);
}

int str_utf16le_decode(const unsigned char* src, int avail, uint32_t* code, int*) {
    return decode(src, avail, code, kLittleEndian);
}

int str_utf16le_encode(uint32_t code, unsigned char* dst, int room, int*) {
    return encode(code, dst, room, false);
}

int str_utf16le_text_length(const unsigned char* text, int limit) {
    return text_length(text, limit, false);
}
