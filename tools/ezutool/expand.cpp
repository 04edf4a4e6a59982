// ezutool expand TEXT [--set KEY=VALUE]...: stores the values and prints
// TEXT with its brace markers replaced by them.
#include "tool.h"

namespace {

// Markers are looked up with their braces: 'name' is stored as '{name}'.
TStr markerKey(const TStr& key) {
    if (key.charAt(0) == '{' && key.charAt(key.length() - 1) == '}')
        return key;
    return TStr("{%1}").arg(key);
}

} // namespace

int runExpand(ToolArgs& args) {
    TStr text;
    bool haveText = false;
    while (!args.atEnd()) {
        const TStr argument = args.take();
        if (argument == "--set") {
            TStr key, value;
            if (args.atEnd() || !splitAssignment(args.take(), key, value))
                return usageError("--set needs KEY=VALUE");
            ezuSetString(markerKey(key), value, false);
        } else if (argument.charAt(0) == '-' && argument.length() > 1) {
            return usageError(TStr("unknown option %1").arg(argument));
        } else if (haveText) {
            return usageError(TStr("expand takes one TEXT, not also %1").arg(argument));
        } else {
            text = argument;
            haveText = true;
        }
    }
    if (!haveText)
        return usageError("expand needs a TEXT");
    printOut(ezuExpandSettings(text, nullptr, false) + "\n");
    return kExitOk;
}
