// TStr: the two empty states, capacity, views and their cache, multi-byte
// text, hash values, concatenation and exports.
#include "ezu_test.h"

#include "ezu/ezu.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

EZU_TEST_SUITE(TStrTest);

namespace {

TStr utf8(const char* text) {
    return TStr(text, int(strlen(text)), ENC_UTF8);
}

int capacity(const TStr& s) {
    return s.buffer()->capacity;
}

} // namespace

TEST_F(TStrTest, NullAndEmptyAreBothEmptyButUnequal) {
    const TStr null_state;
    const TStr empty("");
    EXPECT_TRUE(null_state.isEmpty());
    EXPECT_TRUE(null_state.isNull());
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(null_state != empty);
    EXPECT_TRUE(empty == TStr(""));
    EXPECT_TRUE(TStr(static_cast<const char*>(nullptr)).isNull());

    const TStr copy(null_state); // a copy of the null state is empty text
    EXPECT_FALSE(copy.isNull());
    EXPECT_TRUE(copy != null_state);
    TStr assigned("x");
    assigned = null_state;
    EXPECT_FALSE(assigned.isNull());
    EXPECT_TRUE(assigned == "");

    TStr appended;
    appended += TStr();
    EXPECT_TRUE(appended.isNull());
    appended += "";
    EXPECT_FALSE(appended.isNull());
    EXPECT_TRUE(appended.isEmpty());

    EXPECT_TRUE(null_state == static_cast<const char*>(nullptr));
    EXPECT_TRUE(empty != static_cast<const char*>(nullptr));
    EXPECT_TRUE("" == empty);
    EXPECT_TRUE("" != null_state);
    EXPECT_FALSE(ezuEmptyStr.isNull());
    EXPECT_TRUE(ezuEmptyStr.isEmpty());
}

TEST_F(TStrTest, Construction) {
    EXPECT_TRUE(TStr("a\xE9"
                     "b") == "a?b"); // 8-bit text is read as 7-bit ASCII
    EXPECT_TRUE(TStr('q') == "q");
    EXPECT_TRUE(TStr('\xE9') == "?");
    EXPECT_FALSE(TStr('\0').isNull());
    EXPECT_TRUE(TStr('\0').isEmpty());
    EXPECT_TRUE(TStr(0x20ACu) == "\xE2\x82\xAC");
    EXPECT_TRUE(TStr(0x1F600u) == "\xF0\x9F\x98\x80");

    const char bytes[] = "abc";
    EXPECT_TRUE(TStr(bytes, 3, 7).isNull());
    EXPECT_TRUE(TStr(bytes, 3, -1).isNull());
    EXPECT_TRUE(TStr(bytes, 0, ENC_ASCII) == "");
    EXPECT_TRUE(TStr(bytes, 100, ENC_ASCII) == "abc"); // reading stops at the zero byte

    TStr adopted = TStr::adopt(str_from_ascii("kept"));
    EXPECT_TRUE(adopted == "kept");
    EXPECT_TRUE(TStr::adopt(nullptr).isNull());
}

TEST_F(TStrTest, WideStrings) {
    const EzuWChar xy[] = {0x78, 0x79, 0};
    const TStr s = ezuFromWide(xy);
    EXPECT_TRUE(s == "xy");
    EXPECT_EQ(s.length(), 2);
    const EzuWChar pair[] = {0x61, 0xD83D, 0xDE00, 0};
    EXPECT_TRUE(ezuFromWide(pair) == "a\xF0\x9F\x98\x80");
    const EzuWChar none[] = {0};
    EXPECT_TRUE(ezuFromWide(none) == "");
    EXPECT_TRUE(ezuFromWide(nullptr).isNull());

    // Round trip through the wide view.
    const TStr back = ezuFromWide(utf8("\xC3\xA9t\xC3\xA9").utf16le());
    EXPECT_TRUE(back == "\xC3\xA9t\xC3\xA9");
}

TEST_F(TStrTest, AssignForms) {
    TStr s("hello world");
    s.assign("abc", 2);
    EXPECT_TRUE(s == "ab");
    s.assign("\xE9z");
    EXPECT_TRUE(s == "?z");
    EXPECT_TRUE(s.assignUtf8("\xC3\xA9"));
    EXPECT_EQ(s.length(), 1);
    const unsigned char le[] = {'h', 0, 'i', 0, 0, 0};
    const unsigned char be[] = {0, 'h', 0, 'o', 0, 0};
    const unsigned char bom_be[] = {0xFE, 0xFF, 0, 'o', 0, 'k'};
    const uint32_t wide32[] = {'u', 0x20AC, 0};
    EXPECT_TRUE(s.assignUtf16le(le, 6));
    EXPECT_TRUE(s == "hi");
    EXPECT_TRUE(s.assignUtf16be(be, 6));
    EXPECT_TRUE(s == "ho");
    EXPECT_TRUE(s.assignUtf16bom(bom_be, 6));
    EXPECT_TRUE(s == "ok");
    EXPECT_TRUE(s.assignUtf32(wide32, 12));
    EXPECT_TRUE(s == "u\xE2\x82\xAC");

    // The source may be the string's own view.
    TStr own("view text");
    own.assign(own.ascii() + 5);
    EXPECT_TRUE(own == "text");
    own.assignUtf16le(own.utf16le(), 4);
    EXPECT_TRUE(own == "te");
}

TEST_F(TStrTest, CapacityAfterAssignmentAndAppend) {
    TStr a("a");
    EXPECT_EQ(capacity(a), 2);
    a += "b";
    EXPECT_TRUE(a == "ab");
    EXPECT_EQ(capacity(a), 4);
    a += 'c';
    EXPECT_EQ(capacity(a), 6);

    TStr big("a much longer text");
    big.assign("short"); // a large enough block is kept
    EXPECT_EQ(capacity(big), 19);
    big = TStr("xyz"); // a copy has exactly the room of its text
    EXPECT_EQ(capacity(big), 4);

    EXPECT_NE(big.reserve(40), nullptr);
    EXPECT_EQ(capacity(big), 41);
    EXPECT_TRUE(big == "xyz");
    EXPECT_EQ(big.reserve(INT_MAX), nullptr);
    EXPECT_EQ(capacity(big), 41);
    EXPECT_TRUE(big == "xyz");
}

TEST_F(TStrTest, SelfAssignmentAndSelfAppend) {
    TStr a("ab");
    TStr& same = a;
    a = same;
    EXPECT_TRUE(a == "ab");
    a += a;
    EXPECT_TRUE(a == "abab");
    a.append(a);
    EXPECT_TRUE(a == "abababab");
    a += a.ascii(); // text from its own view
    EXPECT_EQ(a.length(), 16);
}

TEST_F(TStrTest, ConcatenationOperators) {
    const TStr left("x");
    EXPECT_TRUE(left + TStr("y") == "xy");
    EXPECT_TRUE(left + "yz" == "xyz");
    EXPECT_TRUE(left + '!' == "x!");
    EXPECT_TRUE(left + 0xE9u == "x\xC3\xA9");
    EXPECT_TRUE(left == "x"); // unchanged
    EXPECT_TRUE(TStr() + "a" == "a");
    TStr s("a");
    s += TStr();
    EXPECT_TRUE(s == "a");
    s += 0x20ACu;
    EXPECT_EQ(s.length(), 2);
}

TEST_F(TStrTest, MultiByteText) {
    const TStr e = utf8("\xC3\xA9");
    EXPECT_EQ(e.length(), 1);
    EXPECT_EQ(e.charAt(0), static_cast<int>(static_cast<signed char>(0xC3)));
    EXPECT_EQ(e.charAt(0), -61);
    EXPECT_EQ(e.charAt(1), 0);
    EXPECT_EQ(e.charAt(-1), 0);
    EXPECT_STREQ(e.ascii(), "?");
    const unsigned char expected[] = {0xE9, 0x00, 0x00, 0x00};
    EXPECT_EQ(memcmp(e.utf16le(), expected, sizeof expected), 0);

    const TStr mixed = utf8("a\xE2\x82\xAC"
                            "b");
    EXPECT_EQ(mixed.length(), 3);
    EXPECT_EQ(mixed.charAt(2), 'b');
    EXPECT_STREQ(mixed.ascii(), "a?b");
}

TEST_F(TStrTest, HashValues) {
    EXPECT_EQ(TStr("ab").hash(), 0x6162);
    EXPECT_EQ(TStr("abcd").hash(), 0x61626364);
    EXPECT_EQ(TStr("abcde").hash(), 0x64636261);
    EXPECT_EQ(TStr().hash(), 0);
    EXPECT_EQ(TStr("").hash(), 0);
    // A byte above 127 is sign-extended and sets every bit above it.
    EXPECT_EQ(utf8("\xC3\xA9").hash(), int(0xFFFFFFA9u));
    EXPECT_EQ(utf8("a\xC3\xA9").hash(), int(0xFFFFFFA9u));
    EXPECT_EQ(utf8("\xC3\xA9"
                   "abc")
                  .hash(),
              int(0x6261A9C3u));
}

TEST_F(TStrTest, ViewIsCachedPerEncoding) {
    TStr s("AB");
    const unsigned char ab16[] = {0x41, 0x00, 0x42, 0x00, 0x00, 0x00};
    const EzuWChar* first = s.utf16le();
    EXPECT_EQ(memcmp(first, ab16, sizeof ab16), 0);
    EXPECT_EQ(s.utf16le(), first);

    // One view block at a time: another encoding replaces it.
    const int blocks = mem_blocks_in_use();
    EXPECT_STREQ(s.ascii(), "AB");
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    const unsigned char ab16be[] = {0x00, 0x41, 0x00, 0x42, 0x00, 0x00};
    EXPECT_EQ(memcmp(s.utf16be(), ab16be, sizeof ab16be), 0);
    EXPECT_EQ(mem_blocks_in_use(), blocks);

    // A change drops the view; the destructor releases it.
    s += "C";
    EXPECT_EQ(mem_blocks_in_use(), blocks - 1);
    EXPECT_STREQ(s.ascii(), "ABC");
    s.assign("D");
    EXPECT_STREQ(s.ascii(), "D");
    s = TStr("E");
    EXPECT_STREQ(s.ascii(), "E");
    s.assignUtf8("F");
    EXPECT_STREQ(s.ascii(), "F");
    {
        TStr scoped("scoped");
        scoped.utf16le();
    }
    EXPECT_EQ(mem_blocks_in_use(), blocks);

    // Copies never take the view with them.
    const TStr copy(s);
    EXPECT_EQ(mem_blocks_in_use(), blocks + 2);
}

TEST_F(TStrTest, ViewBlockLayout) {
    const TStr s("hi");
    const char* text = s.ascii();
    int32_t stored;
    memcpy(&stored, text - 4, sizeof stored);
    EXPECT_EQ(stored, ENC_ASCII);
    EXPECT_EQ(text[2], 0);
    EXPECT_EQ(text[3], 0); // the spare zero byte

    const unsigned char* wide = reinterpret_cast<const unsigned char*>(s.utf16be());
    memcpy(&stored, wide - 4, sizeof stored);
    EXPECT_EQ(stored, ENC_UTF16BE);

    const TStr null_state;
    EXPECT_STREQ(null_state.ascii(), "");
    EXPECT_EQ(null_state.utf16le()[0], 0);
}

TEST_F(TStrTest, ByteOrderMarkView) {
    const TStr a("A");
    const unsigned char* v = static_cast<const unsigned char*>(a.utf16bom());
    const unsigned char expected[] = {0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00};
    EXPECT_EQ(memcmp(v, expected, sizeof expected), 0);
    const TStr empty("");
    const unsigned char* e = static_cast<const unsigned char*>(empty.utf16bom());
    EXPECT_EQ(e[0] | e[1], 0); // no mark for empty text
}

TEST_F(TStrTest, ExportsWithExactAndShortRoom) {
    const TStr s("abc");
    char out[16];
    memset(out, 'z', sizeof out);
    EXPECT_FALSE(s.exportAscii(out, 3));
    EXPECT_EQ(out[0], 'z');
    EXPECT_TRUE(s.exportAscii(out, 4));
    EXPECT_STREQ(out, "abc");
    EXPECT_FALSE(s.exportTo(out, 16, 6));

    EXPECT_FALSE(s.exportUtf8(out, 3));
    EXPECT_TRUE(s.exportUtf8(out, 4));
    EXPECT_STREQ(out, "abc");

    unsigned char wide[16];
    EXPECT_FALSE(s.exportUtf16le(wide, 7));
    EXPECT_TRUE(s.exportUtf16le(wide, 8));
    const unsigned char le[] = {'a', 0, 'b', 0, 'c', 0, 0, 0};
    EXPECT_EQ(memcmp(wide, le, sizeof le), 0);
    EXPECT_FALSE(s.exportUtf16be(wide, 7));
    EXPECT_TRUE(s.exportUtf16be(wide, 8));
    const unsigned char be[] = {0, 'a', 0, 'b', 0, 'c', 0, 0};
    EXPECT_EQ(memcmp(wide, be, sizeof be), 0);
    EXPECT_FALSE(s.exportUtf16bom(wide, 9));
    EXPECT_TRUE(s.exportUtf16bom(wide, 10));
    const unsigned char bom[] = {0xFF, 0xFE, 'a', 0, 'b', 0, 'c', 0, 0, 0};
    EXPECT_EQ(memcmp(wide, bom, sizeof bom), 0);

    uint32_t units[4];
    EXPECT_FALSE(s.exportUtf32(units, 15));
    EXPECT_TRUE(s.exportUtf32(units, 16));
    EXPECT_EQ(units[0], uint32_t('a'));
    EXPECT_EQ(units[2], uint32_t('c'));
    EXPECT_EQ(units[3], 0u);
}

TEST_F(TStrTest, SizedExportAndNewBlocks) {
    const TStr s = utf8("a\xC3\xA9");
    char out[8];
    int size = 1;
    EXPECT_EQ(s.exportAsciiSized(out, &size), 0);
    EXPECT_GT(size, 3);
    EXPECT_EQ(s.exportAsciiSized(out, &size), size - 1);
    EXPECT_STREQ(out, "a?");

    EXPECT_STREQ(s.toAscii(out, 8), "a?");
    EXPECT_STREQ(s.toUtf8(out, 8), "a\xC3\xA9");
    EXPECT_STREQ(s.toUtf8(out, 2), ""); // too small: empty text

    char* ascii = s.newAscii();
    EXPECT_STREQ(ascii, "a?");
    mem_free(ascii);
    char* same = static_cast<char*>(s.newUtf8());
    EXPECT_STREQ(same, "a\xC3\xA9");
    mem_free(same);
    unsigned char* bom = static_cast<unsigned char*>(TStr("x").newUtf16bom());
    const unsigned char expected[] = {0xFF, 0xFE, 'x', 0, 0, 0};
    EXPECT_EQ(memcmp(bom, expected, sizeof expected), 0);
    mem_free(bom);
}
