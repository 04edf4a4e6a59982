#include "ezu_test.h"
#include "str_ops_test_util.h"

#include "test_lcg.h"

#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <string>

EZU_TEST_SUITE(ArgTest);

TEST_F(ArgTest, LowestPlaceholderIsReplacedAndOthersWait) {
    EXPECT_EQ(TStr("%1 and %2").arg("x"), "x and %2");
    EXPECT_EQ(TStr("%1 and %2").arg("x").arg("y"), "x and y");
    EXPECT_EQ(TStr("%1_%2").arg("en").arg("US"), "en_US");
    const TStr once = TStr("%2 before %1").arg("x");
    EXPECT_EQ(once, "%2 before x");
    EXPECT_EQ(once.arg("y"), "y before x");
    EXPECT_EQ(TStr("%9%3%5").arg("a").arg("b").arg("c"), "cab");
}

TEST_F(ArgTest, EveryOccurrenceOfTheLowestIsReplaced) {
    EXPECT_EQ(TStr("%1-%1").arg("x"), "x-x");
    EXPECT_EQ(TStr("%2%1%2%1").arg("a"), "%2a%2a");
    EXPECT_EQ(TStr("%2%1%2%1").arg("a").arg("b"), "baba");
    // More occurrences than the first pass notes down, and a lower
    // placeholder after more of a higher one than that.
    std::string many, xs, twos;
    for (int i = 0; i < 40; ++i) {
        many += "%1-";
        xs += "x-";
        twos += "%2";
    }
    EXPECT_EQ(TStr(many.c_str()).arg("x"), xs.c_str());
    EXPECT_EQ(TStr((many + "%0%1").c_str()).arg("x"), (xs + "%0x").c_str());
    EXPECT_EQ(TStr((twos + "%1").c_str()).arg("x"), (twos + "x").c_str());
    EXPECT_EQ(TStr((twos + "%1").c_str()).arg("x").arg("y"), (std::string(40, 'y') + "x").c_str());
}

TEST_F(ArgTest, PercentPairingTrailingPercentAndZero) {
    EXPECT_EQ(TStr("100% of %1").arg("x"), "100% of x");
    EXPECT_EQ(TStr("%%1").arg("x"), "%%1");
    EXPECT_EQ(TStr("%%%1").arg("x"), "%%x");
    EXPECT_EQ(TStr("a%").arg("x"), "a%");
    EXPECT_EQ(TStr("%1%").arg("x"), "x%");
    EXPECT_EQ(TStr("%0 %1").arg("x"), "%0 x");
    EXPECT_EQ(TStr("%a%1").arg("x"), "%ax");
    // No multi-digit placeholders: '%10' is placeholder 1 and a "0".
    EXPECT_EQ(TStr("%10").arg("x"), "x0");
    EXPECT_EQ(TStr("%10 %2").arg("x").arg("y"), "x0 y");
    // Pairs and the end across the eight-byte steps of the scan.
    EXPECT_EQ(TStr("abcdefg%%1").arg("x"), "abcdefg%%1");
    EXPECT_EQ(TStr("abcdefg%1").arg("x"), "abcdefgx");
    EXPECT_EQ(TStr("abcdefgh%").arg("x"), "abcdefgh%");
    EXPECT_EQ(TStr("abcdefghijklmno%").arg("x"), "abcdefghijklmno%");
}

TEST_F(ArgTest, PatternWithoutPlaceholderIsCopiedAndUnchanged) {
    const TStr pattern("no marks");
    const TStr result = pattern.arg("x");
    EXPECT_EQ(result, "no marks");
    EXPECT_EQ(pattern, "no marks");
    EXPECT_EQ(TStr("%0 %%").arg("x"), "%0 %%");
    // The pattern of a substitution is never changed either.
    const TStr with("<%1>");
    EXPECT_EQ(with.arg("v"), "<v>");
    EXPECT_EQ(with, "<%1>");
    // A placeholder a cut left behind the terminator is no part of the text.
    TStr cut("abc%1 and more");
    cut.truncate(3);
    EXPECT_EQ(cut.arg("x"), "abc");
}

TEST_F(ArgTest, InsertedValueIsNotScannedAgain) {
    EXPECT_EQ(TStr("%1").arg("%1"), "%1");
    EXPECT_EQ(TStr("%1 %2").arg("%2"), "%2 %2");
    EXPECT_EQ(TStr("%1 %2").arg("%2").arg("z"), "z z");
    EXPECT_EQ(TStr("%1%1").arg("%"), "%%");
}

TEST_F(ArgTest, EmptyAndNullValuesSubstituteEmptyText) {
    EXPECT_EQ(TStr("[%1]").arg(TStr()), "[]");
    EXPECT_EQ(TStr("[%1]").arg(""), "[]");
    EXPECT_EQ(TStr("[%1]").arg(static_cast<const char*>(nullptr)), "[]");
    EXPECT_EQ(TStr("[%1]").arg(TStr(), 3), "[   ]");
}

TEST_F(ArgTest, WidthPadsWithBlanksOnTheSideOfItsSign) {
    EXPECT_EQ(TStr("%1").arg("ab", 4), "  ab");
    EXPECT_EQ(TStr("%1").arg("ab", -4), "ab  ");
    EXPECT_EQ(TStr("%1").arg("ab", 1), "ab");
    EXPECT_EQ(TStr("%1").arg("ab", -2), "ab");
    EXPECT_EQ(TStr("%1").arg("ab", 0), "ab");
    EXPECT_EQ(TStr("<%1|%1>").arg("x", -3), "<x  |x  >");
}

TEST_F(ArgTest, WidthCountsCharactersNotBytes) {
    // 'é' is two bytes but one character: one blank makes it two wide.
    EXPECT_EQ(TStr("%1").arg(u8("\xC3\xA9"), 2), u8(" \xC3\xA9"));
    EXPECT_EQ(TStr("%1").arg(u8("\xE2\x82\xAC"), -3), u8("\xE2\x82\xAC  "));
}

TEST_F(ArgTest, ExtremeWidthsLeaveThePaddingOut) {
    // A padding of 2^31 characters (the most negative int) or nearly that
    // cannot be held by any block: the value goes in without it.
    EXPECT_EQ(TStr("<%1>").arg("ab", INT_MIN), "<ab>");
    EXPECT_EQ(TStr("<%1>").arg("ab", INT_MAX), "<ab>");
    EXPECT_EQ(TStr("<%1>").arg("ab", -INT_MAX), "<ab>");
}

TEST_F(ArgTest, MultiByteTextAroundPlaceholders) {
    EXPECT_EQ(u8("\xC3\xA9%1\xC3\xA9").arg("x"), u8("\xC3\xA9x\xC3\xA9"));
    // "%" followed by a multi-byte character is copied with it unchanged.
    EXPECT_EQ(u8("%\xC3\xA9%1").arg("x"), u8("%\xC3\xA9x"));
}

TEST_F(ArgTest, IntegerForms) {
    EXPECT_EQ(TStr("%1").arg(255, 0, 16), "ff");
    EXPECT_EQ(TStr("%1").arg(-5, 0, 10), "-5");
    EXPECT_EQ(TStr("%1").arg(-255, 0, 16), "-ff");
    EXPECT_EQ(TStr("%1").arg(5, 0, 2), "101");
    EXPECT_EQ(TStr("%1").arg(35, 0, 36), "z");
    EXPECT_EQ(TStr("%1").arg(12, 0, 1), "12"); // bases outside 2..36 mean 10
    EXPECT_EQ(TStr("%1").arg(12, 0, 37), "12");
    EXPECT_EQ(TStr("%1").arg(INT_MIN), "-2147483648");
    EXPECT_EQ(TStr("[%1]").arg(42, 5), "[   42]");
    EXPECT_EQ(TStr("[%1]").arg(-42, -5), "[-42  ]");
    EXPECT_EQ(TStr("%1").arg(7L, 0, 8), "7");
    EXPECT_EQ(TStr("%1").arg(-2147483647L - 1, 0, 16), "-80000000");
    EXPECT_EQ(TStr("/tamri/global/%1").arg(80), "/tamri/global/80");
}

// Every integer type has a form of its own, so 64-bit values keep their 64
// bits on every host (long has 32 on Windows) and unsigned values are never
// read as negative ones.
TEST_F(ArgTest, SixtyFourBitAndUnsignedForms) {
    const struct {
        TStr got;
        const char* want;
    } cases[] = {
        {TStr("%1").arg(1LL), "1"},
        {TStr("%1").arg(LLONG_MIN), "-9223372036854775808"},
        {TStr("%1").arg(LLONG_MAX), "9223372036854775807"},
        {TStr("%1").arg(LLONG_MIN, 0, 16), "-8000000000000000"},
        {TStr("%1").arg(LLONG_MAX, 0, 2),
         "111111111111111111111111111111111111111111111111111111111111111"},
        {TStr("[%1]").arg(-5LL, -4), "[-5  ]"},
        {TStr("[%1]").arg(-255LL, 6, 16), "[   -ff]"},
        {TStr("%1").arg(ULLONG_MAX), "18446744073709551615"},
        {TStr("%1").arg(ULLONG_MAX, 0, 16), "ffffffffffffffff"},
        {TStr("%1").arg(ULLONG_MAX, 0, 36), "3w5e11264sgsf"},
        {TStr("%1").arg(ULLONG_MAX, 0, 37), "18446744073709551615"}, // base 10
        {TStr("%1").arg(UINT_MAX), "4294967295"},
        {TStr("%1").arg(UINT_MAX, 0, 2), "11111111111111111111111111111111"},
        // The sized types find a form whichever type they are on this host.
        {TStr("%1").arg(INT64_MIN), "-9223372036854775808"},
        {TStr("%1").arg(UINT64_MAX), "18446744073709551615"},
        {TStr("%1").arg(size_t(4000000000u)), "4000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST_F(ArgTest, CharForm) {
    EXPECT_EQ(TStr("a%1c").arg('b'), "abc");
    EXPECT_EQ(TStr("[%1]").arg('x', 3), "[  x]");
    EXPECT_EQ(TStr("[%1]").arg('\xE9'), "[?]"); // encoding 0: above 127 is "?"
}

TEST_F(ArgTest, FloatingPointForms) {
    EXPECT_EQ(TStr("%1").arg(0.5, 0, 'f', 2), "0.50");
    EXPECT_EQ(TStr("%1").arg(3.14159265), "3.14159"); // 'g', six digits
    EXPECT_EQ(TStr("%1").arg(1234.56, 0, 'e', 3), "1.235e+03");
    EXPECT_EQ(TStr("%1").arg(0.5, 0, 'x', 1), "0.5"); // unknown letter means 'f'
    EXPECT_EQ(TStr("[%1]").arg(1.5, 6, 'f', 1), "[   1.5]");
    EXPECT_EQ(TStr("%1").arg(2.25f, 0, 'f', 2), "2.25");
    EXPECT_EQ(TStr("%1").arg(0.1f), "0.1");
}

TEST_F(ArgTest, NumberBuildsDigits) {
    EXPECT_EQ(TStr::number(0), "0");
    EXPECT_EQ(TStr::number(-17), "-17");
    EXPECT_EQ(TStr::number(255, 16), "ff");
}

// The lower tier: new records, null and empty states.
TEST_F(ArgTest, LowerTierResultsAreNewRecords) {
    Buf pattern(str_from_ascii("%1!"));
    Buf value(str_from_ascii("v"));
    Buf result(str_arg(pattern, value, 0));
    ASSERT_NE(result.get(), nullptr);
    EXPECT_NE(result->data, pattern->data);
    EXPECT_EQ(text_of(result), "v!");
    EXPECT_EQ(result->capacity, 3); // built in one block of exactly the needed size
    EXPECT_EQ(text_of(pattern), "%1!");
    EXPECT_EQ(text_of(value), "v");

    Buf null_pattern(str_new());
    Buf copy(str_arg(null_pattern, value, 0));
    EXPECT_EQ(text_of(copy), ""); // a copy of the null state is empty text
    Buf null_value(str_arg(pattern, nullptr, 2));
    EXPECT_EQ(text_of(null_value), "  !");
}

TEST_F(ArgTest, ArgsSubstitutesAllValuesInOnePass) {
    struct Case {
        const char* pattern;
        std::initializer_list<TStr> values;
        const char* expected;
    };
    const Case cases[] = {
        // Text from a value is never scanned again (chained arg gives "yx %2").
        {"%1 %2", {"%1x", "y"}, "%1x y"},
        {"%2%1%2", {"a", "b"}, "bab"},
        {"%9%1", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, "91"},
        // Placeholders without a value stay as written; extra values are unused.
        {"%1 %3 %2", {"a"}, "a %3 %2"},
        {"%1", {"a", "b"}, "a"},
        {"%1", {}, "%1"},
        // The marker grammar is arg's: "%%" pairs, "%0" and a trailing "%" are
        // text, "%10" is placeholder 1 and a "0".
        {"%%1 %1 %0 %", {"x"}, "%%1 x %0 %"},
        {"%10", {"x"}, "x0"},
        {"[%1]", {TStr()}, "[]"},
        {"", {"x"}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TStr(c.pattern).args(c.values), c.expected) << c.pattern;
    // Multi-byte text around and inside placeholders and values.
    EXPECT_EQ(u8("\xC3\xA9%1%\xC3\xA9%2").args({u8("\xE2\x82\xAC"), "z"}),
              u8("\xC3\xA9\xE2\x82\xAC%\xC3\xA9z"));
    // More than nine values: the tenth has no placeholder that could name it.
    EXPECT_EQ(TStr("%1%9").args({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}), "ai");
}

// Where no value holds a "%" and every placeholder from 1 to the number of
// values is present, the one pass gives what chained arg gives: checked on
// random patterns of placeholders, "%" pairs, stray digits and multi-byte text.
TEST_F(ArgTest, ArgsAgreesWithChainedArg) {
    const char* pieces[] = {"%1", "%2", "%3", "%", "%%", "1", "a", "\xC3\xA9", "%0", " "};
    const TStr values[] = {"x", u8("\xE2\x82\xAC\xE2\x82\xAC"), ""};
    Lcg rng{11};
    for (int round = 0; round < 500; ++round) {
        std::string pattern;
        for (int i = int(rng.below(12)); i > 0; --i)
            pattern += pieces[rng.below(10)];
        pattern += " %1%2%3";
        const TStr p = u8(pattern.c_str());
        EXPECT_EQ(p.args({values[0], values[1], values[2]}),
                  p.arg(values[0]).arg(values[1]).arg(values[2]))
            << pattern;
    }
}
