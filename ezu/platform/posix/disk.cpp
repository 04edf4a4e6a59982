// Free space of the volume that holds a directory, from statvfs: the blocks
// available to unprivileged users times the fragment size.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "ezu/platform/posix/host_path.h"

int plat_disk_free(const EzuWChar* path, uint64_t* free_to_caller, uint64_t* total) {
    std::string host = "/"; // no path: the root of the current drive
    if (path && !posix_host_path(path, &host))
        return 0;
    // The Windows call wants a directory; a file's path fails there too.
    struct stat st;
    struct statvfs vfs;
    if (stat(host.c_str(), &st) != 0)
        return 0;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return 0;
    }
    if (statvfs(host.c_str(), &vfs) != 0)
        return 0;
    if (free_to_caller)
        *free_to_caller = uint64_t(vfs.f_bavail) * vfs.f_frsize;
    if (total)
        *total = uint64_t(vfs.f_blocks) * vfs.f_frsize;
    return 1;
}
