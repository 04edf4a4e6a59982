// Renaming through the platform layer: replacing an existing file in one
// step, and refusing what Windows refuses.
#include "platform_test_util.h"

class PlatformRename : public PlatformScratchTest {
  protected:
    std::string content(const WStr& path) {
        FILE* in = plat_wfopen(path.c_str(), W(u"rb").c_str());
        if (!in)
            return "<missing>";
        const std::string text = read_all(in);
        fclose(in);
        return text;
    }
};

TEST_F(PlatformRename, MovesToANewNameAndReplacesAnExistingFile) {
    const WStr from = file(u"from.txt");
    const WStr to = file(u"to \u00e9\u6f22.txt");
    ASSERT_TRUE(write_file(from, "first"));
    ASSERT_EQ(plat_wrename(from.c_str(), to.c_str()), 0);
    EXPECT_EQ(content(from), "<missing>");
    EXPECT_EQ(content(to), "first");

    ASSERT_TRUE(write_file(from, "second"));
    ASSERT_EQ(plat_wrename(from.c_str(), to.c_str()), 0);
    EXPECT_EQ(content(from), "<missing>");
    EXPECT_EQ(content(to), "second");

    // A file renamed onto itself stays.
    EXPECT_EQ(plat_wrename(to.c_str(), to.c_str()), 0);
    EXPECT_EQ(content(to), "second");
}

TEST_F(PlatformRename, RefusalsLeaveBothNamesAsTheyWere) {
    const WStr from = file(u"from.txt");
    const WStr locked = file(u"locked.txt");
    const WStr directory = dir(u"dir");
    ASSERT_TRUE(write_file(from, "new"));
    ASSERT_TRUE(write_file(locked, "kept"));
    ASSERT_EQ(plat_set_read_only(locked.c_str(), 1), 0);
    ASSERT_EQ(plat_wmkdir(directory.c_str()), 0);

    EXPECT_EQ(plat_wrename(from.c_str(), locked.c_str()), -1);
    EXPECT_EQ(content(locked), "kept");
    EXPECT_EQ(plat_wrename(from.c_str(), directory.c_str()), -1);
    PlatStat info;
    ASSERT_EQ(plat_wstat(directory.c_str(), &info), 0);
    EXPECT_EQ(info.mode, PLAT_MODE_DIR);
    EXPECT_EQ(content(from), "new");

    // A missing source does not cost the target its content.
    const WStr missing = scratch_ + W(u"\\missing.txt");
    EXPECT_EQ(plat_wrename(missing.c_str(), from.c_str()), -1);
    EXPECT_EQ(content(from), "new");

    EXPECT_EQ(plat_wrename(from.c_str(), (scratch_ + W(u"\\bad?.txt")).c_str()), -1);
    EXPECT_EQ(plat_wrename(nullptr, from.c_str()), -1);
    EXPECT_EQ(plat_wrename(from.c_str(), nullptr), -1);
    EXPECT_EQ(content(from), "new");
}
