// The Windows view of a POSIX host: drive C: is the root, other drives are
// missing, and the current directory reads as C: and the host path. These
// tests state the mapping on POSIX; on Windows they check the counterpart
// that holds there, on the drive of the current directory.
#include "platform_test_util.h"

EZU_TEST_SUITE(PosixView);

namespace {

// The current drive's root, and a drive letter that is not the current one.
WStr current_root() {
    return current_dir_wide().substr(0, 3);
}

} // namespace

TEST_F(PosixView, DriveCInEitherCaseIsTheRoot) {
    PlatStat info;
    if (kTestingOnWindows) {
        // Windows: the root of the current drive is a directory.
        ASSERT_EQ(plat_wstat(current_root().c_str(), &info), 0);
        EXPECT_EQ(info.mode, PLAT_MODE_DIR);
        return;
    }
    for (const char16_t* root : {u"C:\\", u"c:\\", u"C:/", u"\\", u"/"}) {
        ASSERT_EQ(plat_wstat(W(root).c_str(), &info), 0) << ezu_test_utf8(W(root).c_str());
        EXPECT_EQ(info.mode, PLAT_MODE_DIR);
    }
    // The host's /proc/self/cmdline, seen through drive C:.
    EXPECT_EQ(plat_waccess(W(u"C:\\proc\\self\\cmdline").c_str(), PLAT_ACCESS_READ), 0);
    EXPECT_EQ(plat_waccess(W(u"\\proc\\self\\cmdline").c_str(), PLAT_ACCESS_READ), 0);
}

TEST_F(PosixView, OtherDrivesAndNetworkPathsAreMissing) {
    PlatStat info;
    uint64_t free_bytes;
    if (kTestingOnWindows) {
        // Windows: a bare drive letter is no file-system object, a root is.
        EXPECT_EQ(plat_wstat(current_root().substr(0, 2).c_str(), &info), -1);
        EXPECT_EQ(plat_disk_free(current_root().c_str(), &free_bytes, nullptr), 1);
        return;
    }
    for (const char16_t* path : {u"D:\\", u"d:\\", u"Z:\\", u"D:", u"D:x", u"\\\\server\\share",
                                 u"\\\\?\\C:\\", u"//server/share"}) {
        const std::string shown = ezu_test_utf8(W(path).c_str());
        EXPECT_EQ(plat_wstat(W(path).c_str(), &info), -1) << shown;
        EXPECT_EQ(plat_waccess(W(path).c_str(), PLAT_ACCESS_EXISTS), -1) << shown;
        EXPECT_EQ(plat_wchdir(W(path).c_str()), -1) << shown;
        EXPECT_EQ(plat_disk_free(W(path).c_str(), &free_bytes, nullptr), 0) << shown;
    }
    EXPECT_EQ(plat_wstat(W(u"C:").c_str(), &info), -1) << "bare drive";
}

TEST_F(PosixView, CurrentDirectoryIsDriveCAndTheHostPath) {
    const WStr saved = current_dir_wide();
    ASSERT_GT(saved.size(), 3u);
    if (kTestingOnWindows) {
        // Windows: changing to the root of the current drive reads back as it.
        ASSERT_EQ(plat_wchdir(current_root().c_str()), 0);
        EXPECT_EQ(current_dir_wide(), current_root());
        EXPECT_EQ(plat_wchdir(saved.c_str()), 0);
        return;
    }
    EXPECT_EQ(saved.substr(0, 3), W(u"C:\\"));
    ASSERT_EQ(plat_wchdir(W(u"\\").c_str()), 0);
    EXPECT_EQ(current_dir_wide(), W(u"C:\\"));
    char narrow[8];
    EXPECT_EQ(std::string(plat_getcwd(narrow, sizeof narrow)), "C:\\");

    // One level down from the root, by a relative name: /<first> is C:\<first>.
    const size_t end = saved.find('\\', 3);
    const WStr first = saved.substr(3, end == WStr::npos ? WStr::npos : end - 3);
    ASSERT_EQ(plat_wchdir(first.c_str()), 0);
    EXPECT_EQ(current_dir_wide(), W(u"C:\\") + first);
    ASSERT_EQ(plat_wchdir(W(u"c:\\").c_str()), 0);
    EXPECT_EQ(current_dir_wide(), W(u"C:\\"));

    ASSERT_EQ(plat_wchdir(saved.c_str()), 0);
    EXPECT_EQ(current_dir_wide(), saved);
}
