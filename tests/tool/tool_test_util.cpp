#include "tool_test_util.h"

#include <stdio.h>

#include "test_paths.h"

#include "ezu/platform/platform.h"

namespace {

std::string read_stream(FILE* stream) {
    std::string text;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, stream)) > 0)
        text.append(chunk, got);
    return text;
}

std::string without_carriage_returns(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

} // namespace

std::string ezutool_path() {
    std::string path = ezu_test_program_dir() + "\\" + EZUTOOL_RELATIVE_PATH;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string shell_path(const std::string& windows_view) {
    if (kTestingOnWindows)
        return windows_view;
    std::string host = windows_view.substr(2); // drive C: is the root
    for (char& c : host)
        if (c == '\\')
            c = '/';
    return host;
}

std::string shell_quote(const std::string& text) {
    if (kTestingOnWindows)
        return "\"" + text + "\"";
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

ToolRun ToolTest::run(const std::string& arguments, bool binary, const std::string& input_file) {
    // Paths are quoted: the checkout may live under a name with blanks. cmd
    // drops the first and the last quote of a command line that starts with
    // one, so the Windows command has one more pair around it.
    const std::string err_file = file("stderr.txt");
    std::string command = shell_quote(shell_path(ezutool_path())) + " " + arguments;
    if (!input_file.empty())
        command += " <" + shell_quote(shell_path(input_file));
    command += " 2>" + shell_quote(shell_path(err_file));
    if (kTestingOnWindows)
        command = "\"" + command + "\"";

    ToolRun result{"", "", -1};
    FILE* pipe = plat_popen(command.c_str(), binary ? "rb" : "r");
    if (!pipe)
        return result;
    result.out = read_stream(pipe);
    result.status = plat_pclose(pipe);
    result.err = without_carriage_returns(ScratchDir::readFile(err_file));
    if (!binary)
        result.out = without_carriage_returns(result.out);
    return result;
}
