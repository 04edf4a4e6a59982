// ezutool settings OPERATION...: typed round trips through the settings
// store, run in the order given.
#include "tool.h"

namespace {

// User texts are joined with "+", not substituted with arg: a key holding
// "%1" must not receive the value.
void printValue(const TStr& key, const TStr& value) {
    printOut(key + " = " + value + "\n");
}

int setText(const TStr& key, const TStr& value) {
    ezuSetString(key, value, true);
    return kExitOk;
}

int setInt(const TStr& key, const TStr& value) {
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        return usageError(TStr("not an integer: %1").arg(value));
    ezuSetInt(key, number, true);
    return kExitOk;
}

int setDouble(const TStr& key, const TStr& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return usageError(TStr("not a number: %1").arg(value));
    ezuSetDouble(key, number, true);
    return kExitOk;
}

int setList(const TStr& key, const TStr& value) {
    ezuSetStringList(key, TEzuStrList::split(',', value), true);
    return kExitOk;
}

int getText(const TStr& key, const TStr&) {
    printValue(key, ezuGetString(key));
    return kExitOk;
}

int getInt(const TStr& key, const TStr&) {
    printValue(key, TStr("%1").arg(ezuGetInt(key)));
    return kExitOk;
}

int getDouble(const TStr& key, const TStr&) {
    printValue(key, TStr("%1").arg(ezuGetDouble(key)));
    return kExitOk;
}

int getList(const TStr& key, const TStr&) {
    const TEzuStrList list = ezuGetStringList(key);
    for (int i = 0; i < list.size(); ++i)
        printValue(key + TStr("[%1]").arg(i), *list.at(i));
    return kExitOk;
}

// An operation: its option, whether its argument is KEY=VALUE or just KEY,
// and what it does.
struct Operation {
    const char* option;
    bool assigns;
    int (*apply)(const TStr& key, const TStr& value);
};

const Operation kOperations[] = {
    {"--set", true, setText},           {"--set-int", true, setInt},
    {"--set-double", true, setDouble},  {"--set-list", true, setList},
    {"--get", false, getText},          {"--get-int", false, getInt},
    {"--get-double", false, getDouble}, {"--get-list", false, getList},
};

const Operation* findOperation(const TStr& option) {
    for (const Operation& operation : kOperations)
        if (option == operation.option)
            return &operation;
    return nullptr;
}

} // namespace

int runSettings(ToolArgs& args) {
    if (args.atEnd())
        return usageError("settings needs an operation such as --set KEY=VALUE or --get KEY");
    while (!args.atEnd()) {
        const TStr option = args.take();
        const Operation* operation = findOperation(option);
        if (!operation)
            return usageError(TStr("unknown settings operation %1").arg(option));
        if (args.atEnd())
            return usageError(
                TStr("%1 needs %2").arg(option).arg(operation->assigns ? "KEY=VALUE" : "KEY"));
        const TStr argument = args.take();
        TStr key = argument, value;
        if (operation->assigns && !splitAssignment(argument, key, value))
            return usageError(TStr("%1 needs KEY=VALUE").arg(option));
        const int status = operation->apply(key, value);
        if (status != kExitOk)
            return status;
    }
    return kExitOk;
}
