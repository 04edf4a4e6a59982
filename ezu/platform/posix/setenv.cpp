#include "ezu/platform/platform.h"

#include <stdlib.h>

int plat_setenv(const char* name, const char* value) {
    if (name == nullptr || *name == '\0')
        return -1;
    const int result = value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    return result == 0 ? 0 : -1;
}
