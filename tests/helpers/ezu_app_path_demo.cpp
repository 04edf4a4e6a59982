// Runs ezuAppPath under a real command line and prints what it traced and
// returned. Arguments are steps done in order:
//   call            print "result: <ezuAppPath()>"
//   cd <dir>        change the current directory
//   rename <name>   rename this executable (argv[0]) to <name>, a host path
// Trace messages are printed as "trace: <message>" as they arrive.
#include <stdio.h>
#include <string.h>

#include "ezu/ezu.h"
#include "ezu/platform/platform.h"

namespace {

void printLine(const char* label, const TStr& text) {
    fputs(label, stdout);
    fputs(text.ascii(), stdout);
    fputs("\n", stdout);
}

void printTrace(const TStr& message) {
    printLine("trace: ", message);
}

// Element `i` of the command line as the system gives it, so that a
// directory keeps every character of its name.
bool changeDirectory(int i) {
    int count = 0;
    EzuWChar** args = plat_command_line_args(&count);
    const bool changed = args != nullptr && i < count && plat_wchdir(args[i]) == 0;
    plat_free_args(args);
    return changed;
}

} // namespace

int main(int argc, char** argv) {
    ezuSetAppPathTraceHook(printTrace);
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "call") == 0) {
            printLine("result: ", ezuAppPath());
        } else if (strcmp(argv[i], "cd") == 0 && i + 1 < argc) {
            if (!changeDirectory(++i))
                return 3;
        } else if (strcmp(argv[i], "rename") == 0 && i + 1 < argc) {
            if (rename(argv[0], argv[++i]) != 0)
                return 4;
        } else {
            return 2;
        }
    }
    return 0;
}
