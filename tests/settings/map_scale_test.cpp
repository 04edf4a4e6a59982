// Maps and the settings store with thousands of keys, checked against
// std::map: lookups of present and absent keys, replacement, positions kept
// across the growth of the map, and memory returned when a map goes.
#include "ezu_test.h"
#include "store_fixture.h"

#include "ezu/ezu.h"
#include "test_lcg.h"

#include <map>
#include <stdint.h>
#include <stdio.h>
#include <string>
#include <vector>

typedef TEzuMap<TStr, TStr> TextMap;
typedef TEzuMap<TStr, void*> PointerMap;

EZU_TEST_SUITE(MapScale);
EZU_STORE_TEST_SUITE(StoreScale);

namespace {

// Keys that share long prefixes, differ only in their last bytes or in
// letter case, and include the empty key and bytes above 127.
std::string key_of(int i) {
    char text[64];
    switch (i % 4) {
    case 0:
        snprintf(text, sizeof text, "/tamri/global/editor/key%d", i);
        break;
    case 1:
        snprintf(text, sizeof text, "K%d", i);
        break;
    case 2:
        snprintf(text, sizeof text, "k%d", i - 1); // "K" and "k" differ only in case
        break;
    default:
        snprintf(text, sizeof text, "\xc3\xa9/%08x", unsigned(i) * 2654435761u);
    }
    return i == 3 ? std::string() : std::string(text);
}

TStr utf8(const std::string& s) {
    return TStr(s.data(), int(s.size()), ENC_UTF8);
}

// Checks every key of `model` and a few absent ones against `map`.
void expect_same(const TextMap& map, const std::map<std::string, std::string>& model, int upto) {
    for (int i = 0; i < upto; ++i) {
        const std::string key = key_of(i);
        const auto m = model.find(key);
        TextMap::iterator it = map.find(utf8(key));
        if (m == model.end()) {
            ASSERT_TRUE(it == map.end()) << key;
        } else {
            ASSERT_TRUE(it != map.end()) << key;
            ASSERT_TRUE(*it == utf8(m->second)) << key;
        }
        ASSERT_TRUE(map.find(utf8(key + "#absent")) == map.end());
    }
}

} // namespace

TEST_F(MapScale, ThousandsOfKeysAgreeWithStdMap) {
    const int kKeys = 5000;
    std::map<std::string, std::string> model;
    TextMap map(17);
    Lcg rng = {2024};
    // Insert in a scrambled order, replace about a third, and compare.
    for (int n = 0; n < kKeys; ++n) {
        const int i = int(rng.next() % kKeys);
        const std::string value = "v" + std::to_string(n);
        model[key_of(i)] = value;
        TextMap::iterator at = map.insert(utf8(key_of(i)), utf8(value));
        ASSERT_TRUE(*at == utf8(value));
    }
    expect_same(map, model, kKeys);
    // operator[] reads present keys and creates absent ones with empty text.
    for (int i = 0; i < kKeys; i += 7) {
        const std::string key = key_of(i);
        const bool present = model.count(key) != 0;
        TStr& value = map[utf8(key)];
        EXPECT_TRUE(present ? value == utf8(model[key]) : value == "") << key;
        value = utf8("set through [] " + key);
        model[key] = "set through [] " + key;
    }
    expect_same(map, model, kKeys);
}

TEST_F(MapScale, PositionsSurviveGrowthAndReplacement) {
    TextMap map(1);
    TextMap::iterator first = map.insert("first", "1");
    TextMap::iterator copy = first;
    for (int i = 0; i < 3000; ++i)
        map.insert(TStr::number(i), TStr::number(i * 3));
    // The map has moved its entries into larger tables many times over.
    EXPECT_TRUE(*first == "1");
    EXPECT_TRUE(first == map.find("first"));
    map.insert("first", "replaced");
    EXPECT_TRUE(*first == "replaced");
    EXPECT_TRUE(*copy == "replaced");
    EXPECT_FALSE(first != map.find("first"));
    EXPECT_TRUE(first != map.find("1"));
    EXPECT_TRUE(map.end() == map.find("absent"));
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(*map.find(TStr::number(i)) == TStr::number(i * 3)) << i;
    // Positions of different maps never compare equal, not even at the end.
    TextMap other(1);
    EXPECT_TRUE(map.end() != other.end());
}

TEST_F(MapScale, ReplacedValuesAreFreshCopies) {
    TextMap map(17);
    map.insert("k", "a longer value");
    map.insert("k", TStr("ab"));
    // The stored value is a copy of exactly its text, as a new copy would be.
    EXPECT_EQ(map.find("k").operator*().buffer()->capacity, 3);
    map.insert("k", TStr());
    EXPECT_TRUE(*map.find("k") == "");
    EXPECT_FALSE((*map.find("k")).isNull());
    // A value replaced by itself stays.
    map.insert("k", "same");
    map.insert("k", *map.find("k"));
    EXPECT_TRUE(*map.find("k") == "same");
}

TEST_F(MapScale, PointerMapAgreesWithStdMap) {
    std::map<std::string, void*> model;
    PointerMap map(17);
    static char cells[4000];
    Lcg rng = {77};
    for (int n = 0; n < 4000; ++n) {
        const int i = int(rng.next() % 3000);
        model[key_of(i)] = &cells[n];
        map.insert(utf8(key_of(i)), &cells[n]);
    }
    for (int i = 0; i < 3000; ++i) {
        const auto m = model.find(key_of(i));
        PointerMap::iterator it = map.find(utf8(key_of(i)));
        if (m == model.end())
            ASSERT_TRUE(it == map.end());
        else
            ASSERT_EQ(*it, m->second);
    }
    EXPECT_EQ(map[utf8("never stored")], nullptr);
}

TEST_F(MapScale, InterleavedMapsOfDifferentSizes) {
    // Four maps whose bucket counts differ and change as they grow, used in
    // turn: each finds exactly its own keys.
    TextMap a(1), b(5), c(17), d(101);
    TextMap* maps[] = {&a, &b, &c, &d};
    for (int i = 0; i < 1200; ++i) {
        for (int m = 0; m < 4; ++m)
            maps[m]->insert(utf8(key_of(i) + char('a' + m)), TStr::number(i * 4 + m));
    }
    for (int i = 0; i < 1200; ++i) {
        for (int m = 0; m < 4; ++m) {
            for (int k = 0; k < 4; ++k) {
                TextMap::iterator it = maps[m]->find(utf8(key_of(i) + char('a' + k)));
                if (k != m)
                    ASSERT_TRUE(it == maps[m]->end()) << i << " " << m << " " << k;
                else
                    ASSERT_TRUE(*it == TStr::number(i * 4 + m)) << i << " " << m;
            }
        }
    }
}

TEST_F(MapScale, NullKeysAtScale) {
    TextMap map(3);
    for (int i = 0; i < 100; ++i)
        map.insert(TStr::number(i), "x");
    // A null-state key is stored as its copy, the empty text; looking up the
    // null state itself finds nothing, as no stored key is null.
    map.insert(TStr(), "from null");
    EXPECT_TRUE(map.find(TStr()) == map.end());
    EXPECT_TRUE(*map.find("") == "from null");
    EXPECT_TRUE(map[TStr()] == "from null");
    EXPECT_TRUE(map.findText(nullptr) == map.end());
    EXPECT_TRUE(*map.findText("") == "from null");
}

TEST_F(MapScale, DestroyingALargeMapReleasesEverything) {
    const int blocks = mem_blocks_in_use();
    const int bytes = mem_bytes_in_use();
    {
        TextMap map(17);
        for (int i = 0; i < 2000; ++i)
            map.insert(utf8(key_of(i)), TStr::number(i));
        PointerMap pointers(17);
        for (int i = 0; i < 2000; ++i)
            pointers.insert(utf8(key_of(i)), &pointers);
    }
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

TEST_F(StoreScale, ThousandsOfSettingsAgreeWithStdMap) {
    twice([] {
        // Relative keys all begin with the same bytes once normalised; the
        // same names written absolute must reach the same entries.
        std::map<std::string, std::string> model;
        for (int i = 0; i < 3000; ++i) {
            const std::string name = "scale/entry" + std::to_string(i);
            const std::string value = "value " + std::to_string(i % 17);
            if (i % 2)
                ezuSetString(TStr(name.c_str()), TStr(value.c_str()), i % 3 == 0);
            else
                ezuSetString(TStr(("/tamri/global/" + name).c_str()), TStr(value.c_str()), false);
            model["/tamri/global/" + name] = value;
        }
        for (int i = 0; i < 3000; i += 3)
            ezuSetInt(TStr(("scale/entry" + std::to_string(i)).c_str()), -i, true);
        for (int i = 0; i < 3000; i += 3)
            model["/tamri/global/scale/entry" + std::to_string(i)] = std::to_string(-i);
        for (const auto& kv : model) {
            const std::string relative = kv.first.substr(14);
            ASSERT_TRUE(ezuGetString(TStr(relative.c_str())) == kv.second.c_str()) << relative;
            ASSERT_TRUE(ezuGetString(TStr(kv.first.c_str())) == kv.second.c_str());
        }
        for (int i = 0; i < 3000; i += 3)
            ASSERT_EQ(ezuGetInt(TStr(("scale/entry" + std::to_string(i)).c_str())), -i);
        EXPECT_TRUE(ezuGetString("scale/entry3000") == "");
        EXPECT_EQ(ezuGetInt("scale/absent"), 0);
        EXPECT_EQ(ezuGetDouble("scale/absent"), 0.0);
        EXPECT_EQ(ezuGetPointer("scale/entry1"), nullptr);
    });
}

TEST_F(StoreScale, LongAndUnusualKeys) {
    twice([] {
        // A relative key too long for a short buffer, one with "%", the
        // empty key, and a null-state key.
        const std::string long_name(1000, 'x');
        ezuSetString(TStr(long_name.c_str()), "long", false);
        EXPECT_TRUE(ezuGetString(TStr(("/tamri/global/" + long_name).c_str())) == "long");
        ezuSetString(TStr(long_name.c_str()), "long again", false);
        EXPECT_TRUE(ezuGetString(TStr(long_name.c_str())) == "long again");
        ezuSetString("100%1", "percent", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/100%1") == "percent");
        ezuSetString("", "empty key", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/") == "empty key");
        EXPECT_TRUE(ezuGetString(TStr()) == "empty key");
        int marker = 0;
        ezuSetPointer(TStr(long_name.c_str()), &marker);
        EXPECT_EQ(ezuGetPointer(TStr(("/tamri/global/" + long_name).c_str())), &marker);
        ezuSetPointer(TStr(long_name.c_str()), nullptr);
        EXPECT_EQ(ezuGetPointer(TStr(long_name.c_str())), nullptr);
        // Relative keys of every length up to past the short buffer, each
        // read back under its absolute name, and a key cut short whose block
        // still holds the bytes behind its terminator.
        for (size_t n = 0; n <= 240; ++n) {
            const std::string name = "k" + std::string(n, char('a' + n % 26));
            ezuSetString(TStr(name.c_str()), TStr::number(int(n)), false);
            ASSERT_TRUE(ezuGetString(TStr(("/tamri/global/" + name).c_str())) ==
                        TStr::number(int(n)))
                << n;
        }
        TStr cut("cutkey-and-what-was-behind-it");
        cut.truncate(6);
        ezuSetString(cut, "cut", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/cutkey") == "cut");
        EXPECT_TRUE(ezuGetString("cutkey-and-what-was-behind-it").isEmpty());
    });
}
