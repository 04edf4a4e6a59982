// ezutool plugin: a module's plug-in under the tool's host plug-in, its
// values read back through the store, and every refusal with status 1.
#include "tool_test_util.h"

#include "test_paths.h"

class ToolPlugin : public ToolTest {};

namespace {

#ifdef EZU_STATIC_DEFINE
constexpr bool kStaticEzu = true;
#else
constexpr bool kStaticEzu = false;
#endif

// A test module beside the test program, in the Windows view.
std::string modulePath(const char* name) {
    return ezu_test_program_dir() + "\\" + name + EZU_TEST_MODULE_SUFFIX;
}

std::string quotedPath(const std::string& path) {
    return shell_quote(shell_path(path));
}

} // namespace

// With a static ezu the tool's store is its own, so it refuses the module
// that the shared build loads.
TEST_F(ToolPlugin, SetsAndReadsBackInThePluginsBranch) {
    const std::string path = modulePath("ezu_test_plugin");
    const ToolRun result = run("plugin " + quotedPath(path) + " colour=red " +
                               shell_quote("odd key=a=%1") + " created");
    if (kStaticEzu) {
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("own copy of ezu"), std::string::npos) << result.err;
        return;
    }
    EXPECT_EQ(result.status, 0) << result.err;
    // "created" is what the plug-in's own code stored.
    EXPECT_EQ(result.out, "plug-in: pm_module\n"
                          "description: test plug-in from a module\n"
                          "pm_module/colour = red\n"
                          "pm_module/odd key = a=%1\n"
                          "pm_module/created = 1\n");
    EXPECT_EQ(result.err, "");

#ifdef EZU_GREETER_RELATIVE_PATH
    // The example module, with one default kept and one replaced.
    std::string greeter = ezu_test_program_dir() + "\\" + EZU_GREETER_RELATIVE_PATH;
    for (char& c : greeter)
        if (c == '/')
            c = '\\';
    EXPECT_EQ(run("plugin " + quotedPath(greeter) + " greeting name=reader").out,
              "plug-in: greeter\n"
              "description: Greets whoever its 'name' setting names\n"
              "greeter/greeting = Hello\n"
              "greeter/name = reader\n");
#endif
}

// The loader's refusals (checked one by one in the settings tests) reach the
// user as its message and status 1.
TEST_F(ToolPlugin, ARefusalFailsWithTheLoadersReason) {
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {scratch_.path() + "\\missing.dll", "no such file"},
        {modulePath("ezu_test_newer_major"), "it was built with ezu "},
    };
    for (const auto& c : cases) {
        const ToolRun result = run("plugin " + quotedPath(c.path) + " a=1");
        EXPECT_EQ(result.status, 1) << c.path;
        EXPECT_EQ(result.out, "") << c.path;
        EXPECT_EQ(result.err.rfind("ezutool: cannot use the plug-in module " + shell_path(c.path) +
                                       ": " + c.reason,
                                   0),
                  0u)
            << result.err;
    }
}
