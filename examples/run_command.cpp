// Running a command line through the system's command interpreter (cmd on
// Windows, sh elsewhere) with everything it prints captured in a TStr.
//
//     run_command                 runs "echo hello"
//     run_command dir /b          runs the words given, joined with blanks
#include "ezu/ezu.h"

int main(int argc, char**) {
    // The command-line arguments as TStr; element 0 is the program itself.
    TStr command = argc > 1 ? ezuCommandLineArg(1) : TStr("echo hello");
    for (int i = 2; i < argc; ++i)
        command += TStr(" ") + ezuCommandLineArg(i);

    // Standard error is merged into the captured output ("%1 2>&1").
    TStr output;
    const int status = ezuRunCommand(command, output);
    ezuPrint(TStr("$ %1\n").arg(command));
    ezuPrint(output);
    ezuPrint(TStr("status %1, %2 characters captured\n").arg(status).arg(output.length()));

    // The quiet flag silences ezuPrint for the rest of the program.
    ezuQuiet = true;
    ezuPrint("this line is not printed\n");
    return status == 0 ? 0 : 1;
}
