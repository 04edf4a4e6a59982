// The user's default locale: ISO 3166 country and ISO 639 language codes.
#include "ezu/platform/platform.h"

#include <windows.h>

namespace {

int locale_info(LCTYPE type, EzuWChar* buffer, int units) {
    if (units < 0 || (units > 0 && !buffer))
        return 0;
    return GetLocaleInfoW(GetUserDefaultLCID(), type, buffer, units);
}

} // namespace

int plat_locale_country(EzuWChar* buffer, int units) {
    return locale_info(LOCALE_SISO3166CTRYNAME, buffer, units);
}

int plat_locale_language(EzuWChar* buffer, int units) {
    return locale_info(LOCALE_SISO639LANGNAME, buffer, units);
}
