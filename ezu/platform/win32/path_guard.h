// The check every win32 file-system call makes before it reaches the
// run-time: a path must be given, not empty, and hold no character Windows
// forbids in names. Windows refuses those itself, but wine accepts a ":"
// inside a name (it creates a file of that name), so the check is ours.
#ifndef EZU_PLATFORM_WIN32_PATH_GUARD_H
#define EZU_PLATFORM_WIN32_PATH_GUARD_H

#include <errno.h>

#include "ezu/platform/plat_rules.h"

inline bool win_path_usable(const EzuWChar* path) {
    if (!path || !*path) {
        errno = ENOENT;
        return false;
    }
    if (!plat_name_chars_allowed(path)) {
        errno = EINVAL;
        return false;
    }
    return true;
}

#endif
