#include "ezu/host/command.h"

#include <stdio.h>

#include "ezu/io/ezupath.h"

bool ezuQuiet = false;

int ezuRunCommand(TStr command, TStr& output) {
    output = ezuEmptyStr;
    const TStr line = TStr("%1 2>&1").arg(command);
    FILE* pipe = plat_popen(line.ascii(), "r");
    if (pipe == nullptr)
        return 0;
    // One read brings at most 127 characters; longer lines arrive in pieces
    // that are appended in order. A read error ends the loop like the end.
    char chunk[128];
    while (fgets(chunk, sizeof chunk, pipe) != nullptr)
        output += TStr(chunk);
    return plat_pclose(pipe);
}

bool ezuPathExists(TStr path) {
    TEzuPath candidate(path);
    return candidate.exists();
}

void ezuPrint(TStr text) {
    if (ezuQuiet)
        return;
    const char* bytes = text.ascii();
    if (bytes == nullptr)
        return;
    fputs(bytes, stdout);
    // Flushed at once, so that messages keep their place among the output of
    // child processes writing to the same console.
    fflush(stdout);
}
