#include "store_fixture.h"

#include "ezu/core/encoding.h"
#include "ezu/settings/settings.h"
#include "ezu/platform/platform.h"

#include <limits.h>
#include <locale.h>
#include <string.h>

#include "strlist_texts.h"

#include <string>
#include <vector>

EZU_STORE_TEST_SUITE(SettingsKeys);

TEST_F(SettingsKeys, RelativeKeysLiveUnderTheGlobalBranch) {
    twice([] {
        ezuSetString("sk_width", "80", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/sk_width") == "80");
        EXPECT_TRUE(ezuGetString("sk_width") == "80");
        ezuSetString("/tamri/global/sk_height", "25", true);
        EXPECT_TRUE(ezuGetString("sk_height") == "25");
        ezuSetString("sk_dir/sub", "s", true);
        EXPECT_TRUE(ezuGetString("/tamri/global/sk_dir/sub") == "s");
    });
}

TEST_F(SettingsKeys, AbsoluteKeysStayAsTheyAre) {
    twice([] {
        ezuSetString("/sk_other/x", "abs", false);
        EXPECT_TRUE(ezuGetString("/sk_other/x") == "abs");
        EXPECT_TRUE(ezuGetString("sk_other/x") == "");
        EXPECT_TRUE(ezuGetString("/tamri/global/sk_other/x") == "");
        // No meaning is given to "/": a trailing one makes another key.
        EXPECT_TRUE(ezuGetString("/sk_other/x/") == "");
    });
}

TEST_F(SettingsKeys, TheEmptyKeyNamesTheGlobalBranch) {
    twice([] {
        ezuSetString("", "root value", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/") == "root value");
        EXPECT_TRUE(ezuGetString(TStr()) == "root value");
    });
}

TEST_F(SettingsKeys, PercentSignsInKeysAreKept) {
    twice([] {
        ezuSetString("sk_pct%1%%2", "p", false);
        EXPECT_TRUE(ezuGetString("/tamri/global/sk_pct%1%%2") == "p");
        EXPECT_TRUE(ezuGetString("/tamri/global/sk_pct") == "");
    });
}

TEST_F(SettingsKeys, WritingAgainReplacesWhateverThePersistFlag) {
    twice([] {
        ezuSetString("sk_replace", "first", true);
        ezuSetString("sk_replace", "second", false);
        EXPECT_TRUE(ezuGetString("sk_replace") == "second");
        ezuSetString("sk_replace", "third", true);
        EXPECT_TRUE(ezuGetString("sk_replace") == "third");
    });
}

TEST_F(SettingsKeys, MissingAndEmptyValuesReadAsEmptyText) {
    twice([] {
        const TStr missing = ezuGetString("sk_never_set");
        EXPECT_TRUE(missing.isEmpty());
        EXPECT_FALSE(missing.isNull());
        ezuSetString("sk_empty", "", false);
        EXPECT_TRUE(ezuGetString("sk_empty") == "");
        ezuSetString("sk_null", TStr(), false);
        EXPECT_FALSE(ezuGetString("sk_null").isNull());
        EXPECT_TRUE(ezuGetString("sk_null") == "");
        EXPECT_TRUE(ezuGetString("Sk_Empty") == "");
    });
}

TEST_F(SettingsKeys, ReadsAreCopies) {
    twice([] {
        ezuSetString("sk_copy", "kept", false);
        TStr read = ezuGetString("sk_copy");
        read += " changed";
        EXPECT_TRUE(ezuGetString("sk_copy") == "kept");
    });
}

EZU_STORE_TEST_SUITE(SettingsNumbers);

TEST_F(SettingsNumbers, IntegersAreStoredAsDecimalText) {
    twice([] {
        ezuSetInt("sn_neg", -5, true);
        EXPECT_TRUE(ezuGetString("sn_neg") == "-5");
        EXPECT_EQ(ezuGetInt("sn_neg"), -5);
        ezuSetInt("sn_zero", 0, false);
        EXPECT_TRUE(ezuGetString("sn_zero") == "0");
        ezuSetInt("sn_max", INT_MAX, false);
        EXPECT_TRUE(ezuGetString("sn_max") == "2147483647");
        EXPECT_EQ(ezuGetInt("sn_max"), INT_MAX);
        ezuSetInt("sn_min", INT_MIN, false);
        EXPECT_TRUE(ezuGetString("sn_min") == "-2147483648");
        EXPECT_EQ(ezuGetInt("sn_min"), INT_MIN);
    });
}

TEST_F(SettingsNumbers, ReadingIntegersFromText) {
    twice([] {
        ezuSetString("sn_spaced", "  42 ", false);
        EXPECT_EQ(ezuGetInt("sn_spaced"), 42);
        ezuSetString("sn_plus", "+7", false);
        EXPECT_EQ(ezuGetInt("sn_plus"), 7);
        ezuSetString("sn_trailing", "42abc", false);
        EXPECT_EQ(ezuGetInt("sn_trailing"), 0);
        ezuSetString("sn_big", "4294967296", false);
        EXPECT_EQ(ezuGetInt("sn_big"), 0);
        ezuSetString("sn_over", "2147483648", false);
        EXPECT_EQ(ezuGetInt("sn_over"), 0);
        ezuSetString("sn_hex", "ff", false);
        EXPECT_EQ(ezuGetInt("sn_hex"), 0);
        ezuSetString("sn_blank", "", false);
        EXPECT_EQ(ezuGetInt("sn_blank"), 0);
        EXPECT_EQ(ezuGetInt("sn_never_set"), 0);
    });
}

TEST_F(SettingsNumbers, DoublesKeepSixSignificantDigits) {
    twice([] {
        ezuSetDouble("sn_pi", 3.14159265, false);
        EXPECT_TRUE(ezuGetString("sn_pi") == "3.14159");
        EXPECT_DOUBLE_EQ(ezuGetDouble("sn_pi"), 3.14159);
        ezuSetDouble("sn_half", -0.5, true);
        EXPECT_TRUE(ezuGetString("sn_half") == "-0.5");
        ezuSetDouble("sn_whole", 2.0, true);
        EXPECT_TRUE(ezuGetString("sn_whole") == "2");
        ezuSetDouble("sn_large", 1e20, true);
        EXPECT_TRUE(ezuGetString("sn_large") == "1e+20");
        EXPECT_DOUBLE_EQ(ezuGetDouble("sn_large"), 1e20);
        ezuSetDouble("sn_million", 1234567.0, true);
        EXPECT_TRUE(ezuGetString("sn_million") == "1.23457e+06");
    });
}

TEST_F(SettingsNumbers, ReadingDoublesFromText) {
    twice([] {
        ezuSetString("sn_prefix", "12abc", false);
        EXPECT_DOUBLE_EQ(ezuGetDouble("sn_prefix"), 12.0);
        ezuSetString("sn_letters", "abc", false);
        EXPECT_DOUBLE_EQ(ezuGetDouble("sn_letters"), 0.0);
        ezuSetString("sn_lead", "  2.5", false);
        EXPECT_DOUBLE_EQ(ezuGetDouble("sn_lead"), 2.5);
        EXPECT_DOUBLE_EQ(ezuGetDouble("sn_never_set"), 0.0);
    });
}

namespace {

// Switches the C library to a locale for the life of the object, and back to
// "C" after it. Linux machines often have no locale but "C", so the build
// makes the ones this test needs in EZU_TEST_LOCALE_DIR and they are looked
// up there; Windows has its locales built in.
class ProcessLocale {
  public:
    explicit ProcessLocale(const char* name) {
        const char* saved = plat_getenv("LOCPATH");
        const std::string old = saved ? saved : "";
        plat_setenv("LOCPATH", EZU_TEST_LOCALE_DIR);
        set_ = setlocale(LC_ALL, name) != nullptr;
        plat_setenv("LOCPATH", saved ? old.c_str() : nullptr);
    }
    ~ProcessLocale() { setlocale(LC_ALL, "C"); }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;
    bool set() const { return set_; }

  private:
    bool set_ = false;
};

struct LocaleCase {
    const char* name;
    const char* point; // its decimal point
};

// Locales whose decimal point is not ".": a one-byte "," on both systems,
// and on Linux also one whose point is a two-byte character (Windows has
// none: its C library keeps the point in one byte of the code page).
const std::vector<LocaleCase> kLocales =
    kTestingOnWindows
        ? std::vector<LocaleCase>{{"C", "."}, {"German_Germany.1252", ","}}
        : std::vector<LocaleCase>{{"C", "."}, {"de_DE.UTF-8", ","}, {"ps_AF.UTF-8", "\xD9\xAB"}};

// The bytes of a string, "<null>" for the null state.
std::string bytes(const TStr& s) {
    return s.buffer()->data ? s.buffer()->data : "<null>";
}

} // namespace

// Number text is a data format: whatever locale the program has set, it is
// written and read with "." exactly as in the "C" locale.
TEST_F(SettingsNumbers, NumberTextIgnoresTheProcessLocale) {
    struct Written {
        std::string got;
        const char* want;
    };
    struct Read {
        std::string text;
        double value;
        bool ok;
    };
    for (const LocaleCase& locale : kLocales) {
        twice([&] {
            const ProcessLocale in(locale.name);
            ASSERT_TRUE(in.set()) << "the C library has no locale " << locale.name;
            ASSERT_STREQ(localeconv()->decimal_point, locale.point) << locale.name;
            const bool dot = strcmp(locale.point, ".") == 0;
            ezuSetDouble("sn_locale", 3.25, false);
            const Written written[] = {
                {bytes(TStr("%1").arg(2.5, 0, 'f', 2)), "2.50"},
                {bytes(TStr("%1").arg(-1234.56, 0, 'e', 3)), "-1.235e+03"},
                {bytes(TStr("[%1]").arg(0.25f, 6)), "[  0.25]"},
                {bytes(ezuGetString("sn_locale")), "3.25"},
            };
            for (const Written& w : written)
                EXPECT_EQ(w.got, w.want) << locale.name;
            const Read reads[] = {
                {"2.5", 2.5, true},
                {" -0.125e1", -1.25, true},
                {".5", 0.5, true},
                {"1.5.5", 1.5, false},
                // Any other point ends the number, as in "C".
                {std::string("2") + locale.point + "5", dot ? 2.5 : 2.0, dot},
            };
            for (const Read& r : reads) {
                bool ok = !r.ok;
                const TStr text(r.text.data(), int(r.text.size()), ENC_UTF8);
                EXPECT_EQ(text.toDouble(&ok), r.value) << locale.name << " " << r.text;
                EXPECT_EQ(ok, r.ok) << locale.name << " " << r.text;
            }
            EXPECT_EQ(ezuGetDouble("sn_locale"), 3.25) << locale.name;
        });
    }
}

TEST_F(SettingsNumbers, TheTypeIsNotRecorded) {
    twice([] {
        ezuSetInt("sn_int_as_double", 7, false);
        EXPECT_DOUBLE_EQ(ezuGetDouble("sn_int_as_double"), 7.0);
        ezuSetDouble("sn_double_as_int", 2.5, false);
        EXPECT_EQ(ezuGetInt("sn_double_as_int"), 0);
        ezuSetInt("sn_int_as_list", 12, false);
        EXPECT_EQ(texts(ezuGetStringList("sn_int_as_list")), (Texts{"12"}));
    });
}

EZU_STORE_TEST_SUITE(SettingsLists);

TEST_F(SettingsLists, ElementsAreEscapedAndJoined) {
    twice([] {
        ezuSetStringList("sl_paths", listOf({"C:\\dir", "a{b}"}), false);
        EXPECT_TRUE(ezuGetString("sl_paths") == "C!{3a}\\dir:a!{7b}b!{7d}");
        EXPECT_EQ(texts(ezuGetStringList("sl_paths")), (Texts{"C:\\dir", "a{b}"}));
    });
}

TEST_F(SettingsLists, EveryEscapedCharacterReadsBack) {
    twice([] {
        ezuSetStringList("sl_marks", listOf({"!", "}"}), false);
        EXPECT_TRUE(ezuGetString("sl_marks") == "!{21}:!{7d}");
        EXPECT_EQ(texts(ezuGetStringList("sl_marks")), (Texts{"!", "}"}));

        ezuSetStringList("sl_all", listOf({":!{}", "x:y"}), false);
        EXPECT_TRUE(ezuGetString("sl_all") == "!{3a}!{21}!{7b}!{7d}:x!{3a}y");
        EXPECT_EQ(texts(ezuGetStringList("sl_all")), (Texts{":!{}", "x:y"}));

        // Text that looks like an escape comes back as written.
        ezuSetStringList("sl_lookalike", listOf({"!{3a}", "{x}"}), false);
        EXPECT_EQ(texts(ezuGetStringList("sl_lookalike")), (Texts{"!{3a}", "{x}"}));
    });
}

TEST_F(SettingsLists, EmptyElementsAreNotStored) {
    twice([] {
        ezuSetStringList("sl_gap", listOf({"a", "", "b"}), false);
        EXPECT_TRUE(ezuGetString("sl_gap") == "a:b");
        EXPECT_EQ(texts(ezuGetStringList("sl_gap")), (Texts{"a", "b"}));
        ezuSetStringList("sl_none", TEzuStrList(), false);
        EXPECT_TRUE(ezuGetString("sl_none") == "");
        EXPECT_EQ(ezuGetStringList("sl_none").size(), 0);
        ezuSetStringList("sl_blanks", listOf({"", ""}), false);
        EXPECT_TRUE(ezuGetString("sl_blanks") == "");
        EXPECT_EQ(ezuGetStringList("sl_blanks").size(), 0);
        EXPECT_EQ(ezuGetStringList("sl_never_set").size(), 0);
    });
}

TEST_F(SettingsLists, OtherCharactersPassUnchanged) {
    twice([] {
        TEzuStrList list;
        list.append(TStr("\xC3\xA9t\xC3\xA9", 5, 1)); // UTF-8 for an accented word
        list.append("a b\\c%1");
        ezuSetStringList("sl_plain", list, false);
        const TEzuStrList back = ezuGetStringList("sl_plain");
        ASSERT_EQ(back.size(), 2);
        EXPECT_TRUE(*back.at(0) == *list.at(0));
        EXPECT_TRUE(*back.at(1) == "a b\\c%1");
    });
}

TEST_F(SettingsLists, TextWrittenDirectlyIsSplitAtColons) {
    twice([] {
        ezuSetString("sl_text", "x::y!{7B}", false);
        EXPECT_EQ(texts(ezuGetStringList("sl_text")), (Texts{"x", "", "y{"}));
    });
}

EZU_STORE_TEST_SUITE(SettingsPointers);

TEST_F(SettingsPointers, PointersLiveInTheirOwnTable) {
    static int object = 0;
    twice([] {
        ezuSetPointer("sp_obj", &object);
        EXPECT_EQ(ezuGetPointer("sp_obj"), &object);
        EXPECT_EQ(ezuGetPointer("/tamri/global/sp_obj"), &object);
        EXPECT_TRUE(ezuGetString("sp_obj") == "");
        EXPECT_EQ(ezuGetPointer("sp_never_set"), nullptr);
    });
}

TEST_F(SettingsPointers, TextAndPointerUnderOneKey) {
    static int object = 0;
    twice([] {
        ezuSetString("sp_both", "text", false);
        ezuSetPointer("sp_both", &object);
        EXPECT_TRUE(ezuGetString("sp_both") == "text");
        EXPECT_EQ(ezuGetPointer("sp_both"), &object);
        ezuSetString("sp_text_only", "t", false);
        EXPECT_EQ(ezuGetPointer("sp_text_only"), nullptr);
    });
}

TEST_F(SettingsPointers, ReplacingAPointer) {
    static int first = 0, second = 0;
    twice([] {
        ezuSetPointer("/sp_abs/p", &first);
        ezuSetPointer("/sp_abs/p", &second);
        EXPECT_EQ(ezuGetPointer("/sp_abs/p"), &second);
        ezuSetPointer("/sp_abs/p", nullptr);
        EXPECT_EQ(ezuGetPointer("/sp_abs/p"), nullptr);
    });
}
