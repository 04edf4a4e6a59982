#include <string>

#include "ezu/ezu.h"
#include "ezu_test.h"
#include "host_support.h"

namespace {

// Runs the command written for this system and returns its captured output.
int run(const std::string& posix, const std::string& windows, std::string& output) {
    TStr captured("stale text");
    const int status = ezuRunCommand(hostCommand(kTestingOnWindows ? windows : posix), captured);
    output = hostUtf8(captured);
    return status;
}

// The text the runner makes of the "bulk" scene's `count` bytes: the child's
// zero bytes and bytes above 127 each become "?".
std::string bulkText(long count) {
    std::string text;
    text.reserve(size_t(count));
    for (long k = 0; k < count; ++k)
        text += k % 101 == 100 ? '\n' : k % 997 == 0 || k % 499 == 0 ? '?' : char('a' + k % 26);
    return text;
}

std::string printDemo(const char* scene) {
    return hostShellPath(hostHelperPath("ezu_print_demo")) + " " + scene;
}

} // namespace

EZU_TEST_SUITE(HostCommand);

TEST_F(HostCommand, CapturesStandardOutputAndError) {
    std::string output;
    // cmd keeps the blank before the appended redirection in echo's text, so
    // the Windows commands do not end in echo.
    EXPECT_EQ(run("echo hello", "echo hello& exit 0", output), 0);
    EXPECT_EQ(output, "hello\n");

    // The merge of standard error applies to the whole command, so the part
    // that writes to standard error runs as one group.
    EXPECT_EQ(run("{ echo oops 1>&2; }", "cmd /c \"echo oops>&2& exit 0\"", output), 0);
    EXPECT_EQ(output, "oops\n");

    EXPECT_EQ(run("{ echo out; echo err 1>&2; echo end; }",
                  "cmd /c \"echo out& echo err>&2& echo end& exit 0\"", output),
              0);
    EXPECT_EQ(output, "out\nerr\nend\n");
}

TEST_F(HostCommand, LongLinesArriveWhole) {
    const std::string line(300, 'x');
    const std::string tail(130, 'y');
    std::string output;
    EXPECT_EQ(run("echo " + line + "; echo " + tail, "echo " + line + "& echo " + tail + "& exit 0",
                  output),
              0);
    EXPECT_EQ(output, line + "\n" + tail + "\n");
}

TEST_F(HostCommand, ReturnsTheExitStatus) {
    std::string output;
    EXPECT_EQ(run("exit 0", "exit 0", output), 0);
    EXPECT_EQ(output, "");
    EXPECT_EQ(run("exit 3", "exit 3", output), 3);
    EXPECT_EQ(output, "");
    EXPECT_EQ(run("echo before; exit 5", "echo before& exit 5", output), 5);
    EXPECT_EQ(output, "before\n");
}

TEST_F(HostCommand, UnknownCommandFailsWithItsMessageCaptured) {
    std::string output;
    EXPECT_NE(run("ezu_no_such_command_42", "ezu_no_such_command_42", output), 0);
    EXPECT_FALSE(output.empty());
}

TEST_F(HostCommand, EveryByteKeepsItsPlaceInTheText) {
    // A zero byte cannot stand in zero-terminated text: it becomes "?", like
    // a byte above 127, and nothing after it is lost. The bulk case (a few
    // MiB, zero bytes and bytes above 127 spread over many reads) checks that
    // the gathered text is whole and in order.
    const long bulk = 3L << 20;
    const struct {
        std::string scene;
        std::string expected;
    } cases[] = {
        {"raw", "a?b?\n"},
        {"zero", "ab?cd\nef\n"},
        {"bulk " + std::to_string(bulk), bulkText(bulk)},
    };
    for (const auto& c : cases) {
        std::string output;
        EXPECT_EQ(run(printDemo(c.scene.c_str()), printDemo(c.scene.c_str()), output), 0)
            << c.scene;
        EXPECT_EQ(output.size(), c.expected.size()) << c.scene;
        EXPECT_TRUE(output == c.expected) << c.scene;
    }
}

TEST_F(HostCommand, CommandNamingANonAsciiFileRuns) {
    ScratchDir scratch;
    const std::string file = makeScratchFile(scratch, "caf\xC3\xA9 \xC3\xBC.txt", "inside\n");
    std::string output;
    EXPECT_EQ(run("cat " + hostShellPath(file), "type \"" + file + "\"", output), 0);
    EXPECT_EQ(output, "inside\n");
}

TEST_F(HostCommand, PrintWritesTextVerbatim) {
    std::string output;
    EXPECT_EQ(run(printDemo("literals"), printDemo("literals"), output), 0);
    EXPECT_EQ(output, "50%d %s %1 100%\nno line end, then the end\ncaf?\n");
}

TEST_F(HostCommand, QuietFlagSilencesPrint) {
    EXPECT_FALSE(ezuQuiet);
    std::string output;
    EXPECT_EQ(run(printDemo("quiet"), printDemo("quiet"), output), 0);
    EXPECT_EQ(output, "shown\n");
}

TEST_F(HostCommand, PrintKeepsItsPlaceAmongStandardError) {
    std::string output;
    EXPECT_EQ(run(printDemo("interleaved"), printDemo("interleaved"), output), 0);
    EXPECT_EQ(output, "first\nsecond\nthird\nfourth\n");
}

TEST_F(HostCommand, PathExists) {
    ScratchDir scratch;
    const std::string file = makeScratchFile(scratch, "present.txt", "x");
    const std::string dir = makeScratchDir(scratch, "sub");
    EXPECT_TRUE(ezuPathExists(hostText(file)));
    EXPECT_TRUE(ezuPathExists(hostText(dir)));
    EXPECT_TRUE(ezuPathExists(hostText(scratch.path())));
    EXPECT_FALSE(ezuPathExists(hostText(inScratch(scratch, "missing.txt"))));
    EXPECT_FALSE(ezuPathExists(hostText(inScratch(scratch, "sub\\missing\\deeper"))));
    EXPECT_FALSE(ezuPathExists(hostText(inScratch(scratch, "bad?name"))));
}
