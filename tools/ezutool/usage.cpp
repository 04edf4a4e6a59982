// Help text and messages.
#include "tool.h"

#include <errno.h>
#include <string.h>

namespace {

const char* const kShortUsage = "usage: ezutool [-q] convert|run|info|expand|settings|plugin ...\n"
                                "Try 'ezutool --help' for more information.\n";

const char* const kHelp =
    "usage: ezutool [-q] COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  convert -f ENC -t ENC [--lenient] [INPUT [OUTPUT]]\n"
    "      Converts a text between encodings (convert --list shows the names:\n"
    "      ASCII, UTF-8, UTF-16 with byte-order mark, UTF-16BE, UTF-16LE, UTF-32 in\n"
    "      the machine's order; in any case, with or without \"-\", or 0 to 5).\n"
    "      -f/--from ENC, -t/--to ENC, also --from=ENC and --to=ENC; \"-\" or no\n"
    "      INPUT reads standard input, \"-\" or no OUTPUT writes standard output;\n"
    "      \"--\" ends the options. Ill-formed input is refused with the fault and\n"
    "      its byte offset (from 0); --lenient reads it as the framework's decoder\n"
    "      does instead. Characters the ASCII target cannot hold become \"?\". The\n"
    "      text ends at its first NUL character (a note says so when more\n"
    "      follows). OUTPUT is replaced only when the whole input converted: a\n"
    "      new file beside it takes its place (a symbolic link's target is\n"
    "      replaced, and the permission bits stay).\n"
    "  run COMMAND...\n"
    "      Joins the words (all of them, options too) into one command line and\n"
    "      runs it through the command interpreter with its standard error\n"
    "      merged into its standard output (\"2>&1\" is appended), prints what it\n"
    "      wrote (bytes above 127 as \"?\") and \"status: N\", and exits with N\n"
    "      (255 when N lies outside 0 to 255).\n"
    "  info [WORD...]\n"
    "      Prints the application directory, locale, temporary directory, free\n"
    "      space of the current directory in MiB, the time stamp (the low 32 bits\n"
    "      of the UTC time in 100-nanosecond units, so it wraps every 7 minutes)\n"
    "      and every element of the command line (the WORDs show how it was\n"
    "      split).\n"
    "  expand TEXT [--set KEY=VALUE]...\n"
    "      Stores each value under the key \"{KEY}\" and prints TEXT with its\n"
    "      {KEY} markers replaced.\n"
    "  settings OPERATION...\n"
    "      Runs the operations in order: --set KEY=VALUE, --set-int KEY=N,\n"
    "      --set-double KEY=X, --set-list KEY=a,b,c, --get KEY, --get-int KEY,\n"
    "      --get-double KEY, --get-list KEY. Each get prints \"KEY = value\".\n"
    "  plugin PATH [KEY=VALUE | KEY]...\n"
    "      Loads the plug-in module PATH, prints its name and description,\n"
    "      creates its plug-in, stores each VALUE under KEY in the plug-in's\n"
    "      branch (a bare KEY is only read) and prints \"NAME/KEY = value\" with\n"
    "      the value the program reads back there. Modules work with a shared\n"
    "      build of ezu. A file that is missing or no module, a module without\n"
    "      ezu's record, one built for another ezu version, and one with its own\n"
    "      copy of ezu (as every module is when ezutool itself has a static ezu)\n"
    "      fail with status 1.\n"
    "\n"
    "Options (before the command's arguments):\n"
    "  -q, --quiet   print no messages or results; errors still go to standard\n"
    "                error, and --help and --version still print\n"
    "  --help        show this help\n"
    "  --version     show the version\n"
    "\n"
    "Exit status: 0 success, 1 failure (also when the output cannot be written),\n"
    "2 usage error.\n";

} // namespace

void printOut(const TStr& text) {
    ezuPrintText(text);
}

void printError(const TStr& text) {
    ezuPrintText(TStr("ezutool: %1\n").arg(text), ezuStandardError);
}

void printNote(const TStr& text) {
    if (!ezuQuiet)
        printError(TStr("note: %1").arg(text));
}

int usageError(const TStr& text) {
    printError(text);
    ezuPrintText(kShortUsage, ezuStandardError);
    return kExitUsage;
}

void printUsage() {
    const bool quiet = ezuQuiet;
    ezuQuiet = false;
    printOut(kHelp);
    ezuQuiet = quiet;
}

TStr systemReason() {
    return errno != 0 ? TStr(strerror(errno)) : TStr("failed");
}
