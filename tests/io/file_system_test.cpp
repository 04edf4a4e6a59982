// File-system functions, in a scratch directory under the temporary directory.
#include "ezu_test.h"
#include "io_test_util.h"
#include "scratch_dir.h"

#include <ctype.h>

EZU_TEST_SUITE(FileSystem);

namespace {

// "d", i with diaeresis, "r-", and the CJK character U+4E2D.
const char kUnicodeName[] = "d\xC3\xAFr-\xE4\xB8\xAD";

// Returns to the directory that was current at construction.
class CurrentDirKeeper {
  public:
    CurrentDirKeeper() : saved_(fs_current_dir()) {}
    ~CurrentDirKeeper() {
        EXPECT_EQ(fs_change_dir(saved_), 1);
        str_free(saved_);
    }

  private:
    StrBuf* saved_;
};

} // namespace

TEST_F(FileSystem, CurrentDirectoryHasADriveAndIsTheBaseOfRelativePaths) {
    Buf cwd(fs_current_dir());
    const std::string text = cwd.text();
    ASSERT_GE(text.size(), 3u);
    EXPECT_TRUE(isalpha(static_cast<unsigned char>(text[0]))) << text;
    EXPECT_EQ(text.substr(1, 2), ":\\") << text;
    EXPECT_EQ(text.find('/'), std::string::npos) << text;

    Buf relative("some\\file");
    Buf complete(path_absolute(relative));
    EXPECT_EQ(complete.text().compare(0, text.size(), text), 0) << complete.text();
    EXPECT_EQ(complete.text(), currentDirJoined("some\\file"));
}

TEST_F(FileSystem, ChangeDirMovesTheCurrentDirectoryAndNormalises) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string sub = scratch.dir("sub");
    ASSERT_EQ(fs_make_dir(Buf(sub.c_str())), 0);
    {
        CurrentDirKeeper keep;
        std::string slashed = sub;
        for (char& c : slashed)
            c = c == '\\' ? '/' : c;
        Buf target(slashed.c_str());
        ASSERT_EQ(fs_change_dir(target), 1);
        EXPECT_EQ(target.text(), sub);
        Buf now(fs_current_dir());
        const std::string text = now.text();
        ASSERT_GE(text.size(), 4u);
        EXPECT_EQ(text.substr(text.size() - 4), "\\sub") << text;

        // A relative name now reaches into the new current directory.
        ASSERT_TRUE(ScratchDir::writeFile(scratch.file("sub\\here.txt"), "x"));
        EXPECT_EQ(fs_is_file(Buf("here.txt")), 1);

        Buf missing("no-such-directory");
        EXPECT_EQ(fs_change_dir(missing), 0);
        Buf still(fs_current_dir());
        EXPECT_EQ(still.text(), text);
    }
}

TEST_F(FileSystem, KindsAndSizeOfFilesDirectoriesAndMissingPaths) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string file = scratch.file("data.bin");
    ASSERT_TRUE(ScratchDir::writeFile(file, std::string("12345\0"
                                                        "789",
                                                        9)));

    Buf f(file.c_str());
    EXPECT_EQ(fs_exists(f), 1);
    EXPECT_EQ(fs_is_file(f), 1);
    EXPECT_EQ(fs_is_dir(f), 0);
    EXPECT_EQ(fs_size(f), 9);
    FsStat info;
    EXPECT_EQ(fs_stat(f, &info), 1);
    EXPECT_EQ(info.size, 9);

    Buf d(scratch.path().c_str());
    EXPECT_EQ(fs_exists(d), 1);
    EXPECT_EQ(fs_is_file(d), 0);
    EXPECT_EQ(fs_is_dir(d), 1);

    Buf missing((scratch.path() + "\\missing").c_str());
    EXPECT_EQ(fs_exists(missing), 0);
    EXPECT_EQ(fs_is_file(missing), 0);
    EXPECT_EQ(fs_is_dir(missing), 0);
    EXPECT_EQ(fs_size(missing), 0);
    EXPECT_EQ(fs_stat(missing, &info), 0);
}

TEST_F(FileSystem, QueriesNormaliseTheCallersText) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    std::string slashed = scratch.path();
    for (char& c : slashed)
        c = c == '\\' ? '/' : c;
    Buf path(slashed.c_str());
    EXPECT_EQ(fs_exists(path), 1);
    EXPECT_EQ(path.text(), scratch.path());
}

TEST_F(FileSystem, WildcardsBareDrivesAndRootsFollowTheWindowsRules) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string drive = scratch.path().substr(0, 2);
    EXPECT_EQ(fs_exists(Buf(drive.c_str())), 0) << drive;
    Buf root((drive + "\\").c_str());
    EXPECT_EQ(fs_exists(root), 1);
    EXPECT_EQ(fs_is_dir(root), 1);
    EXPECT_EQ(fs_exists(Buf((scratch.path() + "\\*").c_str())), 0);
    EXPECT_EQ(fs_exists(Buf((scratch.path() + "\\?").c_str())), 0);
    EXPECT_EQ(fs_exists(Buf("")), 0);
}

TEST_F(FileSystem, AccessTestsOnAReadOnlyFile) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string file = scratch.file("locked.txt");
    ASSERT_TRUE(ScratchDir::writeFile(file, "abc"));
    Buf f(file.c_str());
    EXPECT_EQ(fs_is_writable(f), 1);
    EXPECT_EQ(fs_is_readable(f), 1);

    ASSERT_TRUE(ScratchDir::setReadOnly(file, true));
    EXPECT_EQ(fs_is_writable(f), 0);
    EXPECT_EQ(fs_is_readable(f), 1);
    EXPECT_EQ(fs_open(f, "wb"), nullptr);
    EXPECT_EQ(fs_open(f, "r+b"), nullptr);
    EXPECT_EQ(fs_remove_file(f), -1);
    EXPECT_TRUE(ScratchDir::exists(file));

    ASSERT_TRUE(ScratchDir::setReadOnly(file, false));
    EXPECT_EQ(fs_remove_file(f), 0);
    EXPECT_FALSE(ScratchDir::exists(file));

    Buf missing((scratch.path() + "\\missing").c_str());
    EXPECT_EQ(fs_is_writable(missing), 0);
    EXPECT_EQ(fs_is_readable(missing), 0);
}

TEST_F(FileSystem, MakeDirCreatesOneLevelAndRemovalKeepsTheRuntimeResults) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string level = scratch.dir("new");
    Buf dir(level.c_str());
    EXPECT_EQ(fs_make_dir(dir), 0);
    EXPECT_EQ(fs_is_dir(dir), 1);
    EXPECT_EQ(fs_make_dir(dir), -1) << "exists already";

    Buf deeper((scratch.path() + "\\absent\\deeper").c_str());
    EXPECT_EQ(fs_make_dir(deeper), -1);
    EXPECT_FALSE(ScratchDir::exists(scratch.path() + "\\absent"));

    EXPECT_EQ(fs_remove_file(dir), -1) << "a directory is not a file";
    EXPECT_EQ(fs_is_dir(dir), 1);

    const std::string file = scratch.file("new\\inside.txt");
    ASSERT_TRUE(ScratchDir::writeFile(file, "x"));
    EXPECT_EQ(fs_remove_dir(dir), -1) << "not empty";
    EXPECT_EQ(fs_remove_dir(Buf(file.c_str())), -1) << "a file is not a directory";
    EXPECT_EQ(fs_remove_file(Buf(file.c_str())), 0);
    EXPECT_EQ(fs_remove_file(Buf(file.c_str())), -1) << "already gone";
    EXPECT_EQ(fs_remove_dir(dir), 0);
    EXPECT_EQ(fs_exists(dir), 0);
    EXPECT_EQ(fs_remove_dir(dir), -1);
}

TEST_F(FileSystem, OpenRefusesEmptyPathsAndReportsFailureAsNull) {
    EXPECT_EQ(fs_open(Buf(""), "rb"), nullptr);
    EXPECT_EQ(fs_open(Buf(str_new()), "wb"), nullptr);
    Buf slashes("//");
    EXPECT_EQ(fs_open(slashes, "rb"), nullptr);
    EXPECT_EQ(slashes.text(), "\\\\");

    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("open.txt");
    Buf path(name.c_str());
    EXPECT_EQ(fs_open(path, "rb"), nullptr) << "missing";
    EXPECT_EQ(fs_open(path, "b"), nullptr) << "neither read nor write";
    EXPECT_EQ(fs_open(path, nullptr), nullptr);
    EXPECT_FALSE(ScratchDir::exists(name));

    FILE* out = fs_open(path, "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(fwrite("hello", 1, 5, out), 5u);
    fclose(out);
    EXPECT_EQ(ScratchDir::readFile(name), "hello");

    FILE* in = fs_open(path, "rb");
    ASSERT_NE(in, nullptr);
    char text[8] = {0};
    EXPECT_EQ(fread(text, 1, sizeof text, in), 5u);
    fclose(in);
    EXPECT_STREQ(text, "hello");
}

TEST_F(FileSystem, NonAsciiNamesAreCreatedFoundWrittenAndReadBack) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string dir = scratch.dir(kUnicodeName);
    const std::string file = scratch.file(std::string(kUnicodeName) + "\\" + kUnicodeName + ".txt");

    Buf d(dir.c_str());
    ASSERT_EQ(fs_make_dir(d), 0);
    EXPECT_EQ(fs_is_dir(d), 1);
    EXPECT_TRUE(ScratchDir::exists(dir)) << "the name reaches the system intact";

    Buf f(file.c_str());
    FILE* out = fs_open(f, "wb");
    ASSERT_NE(out, nullptr);
    fputs("content", out);
    fclose(out);
    EXPECT_EQ(ScratchDir::readFile(file), "content");
    EXPECT_EQ(fs_is_file(f), 1);
    EXPECT_EQ(fs_size(f), 7);
    EXPECT_EQ(fs_is_readable(f), 1);
    EXPECT_EQ(fs_is_writable(f), 1);

    {
        CurrentDirKeeper keep;
        ASSERT_EQ(fs_change_dir(d), 1);
        Buf now(fs_current_dir());
        const std::string text = now.text();
        const std::string tail = std::string("\\") + kUnicodeName;
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
        Buf leaf(path_leaf(f));
        EXPECT_EQ(fs_size(leaf), 7) << "found relative to the new current directory";
    }
    EXPECT_EQ(fs_remove_file(f), 0);
    EXPECT_EQ(fs_remove_dir(d), 0);
}

TEST_F(FileSystem, ReplaceHelpersSetAndCarryTheReadOnlyStateAndFollowNoPlainFile) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string old_file = scratch.file("old.txt");
    const std::string new_file = scratch.file("new.txt");
    ASSERT_TRUE(ScratchDir::writeFile(old_file, "old"));
    ASSERT_TRUE(ScratchDir::writeFile(new_file, "new"));
    Buf old_path(old_file.c_str());
    Buf new_path(new_file.c_str());
    Buf missing((scratch.path() + "\\missing").c_str());

    // The read-only state goes on and off; a missing file fails.
    ASSERT_EQ(fs_set_read_only(old_path, 1), 0);
    EXPECT_EQ(fs_is_writable(old_path), 0);
    EXPECT_EQ(fs_set_read_only(missing, 1), -1);

    // Permission bits travel from the old file to the new one where the
    // system keeps them; Windows keeps none and changes nothing.
    EXPECT_EQ(fs_copy_mode(old_path, new_path), 0);
    EXPECT_EQ(fs_is_writable(new_path), kTestingOnWindows ? 1 : 0);
    EXPECT_EQ(fs_copy_mode(missing, new_path), kTestingOnWindows ? 0 : -1);
    ASSERT_EQ(fs_set_read_only(old_path, 0), 0);
    ASSERT_EQ(fs_set_read_only(new_path, 0), 0);
    EXPECT_EQ(fs_is_writable(old_path), 1);
    EXPECT_EQ(fs_is_writable(new_path), 1);

    // A plain file or a missing one is no link: nothing to follow.
    EXPECT_EQ(fs_link_target(old_path), nullptr);
    EXPECT_EQ(fs_link_target(missing), nullptr);

    // Registering a file for removal on interruption and forgetting it
    // leaves the file alone.
    EXPECT_EQ(fs_remove_on_interrupt(new_path, nullptr), 0);
    EXPECT_EQ(fs_remove_on_interrupt(nullptr, nullptr), 0);
    EXPECT_TRUE(ScratchDir::exists(new_file));
}
