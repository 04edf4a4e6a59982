#include "ezu_test.h"
#include "str_ops_test_util.h"

#include <limits.h>

EZU_TEST_SUITE(FindTest);
EZU_TEST_SUITE(SubstringTest);

TEST_F(FindTest, CaseSensitiveFindReturnsByteOffsets) {
    const TStr s("abcabc");
    EXPECT_EQ(s.find("b"), 1);
    EXPECT_EQ(s.find("b", 2), 4);
    EXPECT_EQ(s.find("bc", 4), 4);
    EXPECT_EQ(s.find("z"), -1);
    EXPECT_EQ(s.find("B"), -1);
    EXPECT_EQ(s.find(TStr("ca")), 2);
    EXPECT_EQ(s.find('c', 3), 5);
    EXPECT_EQ(s.find("abcabcx"), -1);
}

TEST_F(FindTest, CaseInsensitiveFoldsOnlyAsciiLetters) {
    EXPECT_EQ(TStr("abc").find("B", 0, false), 1);
    EXPECT_EQ(TStr("ABC").find("bc", 0, false), 1);
    EXPECT_EQ(TStr("aXbxc").find("xC", 2, false), 3);
    EXPECT_EQ(TStr("a[b").find("{", 0, false), -1);            // "[" and "{" do not fold
    EXPECT_EQ(u8("\xC3\xA9x").find("\xC3\x89", 0, false), -1); // no folding beyond ASCII
    EXPECT_EQ(TStr("abc").find('C', 0, false), 2);
}

TEST_F(FindTest, EmptyAndNullNeedles) {
    const TStr s("abc");
    EXPECT_EQ(s.find("", 2), 2);
    EXPECT_EQ(s.find(""), 0);
    EXPECT_EQ(s.find("", 3), 3); // the end of the text is a position
    EXPECT_EQ(s.find("", 4), -1);
    EXPECT_EQ(s.find(TStr()), -1);
    EXPECT_EQ(s.find(static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(s.find(TStr(""), 1), 1);
}

TEST_F(FindTest, OutOfRangeStartAndTextWithoutBlock) {
    const TStr s("abc");
    EXPECT_EQ(s.find("a", 9), -1);
    EXPECT_EQ(s.find("a", -1), -1);
    EXPECT_EQ(s.find("a", INT_MAX), -1);
    EXPECT_EQ(TStr().find("a"), -1);
    EXPECT_EQ(TStr().find(""), -1);
    EXPECT_EQ(TStr("").find(""), 0);
}

TEST_F(FindTest, StartCountsCharactersResultCountsBytes) {
    // 'é' (2 bytes) 'a' '€' (3 bytes) 'a'
    const TStr s = u8("\xC3\xA9"
                      "a\xE2\x82\xAC"
                      "a");
    EXPECT_EQ(s.find("a"), 2);
    EXPECT_EQ(s.find("a", 2), 6); // from the third character, '€'
    EXPECT_EQ(s.find("A", 2, false), 6);
    EXPECT_EQ(s.find("\xE2\x82\xAC"), 3);
    EXPECT_EQ(s.find("", 4), 7); // the end, in bytes
    EXPECT_EQ(s.find("", 5), -1);
}

TEST_F(FindTest, LowerTierRejectsNullNeedleAndBuffer) {
    Buf s(str_from_ascii("abc"));
    EXPECT_EQ(str_find(s, nullptr, 0, true), -1);
    EXPECT_EQ(str_find(s, nullptr, 0, false), -1);
    EXPECT_EQ(str_find(nullptr, "a", 0, true), -1);
    Buf null_state(str_new());
    EXPECT_EQ(str_find(null_state, "", 0, false), -1);
}

TEST_F(SubstringTest, LeftClamps) {
    const TStr s("abc");
    EXPECT_EQ(s.left(2), "ab");
    EXPECT_EQ(s.left(0), "");
    EXPECT_EQ(s.left(-1), "abc");
    EXPECT_EQ(s.left(9), "abc");
    EXPECT_EQ(s.left(3), "abc");
    EXPECT_EQ(u8("\xC3\xA9\xE2\x82\xAC!").left(2), u8("\xC3\xA9\xE2\x82\xAC"));
}

TEST_F(SubstringTest, MidStartsInCharactersAndCountsBytes) {
    const TStr s("abc");
    EXPECT_EQ(s.mid(1, 1), "b");
    EXPECT_EQ(s.mid(1, -1), "bc");
    EXPECT_EQ(s.mid(1), "bc");
    EXPECT_EQ(s.mid(5, 1), "");
    EXPECT_EQ(s.mid(3, 1), "");
    EXPECT_EQ(s.mid(0, 99), "abc");
    EXPECT_EQ(s.mid(0, 0), "");
    EXPECT_EQ(s.mid(-1, 2), "");
    EXPECT_EQ(TStr().mid(0, 1), "");
    EXPECT_FALSE(TStr().mid(0, 1).isNull());
}

TEST_F(SubstringTest, MidNeverEndsInsideACharacter) {
    // 'x' 'é' (C3 A9) '€' (E2 82 AC)
    const TStr s = u8("x\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(s.mid(1, 2), u8("\xC3\xA9"));
    EXPECT_EQ(s.mid(1, 1), "");             // half of 'é' is left out
    EXPECT_EQ(s.mid(1, 4), u8("\xC3\xA9")); // so is two thirds of '€'
    EXPECT_EQ(s.mid(1, 5), u8("\xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(s.mid(2, 3), u8("\xE2\x82\xAC"));
}

TEST_F(SubstringTest, RightClamps) {
    const TStr s("abc");
    EXPECT_EQ(s.right(2), "bc");
    EXPECT_EQ(s.right(0), "");
    EXPECT_EQ(s.right(3), "abc");
    EXPECT_EQ(s.right(9), "abc");
    EXPECT_EQ(s.right(-1), "");
    EXPECT_EQ(s.right(INT_MAX), "abc");
    EXPECT_EQ(u8("a\xC3\xA9\xE2\x82\xAC").right(2), u8("\xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(TStr().right(1), "");
}

TEST_F(SubstringTest, CopiesLeaveTheSourceAlone) {
    TStr s("abcdef");
    const char* view = s.ascii();
    EXPECT_EQ(s.left(2), "ab");
    EXPECT_EQ(s.mid(2, 2), "cd");
    EXPECT_EQ(s.right(2), "ef");
    EXPECT_EQ(s, "abcdef");
    EXPECT_EQ(s.ascii(), view); // the view survives: nothing changed
}

TEST_F(SubstringTest, TruncateCutsInPlace) {
    TStr s("abcdef");
    char* cut = s.truncate(3);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(*cut, 0);
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.truncate(4), nullptr); // shorter than 4: nothing happens
    EXPECT_EQ(s, "abc");
    EXPECT_NE(s.truncate(3), nullptr);
    EXPECT_EQ(s, "abc");
    EXPECT_NE(s.truncate(0), nullptr);
    EXPECT_EQ(s, "");
    EXPECT_FALSE(s.isNull());
    TStr none;
    EXPECT_EQ(none.truncate(0), nullptr);
    EXPECT_TRUE(none.isNull());
    TStr multi = u8("\xC3\xA9\xC3\xA9");
    multi.truncate(1);
    EXPECT_EQ(multi, u8("\xC3\xA9"));
}

TEST_F(SubstringTest, TruncateDropsTheView) {
    TStr s("abcdef");
    EXPECT_STREQ(s.ascii(), "abcdef");
    s.truncate(2);
    EXPECT_STREQ(s.ascii(), "ab");
}

TEST_F(SubstringTest, RepeatToFillsAndCuts) {
    Buf ab(str_from_ascii("ab"));
    Buf five(str_repeat_to(ab, 5));
    EXPECT_EQ(text_of(five), "ababa");
    Buf four(str_repeat_to(ab, 4));
    EXPECT_EQ(text_of(four), "abab");
    Buf one(str_repeat_to(ab, 1));
    EXPECT_EQ(text_of(one), "a");
    Buf zero(str_repeat_to(ab, 0));
    EXPECT_EQ(text_of(zero), "");
    Buf negative(str_repeat_to(ab, -3));
    EXPECT_EQ(text_of(negative), "");
    Buf multi(str_from_utf8("\xC3\xA9z"));
    Buf three(str_repeat_to(multi, 3));
    EXPECT_EQ(text_of(three), "\xC3\xA9z\xC3\xA9");
}

TEST_F(SubstringTest, RepeatToOfEmptyTextEnds) {
    Buf empty(str_from_ascii(""));
    Buf result(str_repeat_to(empty, 10));
    EXPECT_EQ(text_of(result), "");
    Buf null_state(str_new());
    Buf from_null(str_repeat_to(null_state, INT_MAX));
    EXPECT_EQ(text_of(from_null), "");
}

TEST_F(SubstringTest, RepeatToBeyondAnyBlockGivesNoRecord) {
    Buf ab(str_from_ascii("abcdefgh"));
    // INT_MAX characters of 1 byte fit no block below INT_MAX - 16 bytes.
    EXPECT_EQ(str_repeat_to(ab, INT_MAX), nullptr);
}
