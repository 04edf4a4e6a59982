// Modules through the platform layer: a module beside the test program is
// opened, its symbols found or not, and closed; a bare name is never looked
// up along the system's search path.
#include "ezu_test.h"
#include "test_paths.h"

#include "ezu/platform/platform.h"

#include <string>

EZU_TEST_SUITE(PlatformModule);

TEST_F(PlatformModule, OpensFindsClosesAndKeepsToTheGivenPath) {
    const EzuTestWide path =
        ezu_test_wide(ezu_test_program_dir() + "\\ezu_test_no_factory" EZU_TEST_MODULE_SUFFIX);
    void* module = plat_module_open(path.c_str());
    ASSERT_NE(module, nullptr) << plat_module_error();
    EXPECT_NE(plat_module_symbol(module, "ezuSomethingElse"), nullptr);
    EXPECT_EQ(plat_module_symbol(module, "ezuPluginModuleRecord"), nullptr);
    EXPECT_STRNE(plat_module_error(), "");
    EXPECT_EQ(plat_module_close(module), 0);

    // A library every process of the system has loaded, named without a
    // directory: only the current directory is looked at, and it is not there.
    const char16_t* system_library = kTestingOnWindows ? u"kernel32.dll" : u"libc.so.6";
    EXPECT_EQ(plat_module_open(ezu_test_wide(system_library).c_str()), nullptr);
    EXPECT_STRNE(plat_module_error(), "");

    EXPECT_EQ(plat_module_open(nullptr), nullptr);
    EXPECT_EQ(plat_module_open(ezu_test_wide(u"").c_str()), nullptr);
    EXPECT_EQ(plat_module_symbol(nullptr, "x"), nullptr);
    EXPECT_EQ(plat_module_close(nullptr), -1);
    EXPECT_STRNE(plat_module_error(), "");
}
