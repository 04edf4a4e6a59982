#include "ezu_test.h"
#include "str_ops_test_util.h"

EZU_TEST_SUITE(ReplaceTest);
EZU_TEST_SUITE(TranslateTest);
EZU_TEST_SUITE(TokenTest);

TEST_F(ReplaceTest, ReplacesEveryOccurrenceWithoutOverlap) {
    TStr path("c:/x/y");
    path.replace("/", "\\");
    EXPECT_EQ(path, "c:\\x\\y");
    TStr aaa("aaa");
    aaa.replace("aa", "b");
    EXPECT_EQ(aaa, "ba");
    TStr none("abc");
    none.replace("z", "y");
    EXPECT_EQ(none, "abc");
    TStr whole("abc");
    whole.replace("abc", "");
    EXPECT_EQ(whole, "");
    EXPECT_FALSE(whole.isNull());
}

TEST_F(ReplaceTest, ReplacementTextIsNeverSearched) {
    TStr s("a.b");
    s.replace(".", "..");
    EXPECT_EQ(s, "a..b");
    TStr grow("xx");
    grow.replace("x", "xyx");
    EXPECT_EQ(grow, "xyxxyx");
}

TEST_F(ReplaceTest, EmptyOrNullWhatAndNullText) {
    TStr s("abc");
    s.replace("", "z");
    EXPECT_EQ(s, "abc");
    s.replace(TStr(), "z");
    EXPECT_EQ(s, "abc");
    s.replace("b", TStr()); // a null-state replacement is empty text
    EXPECT_EQ(s, "ac");
    TStr null_text;
    null_text.replace("a", "b");
    EXPECT_TRUE(null_text.isNull());
}

TEST_F(ReplaceTest, MultiByteTextAndSelfReference) {
    TStr s = u8("\xC3\xA9-\xC3\xA9");
    s.replace(u8("\xC3\xA9"), u8("\xE2\x82\xAC"));
    EXPECT_EQ(s, u8("\xE2\x82\xAC-\xE2\x82\xAC"));
    TStr self("ab");
    self.replace(self, "<ab>"); // the string itself as the search text
    EXPECT_EQ(self, "<ab>");
}

TEST_F(ReplaceTest, ReplaceDropsTheView) {
    TStr s("a/b");
    EXPECT_STREQ(s.ascii(), "a/b");
    s.replace("/", "+");
    EXPECT_STREQ(s.ascii(), "a+b");
}

TEST_F(TranslateTest, RunsOfSeparatorsBecomeOne) {
    TStr s("a//b/");
    EXPECT_EQ(&s.translate("/", "\\"), &s);
    EXPECT_EQ(s, "a\\b");
    TStr file("c:\\dir\\f.txt");
    file.translate("\\/.;:", "_");
    EXPECT_EQ(file, "c_dir_f_txt");
    TStr lead("//a");
    lead.translate("/", "-");
    EXPECT_EQ(lead, "a");
}

TEST_F(TranslateTest, EdgesOfTheText) {
    TStr only("///");
    only.translate("/", "-");
    EXPECT_EQ(only, "");
    EXPECT_FALSE(only.isNull());
    TStr no_set("a/b");
    no_set.translate("", "-");
    EXPECT_EQ(no_set, "a/b");
    TStr plain("a b c");
    plain.translate(" ", TStr()); // no separator: the tokens run together
    EXPECT_EQ(plain, "abc");
    TStr null_text;
    null_text.translate("/", "-");
    EXPECT_TRUE(null_text.isNull());
}

TEST_F(TranslateTest, JoinsAsAppendWithSeparatorDoes) {
    // The token 'a-' already ends with the separator, so none is added.
    TStr s("a-/b");
    s.translate("/", "-");
    EXPECT_EQ(s, "a-b");
}

TEST_F(TranslateTest, LowerTierLeavesItsInputAlone) {
    Buf s(str_from_ascii("x.y"));
    Buf dot(str_from_ascii("."));
    Buf colon(str_from_ascii("::"));
    Buf result(str_translate(s, dot, colon));
    EXPECT_EQ(text_of(result), "x::y");
    EXPECT_EQ(text_of(s), "x.y");
}

TEST_F(TokenTest, TakeUntilCutsAtTheFirstSeparator) {
    TStr s("a::b");
    EXPECT_EQ(s.takeUntil(":"), "a");
    EXPECT_EQ(s, ":b");
    EXPECT_EQ(s.takeUntil(":"), "");
    EXPECT_EQ(s, "b");
    EXPECT_EQ(s.takeUntil(":"), "b");
    EXPECT_TRUE(s.isNull());
    EXPECT_TRUE(s.takeUntil(":").isNull()); // nothing left: no token
}

TEST_F(TokenTest, TakeUntilEdges) {
    TStr multi("key=>value=>rest");
    EXPECT_EQ(multi.takeUntil("=>"), "key");
    EXPECT_EQ(multi, "value=>rest");
    TStr end("a:");
    EXPECT_EQ(end.takeUntil(":"), "a");
    EXPECT_EQ(end, "");
    EXPECT_FALSE(end.isNull());
    TStr empty_sep("abc");
    EXPECT_EQ(empty_sep.takeUntil(""), "abc");
    EXPECT_TRUE(empty_sep.isNull());
    TStr null_sep("abc");
    EXPECT_EQ(null_sep.takeUntil(TStr()), "abc");
    EXPECT_TRUE(null_sep.isNull());
    TStr empty_text("");
    EXPECT_EQ(empty_text.takeUntil(":"), "");
    EXPECT_TRUE(empty_text.isNull());
}

TEST_F(TokenTest, TakeTokenSkipsRunsOfSeparators) {
    TStr s("::a::b::");
    EXPECT_EQ(s.takeToken(":"), "");
    EXPECT_EQ(s, "a::b::");
    EXPECT_EQ(s.takeToken(":"), "a");
    EXPECT_EQ(s, "b::");
    EXPECT_EQ(s.takeToken(":"), "b");
    EXPECT_EQ(s, "");
    EXPECT_FALSE(s.isNull());
    EXPECT_TRUE(s.takeToken(":").isNull()); // empty text gives no token...
    EXPECT_EQ(s, "");                       // ...and stays as it is
}

TEST_F(TokenTest, TakeTokenWithoutSeparatorTakesAll) {
    TStr s("abc");
    EXPECT_EQ(s.takeToken(",;"), "abc");
    EXPECT_TRUE(s.isNull());
    EXPECT_TRUE(s.takeToken(",").isNull());
    TStr mixed("a;,b,c");
    EXPECT_EQ(mixed.takeToken(",;"), "a");
    EXPECT_EQ(mixed, "b,c");
    TStr no_set("a,b");
    EXPECT_EQ(no_set.takeToken(TStr()), "a,b");
}

TEST_F(TokenTest, TakeTokenReportsTheSeparator) {
    Buf s(str_from_ascii("a;b,c"));
    Buf set(str_from_ascii(",;"));
    char found = 'x';
    Buf first(str_take_token(s, set, &found));
    EXPECT_EQ(text_of(first), "a");
    EXPECT_EQ(found, ';');
    Buf second(str_take_token(s, set, &found));
    EXPECT_EQ(text_of(second), "b");
    EXPECT_EQ(found, ',');
    Buf last(str_take_token(s, set, &found));
    EXPECT_EQ(text_of(last), "c");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(s->data, nullptr);
    found = 'x';
    EXPECT_EQ(str_take_token(s, set, &found), nullptr);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(str_take_token(s, set, nullptr), nullptr);
}

TEST_F(TokenTest, TakeLastTokenCutsAtTheLastSeparatorRun) {
    TStr s("a/b//c");
    EXPECT_EQ(s.takeLastToken("/"), "c");
    EXPECT_EQ(s, "a/b");
    EXPECT_EQ(s.takeLastToken("/"), "b");
    EXPECT_EQ(s, "a");
    EXPECT_EQ(s.takeLastToken("/"), "a");
    EXPECT_EQ(s, "a"); // no separator: the text stays
    TStr trailing("a/");
    EXPECT_EQ(trailing.takeLastToken("/"), "");
    EXPECT_EQ(trailing, "a");
    TStr leading("/a");
    EXPECT_EQ(leading.takeLastToken("/"), "a");
    EXPECT_EQ(leading, "");
    TStr empty("");
    EXPECT_TRUE(empty.takeLastToken("/").isNull());
    EXPECT_TRUE(TStr().takeLastToken("/").isNull());
}

TEST_F(TokenTest, TakeLastTokenReportsTheSeparator) {
    Buf s(str_from_ascii("x.y\\z"));
    Buf set(str_from_ascii("\\."));
    char found = 'x';
    Buf z(str_take_last_token(s, set, &found));
    EXPECT_EQ(text_of(z), "z");
    EXPECT_EQ(found, '\\');
    Buf y(str_take_last_token(s, set, &found));
    EXPECT_EQ(found, '.');
    Buf x(str_take_last_token(s, set, &found));
    EXPECT_EQ(text_of(x), "x");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(text_of(s), "x");
}

TEST_F(TokenTest, TakeAfterLastUsesTheLastSeparator) {
    TStr s("dir/sub/file");
    EXPECT_EQ(s.takeAfterLast("/"), "file");
    EXPECT_EQ(s, "dir/sub");
    TStr ext("a.tar.gz");
    EXPECT_EQ(ext.takeAfterLast(".tar."), "gz");
    EXPECT_EQ(ext, "a");
    TStr end("a/");
    EXPECT_EQ(end.takeAfterLast("/"), "");
    EXPECT_EQ(end, "a");
}

TEST_F(TokenTest, TakeAfterLastIgnoresASeparatorAtTheVeryStart) {
    TStr s("/abc");
    EXPECT_EQ(s.takeAfterLast("/"), "/abc");
    EXPECT_TRUE(s.isNull());
    TStr none("abc");
    EXPECT_EQ(none.takeAfterLast("/"), "abc");
    EXPECT_TRUE(none.isNull());
    TStr empty_sep("abc");
    EXPECT_EQ(empty_sep.takeAfterLast(""), "abc");
    EXPECT_TRUE(empty_sep.isNull());
    EXPECT_TRUE(TStr().takeAfterLast("/").isNull());
}

TEST_F(TokenTest, TakeAfterLastZeroesTheRestOfTheBlock) {
    Buf s(str_from_ascii("ab:cd"));
    Buf colon(str_from_ascii(":"));
    Buf token(str_take_after_last(s, colon));
    EXPECT_EQ(text_of(token), "cd");
    for (int i = 2; i < s->capacity; ++i)
        EXPECT_EQ(s->data[i], 0) << i;
}

TEST_F(TokenTest, FindLastStartsAtTheSecondByte) {
    const char* text = "/a/b";
    EXPECT_EQ(str_find_last(text, "/"), text + 2);
    EXPECT_EQ(str_find_last("/ab", "/"), nullptr);
    EXPECT_EQ(str_find_last("ab", "ab"), nullptr);
    const char* xab = "xab";
    EXPECT_EQ(str_find_last(xab, "ab"), xab + 1);
    const char* two = "xabab";
    EXPECT_EQ(str_find_last(two, "ab"), two + 3);
    EXPECT_EQ(str_find_last("a", "abc"), nullptr);
    EXPECT_EQ(str_find_last("abc", ""), nullptr);
    EXPECT_EQ(str_find_last(nullptr, "a"), nullptr);
    EXPECT_EQ(str_find_last("abc", nullptr), nullptr);
}

TEST_F(TokenTest, TokensDropTheView) {
    TStr s("a:b");
    EXPECT_STREQ(s.ascii(), "a:b");
    s.takeUntil(":");
    EXPECT_STREQ(s.ascii(), "b");
    TStr t("a:b");
    EXPECT_STREQ(t.ascii(), "a:b");
    t.takeAfterLast(":");
    EXPECT_STREQ(t.ascii(), "a");
}
