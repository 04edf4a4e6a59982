// Environment variables, the unique-name template and the executable suffix.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "ezu/platform/plat_rules.h"
#include "ezu/platform/posix/host_path.h"

namespace {

// Whether a file or directory of the 8-bit Windows-view name exists; a name
// the view cannot map does not.
bool name_taken(const char* name) {
    PosixWide wide;
    std::string host;
    if (!posix_utf8_to_wide(name, strlen(name), false, &wide) ||
        !posix_host_path(wide.c_str(), &host))
        return false;
    struct stat st;
    return lstat(host.c_str(), &st) == 0;
}

} // namespace

const char* plat_getenv(const char* name) {
    if (!name) {
        errno = EINVAL;
        return nullptr;
    }
    return getenv(name);
}

int plat_setenv(const char* name, const char* value) {
    if (!plat_env_name_valid(name)) {
        errno = EINVAL;
        return -1;
    }
    if (!value || !*value)
        return unsetenv(name);
    return setenv(name, value, 1);
}

char* plat_mktemp(char* templ) {
    if (!plat_template_valid(templ)) {
        errno = EINVAL;
        return nullptr;
    }
    // The last five X become the thread's identifier, lowest digit last.
    char* const letter = templ + strlen(templ) - 6;
    unsigned long id = (unsigned long)syscall(SYS_gettid);
    for (int i = 5; i >= 1; --i) {
        letter[i] = char('0' + id % 10);
        id /= 10;
    }
    // The first X becomes the first letter that names nothing yet.
    for (char c = 'a'; c <= 'z'; ++c) {
        *letter = c;
        if (!name_taken(templ))
            return templ;
    }
    errno = EEXIST;
    return nullptr;
}

const char* plat_exe_suffix() {
    return "";
}
