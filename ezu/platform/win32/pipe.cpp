// The command pipe: the run-time runs the command through the command
// interpreter, and _pclose gives its exit code.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <stdio.h>

#include "ezu/platform/plat_rules.h"

FILE* plat_popen(const char* command, const char* mode) {
    if (!command || !plat_pipe_mode_valid(mode)) {
        errno = EINVAL;
        return nullptr;
    }
    return _popen(command, mode);
}

int plat_pclose(FILE* pipe) {
    if (!pipe) {
        errno = EINVAL;
        return -1;
    }
    return _pclose(pipe);
}
