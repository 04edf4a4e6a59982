// Encoding 2, UTF-16 with a byte-order mark: a leading mark picks the order
// when reading; the machine's order, announced by a mark, when writing.
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_codecs.h"

namespace {

const int kMarkWritten = 0xFEFF; // encoder state once the mark is out

// The order a leading mark selects (3 or 4), or 0 when there is no mark.
int marked_order(const unsigned char* text) {
    if (text[0] == 0xFE && text[1] == 0xFF)
        return ENC_UTF16BE;
    if (text[0] == 0xFF && text[1] == 0xFE)
        return ENC_UTF16LE;
    return 0;
}

int decode_in(int order, const unsigned char* src, int avail, uint32_t* code) {
    return order == ENC_UTF16BE ? str_utf16be_decode(src, avail, code, nullptr)
                                : str_utf16le_decode(src, avail, code, nullptr);
}

int encode_native(uint32_t code, unsigned char* dst, int room) {
    return str_native_utf16() == ENC_UTF16BE ? str_utf16be_encode(code, dst, room, nullptr)
                                             : str_utf16le_encode(code, dst, room, nullptr);
}

} // namespace

// The decoder state holds the selected order (3 or 4) after the first call.
int str_utf16bom_decode(const unsigned char* src, int avail, uint32_t* code, int* state) {
    int skipped = 0;
    if (*state == 0) {
        if (avail < 2)
            return 0;
        *state = marked_order(src);
        if (*state != 0)
            skipped = 2;
        else
            *state = str_native_utf16();
        if (skipped != 0 && skipped == avail) {
            // A mark with nothing behind it is an empty text, not a cut-off
            // character: report the end of the text.
            *code = 0;
            return skipped;
        }
    }
    const int consumed = decode_in(*state, src + skipped, avail - skipped, code);
    return consumed ? consumed + skipped : 0;
}

int str_utf16bom_encode(uint32_t code, unsigned char* dst, int room, int* state) {
    if (*state == kMarkWritten)
        return encode_native(code, dst, room);
    // The first character goes out behind the mark; both must fit.
    if (room < 2)
        return 0;
    const int written = encode_native(code, dst + 2, room - 2);
    if (!written)
        return 0;
    encode_native(0xFEFF, dst, 2);
    *state = kMarkWritten;
    return written + 2;
}

int str_utf16bom_text_length(const unsigned char* text, int limit) {
    if (!text)
        return 0;
    int order = 0;
    if (str_within(limit, 0, 2))
        order = marked_order(text);
    if (order == 0)
        return str_encodings[str_native_utf16()].text_length(text, limit);
    return str_encodings[order].text_length(text + 2, limit < 0 ? limit : limit - 2);
}
