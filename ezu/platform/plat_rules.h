// Rules of the Windows view that both platform implementations apply before
// they reach the system: which open and pipe modes the run-time accepts,
// which characters a file name may hold, what a unique-name template is.
// Private to ezu/platform.
#ifndef EZU_PLATFORM_PLAT_RULES_H
#define EZU_PLATFORM_PLAT_RULES_H

#include <string.h>

#include "ezu/platform/platform.h"

// An open mode taken apart: 'r', 'w' or 'a', and the "+" flag.
struct PlatOpenMode {
    char access;
    bool update;
};

// Parses a stream mode: "r", "w" or "a", then "+" and one of "b" or "t",
// each at most once, in any order. Anything else is refused, so that the
// run-time never sees a mode it would hand to its invalid-parameter handler.
inline bool plat_parse_open_mode(const EzuWChar* mode, PlatOpenMode* out) {
    if (!mode || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a'))
        return false;
    bool plus = false, kind = false;
    for (const EzuWChar* m = mode + 1; *m; ++m) {
        if (*m == '+' && !plus)
            plus = true;
        else if ((*m == 'b' || *m == 't') && !kind)
            kind = true;
        else
            return false;
    }
    out->access = char(mode[0]);
    out->update = plus;
    return true;
}

// True when an open with this mode may write to the file.
inline bool plat_mode_writes(const PlatOpenMode& mode) {
    return mode.access != 'r' || mode.update;
}

// Pipe modes: "r" or "w", optionally followed by one of "b" or "t".
inline bool plat_pipe_mode_valid(const char* mode) {
    if (!mode || (mode[0] != 'r' && mode[0] != 'w'))
        return false;
    return mode[1] == 0 || ((mode[1] == 'b' || mode[1] == 't') && mode[2] == 0);
}

inline bool plat_is_drive_letter(EzuWChar c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Characters Windows refuses in a name, wherever they stand: control
// characters and ? * < > | ". The colon is judged by plat_name_chars_allowed.
inline bool plat_char_forbidden(EzuWChar c) {
    return c < 32 || c == '?' || c == '*' || c == '<' || c == '>' || c == '|' || c == '"';
}

// True when `path` holds no forbidden character; the one colon allowed is
// the drive's, right after a leading letter. The "\\?\" and "\\.\" prefixes
// of Windows' own long and device paths are skipped before the check.
inline bool plat_name_chars_allowed(const EzuWChar* path) {
    const EzuWChar* p = path;
    if ((p[0] == '\\' && p[1] == '\\' && (p[2] == '?' || p[2] == '.') && p[3] == '\\'))
        p += 4;
    if (plat_is_drive_letter(p[0]) && p[1] == ':')
        p += 2;
    for (; *p; ++p)
        if (plat_char_forbidden(*p) || *p == ':')
            return false;
    return true;
}

// True when the unique-name template ends in six capital X.
inline bool plat_template_valid(const char* templ) {
    if (!templ)
        return false;
    const size_t length = strlen(templ);
    return length >= 6 && strcmp(templ + length - 6, "XXXXXX") == 0;
}

// True for a valid environment variable name: not empty and without "=".
inline bool plat_env_name_valid(const char* name) {
    return name && *name && !strchr(name, '=');
}

#endif
