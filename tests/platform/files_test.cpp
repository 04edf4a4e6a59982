// Files and directories through the platform layer, in a scratch directory.
#include "platform_test_util.h"

#include <string.h>

class PlatformFiles : public PlatformScratchTest {};

TEST_F(PlatformFiles, NonAsciiNameIsWrittenReadAndStated) {
    // An accented letter and a CJK character in the leaf.
    const WStr path = file(u"caf\u00e9_\u6f22.txt");
    ASSERT_TRUE(write_file(path, "hello\nworld"));

    FILE* in = plat_wfopen(path.c_str(), W(u"rb").c_str());
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(read_all(in), "hello\nworld");
    fclose(in);

    PlatStat info = {0, -1};
    ASSERT_EQ(plat_wstat(path.c_str(), &info), 0);
    EXPECT_EQ(info.mode, PLAT_MODE_FILE);
    EXPECT_EQ(info.size, 11);
    // The same leaf in other forms is another name.
    EXPECT_NE(plat_wstat((scratch_ + W(u"\\cafe_\u6f22.txt")).c_str(), &info), 0);
}

TEST_F(PlatformFiles, TextModeRoundTripsLineEnds) {
    const WStr path = file(u"text.txt");
    ASSERT_TRUE(write_file(path, "a\nb\n", u"wt"));
    FILE* in = plat_wfopen(path.c_str(), W(u"rt").c_str());
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(read_all(in), "a\nb\n");
    fclose(in);
    PlatStat info;
    ASSERT_EQ(plat_wstat(path.c_str(), &info), 0);
    // Windows writes CR LF in text mode; elsewhere text mode is binary mode.
    EXPECT_EQ(info.size, kTestingOnWindows ? 6 : 4);
}

TEST_F(PlatformFiles, AppendAndUpdateModesKeepAndChangeContent) {
    const WStr path = file(u"modes.bin");
    ASSERT_TRUE(write_file(path, "abc"));
    ASSERT_TRUE(write_file(path, "def", u"ab"));
    FILE* f = plat_wfopen(path.c_str(), W(u"r+b").c_str());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fputc('X', f), 'X');
    EXPECT_EQ(fseek(f, 0, SEEK_SET), 0);
    EXPECT_EQ(read_all(f), "Xbcdef");
    fclose(f);
    // "w" truncates.
    ASSERT_TRUE(write_file(path, "z", u"w+b"));
    PlatStat info;
    ASSERT_EQ(plat_wstat(path.c_str(), &info), 0);
    EXPECT_EQ(info.size, 1);
}

TEST_F(PlatformFiles, StatTellsKindsAndFailsForMissingPaths) {
    PlatStat info = {0, -1};
    ASSERT_EQ(plat_wstat(scratch_.c_str(), &info), 0);
    EXPECT_EQ(info.mode, PLAT_MODE_DIR);
    EXPECT_EQ(info.size, 0);

    const WStr empty = file(u"empty");
    ASSERT_TRUE(write_file(empty, ""));
    ASSERT_EQ(plat_wstat(empty.c_str(), &info), 0);
    EXPECT_EQ(info.mode, PLAT_MODE_FILE);
    EXPECT_EQ(info.size, 0);

    EXPECT_EQ(plat_wstat((scratch_ + W(u"\\missing")).c_str(), &info), -1);
    EXPECT_EQ(plat_wstat((scratch_ + W(u"\\missing\\deeper")).c_str(), &info), -1);
    // A file is no directory to look into.
    EXPECT_EQ(plat_wstat((empty + W(u"\\x")).c_str(), &info), -1);
    EXPECT_EQ(plat_wstat(W(u"").c_str(), &info), -1);
}

TEST_F(PlatformFiles, ForwardSlashSeparatesLikeBackslash) {
    const WStr sub = dir(u"sub");
    ASSERT_EQ(plat_wmkdir(sub.c_str()), 0);
    const WStr path = file(u"sub\\f.txt");
    ASSERT_TRUE(write_file(path, "1234"));
    PlatStat info;
    ASSERT_EQ(plat_wstat((scratch_ + W(u"/sub/f.txt")).c_str(), &info), 0);
    EXPECT_EQ(info.size, 4);
    EXPECT_EQ(plat_waccess((scratch_ + W(u"/sub\\f.txt")).c_str(), PLAT_ACCESS_READ), 0);
}

TEST_F(PlatformFiles, DriveRootExistsAndBareDriveDoesNot) {
    const WStr cwd = current_dir_wide();
    ASSERT_GE(cwd.size(), 3u);
    PlatStat info;
    EXPECT_EQ(plat_wstat(cwd.substr(0, 3).c_str(), &info), 0) << "drive root";
    EXPECT_EQ(info.mode, PLAT_MODE_DIR);
    EXPECT_EQ(plat_wstat(cwd.substr(0, 2).c_str(), &info), -1) << "bare drive";
}

TEST_F(PlatformFiles, ReadOnlyFileRefusesWritingAndRemoval) {
    const WStr path = file(u"locked.txt");
    ASSERT_TRUE(write_file(path, "keep"));
    ASSERT_EQ(plat_set_read_only(path.c_str(), 1), 0);

    EXPECT_EQ(plat_waccess(path.c_str(), PLAT_ACCESS_EXISTS), 0);
    EXPECT_EQ(plat_waccess(path.c_str(), PLAT_ACCESS_READ), 0);
    EXPECT_EQ(plat_waccess(path.c_str(), PLAT_ACCESS_WRITE), -1);
    EXPECT_EQ(plat_waccess(path.c_str(), PLAT_ACCESS_READ | PLAT_ACCESS_WRITE), -1);
    for (const char16_t* mode : {u"w", u"wb", u"a", u"ab", u"r+", u"w+b", u"a+"}) {
        FILE* f = plat_wfopen(path.c_str(), W(mode).c_str());
        EXPECT_EQ(f, nullptr) << ezu_test_utf8(W(mode).c_str());
        if (f)
            fclose(f);
    }
    EXPECT_EQ(plat_wremove(path.c_str()), -1);

    // Untouched, and still readable.
    FILE* in = plat_wfopen(path.c_str(), W(u"r").c_str());
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(read_all(in), "keep");
    fclose(in);

    ASSERT_EQ(plat_set_read_only(path.c_str(), 0), 0);
    EXPECT_EQ(plat_waccess(path.c_str(), PLAT_ACCESS_WRITE), 0);
    EXPECT_TRUE(write_file(path, "changed", u"ab"));
    EXPECT_EQ(plat_wremove(path.c_str()), 0);
    EXPECT_EQ(plat_waccess(path.c_str(), PLAT_ACCESS_EXISTS), -1);
    EXPECT_EQ(plat_set_read_only(path.c_str(), 1), -1) << "missing file";
}

TEST_F(PlatformFiles, AccessTestsOfMissingPathsAndBadModesFail) {
    const WStr missing = scratch_ + W(u"\\missing");
    EXPECT_EQ(plat_waccess(missing.c_str(), PLAT_ACCESS_EXISTS), -1);
    EXPECT_EQ(plat_waccess(missing.c_str(), PLAT_ACCESS_READ), -1);
    EXPECT_EQ(plat_waccess(missing.c_str(), PLAT_ACCESS_WRITE), -1);
    // Only 0, 2, 4 and 6 are access modes.
    EXPECT_EQ(plat_waccess(scratch_.c_str(), 1), -1);
    EXPECT_EQ(plat_waccess(scratch_.c_str(), 8), -1);
    EXPECT_EQ(plat_waccess(scratch_.c_str(), PLAT_ACCESS_READ | PLAT_ACCESS_WRITE), 0);
}

TEST_F(PlatformFiles, RemoveNeverRemovesADirectory) {
    const WStr sub = dir(u"sub");
    ASSERT_EQ(plat_wmkdir(sub.c_str()), 0);
    EXPECT_EQ(plat_wremove(sub.c_str()), -1);
    PlatStat info;
    ASSERT_EQ(plat_wstat(sub.c_str(), &info), 0);
    EXPECT_EQ(info.mode, PLAT_MODE_DIR);
    EXPECT_EQ(plat_wremove((scratch_ + W(u"\\missing")).c_str()), -1);
}

TEST_F(PlatformFiles, OpeningADirectoryFails) {
    for (const char16_t* mode : {u"r", u"rb", u"w", u"a"}) {
        FILE* f = plat_wfopen(scratch_.c_str(), W(mode).c_str());
        EXPECT_EQ(f, nullptr) << ezu_test_utf8(W(mode).c_str());
        if (f)
            fclose(f);
    }
}

TEST_F(PlatformFiles, MakeDirCreatesOneLevelOnly) {
    const WStr outer = dir(u"outer");
    const WStr inner = dir(u"outer\\inner");
    EXPECT_EQ(plat_wmkdir(inner.c_str()), -1) << "parent missing";
    ASSERT_EQ(plat_wmkdir(outer.c_str()), 0);
    EXPECT_EQ(plat_wmkdir(outer.c_str()), -1) << "exists already";
    ASSERT_EQ(plat_wmkdir(inner.c_str()), 0);

    EXPECT_EQ(plat_wrmdir(outer.c_str()), -1) << "not empty";
    EXPECT_EQ(plat_wrmdir(inner.c_str()), 0);
    EXPECT_EQ(plat_wrmdir(outer.c_str()), 0);
    EXPECT_EQ(plat_wrmdir(outer.c_str()), -1) << "gone";

    const WStr plain = file(u"plain");
    ASSERT_TRUE(write_file(plain, "x"));
    EXPECT_EQ(plat_wrmdir(plain.c_str()), -1) << "a file is no directory";
    EXPECT_EQ(plat_wmkdir(plain.c_str()), -1) << "name taken by a file";
}

TEST_F(PlatformFiles, ForbiddenCharactersFailInEveryCall) {
    const char16_t* const names[] = {u"a?b",
                                     u"a*b",
                                     u"a<b",
                                     u"a>b",
                                     u"a|b",
                                     u"a\"b",
                                     u"a:b",
                                     u"a\x01"
                                     u"b"};
    for (const char16_t* name : names) {
        const WStr path = scratch_ + W(u"\\") + W(name);
        const std::string shown = ezu_test_utf8(path.c_str());
        FILE* f = plat_wfopen(path.c_str(), W(u"wb").c_str());
        EXPECT_EQ(f, nullptr) << shown;
        if (f)
            fclose(f);
        PlatStat info;
        uint64_t free_bytes, total;
        EXPECT_EQ(plat_wstat(path.c_str(), &info), -1) << shown;
        EXPECT_EQ(plat_waccess(path.c_str(), PLAT_ACCESS_EXISTS), -1) << shown;
        EXPECT_EQ(plat_wmkdir(path.c_str()), -1) << shown;
        EXPECT_EQ(plat_wrmdir(path.c_str()), -1) << shown;
        EXPECT_EQ(plat_wremove(path.c_str()), -1) << shown;
        EXPECT_EQ(plat_wchdir(path.c_str()), -1) << shown;
        EXPECT_EQ(plat_set_read_only(path.c_str(), 1), -1) << shown;
        EXPECT_EQ(plat_disk_free(path.c_str(), &free_bytes, &total), 0) << shown;
    }
    // Tear-down fails if any of these calls left something behind.
}

TEST_F(PlatformFiles, InvalidOpenModesAreRefused) {
    const WStr path = file(u"modes.txt");
    ASSERT_TRUE(write_file(path, "x"));
    for (const char16_t* mode : {u"", u"x", u"b", u"+", u"rw", u"rr", u"r++", u"rbt", u"rbb", u"wx",
                                 u"rc", u"r b", u"r,ccs=UTF-8"}) {
        FILE* f = plat_wfopen(path.c_str(), W(mode).c_str());
        EXPECT_EQ(f, nullptr) << "mode '" << ezu_test_utf8(W(mode).c_str()) << "'";
        if (f)
            fclose(f);
    }
    EXPECT_EQ(plat_wfopen(path.c_str(), nullptr), nullptr);
    for (const char16_t* mode : {u"r", u"rb+", u"r+b", u"rt", u"a+t", u"w+"}) {
        FILE* f = plat_wfopen(path.c_str(), W(mode).c_str());
        EXPECT_NE(f, nullptr) << "mode '" << ezu_test_utf8(W(mode).c_str()) << "'";
        if (f)
            fclose(f);
    }
}

TEST_F(PlatformFiles, NullArgumentsFailQuietly) {
    PlatStat info;
    EXPECT_EQ(plat_wfopen(nullptr, W(u"r").c_str()), nullptr);
    EXPECT_EQ(plat_wstat(nullptr, &info), -1);
    EXPECT_EQ(plat_wstat(scratch_.c_str(), nullptr), -1);
    EXPECT_EQ(plat_waccess(nullptr, PLAT_ACCESS_EXISTS), -1);
    EXPECT_EQ(plat_wmkdir(nullptr), -1);
    EXPECT_EQ(plat_wrmdir(nullptr), -1);
    EXPECT_EQ(plat_wremove(nullptr), -1);
    EXPECT_EQ(plat_wchdir(nullptr), -1);
    EXPECT_EQ(plat_set_read_only(nullptr, 1), -1);
    EXPECT_EQ(plat_wgetcwd(nullptr, 10), nullptr);
    EXPECT_EQ(plat_getcwd(nullptr, 10), nullptr);
}
