// ezutool run and ezutool info.
#include "test_paths.h"
#include "tool_test_util.h"

#include <stdlib.h>

#include <map>

class ToolRunCommand : public ToolTest {};
class ToolInfo : public ToolTest {};

TEST_F(ToolRunCommand, PrintsTheOutputAndStatusAndExitsWithTheStatus) {
    // The words are joined with blanks into one command line.
    const ToolRun hello = run("run echo hello");
    EXPECT_EQ(hello.status, 0);
    EXPECT_EQ(hello.out, kTestingOnWindows ? "hello \nstatus: 0\n" : "hello\nstatus: 0\n");

    // Every word after "run" is the command's, options included.
    const ToolRun words = run("run echo --version -q");
    EXPECT_EQ(words.status, 0);
    EXPECT_EQ(words.out,
              kTestingOnWindows ? "--version -q \nstatus: 0\n" : "--version -q\nstatus: 0\n");

    // Standard error is captured too, and the status passes on: the command
    // here is ezutool itself, stopped by a usage error. It is named by its
    // path relative to the tests' directory (the current one under ctest),
    // which holds nothing the interpreter would need quoted wherever the
    // checkout lives: ezutool joins the words of "run" with blanks.
    ASSERT_EQ(ezu_test_current_dir(), ezu_test_program_dir());
    std::string relative = EZUTOOL_RELATIVE_PATH;
    for (char& c : relative)
        c = kTestingOnWindows && c == '/' ? '\\' : c;
    const ToolRun failing = run("run " + relative + " convert");
    EXPECT_EQ(failing.status, 2);
    EXPECT_EQ(failing.out.find("ezutool: convert needs --from ENC and --to ENC\nusage: "), 0u)
        << failing.out;
    EXPECT_NE(failing.out.find("\nstatus: 2\n"), std::string::npos) << failing.out;
    EXPECT_EQ(failing.err, "");

    // A status outside 0 to 255 is shown as it is and exits with 255.
    if (kTestingOnWindows) {
        const ToolRun large = run("run exit 300");
        EXPECT_EQ(large.out, "status: 300\n");
        EXPECT_EQ(large.status, 255);
    } else {
        // POSIX statuses fit 0 to 255; a signal gives 128 plus its number.
        const ToolRun killed = run("run 'kill -KILL $$'");
        EXPECT_EQ(killed.out, "status: 137\n");
        EXPECT_EQ(killed.status, 137);
    }
}

namespace {

// The "name: value" lines of the output, in order of the names.
std::map<std::string, std::string> lines_of(const std::string& output) {
    std::map<std::string, std::string> lines;
    size_t at = 0;
    while (at < output.size()) {
        size_t end = output.find('\n', at);
        if (end == std::string::npos)
            end = output.size();
        const std::string line = output.substr(at, end - at);
        const size_t colon = line.find(": ");
        if (colon != std::string::npos)
            lines[line.substr(0, colon)] = line.substr(colon + 2);
        at = end + 1;
    }
    return lines;
}

std::string directory_of(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

} // namespace

TEST_F(ToolInfo, ShowsWhatTheFrameworkKnowsOneLinePerName) {
    const ToolRun result = run("info first \"two words\"");
    ASSERT_EQ(result.status, 0) << result.err;
    auto lines = lines_of(result.out);

    // The program lies in the application directory.
    const std::string program = ezutool_path();
    EXPECT_EQ(lines["app directory"], directory_of(program));
    const std::string locale = lines["locale"];
    ASSERT_GE(locale.size(), 3u) << locale;
    EXPECT_NE(locale.find('_'), std::string::npos) << locale;

    const std::string temp = lines["temporary directory"];
    ASSERT_GE(temp.size(), 3u);
    EXPECT_EQ(temp.back(), '\\') << temp;
    EXPECT_TRUE(ScratchDir::exists(temp.substr(0, temp.size() - 1))) << temp;

    const std::string space = lines["free space"];
    ASSERT_GT(space.size(), 4u);
    EXPECT_EQ(space.substr(space.size() - 4), " MiB");
    EXPECT_GT(atol(space.c_str()), 0) << space; // the build tree's volume is not full

    const std::string stamp = lines["time stamp"];
    ASSERT_FALSE(stamp.empty());
    EXPECT_EQ(stamp.find_first_not_of("0123456789"), std::string::npos) << stamp;
    EXPECT_LE(strtoull(stamp.c_str(), nullptr, 10), 4294967295ull);

    // Element 0 is the program as typed; this test typed its full path.
    EXPECT_EQ(lines["argument 0"], program);
    EXPECT_EQ(lines["argument 1"], "info");
    EXPECT_EQ(lines["argument 2"], "first");
    EXPECT_EQ(lines["argument 3"], "two words");
    EXPECT_EQ(lines.count("argument 4"), 0u);
    EXPECT_EQ(result.out.find("app directory: "), 0u);
}
