#include "ezu/platform/posix/host_path.h"

#include <errno.h>
#include <string.h>

#include "ezu/platform/plat_rules.h"

namespace {

bool is_separator(EzuWChar c) {
    return c == '\\' || c == '/';
}

} // namespace

bool posix_is_bare_drive(const EzuWChar* path) {
    return path && plat_is_drive_letter(path[0]) && path[1] == ':' && path[2] == 0;
}

bool posix_host_path(const EzuWChar* path, std::string* host) {
    if (!path || !*path) {
        errno = ENOENT;
        return false;
    }
    const EzuWChar* rest = path;
    if (plat_is_drive_letter(rest[0]) && rest[1] == ':') {
        if (rest[0] != 'C' && rest[0] != 'c') {
            errno = ENOENT; // no such volume
            return false;
        }
        rest += 2;
    } else if (is_separator(rest[0]) && is_separator(rest[1])) {
        errno = ENOENT; // network shares and device paths do not exist here
        return false;
    }
    for (const EzuWChar* p = rest; *p; ++p) {
        if (plat_char_forbidden(*p) || *p == ':') {
            errno = EINVAL;
            return false;
        }
    }
    if (!posix_wide_to_utf8(rest, host))
        return false;
    for (char& c : *host)
        if (c == '\\')
            c = '/';
    // "C:" alone is the current directory of drive C:, which is the process's.
    if (host->empty())
        *host = ".";
    return true;
}

bool posix_windows_view(const char* host, PosixWide* view) {
    if (!host || host[0] != '/') {
        errno = EINVAL;
        return false;
    }
    PosixWide tail;
    if (!posix_utf8_to_wide(host, strlen(host), true, &tail))
        return false;
    for (EzuWChar& c : tail)
        if (c == '/')
            c = '\\';
    view->assign(1, EzuWChar('C'));
    view->push_back(':');
    view->append(tail);
    return true;
}
