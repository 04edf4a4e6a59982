// Free and total bytes of the volume that holds a directory.
#include "ezu/platform/platform.h"

#include <windows.h>

#include "ezu/platform/win32/path_guard.h"

int plat_disk_free(const EzuWChar* path, uint64_t* free_to_caller, uint64_t* total) {
    if (path && !win_path_usable(path))
        return 0;
    ULARGE_INTEGER available, bytes;
    if (!GetDiskFreeSpaceExW(path, &available, &bytes, nullptr))
        return 0;
    if (free_to_caller)
        *free_to_caller = available.QuadPart;
    if (total)
        *total = bytes.QuadPart;
    return 1;
}
