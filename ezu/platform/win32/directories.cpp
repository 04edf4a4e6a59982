// Directories and the current directory through the run-time's functions.
#include "ezu/platform/platform.h"

#include <direct.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "ezu/platform/win32/path_guard.h"
#include "ezu/platform/win32/utf8_text.h"

int plat_wmkdir(const EzuWChar* path) {
    return win_path_usable(path) ? _wmkdir(path) : -1;
}

int plat_wrmdir(const EzuWChar* path) {
    return win_path_usable(path) ? _wrmdir(path) : -1;
}

int plat_wchdir(const EzuWChar* path) {
    return win_path_usable(path) ? _wchdir(path) : -1;
}

// The run-time allocates when given no buffer; the framework always gives one.
EzuWChar* plat_wgetcwd(EzuWChar* buffer, int units) {
    if (!buffer || units <= 0) {
        errno = EINVAL;
        return nullptr;
    }
    return _wgetcwd(buffer, units);
}

// The 8-bit form is UTF-8, read through the wide call: the narrow one gives
// the ANSI code page, which cannot hold every character of a directory name.
char* plat_getcwd(char* buffer, int size) {
    if (!buffer || size <= 0) {
        errno = EINVAL;
        return nullptr;
    }
    wchar_t* wide = _wgetcwd(nullptr, 0);
    std::string text;
    const bool converted = wide && win_utf8_from_wide(wide, &text);
    free(wide);
    if (!converted)
        return nullptr;
    if (text.size() + 1 > size_t(size)) {
        errno = ERANGE;
        return nullptr;
    }
    memcpy(buffer, text.c_str(), text.size() + 1);
    return buffer;
}
