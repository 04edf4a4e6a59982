// Bad input to the path text and file-system functions, TEzuPath and the
// in-memory device: the rows of docs/bad-input.md that the other io tests do
// not check. Each test is named after its row.
#include "ezu_test.h"

#include "ezu/ezu.h"
#include "ezu/platform/platform.h"
#include "scratch_dir.h"

#include <limits.h>

#include <string>

EZU_TEST_SUITE(IoBadInput);

namespace {

std::string text_of(const StrBuf* buf) {
    return buf && buf->data ? std::string(buf->data) : std::string("<null>");
}

} // namespace

TEST_F(IoBadInput, FsNullPath) {
    FsStat info;
    EXPECT_EQ(fs_stat(nullptr, &info), 0);
    EXPECT_EQ(fs_exists(nullptr), 0);
    EXPECT_EQ(fs_is_file(nullptr), 0);
    EXPECT_EQ(fs_is_dir(nullptr), 0);
    EXPECT_EQ(fs_size(nullptr), 0);
    EXPECT_EQ(fs_is_writable(nullptr), 0);
    EXPECT_EQ(fs_is_readable(nullptr), 0);
    EXPECT_EQ(fs_make_dir(nullptr), -1);
    EXPECT_EQ(fs_remove_dir(nullptr), -1);
    EXPECT_EQ(fs_remove_file(nullptr), -1);
    EXPECT_EQ(fs_rename(nullptr, nullptr), -1);
    EXPECT_EQ(fs_open(nullptr, "rb"), nullptr);
    EXPECT_EQ(fs_change_dir(nullptr), 0);
    EXPECT_EQ(fs_link_target(nullptr), nullptr);
    EXPECT_EQ(fs_copy_mode(nullptr, nullptr), -1);
    EXPECT_EQ(fs_set_read_only(nullptr, 1), -1);
    EXPECT_EQ(fs_remove_on_interrupt(nullptr, nullptr), 0); // forgets
    fs_set_binary_mode(nullptr);                            // nothing to do
}

TEST_F(IoBadInput, FsOpenBadMode) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("mode.txt");
    ASSERT_TRUE(ScratchDir::writeFile(name, "x"));
    StrBuf* path = str_from_utf8(name.c_str());
    for (const char* mode : {"", "q", "rr", "rbb", "r+w", "wx"})
        EXPECT_EQ(fs_open(path, mode), nullptr) << mode;
    EXPECT_EQ(fs_open(path, nullptr), nullptr);
    str_free(path);
}

TEST_F(IoBadInput, PathTextNullBuffer) {
    path_normalize(nullptr);
    path_join(nullptr, nullptr);
    path_prepend(nullptr, nullptr);
    EXPECT_EQ(path_split_leaf(nullptr), nullptr);
    EXPECT_EQ(path_split_first(nullptr), nullptr);
    StrBuf* leaf = path_leaf(nullptr);
    StrBuf* dir = path_directory(nullptr);
    StrBuf* ext = path_extension(nullptr);
    EXPECT_TRUE(str_is_empty(leaf));
    EXPECT_TRUE(str_is_empty(dir));
    EXPECT_TRUE(str_is_empty(ext));
    str_free(leaf);
    str_free(dir);
    str_free(ext);
    // The absolute form of nothing is the current directory.
    StrBuf* absolute = path_absolute(nullptr);
    StrBuf* current = fs_current_dir();
    EXPECT_EQ(text_of(absolute), text_of(current));
    str_free(absolute);
    str_free(current);
}

TEST_F(IoBadInput, PathNullCountsAndData) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    TStr name;
    name.assignUtf8(scratch.file("counts.bin").c_str());
    TEzuPath path(name);
    ASSERT_TRUE(path.open(ioWrite));
    EXPECT_EQ(path.write(nullptr, 4), 0);
    EXPECT_EQ(path.write("abcd", 0), 0);
    EXPECT_EQ(path.write("abcd", -1), 0);
    EXPECT_EQ(path.write("abcd", INT_MIN), 0);
    EXPECT_EQ(path.write("ab", 2), 2);
    path.close();
    char out[4] = {'x', 'x', 'x', 'x'};
    ASSERT_TRUE(path.open(ioRead));
    EXPECT_EQ(path.read(nullptr, 4), 0);
    EXPECT_EQ(path.read(out, -1), 0);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(path.read(out, 4), 2);
    path.close();
    EXPECT_EQ(path.size(), 2);
}

TEST_F(IoBadInput, PathEmptyText) {
    TEzuPath empty;
    EXPECT_FALSE(empty.open(ioRead));
    EXPECT_FALSE(empty.open(ioWrite));
    EXPECT_FALSE(empty.exists());
    EXPECT_FALSE(empty.isFile());
    EXPECT_FALSE(empty.isDirectory());
    EXPECT_EQ(empty.size(), 0);
    EXPECT_EQ(empty.remove(), -1);
    EXPECT_EQ(empty.renameTo(TStr("anything")), -1);
}

TEST_F(IoBadInput, StrDeviceNullOrNegativeCounts) {
    TStr target("abc");
    TEzuStrIODevice device(target);
    device.open(ioRead | ioWrite);
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(device.read(out, -2), 0);
    EXPECT_EQ(device.read(nullptr, 2), 0);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(device.write(nullptr, 2), 0);
    EXPECT_EQ(device.write("de", -1), 0);
    EXPECT_TRUE(target == "abc");
}

TEST_F(IoBadInput, TempNullArguments) {
    EXPECT_FALSE(probeNewFile(nullptr, false));
    EXPECT_FALSE(probeNewFile("", false));
    EXPECT_FALSE(makePath(nullptr));
    EXPECT_FALSE(makePath(""));
    TStr none;
    EXPECT_TRUE(ensureTrailingBackslash(none));
    EXPECT_TRUE(none == "\\");
}

TEST_F(IoBadInput, TempNullPrefix) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string old = plat_getenv("TMPDIR") ? plat_getenv("TMPDIR") : "";
    const bool had = plat_getenv("TMPDIR") != nullptr;
    ASSERT_EQ(plat_setenv("TMPDIR", scratch.path().c_str()), 0);
    // No prefix is an empty one: the name is the unique part alone.
    TEzuPath name(tempFileName(nullptr, true));
    plat_setenv("TMPDIR", had ? old.c_str() : nullptr);
    ASSERT_FALSE(name.isEmpty());
    EXPECT_TRUE(name.leaf().length() == 6) << name.ascii();
    EXPECT_TRUE(name.isFile());
    EXPECT_EQ(name.remove(), 0);
}
