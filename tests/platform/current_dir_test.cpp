// The current directory: changing it, and reading it in both forms.
#include "platform_test_util.h"

#include <string.h>

class PlatformCurrentDir : public PlatformScratchTest {
  protected:
    void SetUp() override {
        PlatformScratchTest::SetUp();
        saved_ = current_dir_wide();
        ASSERT_FALSE(saved_.empty());
    }
    void TearDown() override {
        EXPECT_EQ(plat_wchdir(saved_.c_str()), 0);
        PlatformScratchTest::TearDown();
    }
    WStr saved_;
};

TEST_F(PlatformCurrentDir, HasTheFormOfADriveAndAPath) {
    EzuWChar wide[1024];
    ASSERT_NE(plat_wgetcwd(wide, 1024), nullptr);
    EXPECT_TRUE(plat_wgetcwd(wide, 1024) == wide);
    const EzuWChar drive = wide[0];
    EXPECT_TRUE((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'));
    EXPECT_EQ(wide[1], ':');
    EXPECT_EQ(wide[2], '\\');
    for (const EzuWChar* p = wide; *p; ++p)
        EXPECT_NE(*p, '/');

    // The 8-bit form says the same for an ASCII directory.
    char narrow[1024];
    ASSERT_EQ(plat_getcwd(narrow, sizeof narrow), narrow);
    bool ascii = true;
    for (const char* p = narrow; *p; ++p)
        ascii = ascii && (unsigned char)*p < 0x80;
    if (ascii) {
        EXPECT_EQ(ezu_test_utf8(wide), std::string(narrow));
    }
}

TEST_F(PlatformCurrentDir, TooSmallBuffersFail) {
    const WStr cwd = current_dir_wide();
    std::vector<EzuWChar> wide(cwd.size() + 1);
    EXPECT_EQ(plat_wgetcwd(wide.data(), int(cwd.size())), nullptr) << "no room for the terminator";
    EXPECT_EQ(plat_wgetcwd(wide.data(), int(wide.size())), wide.data());
    EXPECT_EQ(plat_wgetcwd(wide.data(), 0), nullptr);
    char narrow[4];
    EXPECT_EQ(plat_getcwd(narrow, sizeof narrow), nullptr);
}

TEST_F(PlatformCurrentDir, ChangesToAbsoluteRelativeAndParentDirectories) {
    const WStr sub = dir(u"sub");
    ASSERT_EQ(plat_wmkdir(sub.c_str()), 0);
    ASSERT_EQ(plat_wchdir(scratch_.c_str()), 0);
    const WStr at_scratch = current_dir_wide();

    // Relative names now resolve inside the scratch directory.
    file(u"marker");
    ASSERT_TRUE(write_file(W(u"marker"), "m"));
    PlatStat info;
    EXPECT_EQ(plat_wstat((scratch_ + W(u"\\marker")).c_str(), &info), 0);

    ASSERT_EQ(plat_wchdir(W(u"sub").c_str()), 0);
    const WStr at_sub = current_dir_wide();
    EXPECT_EQ(at_sub, at_scratch + W(u"\\sub"));
    EXPECT_EQ(plat_wstat(W(u"..\\marker").c_str(), &info), 0);

    ASSERT_EQ(plat_wchdir(W(u"..").c_str()), 0);
    EXPECT_EQ(current_dir_wide(), at_scratch);

    // A drive-relative name on the current drive is relative as well.
    const WStr drive_relative = at_scratch.substr(0, 2) + W(u"marker");
    EXPECT_EQ(plat_wstat(drive_relative.c_str(), &info), 0);

    EXPECT_EQ(plat_wchdir(W(u"missing").c_str()), -1);
    EXPECT_EQ(current_dir_wide(), at_scratch) << "a failed change leaves it";
    EXPECT_EQ(plat_wchdir(W(u"marker").c_str()), -1) << "a file";
}
