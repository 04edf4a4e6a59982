#include "ezu_test.h"
#include "str_ops_test_util.h"

EZU_TEST_SUITE(CaseTest);
EZU_TEST_SUITE(TrimTest);

TEST_F(CaseTest, OnlyAsciiLettersChange) {
    EXPECT_EQ(TStr("aZ1").upper(), "AZ1");
    EXPECT_EQ(TStr("aZ1").lower(), "az1");
    EXPECT_EQ(TStr("@[`{").upper(), "@[`{");
    EXPECT_EQ(TStr("@[`{").lower(), "@[`{");
    EXPECT_EQ(TStr("").upper(), "");
    EXPECT_FALSE(TStr().upper().isNull()); // a copy of the null state is empty text
}

TEST_F(CaseTest, BytesAbove127AreUnchanged) {
    EXPECT_EQ(u8("\xC3\xA9"
                 "a\xC3\x89"
                 "B")
                  .upper(),
              u8("\xC3\xA9"
                 "A\xC3\x89"
                 "B"));
    EXPECT_EQ(u8("\xC3\xA9"
                 "a\xC3\x89"
                 "B")
                  .lower(),
              u8("\xC3\xA9"
                 "a\xC3\x89"
                 "b"));
}

TEST_F(CaseTest, StepsCharacterByCharacter) {
    // A malformed three-byte lead swallows the two letters after it: they are
    // part of its character and stay as they are.
    Buf raw(str_new());
    str_resize(raw, 8);
    memcpy(raw->data, "x\xE0yzw", 6);
    str_upper(raw);
    EXPECT_EQ(text_of(raw), "X\xE0yzW");
    str_lower(raw);
    EXPECT_EQ(text_of(raw), "x\xE0yzw");
}

TEST_F(CaseTest, CopiesLeaveTheSourceAlone) {
    const TStr s("MiXed");
    EXPECT_EQ(s.upper(), "MIXED");
    EXPECT_EQ(s.lower(), "mixed");
    EXPECT_EQ(s, "MiXed");
}

TEST_F(TrimTest, TrimmedRemovesOuterWhiteSpace) {
    EXPECT_EQ(TStr(" \t a b \r\n").trimmed(), "a b");
    EXPECT_EQ(TStr("\v\fx\v\f").trimmed(), "x");
    EXPECT_EQ(TStr("ab").trimmed(), "ab");
    EXPECT_EQ(TStr("a  b").trimmed(), "a  b");
    EXPECT_EQ(TStr("\x08x\x0E").trimmed(), "\x08x\x0E"); // 0x08 and 0x0E are not white
}

TEST_F(TrimTest, SimplifiedJoinsInnerRunsWithOneBlank) {
    EXPECT_EQ(TStr(" \t a b \r\n").simplified(), "a b");
    EXPECT_EQ(TStr("  a \t\n b  c ").simplified(), "a b c");
    EXPECT_EQ(TStr("ab").simplified(), "ab");
    EXPECT_EQ(TStr("a\tb").simplified(), "a b");
    EXPECT_EQ(TStr("a\r\n\r\nb").simplified(), "a b");
    EXPECT_EQ(u8("\xC3\xA9  \xE2\x82\xAC").simplified(), u8("\xC3\xA9 \xE2\x82\xAC"));
}

TEST_F(TrimTest, AllWhiteBecomesEmptyText) {
    for (const char* text : {"", " ", " \t\n\v\f\r "}) {
        const TStr t = TStr(text).trimmed();
        const TStr s = TStr(text).simplified();
        EXPECT_EQ(t, "") << text;
        EXPECT_EQ(s, "") << text;
        EXPECT_FALSE(t.isNull());
        EXPECT_FALSE(s.isNull());
    }
}

TEST_F(TrimTest, LowerTierWorksInPlaceAndKeepsNullState) {
    Buf s(str_from_ascii("  x  y  "));
    char* block = s->data;
    str_trim(s);
    EXPECT_EQ(text_of(s), "x  y");
    str_simplify(s);
    EXPECT_EQ(text_of(s), "x y");
    EXPECT_EQ(s->data, block); // in place: same block
    Buf none(str_new());
    str_trim(none);
    str_simplify(none);
    str_upper(none);
    str_lower(none);
    EXPECT_EQ(none->data, nullptr);
}
