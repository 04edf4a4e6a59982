// Text conversions between the framework's UTF-16 and the host's UTF-8, and
// the Windows buffer rules for handing UTF-16 results out. Private to the
// posix platform.
#ifndef EZU_PLATFORM_POSIX_HOST_TEXT_H
#define EZU_PLATFORM_POSIX_HOST_TEXT_H

#include <stddef.h>

#include <string>

#include "ezu/platform/platform.h"

typedef std::basic_string<EzuWChar> PosixWide;

// UTF-16 to UTF-8. Fails on an unpaired surrogate, which UTF-8 cannot hold.
bool posix_wide_to_utf8(const EzuWChar* text, std::string* out);

// UTF-8 to UTF-16. With `strict` a malformed sequence makes the conversion
// fail; otherwise each malformed byte becomes U+FFFD.
bool posix_utf8_to_wide(const char* text, size_t length, bool strict, PosixWide* out);

// Copies `text` and its terminator into `buffer` as GetLocaleInfoW does:
// returns the units written, the units needed when `units` is 0, and 0 when
// the room is too small or negative.
int posix_copy_wide_out(const PosixWide& text, EzuWChar* buffer, int units);

#endif
