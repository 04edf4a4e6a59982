// Environment variables, the unique-name template and the executable suffix.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

#include "ezu/platform/plat_rules.h"

const char* plat_getenv(const char* name) {
    if (!name) {
        errno = EINVAL;
        return nullptr;
    }
    return getenv(name);
}

// _putenv keeps the run-time's copy and the process environment (which
// ExpandEnvironmentStringsW and children read) in step; "NAME=" removes.
int plat_setenv(const char* name, const char* value) {
    if (!plat_env_name_valid(name)) {
        errno = EINVAL;
        return -1;
    }
    if (!value)
        value = "";
    const size_t name_length = strlen(name), value_length = strlen(value);
    char* assignment = static_cast<char*>(malloc(name_length + value_length + 2));
    if (!assignment) {
        errno = ENOMEM;
        return -1;
    }
    memcpy(assignment, name, name_length);
    assignment[name_length] = '=';
    memcpy(assignment + name_length + 1, value, value_length + 1);
    const int result = _putenv(assignment);
    free(assignment);
    return result == 0 ? 0 : -1;
}

// The run-time hands a template without six trailing X to its
// invalid-parameter handler; such a template is refused here first.
char* plat_mktemp(char* templ) {
    if (!plat_template_valid(templ)) {
        errno = EINVAL;
        return nullptr;
    }
    return _mktemp(templ);
}

const char* plat_exe_suffix() {
    return ".exe";
}
