// Bad input to the maps, the settings store and setting expansion: the rows
// of docs/bad-input.md that the other settings tests do not check. Each test
// is named after its row.
#include "store_fixture.h"

#include "ezu/ezu.h"

EZU_TEST_SUITE(SettingsBadInput);
EZU_STORE_TEST_SUITE(SettingsStoreBadInput);

TEST_F(SettingsBadInput, MapBucketCountBelowOne) {
    // No table can be made: the map holds nothing and refuses to store.
    for (int buckets : {0, -4}) {
        TEzuMap<TStr, TStr> map(buckets);
        EXPECT_TRUE(map.find("k") == map.end());
        EXPECT_TRUE(map.insert("k", "v") == map.end());
        EXPECT_TRUE(map.find("k") == map.end());
        // operator[] cannot make the entry: it hands out a default value that
        // belongs to no map, and what is assigned through it is not stored.
        TStr& value = map["k"];
        EXPECT_TRUE(value.isEmpty());
        value = "lost";
        EXPECT_TRUE(map.find("k") == map.end());
        EXPECT_TRUE(map["k"].isEmpty());
        TEzuMap<TStr, void*> pointers(buckets);
        pointers["p"] = &buckets;
        EXPECT_EQ(pointers["p"], nullptr);
    }
}

TEST_F(SettingsBadInput, MapTextKeyWithLength) {
    TEzuMap<TStr, TStr> map(17);
    map.insert("ab", "two");
    map.insert("", "none");
    // No key, or a negative length, finds nothing; the length, not a
    // terminator, ends the key, and zero bytes name the empty key.
    EXPECT_TRUE(map.findText(nullptr, 2) == map.end());
    EXPECT_TRUE(map.findText("ab", -1) == map.end());
    EXPECT_TRUE(*map.findText("abc", 2) == "two");
    EXPECT_TRUE(map.findText("abc", 3) == map.end());
    EXPECT_TRUE(*map.findText("abc", 0) == "none");
}

TEST_F(SettingsStoreBadInput, StoreUnclosedAndEmptyMarkers) {
    twice([] {
        ezuSetString("{sbi}", "value", false);
        EXPECT_TRUE(ezuExpandSettings("{sbi", nullptr, false) == "{sbi");
        EXPECT_TRUE(ezuExpandSettings("sbi}", nullptr, false) == "sbi}");
        EXPECT_TRUE(ezuExpandSettings("{}", nullptr, true) == "{}");
        EXPECT_TRUE(ezuExpandSettings(TStr(), nullptr, true).isEmpty());
        EXPECT_TRUE(ezuExpandSettings("}{sbi}{", nullptr, false) == "}value{");
    });
}

TEST_F(SettingsStoreBadInput, StoreNonNumericText) {
    twice([] {
        ezuSetString("sbi_text", "12abc", false);
        EXPECT_EQ(ezuGetInt("sbi_text"), 0);
        EXPECT_EQ(ezuGetDouble("sbi_text"), 12.0); // the partial strtod value
        ezuSetString("sbi_text", "99999999999", false);
        EXPECT_EQ(ezuGetInt("sbi_text"), 0); // beyond int
    });
}

TEST_F(SettingsStoreBadInput, StoreNullStateKeyAndValue) {
    twice([] {
        // A null-state key is the empty key: the global branch itself.
        ezuSetString(TStr(), "root value", false);
        EXPECT_TRUE(ezuGetString("") == "root value");
        ezuSetString("sbi_null", TStr(), false);
        EXPECT_TRUE(ezuGetString("sbi_null").isEmpty());
        ezuSetString(TStr(), "", false);
    });
}
