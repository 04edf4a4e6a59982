// The command line as a whole: help, version, the quiet flag and the usage
// errors every subcommand shares.
#include "tool_test_util.h"

class ToolCommandLine : public ToolTest {};

namespace {

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TEST_F(ToolCommandLine, HelpAndVersionGoToStandardOutput) {
    const ToolRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(starts_with(help.out, "usage: ezutool")) << help.out;
    for (const char* command :
         {"convert", "run COMMAND", "info", "expand TEXT", "settings", "plugin PATH"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    for (const char* said :
         {"first NUL character", "--lenient", "byte offset", "\"2>&1\"", "100-nanosecond units"})
        EXPECT_NE(help.out.find(said), std::string::npos) << said;
    EXPECT_EQ(help.err, "");

    // Also after the command's name, before its arguments.
    EXPECT_EQ(run("convert --help").out, help.out);

    const ToolRun version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("ezutool ") + EZUTOOL_EXPECTED_VERSION + "\n");
}

TEST_F(ToolCommandLine, UsageErrorsExitWithTwoAndExplainOnStandardError) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"", "missing command"},
        {"--frobnicate", "unknown option --frobnicate"},
        {"frobnicate", "unknown command frobnicate"},
        {"info --frobnicate", "unknown option --frobnicate"},
        {"convert --from utf8", "convert needs --from ENC and --to ENC"},
        {"convert --from utf8 --to", "--to needs an encoding"},
        {"convert --from latin1 --to utf8",
         "unknown encoding latin1 (convert --list shows the names)"},
        {"convert --from 6 --to utf8", "unknown encoding 6 (convert --list shows the names)"},
        {"convert -f utf8 -t", "-t needs an encoding"},
        {"convert --to=utf-7 -f utf8", "unknown encoding utf-7 (convert --list shows the names)"},
        {"convert --from 1 --to 2 a b c", "convert takes at most INPUT and OUTPUT, not also c"},
        {"convert --from utf8 --to utf16 -x", "unknown option -x"},
        {"run", "run needs a command"},
        {"expand", "expand needs a TEXT"},
        {"expand a b", "expand takes one TEXT, not also b"},
        {"expand a --set", "--set needs KEY=VALUE"},
        {"expand a --set novalue", "--set needs KEY=VALUE"},
        {"settings", "settings needs an operation such as --set KEY=VALUE or --get KEY"},
        {"settings --get", "--get needs KEY"},
        {"settings --set =x", "--set needs KEY=VALUE"},
        {"settings --frob x", "unknown settings operation --frob"},
        {"settings --set-int n=4x", "not an integer: 4x"},
        {"settings --set-int n=", "not an integer: "},
        {"settings --set-double d=pi", "not a number: pi"},
        {"plugin", "plugin needs a module PATH"},
        {"plugin m =v", "plugin takes KEY=VALUE or KEY after the PATH"},
        {"plugin m a=1 \"\"", "plugin takes KEY=VALUE or KEY after the PATH"},
    };
    for (const auto& c : cases) {
        const ToolRun result = run(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_EQ(result.out, "") << c.arguments;
        EXPECT_TRUE(starts_with(result.err, std::string("ezutool: ") + c.message + "\n"))
            << c.arguments << ": " << result.err;
        EXPECT_NE(result.err.find("usage: ezutool"), std::string::npos) << c.arguments;
    }
}

TEST_F(ToolCommandLine, QuietSilencesMessagesButNotErrorsOrStatus) {
    // Before or after the command's name.
    const ToolRun settings = run("-q settings --set a=1 --get a");
    EXPECT_EQ(settings.status, 0);
    EXPECT_EQ(settings.out, "");
    EXPECT_EQ(run("settings --quiet --set a=1 --get a").out, "");
    EXPECT_EQ(run("settings --set a=1 --get a").out, "a = 1\n");

    const ToolRun failed = run("--quiet run exit 4");
    EXPECT_EQ(failed.status, 4);
    EXPECT_EQ(failed.out, "");

    // Asked for, help and version show all the same.
    EXPECT_EQ(run("-q --version").out, std::string("ezutool ") + EZUTOOL_EXPECTED_VERSION + "\n");
    EXPECT_TRUE(starts_with(run("--quiet --help").out, "usage: ezutool"));

    const ToolRun usage = run("-q convert");
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(starts_with(usage.err, "ezutool: convert needs")) << usage.err;
}
