#include "ezu/host/queries.h"
#include "ezu/platform/platform.h"

namespace {

const int kLocaleUnits = 64;

} // namespace

// The tag joins the ISO 639 language (its first two letters) and the ISO 3166
// country of the user's locale; a locale without a country counts as "US".
TStr ezuLocaleTag() {
    static TStr cache;
    if (!cache.isEmpty())
        return cache;
    TStr country("US");
    EzuWChar units[kLocaleUnits];
    if (plat_locale_country(units, kLocaleUnits) != 0)
        country = ezuFromWide(units);
    TStr language("");
    if (plat_locale_language(units, kLocaleUnits) != 0)
        language = ezuFromWide(units);
    cache = TStr("%1_%2").arg(language.left(2)).arg(country);
    return cache;
}
