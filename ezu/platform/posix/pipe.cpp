// The command pipe: commands run through /bin/sh -c, and the status is the
// command's exit code, or 128 plus the signal that ended it.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <sys/wait.h>

#include "ezu/platform/plat_rules.h"

FILE* plat_popen(const char* command, const char* mode) {
    if (!command || !plat_pipe_mode_valid(mode)) {
        errno = EINVAL;
        return nullptr;
    }
    // Text and binary pipes are alike here; "e" keeps our end of the pipe
    // out of later children.
    const char* host_mode = mode[0] == 'r' ? "re" : "we";
    return popen(command, host_mode);
}

int plat_pclose(FILE* pipe) {
    if (!pipe) {
        errno = EINVAL;
        return -1;
    }
    const int status = pclose(pipe);
    if (status == -1)
        return -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}
