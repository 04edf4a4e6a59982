// Converts one text between the encodings of the encoding core.
//
// Every conversion follows the same three steps: ask str_convert_size how
// many bytes the result needs, allocate that with mem_alloc, then let
// str_convert fill the block (terminator included).
#include "ezu/ezu.h"

#include <stdio.h>
#include <string.h>

namespace {

const char* const kNames[6] = {"ASCII",    "UTF-8",    "UTF-16 (marked)",
                               "UTF-16BE", "UTF-16LE", "UTF-32"};

void print_hex(const unsigned char* bytes, int count) {
    for (int i = 0; i < count; ++i)
        printf("%s%02X", i ? " " : "", bytes[i]);
    printf("\n");
}

// Sizes, allocates and converts; returns the new block (release it with
// mem_free) or null when the input is rejected.
unsigned char* convert(const void* src, int src_len, int from, int to, int* size) {
    *size = str_convert_size(src, src_len, from, to);
    if (*size == 0)
        return nullptr; // a decoder rejected the input
    unsigned char* block = static_cast<unsigned char*>(mem_alloc(*size));
    if (block && !str_convert(src, src_len, from, block, *size, to)) {
        mem_free(block);
        return nullptr;
    }
    return block;
}

// Bytes of a converted text in front of its terminator (one zero unit).
int text_bytes(const unsigned char* text, int size, int encoding) {
    const int unit = str_encodings[encoding].unit_size;
    for (int pos = 0; pos + unit <= size; pos += unit) {
        int zero = 0;
        while (zero < unit && text[pos + zero] == 0)
            ++zero;
        if (zero == unit)
            return pos;
    }
    return size;
}

// Converts the UTF-8 text into `to`, prints the result, and converts it back.
void round_trip(const char* utf8, int to) {
    const int utf8_len = int(strlen(utf8)) + 1; // with its terminator
    int size = 0;
    unsigned char* converted = convert(utf8, utf8_len, ENC_UTF8, to, &size);
    if (!converted) {
        printf("%-16s rejected: %s\n", kNames[to], str_error_message());
        return;
    }
    const int length = text_bytes(converted, size, to);
    printf("%-16s size %2d, text %2d bytes: ", kNames[to], size, length);
    print_hex(converted, length);

    // Back to UTF-8: only ASCII loses characters (they became "?").
    int back_size = 0;
    unsigned char* back = convert(converted, size, to, ENC_UTF8, &back_size);
    if (back) {
        const bool same = strcmp(reinterpret_cast<char*>(back), utf8) == 0;
        printf("%-16s back to UTF-8: \"%s\" (%s)\n", "", reinterpret_cast<char*>(back),
               same ? "round trip exact" : "lossy");
    }
    mem_free(back);
    mem_free(converted);
}

// An unpaired high surrogate in UTF-16LE: the decoder rejects it and says
// why in the last-error record.
void show_rejected_input() {
    const unsigned char bad[] = {0x3D, 0xD8, 0x41, 0x00, 0x00, 0x00}; // D83D then 'A'
    const int size = str_convert_size(bad, sizeof bad, ENC_UTF16LE, ENC_UTF8);
    printf("\nUTF-16LE 3D D8 41 00: size %d, last error 0x%08X \"%s\" (%s, line %d)\n", size,
           unsigned(str_error_code()), str_error_message(), str_error_file(), str_error_line());
}

} // namespace

int main() {
    // "Text: café, 漢字, 😀" in UTF-8.
    const char* text = "Text: caf\xC3\xA9, \xE6\xBC\xA2\xE5\xAD\x97, \xF0\x9F\x98\x80";
    printf("UTF-8 source (%d bytes): %s\n", int(strlen(text)), text);
    print_hex(reinterpret_cast<const unsigned char*>(text), int(strlen(text)));
    printf("\n");
    for (int to = ENC_ASCII; to <= ENC_UTF32; ++to) {
        if (to != ENC_UTF8)
            round_trip(text, to);
    }
    show_rejected_input();
    // Every block was released: the memory manager's counters are back at 0.
    printf("\nmemory in use: %d blocks, %d bytes\n", mem_blocks_in_use(), mem_bytes_in_use());
    return mem_blocks_in_use() == 0 ? 0 : 1;
}
