// Renaming through the file layer and the path class.
#include "ezu_test.h"
#include "io_test_util.h"
#include "scratch_dir.h"

EZU_TEST_SUITE(FileRename);

namespace {

// A path text written with "/" separators.
std::string forwardSlashes(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

} // namespace

TEST_F(FileRename, FsRenameNormalisesBothPathsAndReplacesTheTarget) {
    ScratchDir scratch;
    const std::string from = scratch.file("from.txt");
    const std::string to = scratch.file("to.txt");
    ASSERT_TRUE(ScratchDir::writeFile(from, "new"));
    ASSERT_TRUE(ScratchDir::writeFile(to, "old"));

    Buf fromBuf(forwardSlashes(from).c_str());
    Buf toBuf(forwardSlashes(to).c_str());
    EXPECT_EQ(fs_rename(fromBuf, toBuf), 0);
    EXPECT_EQ(fromBuf.text(), from);
    EXPECT_EQ(toBuf.text(), to);
    EXPECT_FALSE(ScratchDir::exists(from));
    EXPECT_EQ(ScratchDir::readFile(to), "new");

    // The source is gone now: nothing happens to the target.
    EXPECT_EQ(fs_rename(fromBuf, toBuf), -1);
    EXPECT_EQ(ScratchDir::readFile(to), "new");
}

TEST_F(FileRename, PathRenameKeepsItsTextAndRefusesAReadOnlyTarget) {
    ScratchDir scratch;
    const std::string from = scratch.file("caf\xC3\xA9.txt");
    const std::string to = scratch.file("renamed.txt");
    const std::string locked = scratch.file("locked.txt");
    ASSERT_TRUE(ScratchDir::writeFile(from, "content"));
    ASSERT_TRUE(ScratchDir::writeFile(locked, "kept"));
    ASSERT_TRUE(ScratchDir::setReadOnly(locked, true));

    const TEzuPath path(utf8(forwardSlashes(from)));
    EXPECT_EQ(path.renameTo(utf8(to)), 0);
    EXPECT_EQ(textOf(path), forwardSlashes(from));
    EXPECT_EQ(ScratchDir::readFile(to), "content");

    const TEzuPath renamed(utf8(to));
    EXPECT_EQ(renamed.renameTo(utf8(locked)), -1);
    EXPECT_EQ(ScratchDir::readFile(locked), "kept");
    EXPECT_EQ(ScratchDir::readFile(to), "content");
}
