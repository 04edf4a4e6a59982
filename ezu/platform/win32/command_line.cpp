// The process command line, split by the shell's rules.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <windows.h>
#include <shellapi.h>

EzuWChar** plat_command_line_args(int* count) {
    if (!count) {
        errno = EINVAL;
        return nullptr;
    }
    return CommandLineToArgvW(GetCommandLineW(), count);
}

void plat_free_args(EzuWChar** args) {
    if (args)
        LocalFree(args);
}
