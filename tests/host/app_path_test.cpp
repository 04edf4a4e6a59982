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

// The helper prints through ascii(), so the output is compared with the
// 7-bit form of the expected text: the checkout's path may hold any
// character.
void expectDemo(const std::string& command, const std::string& expected) {
    TStr output;
    EXPECT_EQ(ezuRunCommand(hostCommand(command), output), 0) << command;
    EXPECT_EQ(hostUtf8(output), hostAscii(expected)) << command;
}

// What the helper printed, for checks on parts of it (compare with the
// 7-bit form of the expected text, as expectDemo does).
std::string runDemo(const std::string& command) {
    TStr output;
    EXPECT_EQ(ezuRunCommand(hostCommand(command), output), 0) << command;
    return hostUtf8(output);
}

// The command that runs `program` (as typed) from the directory `cwd`.
std::string fromDirectory(const std::string& cwd, const std::string& program,
                          const std::string& steps) {
    if (kTestingOnWindows)
        return "cd /d " + hostShellQuote(cwd) + " && " + program + " " + steps;
    return "cd " + hostShellPath(cwd) + " && " + program + " " + steps;
}

std::string trace(const std::string& message) {
    return "trace: " + message + "\n";
}

std::string leafDir(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

// The extension rule applied to the whole text, so that a "." anywhere in
// the path of the checkout counts: the text after the last ".", with "/"
// read as "\", or "" when there is none.
std::string extensionOf(std::string path) {
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : path.substr(dot + 1);
}

} // namespace

EZU_TEST_SUITE(HostAppPath);

TEST_F(HostAppPath, CompleteProgramName) {
    const std::string dir = hostProgramDir();
    const std::string program = hostHelperPath(kDemo);
    const std::string cwd = ezu_test_current_dir();
    const std::string expected =
        trace("ezuAppPath: cwd: " + cwd) + trace("Application extension: " + extensionOf(program)) +
        trace("ezuAppPath: checking Existence " + program) + trace("found directory: " + dir) +
        "result: " + dir + "\n" + "result: " + dir + "\n";
    expectDemo(hostShellPath(program) + " call call", expected);
}

TEST_F(HostAppPath, RelativeProgramNameFromItsOwnDirectory) {
    const std::string dir = hostProgramDir();
    if (kTestingOnWindows) {
        // Typed without its suffix: ".exe" is appended to the name as typed,
        // unless a "." in the directory's path already gives the candidate
        // an extension; then the name without suffix is looked for, and not
        // found.
        const std::string candidate = dir + "\\" + kDemo;
        const std::string extension = extensionOf(candidate);
        const std::string head = trace("ezuAppPath: cwd: " + dir) +
                                 trace("ezuAppPath: looking at directory: " + dir) +
                                 trace("ezuAppPath: setting FileInfo : " + candidate) +
                                 trace("Application extension: " + extension);
        const std::string tail =
            extension.empty() ? trace("ezuAppPath: checking Existence " + candidate + ".exe") +
                                    trace("found directory: " + dir) + "result: " + dir + "\n"
                              : trace("ezuAppPath: checking Existence " + candidate) + "result: \n";
        expectDemo(fromDirectory(dir, kDemo, "call"), head + tail);
    } else {
        // sh needs "./" to run a program from the current directory. The dot
        // counts as the extension separator ("\ezu_app_path_demo" follows it),
        // so the candidate is kept as normalised by the extension test, and
        // the dot stays in the result.
        const std::string candidate = dir + "\\./" + kDemo;
        const std::string normalised = dir + "\\.\\" + kDemo;
        const std::string expected =
            trace("ezuAppPath: cwd: " + dir) + trace("ezuAppPath: looking at directory: " + dir) +
            trace("ezuAppPath: setting FileInfo : " + candidate) +
            trace("Application extension: " + extensionOf(candidate)) +
            trace("ezuAppPath: checking Existence " + normalised) +
            trace("found directory: " + dir + "\\.") + "result: " + dir + "\\.\n";
        expectDemo(fromDirectory(dir, std::string("./") + kDemo, "call"), expected);
    }
}

TEST_F(HostAppPath, RelativeProgramNameWithADirectory) {
    const std::string dir = hostProgramDir();
    const std::string parent = leafDir(dir);
    const std::string sub = dir.substr(parent.size() + 1);
    // Typed with its suffix, so that a "." in the parent's path cannot keep
    // ".exe" from the candidate.
    const std::string typed = sub + (kTestingOnWindows ? "\\" : "/") + kDemo + plat_exe_suffix();
    TStr captured;
    const std::string command =
        fromDirectory(parent, typed, "call cd " + hostShellQuote(parent) + " call");
    EXPECT_EQ(ezuRunCommand(hostCommand(command), captured), 0) << command;
    const std::string output = hostUtf8(captured);
    // Found in the subdirectory; a later change of directory changes nothing.
    const std::string found = hostAscii("trace: found directory: " + dir + "\nresult: " + dir +
                                        "\nresult: " + dir + "\n");
    ASSERT_GE(output.size(), found.size()) << output;
    EXPECT_EQ(output.substr(output.size() - found.size()), found) << output;
    EXPECT_NE(output.find(hostAscii(trace("ezuAppPath: looking at directory: " + parent))),
              std::string::npos)
        << output;
}

// A name from the drive root names the program on the current drive, not
// under the current directory. Only cmd passes such a name as typed; sh
// runs the program by its host path, which the POSIX platform hands over in
// complete form ("C:\\..."), so there the name arrives complete.
TEST_F(HostAppPath, NameFromTheDriveRoot) {
    const std::string dir = hostProgramDir();
    const std::string program = hostHelperPath(kDemo);
    const std::string typed =
        kTestingOnWindows ? hostShellQuote(program.substr(2)) : hostShellPath(program);
    const std::string output = runDemo(fromDirectory(leafDir(dir), typed, "call"));
    const std::string found = hostAscii("result: " + dir + "\n");
    ASSERT_GE(output.size(), found.size()) << output;
    EXPECT_EQ(output.substr(output.size() - found.size()), found) << output;
}

TEST_F(HostAppPath, RelativeNameThatDoesNotResolve) {
    ScratchDir scratch;
    const std::string dir = hostProgramDir();
    const std::string typed = kTestingOnWindows ? kDemo : std::string("./") + kDemo;
    const std::string candidate = scratch.path() + (kTestingOnWindows ? "\\" : "\\./") + kDemo;
    const std::string extension = extensionOf(candidate);
    const std::string checked = !kTestingOnWindows  ? scratch.path() + "\\.\\" + kDemo
                                : extension.empty() ? candidate + ".exe"
                                                    : candidate;
    // A failure is not remembered: the second call looks again and fails
    // again, and once the program's own directory is current the same name
    // is found there. No call answers with a directory that does not hold
    // the program.
    const std::string failed =
        hostAscii(trace("ezuAppPath: cwd: " + scratch.path()) +
                  trace("ezuAppPath: looking at directory: " + scratch.path()) +
                  trace("ezuAppPath: setting FileInfo : " + candidate) +
                  trace("Application extension: " + extension) +
                  trace("ezuAppPath: checking Existence " + checked) + "result: \n");
    // On Windows a "." in the program directory's path gives the candidate
    // an extension, so no ".exe" is appended and the name is not found there
    // either.
    const std::string foundDir = kTestingOnWindows ? dir : dir + "\\.";
    const std::string inOwnDir = dir + "\\" + kDemo;
    const std::string found =
        kTestingOnWindows && !extensionOf(inOwnDir).empty()
            ? hostAscii(trace("ezuAppPath: checking Existence " + inOwnDir) + "result: \n")
            : hostAscii("trace: found directory: " + foundDir + "\nresult: " + foundDir + "\n");
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
    const std::string command =
        (kTestingOnWindows
             ? "copy /y " + hostShellPath(source) + " " + hostShellPath(copy) + " >nul && "
             : "cp " + hostShellPath(source) + " " + hostShellPath(copy) + " && ") +
        hostShellPath(copy) + " rename " + hostShellPath(moved) + " call call";
    const std::string cwd = ezu_test_current_dir();
    // Both calls look and fail; neither answers with the current directory.
    const std::string failed = hostAscii(
        trace("ezuAppPath: cwd: " + cwd) + trace("Application extension: " + extensionOf(copy)) +
        trace("ezuAppPath: checking Existence " + copy) + "result: \n");
    EXPECT_EQ(runDemo(command), failed + failed);
    EXPECT_FALSE(ScratchDir::exists(copy));
    EXPECT_TRUE(ScratchDir::exists(moved));
}
