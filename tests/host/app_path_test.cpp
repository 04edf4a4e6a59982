// ezuAppPath reads the process command line, so each case runs the helper
// program ezu_app_path_demo as a child started the way the case needs. The
// helper is built as "ezu_app_path_demo" on POSIX (no suffix) and as
// "ezu_app_path_demo.exe" on Windows.
#include <string>

#include "ezu/ezu.h"
#include "ezu_test.h"
#include "host_support.h"

namespace {

const char* kDemo = "ezu_app_path_demo";

std::string runDemo(const std::string& command) {
    TStr output;
    EXPECT_EQ(ezuRunCommand(TStr(command.c_str()), output), 0) << command;
    return output.isEmpty() ? std::string() : std::string(output.ascii());
}

// The command that runs `program` (as typed) from the directory `cwd`.
std::string fromDirectory(const std::string& cwd, const std::string& program,
                          const std::string& steps) {
    if (kTestingOnWindows)
        return "cd /d " + cwd + " && " + program + " " + steps;
    return "cd " + hostShellPath(cwd) + " && " + program + " " + steps;
}

std::string trace(const std::string& message) {
    return "trace: " + message + "\n";
}

std::string leafDir(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

} // namespace

EZU_TEST_SUITE(HostAppPath);

TEST_F(HostAppPath, CompleteProgramName) {
    const std::string dir = hostProgramDir();
    const std::string program = hostHelperPath(kDemo);
    const std::string cwd = ezu_test_current_dir();
    const std::string extension = kTestingOnWindows ? "exe" : "";
    const std::string expected =
        trace("ezuAppPath: cwd: " + cwd) + trace("Application extension: " + extension) +
        trace("ezuAppPath: checking Existence " + program) + trace("found directory: " + dir) +
        "result: " + dir + "\n" + "result: " + dir + "\n";
    EXPECT_EQ(runDemo(hostShellPath(program) + " call call"), expected);
}

TEST_F(HostAppPath, RelativeProgramNameFromItsOwnDirectory) {
    const std::string dir = hostProgramDir();
    std::string expected;
    if (kTestingOnWindows) {
        // Typed without its suffix: ".exe" is appended to the name as typed.
        const std::string candidate = dir + "\\" + kDemo;
        expected = trace("ezuAppPath: cwd: " + dir) +
                   trace("ezuAppPath: looking at directory: " + dir) +
                   trace("ezuAppPath: setting FileInfo : " + candidate) +
                   trace("Application extension: ") +
                   trace("ezuAppPath: checking Existence " + candidate + ".exe") +
                   trace("found directory: " + dir) + "result: " + dir + "\n";
        EXPECT_EQ(runDemo(fromDirectory(dir, kDemo, "call")), expected);
    } else {
        // sh needs "./" to run a program from the current directory. The dot
        // counts as the extension separator ("\ezu_app_path_demo" follows it),
        // so the candidate is kept as normalised by the extension test, and
        // the dot stays in the result.
        const std::string candidate = dir + "\\./" + kDemo;
        const std::string normalised = dir + "\\.\\" + kDemo;
        expected = trace("ezuAppPath: cwd: " + dir) +
                   trace("ezuAppPath: looking at directory: " + dir) +
                   trace("ezuAppPath: setting FileInfo : " + candidate) +
                   trace(std::string("Application extension: \\") + kDemo) +
                   trace("ezuAppPath: checking Existence " + normalised) +
                   trace("found directory: " + dir + "\\.") + "result: " + dir + "\\.\n";
        EXPECT_EQ(runDemo(fromDirectory(dir, std::string("./") + kDemo, "call")), expected);
    }
}

TEST_F(HostAppPath, RelativeProgramNameWithADirectory) {
    const std::string dir = hostProgramDir();
    const std::string parent = leafDir(dir);
    const std::string sub = dir.substr(parent.size() + 1);
    const std::string typed = sub + (kTestingOnWindows ? "\\" : "/") + kDemo;
    const std::string output =
        runDemo(fromDirectory(parent, typed, "call cd " + hostShellQuote(parent) + " call"));
    // Found in the subdirectory; a later change of directory changes nothing.
    const std::string found =
        "trace: found directory: " + dir + "\nresult: " + dir + "\nresult: " + dir + "\n";
    ASSERT_GE(output.size(), found.size());
    EXPECT_EQ(output.substr(output.size() - found.size()), found) << output;
    EXPECT_NE(output.find(trace("ezuAppPath: looking at directory: " + parent)), std::string::npos)
        << output;
}

// A name from the drive root names the program on the current drive, not
// under the current directory. Only cmd passes such a name as typed; sh
// runs the program by its host path, which the POSIX platform hands over in
// complete form ("C:\\..."), so there the name arrives complete.
TEST_F(HostAppPath, NameFromTheDriveRoot) {
    const std::string dir = hostProgramDir();
    const std::string program = hostHelperPath(kDemo);
    const std::string typed = kTestingOnWindows ? program.substr(2) : hostShellPath(program);
    const std::string output = runDemo(fromDirectory(leafDir(dir), typed, "call"));
    const std::string found = "result: " + dir + "\n";
    ASSERT_GE(output.size(), found.size()) << output;
    EXPECT_EQ(output.substr(output.size() - found.size()), found) << output;
}

TEST_F(HostAppPath, RelativeNameThatDoesNotResolve) {
    ScratchDir scratch;
    const std::string dir = hostProgramDir();
    const std::string typed = kTestingOnWindows ? kDemo : std::string("./") + kDemo;
    const std::string candidate = scratch.path() + (kTestingOnWindows ? "\\" : "\\./") + kDemo;
    const std::string checked =
        kTestingOnWindows ? candidate + ".exe" : scratch.path() + "\\.\\" + kDemo;
    const std::string extension = kTestingOnWindows ? "" : std::string("\\") + kDemo;
    // A failure is not remembered: the second call looks again and fails
    // again, and once the program's own directory is current the same name
    // is found there. No call answers with a directory that does not hold
    // the program.
    const std::string failed = trace("ezuAppPath: cwd: " + scratch.path()) +
                               trace("ezuAppPath: looking at directory: " + scratch.path()) +
                               trace("ezuAppPath: setting FileInfo : " + candidate) +
                               trace("Application extension: " + extension) +
                               trace("ezuAppPath: checking Existence " + checked) + "result: \n";
    const std::string foundDir = kTestingOnWindows ? dir : dir + "\\.";
    const std::string found =
        "trace: found directory: " + foundDir + "\nresult: " + foundDir + "\n";
    const std::string output = runDemo(fromDirectory(
        dir, typed,
        "cd " + hostShellQuote(scratch.path()) + " call call cd " + hostShellQuote(dir) + " call"));
    EXPECT_EQ(output.substr(0, 2 * failed.size()), failed + failed);
    ASSERT_GE(output.size(), 2 * failed.size() + found.size()) << output;
    EXPECT_EQ(output.substr(output.size() - found.size()), found) << output;
}

TEST_F(HostAppPath, CompleteNameThatNoLongerExists) {
    ScratchDir scratch;
    const std::string suffix = kTestingOnWindows ? ".exe" : "";
    const std::string copy = inScratch(scratch, std::string("gone_demo") + suffix);
    const std::string moved = inScratch(scratch, std::string("moved_demo") + suffix);
    trackScratchFile(scratch, copy);
    trackScratchFile(scratch, moved);
    const std::string source = hostHelperPath(kDemo);
    // The copy renames itself before it looks for itself.
    const std::string command = kTestingOnWindows
                                    ? "copy /y " + source + " " + copy + " >nul && " + copy +
                                          " rename " + moved + " call call"
                                    : "cp " + hostShellPath(source) + " " + hostShellPath(copy) +
                                          " && " + hostShellPath(copy) + " rename " +
                                          hostShellPath(moved) + " call call";
    const std::string cwd = ezu_test_current_dir();
    // Both calls look and fail; neither answers with the current directory.
    const std::string failed =
        trace("ezuAppPath: cwd: " + cwd) +
        trace(std::string("Application extension: ") + (kTestingOnWindows ? "exe" : "")) +
        trace("ezuAppPath: checking Existence " + copy) + "result: \n";
    EXPECT_EQ(runDemo(command), failed + failed);
    EXPECT_FALSE(ScratchDir::exists(copy));
    EXPECT_TRUE(ScratchDir::exists(moved));
}
