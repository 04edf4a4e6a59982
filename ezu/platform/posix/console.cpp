// Console text: the character set of the user's locale.
#include "ezu/platform/platform.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

int plat_console_write_wide(int, const EzuWChar*, int) {
    return 0;
}

int plat_console_utf8() {
    // The first variable set decides, as for the locale's other parts.
    static const char* const kVariables[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    const char* locale = nullptr;
    for (const char* name : kVariables) {
        locale = getenv(name);
        if (locale && *locale)
            break;
    }
    if (!locale || !*locale)
        return 0; // the C locale: 7-bit
    const char* set = strchr(locale, '.');
    if (!set)
        return 0;
    // "UTF-8", "utf8" and the like, up to a modifier such as "@euro".
    char normal[8];
    int n = 0;
    for (const char* c = set + 1; *c && *c != '@' && n < 7; ++c)
        if (*c != '-')
            normal[n++] = char(tolower((unsigned char)*c));
    normal[n] = 0;
    return strcmp(normal, "utf8") == 0;
}
