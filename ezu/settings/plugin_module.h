/// @file
/// Plug-ins loaded from modules (shared objects, DLLs) at run time.
///
/// A module defines its plug-in class and, once, EZU_PLUGIN_MODULE(Class,
/// "name", "description"), which exports the one function the loader looks
/// up. TEzuPluginModule loads the module, checks that it was built for this
/// ezu and shares this process's settings store, and creates plug-ins from
/// it. The module stays loaded while the TEzuPluginModule object or any
/// plug-in created from it lives: code is never unloaded under a live plug-in.
///
/// Modules need ezu as a shared library. A module linked to the static
/// library carries its own copy of the settings store, so what its plug-ins
/// store would never reach the program; the loader refuses such a module
/// (ezuModuleOwnCopy). In a program linked to the static library every module
/// is refused that way, since the program's store is its own copy too. A module
/// refused for its own copy stays mapped until the process ends: the objects
/// its copy made while it loaded are never released.
#ifndef EZU_SETTINGS_PLUGIN_MODULE_H
#define EZU_SETTINGS_PLUGIN_MODULE_H

#include "ezu/ezu_build.h"
#include "ezu/ezu_export.h"

#include "ezu/settings/plugin.h"
#include "ezu/settings/settings.h"
#include "ezu/strings/tstr.h"

/// The layout number of TEzuPluginModuleRecord, raised whenever its fields
/// change.
const int kEzuPluginModuleAbi = 1;

/// What a module tells about itself. The first two fields keep their place in
/// every layout, so the loader can read them from any module.
struct TEzuPluginModuleRecord {
    int size;                ///< sizeof(TEzuPluginModuleRecord) in the module's build
    int abi;                 ///< kEzuPluginModuleAbi in the module's build
    int versionMajor;        ///< the major number of the ezu version the module was built with
    int versionMinor;        ///< its minor number
    const char* name;        ///< UTF-8
    const char* description; ///< UTF-8, one line
    /// Creates a plug-in with the given parent (new), or gives null.
    TEzuPluginBase* (*create)(TEzuPluginBase* parent);
    /// The settings store as the module sees it (&ezuStringSettings).
    const void* store;
};

/// The name of the function a module exports; it takes nothing and returns
/// a pointer to the module's record.
#define EZU_PLUGIN_MODULE_SYMBOL "ezuPluginModuleRecord"

/// Defines the module's record and exports the function that gives it.
/// ClassName needs a constructor taking the parent (a TEzuPluginBase*).
#define EZU_PLUGIN_MODULE(ClassName, Name, Description)                                            \
    extern "C" EZU_MODULE_EXPORT const TEzuPluginModuleRecord* ezuPluginModuleRecord() {           \
        static const TEzuPluginModuleRecord record = {                                             \
            int(sizeof(TEzuPluginModuleRecord)),                                                   \
            kEzuPluginModuleAbi,                                                                   \
            EZU_VERSION_MAJOR,                                                                     \
            EZU_VERSION_MINOR,                                                                     \
            Name,                                                                                  \
            Description,                                                                           \
            [](TEzuPluginBase* parent) -> TEzuPluginBase* { return new ClassName(parent); },       \
            &ezuStringSettings};                                                                   \
        return &record;                                                                            \
    }

/// Why a module could not be used.
enum TEzuModuleError {
    ezuModuleOk,           ///< loaded and usable
    ezuModuleMissing,      ///< no file at the path
    ezuModuleNotModule,    ///< the system could not load the file as a module
    ezuModuleNoFactory,    ///< the module exports no record function, or it gave none
    ezuModuleIncompatible, ///< another record layout, or an ezu version this one cannot serve
    ezuModuleOwnCopy,      ///< the module carries its own copy of ezu
};

/// A module of plug-ins, loaded while this object or a plug-in from it lives.
class EZU_API TEzuPluginModule {
  public:
    /// Loads the module at `path` (the Windows view, like every ezu path) and
    /// checks its record; on any failure the module is unloaded again, and
    /// error() and errorText() say why. A module's version is accepted when
    /// its major number is this ezu's and its minor number is not higher.
    explicit TEzuPluginModule(const TStr& path);
    /// Gives up this object's hold on the module; plug-ins created from it
    /// keep it loaded until the last of them is destroyed.
    ~TEzuPluginModule();
    TEzuPluginModule(const TEzuPluginModule&) = delete;
    TEzuPluginModule& operator=(const TEzuPluginModule&) = delete;

    /// Whether the module is loaded and usable.
    bool isLoaded() const { return shared_ != nullptr; }
    /// Why the module could not be used; ezuModuleOk when loaded.
    TEzuModuleError error() const { return error_; }
    /// Empty when loaded; otherwise names the path and the reason, with the
    /// system's own words where it gave any.
    TStr errorText() const { return errorText_; }
    /// The path the module was loaded from, as given.
    TStr path() const { return path_; }
    /// The module's name from its record; empty when not loaded.
    TStr name() const { return name_; }
    /// The module's description from its record; empty when not loaded.
    TStr description() const { return description_; }

    /// A new plug-in from the module, with `parent`, destroyed by the caller
    /// with delete. What the caller gets stands in for the module's plug-in:
    /// it has the same name, description and settings branch, and destroys
    /// the module's plug-in before it lets the module go. Null when the
    /// module is not loaded or its factory gave no plug-in.
    TEzuPluginBase* create(TEzuPluginBase* parent);

    /// The plug-ins from this module that are alive.
    int pluginCount() const;

    /// The modules this loader holds loaded in the process right now.
    static int loadedCount();

    struct Shared; ///< the hold on a loaded module, shared with its plug-ins

  private:
    void fail(TEzuModuleError error, const TStr& reason);

    Shared* shared_ = nullptr;
    TEzuModuleError error_ = ezuModuleOk;
    TStr path_;
    TStr errorText_;
    TStr name_;
    TStr description_;
};

#endif
