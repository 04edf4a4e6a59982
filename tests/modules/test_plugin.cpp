// A plug-in module for the loader's tests. Its plug-in counts its creations
// in the settings store, and the module counts its unloads there, so that a
// test sees both from the program's side.
#include "ezu/settings/plugin_module.h"

namespace {

class TestModulePlugin : public TEzuPluginBase {
  public:
    explicit TestModulePlugin(TEzuPluginBase* parent) : TEzuPluginBase(parent) {
        setInt("created", getInt("created") + 1, false);
    }
    TStr name() const override { return "pm_module"; }
    TStr description() const override { return "test plug-in from a module"; }
};

#ifndef EZU_STATIC_DEFINE
// Runs when the module is unloaded. Only with the shared library: a module
// with its own copy of ezu may have destroyed that copy's store already.
struct UnloadCounter {
    ~UnloadCounter() { ezuSetInt("pm_module/unloads", ezuGetInt("pm_module/unloads") + 1, false); }
} unloadCounter;
#endif

} // namespace

EZU_PLUGIN_MODULE(TestModulePlugin, "pm_module", "test plug-in from a module")
