// Files in the Windows view: opening, facts, access tests, removal and the
// read-only attribute, which here is a file without any write permission
// bit. The bits are checked in our code because root passes the host's own
// permission checks, and Windows refuses the same operations to everyone.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ezu/platform/plat_rules.h"
#include "ezu/platform/posix/host_path.h"

namespace {

const mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool read_only(const struct stat& st) {
    return (st.st_mode & kWriteBits) == 0;
}

} // namespace

FILE* plat_wfopen(const EzuWChar* path, const EzuWChar* mode) {
    PlatOpenMode parsed;
    if (!plat_parse_open_mode(mode, &parsed)) {
        errno = EINVAL;
        return nullptr;
    }
    std::string host;
    if (!posix_host_path(path, &host))
        return nullptr;
    struct stat st;
    if (stat(host.c_str(), &st) == 0) {
        // Windows opens neither a directory nor a read-only file for writing.
        if (S_ISDIR(st.st_mode) || (plat_mode_writes(parsed) && read_only(st))) {
            errno = EACCES;
            return nullptr;
        }
    }
    // Text mode is binary mode here: line ends pass unchanged.
    char host_mode[3] = {parsed.access, parsed.update ? '+' : '\0', '\0'};
    return fopen(host.c_str(), host_mode);
}

int plat_wstat(const EzuWChar* path, PlatStat* info) {
    std::string host;
    if (!info || posix_is_bare_drive(path)) {
        errno = ENOENT;
        return -1;
    }
    if (!posix_host_path(path, &host))
        return -1;
    struct stat st;
    if (stat(host.c_str(), &st) != 0)
        return -1;
    info->mode = S_ISREG(st.st_mode) ? PLAT_MODE_FILE : S_ISDIR(st.st_mode) ? PLAT_MODE_DIR : 0;
    // Windows reports a directory's size as 0.
    info->size = S_ISREG(st.st_mode) ? (long long)st.st_size : 0;
    return 0;
}

int plat_waccess(const EzuWChar* path, int mode) {
    if ((mode & ~(PLAT_ACCESS_WRITE | PLAT_ACCESS_READ)) != 0) {
        errno = EINVAL;
        return -1;
    }
    std::string host;
    if (!posix_host_path(path, &host))
        return -1;
    struct stat st;
    if (stat(host.c_str(), &st) != 0)
        return -1;
    if ((mode & PLAT_ACCESS_WRITE) && (read_only(st) || access(host.c_str(), W_OK) != 0)) {
        errno = EACCES;
        return -1;
    }
    if ((mode & PLAT_ACCESS_READ) && access(host.c_str(), R_OK) != 0)
        return -1;
    return 0;
}

int plat_wremove(const EzuWChar* path) {
    std::string host;
    if (!posix_host_path(path, &host))
        return -1;
    struct stat st;
    if (lstat(host.c_str(), &st) != 0)
        return -1;
    // A symbolic link carries no attribute of its own: it goes as a file.
    if (S_ISDIR(st.st_mode) || (!S_ISLNK(st.st_mode) && read_only(st))) {
        errno = EACCES;
        return -1;
    }
    return unlink(host.c_str());
}

int plat_set_read_only(const EzuWChar* path, int read_only_flag) {
    std::string host;
    if (!posix_host_path(path, &host))
        return -1;
    struct stat st;
    if (stat(host.c_str(), &st) != 0)
        return -1;
    const mode_t permissions = st.st_mode & 07777;
    const mode_t wanted = read_only_flag ? permissions & ~kWriteBits : permissions | S_IWUSR;
    return chmod(host.c_str(), wanted);
}
