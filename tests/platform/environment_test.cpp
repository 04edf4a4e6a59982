// Environment variables, the unique-name template and the executable suffix.
#include "platform_test_util.h"

#include <ctype.h>
#include <string.h>

EZU_TEST_SUITE(PlatformEnvironment);

TEST_F(PlatformEnvironment, SetReadAndRemoveAVariable) {
    const char* name = "EZU_PLATFORM_TEST_VAR";
    ASSERT_EQ(plat_setenv(name, "first value"), 0);
    ASSERT_NE(plat_getenv(name), nullptr);
    EXPECT_STREQ(plat_getenv(name), "first value");
    ASSERT_EQ(plat_setenv(name, "second"), 0);
    EXPECT_STREQ(plat_getenv(name), "second");
    ASSERT_EQ(plat_setenv(name, nullptr), 0);
    EXPECT_EQ(plat_getenv(name), nullptr);
    // An empty value removes the variable, as Windows holds no empty values.
    ASSERT_EQ(plat_setenv(name, "x"), 0);
    ASSERT_EQ(plat_setenv(name, ""), 0);
    EXPECT_EQ(plat_getenv(name), nullptr);

    EXPECT_EQ(plat_getenv("EZU_PLATFORM_NO_SUCH_VARIABLE"), nullptr);
    EXPECT_EQ(plat_getenv(nullptr), nullptr);
    EXPECT_EQ(plat_setenv("", "x"), -1);
    EXPECT_EQ(plat_setenv("A=B", "x"), -1);
    EXPECT_EQ(plat_setenv(nullptr, "x"), -1);
}

TEST_F(PlatformEnvironment, ExecutableSuffixFollowsTheSystem) {
    EXPECT_STREQ(plat_exe_suffix(), kTestingOnWindows ? ".exe" : "");
}

class PlatformUniqueName : public PlatformScratchTest {
  protected:
    // The template "<scratch>\<prefix>XXXXXX" in a writable buffer.
    std::vector<char> templ(const char* prefix) {
        std::string text = ezu_test_utf8(scratch_.c_str()) + "\\" + prefix + "XXXXXX";
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        return buffer;
    }
    // The six characters that replaced the X.
    static std::string tail(const std::vector<char>& buffer) {
        const std::string text(buffer.data());
        return text.substr(text.size() - 6);
    }
};

TEST_F(PlatformUniqueName, GivesALetterAndFiveDigitsAndMovesTheLetterOn) {
    std::vector<char> first = templ("tmp");
    ASSERT_EQ(plat_mktemp(first.data()), first.data());
    const std::string name = tail(first);
    EXPECT_EQ(name[0], 'a');
    for (int i = 1; i < 6; ++i)
        EXPECT_TRUE(isdigit((unsigned char)name[i])) << name;
    const std::string text(first.data());
    EXPECT_EQ(text.substr(0, text.size() - 6), ezu_test_utf8(scratch_.c_str()) + "\\tmp");

    // While the name is free the same name comes again.
    std::vector<char> again = templ("tmp");
    ASSERT_NE(plat_mktemp(again.data()), nullptr);
    EXPECT_EQ(tail(again), name);

    // Once a file of that name exists, the next letter with the same digits.
    ASSERT_TRUE(write_file(file(W("tmp" + name)), ""));
    std::vector<char> next = templ("tmp");
    ASSERT_NE(plat_mktemp(next.data()), nullptr);
    EXPECT_EQ(tail(next), "b" + name.substr(1));

    // A directory takes a name as well.
    ASSERT_EQ(plat_wmkdir(dir(W("tmp" + tail(next))).c_str()), 0);
    std::vector<char> third = templ("tmp");
    ASSERT_NE(plat_mktemp(third.data()), nullptr);
    EXPECT_EQ(tail(third), "c" + name.substr(1));
}

TEST_F(PlatformUniqueName, FailsWhenAllTwentySixLettersAreTaken) {
    std::vector<char> probe = templ("u");
    ASSERT_NE(plat_mktemp(probe.data()), nullptr);
    const std::string digits = tail(probe).substr(1);
    for (char letter = 'a'; letter <= 'z'; ++letter)
        ASSERT_TRUE(write_file(file(W(std::string("u") + letter + digits)), ""));
    std::vector<char> full = templ("u");
    EXPECT_EQ(plat_mktemp(full.data()), nullptr);
}

TEST_F(PlatformUniqueName, RefusesTemplatesWithoutSixTrailingX) {
    for (const char* bad : {"", "XXXXX", "nameXXXXX", "nameXXXXXXa", "namexxxxxx", "XXXXX.X"}) {
        std::vector<char> buffer(bad, bad + strlen(bad) + 1);
        EXPECT_EQ(plat_mktemp(buffer.data()), nullptr) << "'" << bad << "'";
    }
    EXPECT_EQ(plat_mktemp(nullptr), nullptr);
    // Six X alone make a template: a name in the current directory.
    char bare[] = "XXXXXX";
    ASSERT_EQ(plat_mktemp(bare), bare);
    EXPECT_TRUE(bare[0] >= 'a' && bare[0] <= 'z');
}
