// TEzuPluginModule: loading a module, checking its record, and keeping it
// loaded while the loader object or any plug-in from it lives.
#include "ezu/settings/plugin_module.h"

#include <atomic>

#include "ezu/platform/platform.h"

// The module handle and the number of holds on it: one for the loader object
// while it lives, one per live plug-in. The last hold to go unloads it.
struct TEzuPluginModule::Shared {
    void* handle;
    TEzuPluginBase* (*create)(TEzuPluginBase* parent);
    std::atomic<int> holds;
};

namespace {

std::atomic<int> loaded_modules(0);

void release(TEzuPluginModule::Shared* shared) {
    if (--shared->holds > 0)
        return;
    plat_module_close(shared->handle);
    --loaded_modules;
    delete shared;
}

// Stands in for a module's plug-in. Its destructor, which is ezu's code and
// not the module's, destroys the module's plug-in first and only then lets
// the module go, so no code runs from an unloaded module.
class ModulePlugin : public TEzuPluginBase {
  public:
    ModulePlugin(TEzuPluginBase* inner, TEzuPluginBase* parent, TEzuPluginModule::Shared* shared)
        : TEzuPluginBase(parent), inner_(inner), shared_(shared) {
        ++shared_->holds;
    }
    ~ModulePlugin() override {
        delete inner_;
        release(shared_);
    }
    TStr name() const override { return inner_->name(); }
    TStr description() const override { return inner_->description(); }

  private:
    TEzuPluginBase* inner_;
    TEzuPluginModule::Shared* shared_;
};

TStr fromUtf8(const char* text) {
    TStr result("");
    if (text)
        result.assignUtf8(text);
    return result;
}

TStr versionText(int major, int minor) {
    return TStr("%1.%2").arg(major).arg(minor);
}

// Why a record cannot be used, or empty when it can.
TStr recordProblem(const TEzuPluginModuleRecord& record, TEzuModuleError* error) {
    *error = ezuModuleIncompatible;
    if (record.size < int(sizeof(TEzuPluginModuleRecord)) || record.abi != kEzuPluginModuleAbi)
        return TStr("it describes itself in layout %1, this ezu reads layout %2")
            .arg(record.abi)
            .arg(kEzuPluginModuleAbi);
    if (record.versionMajor != EZU_VERSION_MAJOR || record.versionMinor > EZU_VERSION_MINOR)
        return TStr("it was built with ezu %1, this is ezu %2")
            .arg(versionText(record.versionMajor, record.versionMinor))
            .arg(versionText(EZU_VERSION_MAJOR, EZU_VERSION_MINOR));
    if (!record.create) {
        *error = ezuModuleNoFactory;
        return "its record has no factory";
    }
    if (record.store != &ezuStringSettings) {
        *error = ezuModuleOwnCopy;
        return "it carries its own copy of ezu (it was linked to the static library, or this "
               "program was), so its settings would never reach this program";
    }
    *error = ezuModuleOk;
    return TStr();
}

typedef const TEzuPluginModuleRecord* (*RecordFunction)();

} // namespace

TEzuPluginModule::TEzuPluginModule(const TStr& path) : path_(path) {
    PlatStat info;
    if (path.isEmpty() || plat_wstat(path.utf16le(), &info) != 0 || info.mode != PLAT_MODE_FILE) {
        fail(ezuModuleMissing, "no such file");
        return;
    }
    void* handle = plat_module_open(path_.utf16le());
    if (!handle) {
        fail(ezuModuleNotModule, fromUtf8(plat_module_error()));
        return;
    }
    void* symbol = plat_module_symbol(handle, EZU_PLUGIN_MODULE_SYMBOL);
    if (!symbol) {
        fail(ezuModuleNoFactory, TStr("it exports no %1 (%2)")
                                     .arg(EZU_PLUGIN_MODULE_SYMBOL)
                                     .arg(fromUtf8(plat_module_error())));
        plat_module_close(handle);
        return;
    }
    const TEzuPluginModuleRecord* record = reinterpret_cast<RecordFunction>(symbol)();
    TEzuModuleError error = ezuModuleNoFactory;
    const TStr problem =
        record ? recordProblem(*record, &error) : TStr("its record function gave none");
    if (error != ezuModuleOk) {
        fail(error, problem);
        // A module with its own copy of ezu has made that copy's
        // process-wide objects while it loaded, and they are never released:
        // it stays mapped, so that their memory stays reachable instead of
        // being stranded by the unload.
        if (error != ezuModuleOwnCopy)
            plat_module_close(handle);
        return;
    }
    // Copied: the record's texts go with the module.
    name_ = fromUtf8(record->name);
    description_ = fromUtf8(record->description);
    shared_ = new Shared{handle, record->create, {1}};
    ++loaded_modules;
}

TEzuPluginModule::~TEzuPluginModule() {
    if (shared_)
        release(shared_);
}

void TEzuPluginModule::fail(TEzuModuleError error, const TStr& reason) {
    error_ = error;
    errorText_ = TStr("cannot use the plug-in module ");
    errorText_ += path_;
    errorText_ += ": ";
    errorText_ += reason;
}

TEzuPluginBase* TEzuPluginModule::create(TEzuPluginBase* parent) {
    if (!shared_)
        return nullptr;
    TEzuPluginBase* inner = shared_->create(parent);
    return inner ? new ModulePlugin(inner, parent, shared_) : nullptr;
}

int TEzuPluginModule::pluginCount() const {
    return shared_ ? shared_->holds - 1 : 0;
}

int TEzuPluginModule::loadedCount() {
    return loaded_modules;
}
