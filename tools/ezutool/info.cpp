// ezutool info: what the framework finds out about the machine and the
// process, one "name: value" line each.
#include "tool.h"

namespace {

void printLine(const TStr& name, const TStr& value) {
    printOut(TStr("%1: %2\n").arg(name).arg(value));
}

// The directory where temporary files go, with its trailing "\"; empty when
// no candidate directory accepts a new file.
TStr temporaryDirectory() {
    const TStr name = tempFileName(nullptr, false);
    if (name.isEmpty())
        return name;
    TStr directory = TEzuPath(name).parent();
    ensureTrailingBackslash(directory);
    return directory;
}

} // namespace

int runInfo(ToolArgs& args, int argc) {
    // Further words are only shown among the command-line elements below.
    while (!args.atEnd()) {
        const TStr word = args.take();
        if (word.charAt(0) == '-' && word.length() > 1)
            return usageError(TStr("unknown option %1").arg(word));
    }
    const TEzuPath currentDirectory = TEzuPath("").absolute();
    printLine("app directory", ezuAppPath());
    printLine("locale", ezuLocaleTag());
    printLine("temporary directory", temporaryDirectory());
    printLine("free space", TStr("%1 MiB").arg(ezuDiskFreeSpace(currentDirectory, 1024 * 1024)));
    // The stamp is unsigned 32-bit; as a double it prints without a sign.
    printLine("time stamp", TStr("%1").arg(double(ezuTimeStamp()), 0, 'f', 0));
    for (int i = 0; i < argc; ++i)
        printLine(TStr("argument %1").arg(i), ezuCommandLineArg(i));
    return kExitOk;
}
