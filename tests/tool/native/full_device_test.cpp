// A failed write is a failure for every command: standard output redirected
// to the host's /dev/full, which refuses every byte. Host only: Windows has
// no device that refuses writes, so the Windows leg has no such case (this
// file is not built there).
#include "../tool_test_util.h"

class NativeOnlyToolFullDevice : public ToolTest {};

TEST_F(NativeOnlyToolFullDevice, ARefusedWriteExitsWithOne) {
    const std::string small = file("small.txt");
    ASSERT_TRUE(ScratchDir::writeFile(small, "abc\n"));
    // Small output fails only at the final flush, large output already at a write.
    const std::string large = file("large.txt");
    ASSERT_TRUE(ScratchDir::writeFile(large, std::string(3 << 20, 'a')));
    for (const std::string& input : {small, large}) {
        const ToolRun result =
            run("convert --from utf8 --to utf16 " + shell_quote(input) + " >/dev/full");
        EXPECT_EQ(result.status, 1) << input;
        EXPECT_EQ(result.err, "ezutool: cannot convert " + input + ": cannot write the output\n");
    }
    for (const char* command : {"info", "run exit 3", "expand x", "settings --set a=1 --get a",
                                "convert --list", "--version"}) {
        const ToolRun result = run(std::string(command) + " >/dev/full");
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_EQ(result.err, "ezutool: cannot write the output\n") << command;
    }
}
