// Shared pieces of the platform tests: wide literals, a scratch directory
// under the temporary directory, and reading whole streams.
#ifndef EZU_TESTS_PLATFORM_PLATFORM_TEST_UTIL_H
#define EZU_TESTS_PLATFORM_PLATFORM_TEST_UTIL_H

#include <stdio.h>

#include <string>
#include <vector>

#include "ezu_test.h"
#include "test_paths.h"

#include "ezu/platform/platform.h"

typedef EzuTestWide WStr;

inline WStr W(const char16_t* text) {
    return ezu_test_wide(text);
}
inline WStr W(const std::string& utf8) {
    return ezu_test_wide(utf8);
}

// Everything left in a stream, read until its end.
std::string read_all(FILE* stream);

// Writes `text` to a new file; true on success.
bool write_file(const WStr& path, const char* text, const char16_t* mode = u"wb");

// The current directory as a wide text (empty when unreadable).
WStr current_dir_wide();

// A fixture whose tests work in a fresh directory under the temporary
// directory (TMPDIR, TEMP or TMP, else the current directory). Tests name the
// files and directories they make through file() and dir(); tear-down clears
// read-only marks, removes them in reverse order and then the scratch
// directory itself, and fails the test when something is left behind.
class PlatformScratchTest : public EzuTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Complete wide path of `name` inside the scratch directory, remembered
    // for removal as a file or as a directory.
    WStr file(const WStr& name);
    WStr dir(const WStr& name);
    WStr file(const char16_t* name) { return file(W(name)); }
    WStr dir(const char16_t* name) { return dir(W(name)); }

    WStr scratch_; // complete path, no trailing separator

  private:
    std::vector<std::pair<WStr, bool>> made_; // path, is a directory
};

#endif
