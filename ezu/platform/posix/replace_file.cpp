// Replacing a file with care: the target of a symbolic link, the permission
// bits, and removal of a half-written file when the process is interrupted.
#include "ezu/platform/platform.h"

#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ezu/platform/posix/host_path.h"

int plat_wlink_target(const EzuWChar* path, EzuWChar* buffer, int units) {
    std::string host;
    struct stat st;
    if (!posix_host_path(path, &host) || lstat(host.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return 0;
    char* resolved = realpath(host.c_str(), nullptr); // follows the whole chain
    if (!resolved)
        return 0;
    PosixWide view;
    const bool ok = posix_windows_view(resolved, &view);
    free(resolved);
    return ok ? posix_copy_wide_out(view, buffer, units) : 0;
}

int plat_wcopy_mode(const EzuWChar* from, const EzuWChar* to) {
    std::string host_from, host_to;
    struct stat st;
    if (!posix_host_path(from, &host_from) || !posix_host_path(to, &host_to) ||
        stat(host_from.c_str(), &st) != 0)
        return -1;
    return chmod(host_to.c_str(), st.st_mode & 07777) == 0 ? 0 : -1;
}

namespace {

// The host path to remove, kept where the handler can read it without
// allocating; empty when there is none.
char interrupt_path[PATH_MAX];
const int kInterruptSignals[] = {SIGINT, SIGTERM, SIGHUP};

void remove_and_end(int signal_number) {
    if (interrupt_path[0] != 0)
        unlink(interrupt_path);
    // End as the signal would have: its default action, raised again.
    ::signal(signal_number, SIG_DFL);
    raise(signal_number);
}

} // namespace

int plat_remove_on_interrupt(const EzuWChar* path, FILE*) {
    // An open file can be removed here; its stream needs no closing.
    std::string host;
    if (path && (!posix_host_path(path, &host) || host.size() >= sizeof interrupt_path))
        return -1;
    struct sigaction action;
    memset(&action, 0, sizeof action);
    sigemptyset(&action.sa_mask);
    for (int s : kInterruptSignals)
        sigaddset(&action.sa_mask, s);
    action.sa_handler = path ? remove_and_end : SIG_DFL;
    // The path changes only while the handlers cannot run.
    interrupt_path[0] = 0;
    for (int s : kInterruptSignals)
        sigaction(s, &action, nullptr);
    if (path)
        memcpy(interrupt_path, host.c_str(), host.size() + 1);
    return 0;
}
