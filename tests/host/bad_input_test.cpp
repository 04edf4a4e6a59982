// Bad input to the platform queries, the command runner and file entries:
// the rows of docs/bad-input.md that the other host tests do not check. Each
// test is named after its row.
#include <string>

#include "ezu/ezu.h"
#include "ezu_test.h"
#include "host_support.h"

EZU_TEST_SUITE(HostBadInput);

TEST_F(HostBadInput, CommandEmptyText) {
    // Only the redirection is left for the interpreter. sh runs nothing and
    // succeeds; what cmd makes of a bare "2>&1" is its own affair (the one
    // the Windows tests run under takes "2" for a command name and fails),
    // so there the check is that the output is replaced all the same.
    for (const TStr& command : {TStr(), TStr(""), TStr("   ")}) {
        TStr output("stale");
        const int status = ezuRunCommand(command, output);
        EXPECT_TRUE(output != "stale");
        if (!kTestingOnWindows) {
            EXPECT_EQ(status, 0);
            EXPECT_TRUE(output.isEmpty());
        }
    }
}

TEST_F(HostBadInput, PathExistsEmptyText) {
    EXPECT_FALSE(ezuPathExists(TStr()));
    EXPECT_FALSE(ezuPathExists(""));
}

TEST_F(HostBadInput, QueriesNullStateText) {
    EXPECT_TRUE(ezuExpandEnvironment(TStr()).isEmpty());
    EXPECT_EQ(ezuRegionId(TStr()), 0);
    EXPECT_TRUE(ezuSamePath(TStr(), ""));
    EXPECT_FALSE(ezuSamePath(TStr(), "C:\\"));
    EXPECT_TRUE(ezuPrepareText(TStr(), 1).isEmpty());
    EXPECT_TRUE(ezuPrepareText(TStr(), 3).isEmpty());
    // Without a path the current drive is asked.
    EXPECT_GE(ezuDiskFreeSpace(TStr(), 1048576), 0);
}

TEST_F(HostBadInput, FileEntryNullPath) {
    // An entry without a path stands for the current directory.
    const TEzuFile entry(nullptr, 0, true);
    EXPECT_TRUE(entry.path().isEmpty());
    const std::string current = ezu_test_current_dir();
    EXPECT_TRUE(ezuSamePath(entry.absolutePath(), hostText(current)))
        << entry.absolutePath().ascii() << " " << current;
    EXPECT_TRUE(entry.extension().isEmpty());
}
