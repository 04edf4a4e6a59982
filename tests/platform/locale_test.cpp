// The user's locale: country and language codes.
#include "platform_test_util.h"

EZU_TEST_SUITE(PlatformLocale);

namespace {

std::string country() {
    EzuWChar buffer[16];
    return plat_locale_country(buffer, 16) ? ezu_test_utf8(buffer) : std::string("<failed>");
}

std::string language() {
    EzuWChar buffer[16];
    return plat_locale_language(buffer, 16) ? ezu_test_utf8(buffer) : std::string("<failed>");
}

// Sets the three locale variables for one test and restores them after it.
class LocaleVariables {
  public:
    LocaleVariables() {
        for (int i = 0; i < 3; ++i) {
            const char* value = plat_getenv(kNames[i]);
            saved_[i] = value ? value : "";
        }
    }
    ~LocaleVariables() {
        for (int i = 0; i < 3; ++i)
            plat_setenv(kNames[i], saved_[i].c_str());
    }
    void set(const char* lc_all, const char* lc_ctype, const char* lang) {
        plat_setenv("LC_ALL", lc_all);
        plat_setenv("LC_CTYPE", lc_ctype);
        plat_setenv("LANG", lang);
    }

  private:
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::string saved_[3];
};

constexpr const char* LocaleVariables::kNames[3];

} // namespace

TEST_F(PlatformLocale, CountryAndLanguageComeFromTheLocaleVariables) {
    if (kTestingOnWindows) {
        // Windows reads the user's settings: only the form can be checked.
        const std::string c = country(), l = language();
        EXPECT_EQ(c.size(), 2u) << c;
        EXPECT_GE(l.size(), 2u) << l;
        EXPECT_LE(l.size(), 3u) << l;
        return;
    }
    LocaleVariables variables;
    variables.set(nullptr, nullptr, "de_CH.UTF-8");
    EXPECT_EQ(country(), "CH");
    EXPECT_EQ(language(), "de");

    variables.set(nullptr, "fr_CA", "de_CH.UTF-8"); // LC_CTYPE before LANG
    EXPECT_EQ(country(), "CA");
    EXPECT_EQ(language(), "fr");

    variables.set("pt_BR.ISO-8859-1@euro", "fr_CA", "de_CH"); // LC_ALL first
    EXPECT_EQ(country(), "BR");
    EXPECT_EQ(language(), "pt");

    variables.set("", "", "es_419.UTF-8"); // empty counts as unset
    EXPECT_EQ(country(), "419");
    EXPECT_EQ(language(), "es");
}

TEST_F(PlatformLocale, MissingCountryFailsAndMissingLanguageIsEnglish) {
    if (kTestingOnWindows) {
        // Windows: the user's locale always names both.
        EXPECT_NE(country(), "<failed>");
        EXPECT_NE(language(), "<failed>");
        return;
    }
    LocaleVariables variables;
    for (const char* name : {"C", "POSIX", "C.UTF-8", "de", "de.UTF-8"}) {
        variables.set(name, nullptr, nullptr);
        EXPECT_EQ(country(), "<failed>") << name;
    }
    variables.set("de.UTF-8", nullptr, nullptr);
    EXPECT_EQ(language(), "de");
    for (const char* name : {"C", "POSIX", "C.UTF-8", "_CH"}) {
        variables.set(name, nullptr, nullptr);
        EXPECT_EQ(language(), "en") << name;
    }
    variables.set("_CH.UTF-8", nullptr, nullptr);
    EXPECT_EQ(country(), "CH");
    variables.set(nullptr, nullptr, nullptr);
    EXPECT_EQ(language(), "en");
    EXPECT_EQ(country(), "<failed>");
}

TEST_F(PlatformLocale, BufferRulesOfTheSystemCall) {
    LocaleVariables variables;
    if (!kTestingOnWindows)
        variables.set("de_CH.UTF-8", nullptr, nullptr);
    // Units 0: the units needed, terminator included, and nothing written.
    EzuWChar buffer[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
    const int needed = plat_locale_country(buffer, 0);
    ASSERT_GE(needed, 3);
    EXPECT_EQ(buffer[0], '#');
    // Too small: failure, nothing written beyond the room.
    EXPECT_EQ(plat_locale_country(buffer, needed - 1), 0);
    EXPECT_EQ(buffer[needed - 1], '#');
    // Just enough: the units written.
    EXPECT_EQ(plat_locale_country(buffer, needed), needed);
    EXPECT_EQ(buffer[needed - 1], 0);
    EXPECT_EQ(buffer[needed], '#');
    EXPECT_EQ(plat_locale_language(buffer, 0), int(language().size()) + 1);
}
