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

// The run-time hands a template without six trailing X to its
// invalid-parameter handler; such a template is refused here first. The
// template is UTF-8; the wide call fills in the six X, which are the last six
// units of the wide form and the last six bytes of the UTF-8 one.
char* plat_mktemp(char* templ) {
    std::wstring wide;
    if (!plat_template_valid(templ) || !win_wide_from_utf8(templ, &wide)) {
        errno = EINVAL;
        return nullptr;
    }
    if (!_wmktemp(&wide[0]))
        return nullptr;
    char* const tail = templ + strlen(templ) - 6;
    const wchar_t* const filled = wide.c_str() + wide.size() - 6;
    for (int i = 0; i < 6; ++i)
        tail[i] = char(filled[i]);
    return templ;
}

const char* plat_exe_suffix() {
    return ".exe";
}
