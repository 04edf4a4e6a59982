// Directories and the current directory through the run-time's functions.
#include "ezu/platform/platform.h"

#include <direct.h>
#include <errno.h>

#include "ezu/platform/win32/path_guard.h"

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

char* plat_getcwd(char* buffer, int size) {
    if (!buffer || size <= 0) {
        errno = EINVAL;
        return nullptr;
    }
    return _getcwd(buffer, size);
}
