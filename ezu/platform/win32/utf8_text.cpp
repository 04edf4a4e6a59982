// Conversions between the interface's UTF-8 and the run-time's UTF-16.
#include "ezu/platform/win32/utf8_text.h"

#include <windows.h>

bool win_wide_from_utf8(const char* text, std::wstring* out) {
    if (!text)
        return false;
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (units <= 0)
        return false;
    out->assign(size_t(units), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, &(*out)[0], units) != units)
        return false;
    out->resize(size_t(units) - 1);
    return true;
}

bool win_utf8_from_wide(const wchar_t* text, std::string* out) {
    if (!text)
        return false;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    out->assign(size_t(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, &(*out)[0], bytes, nullptr, nullptr) != bytes)
        return false;
    out->resize(size_t(bytes) - 1);
    return true;
}
