#include "ezu/platform/platform.h"

#include <stdlib.h>
#include <string.h>

// _putenv takes "NAME=value" and copies it; "NAME=" removes the variable, so
// on Windows an empty value removes it too (Windows keeps no empty variables).
int plat_setenv(const char* name, const char* value) {
    if (name == nullptr || *name == '\0' || strchr(name, '=') != nullptr)
        return -1;
    const size_t name_len = strlen(name);
    const size_t value_len = value != nullptr ? strlen(value) : 0;
    char* entry = static_cast<char*>(malloc(name_len + value_len + 2));
    if (entry == nullptr)
        return -1;
    memcpy(entry, name, name_len);
    entry[name_len] = '=';
    memcpy(entry + name_len + 1, value != nullptr ? value : "", value_len + 1);
    const int result = _putenv(entry);
    free(entry);
    return result == 0 ? 0 : -1;
}
