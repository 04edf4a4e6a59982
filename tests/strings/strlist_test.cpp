#include "ezu_test.h"

#include "ezu/strings/strlist.h"

#include "strlist_texts.h"

#include <string>
#include <vector>

EZU_TEST_SUITE(StrListSplit);

TEST_F(StrListSplit, AtASeparatorString) {
    EXPECT_EQ(texts(TEzuStrList::split(":", "a:b")), (Texts{"a", "b"}));
    EXPECT_EQ(texts(TEzuStrList::split(":", "a::b")), (Texts{"a", "", "b"}));
    EXPECT_EQ(texts(TEzuStrList::split(":", ":a")), (Texts{"", "a"}));
    EXPECT_EQ(texts(TEzuStrList::split(":", "a:")), (Texts{"a"}));
    EXPECT_EQ(texts(TEzuStrList::split(":", "a::")), (Texts{"a", ""}));
    EXPECT_EQ(texts(TEzuStrList::split(":", ":")), (Texts{""}));
    EXPECT_EQ(texts(TEzuStrList::split(":", "abc")), (Texts{"abc"}));
    EXPECT_EQ(texts(TEzuStrList::split("::", "a::b:c::")), (Texts{"a", "b:c"}));
}

TEST_F(StrListSplit, EmptyTextAndEmptySeparator) {
    EXPECT_EQ(TEzuStrList::split(":", "").size(), 0);
    EXPECT_EQ(TEzuStrList::split(":", TStr()).size(), 0);
    EXPECT_EQ(texts(TEzuStrList::split("", "a:b")), (Texts{"a:b"}));
    EXPECT_EQ(texts(TEzuStrList::split(TStr(), "a:b")), (Texts{"a:b"}));
}

TEST_F(StrListSplit, AtASeparatorCharacter) {
    EXPECT_EQ(texts(TEzuStrList::split(';', "x;y;;z")), (Texts{"x", "y", "", "z"}));
    EXPECT_EQ(TEzuStrList::split(';', "").size(), 0);
    // The text ends at its terminator, not at its block's end: what a cut
    // left behind is no part of it.
    TStr cut("a;b;c;d;e;f;g;h;i");
    cut.truncate(3);
    EXPECT_EQ(texts(TEzuStrList::split(';', cut)), (Texts{"a", "b"}));
}

TEST_F(StrListSplit, TheTextArgumentIsUnchanged) {
    const TStr text("a:b:c");
    TEzuStrList::split(":", text);
    TEzuStrList::splitAny(":", text);
    EXPECT_TRUE(text == "a:b:c");
}

TEST_F(StrListSplit, AtAnyOfASetOfCharacters) {
    EXPECT_EQ(texts(TEzuStrList::splitAny("|", "TMPDIR|TEMP|TMP")),
              (Texts{"TMPDIR", "TEMP", "TMP"}));
    EXPECT_EQ(texts(TEzuStrList::splitAny(",;", "a,;b")), (Texts{"a", "b"}));
    EXPECT_EQ(texts(TEzuStrList::splitAny(",", ",a")), (Texts{"", "a"}));
    EXPECT_EQ(texts(TEzuStrList::splitAny(",;", ";,;a")), (Texts{"", "a"}));
    EXPECT_EQ(texts(TEzuStrList::splitAny(",", "a,,,")), (Texts{"a"}));
    EXPECT_EQ(texts(TEzuStrList::splitAny(",", "abc")), (Texts{"abc"}));
    EXPECT_EQ(texts(TEzuStrList::splitAny("", "a,b")), (Texts{"a,b"}));
    EXPECT_EQ(TEzuStrList::splitAny(",", "").size(), 0);
    EXPECT_EQ(TEzuStrList::splitAny(",", TStr()).size(), 0);
}

EZU_TEST_SUITE(StrListJoin);

TEST_F(StrListJoin, PlacesOneSeparatorBetweenElements) {
    EXPECT_TRUE(listOf({"a", "b", "c"}).join(":") == "a:b:c");
    EXPECT_TRUE(listOf({"a:", "b"}).join(":") == "a:b");
    EXPECT_TRUE(listOf({"a", ":b"}).join(":") == "a:b");
    EXPECT_TRUE(listOf({"a::", "b"}).join(":") == "a::b");
    EXPECT_TRUE(listOf({"a", "b"}).join(", ") == "a, b");
    EXPECT_TRUE(listOf({"a", "b"}).join("") == "ab");
}

TEST_F(StrListJoin, EmptyElementsContributeNothing) {
    EXPECT_TRUE(listOf({"a", "", "b"}).join(":") == "a:b");
    EXPECT_TRUE(listOf({"", "a"}).join(":") == "a");
    // So split and join do not round-trip empty elements.
    EXPECT_TRUE(TEzuStrList::split(":", ":a::b").join(":") == "a:b");
}

TEST_F(StrListJoin, EmptyAndSingleLists) {
    const TStr none = TEzuStrList().join(":");
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(listOf({"only"}).join(":") == "only");
    EXPECT_TRUE(TEzuStrList(TStr("one")).join(":") == "one");
}

EZU_TEST_SUITE(StrListAccess);

TEST_F(StrListAccess, AtGivesThePointerOrNull) {
    TEzuStrList list = listOf({"a", "b", "c"});
    ASSERT_EQ(list.size(), 3);
    EXPECT_TRUE(*list.at(0) == "a");
    EXPECT_TRUE(*list.at(2) == "c");
    EXPECT_EQ(list.at(-1), nullptr);
    EXPECT_EQ(list.at(3), nullptr);
    EXPECT_EQ(TEzuStrList().at(0), nullptr);
    // The pointer reaches the element itself.
    *list.at(1) = "B";
    EXPECT_EQ(texts(list), (Texts{"a", "B", "c"}));
}

TEST_F(StrListAccess, IndexOfIsExactAndCaseSensitive) {
    const TEzuStrList list = listOf({"a", "b", "b"});
    EXPECT_EQ(list.indexOf("b"), 1);
    EXPECT_EQ(list.indexOf("a"), 0);
    EXPECT_EQ(list.indexOf("B"), -1);
    EXPECT_EQ(list.indexOf("bb"), -1);
    EXPECT_EQ(list.indexOf(""), -1);
    const TEzuStrList empties = listOf({"x", ""});
    EXPECT_EQ(empties.indexOf(""), 1);
    EXPECT_EQ(empties.indexOf(TStr()), -1);
}

TEST_F(StrListAccess, AppendKeepsACopyAndReturnsItsPosition) {
    TEzuStrList list;
    TStr value("v");
    TEzuStrList::iterator it = list.append(value);
    value = "changed";
    ASSERT_NE(*it, nullptr);
    EXPECT_TRUE(**it == "v");
    EXPECT_EQ(*it, list.at(0));
    // A null-state string is stored as a copy, which is empty text.
    list.append(TStr());
    EXPECT_FALSE(list.at(1)->isNull());
    EXPECT_TRUE(list.at(1)->isEmpty());
    EXPECT_EQ(TEzuStrList(TStr("x")).size(), 1);
}

TEST_F(StrListAccess, IteratorsWalkInOrderAndStopAtTheEnd) {
    const TEzuStrList list = listOf({"a", "b", "c"});
    Texts seen;
    for (TEzuStrList::iterator it = list.begin(); it != list.end(); ++it)
        seen.push_back((*it)->ascii());
    EXPECT_EQ(seen, (Texts{"a", "b", "c"}));

    TEzuStrList::iterator it = list.begin();
    ++ ++ ++it;
    EXPECT_FALSE(it != list.end());
    EXPECT_EQ(*it, nullptr);
    ++it; // stays at the end
    EXPECT_FALSE(it != list.end());
    EXPECT_EQ(*list.end(), nullptr);

    const TEzuStrList empty;
    EXPECT_FALSE(empty.begin() != empty.end());
    // Ends of two different lists differ.
    EXPECT_TRUE(empty.end() != list.end());
}

TEST_F(StrListAccess, IteratorCopiesMoveIndependently) {
    const TEzuStrList list = listOf({"a", "b", "c"});
    TEzuStrList::iterator first = list.begin();
    TEzuStrList::iterator copy(first);
    ++copy;
    EXPECT_TRUE(**first == "a");
    EXPECT_TRUE(**copy == "b");
    first = copy;
    ++copy;
    EXPECT_TRUE(**first == "b");
    EXPECT_TRUE(**copy == "c");
    first = first; // self-assignment keeps the position
    EXPECT_TRUE(**first == "b");
}

EZU_TEST_SUITE(StrListCopy);

TEST_F(StrListCopy, CopiesAreIndependent) {
    TEzuStrList source = listOf({"a", "b"});
    TEzuStrList copy(source);
    *copy.at(0) = "changed";
    copy.append("c");
    EXPECT_EQ(texts(source), (Texts{"a", "b"}));
    EXPECT_EQ(texts(copy), (Texts{"changed", "b", "c"}));
    *source.at(1) = "B";
    EXPECT_TRUE(*copy.at(1) == "b");
}

TEST_F(StrListCopy, AssignmentReplacesTheElements) {
    TEzuStrList target = listOf({"x", "y", "z"});
    const TEzuStrList source = listOf({"a", "b"});
    target = source;
    EXPECT_EQ(texts(target), (Texts{"a", "b"}));
    *target.at(0) = "A";
    EXPECT_TRUE(*source.at(0) == "a");
    target = TEzuStrList();
    EXPECT_EQ(target.size(), 0);
}

TEST_F(StrListCopy, SelfAssignmentKeepsTheElements) {
    TEzuStrList list = listOf({"a", "b"});
    TEzuStrList& same = list;
    list = same;
    EXPECT_EQ(texts(list), (Texts{"a", "b"}));
    TEzuList<TStr>& base = list;
    base = base;
    EXPECT_EQ(texts(list), (Texts{"a", "b"}));
}

TEST_F(StrListCopy, BaseClassListsCopyToo) {
    TEzuList<TStr> base;
    base.append("p");
    TEzuList<TStr> copy(base);
    copy.append("q");
    EXPECT_EQ(base.size(), 1);
    EXPECT_EQ(copy.size(), 2);
    base = copy;
    EXPECT_EQ(base.indexOf("q"), 1);
}
