#include "store_fixture.h"

#include "ezu/settings/plugin.h"
#include "ezu/settings/settings.h"

#include <string.h>

#include <chrono>
#include <string>

namespace {

// A plug-in with a fixed name that counts how often it is asked for it.
class Named : public TEzuPluginBase {
  public:
    explicit Named(const char* name, TEzuPluginBase* parent = nullptr)
        : TEzuPluginBase(parent), name_(name) {}
    TStr name() const override {
        ++nameCalls;
        return TStr(name_);
    }
    TStr description() const override { return "test plug-in"; }
    mutable int nameCalls = 0;

  private:
    const char* name_;
};

// A plug-in that is its own parent.
class SelfParent : public TEzuPluginBase {
  public:
    SelfParent() : TEzuPluginBase(this) {}
    TStr name() const override { return "pk_self"; }
    TStr description() const override { return ""; }
};

TStr utf8(const char* text) {
    return TStr(text, int(strlen(text)), 1);
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

EZU_STORE_TEST_SUITE(PluginKeys);

TEST_F(PluginKeys, RelativeNamesLiveUnderTheGlobalBranch) {
    twice([] {
        Named editor("pk_editor");
        editor.setInt("width", 80, true);
        EXPECT_TRUE(ezuGetString("/tamri/global/pk_editor/width") == "80");
        EXPECT_EQ(editor.getInt("width"), 80);
        EXPECT_TRUE(editor.getString("width") == "80");
    });
}

TEST_F(PluginKeys, AbsoluteAndEmptyNames) {
    twice([] {
        Named absolute("/pk_opt/x");
        absolute.setString("width", "w", false);
        EXPECT_TRUE(ezuGetString("/pk_opt/x/width") == "w");
        Named unnamed("");
        unnamed.setString("pk_empty_width", "e", false);
        EXPECT_TRUE(ezuGetString("/pk_empty_width") == "e");
        EXPECT_TRUE(ezuGetString("/tamri/global/pk_empty_width") == "");
    });
}

TEST_F(PluginKeys, AKeyWithALeadingSlashDoublesIt) {
    twice([] {
        Named editor("pk_slash");
        editor.setString("/width", "d", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/pk_slash//width") == "d");
        EXPECT_TRUE(ezuGetString("/tamri/global/pk_slash/width") == "");
    });
}

TEST_F(PluginKeys, PlaceholdersInNameOrKeyStayAsWritten) {
    twice([] {
        Named odd("pk_odd%1");
        odd.setString("k%2", "v", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/pk_odd%1/k%2") == "v");
    });
}

TEST_F(PluginKeys, EveryTypeGoesThroughThePluginBranch) {
    static int object = 0;
    twice([] {
        Named plugin("pk_types");
        plugin.setDouble("ratio", 0.25, false);
        EXPECT_TRUE(ezuGetString("pk_types/ratio") == "0.25");
        EXPECT_DOUBLE_EQ(plugin.getDouble("ratio"), 0.25);
        TEzuStrList list;
        list.append("a:b");
        list.append("c");
        plugin.setStringList("list", list, false);
        EXPECT_TRUE(ezuGetString("pk_types/list") == "a!{3a}b:c");
        const TEzuStrList back = plugin.getStringList("list");
        ASSERT_EQ(back.size(), 2);
        EXPECT_TRUE(*back.at(0) == "a:b");
        plugin.setPointer("ptr", &object);
        EXPECT_EQ(ezuGetPointer("pk_types/ptr"), &object);
        EXPECT_EQ(plugin.getPointer("ptr"), &object);
    });
}

TEST_F(PluginKeys, NameIsAskedOncePerOperation) {
    twice([] {
        Named plugin("pk_count");
        plugin.setString("a", "1", false);
        plugin.getString("a");
        plugin.setStringList("b", TEzuStrList(TStr("x")), false);
        plugin.getStringList("b");
        plugin.getPointer("c");
        EXPECT_EQ(plugin.nameCalls, 5);
    });
}

TEST_F(PluginKeys, ValuesOutliveThePlugin) {
    twice([] {
        { Named("pk_gone").setString("k", "kept", false); }
        EXPECT_TRUE(Named("pk_gone").getString("k") == "kept");
    });
}

EZU_STORE_TEST_SUITE(PluginLookup);

TEST_F(PluginLookup, InheritedValuesComeFromTheNearestAncestor) {
    twice([] {
        Named root("pl_root");
        Named parent("pl_parent", &root);
        Named child("pl_child", &parent);
        root.setString("width", "root", false);
        EXPECT_TRUE(ezuLookupSetting("width", &child, true) == "root");
        EXPECT_TRUE(ezuLookupSetting("width", &child, false) == "");
        root.setString("depth", "root", false);
        parent.setString("depth", "parent", false);
        EXPECT_TRUE(ezuLookupSetting("depth", &child, true) == "parent");
        root.setString("size", "root", false);
        parent.setString("size", "parent", false);
        child.setString("size", "child", false);
        EXPECT_TRUE(ezuLookupSetting("size", &child, true) == "child");
        EXPECT_TRUE(ezuLookupSetting("size", &root, true) == "root");
    });
}

TEST_F(PluginLookup, EmptyValuesAreSkippedAndAMissingKeyGivesEmptyText) {
    twice([] {
        Named root("pl_root2");
        Named child("pl_child2", &root);
        child.setString("height", "", false);
        root.setString("height", "25", false);
        EXPECT_TRUE(ezuLookupSetting("height", &child, true) == "25");
        const TStr none = ezuLookupSetting("pl_never_set", &child, true);
        EXPECT_TRUE(none == "");
        EXPECT_FALSE(none.isNull());
        EXPECT_EQ(root.nameCalls, 3); // one write, then reached by both lookups
    });
}

TEST_F(PluginLookup, WithoutAPluginTheLookupIsGlobal) {
    twice([] {
        ezuSetString("pl_global", "g", false);
        EXPECT_TRUE(ezuLookupSetting("pl_global", nullptr, true) == "g");
        EXPECT_TRUE(ezuLookupSetting("/tamri/global/pl_global", nullptr, false) == "g");
    });
}

TEST_F(PluginLookup, ParentsInACircleEndTheWalk) {
    twice([] {
        SelfParent self;
        EXPECT_TRUE(ezuLookupSetting("pl_missing", &self, true) == "");
        struct Pair {
            Named a{"pl_ring_a", &b};
            Named b{"pl_ring_b", &a};
        } ring;
        EXPECT_TRUE(ezuLookupSetting("pl_missing", &ring.a, true) == "");
        ring.b.setString("pl_ring_key", "b", false);
        EXPECT_TRUE(ezuLookupSetting("pl_ring_key", &ring.a, true) == "b");
    });
}

EZU_STORE_TEST_SUITE(PluginExpand);

TEST_F(PluginExpand, MarkersAreReplacedByTheirSettings) {
    twice([] {
        ezuSetString("{ex_a}", "1", false);
        EXPECT_TRUE(ezuExpandSettings("x={ex_a}.{ex_b}", nullptr, false) == "x=1.{ex_b}");
        ezuSetString("{ex_b}", "", false);
        EXPECT_TRUE(ezuExpandSettings("x={ex_a}.{ex_b}", nullptr, false) == "x=1.{ex_b}");
        EXPECT_TRUE(ezuExpandSettings("{ex_a}", nullptr, false) == "1");
        EXPECT_TRUE(ezuExpandSettings("{ex_a}{ex_a}", nullptr, false) == "11");
        EXPECT_TRUE(ezuExpandSettings("no markers {here", nullptr, false) == "no markers {here");
        EXPECT_TRUE(ezuExpandSettings("}{", nullptr, false) == "}{");
        EXPECT_TRUE(ezuExpandSettings("", nullptr, false) == "");
    });
}

TEST_F(PluginExpand, ValuesAreExpandedInTurn) {
    twice([] {
        ezuSetString("{ex_outer}", "<{ex_inner}>", false);
        ezuSetString("{ex_inner}", "2", false);
        EXPECT_TRUE(ezuExpandSettings("{ex_outer}", nullptr, false) == "<2>");
        ezuSetString("{ex_built}", "{ex_in", false);
        ezuSetString("{ex_inner2}", "ok", false);
        // A marker completed by a value is found too.
        EXPECT_TRUE(ezuExpandSettings("{ex_built}ner2}", nullptr, false) == "ok");
    });
}

TEST_F(PluginExpand, BracesDoNotNest) {
    twice([] {
        ezuSetString("{ex_nb}", "B", false);
        EXPECT_TRUE(ezuExpandSettings("{ex_a{ex_nb}", nullptr, false) == "{ex_aB");
    });
}

TEST_F(PluginExpand, MarkersAreLookedUpThroughThePlugin) {
    twice([] {
        Named root("ex_root");
        Named child("ex_child", &root);
        root.setString("{home}", "/r", false);
        EXPECT_TRUE(ezuExpandSettings("{home}/x", &child, true) == "/r/x");
        EXPECT_TRUE(ezuExpandSettings("{home}/x", &child, false) == "{home}/x");
        EXPECT_TRUE(ezuGetString("/tamri/global/ex_root/{home}") == "/r");
    });
}

TEST_F(PluginExpand, MultiByteTextAroundMarkers) {
    twice([] {
        ezuSetString("{ex_mb}", utf8("\xC3\xA9"), false);
        const TStr text = utf8("\xC3\xA9{ex_unset}\xC3\xA9{ex_mb}.");
        const TStr expected = utf8("\xC3\xA9{ex_unset}\xC3\xA9\xC3\xA9.");
        EXPECT_TRUE(ezuExpandSettings(text, nullptr, false) == expected);
        // Long runs of two-byte characters between markers.
        const std::string run = repeated("\xC3\xA9", 300);
        const std::string longText =
            run + "{ex_unset}" + run + "{ex_mb}" + run + "{ex_unset}" + run + "{ex_mb}";
        const std::string longExpected =
            run + "{ex_unset}" + run + "\xC3\xA9" + run + "{ex_unset}" + run + "\xC3\xA9";
        EXPECT_TRUE(ezuExpandSettings(utf8(longText.c_str()), nullptr, false) ==
                    utf8(longExpected.c_str()));
    });
}

// Markers are remembered with their values during one expansion: a chain
// through more markers than are remembered, and markers of every length, still
// give each marker its own value.
TEST_F(PluginExpand, ChainsOfManyMarkersAndLongMarkers) {
    twice([] {
        // Twenty markers of one length, each leading to the next: more than
        // are remembered, so later ones take the places of earlier ones.
        for (int i = 10; i < 30; ++i) {
            const std::string next =
                i < 29 ? "<{ex_m" + std::to_string(i + 1) + "}>" : std::string("end");
            ezuSetString(("{ex_m" + std::to_string(i) + "}").c_str(), next.c_str(), false);
        }
        const auto nested = [](int depth) {
            return repeated("<", depth) + "end" + repeated(">", depth);
        };
        EXPECT_EQ(
            std::string(
                ezuExpandSettings("{ex_m10}|{ex_m29}|{ex_m26}|{ex_m10}", nullptr, false).ascii()),
            nested(19) + "|end|" + nested(3) + "|" + nested(19));
        for (int n : {60, 61, 62, 63, 64, 65, 200}) {
            const std::string a = "{" + repeated("a", n - 2) + "}";
            const std::string b = "{" + repeated("a", n - 3) + "b}";
            ezuSetString(a.c_str(), "A", false);
            ezuSetString(b.c_str(), "B", false);
            EXPECT_EQ(
                std::string(ezuExpandSettings((a + b + a + b).c_str(), nullptr, false).ascii()),
                "ABAB")
                << n;
        }
    });
}

EZU_STORE_TEST_SUITE(PluginExpandBounds);

TEST_F(PluginExpandBounds, AMarkerThatMultipliesItselfEndsQuickly) {
    twice([] {
        ezuSetString("{a}", repeated("{a}", 20).c_str(), false);
        const auto start = std::chrono::steady_clock::now();
        const TStr result = ezuExpandSettings("{a}", nullptr, false);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(1));
        // Each substitution adds 57 bytes; the 288th would pass the bound.
        EXPECT_TRUE(result == repeated("{a}", 5454).c_str());
    });
}

TEST_F(PluginExpandBounds, SubstitutionsAreCounted) {
    twice([] {
        ezuSetString("{ex_grow}", "{ex_grow}x", false);
        EXPECT_TRUE(ezuExpandSettings("{ex_grow}", nullptr, false) ==
                    ("{ex_grow}" + repeated("x", kEzuExpandMaxSubstitutions)).c_str());
        ezuSetString("{ex_ping}", "{ex_pong}", false);
        ezuSetString("{ex_pong}", "{ex_ping}", false);
        EXPECT_TRUE(ezuExpandSettings("[{ex_ping}]", nullptr, false) == "[{ex_ping}]");
    });
}

TEST_F(PluginExpandBounds, TheTextNeverGrowsPastTheBound) {
    twice([] {
        ezuSetString("{ex_x}", "0123456789", false);
        // Exactly at the bound is allowed; one byte more is not.
        const std::string fits = repeated("-", kEzuExpandMaxBytes - 10) + "{ex_x}";
        EXPECT_EQ(std::string(ezuExpandSettings(fits.c_str(), nullptr, false).ascii()),
                  repeated("-", kEzuExpandMaxBytes - 10) + "0123456789");
        const std::string over = repeated("-", kEzuExpandMaxBytes - 9) + "{ex_x}";
        EXPECT_TRUE(ezuExpandSettings(over.c_str(), nullptr, false) == over.c_str());
        const std::string longer = "{ex_x}" + repeated("-", kEzuExpandMaxBytes);
        EXPECT_TRUE(ezuExpandSettings(longer.c_str(), nullptr, false) == longer.c_str());
    });
}

TEST_F(PluginExpandBounds, ManyUnsetMarkersEndQuickly) {
    twice([] {
        const std::string text = repeated("{ex_none}", kEzuExpandMaxBytes / 9);
        ezuSetString("{ex_many}", text.c_str(), false);
        const auto start = std::chrono::steady_clock::now();
        const TStr result = ezuExpandSettings("{ex_many}", nullptr, false);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(2));
        EXPECT_TRUE(result == text.c_str());
    });
}
