// %NAME% expansion with the rules of ExpandEnvironmentStringsW: a set
// variable is replaced by its value, an unset one (or a name that cannot be
// looked up) stays as written, and a "%" without a closing "%" is kept.
#include "ezu/platform/platform.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include "ezu/platform/plat_rules.h"
#include "ezu/platform/posix/host_text.h"

namespace {

// The value of the variable named by `name`, if it is set.
bool lookup(const PosixWide& name, PosixWide* value) {
    std::string host_name;
    if (!posix_wide_to_utf8(name.c_str(), &host_name) || !plat_env_name_valid(host_name.c_str()))
        return false;
    const char* found = getenv(host_name.c_str());
    return found && posix_utf8_to_wide(found, strlen(found), false, value);
}

PosixWide expand(const EzuWChar* text) {
    PosixWide out, name, value;
    const EzuWChar* p = text;
    while (*p) {
        const EzuWChar* close = nullptr;
        if (*p == '%')
            for (const EzuWChar* q = p + 1; *q && !close; ++q)
                if (*q == '%')
                    close = q;
        if (!close) {
            out.push_back(*p++);
            continue;
        }
        name.assign(p + 1, close);
        if (lookup(name, &value))
            out.append(value);
        else
            out.append(p, close + 1);
        p = close + 1;
    }
    return out;
}

} // namespace

int plat_expand_environment(const EzuWChar* text, EzuWChar* buffer, int units) {
    if (!text || units < 0) {
        errno = EINVAL;
        return 0;
    }
    const PosixWide expanded = expand(text);
    const size_t needed = expanded.size() + 1;
    if (buffer && needed <= size_t(units))
        memcpy(buffer, expanded.c_str(), needed * sizeof(EzuWChar));
    return int(needed);
}
