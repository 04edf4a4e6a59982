// The in-memory device over a TStr.
#include "ezu_test.h"
#include "io_test_util.h"

#include <string.h>

EZU_TEST_SUITE(StrDevice);

TEST_F(StrDevice, GetcWalksTheTextAndReportsTheEnd) {
    TStr text("abc");
    TEzuStrIODevice device(text);
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.getc(), 0x61);
    EXPECT_EQ(device.getc(), 0x62);
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.getc(), 0x63);
    EXPECT_EQ(device.atEnd(), 1);
    EXPECT_EQ(device.getc(), -1);
    EXPECT_EQ(device.atEnd(), 1);
    EXPECT_EQ(textOf(text), "abc");
}

TEST_F(StrDevice, UngetcMovesBackWithoutChangingTheTarget) {
    TStr text("abc");
    TEzuStrIODevice fresh(&text);
    EXPECT_EQ(fresh.ungetc('x'), -1);

    TEzuStrIODevice device(text);
    device.getc();
    device.getc();
    device.getc();
    EXPECT_EQ(device.ungetc('x'), 0x78);
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.getc(), 0x63);
    EXPECT_EQ(textOf(text), "abc");
}

TEST_F(StrDevice, ReadNeedsTheReadBitOfTheLastOpen) {
    TStr text("abc");
    TEzuStrIODevice device(text);
    char buf[16];
    memset(buf, '#', sizeof buf);
    EXPECT_EQ(device.read(buf, 2), 0) << "never opened";

    EXPECT_TRUE(device.open(ioRead));
    EXPECT_EQ(device.read(buf, 2), 2);
    EXPECT_EQ(std::string(buf, 3), "ab#") << "no terminator is added";
    EXPECT_EQ(device.read(buf, 10), 1);
    EXPECT_EQ(buf[0], 'c');
    EXPECT_EQ(device.read(buf, 10), 0);
    EXPECT_EQ(device.atEnd(), 1);

    device.ungetc(0);
    EXPECT_TRUE(device.open(ioWrite));
    EXPECT_EQ(device.read(buf, 10), 0) << "opened without the read bit";
    device.close();
    EXPECT_TRUE(device.open(ioRead | ioText));
    EXPECT_EQ(device.read(buf, 10), 1) << "open keeps the position";
    EXPECT_EQ(device.read(buf, -1), 0);
    EXPECT_EQ(textOf(text), "abc");
}

TEST_F(StrDevice, WriteAppendsAtTheEndWhereverReadingStands) {
    TStr text("abc");
    TEzuStrIODevice device(text);
    EXPECT_EQ(device.getc(), 'a');
    EXPECT_EQ(device.write("de", 2), 2);
    EXPECT_EQ(textOf(text), "abcde");
    EXPECT_EQ(device.getc(), 0x62);

    // Reading stops at a zero byte; the count is still reported accepted.
    EXPECT_EQ(device.write("ab\0cd", 5), 5);
    EXPECT_EQ(textOf(text), "abcdeab");

    // UTF-8 arrives as characters, read back through the 7-bit view.
    EXPECT_EQ(device.write("\xC3\xA9", 2), 2);
    EXPECT_EQ(text.length(), 8);
    EXPECT_EQ(device.write("x", 0), 0);
    EXPECT_EQ(device.write("x", -3), 0);
    EXPECT_EQ(text.length(), 8);
}

TEST_F(StrDevice, AppendedTextIsReadableAtOnce) {
    TStr text("a");
    TEzuStrIODevice device(text);
    device.open(ioRead);
    char c;
    EXPECT_EQ(device.read(&c, 1), 1);
    EXPECT_EQ(device.atEnd(), 1);
    text += "b";
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.read(&c, 1), 1);
    EXPECT_EQ(c, 'b');
}

TEST_F(StrDevice, PutcAppendsOneSevenBitCharacter) {
    TStr text("a");
    TEzuStrIODevice device(text);
    EXPECT_EQ(device.putc('b'), 'b');
    EXPECT_EQ(device.putc(0xE9), 0xE9);
    EXPECT_EQ(textOf(text), "ab?");
    EXPECT_EQ(device.putc(0), 0);
    EXPECT_EQ(textOf(text), "ab?");

    TStr null_state;
    TEzuStrIODevice into_null(null_state);
    EXPECT_EQ(into_null.putc('z'), 'z');
    EXPECT_EQ(textOf(null_state), "z");
}

TEST_F(StrDevice, CharactersAboveSevenBitsReadAsQuestionMarkOrSignExtendedLead) {
    TStr text = utf8("\xC3\xA9x");
    TEzuStrIODevice reader(text);
    reader.open(ioRead);
    char buf[4] = {0};
    EXPECT_EQ(reader.read(buf, 4), 2);
    EXPECT_EQ(buf[0], 0x3F);
    EXPECT_EQ(buf[1], 'x');

    TEzuStrIODevice getter(text);
    EXPECT_EQ(getter.getc(), -61);
    EXPECT_EQ(getter.getc(), 'x');
    EXPECT_EQ(getter.getc(), -1);
}

TEST_F(StrDevice, WorksThroughTheInterfaceAndLeavesTheTargetOnDestruction) {
    TStr text("xy");
    {
        TEzuIODevice* device = new TEzuStrIODevice(text);
        EXPECT_TRUE(device->open(ioRead | ioWrite | ioUpdate));
        EXPECT_EQ(device->getc(), 'x');
        device->putc('z');
        device->close();
        EXPECT_EQ(device->getc(), 'y') << "close has no effect";
        delete device;
    }
    EXPECT_EQ(textOf(text), "xyz");

    TStr empty;
    TEzuStrIODevice over_null(empty);
    EXPECT_EQ(over_null.atEnd(), 1);
    EXPECT_EQ(over_null.getc(), -1);
}
