// The command pipe: output capture and exit statuses. Commands are written
// for the system's interpreter: cmd under Windows, sh under POSIX.
#include "platform_test_util.h"

EZU_TEST_SUITE(PlatformPipe);

namespace {

struct RunResult {
    std::string output;
    int status;
};

// Runs `command` through a read pipe; status -2 when it could not start.
RunResult run(const std::string& command) {
    FILE* pipe = plat_popen(command.c_str(), "r");
    if (!pipe)
        return {"", -2};
    RunResult result;
    result.output = read_all(pipe);
    result.status = plat_pclose(pipe);
    return result;
}

// The text without trailing blanks before each line end (cmd's echo keeps
// the blank in front of a redirection).
std::string trim_line_ends(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            while (!out.empty() && (out.back() == ' ' || out.back() == '\r'))
                out.pop_back();
        out += c;
    }
    return out;
}

} // namespace

TEST_F(PlatformPipe, CapturesStandardOutputAndTheExitStatus) {
    const RunResult hello = run("echo hello");
    EXPECT_EQ(hello.output, "hello\n");
    EXPECT_EQ(hello.status, 0);

    const RunResult silent = run("exit 0");
    EXPECT_EQ(silent.output, "");
    EXPECT_EQ(silent.status, 0);

    const RunResult three = run(kTestingOnWindows ? "echo before& exit 3" : "echo before; exit 3");
    EXPECT_EQ(trim_line_ends(three.output), "before\n");
    EXPECT_EQ(three.status, 3);
}

TEST_F(PlatformPipe, StandardErrorArrivesWhenTheCommandMergesIt) {
    // The inner interpreter writes to standard error; the outer one merges it.
    const std::string command = kTestingOnWindows ? "cmd /c \"echo out& echo err>&2\" 2>&1"
                                                  : "sh -c 'echo out; echo err>&2' 2>&1";
    const RunResult merged = run(command);
    EXPECT_EQ(trim_line_ends(merged.output), "out\nerr\n");
    EXPECT_EQ(merged.status, 0);

    // Without the merge only standard output is captured (standard error
    // goes to the null device here, to keep the test's own output clean).
    const RunResult split = run(kTestingOnWindows ? "cmd /c \"echo out& echo err>&2\" 2>NUL"
                                                  : "sh -c 'echo out; echo err>&2' 2>/dev/null");
    EXPECT_EQ(trim_line_ends(split.output), "out\n");
}

TEST_F(PlatformPipe, ASignalGivesOneHundredTwentyEightPlusItsNumber) {
    // POSIX: the shell kills itself with SIGKILL (9). Windows has no signals;
    // there the same status comes from an exit code.
    const RunResult killed = run(kTestingOnWindows ? "exit 137" : "kill -KILL $$");
    EXPECT_EQ(killed.status, 137);
}

class PlatformWritePipe : public PlatformScratchTest {};

TEST_F(PlatformWritePipe, FeedsTheCommandsStandardInput) {
    // The command copies its input into a file of the scratch directory.
    const WStr saved = current_dir_wide();
    const WStr copy = file(u"piped.txt");
    ASSERT_EQ(plat_wchdir(scratch_.c_str()), 0);
    FILE* pipe = plat_popen(kTestingOnWindows ? "more > piped.txt" : "cat > piped.txt", "w");
    EXPECT_NE(pipe, nullptr);
    if (pipe) {
        fputs("line one\nline two\n", pipe);
        EXPECT_EQ(plat_pclose(pipe), 0);
    }
    ASSERT_EQ(plat_wchdir(saved.c_str()), 0);

    FILE* in = plat_wfopen(copy.c_str(), W(u"rb").c_str());
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(trim_line_ends(read_all(in)), "line one\nline two\n");
    fclose(in);
}

TEST_F(PlatformPipe, InvalidModesAndNullArgumentsFail) {
    for (const char* mode : {"", "x", "rw", "r+", "rbt", "wbb", "a"})
        EXPECT_EQ(plat_popen("echo x", mode), nullptr) << "'" << mode << "'";
    EXPECT_EQ(plat_popen(nullptr, "r"), nullptr);
    EXPECT_EQ(plat_popen("echo x", nullptr), nullptr);
    EXPECT_EQ(plat_pclose(nullptr), -1);

    for (const char* mode : {"rt", "rb"}) {
        const RunResult ok = [&] {
            FILE* pipe = plat_popen("echo fine", mode);
            if (!pipe)
                return RunResult{"", -2};
            RunResult r{read_all(pipe), 0};
            r.status = plat_pclose(pipe);
            return r;
        }();
        EXPECT_EQ(trim_line_ends(ok.output), "fine\n") << mode;
        EXPECT_EQ(ok.status, 0) << mode;
    }
}
