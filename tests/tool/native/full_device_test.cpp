// A failed write is a failure: standard output redirected to the host's
// /dev/full, which refuses every byte. Host only: Windows has no such device.
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
}
