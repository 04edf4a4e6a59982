// Renaming in the Windows view. An existing target is replaced, as the
// Windows implementation does, but only when Windows would allow it: a
// directory or a read-only file (no write bit, also for root) stays.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>

#include "ezu/platform/posix/host_path.h"

int plat_wrename(const EzuWChar* from, const EzuWChar* to) {
    std::string host_from, host_to;
    if (!posix_host_path(from, &host_from) || !posix_host_path(to, &host_to))
        return -1;
    struct stat st;
    if (stat(host_to.c_str(), &st) == 0 &&
        (S_ISDIR(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
        errno = EACCES;
        return -1;
    }
    return rename(host_from.c_str(), host_to.c_str()) == 0 ? 0 : -1;
}
