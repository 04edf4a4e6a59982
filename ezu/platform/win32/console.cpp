// Console text: the wide console call when a standard stream is a console.
#include "ezu/platform/platform.h"

#include <windows.h>

int plat_console_write_wide(int stream, const EzuWChar* text, int units) {
    const HANDLE handle = GetStdHandle(stream == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode))
        return 0;
    while (units > 0) {
        DWORD written = 0;
        if (!WriteConsoleW(handle, text, DWORD(units), &written, nullptr) || written == 0)
            return -1;
        text += written;
        units -= int(written);
    }
    return 1;
}

int plat_console_utf8() {
    return 1;
}
