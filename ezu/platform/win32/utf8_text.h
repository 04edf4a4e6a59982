// UTF-8 texts of the platform interface and the wide texts of the run-time's
// wide calls, in both directions. Private to the win32 implementation.
#ifndef EZU_PLATFORM_WIN32_UTF8_TEXT_H
#define EZU_PLATFORM_WIN32_UTF8_TEXT_H

#include <string>

// Zero-terminated UTF-8 to UTF-16; false for null or text the system cannot
// convert.
bool win_wide_from_utf8(const char* text, std::wstring* out);

// Zero-terminated UTF-16 to UTF-8; false for null or text the system cannot
// convert.
bool win_utf8_from_wide(const wchar_t* text, std::string* out);

#endif
