// ezutool run COMMAND...: runs a command line and passes on its output and
// its status.
#include "tool.h"

int runCommand(ToolArgs& args) {
    if (args.atEnd())
        return usageError("run needs a command");
    TStr command = args.take();
    while (!args.atEnd()) {
        command += " ";
        command += args.take();
    }
    TStr output;
    const int status = ezuRunCommand(command, output);
    printOut(output);
    printOut(TStr("status: %1\n").arg(status));
    // An exit status holds 0 to 255 on POSIX systems; a status outside that
    // range must not read as success there.
    return status >= 0 && status <= 255 ? status : 255;
}
