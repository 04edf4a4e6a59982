#include "ezu_test.h"

#include "ezu/core/mem.h"
#include "ezu/settings/map.h"

typedef TEzuMap<TStr, TStr> TextMap;
typedef TEzuMap<TStr, void*> PointerMap;

EZU_TEST_SUITE(MapLookup);

TEST_F(MapLookup, FindOnAnEmptyMapIsTheEnd) {
    TextMap texts(17);
    EXPECT_TRUE(texts.find("x") == texts.end());
    EXPECT_FALSE(texts.find("x") != texts.end());
    PointerMap pointers(1);
    EXPECT_TRUE(pointers.find("") == pointers.end());
}

TEST_F(MapLookup, InsertThenFind) {
    TextMap map(17);
    TextMap::iterator at = map.insert("key", "value");
    EXPECT_TRUE(*at == "value");
    TextMap::iterator found = map.find("key");
    ASSERT_TRUE(found != map.end());
    EXPECT_TRUE(*found == "value");
    EXPECT_FALSE(found != at);
}

TEST_F(MapLookup, KeysAreCaseSensitive) {
    TextMap map(17);
    map.insert("Key", "upper");
    EXPECT_TRUE(map.find("key") == map.end());
    map.insert("key", "lower");
    EXPECT_TRUE(*map.find("Key") == "upper");
    EXPECT_TRUE(*map.find("key") == "lower");
}

TEST_F(MapLookup, KeysSharingABucketStayApart) {
    // Keys longer than four bytes hash by their first four, and one bucket
    // takes everything: each chain holds several keys.
    TextMap map(1);
    map.insert("abcdX", "1");
    map.insert("abcdY", "2");
    map.insert("ab", "3");
    EXPECT_TRUE(*map.find("abcdX") == "1");
    EXPECT_TRUE(*map.find("abcdY") == "2");
    EXPECT_TRUE(*map.find("ab") == "3");
    EXPECT_TRUE(map.find("abcd") == map.end());
}

TEST_F(MapLookup, NullAndEmptyKeys) {
    TextMap map(17);
    // A key is stored as a copy, and a copy of a null-state string is empty
    // text: the entry answers to the empty key.
    map.insert(TStr(), "from null");
    EXPECT_TRUE(*map.find("") == "from null");
    map.insert(TStr(), "again");
    EXPECT_TRUE(*map.find("") == "again");
    EXPECT_TRUE(map[TStr()] == "again");
}

EZU_TEST_SUITE(MapInsert);

TEST_F(MapInsert, ReplacingKeepsTheEntryAndReleasesTheOldValue) {
    TextMap map(17);
    map.insert("k", "one");
    const int blocks = mem_blocks_in_use();
    const int bytes = mem_bytes_in_use();
    // Same length: no entry, key or value block is added or kept over.
    EXPECT_TRUE(*map.insert("k", "two") == "two");
    EXPECT_TRUE(*map.find("k") == "two");
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

TEST_F(MapInsert, ReplacingAddsNoEntry) {
    TextMap map(17);
    map.insert("k", "one");
    map.insert("other", "x");
    const int blocks = mem_blocks_in_use();
    for (int i = 0; i < 5; ++i)
        map.insert("k", "two");
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_TRUE(*map.find("other") == "x");
}

TEST_F(MapInsert, InsertCopiesKeyAndValue) {
    TextMap map(17);
    TStr key("key");
    TStr value("value");
    map.insert(key, value);
    key = "changed";
    value = "changed";
    EXPECT_TRUE(*map.find("key") == "value");
    EXPECT_TRUE(map.find("changed") == map.end());
}

TEST_F(MapInsert, PointerValues) {
    PointerMap map(17);
    int a = 0, b = 0;
    EXPECT_EQ(*map.insert("p", &a), &a);
    map.insert("p", &b);
    EXPECT_EQ(*map.find("p"), &b);
    map.insert("q", nullptr);
    ASSERT_TRUE(map.find("q") != map.end());
    EXPECT_EQ(*map.find("q"), nullptr);
}

EZU_TEST_SUITE(MapIndex);

TEST_F(MapIndex, AbsentTextKeyGetsEmptyText) {
    TextMap map(17);
    TStr& value = map["new"];
    EXPECT_FALSE(value.isNull());
    EXPECT_TRUE(value == "");
    ASSERT_TRUE(map.find("new") != map.end());
    value = "stored";
    EXPECT_TRUE(*map.find("new") == "stored");
    map["other"] = "direct";
    EXPECT_TRUE(*map.find("other") == "direct");
}

TEST_F(MapIndex, PresentKeyGivesTheStoredValue) {
    TextMap map(17);
    map.insert("k", "v");
    EXPECT_TRUE(map["k"] == "v");
    map["k"] += "w";
    EXPECT_TRUE(*map.find("k") == "vw");
}

TEST_F(MapIndex, AbsentPointerKeyGetsNull) {
    PointerMap map(17);
    EXPECT_EQ(map["p"], nullptr);
    ASSERT_TRUE(map.find("p") != map.end());
    int target = 0;
    map["p"] = &target;
    EXPECT_EQ(*map.find("p"), &target);
    EXPECT_EQ(map["p"], &target);
}

EZU_TEST_SUITE(MapLifetime);

TEST_F(MapLifetime, IteratorCopiesAndAssignment) {
    TextMap map(17);
    map.insert("a", "1");
    map.insert("b", "2");
    TextMap::iterator a = map.find("a");
    TextMap::iterator copy(a);
    EXPECT_TRUE(copy == a);
    copy = map.find("b");
    EXPECT_TRUE(*copy == "2");
    EXPECT_TRUE(*a == "1");
    copy = copy;
    EXPECT_TRUE(*copy == "2");
    copy = map.end();
    EXPECT_TRUE(copy == map.end());
}

TEST_F(MapLifetime, MapsShareADescriptorAndOutliveEachOther) {
    TextMap* first = new TextMap(17);
    TextMap second(17);
    first->insert("k", "first");
    second.insert("k", "second");
    delete first;
    EXPECT_TRUE(*second.find("k") == "second");
    second.insert("later", "ok");
    EXPECT_TRUE(*second.find("later") == "ok");
    // A map made after the other was destroyed still works alike.
    TextMap third(3);
    third.insert("k", "third");
    EXPECT_TRUE(*third.find("k") == "third");
}

TEST_F(MapLifetime, DestructionReleasesEveryEntry) {
    // The fixture fails the test if a key, a value or an entry survives.
    TextMap texts(17);
    PointerMap pointers(17);
    for (int i = 0; i < 50; ++i) {
        const TStr key = TStr("/tamri/global/key%1").arg(i);
        texts.insert(key, TStr("value %1").arg(i));
        texts.insert(key, TStr("replaced %1").arg(i));
        pointers.insert(key, &texts);
        pointers[key] = nullptr;
    }
    EXPECT_TRUE(*texts.find("/tamri/global/key49") == "replaced 49");
}
