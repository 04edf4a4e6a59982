// %NAME% expansion and its buffer rules.
#include "platform_test_util.h"

EZU_TEST_SUITE(PlatformExpandEnvironment);

namespace {

// The expansion of `text` through a generous buffer, or "<failed>".
std::string expand(const char16_t* text) {
    EzuWChar buffer[256];
    const int units = plat_expand_environment(W(text).c_str(), buffer, 256);
    if (units <= 0 || units > 256)
        return "<failed>";
    EXPECT_EQ(size_t(units), WStr(buffer).size() + 1) << "count includes the terminator";
    return ezu_test_utf8(buffer);
}

class ExpansionVariables {
  public:
    ExpansionVariables() {
        plat_setenv("EZU_PLAT_EXPAND", "value");
        plat_setenv("EZU_PLAT_PATHLIKE", "C:\\dir\\sub");
        plat_setenv("EZU_PLAT_UNSET", nullptr);
    }
    ~ExpansionVariables() {
        plat_setenv("EZU_PLAT_EXPAND", nullptr);
        plat_setenv("EZU_PLAT_PATHLIKE", nullptr);
    }
};

} // namespace

TEST_F(PlatformExpandEnvironment, SetNamesAreReplacedAndUnsetOnesStay) {
    ExpansionVariables variables;
    EXPECT_EQ(expand(u"%EZU_PLAT_EXPAND%"), "value");
    EXPECT_EQ(expand(u"a%EZU_PLAT_EXPAND%b%EZU_PLAT_EXPAND%c"), "avaluebvaluec");
    EXPECT_EQ(expand(u"%EZU_PLAT_PATHLIKE%\\file"), "C:\\dir\\sub\\file");
    EXPECT_EQ(expand(u"%EZU_PLAT_UNSET%"), "%EZU_PLAT_UNSET%");
    EXPECT_EQ(expand(u"x%EZU_PLAT_UNSET%y%EZU_PLAT_EXPAND%"), "x%EZU_PLAT_UNSET%yvalue");
    EXPECT_EQ(expand(u"no references"), "no references");
    EXPECT_EQ(expand(u"100%"), "100%");
    EXPECT_EQ(expand(u"50% of %EZU_PLAT_EXPAND"), "50% of %EZU_PLAT_EXPAND");
    EXPECT_EQ(expand(u""), "");
    EXPECT_EQ(expand(u"caf\u00e9 %EZU_PLAT_EXPAND% \u6f22"), "caf\xc3\xa9 value \xe6\xbc\xa2");
}

TEST_F(PlatformExpandEnvironment, CountsAreUnitsNeededAndNothingIsWrittenBeyondTheRoom) {
    ExpansionVariables variables;
    const WStr text = W(u"<%EZU_PLAT_EXPAND%>"); // "<value>": 7 units and the terminator
    EXPECT_EQ(plat_expand_environment(text.c_str(), nullptr, 0), 8);

    EzuWChar buffer[12];
    for (EzuWChar& c : buffer)
        c = '#';
    EXPECT_EQ(plat_expand_environment(text.c_str(), buffer, 4), 8);
    for (int i = 4; i < 12; ++i)
        EXPECT_EQ(buffer[i], '#') << i;

    EXPECT_EQ(plat_expand_environment(text.c_str(), buffer, 8), 8);
    EXPECT_EQ(ezu_test_utf8(buffer), "<value>");
    EXPECT_EQ(buffer[8], '#');

    EXPECT_EQ(plat_expand_environment(nullptr, buffer, 12), 0);
}
