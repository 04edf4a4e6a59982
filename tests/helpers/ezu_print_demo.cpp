// Console output through ezuPrint, for the tests that capture a child's
// standard output. The first argument picks the scene.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "ezu/ezu.h"

namespace {

// Literal percent signs and placeholders, and two prints that form one line.
void printLiterals() {
    ezuPrint("50%d %s %1 100%\n");
    ezuPrint("no line end, ");
    ezuPrint("then the end\n");
    const char utf8[] = {'c', 'a', 'f', '\xC3', '\xA9', '\n', 0};
    ezuPrint(TStr(utf8, static_cast<int>(strlen(utf8)), 1));
}

// Only the text printed while the flag is clear may appear.
void printQuiet() {
    ezuQuiet = true;
    ezuPrint("hidden one\n");
    ezuPrint("hidden two\n");
    ezuQuiet = false;
    ezuPrint("shown\n");
    ezuQuiet = true;
    ezuPrint("hidden three\n");
}

// Another writer on the same pipe, flushing what it writes (the Windows
// run-time buffers standard error too when it is not a console). ezuPrint's
// text keeps its place among it only if ezuPrint flushes at once.
void writeOther(const char* text) {
    fputs(text, stderr);
    fflush(stderr);
}

void printInterleaved() {
    ezuPrint("first\n");
    writeOther("second\n");
    ezuPrint("third\n");
    writeOther("fourth\n");
}

// Bytes above 127 for the command runner's replacement rule.
void printRawBytes() {
    const unsigned char bytes[] = {'a', 0xE9, 'b', 0xFF, '\n'};
    fwrite(bytes, 1, sizeof bytes, stdout);
}

// A zero byte inside a line, for the runner's rule that keeps the text
// after it.
void printZeroByte() {
    const char bytes[] = {'a', 'b', 0, 'c', 'd', '\n', 'e', 'f', '\n'};
    fwrite(bytes, 1, sizeof bytes, stdout);
}

// `count` bytes of the pattern the command tests rebuild: lines of letters
// with a zero byte and a byte above 127 now and then.
void printBulk(long count) {
    for (long k = 0; k < count; ++k) {
        const int byte = k % 101 == 100 ? '\n'
                         : k % 997 == 0 ? 0
                         : k % 499 == 0 ? 0xE9
                                        : 'a' + k % 26;
        putchar(byte);
    }
}

} // namespace

int main(int argc, char** argv) {
    const char* scene = argc > 1 ? argv[1] : "";
    if (strcmp(scene, "literals") == 0)
        printLiterals();
    else if (strcmp(scene, "quiet") == 0)
        printQuiet();
    else if (strcmp(scene, "interleaved") == 0)
        printInterleaved();
    else if (strcmp(scene, "raw") == 0)
        printRawBytes();
    else if (strcmp(scene, "zero") == 0)
        printZeroByte();
    else if (strcmp(scene, "bulk") == 0 && argc > 2)
        printBulk(atol(argv[2]));
    else
        return 2;
    return 0;
}
