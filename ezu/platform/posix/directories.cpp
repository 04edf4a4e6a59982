// Directories in the Windows view: creation, removal, and the current
// directory, which reads as "C:" followed by the host directory with "\".
#include "ezu/platform/platform.h"

#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ezu/platform/posix/host_path.h"

namespace {

// The host's current directory, however long it is.
bool host_current_dir(std::string* out) {
    char* dir = getcwd(nullptr, 0);
    if (!dir)
        return false;
    out->assign(dir);
    free(dir);
    return true;
}

} // namespace

int plat_wmkdir(const EzuWChar* path) {
    std::string host;
    if (!posix_host_path(path, &host))
        return -1;
    return mkdir(host.c_str(), 0777);
}

int plat_wrmdir(const EzuWChar* path) {
    std::string host;
    if (!posix_host_path(path, &host))
        return -1;
    return rmdir(host.c_str());
}

int plat_wchdir(const EzuWChar* path) {
    std::string host;
    if (!posix_host_path(path, &host))
        return -1;
    return chdir(host.c_str());
}

EzuWChar* plat_wgetcwd(EzuWChar* buffer, int units) {
    std::string host;
    PosixWide view;
    if (!buffer || units <= 0) {
        errno = EINVAL;
        return nullptr;
    }
    if (!host_current_dir(&host) || !posix_windows_view(host.c_str(), &view))
        return nullptr;
    return posix_copy_wide_out(view, buffer, units) ? buffer : nullptr;
}

char* plat_getcwd(char* buffer, int size) {
    std::string host;
    if (!buffer || size <= 0) {
        errno = EINVAL;
        return nullptr;
    }
    if (!host_current_dir(&host))
        return nullptr;
    // "C:" and the host path with "\"; the 8-bit form keeps the host's UTF-8.
    std::string view = "C:" + host;
    for (char& c : view)
        if (c == '/')
            c = '\\';
    if (view.size() + 1 > size_t(size)) {
        errno = ERANGE;
        return nullptr;
    }
    memcpy(buffer, view.c_str(), view.size() + 1);
    return buffer;
}
