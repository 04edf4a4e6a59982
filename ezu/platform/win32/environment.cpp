// Environment variables, the unique-name template and the executable suffix.
// Names and values are UTF-8 and go through the run-time's wide calls: the
// narrow ones would give and take the ANSI code page, which cannot hold
// every character of a directory name.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include <windows.h>

#include "ezu/platform/plat_rules.h"
#include "ezu/platform/win32/utf8_text.h"

namespace {

// The UTF-8 form of the value plat_getenv gave last.
std::string last_value;

} // namespace

const char* plat_getenv(const char* name) {
    std::wstring wide_name;
    if (!name || !win_wide_from_utf8(name, &wide_name)) {
        errno = EINVAL;
        return nullptr;
    }
    const wchar_t* value = _wgetenv(wide_name.c_str());
    if (!value || !win_utf8_from_wide(value, &last_value))
        return nullptr;
    return last_value.c_str();
}

// _putenv keeps the run-time's copy and the process environment (which
// ExpandEnvironmentStringsW and children read) in step; "NAME=" removes.
int plat_setenv(const char* name, const char* value) {
    if (!plat_env_name_valid(name)) {
        errno = EINVAL;
        return -1;
    }
    std::wstring assignment, wide_value;
    if (!win_wide_from_utf8(name, &assignment) ||
        !win_wide_from_utf8(value ? value : "", &wide_value)) {
        errno = EINVAL;
        return -1;
    }
    assignment += L'=';
    assignment += wide_value;
    return _wputenv(assignment.c_str()) == 0 ? 0 : -1;
}

// The template is UTF-8 and is tested through the wide call, so that a
// directory of any name works. The rule is the run-time's: the last five X
// become the five lowest decimal digits of the calling thread's identifier,
// the first X the first letter from "a" to "z" that names nothing yet. (The
// wide run-time call is not used: wine's tries a digit in the letter's place
// first.) A template without six trailing X is refused.
char* plat_mktemp(char* templ) {
    std::wstring wide;
    if (!plat_template_valid(templ) || !win_wide_from_utf8(templ, &wide)) {
        errno = EINVAL;
        return nullptr;
    }
    const size_t first = wide.size() - 6;
    unsigned long id = GetCurrentThreadId();
    for (size_t i = 5; i >= 1; --i) {
        wide[first + i] = wchar_t('0' + id % 10);
        id /= 10;
    }
    for (wchar_t letter = 'a'; letter <= 'z'; ++letter) {
        wide[first] = letter;
        if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
            char* const tail = templ + strlen(templ) - 6;
            for (int i = 0; i < 6; ++i)
                tail[i] = char(wide[first + size_t(i)]);
            return templ;
        }
    }
    errno = EEXIST;
    return nullptr;
}

const char* plat_exe_suffix() {
    return ".exe";
}
