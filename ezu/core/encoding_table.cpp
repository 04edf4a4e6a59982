// The encoding table: one record per encoding, indexed by its number.
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_codecs.h"

const EncodingInfo str_encodings[6] = {
    {ENC_ASCII, 1, 1, 1, 0, str_ascii_encode, str_ascii_decode, nullptr, str_ascii_text_length},
    {ENC_UTF8, 1, 6, 1, ENC_VARIABLE, str_utf8_encode, str_utf8_decode, str_utf8_char_size,
     str_utf8_text_length},
    {ENC_UTF16, 2, 4, 2, ENC_VARIABLE, str_utf16bom_encode, str_utf16bom_decode,
     str_utf16_char_size, str_utf16bom_text_length},
    {ENC_UTF16BE, 2, 4, 2, ENC_VARIABLE, str_utf16be_encode, str_utf16be_decode,
     str_utf16_char_size, str_utf16be_text_length},
    {ENC_UTF16LE, 2, 4, 2, ENC_VARIABLE, str_utf16le_encode, str_utf16le_decode,
     str_utf16_char_size, str_utf16le_text_length},
    {ENC_UTF32, 4, 4, 4, 0, str_utf32_encode, str_utf32_decode, nullptr, str_utf32_text_length},
};

bool str_encoding_valid(int encoding) {
    return encoding >= ENC_ASCII && encoding <= ENC_UTF32;
}
