#include "ezu_test.h"
#include "str_ops_test_util.h"

EZU_TEST_SUITE(SeparatorTest);
EZU_TEST_SUITE(DriveTest);

namespace {

TStr appended(const TStr& text, const TStr& other, const TStr& sep) {
    TStr s(text);
    s.appendWithSeparator(other, sep);
    return s;
}

TStr prepended(const TStr& text, const TStr& other, const TStr& sep) {
    TStr s(text);
    s.prependWithSeparator(other, sep);
    return s;
}

} // namespace

TEST_F(SeparatorTest, AppendPutsExactlyOneSeparatorAtTheSeam) {
    EXPECT_EQ(appended("a", "b", ":"), "a:b");   // neither has one
    EXPECT_EQ(appended("a:", ":b", ":"), "a:b"); // both: one is dropped
    EXPECT_EQ(appended("a:", "b", ":"), "a:b");  // only the text
    EXPECT_EQ(appended("a", ":b", ":"), "a:b");  // only the other part
    EXPECT_EQ(appended("a:b:", "c", ":"), "a:b:c");
    EXPECT_EQ(appended("a", "b", "::"), "a::b");
    EXPECT_EQ(appended("a::", "::b", "::"), "a::b");
}

TEST_F(SeparatorTest, AppendDropsOnlyOneLeadingSeparator) {
    EXPECT_EQ(appended("a:", "::b", ":"), "a::b");
    EXPECT_EQ(appended("a::", "b", ":"), "a::b");
    EXPECT_EQ(appended("a::", "::b", ":"), "a:::b");
}

TEST_F(SeparatorTest, AppendEdges) {
    EXPECT_EQ(appended("a", "", ":"), "a");
    EXPECT_EQ(appended("a", TStr(), ":"), "a");
    EXPECT_EQ(appended("", "b", ":"), ":b"); // empty text has a block
    EXPECT_EQ(appended("a", "b", ""), "ab");
    EXPECT_EQ(appended("a", "b", TStr()), "ab");
    EXPECT_EQ(appended(u8("\xC3\xA9"), u8("\xE2\x82\xAC"), "/"), u8("\xC3\xA9/\xE2\x82\xAC"));
}

TEST_F(SeparatorTest, NullStateTakesTheOtherPartAlone) {
    // (A copy of a null-state TStr is empty text, so these start from TStr().)
    TStr a;
    a.appendWithSeparator("b", ":");
    EXPECT_EQ(a, "b");
    TStr b;
    b.appendWithSeparator(":b", ":");
    EXPECT_EQ(b, ":b");
    TStr c;
    c.prependWithSeparator("a:", ":");
    EXPECT_EQ(c, "a:");
    TStr d;
    d.appendWithSeparator("", ":");
    d.prependWithSeparator(TStr(), ":");
    EXPECT_TRUE(d.isNull());
}

TEST_F(SeparatorTest, AppendWithItselfAsPartOrSeparator) {
    TStr s("ab");
    s.appendWithSeparator(s, "-");
    EXPECT_EQ(s, "ab-ab");
    TStr t("x");
    t.appendWithSeparator("y", t);
    EXPECT_EQ(t, "xy"); // "x" already ends with the separator "x"
}

TEST_F(SeparatorTest, PrependMirrorsAppend) {
    EXPECT_EQ(prepended("b", "a", ":"), "a:b");
    EXPECT_EQ(prepended(":b", "a:", ":"), "a:b");
    EXPECT_EQ(prepended("b", "a:", ":"), "a:b");
    EXPECT_EQ(prepended(":b", "a", ":"), "a:b");
    EXPECT_EQ(prepended("::b", "a:", ":"), "a::b");
    EXPECT_EQ(prepended("b", "a::", ":"), "a::b");
    EXPECT_EQ(prepended("b", "a", "::"), "a::b");
}

TEST_F(SeparatorTest, PrependEdges) {
    EXPECT_EQ(prepended("b", "", ":"), "b");
    EXPECT_EQ(prepended("b", TStr(), ":"), "b");
    EXPECT_EQ(prepended("", "a", ":"), "a:");
    EXPECT_EQ(prepended("b", "a", TStr()), "ab");
    TStr s("ab");
    s.prependWithSeparator(s, "-");
    EXPECT_EQ(s, "ab-ab");
}

TEST_F(SeparatorTest, LowerTierGrowsTheBlockOnce) {
    Buf s(str_from_ascii("dir"));
    Buf part(str_from_ascii("file"));
    Buf sep(str_from_ascii("\\"));
    str_append_sep(s, part, sep);
    EXPECT_EQ(text_of(s), "dir\\file");
    EXPECT_EQ(s->capacity, 9); // both parts, one separator and the terminator
    str_prepend_sep(s, sep, nullptr);
    EXPECT_EQ(text_of(s), "\\dir\\file");
    str_append_sep(s, part, nullptr);
    EXPECT_EQ(text_of(s), "\\dir\\filefile");
}

TEST_F(SeparatorTest, SeparatorsDropTheView) {
    TStr s("a");
    EXPECT_STREQ(s.ascii(), "a");
    s.appendWithSeparator("b", "/");
    EXPECT_STREQ(s.ascii(), "a/b");
    s.prependWithSeparator("c", "/");
    EXPECT_STREQ(s.ascii(), "c/a/b");
}

TEST_F(DriveTest, SecondCharacterColonInALongerText) {
    Buf drive(str_from_ascii("c:\\x"));
    EXPECT_TRUE(str_has_drive(drive));
    Buf relative(str_from_ascii("c:x"));
    EXPECT_TRUE(str_has_drive(relative));
    Buf bare(str_from_ascii("c:"));
    EXPECT_FALSE(str_has_drive(bare));
    Buf plain(str_from_ascii("abc"));
    EXPECT_FALSE(str_has_drive(plain));
    Buf first(str_from_ascii(":ab"));
    EXPECT_FALSE(str_has_drive(first));
    Buf multi(str_from_utf8("\xC3\xA9:x"));
    EXPECT_TRUE(str_has_drive(multi)); // characters, not bytes
    Buf none(str_new());
    EXPECT_FALSE(str_has_drive(none));
}
