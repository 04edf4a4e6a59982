// Help text and error messages.
#include "tool.h"

#include <stdio.h>

namespace {

const char* const kShortUsage = "usage: ezutool [-q] convert|run|info|expand|settings ...\n"
                                "Try 'ezutool --help' for more information.\n";

const char* const kHelp =
    "usage: ezutool [-q] COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  convert --from ENC --to ENC [INPUT [OUTPUT]]\n"
    "      Converts a text between encodings: ascii, utf8, utf16 (with byte-order\n"
    "      mark), utf16be, utf16le, utf32 (machine order), or their numbers 0 to 5.\n"
    "      Reads standard input without INPUT and writes standard output without\n"
    "      OUTPUT. The text ends at its first NUL character. OUTPUT is replaced\n"
    "      only when the whole input converted; rejected input leaves it as it was.\n"
    "  run COMMAND...\n"
    "      Runs the command through the command interpreter, prints what it wrote\n"
    "      (standard output and standard error) and \"status: N\", and exits with\n"
    "      N (255 when N lies outside 0 to 255).\n"
    "  info [WORD...]\n"
    "      Prints the application directory, locale, temporary directory, free\n"
    "      space of the current directory, time stamp and every element of the\n"
    "      command line (the WORDs show how it was split).\n"
    "  expand TEXT [--set KEY=VALUE]...\n"
    "      Stores each value under the key \"{KEY}\" and prints TEXT with its\n"
    "      {KEY} markers replaced.\n"
    "  settings OPERATION...\n"
    "      Runs the operations in order: --set KEY=VALUE, --set-int KEY=N,\n"
    "      --set-double KEY=X, --set-list KEY=a,b,c, --get KEY, --get-int KEY,\n"
    "      --get-double KEY, --get-list KEY. Each get prints \"KEY = value\".\n"
    "\n"
    "Options (before the command's arguments):\n"
    "  -q, --quiet   print no messages; errors still go to standard error\n"
    "  --help        show this help\n"
    "  --version     show the version\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 usage error.\n";

} // namespace

void printError(const TStr& text) {
    fputs(TStr("ezutool: %1\n").arg(text).ascii(), stderr);
}

int usageError(const TStr& text) {
    printError(text);
    fputs(kShortUsage, stderr);
    return kExitUsage;
}

void printUsage() {
    ezuPrint(kHelp);
}
