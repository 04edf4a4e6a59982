// The process command line, checked through a helper program that prints
// its own elements as the platform layer splits them.
#include "platform_test_util.h"

#include <map>

EZU_TEST_SUITE(PlatformCommandLine);

namespace {

// Runs `command` and reads the helper's "count=N" and "[i]=text" lines.
std::map<std::string, std::string> run_helper(const std::string& command, int* status) {
    std::map<std::string, std::string> printed;
    FILE* pipe = plat_popen(command.c_str(), "r");
    if (!pipe) {
        *status = -2;
        return printed;
    }
    std::string output = read_all(pipe);
    *status = plat_pclose(pipe);
    size_t at = 0;
    while (at < output.size()) {
        size_t end = output.find('\n', at);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            printed[line.substr(0, equals)] = line.substr(equals + 1);
        at = end + 1;
    }
    return printed;
}

std::string helper_name() {
    return std::string("ezu_print_args") + plat_exe_suffix();
}

} // namespace

TEST_F(PlatformCommandLine, OwnCommandLineHasTheProgramFirst) {
    int count = 0;
    EzuWChar** args = plat_command_line_args(&count);
    ASSERT_NE(args, nullptr);
    ASSERT_GE(count, 1);
    EXPECT_EQ(args[count], nullptr);
    const std::string program = ezu_test_utf8(args[0]);
    plat_free_args(args);
    const std::string leaf = std::string("ezu_platform_tests") + plat_exe_suffix();
    ASSERT_GE(program.size(), leaf.size());
    EXPECT_EQ(program.substr(program.size() - leaf.size()), leaf);

    EXPECT_EQ(plat_command_line_args(nullptr), nullptr);
    const std::string dir = ezu_test_program_dir();
    ASSERT_GE(dir.size(), 2u);
    EXPECT_EQ(dir[1], ':');
}

TEST_F(PlatformCommandLine, ChildSeesItsArgumentsSplitAndUnchanged) {
    const std::string dir = ezu_test_program_dir();
    const WStr saved = current_dir_wide();
    ASSERT_EQ(plat_wchdir(W(dir).c_str()), 0) << dir;

    // Element 0 as typed; quoting joins words; a backslash stays as it is.
    const std::string command = kTestingOnWindows
                                    ? helper_name() + " one \"two words\" back\\slash"
                                    : "./" + helper_name() + " one 'two words' 'back\\slash'";
    int status = 0;
    auto printed = run_helper(command, &status);
    EXPECT_EQ(plat_wchdir(saved.c_str()), 0);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(printed["count"], "4");
    const std::string program = printed["[0]"];
    ASSERT_GE(program.size(), helper_name().size());
    EXPECT_EQ(program.substr(program.size() - helper_name().size()), helper_name());
    if (!kTestingOnWindows) {
        EXPECT_EQ(program, "./" + helper_name());
    }
    EXPECT_EQ(printed["[1]"], "one");
    EXPECT_EQ(printed["[2]"], "two words");
    EXPECT_EQ(printed["[3]"], "back\\slash");
}

TEST_F(PlatformCommandLine, AbsoluteProgramPathIsGivenInTheWindowsView) {
    // The path is quoted: the checkout may live under a name with blanks.
    // cmd drops the first and the last quote of a command that starts with
    // one, so the Windows command has one more pair around it.
    const std::string dir = ezu_test_program_dir();
    std::string command;
    if (kTestingOnWindows) {
        command = "\"\"" + dir + "\\" + helper_name() + "\" x\"";
    } else {
        // POSIX view: the host path of C:\a\b is /a/b.
        ASSERT_EQ(dir.substr(0, 2), "C:");
        std::string host = dir.substr(2);
        for (char& c : host)
            if (c == '\\')
                c = '/';
        command = "'" + host + "/" + helper_name() + "' x";
    }
    int status = 0;
    auto printed = run_helper(command, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(printed["count"], "2");
    EXPECT_EQ(printed["[0]"], dir + "\\" + helper_name());
    EXPECT_EQ(printed["[1]"], "x");
}
