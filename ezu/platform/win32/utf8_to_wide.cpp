// UTF-8 to UTF-16 through the system's converter.
#include "ezu/platform/platform.h"

#include <windows.h>

int plat_utf8_to_wide(const char* src, int src_len, EzuWChar* dst, int dst_units) {
    return MultiByteToWideChar(CP_UTF8, 0, src, src_len, dst, dst_units);
}
