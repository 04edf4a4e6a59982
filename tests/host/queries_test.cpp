#include <chrono>
#include <limits.h>
#include <string>

#include "ezu/ezu.h"
#include "ezu_test.h"
#include "host_support.h"

namespace {

std::string text(const TStr& value) {
    return value.isEmpty() ? std::string() : value.ascii();
}

// "ll_CC": two lower-case letters, "_", and a country code (upper-case
// letters, or the digits of a region number).
bool looksLikeLocaleTag(const std::string& tag) {
    if (tag.size() < 5 || tag[2] != '_')
        return false;
    for (size_t i = 0; i < tag.size(); ++i) {
        const char c = tag[i];
        const bool ok = i < 2    ? (c >= 'a' && c <= 'z')
                        : i == 2 ? true
                                 : (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!ok)
            return false;
    }
    return true;
}

std::string runQueriesDemo(const std::string& posixEnvironment, const std::string& arguments) {
    const std::string demo = hostShellPath(hostHelperPath("ezu_queries_demo"));
    const std::string command = kTestingOnWindows ? demo + " " + arguments
                                                  : posixEnvironment + " " + demo + " " + arguments;
    TStr output;
    EXPECT_EQ(ezuRunCommand(hostCommand(command), output), 0) << command;
    return text(output);
}

} // namespace

EZU_TEST_SUITE(HostQueries);

TEST_F(HostQueries, RegionTable) {
    EXPECT_EQ(text(ezuRegionName(1)), "americas");
    EXPECT_EQ(text(ezuRegionName(2)), "emea");
    EXPECT_EQ(text(ezuRegionName(3)), "asia-pacific");
    EXPECT_EQ(text(ezuRegionName(-1)), "beta");
    EXPECT_EQ(text(ezuRegionName(0)), "unknown");
    EXPECT_EQ(text(ezuRegionName(4)), "unknown");
    EXPECT_EQ(ezuRegionId("americas"), 1);
    EXPECT_EQ(ezuRegionId("emea"), 2);
    EXPECT_EQ(ezuRegionId("asia-pacific"), 3);
    EXPECT_EQ(ezuRegionId("beta"), -1);
    EXPECT_EQ(ezuRegionId("Americas"), 0);
    EXPECT_EQ(ezuRegionId("emea "), 0);
    EXPECT_EQ(ezuRegionId("unknown"), 0);
    EXPECT_EQ(ezuRegionId(""), 0);
}

TEST_F(HostQueries, LocaleTagIsCachedAndWellFormed) {
    const std::string tag = text(ezuLocaleTag());
    EXPECT_TRUE(looksLikeLocaleTag(tag)) << tag;
    EXPECT_EQ(text(ezuLocaleTag()), tag);
}

// The tag is computed once per process, so each locale is tried in a child
// started with it. Windows takes the locale from the user's settings, not
// from the environment: there the child's tag must match ours.
TEST_F(HostQueries, LocaleTagOfAChild) {
    if (kTestingOnWindows) {
        const std::string expected = "tag: " + text(ezuLocaleTag()) + "\n";
        EXPECT_EQ(runQueriesDemo("", "").substr(0, expected.size()), expected);
        return;
    }
    const char* clear = "unset LC_ALL LC_CTYPE LANG;";
    EXPECT_EQ(runQueriesDemo(std::string(clear) + " LC_ALL=de_CH.UTF-8", "").substr(0, 24),
              "tag: de_CH\nagain: de_CH\n");
    EXPECT_EQ(runQueriesDemo(std::string(clear) + " LANG=pt_BR.UTF-8", "").substr(0, 11),
              "tag: pt_BR\n");
    EXPECT_EQ(runQueriesDemo(std::string(clear) + " LC_ALL=sv_SE LANG=pt_BR", "").substr(0, 11),
              "tag: sv_SE\n");
    // A locale without a country keeps "US"; only two letters of the language count.
    EXPECT_EQ(runQueriesDemo(std::string(clear) + " LC_ALL=fr", "").substr(0, 11), "tag: fr_US\n");
    EXPECT_EQ(runQueriesDemo(std::string(clear) + " LC_ALL=ast_ES", "").substr(0, 11),
              "tag: as_ES\n");
    EXPECT_EQ(runQueriesDemo(std::string(clear) + " LC_ALL=C", "").substr(0, 11), "tag: en_US\n");
}

TEST_F(HostQueries, CommandLineArguments) {
    const TStr program = ezuCommandLineArg(0);
    EXPECT_NE(text(program).find("ezu_host_tests"), std::string::npos) << text(program);
    EXPECT_TRUE(ezuCommandLineArg(-1).isEmpty());
    EXPECT_TRUE(ezuCommandLineArg(100000).isEmpty());

    // A child shows its own arguments, quoted ones whole, and nothing past them.
    const std::string output = runQueriesDemo("", "one \"two words\"");
    EXPECT_NE(output.find("arg1: [one]\narg2: [two words]\narg3: []\n"), std::string::npos)
        << output;
}

TEST_F(HostQueries, ExpandEnvironment) {
    HostEnvOverride set("EZU_HOST_TEST_VALUE", "hello");
    HostEnvOverride unset("EZU_HOST_TEST_UNSET", nullptr);
    EXPECT_EQ(text(ezuExpandEnvironment("a%EZU_HOST_TEST_VALUE%b")), "ahellob");
    EXPECT_EQ(text(ezuExpandEnvironment("%EZU_HOST_TEST_UNSET%")), "%EZU_HOST_TEST_UNSET%");
    EXPECT_EQ(text(ezuExpandEnvironment("x %EZU_HOST_TEST_UNSET% %EZU_HOST_TEST_VALUE%")),
              "x %EZU_HOST_TEST_UNSET% hello");
    EXPECT_EQ(text(ezuExpandEnvironment("no references, 100%")), "no references, 100%");
    EXPECT_EQ(text(ezuExpandEnvironment("")), "");
}

TEST_F(HostQueries, ExpansionThatDoesNotFitLeavesTheText) {
    const std::string value(600, 'v');
    HostEnvOverride set("EZU_HOST_TEST_LONG", value.c_str());
    // 600 units fit; 1200 and the terminator do not fit the 1024-unit buffer.
    EXPECT_EQ(text(ezuExpandEnvironment("%EZU_HOST_TEST_LONG%")), value);
    EXPECT_EQ(text(ezuExpandEnvironment("%EZU_HOST_TEST_LONG%%EZU_HOST_TEST_LONG%")),
              "%EZU_HOST_TEST_LONG%%EZU_HOST_TEST_LONG%");
}

// Every unit's figure follows from the figure in MiB, read first: where the
// free bytes divided by the unit are known to lie above INT_MAX the result is
// exactly INT_MAX, where they lie below it is the quotient (within what other
// processes write meanwhile). The machine's volume decides which rows reach
// the limit; the expectation is computed, never assumed.
TEST_F(HostQueries, DiskFreeSpace) {
    ScratchDir scratch;
    const TStr dir = hostText(scratch.path());
    const long long mib = ezuDiskFreeSpace(dir, 1048576);
    ASSERT_GT(mib, 0);
    const long long drift = 64LL << 20; // bytes others may take or give back meanwhile
    const long long low = mib * 1048576 - drift;
    const long long high = (mib + 1) * 1048576 + drift;
    const int units[] = {1, 2, 3, 1024, 1048576, 1 << 30};
    for (const int unit : units) {
        const long long result = ezuDiskFreeSpace(dir, unit);
        if (low / unit > INT_MAX) {
            EXPECT_EQ(result, INT_MAX) << "unit " << unit;
        } else if (high / unit < INT_MAX) {
            EXPECT_GE(result, low / unit) << "unit " << unit;
            EXPECT_LE(result, high / unit) << "unit " << unit;
        } else {
            EXPECT_GE(result, 0) << "unit " << unit;
        }
    }
    EXPECT_EQ(ezuDiskFreeSpace(hostText(inScratch(scratch, "missing\\deeper")), 1), 0);
    EXPECT_EQ(ezuDiskFreeSpace(dir, 0), 0);
    EXPECT_EQ(ezuDiskFreeSpace(dir, -1048576), 0);
}

TEST_F(HostQueries, SamePath) {
    EXPECT_TRUE(ezuSamePath("C:/Temp/x", "c:\\temp\\X"));
    EXPECT_TRUE(ezuSamePath("c:\\temp", "C:\\TEMP"));
    EXPECT_FALSE(ezuSamePath("c:\\temp\\", "c:\\temp"));
    EXPECT_FALSE(ezuSamePath("c:\\temp\\a", "c:\\temp\\b"));
    EXPECT_FALSE(ezuSamePath("c:\\temp\\\\a", "c:\\temp\\a"));
    EXPECT_TRUE(ezuSamePath("", ""));
}

TEST_F(HostQueries, TimeStampMoves) {
    const uint32_t first = ezuTimeStamp();
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(25)) {
    }
    EXPECT_NE(ezuTimeStamp(), first);
}

TEST_F(HostQueries, PrepareText) {
    const TStr messy("  a \t b  ");
    EXPECT_EQ(text(ezuPrepareText(messy, 1)), "a b");
    EXPECT_EQ(text(ezuPrepareText(messy, 5)), "a b");
    EXPECT_EQ(text(ezuPrepareText(messy, 0)), "  a \t b  ");
    EXPECT_EQ(text(ezuPrepareText(messy, 2)), "  a \t b  ");
    EXPECT_EQ(text(ezuPrepareText(messy, 3)), "  a \t b  ");
}
