// ezutool: converts text between encodings, runs commands, shows what the
// framework knows about the machine, works with settings, and loads
// plug-in modules.
//
// The command line is read through ezuCommandLineArg, so that arguments
// reach the subcommands as TStr with every character intact; `argc` only
// says how many there are.
#include "tool.h"

#include <stdio.h>

namespace {

// Handles the options allowed before a command's own arguments. Returns -1
// to go on, or the exit status when the program is done.
int takeOptions(ToolArgs& args) {
    while (!args.atEnd() && args.peek().charAt(0) == '-') {
        const TStr option = args.peek();
        if (option == "-q" || option == "--quiet") {
            ezuQuiet = true;
        } else if (option == "--help") {
            printUsage();
            return kExitOk;
        } else if (option == "--version") {
            const bool quiet = ezuQuiet;
            ezuQuiet = false; // asked for, so shown
            printOut(TStr("ezutool %1\n").arg(EZUTOOL_VERSION));
            ezuQuiet = quiet;
            return kExitOk;
        } else {
            return -1; // the command's own option, or an unknown one
        }
        args.take();
    }
    return -1;
}

int runNamed(const TStr& command, ToolArgs& args, int argc) {
    // Every word after "run" belongs to the command it runs.
    if (command == "run")
        return runCommand(args);
    const int status = takeOptions(args);
    if (status >= 0)
        return status;
    if (command == "convert")
        return runConvert(args);
    if (command == "info")
        return runInfo(args, argc);
    if (command == "expand")
        return runExpand(args);
    if (command == "settings")
        return runSettings(args);
    if (command == "plugin")
        return runPlugin(args);
    return usageError(TStr("unknown command %1").arg(command));
}

int run(int argc) {
    ToolArgs args(1, argc);
    const int status = takeOptions(args);
    if (status >= 0)
        return status;
    if (args.atEnd())
        return usageError("missing command");
    const TStr command = args.take();
    if (command.charAt(0) == '-')
        return usageError(TStr("unknown option %1").arg(command));
    return runNamed(command, args, argc);
}

} // namespace

int main(int argc, char**) {
    const int status = run(argc);
    // Output that did not reach its place is a failure, whatever the command
    // (a full disk, a closed pipe).
    // A command that failed has said why already.
    if ((fflush(stdout) != 0 || ferror(stdout)) && status != kExitFailed) {
        printError("cannot write the output");
        return kExitFailed;
    }
    return status;
}
