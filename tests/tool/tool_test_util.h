// Running ezutool as a user would: as a child process through the command
// interpreter (cmd under Windows, sh under POSIX), with its standard output
// captured through a pipe and its standard error through a file.
#ifndef EZU_TESTS_TOOL_TOOL_TEST_UTIL_H
#define EZU_TESTS_TOOL_TOOL_TEST_UTIL_H

#include <string>

#include "ezu_test.h"
#include "scratch_dir.h"

struct ToolRun {
    std::string out; // standard output
    std::string err; // standard error, line ends as "\n"
    int status;      // exit status; -1 when the child could not be started
};

// The program's complete path in the Windows view, from the test program's
// directory and the build's relative path between the two.
std::string ezutool_path();

// A path of the Windows view in the form the command interpreter takes: as
// it stands under Windows, the host path ("C:\a\b" is "/a/b") under POSIX.
std::string shell_path(const std::string& windows_view);

// `text` quoted as one argument for the command interpreter.
std::string shell_quote(const std::string& text);

// A fixture whose tests run ezutool and keep their files in a scratch
// directory under the temporary directory.
class ToolTest : public EzuTest {
  protected:
    // Runs `ezutool <arguments>` (arguments already quoted for the shell).
    // `binary` reads standard output without line-end translation;
    // `input_file` (a Windows-view path) becomes standard input.
    ToolRun run(const std::string& arguments, bool binary = false,
                const std::string& input_file = "");

    // A file of the scratch directory, removed at the end of the test.
    std::string file(const std::string& name) { return scratch_.file(name); }

    ScratchDir scratch_;
};

#endif
