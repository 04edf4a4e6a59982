// The command pipe: the run-time runs the command through the command
// interpreter, and _pclose gives its exit code. The command is UTF-8 and goes
// through the wide call, so that characters outside the code page survive.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <stdio.h>

#include <string>

#include "ezu/platform/plat_rules.h"
#include "ezu/platform/win32/utf8_text.h"

FILE* plat_popen(const char* command, const char* mode) {
    std::wstring wide_command, wide_mode;
    if (!command || !plat_pipe_mode_valid(mode) || !win_wide_from_utf8(command, &wide_command) ||
        !win_wide_from_utf8(mode, &wide_mode)) {
        errno = EINVAL;
        return nullptr;
    }
    return _wpopen(wide_command.c_str(), wide_mode.c_str());
}

int plat_pclose(FILE* pipe) {
    if (!pipe) {
        errno = EINVAL;
        return -1;
    }
    return _pclose(pipe);
}
