// The settings store: a process-wide, in-memory tree of named values.
//
// Keys not starting with "/" live under "/tamri/global/". Every typed value
// but pointers is kept as text; pointers live in a separate table. `persist`
// marks a value as one a program would keep; the store treats both alike.
#ifndef EZU_SETTINGS_SETTINGS_H
#define EZU_SETTINGS_SETTINGS_H

#include "ezu/ezu_export.h"

#include "ezu/settings/map.h"
#include "ezu/strings/strlist.h"
#include "ezu/strings/tstr.h"

extern EZU_API TEzuMap<TStr, TStr> ezuStringSettings;
extern EZU_API TEzuMap<TStr, void*> ezuPointerSettings;

// Keys and values are taken by reference and copied only when the store
// keeps them: a set of a key that is present assigns the value in place.

EZU_API void ezuSetString(const TStr& key, const TStr& value, bool persist);
EZU_API TStr ezuGetString(const TStr& key);
EZU_API void ezuSetInt(const TStr& key, int value, bool persist);
EZU_API int ezuGetInt(const TStr& key);
EZU_API void ezuSetDouble(const TStr& key, double value, bool persist);
EZU_API double ezuGetDouble(const TStr& key);
EZU_API void ezuSetStringList(const TStr& key, const TEzuStrList& value, bool persist);
EZU_API TEzuStrList ezuGetStringList(const TStr& key);
EZU_API void ezuSetPointer(const TStr& key, void* value);
EZU_API void* ezuGetPointer(const TStr& key);

#endif
