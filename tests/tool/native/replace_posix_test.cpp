// Replacing OUTPUT on a POSIX host: a symbolic link keeps pointing at its
// replaced target, the permission bits stay, an interrupted conversion
// leaves no new file behind, and console text follows the locale's
// character set. Host only: symbolic links and permission bits are POSIX
// matters, and a child started through a pipe under wine cannot be sent
// Ctrl-C, so the Windows leg has none of these cases.
#include "../tool_test_util.h"

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ezu/platform/platform.h"

class NativeOnlyToolReplace : public ToolTest {};

namespace {

// Names in a host directory that start with "ezutool".
int leftovers(const std::string& host_dir) {
    int count = 0;
    DIR* dir = opendir(host_dir.c_str());
    if (!dir)
        return -1;
    while (dirent* entry = readdir(dir))
        count += std::string(entry->d_name).compare(0, 7, "ezutool") == 0;
    closedir(dir);
    return count;
}

} // namespace

TEST_F(NativeOnlyToolReplace, ALinkKeepsPointingAtItsReplacedTargetWithItsMode) {
    const std::string in = file("in.txt");
    const std::string target = file("target.txt");
    const std::string link = file("link.txt");
    ASSERT_TRUE(ScratchDir::writeFile(in, "new\n"));
    ASSERT_TRUE(ScratchDir::writeFile(target, "old\n"));
    ASSERT_EQ(symlink("target.txt", shell_path(link).c_str()), 0);
    ASSERT_EQ(chmod(shell_path(target).c_str(), 0640), 0);

    const ToolRun result =
        run("convert -f utf8 -t utf16le " + shell_quote(in) + " " + shell_quote(link));
    ASSERT_EQ(result.status, 0) << result.err;
    struct stat st;
    ASSERT_EQ(lstat(shell_path(link).c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced by a file";
    EXPECT_EQ(ScratchDir::readFile(target), std::string("n\0e\0w\0\n\0", 8));
    ASSERT_EQ(stat(shell_path(target).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(leftovers(shell_path(scratch_.path())), 0);
}

TEST_F(NativeOnlyToolReplace, AnInterruptedConversionRemovesItsNewFile) {
    // The input never ends (a pipe from "sleep"), so the conversion waits
    // with its new file open until the signal comes. OUTPUT is given as a
    // host path with "/": the new file must appear beside it.
    const std::string out = file("out.txt");
    const std::string dir = shell_path(scratch_.path());
    const std::string program = shell_path(ezutool_path());
    for (const char* signal : {"TERM", "INT"}) {
        ASSERT_TRUE(ScratchDir::writeFile(out, "old\n"));
        const std::string fresh = shell_quote(dir + "/ezutool1.tmp");
        const std::string script =
            "sleep 5 | " + shell_quote(program) + " convert -f utf8 -t utf16 - " +
            shell_quote(shell_path(out)) + " & pid=$!; n=0; while [ ! -e " + fresh +
            " ] && [ $n -lt 100 ]; do sleep 0.05; n=$((n+1)); done; [ -e " + fresh +
            " ]; seen=$?; kill -" + signal + " $pid; wait $pid; echo $? $seen";
        FILE* pipe = plat_popen(("sh -c " + shell_quote(script)).c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char status[32] = {0};
        ASSERT_NE(fgets(status, sizeof status, pipe), nullptr);
        plat_pclose(pipe);
        int exit_status = -1, seen = -1;
        ASSERT_EQ(sscanf(status, "%d %d", &exit_status, &seen), 2) << status;
        EXPECT_EQ(seen, 0) << "no new file beside OUTPUT while converting";
        EXPECT_EQ(exit_status, std::string(signal) == "TERM" ? 143 : 130) << signal;
        EXPECT_EQ(leftovers(dir), 0) << signal;
        EXPECT_EQ(ScratchDir::readFile(out), "old\n") << signal;
    }
}

TEST_F(NativeOnlyToolReplace, ConsoleTextFollowsTheLocalesCharacterSet) {
    const char* saved = getenv("LC_ALL");
    const std::string restore = saved ? saved : "";
    const struct {
        const char* locale;
        const char* shown;
    } cases[] = {{"C.UTF-8", "caf\xC3\xA9 \xE6\xBC\xA2\n"},
                 {"de_CH.utf8", "caf\xC3\xA9 \xE6\xBC\xA2\n"},
                 {"C", "caf? ?\n"},
                 {"de_CH.ISO-8859-1", "caf? ?\n"}};
    for (const auto& c : cases) {
        ASSERT_EQ(plat_setenv("LC_ALL", c.locale), 0);
        const ToolRun result = run("expand " + shell_quote("caf\xC3\xA9 \xE6\xBC\xA2"));
        EXPECT_EQ(result.out, c.shown) << c.locale;
    }
    plat_setenv("LC_ALL", saved ? restore.c_str() : nullptr);
}
