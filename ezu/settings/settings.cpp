// The settings store: typed values kept as text in ezuStringSettings, and
// untyped pointers in ezuPointerSettings, under normalised keys.
#include "ezu/settings/settings.h"

namespace {

// Keys not starting with "/" live under the global branch. The key is the
// substituted value, so a "%" in it is kept as it stands.
TStr normalised(const TStr& key) {
    if (key.charAt(0) == '/')
        return key;
    return TStr("/tamri/global/%1").arg(key);
}

// The characters with a meaning in the stored list form: ":" separates the
// elements, "!{" ... "}" is an escape.
const char kListSpecials[] = ":!{}";

} // namespace

void ezuSetString(TStr key, TStr value, bool) {
    ezuStringSettings.insert(normalised(key), value);
}

TStr ezuGetString(TStr key) {
    TEzuMap<TStr, TStr>::iterator it = ezuStringSettings.find(normalised(key));
    if (it != ezuStringSettings.end())
        return TStr(*it);
    return TStr("");
}

void ezuSetInt(TStr key, int value, bool persist) {
    ezuSetString(key, TStr("%1").arg(value), persist);
}

int ezuGetInt(TStr key) {
    return ezuGetString(key).toInt(nullptr, 10);
}

void ezuSetDouble(TStr key, double value, bool persist) {
    ezuSetString(key, TStr("%1").arg(value, 0, 'g', -1), persist);
}

// Reads the number at the start of the text and ignores what follows it.
double ezuGetDouble(TStr key) {
    return ezuGetString(key).toDouble(nullptr);
}

void ezuSetStringList(TStr key, TEzuStrList value, bool persist) {
    TEzuStrList escaped;
    const TStr specials(kListSpecials);
    for (TEzuStrList::iterator it = value.begin(); it != value.end(); ++it)
        escaped.append((*it)->escaped(specials));
    ezuSetString(key, escaped.join(":"), persist);
}

TEzuStrList ezuGetStringList(TStr key) {
    const TEzuStrList pieces = TEzuStrList::split(':', ezuGetString(key));
    TEzuStrList result;
    for (TEzuStrList::iterator it = pieces.begin(); it != pieces.end(); ++it)
        result.append((*it)->unescaped());
    return result;
}

void ezuSetPointer(TStr key, void* value) {
    ezuPointerSettings.insert(normalised(key), value);
}

void* ezuGetPointer(TStr key) {
    TEzuMap<TStr, void*>::iterator it = ezuPointerSettings.find(normalised(key));
    if (it != ezuPointerSettings.end())
        return *it;
    return nullptr;
}
