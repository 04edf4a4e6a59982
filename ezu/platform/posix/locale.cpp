// The user's locale from LC_ALL, then LC_CTYPE, then LANG, the first one set
// and not empty. "de_CH.UTF-8" is language "de" and country "CH"; a locale
// without a country (such as "C" or "POSIX") has none, and one without a
// language has the language "en".
#include "ezu/platform/platform.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include "ezu/platform/posix/host_text.h"

namespace {

const char* locale_name() {
    static const char* const kVariables[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char* variable : kVariables) {
        const char* value = getenv(variable);
        if (value && *value)
            return value;
    }
    return "";
}

bool is_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// A language code is two or three letters, given in lower case.
bool parse_language(const char* name, PosixWide* out) {
    const size_t length = strcspn(name, "_.@");
    if (length < 2 || length > 3)
        return false;
    out->clear();
    for (size_t i = 0; i < length; ++i) {
        if (!is_letter(name[i]))
            return false;
        out->push_back(EzuWChar(name[i] | 0x20));
    }
    return true;
}

// A country code follows "_": two letters (given in upper case) or a
// three-digit region number.
bool parse_country(const char* name, PosixWide* out) {
    const char* underscore = name + strcspn(name, "_.@");
    if (*underscore != '_')
        return false;
    const char* code = underscore + 1;
    const size_t length = strcspn(code, ".@");
    out->clear();
    if (length == 2 && is_letter(code[0]) && is_letter(code[1])) {
        out->push_back(EzuWChar(code[0] & ~0x20));
        out->push_back(EzuWChar(code[1] & ~0x20));
        return true;
    }
    if (length == 3 && is_digit(code[0]) && is_digit(code[1]) && is_digit(code[2])) {
        out->assign(code, code + 3);
        return true;
    }
    return false;
}

} // namespace

int plat_locale_country(EzuWChar* buffer, int units) {
    PosixWide country;
    if (!parse_country(locale_name(), &country)) {
        errno = ENOENT;
        return 0;
    }
    return posix_copy_wide_out(country, buffer, units);
}

int plat_locale_language(EzuWChar* buffer, int units) {
    PosixWide language;
    if (!parse_language(locale_name(), &language))
        language.assign({'e', 'n'});
    return posix_copy_wide_out(language, buffer, units);
}
