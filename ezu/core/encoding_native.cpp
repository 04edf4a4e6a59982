// The machine's UTF-16 byte order, found once per process.
#include "ezu/core/encoding.h"

#include <string.h>

namespace {
int g_native_utf16 = 0; // 0 until first asked
} // namespace

int str_native_utf16() {
    if (g_native_utf16 == 0) {
        // The first byte in memory of the mark tells the order of every unit.
        const uint16_t mark = 0xFEFF;
        unsigned char first;
        memcpy(&first, &mark, 1);
        g_native_utf16 = first == 0xFE ? ENC_UTF16BE : ENC_UTF16LE;
    }
    return g_native_utf16;
}
