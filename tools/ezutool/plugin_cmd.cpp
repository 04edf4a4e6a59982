// ezutool plugin PATH [KEY=VALUE | KEY]...: loads a plug-in module, creates
// its plug-in under a host plug-in, stores each value in the plug-in's
// branch and shows what the program reads back there through the store
// itself (a bare KEY is only read, to show what the plug-in set).
#include "tool.h"

namespace {

// The plug-in that a module's plug-in is created under.
class ToolHost : public TEzuPluginBase {
  public:
    ToolHost() : TEzuPluginBase(nullptr) {}
    TStr name() const override { return "ezutool"; }
    TStr description() const override { return "the program that loaded the module"; }
};

} // namespace

int runPlugin(ToolArgs& args) {
    if (args.atEnd())
        return usageError("plugin needs a module PATH");
    const TStr path = args.take();
    // Every assignment is checked before the module is loaded.
    TEzuStrList keys, values;
    TEzuStrList assigned; // "=" for KEY=VALUE, "" for a bare KEY
    while (!args.atEnd()) {
        const TStr argument = args.take();
        TStr key(argument), value("");
        const bool assigns = argument.find('=') >= 0;
        if (key.isEmpty() || (assigns && !splitAssignment(argument, key, value)))
            return usageError("plugin takes KEY=VALUE or KEY after the PATH");
        keys.append(key);
        values.append(value);
        assigned.append(assigns ? "=" : "");
    }

    TEzuPluginModule module(path);
    if (!module.isLoaded()) {
        printError(module.errorText());
        return kExitFailed;
    }
    ToolHost host;
    TEzuPluginBase* plugin = module.create(&host);
    if (!plugin) {
        printError(TStr("the module %1 gave no plug-in").arg(path));
        return kExitFailed;
    }
    // Texts are joined with "+": a name or value holding "%1" stays as it is.
    printOut(TStr("plug-in: ") + module.name() + "\n");
    printOut(TStr("description: ") + module.description() + "\n");
    const TStr branch = plugin->name();
    for (int i = 0; i < keys.size(); ++i) {
        if (!assigned.at(i)->isEmpty())
            plugin->setString(*keys.at(i), *values.at(i), false);
        const TStr fullKey = branch + "/" + *keys.at(i);
        printOut(fullKey + " = " + ezuGetString(fullKey) + "\n");
    }
    delete plugin;
    return kExitOk;
}
