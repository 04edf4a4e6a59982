// Renaming with replacement. _wrename refuses an existing target, and
// removing the target first would lose it when the source is missing or
// names the same file; MoveFileExW replaces it in one step instead.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <windows.h>

#include "ezu/platform/win32/path_guard.h"

int plat_wrename(const EzuWChar* from, const EzuWChar* to) {
    if (!win_path_usable(from) || !win_path_usable(to))
        return -1;
    // Windows keeps a read-only target; wine run as root would replace it.
    const DWORD attributes = GetFileAttributesW(to);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES;
        return -1;
    }
    if (!MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING)) {
        errno = GetLastError() == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
        return -1;
    }
    return 0;
}
