// Modules that break one rule each, picked by a definition: no record
// function, a record from a newer ezu or an older layout, or a record whose
// store is not the program's (as a module with its own copy of ezu gives).
// None of them uses ezu itself, so none carries a copy of it.
#include "ezu/settings/plugin_module.h"

#ifdef BROKEN_NO_FACTORY
extern "C" EZU_MODULE_EXPORT int ezuSomethingElse() {
    return 1;
}
#else
namespace {
#ifdef BROKEN_STORE
int foreignStore;
#endif
TEzuPluginBase* noPlugin(TEzuPluginBase*) {
    return nullptr;
}
#ifndef BROKEN_MAJOR
#define BROKEN_MAJOR 0
#endif
#ifndef BROKEN_MINOR
#define BROKEN_MINOR 0
#endif
#ifndef BROKEN_ABI
#define BROKEN_ABI 0
#endif
} // namespace

extern "C" EZU_MODULE_EXPORT const TEzuPluginModuleRecord* ezuPluginModuleRecord() {
    static const TEzuPluginModuleRecord record = {
        int(sizeof(TEzuPluginModuleRecord)),
        kEzuPluginModuleAbi + BROKEN_ABI,
        EZU_VERSION_MAJOR + BROKEN_MAJOR,
        EZU_VERSION_MINOR + BROKEN_MINOR,
        "broken",
        "a module the loader must refuse",
        noPlugin,
#ifdef BROKEN_STORE
        &foreignStore,
#else
        nullptr, // never read: the version is refused first
#endif
    };
    return &record;
}
#endif
