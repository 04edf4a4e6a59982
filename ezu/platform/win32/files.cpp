// Files through the run-time's wide functions. Guards keep away what the
// run-time would hand to its invalid-parameter handler (bad modes, null
// arguments), and the read-only attribute is checked before any open that
// may write: wine run as root would otherwise open a read-only file for
// writing, which Windows refuses.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "ezu/platform/plat_rules.h"
#include "ezu/platform/win32/path_guard.h"

namespace {

bool has_read_only_attribute(const EzuWChar* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

FILE* plat_wfopen(const EzuWChar* path, const EzuWChar* mode) {
    PlatOpenMode parsed;
    if (!plat_parse_open_mode(mode, &parsed)) {
        errno = EINVAL;
        return nullptr;
    }
    if (!win_path_usable(path))
        return nullptr;
    if (plat_mode_writes(parsed) && has_read_only_attribute(path)) {
        errno = EACCES;
        return nullptr;
    }
    return _wfopen(path, mode);
}

int plat_wstat(const EzuWChar* path, PlatStat* info) {
    // A bare drive letter with its colon names no file system object.
    if (!info || !win_path_usable(path) ||
        (plat_is_drive_letter(path[0]) && path[1] == ':' && !path[2])) {
        errno = ENOENT;
        return -1;
    }
    struct _stat64 st;
    if (_wstat64(path, &st) != 0)
        return -1;
    info->mode = st.st_mode & (PLAT_MODE_FILE | PLAT_MODE_DIR);
    info->size = st.st_size;
    return 0;
}

int plat_waccess(const EzuWChar* path, int mode) {
    if ((mode & ~(PLAT_ACCESS_WRITE | PLAT_ACCESS_READ)) != 0) {
        errno = EINVAL;
        return -1;
    }
    if (!win_path_usable(path))
        return -1;
    return _waccess(path, mode);
}

int plat_wremove(const EzuWChar* path) {
    if (!win_path_usable(path))
        return -1;
    return _wremove(path);
}

int plat_set_read_only(const EzuWChar* path, int read_only) {
    if (!win_path_usable(path))
        return -1;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        errno = ENOENT;
        return -1;
    }
    DWORD wanted = read_only ? attributes | FILE_ATTRIBUTE_READONLY
                             : attributes & ~DWORD(FILE_ATTRIBUTE_READONLY);
    if (wanted == 0)
        wanted = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesW(path, wanted)) {
        errno = EACCES;
        return -1;
    }
    return 0;
}
