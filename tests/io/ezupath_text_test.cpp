// TEzuPath as a string: path text methods, text changes and copies.
#include "ezu_test.h"
#include "io_test_util.h"

EZU_TEST_SUITE(PathClassText);

TEST_F(PathClassText, ConstructionForms) {
    EXPECT_EQ(textOf(TEzuPath()), "");
    EXPECT_EQ(textOf(TEzuPath("C:\\x")), "C:\\x");
    EXPECT_EQ(textOf(TEzuPath("\xC3\xA9")), "??") << "const char* is read as 7-bit text";
    EXPECT_EQ(textOf(TEzuPath(utf8("C:\\\xC3\xA9"))), "C:\\\xC3\xA9");
    Buf buf("C:\\dir");
    TEzuPath from_buf(buf.get());
    EXPECT_EQ(textOf(from_buf), "C:\\dir");
    EXPECT_NE(from_buf.buffer(), buf.get()) << "the caller keeps its buffer";
    EXPECT_FALSE(from_buf.isOpen());
}

TEST_F(PathClassText, LeafAndExtensionNormaliseButKeepThePath) {
    TEzuPath path("C:\\dir\\file.txt");
    EXPECT_EQ(textOf(path.leaf()), "file.txt");
    EXPECT_EQ(textOf(path.extension()), "txt");
    EXPECT_EQ(textOf(path), "C:\\dir\\file.txt");

    TEzuPath slashed("C:/a.b/c");
    EXPECT_EQ(textOf(slashed.extension()), "b\\c");
    EXPECT_EQ(textOf(slashed), "C:\\a.b\\c");
    EXPECT_EQ(textOf(TEzuPath("name").extension()), "");
    EXPECT_EQ(textOf(TEzuPath("name").leaf()), "name");
}

TEST_F(PathClassText, NormalisingInPlaceRefreshesTheEncodedViews) {
    TEzuPath path("C:/dir/file.txt");
    EXPECT_STREQ(path.ascii(), "C:/dir/file.txt");
    path.leaf();
    EXPECT_STREQ(path.ascii(), "C:\\dir\\file.txt");
}

TEST_F(PathClassText, ParentAndDirectory) {
    EXPECT_EQ(textOf(TEzuPath("C:\\dir\\file.txt").parent()), "C:\\dir");
    EXPECT_EQ(textOf(TEzuPath("C:\\file.txt").parent()), "C:");
    EXPECT_TRUE(TEzuPath("file.txt").parent().isEmpty());
    EXPECT_TRUE(TEzuPath("\\file.txt").parent().isEmpty());

    TEzuPath path("C:\\dir\\file.txt");
    EXPECT_EQ(textOf(path.directory(false)), "C:\\dir");
    EXPECT_EQ(textOf(path.directory(true)), "C:\\dir");
    EXPECT_EQ(textOf(path), "C:\\dir\\file.txt");

    Buf cwd(fs_current_dir());
    EXPECT_EQ(textOf(TEzuPath("file.txt").directory(true)), cwd.text());
    EXPECT_EQ(textOf(TEzuPath("sub\\file.txt").directory(true)), currentDirJoined("sub"));
}

TEST_F(PathClassText, AbsoluteAndJoin) {
    TEzuPath sub("sub");
    EXPECT_EQ(textOf(sub.absolute()), currentDirJoined("sub"));
    EXPECT_EQ(textOf(sub.absoluteJoin("x")), currentDirJoined("sub\\x"));
    EXPECT_EQ(textOf(sub.join("x")), "sub\\x");
    EXPECT_EQ(textOf(sub.join(TStr("\\x"))), "sub\\x");
    EXPECT_EQ(textOf(sub), "sub");

    TEzuPath complete("C:\\dir\\");
    EXPECT_EQ(textOf(complete.absolute()), "C:\\dir\\");
    EXPECT_EQ(textOf(complete.absoluteJoin("\\f")), "C:\\dir\\f");
    EXPECT_EQ(textOf(complete.join("")), "C:\\dir\\");
    EXPECT_EQ(textOf(TEzuPath().join("name")), "name");
}

TEST_F(PathClassText, SetTextCopiesAndNullTextEmptiesThePath) {
    TEzuPath path("C:\\old");
    EXPECT_EQ(path.setText(TStr("C:\\new\\x")), 8);
    EXPECT_EQ(textOf(path), "C:\\new\\x");
    EXPECT_EQ(path.setText(utf8("\xC3\xA9")), 2) << "byte length";
    EXPECT_EQ(path.setText(path), 2);
    EXPECT_EQ(textOf(path), "\xC3\xA9");
    EXPECT_EQ(path.setText(TStr()), 0);
    EXPECT_TRUE(path.isEmpty());
}

TEST_F(PathClassText, StripLeafKeepsTheDirectoryInPlace) {
    TEzuPath path("C:\\dir\\file.txt");
    EXPECT_STREQ(path.ascii(), "C:\\dir\\file.txt");
    EXPECT_TRUE(path.stripLeaf());
    EXPECT_EQ(textOf(path), "C:\\dir");
    EXPECT_STREQ(path.ascii(), "C:\\dir");
    EXPECT_TRUE(path.stripLeaf());
    EXPECT_EQ(textOf(path), "C:");
    EXPECT_TRUE(path.stripLeaf());
    EXPECT_TRUE(path.isEmpty());
}

TEST_F(PathClassText, CopiesAndAssignmentCopyTheText) {
    TEzuPath a("C:\\a");
    TEzuPath b(a);
    EXPECT_EQ(textOf(b), "C:\\a");
    EXPECT_NE(a.buffer(), b.buffer());
    TEzuPath c("x");
    c = a;
    EXPECT_EQ(textOf(c), "C:\\a");
    const TEzuPath& same = c;
    c = same;
    EXPECT_EQ(textOf(c), "C:\\a");
    // A path is a string: string operations work on its text.
    c += "\\b";
    EXPECT_EQ(textOf(c.leaf()), "b");
}

TEST_F(PathClassText, BackslashedTurnsSlashRunsIntoOneBackslash) {
    EXPECT_EQ(textOf(backslashed("a//b/")), "a\\b");
    EXPECT_EQ(textOf(backslashed("/x/y")), "x\\y");
    EXPECT_EQ(textOf(backslashed("a\\b")), "a\\b");
    TStr source("c:/x");
    backslashed(source);
    EXPECT_EQ(textOf(source), "c:/x");
}

TEST_F(PathClassText, DeletingThroughTheStringFaceDestroysThePath) {
    TStr* text = new TEzuPath("C:\\dir\\file.txt");
    EXPECT_EQ(textOf(*text), "C:\\dir\\file.txt");
    delete text; // the leak check of the fixture catches a partial destruction
}
