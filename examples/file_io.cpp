// Reading and writing a file through TEzuPath, which is a path text and a
// byte-stream device at once.
#include "ezu/ezu.h"

#include <string.h>

namespace {

// Writes a text through any device: a file, or a TStr in memory.
bool writeText(TEzuIODevice& device, const TStr& text) {
    const int bytes = int(strlen(text.ascii()));
    return device.write(text.ascii(), bytes) == bytes;
}

} // namespace

int main() {
    // A new, empty file in the first usable temporary directory.
    TEzuPath file(tempFileName("ezu", true));
    if (file.isEmpty()) {
        ezuPrint("no temporary directory accepts a new file\n");
        return 1;
    }
    // One value per arg call: a "%2" inside a path must not take the next one.
    ezuPrint(TStr("file: %1\n").arg(file));
    ezuPrint(TStr("leaf: %1\n").arg(file.leaf()));
    ezuPrint(TStr("directory: %1\n").arg(file.parent()));

    if (!file.open(ioWrite) || !writeText(file, "first line\nsecond line\n"))
        return 1;
    file.close();
    ezuPrint(TStr("written: %1 bytes\n").arg(file.size()));

    // Read it back one line at a time with getc.
    if (!file.open(ioRead))
        return 1;
    TStr line;
    int number = 0;
    for (int c = file.getc(); c != -1; c = file.getc()) {
        if (c != '\n') {
            line += char(c);
            continue;
        }
        ezuPrint(TStr("line %1: %2\n").arg(++number).arg(line));
        line = "";
    }
    file.close();

    // The same device interface over a string in memory.
    TStr memory;
    TEzuStrIODevice device(memory);
    writeText(device, "kept in memory");
    ezuPrint(TStr("memory device holds '%1'\n").arg(memory));

    const bool removed = file.remove() == 0;
    ezuPrint(TStr("removed: %1, exists now: %2\n")
                 .arg(removed ? "yes" : "no")
                 .arg(file.exists() ? "yes" : "no"));
    return removed && number == 2 ? 0 : 1;
}
