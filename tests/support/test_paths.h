// Paths and text forms for tests that work below TStr: UTF-8 and the
// platform's UTF-16 in both directions, and the directory of the running
// test program (where the helper programs are built too).
#ifndef EZU_TESTS_SUPPORT_TEST_PATHS_H
#define EZU_TESTS_SUPPORT_TEST_PATHS_H

#include <string>

#include "ezu/platform/platform.h"

typedef std::basic_string<EzuWChar> EzuTestWide;

// UTF-16 to UTF-8 and back, by the book; an unpaired surrogate or a
// malformed byte becomes "?".
std::string ezu_test_utf8(const EzuWChar* text);
EzuTestWide ezu_test_wide(const std::string& utf8);

// The wide form of a UTF-16 literal: u"..." works on both systems, whatever
// EzuWChar is.
EzuTestWide ezu_test_wide(const char16_t* text);

// The current directory in the Windows view (UTF-8), or "" when unreadable.
std::string ezu_test_current_dir();

// The directory of the running test program in the Windows view, without a
// trailing separator: element 0 of the command line made complete with the
// current directory, "/" written as "\", its leaf removed. Empty when it
// cannot be found.
std::string ezu_test_program_dir();

#endif
