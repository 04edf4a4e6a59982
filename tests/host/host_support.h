// Helpers for the host tests: entries made in a scratch directory,
// environment overrides, helper program paths and shell command texts.
#ifndef EZU_TESTS_HOST_HOST_SUPPORT_H
#define EZU_TESTS_HOST_HOST_SUPPORT_H

#include <string>

#include "ezu/strings/tstr.h"
#include "scratch_dir.h"
#include "test_paths.h"

// `scratch.path()` + "\" + `name`; nothing is registered or created.
std::string inScratch(const ScratchDir& scratch, const std::string& name);

// A TStr from UTF-8 text (the const char* constructor reads 7-bit text), and
// the UTF-8 text of a TStr ("" for the null state). Paths of the checkout
// and the scratch directory may hold any character.
TStr hostText(const std::string& utf8);
std::string hostUtf8(const TStr& text);

// Registers and creates an entry of `scratch`; returns its complete path.
std::string makeScratchFile(ScratchDir& scratch, const std::string& name,
                            const std::string& content = "");
std::string makeScratchDir(ScratchDir& scratch, const std::string& name);

// Registers an entry that the code under test made, given by its complete
// path inside `scratch`, for removal.
void trackScratchFile(ScratchDir& scratch, const std::string& path);
void trackScratchDir(ScratchDir& scratch, const std::string& path);

// Sets (or with a null value removes) an environment variable for the life
// of the object, then puts back what was there.
class HostEnvOverride {
  public:
    HostEnvOverride(const char* name, const char* value);
    ~HostEnvOverride();
    HostEnvOverride(const HostEnvOverride&) = delete;
    HostEnvOverride& operator=(const HostEnvOverride&) = delete;

  private:
    std::string name_;
    std::string old_;
    bool had_;
};

// The directory of the running test program (where the helper programs are
// built) in the Windows view, with "." components dropped, so that it reads
// the same however the test program was started.
std::string hostProgramDir();

// The path to a helper program in the Windows view; `name` without suffix.
std::string hostHelperPath(const char* name);

// A Windows-view path in the form the command interpreter takes: in double
// quotes on Windows, the host path ("C:\a\b" is "/a/b") in single quotes for
// sh on POSIX. The checkout may live under a name with blanks.
std::string hostShellPath(const std::string& path);

// `text` as one argument of a command: in double quotes on Windows, in single
// quotes for sh on POSIX (so that backslashes stay).
std::string hostShellQuote(const std::string& text);

// The TStr of a command line for ezuRunCommand (UTF-8 read as such). cmd
// drops the first and the last quote of a command that starts with one, so
// on Windows such a command is given inside one more pair of quotes.
TStr hostCommand(const std::string& command);

// The 7-bit form of UTF-8 text (each character above 127 is "?"): what a
// helper that prints through ascii() writes for it.
std::string hostAscii(const std::string& utf8);

#endif
