// The settings store: a process-wide, in-memory tree of named values.
//
// Keys not starting with "/" live under "/tamri/global/". Every typed value
// but pointers is kept as text; pointers live in a separate table. `persist`
// marks a value as one a program would keep; the store treats both alike.
#ifndef EZU_SETTINGS_SETTINGS_H
#define EZU_SETTINGS_SETTINGS_H

#include "ezu/settings/map.h"
#include "ezu/strings/strlist.h"
#include "ezu/strings/tstr.h"

extern TEzuMap<TStr, TStr> ezuStringSettings;
extern TEzuMap<TStr, void*> ezuPointerSettings;

void ezuSetString(TStr key, TStr value, bool persist);
TStr ezuGetString(TStr key);
void ezuSetInt(TStr key, int value, bool persist);
int ezuGetInt(TStr key);
void ezuSetDouble(TStr key, double value, bool persist);
double ezuGetDouble(TStr key);
void ezuSetStringList(TStr key, TEzuStrList value, bool persist);
TEzuStrList ezuGetStringList(TStr key);
void ezuSetPointer(TStr key, void* value);
void* ezuGetPointer(TStr key);

#endif
