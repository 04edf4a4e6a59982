// Plug-ins loaded from modules: the full load with the shared library, the
// refusal of a module with its own copy of ezu with the static one, and
// every kind of module the loader must refuse.
#include "store_fixture.h"

#include "scratch_dir.h"
#include "test_paths.h"

#include "ezu/settings/plugin_module.h"

#include <string>

namespace {

// The text's own UTF-8 bytes: the paths may hold letters above 127.
std::string utf8Of(const TStr& text) {
    return text.buffer()->data ? text.buffer()->data : "";
}

#ifdef EZU_STATIC_DEFINE
constexpr bool kStaticEzu = true;
#else
constexpr bool kStaticEzu = false;
#endif

TStr utf8(const std::string& text) {
    TStr result("");
    result.assignUtf8(text.c_str());
    return result;
}

// A test module built beside the test program.
std::string modulePath(const char* name) {
    return ezu_test_program_dir() + "\\" + name + EZU_TEST_MODULE_SUFFIX;
}

class Host : public TEzuPluginBase {
  public:
    Host() : TEzuPluginBase(nullptr) {}
    TStr name() const override { return "pm_host"; }
    TStr description() const override { return "host"; }
};

} // namespace

EZU_STORE_TEST_SUITE(PluginModule);

// With the shared library the module's plug-ins work in the program's store,
// and the module stays loaded until the last of its plug-ins is gone, after
// the loader object. With the static library the program's store is its own
// copy, so the same module is refused as carrying another.
TEST_F(PluginModule, LoadsCreatesAndUnloadsAfterTheLastPlugin) {
    const std::string path = modulePath("ezu_test_plugin");
    if (kStaticEzu) {
        twice([&] {
            TEzuPluginModule module(utf8(path));
            EXPECT_FALSE(module.isLoaded());
            EXPECT_EQ(module.error(), ezuModuleOwnCopy) << module.errorText().ascii();
            EXPECT_EQ(module.create(nullptr), nullptr);
            EXPECT_EQ(TEzuPluginModule::loadedCount(), 0);
        });
        return;
    }
    twice([&] {
        ezuSetInt("pm_module/created", 0, false);
        const int unloads = ezuGetInt("pm_module/unloads");
        Host host;
        host.setString("theme", "dark", false);
        TEzuPluginBase* first = nullptr;
        TEzuPluginBase* second = nullptr;
        {
            TEzuPluginModule module(utf8(path));
            ASSERT_TRUE(module.isLoaded()) << module.errorText().ascii();
            EXPECT_EQ(module.error(), ezuModuleOk);
            EXPECT_TRUE(module.errorText().isEmpty());
            EXPECT_EQ(module.name(), "pm_module");
            EXPECT_EQ(module.description(), "test plug-in from a module");
            first = module.create(&host);
            second = module.create(&host);
            ASSERT_TRUE(first && second);
            EXPECT_EQ(module.pluginCount(), 2);
            EXPECT_EQ(TEzuPluginModule::loadedCount(), 1);
        }
        // The loader object is gone; the plug-ins hold the module.
        EXPECT_EQ(TEzuPluginModule::loadedCount(), 1);
        EXPECT_EQ(ezuGetInt("pm_module/unloads"), unloads);

        // The module's own code wrote to the program's store.
        EXPECT_EQ(ezuGetInt("pm_module/created"), 2);
        EXPECT_EQ(first->name(), "pm_module");
        EXPECT_EQ(first->description(), "test plug-in from a module");
        EXPECT_EQ(first->parent(), &host);
        first->setString("colour", "red", false);
        EXPECT_EQ(ezuGetString("pm_module/colour"), "red");
        EXPECT_EQ(second->getString("colour"), "red");
        EXPECT_EQ(ezuLookupSetting("theme", second, true), "dark");

        delete first;
        EXPECT_EQ(TEzuPluginModule::loadedCount(), 1);
        EXPECT_EQ(second->name(), "pm_module");
        delete second;
        EXPECT_EQ(TEzuPluginModule::loadedCount(), 0);
        EXPECT_EQ(ezuGetInt("pm_module/unloads"), unloads + 1);
    });
}

// Each refusal leaves nothing loaded and says why, naming the path.
TEST_F(PluginModule, RefusesWhatItCannotUse) {
    ScratchDir scratch;
    const std::string text = scratch.file("not a module.dll");
    ASSERT_TRUE(ScratchDir::writeFile(text, "just text\n"));
    const std::string directory = scratch.dir("a directory");

    const struct {
        std::string path;
        TEzuModuleError error;
        const char* reason; // a part of the error text, or null
    } cases[] = {
        {scratch.path() + "\\missing" EZU_TEST_MODULE_SUFFIX, ezuModuleMissing, "no such file"},
        {directory, ezuModuleMissing, "no such file"},
        {"", ezuModuleMissing, "no such file"},
        // The system's reason follows; its words differ by system.
        {text, ezuModuleNotModule, nullptr},
        {modulePath("ezu_test_no_factory"), ezuModuleNoFactory, "exports no ezuPluginModuleRecord"},
        {modulePath("ezu_test_newer_major"), ezuModuleIncompatible, "built with ezu "},
        {modulePath("ezu_test_newer_minor"), ezuModuleIncompatible, "built with ezu "},
        {modulePath("ezu_test_old_layout"), ezuModuleIncompatible, "layout"},
        {modulePath("ezu_test_foreign_store"), ezuModuleOwnCopy, "own copy of ezu"},
    };
    twice([&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.path);
            TEzuPluginModule module(utf8(c.path));
            EXPECT_FALSE(module.isLoaded());
            EXPECT_EQ(module.error(), c.error);
            const std::string message = utf8Of(module.errorText());
            const std::string prefix = "cannot use the plug-in module " + c.path + ": ";
            EXPECT_EQ(message.substr(0, prefix.size()), prefix);
            EXPECT_GT(message.size(), prefix.size()) << "no reason given";
            if (c.reason) {
                EXPECT_NE(message.find(c.reason), std::string::npos) << message;
            }
            EXPECT_EQ(module.create(nullptr), nullptr);
            EXPECT_EQ(module.pluginCount(), 0);
            EXPECT_EQ(TEzuPluginModule::loadedCount(), 0);
        }
    });
}
