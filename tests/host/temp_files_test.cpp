#include <limits.h>

#include <string>

#include "ezu/ezu.h"
#include "ezu_test.h"
#include "host_support.h"

namespace {

std::string text(const TStr& value) {
    return hostUtf8(value);
}

std::string dirOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

std::string leafOf(const std::string& path) {
    return path.substr(path.rfind('\\') + 1);
}

bool isEmptyFile(const std::string& path) {
    bool ok = false;
    return ScratchDir::readFile(path, &ok).empty() && ok;
}

// A letter from "a" to "z" followed by five decimal digits.
bool isUniquePart(const std::string& part) {
    if (part.size() != 6 || part[0] < 'a' || part[0] > 'z')
        return false;
    for (size_t i = 1; i < part.size(); ++i) {
        if (part[i] < '0' || part[i] > '9')
            return false;
    }
    return true;
}

// Makes a kept temporary file with the three variables set as given (null:
// unset) and returns its name.
std::string tempWith(ScratchDir& scratch, const char* tmpdir, const char* temp, const char* tmp) {
    HostEnvOverride a("TMPDIR", tmpdir);
    HostEnvOverride b("TEMP", temp);
    HostEnvOverride c("TMP", tmp);
    const std::string name = text(tempFileName("ez", true));
    // A file made in a fixed directory outside the scratch one goes at once.
    if (name.compare(0, scratch.path().size() + 1, scratch.path() + "\\") == 0)
        trackScratchFile(scratch, name);
    else if (!name.empty())
        plat_wremove(ezu_test_wide(name).c_str());
    return name;
}

// Changes the current directory for the life of the object.
std::string utf8(const TStr& text) {
    return ezu_test_utf8(text.utf16le());
}

TStr utf8Text(const std::string& text) {
    TStr result;
    result.assignUtf8(text.c_str());
    return result;
}

class CurrentDirectory {
  public:
    explicit CurrentDirectory(const std::string& dir) : old_(ezu_test_current_dir()) {
        EXPECT_EQ(plat_wchdir(hostText(dir).utf16le()), 0) << dir;
    }
    ~CurrentDirectory() { plat_wchdir(hostText(old_).utf16le()); }

  private:
    std::string old_;
};

} // namespace

EZU_TEST_SUITE(HostTempFiles);

TEST_F(HostTempFiles, EnsureTrailingBackslash) {
    TStr dir("C:\\TEMP\\");
    EXPECT_FALSE(ensureTrailingBackslash(dir));
    EXPECT_EQ(text(dir), "C:\\TEMP\\");
    dir = "C:\\TEMP";
    EXPECT_TRUE(ensureTrailingBackslash(dir));
    EXPECT_EQ(text(dir), "C:\\TEMP\\");
    TStr empty("");
    EXPECT_TRUE(ensureTrailingBackslash(empty));
    EXPECT_EQ(text(empty), "\\");
}

TEST_F(HostTempFiles, CandidateDirectoriesInOrder) {
    ScratchDir scratch;
    const std::string a = makeScratchDir(scratch, "a");
    const std::string b = makeScratchDir(scratch, "b");
    const std::string c = makeScratchDir(scratch, "c");
    const std::string missing = inScratch(scratch, "missing");

    EXPECT_EQ(dirOf(tempWith(scratch, a.c_str(), b.c_str(), c.c_str())), a);
    EXPECT_EQ(dirOf(tempWith(scratch, nullptr, b.c_str(), c.c_str())), b);
    EXPECT_EQ(dirOf(tempWith(scratch, missing.c_str(), (b + "\\").c_str(), c.c_str())), b);
    // A directory given with its trailing backslash gets no second one.
    const std::string inC = tempWith(scratch, missing.c_str(), nullptr, (c + "\\").c_str());
    EXPECT_EQ(dirOf(inC), c);
    EXPECT_EQ(inC.find("\\\\"), std::string::npos) << inC;
}

TEST_F(HostTempFiles, NameTooLongForTheTemplateIsSkipped) {
    ScratchDir scratch;
    const std::string b = makeScratchDir(scratch, "b");
    // Neither directory exists; the first would give a name of over 255 bytes.
    const std::string longDir = inScratch(scratch, std::string(250, 'd'));
    const std::string name = tempWith(scratch, longDir.c_str(), b.c_str(), nullptr);
    EXPECT_EQ(dirOf(name), b);
    // Existing directories whose names make candidates of 255, 256 and 257
    // bytes: only the first fits the 256-byte buffer with its terminator;
    // the others fall through to the next variable.
    const std::string base = scratch.path() + "\\";
    ASSERT_LT(base.size() + 9, 255u) << base;
    const size_t room = 255 - base.size() - 8 - 1;
    const struct {
        size_t nameBytes;
        bool fits;
    } cases[] = {{255, true}, {256, false}, {257, false}};
    for (const auto& c : cases) {
        const std::string dir = makeScratchDir(scratch, std::string(room + c.nameBytes - 255, 'f'));
        const std::string made = tempWith(scratch, dir.c_str(), b.c_str(), nullptr);
        EXPECT_EQ(dirOf(made), c.fits ? dir : b) << c.nameBytes;
        if (c.fits) {
            EXPECT_EQ(made.size(), c.nameBytes);
        }
    }
}

TEST_F(HostTempFiles, NonAsciiDirectoryAndPrefixAreKept) {
    // Each variable in turn names a directory with characters above 127; the
    // file is made there, under its own name, with a prefix of such
    // characters kept too.
    ScratchDir scratch;
    const std::string dir = makeScratchDir(scratch, "Jos\xC3\xA9 \xE2\x82\xAC");
    const std::string missing = inScratch(scratch, "missing");
    const char* const variables[] = {"TMPDIR", "TEMP", "TMP"};
    for (int chosen = 0; chosen < 3; ++chosen) {
        const char* values[3] = {missing.c_str(), missing.c_str(), missing.c_str()};
        values[chosen] = dir.c_str();
        HostEnvOverride a(variables[0], values[0]);
        HostEnvOverride b(variables[1], values[1]);
        HostEnvOverride c(variables[2], values[2]);
        const std::string name = text(tempFileName("\xC3\xA9", true));
        if (!name.empty())
            trackScratchFile(scratch, name);
        EXPECT_EQ(dirOf(name), dir) << variables[chosen];
        EXPECT_EQ(leafOf(name).substr(0, 2), "\xC3\xA9") << name;
        EXPECT_TRUE(isUniquePart(leafOf(name).substr(2))) << name;
        EXPECT_TRUE(isEmptyFile(name)) << name;
    }
    // A name or path of such characters is created where it says.
    const std::string probed = inScratch(scratch, "Jos\xC3\xA9 \xE2\x82\xAC\\\xC3\xA9.txt");
    EXPECT_TRUE(probeNewFile(probed.c_str(), true));
    trackScratchFile(scratch, probed);
    EXPECT_TRUE(isEmptyFile(probed)) << probed;
    const std::string level = scratch.dir("\xC3\xBC");
    scratch.dir("\xC3\xBC\\\xC3\xB6");
    EXPECT_TRUE(makePath((level + "\\\xC3\xB6").c_str()));
    EXPECT_TRUE(ScratchDir::exists(level + "\\\xC3\xB6"));
}

TEST_F(HostTempFiles, FallsBackToFixedDirectoriesThenTheCurrentOne) {
    ScratchDir scratch;
    const std::string cwd = makeScratchDir(scratch, "cwd");
    const std::string missing = inScratch(scratch, "missing");
    std::string expected = cwd;
    if (ezuPathExists("C:\\TMP\\"))
        expected = "C:\\TMP";
    if (ezuPathExists("C:\\TEMP\\"))
        expected = "C:\\TEMP";
    std::string name;
    {
        CurrentDirectory inside(cwd);
        name = tempWith(scratch, missing.c_str(), nullptr, missing.c_str());
    }
    EXPECT_EQ(dirOf(name), expected);
}

TEST_F(HostTempFiles, KeptFileExistsEmptyAndNamesAdvance) {
    ScratchDir scratch;
    HostEnvOverride tmpdir("TMPDIR", scratch.path().c_str());
    const std::string first = text(tempFileName("ab", true));
    trackScratchFile(scratch, first);
    const std::string second = text(tempFileName("ab", true));
    trackScratchFile(scratch, second);
    EXPECT_EQ(dirOf(first), scratch.path());
    ASSERT_EQ(leafOf(first).size(), 8u) << first;
    ASSERT_EQ(leafOf(second).size(), 8u) << second;
    EXPECT_EQ(leafOf(first).substr(0, 2), "ab");
    EXPECT_TRUE(isUniquePart(leafOf(first).substr(2))) << first;
    // The first free letter is taken; the digits stay those of the caller.
    EXPECT_EQ(leafOf(first)[2], 'a');
    EXPECT_EQ(leafOf(second)[2], 'b');
    EXPECT_EQ(leafOf(first).substr(3), leafOf(second).substr(3));
    EXPECT_TRUE(isEmptyFile(first)) << first;
    EXPECT_TRUE(isEmptyFile(second)) << second;
}

TEST_F(HostTempFiles, NameOnlyLeavesNoFile) {
    ScratchDir scratch;
    HostEnvOverride tmpdir("TMPDIR", scratch.path().c_str());
    const std::string name = text(tempFileName(nullptr, false));
    EXPECT_EQ(dirOf(name), scratch.path());
    EXPECT_TRUE(isUniquePart(leafOf(name))) << name;
    EXPECT_FALSE(ScratchDir::exists(name));
}

TEST_F(HostTempFiles, ProbeNewFile) {
    ScratchDir scratch;
    const std::string fresh = inScratch(scratch, "fresh.txt");
    EXPECT_TRUE(probeNewFile(fresh.c_str(), false));
    EXPECT_FALSE(ScratchDir::exists(fresh));
    EXPECT_TRUE(probeNewFile(fresh.c_str(), true));
    trackScratchFile(scratch, fresh);
    EXPECT_TRUE(isEmptyFile(fresh)) << fresh;

    const std::string existing = makeScratchFile(scratch, "existing.txt", "keep me");
    EXPECT_TRUE(probeNewFile(existing.c_str(), false));
    EXPECT_EQ(ScratchDir::readFile(existing), "keep me");

    const std::string locked = makeScratchFile(scratch, "locked.txt", "locked");
    const TStr lockedText = hostText(locked);
    ASSERT_EQ(plat_set_read_only(lockedText.utf16le(), 1), 0);
    EXPECT_FALSE(probeNewFile(locked.c_str(), true));
    EXPECT_FALSE(probeNewFile(locked.c_str(), false));
    EXPECT_EQ(ScratchDir::readFile(locked), "locked");
    EXPECT_EQ(plat_set_read_only(lockedText.utf16le(), 0), 0);

    EXPECT_FALSE(probeNewFile(inScratch(scratch, "missing\\file.txt").c_str(), true));
    EXPECT_FALSE(probeNewFile(inScratch(scratch, "bad?name").c_str(), true));
    EXPECT_FALSE(ScratchDir::exists(inScratch(scratch, "missing")));
}

TEST_F(HostTempFiles, UniqueFileNameNumbering) {
    ScratchDir scratch;
    const TStr dir = hostText(scratch.path());
    makeScratchFile(scratch, "log.txt");
    makeScratchFile(scratch, "log1.txt");
    const TStr pattern("log%1.txt");

    TStr name("log.txt");
    int counter = 0;
    EXPECT_TRUE(uniqueFileName(dir, name, pattern, counter, 3));
    EXPECT_EQ(text(name), "log2.txt");
    EXPECT_EQ(counter, 3);
    // A following call continues the numbering.
    EXPECT_TRUE(uniqueFileName(dir, name, pattern, counter, 3));
    EXPECT_EQ(text(name), "log3.txt");
    EXPECT_EQ(counter, 4);
    // Past `last`: nothing is tried and nothing changes.
    EXPECT_FALSE(uniqueFileName(dir, name, pattern, counter, 3));
    EXPECT_EQ(text(name), "log3.txt");
    EXPECT_EQ(counter, 4);

    TStr freeName("other.txt");
    counter = 0;
    EXPECT_TRUE(uniqueFileName(dir, freeName, pattern, counter, 3));
    EXPECT_EQ(text(freeName), "other.txt");
    EXPECT_EQ(counter, 1);

    TStr empty("");
    counter = 0;
    EXPECT_TRUE(uniqueFileName(dir, empty, pattern, counter, 3));
    EXPECT_EQ(text(empty), "log0.txt");
    EXPECT_EQ(counter, 1);
}

TEST_F(HostTempFiles, UniqueFileNameFailures) {
    ScratchDir scratch;
    makeScratchFile(scratch, "log.txt");
    makeScratchFile(scratch, "log1.txt");
    const TStr pattern("log%1.txt");

    TStr name("log.txt");
    int counter = 0;
    EXPECT_FALSE(uniqueFileName(hostText(scratch.path()), name, pattern, counter, 1));
    EXPECT_EQ(text(name), "log.txt");
    EXPECT_EQ(counter, 2);

    counter = 0;
    EXPECT_FALSE(
        uniqueFileName(hostText(inScratch(scratch, "missing")), name, pattern, counter, 9));
    EXPECT_EQ(text(name), "log.txt");
    EXPECT_EQ(counter, 0);
}

TEST_F(HostTempFiles, UniqueFileNameStopsAtTheLargestCounter) {
    ScratchDir scratch;
    const TStr dir = hostText(scratch.path());
    const TStr pattern("n%1");
    TStr name("");
    int counter = INT_MAX;
    EXPECT_TRUE(uniqueFileName(dir, name, pattern, counter, INT_MAX));
    EXPECT_EQ(text(name), "n2147483647");
    EXPECT_EQ(counter, INT_MAX);
    makeScratchFile(scratch, "n2147483647");
    EXPECT_FALSE(uniqueFileName(dir, name, pattern, counter, INT_MAX));
    EXPECT_EQ(counter, INT_MAX);
}

TEST_F(HostTempFiles, MakePathCreatesEveryMissingLevel) {
    ScratchDir scratch;
    const std::string deep = inScratch(scratch, "a\\b\\c");
    scratch.dir("a");
    scratch.dir("a\\b");
    scratch.dir("a\\b\\c");
    EXPECT_TRUE(makePath(deep.c_str()));
    EXPECT_TRUE(ezuPathExists(hostText(deep)));
    EXPECT_TRUE(makePath(deep.c_str()));

    const std::string slashed = scratch.path() + "/x/y";
    scratch.dir("x");
    scratch.dir("x\\y");
    EXPECT_TRUE(makePath(slashed.c_str()));
    EXPECT_TRUE(ezuPathExists(hostText(inScratch(scratch, "x\\y"))));

    {
        CurrentDirectory inside(scratch.path());
        scratch.dir("rel");
        scratch.dir("rel\\deeper");
        EXPECT_TRUE(makePath("rel\\deeper"));
    }
    EXPECT_TRUE(ezuPathExists(hostText(inScratch(scratch, "rel\\deeper"))));
}

// A path from the drive root ("\\dir", no drive letter) names the same
// place for every call: the file calls take it from the root of the current
// drive, and so must the calls that complete it first. The scratch directory
// is named that way by dropping the drive letter from its complete path,
// from a current directory on the same drive (under wine the temporary
// directory may lie on another drive than the build), one level below, so
// that a reading under the current directory lands somewhere else.
TEST_F(HostTempFiles, PathsFromTheDriveRoot) {
    ScratchDir scratch;
    ASSERT_GT(scratch.path().size(), 3u);
    ASSERT_EQ(scratch.path()[1], ':');
    const std::string root = scratch.path().substr(2);
    const std::string cwd = makeScratchDir(scratch, "cwd");
    makeScratchFile(scratch, "taken.txt");
    CurrentDirectory inside(cwd);

    struct Case {
        const char* levels; // made by makePath below the scratch directory
        const char* sep;
    } const cases[] = {{"new\\a", "\\"}, {"slash/b", "/"}};
    for (const Case& c : cases) {
        const std::string first =
            std::string(c.levels).substr(0, std::string(c.levels).find(c.sep[0]));
        scratch.dir(first);
        scratch.dir(std::string(c.levels));
        EXPECT_TRUE(makePath((root + c.sep + c.levels).c_str())) << c.levels;
        std::string made = inScratch(scratch, c.levels);
        for (char& ch : made)
            ch = ch == '/' ? '\\' : ch;
        EXPECT_TRUE(ScratchDir::exists(made)) << c.levels;
        EXPECT_FALSE(ScratchDir::exists(cwd + "\\" + scratch.path().substr(3))) << c.levels;
    }

    // The name that exists in the directory is taken; the next one is free.
    TStr name("taken.txt");
    int counter = 0;
    EXPECT_TRUE(uniqueFileName(utf8Text(root), name, TStr("taken%1.txt"), counter, 3));
    EXPECT_EQ(std::string(name.ascii()), "taken1.txt");
    EXPECT_EQ(counter, 2);

    // An entry and its stored state know the file by its drive.
    const TEzuFile entry((root + "\\f.txt").c_str(), 0, true);
    EXPECT_EQ(utf8(entry.absolutePath()), scratch.path() + "\\f.txt");
    EXPECT_EQ(utf8(TEzuPath(utf8Text(root)).resolved()), scratch.path());
    // Relative and network paths are completed as before.
    EXPECT_EQ(utf8(TEzuPath("dir").resolved()), cwd + "\\dir");
    const TEzuPath network("\\\\srv\\x");
    EXPECT_EQ(utf8(network.resolved()), utf8(network.absolute()));
}

TEST_F(HostTempFiles, MakePathFailures) {
    ScratchDir scratch;
    const std::string file = makeScratchFile(scratch, "file.txt", "x");
    EXPECT_FALSE(makePath(file.c_str()));
    EXPECT_FALSE(makePath((file + "\\sub").c_str()));
    EXPECT_FALSE(makePath(inScratch(scratch, "bad?name\\sub").c_str()));
    EXPECT_FALSE(ScratchDir::exists(inScratch(scratch, "bad?name")));

    // A drive root is never created: find a drive letter that does not exist.
    std::string root;
    for (char letter = 'Z'; letter >= 'D' && root.empty(); --letter) {
        const std::string candidate = std::string(1, letter) + ":\\";
        if (!ezuPathExists(TStr(candidate.c_str())))
            root = candidate;
    }
    ASSERT_FALSE(root.empty());
    EXPECT_FALSE(makePath(root.c_str()));
    EXPECT_FALSE(makePath((root + "a\\b").c_str()));
}
