// TEzuPath as a device and as a face of the file system, on real files in a
// scratch directory.
#include "ezu_test.h"
#include "io_test_util.h"
#include "scratch_dir.h"

#include <string.h>

EZU_TEST_SUITE(PathClassFile);

namespace {

std::string readAll(TEzuPath& path) {
    std::string content;
    char chunk[64];
    int n;
    while ((n = path.read(chunk, int(sizeof chunk))) > 0)
        content.append(chunk, size_t(n));
    return content;
}

} // namespace

TEST_F(PathClassFile, ReadAndWriteModes) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("modes.bin");
    TEzuPath path(utf8(name));

    EXPECT_FALSE(path.open(ioRead)) << "missing file";
    EXPECT_FALSE(path.isOpen());

    ASSERT_TRUE(path.open(ioWrite));
    EXPECT_EQ(path.write("abc", 3), 3);
    path.close();
    EXPECT_EQ(ScratchDir::readFile(name), "abc");

    ASSERT_TRUE(path.open(ioRead));
    EXPECT_EQ(readAll(path), "abc");
    EXPECT_EQ(path.write("x", 1), 0) << "read-only stream";
    path.close();

    ASSERT_TRUE(path.open(ioRead | ioWrite)) << "write wins";
    path.close();
    EXPECT_EQ(ScratchDir::readFile(name), "") << "'wb' empties the file";
}

TEST_F(PathClassFile, UpdateModes) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("update.bin");
    TEzuPath path(utf8(name));
    EXPECT_FALSE(path.open(ioRead | ioUpdate)) << "'r+b' needs the file";

    ASSERT_TRUE(ScratchDir::writeFile(name, "abc"));
    ASSERT_TRUE(path.open(ioRead | ioUpdate));
    EXPECT_EQ(path.getc(), 'a');
    EXPECT_EQ(path.rewind(), 0);
    EXPECT_EQ(path.putc('X'), 'X');
    path.close();
    EXPECT_EQ(ScratchDir::readFile(name), "Xbc") << "'r+b' keeps the content";

    ASSERT_TRUE(path.open(ioWrite | ioUpdate));
    EXPECT_EQ(path.write("xy", 2), 2);
    EXPECT_EQ(path.rewind(), 0);
    EXPECT_EQ(readAll(path), "xy") << "'w+b' truncates and reads back";
    path.close();
}

TEST_F(PathClassFile, TextModeDiffersFromBinaryOnlyOnWindows) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("text.txt");
    TEzuPath path(utf8(name));
    ASSERT_TRUE(path.open(ioWrite | ioText));
    EXPECT_EQ(path.write("a\nb", 3), 3);
    path.close();
    EXPECT_EQ(ScratchDir::readFile(name), kTestingOnWindows ? "a\r\nb" : "a\nb");

    ASSERT_TRUE(path.open(ioRead | ioText));
    EXPECT_EQ(readAll(path), "a\nb");
    path.close();
    ASSERT_TRUE(path.open(ioRead));
    EXPECT_EQ(readAll(path), kTestingOnWindows ? "a\r\nb" : "a\nb");
    path.close();

    ASSERT_TRUE(path.open(ioWrite | ioUpdate | ioText));
    path.write("c\n", 2);
    path.rewind();
    EXPECT_EQ(readAll(path), "c\n");
    path.close();
}

TEST_F(PathClassFile, ModesWithoutReadOrWriteAreRefused) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("refused.bin");
    TEzuPath path(utf8(name));
    for (int mode : {0, int(ioUpdate), int(ioText), ioUpdate | ioText}) {
        EXPECT_FALSE(path.open(mode)) << mode;
        EXPECT_FALSE(path.isOpen());
        path.close();
    }
    EXPECT_FALSE(ScratchDir::exists(name));
    ASSERT_TRUE(path.open(ioWrite)) << "usable after failed opens";
    path.close();
    EXPECT_TRUE(ScratchDir::exists(name));

    TEzuPath empty;
    EXPECT_FALSE(empty.open(ioWrite));
    EXPECT_FALSE(empty.isOpen());
}

TEST_F(PathClassFile, EndOfFileIsSetByReadingPastTheLastByte) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("three.bin");
    ASSERT_TRUE(ScratchDir::writeFile(name, "abc"));
    TEzuPath path(utf8(name));
    ASSERT_TRUE(path.open(ioRead));
    char buf[3];
    EXPECT_EQ(path.read(buf, 3), 3);
    EXPECT_EQ(path.atEnd(), 0);
    EXPECT_EQ(path.getc(), -1);
    EXPECT_EQ(path.atEnd(), 1);
    EXPECT_EQ(path.rewind(), 0);
    EXPECT_EQ(path.atEnd(), 0);
    EXPECT_EQ(path.getc(), 'a');
    EXPECT_EQ(path.read(buf, 0), 0);
    EXPECT_EQ(path.read(buf, -1), 0);
    EXPECT_EQ(path.read(buf, 3), 2);
    EXPECT_EQ(path.atEnd(), 1) << "a short read ran into the end";
    path.close();
}

TEST_F(PathClassFile, SingleBytesAndPushBack) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("bytes.bin");
    TEzuPath path(utf8(name));
    ASSERT_TRUE(path.open(ioWrite));
    EXPECT_EQ(path.putc(0x1E9), 0xE9) << "low eight bits";
    EXPECT_EQ(path.putc('a'), 'a');
    path.close();
    EXPECT_EQ(ScratchDir::readFile(name), "\xE9"
                                          "a");

    ASSERT_TRUE(path.open(ioRead));
    EXPECT_EQ(path.getc(), 0xE9) << "bytes come back as 0 to 255";
    EXPECT_EQ(path.ungetc('Q'), 'Q');
    EXPECT_EQ(path.getc(), 'Q');
    EXPECT_EQ(path.getc(), 'a');
    EXPECT_EQ(path.getc(), -1);
    EXPECT_EQ(path.ungetc(-1), -1);
    path.close();
}

TEST_F(PathClassFile, DeviceCallsOnAPathThatIsNotOpenFail) {
    TEzuPath never("never-opened.bin");
    char buf[4] = {0};
    EXPECT_EQ(never.read(buf, 4), 0);
    EXPECT_EQ(never.write("x", 1), 0);
    EXPECT_EQ(never.getc(), -1);
    EXPECT_EQ(never.putc('x'), -1);
    EXPECT_EQ(never.ungetc('x'), -1);
    EXPECT_EQ(never.atEnd(), 1);
    EXPECT_EQ(never.rewind(), -1);
    never.close();

    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    TEzuPath closed(utf8(scratch.file("closed.bin")));
    ASSERT_TRUE(closed.open(ioWrite));
    closed.close();
    closed.close();
    EXPECT_EQ(closed.write("x", 1), 0);
    EXPECT_EQ(closed.getc(), -1);
    EXPECT_EQ(closed.rewind(), -1);
    EXPECT_EQ(closed.atEnd(), 1);
}

TEST_F(PathClassFile, StreamsAreClosedWhenReplacedCopiedOverOrDestroyed) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string a_name = scratch.file("a.txt");
    const std::string b_name = scratch.file("b.txt");

    TEzuPath a(utf8(a_name));
    ASSERT_TRUE(a.open(ioWrite));
    a.write("first", 5);
    ASSERT_TRUE(a.open(ioRead)) << "reopening closes (and flushes) the old stream";
    EXPECT_EQ(readAll(a), "first");

    {
        TEzuPath copy(a);
        EXPECT_FALSE(copy.isOpen()) << "a copy starts closed";
        EXPECT_EQ(textOf(copy), a_name);
    }
    EXPECT_TRUE(a.isOpen()) << "the copy left the source's stream alone";
    EXPECT_EQ(a.rewind(), 0);
    EXPECT_EQ(a.getc(), 'f');

    TEzuPath b(utf8(b_name));
    ASSERT_TRUE(b.open(ioWrite));
    b.write("second", 6);
    b = a;
    EXPECT_FALSE(b.isOpen()) << "assignment closes this path's stream";
    EXPECT_TRUE(a.isOpen());
    EXPECT_EQ(ScratchDir::readFile(b_name), "second");
    a.close();

    {
        TEzuPath scoped(utf8(a_name));
        ASSERT_TRUE(scoped.open(ioWrite));
        scoped.write("xyz", 3);
    }
    EXPECT_EQ(ScratchDir::readFile(a_name), "xyz") << "the destructor closed the stream";

    TStr* text = new TEzuPath(utf8(b_name));
    ASSERT_TRUE(static_cast<TEzuPath*>(text)->open(ioWrite));
    static_cast<TEzuPath*>(text)->write("via string", 10);
    delete text;
    EXPECT_EQ(ScratchDir::readFile(b_name), "via string");
}

TEST_F(PathClassFile, QueriesAndRemovalOfFilesDirectoriesAndReadOnlyFiles) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string name = scratch.file("sized.bin");
    ASSERT_TRUE(ScratchDir::writeFile(name, "12345"));

    TEzuPath file(utf8(name));
    EXPECT_TRUE(file.exists() && file.isFile() && !file.isDirectory());
    EXPECT_EQ(file.size(), 5);
    TEzuPath dir(utf8(scratch.path()));
    EXPECT_TRUE(dir.exists() && dir.isDirectory() && !dir.isFile());
    EXPECT_EQ(dir.remove(), -1) << "remove deletes files only";
    TEzuPath missing = dir.join("missing");
    EXPECT_FALSE(missing.exists() || missing.isFile() || missing.isDirectory());
    EXPECT_EQ(missing.size(), 0);
    EXPECT_EQ(missing.remove(), -1);

    ASSERT_TRUE(ScratchDir::setReadOnly(name, true));
    EXPECT_TRUE(file.isReadable());
    EXPECT_FALSE(file.isWritable());
    EXPECT_FALSE(file.open(ioWrite));
    EXPECT_EQ(file.remove(), -1);
    ASSERT_TRUE(ScratchDir::setReadOnly(name, false));
    EXPECT_TRUE(file.isWritable());
    EXPECT_EQ(file.remove(), 0);
    EXPECT_FALSE(file.exists());
}

TEST_F(PathClassFile, ExistsNormalisesTheTextAndItsView) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    std::string slashed = scratch.path();
    for (char& c : slashed)
        c = c == '\\' ? '/' : c;
    TEzuPath path(utf8(slashed));
    EXPECT_EQ(std::string(path.ascii()), asciiOf(slashed));
    EXPECT_TRUE(path.exists());
    EXPECT_EQ(textOf(path), scratch.path());
    EXPECT_EQ(std::string(path.ascii()), asciiOf(scratch.path()));
}

TEST_F(PathClassFile, MakeDirectoryAppendsTheSuffixWithoutSeparator) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string with_sep = scratch.dir("new");
    const std::string glued = scratch.dir("dirnew");
    const std::string dir_name = scratch.dir("dir");

    TEzuPath trailing(utf8(scratch.path() + "\\"));
    EXPECT_TRUE(trailing.makeDirectory("new"));
    EXPECT_TRUE(ScratchDir::exists(with_sep));
    EXPECT_EQ(textOf(trailing), scratch.path() + "\\") << "the path itself is unchanged";
    EXPECT_FALSE(trailing.makeDirectory("new")) << "exists already";

    TEzuPath dir(utf8(dir_name));
    EXPECT_TRUE(dir.makeDirectory(TStr()));
    EXPECT_TRUE(dir.isDirectory());
    EXPECT_TRUE(dir.makeDirectory("new"));
    EXPECT_TRUE(ScratchDir::exists(glued));
    EXPECT_FALSE(ScratchDir::exists(dir_name + "\\new"));

    TEzuPath deep(utf8(scratch.path() + "\\absent\\deeper"));
    EXPECT_FALSE(deep.makeDirectory(""));
}

TEST_F(PathClassFile, NonAsciiPathsRoundTrip) {
    ScratchDir scratch;
    ASSERT_FALSE(scratch.path().empty());
    const std::string dir_name = scratch.dir("\xC3\xA9t\xC3\xA9-\xE6\x96\x87");
    const std::string file_name = scratch.file("\xC3\xA9t\xC3\xA9-\xE6\x96\x87\\\xE6\x96\x87.txt");

    TEzuPath dir(utf8(dir_name));
    ASSERT_TRUE(dir.makeDirectory(""));
    EXPECT_TRUE(dir.isDirectory());
    TEzuPath file = dir.join(utf8("\xE6\x96\x87.txt"));
    EXPECT_EQ(textOf(file), file_name);
    EXPECT_EQ(textOf(file.leaf()), "\xE6\x96\x87.txt");
    EXPECT_EQ(textOf(file.parent()), dir_name);

    ASSERT_TRUE(file.open(ioWrite));
    EXPECT_EQ(file.write("payload", 7), 7);
    file.close();
    EXPECT_EQ(ScratchDir::readFile(file_name), "payload");
    EXPECT_TRUE(file.isFile());
    EXPECT_EQ(file.size(), 7);
    ASSERT_TRUE(file.open(ioRead));
    EXPECT_EQ(readAll(file), "payload");
    file.close();
}
