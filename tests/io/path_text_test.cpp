// Path text: normalisation, completion, joining and splitting. These need no
// file system except the current directory read by path_absolute.
#include "ezu_test.h"
#include "io_test_util.h"

EZU_TEST_SUITE(PathText);

TEST_F(PathText, NormalizeRewritesSlashesInTheCallersBuffer) {
    Buf path("a/b/c");
    char* const block = path.get()->data;
    path_normalize(path);
    EXPECT_EQ(path.text(), "a\\b\\c");
    EXPECT_EQ(path.get()->data, block) << "normalised in place";

    Buf mixed("C:/dir\\x//y");
    path_normalize(mixed);
    EXPECT_EQ(mixed.text(), "C:\\dir\\x\\\\y") << "each slash becomes one backslash";

    Buf null_state(str_new());
    path_normalize(null_state);
    EXPECT_TRUE(str_is_null(null_state));
}

TEST_F(PathText, AbsoluteKeepsCompletePathsAndCopiesThem) {
    for (const char* text : {"C:x", "C:\\dir\\file.txt", "d:/x/y", "C:\\"}) {
        Buf path(text);
        Buf complete(path_absolute(path));
        EXPECT_EQ(complete.text(), text);
        EXPECT_NE(complete.get(), path.get());
        EXPECT_EQ(path.text(), text) << "argument unchanged, not normalised";
    }
}

TEST_F(PathText, AbsoluteJoinsTheCurrentDirectoryToEveryOtherPath) {
    Buf cwd(fs_current_dir());
    ASSERT_FALSE(str_is_empty(cwd));
    // A bare drive, a leading backslash (root of the current drive, or a
    // network path) and plain relative texts are all relative.
    for (const char* text : {"C:", "\\x", "\\\\server\\share", "rel", "rel\\y", "a/b"}) {
        Buf path(text);
        Buf complete(path_absolute(path));
        EXPECT_EQ(complete.text(), currentDirJoined(text)) << text;
        EXPECT_EQ(path.text(), text);
    }
    // Empty text has nothing to join: the current directory itself.
    Buf empty("");
    Buf complete(path_absolute(empty));
    EXPECT_EQ(complete.text(), cwd.text());
}

TEST_F(PathText, JoinPutsExactlyOneSeparatorAtTheSeam) {
    struct Case {
        const char* buf;
        const char* other;
        const char* joined;
    };
    const Case cases[] = {
        {"C:\\dir", "file", "C:\\dir\\file"},     {"C:\\", "file", "C:\\file"},
        {"C:\\dir\\", "\\file", "C:\\dir\\file"}, {"C:\\dir", "\\file", "C:\\dir\\file"},
        {"C:\\dir\\", "file", "C:\\dir\\file"},   {"sub", "x\\y", "sub\\x\\y"},
        {"C:\\dir\\", "\\\\f", "C:\\dir\\\\f"},   {"a/", "b", "a/\\b"},
    };
    for (const Case& c : cases) {
        Buf buf(c.buf);
        Buf other(c.other);
        path_join(buf, other);
        EXPECT_EQ(buf.text(), c.joined) << c.buf << " + " << c.other;
        EXPECT_EQ(other.text(), c.other);
    }
}

TEST_F(PathText, JoinWithNothingChangesNothingAndJoinIntoNothingCopies) {
    Buf dir("C:\\dir");
    Buf empty("");
    Buf null_state(str_new());
    path_join(dir, empty);
    path_join(dir, null_state);
    path_join(dir, nullptr);
    EXPECT_EQ(dir.text(), "C:\\dir");

    Buf target(str_new());
    Buf file("file");
    path_join(target, file);
    EXPECT_EQ(target.text(), "file");
    EXPECT_NE(target.get()->data, file.get()->data);

    // An empty text is no directory: joining a name to it must not turn the
    // name into a path from the root.
    Buf empty_target("");
    path_join(empty_target, file);
    EXPECT_EQ(empty_target.text(), "file");
}

TEST_F(PathText, JoinWithItselfReadsTheTextBeforeGrowing) {
    Buf self("a\\b");
    path_join(self, self);
    EXPECT_EQ(self.text(), "a\\b\\a\\b");
    path_prepend(self, self);
    EXPECT_EQ(self.text(), "a\\b\\a\\b\\a\\b\\a\\b");
}

TEST_F(PathText, PrependMirrorsJoin) {
    struct Case {
        const char* buf;
        const char* other;
        const char* joined;
    };
    const Case cases[] = {
        {"file", "C:\\dir", "C:\\dir\\file"},
        {"file", "C:\\dir\\", "C:\\dir\\file"},
        {"\\file", "C:\\dir\\", "C:\\dir\\file"},
        {"\\file", "C:\\dir", "C:\\dir\\file"},
        {"b\\c", "a", "a\\b\\c"},
    };
    for (const Case& c : cases) {
        Buf buf(c.buf);
        Buf other(c.other);
        path_prepend(buf, other);
        EXPECT_EQ(buf.text(), c.joined) << c.other << " + " << c.buf;
    }
    Buf dir("file");
    Buf empty("");
    path_prepend(dir, empty);
    path_prepend(dir, nullptr);
    EXPECT_EQ(dir.text(), "file");
    Buf target(str_new());
    Buf other("C:\\dir");
    path_prepend(target, other);
    EXPECT_EQ(target.text(), "C:\\dir");
}

TEST_F(PathText, SplitLeafCutsAtTheLastSeparatorButNeverAtIndexZero) {
    struct Case {
        const char* path;
        const char* rest;
        const char* leaf;
    };
    const Case cases[] = {
        {"C:\\dir\\file.txt", "C:\\dir", "file.txt"},
        {"C:\\file.txt", "C:", "file.txt"},
        {"file.txt", "<null>", "file.txt"},
        {"\\file.txt", "<null>", "\\file.txt"},
        {"dir\\", "dir", ""},
        {"a\\\\b", "a\\", "b"},
    };
    for (const Case& c : cases) {
        Buf path(c.path);
        Buf leaf(path_split_leaf(path));
        EXPECT_EQ(leaf.text(), c.leaf) << c.path;
        EXPECT_EQ(path.text(), c.rest) << c.path;
    }
    // The bytes behind the cut are zero: appending continues the shorter text.
    Buf path("C:\\dir\\file");
    str_free(path_split_leaf(path));
    Buf name("x");
    path_join(path, name);
    EXPECT_EQ(path.text(), "C:\\dir\\x");
}

TEST_F(PathText, SplitFirstCutsAtTheFirstSeparatorIncludingIndexZero) {
    Buf path("dir\\sub\\file");
    Buf first(path_split_first(path));
    EXPECT_EQ(first.text(), "dir");
    EXPECT_EQ(path.text(), "sub\\file");
    Buf second(path_split_first(path));
    EXPECT_EQ(second.text(), "sub");
    Buf last(path_split_first(path));
    EXPECT_EQ(last.text(), "file");
    EXPECT_TRUE(str_is_null(path));

    Buf rooted("\\x\\y");
    Buf empty_first(path_split_first(rooted));
    EXPECT_EQ(empty_first.text(), "");
    EXPECT_EQ(rooted.text(), "x\\y");

    // A first level with characters above 127 keeps them.
    Buf accented("d\xC3\xAFr\\x");
    Buf level(path_split_first(accented));
    EXPECT_EQ(level.text(), "d\xC3\xAFr");
}

TEST_F(PathText, LeafAndDirectoryNormaliseButOtherwiseKeepTheArgument) {
    Buf slashed("C:/dir/file.txt");
    Buf leaf(path_leaf(slashed));
    EXPECT_EQ(leaf.text(), "file.txt");
    EXPECT_EQ(slashed.text(), "C:\\dir\\file.txt");
    Buf dir(path_directory(slashed));
    EXPECT_EQ(dir.text(), "C:\\dir");
    EXPECT_EQ(slashed.text(), "C:\\dir\\file.txt");

    Buf bare("file");
    Buf bare_leaf(path_leaf(bare));
    Buf bare_dir(path_directory(bare));
    EXPECT_EQ(bare_leaf.text(), "file");
    EXPECT_TRUE(str_is_empty(bare_dir));
    EXPECT_EQ(bare.text(), "file");

    Buf root_file("C:\\file");
    Buf root_dir(path_directory(root_file));
    EXPECT_EQ(root_dir.text(), "C:");
}

TEST_F(PathText, ExtensionIsTheTextAfterTheLastDotAnywhere) {
    struct Case {
        const char* path;
        const char* extension;
        const char* after;
    };
    const Case cases[] = {
        {"C:\\dir\\prog.exe", "exe", "C:\\dir\\prog.exe"},
        {"C:\\dir\\prog", "", "C:\\dir\\prog"},
        {".profile", "", ".profile"},
        {"archive.tar.gz", "gz", "archive.tar.gz"},
        {"C:\\a.b\\c", "b\\c", "C:\\a.b\\c"},
        {"C:/a.b/c", "b\\c", "C:\\a.b\\c"},
        {"name.", "", "name."},
    };
    for (const Case& c : cases) {
        Buf path(c.path);
        Buf extension(path_extension(path));
        EXPECT_EQ(extension.text(), c.extension) << c.path;
        EXPECT_EQ(path.text(), c.after) << c.path;
    }
    Buf null_state(str_new());
    Buf none(path_extension(null_state));
    EXPECT_EQ(none.text(), "");
}
