// %NAME% expansion by the system.
#include "ezu/platform/platform.h"

#include <windows.h>

int plat_expand_environment(const EzuWChar* text, EzuWChar* buffer, int units) {
    if (!text || units < 0)
        return 0;
    if (!buffer)
        units = 0;
    return int(ExpandEnvironmentStringsW(text, buffer, DWORD(units)));
}
