/// @file
/// The settings store: a process-wide, in-memory tree of named values.
///
/// Keys not starting with "/" live under "/tamri/global/". Every typed value
/// but pointers is kept as text; pointers live in a separate table. `persist`
/// marks a value as one a program would keep; the store treats both alike.
#ifndef EZU_SETTINGS_SETTINGS_H
#define EZU_SETTINGS_SETTINGS_H

#include "ezu/ezu_export.h"

#include "ezu/settings/map.h"
#include "ezu/strings/strlist.h"
#include "ezu/strings/tstr.h"

/// The process-wide map of every text-valued setting, by normalised key
/// (17 buckets at first). Built before main runs, destroyed at exit.
extern EZU_API TEzuMap<TStr, TStr> ezuStringSettings;
/// The process-wide map of the pointer settings, by normalised key; the
/// store never owns what the pointers point at.
extern EZU_API TEzuMap<TStr, void*> ezuPointerSettings;

/// @name Typed settings
/// Keys and values are taken by reference and copied only when the store
/// keeps them: a set of a key that is present assigns the value in place.
/// A key is normalised first: one that does not start with "/" gets
/// "/tamri/global/" in front. Getters of a missing key return empty text,
/// 0 or null; nothing fails.
//@{

/// Stores `value` as the text of `key`.
EZU_API void ezuSetString(const TStr& key, const TStr& value, bool persist);
/// A copy of the text of `key`; empty text when the key is missing.
EZU_API TStr ezuGetString(const TStr& key);
/// Stores `value` as its decimal text.
EZU_API void ezuSetInt(const TStr& key, int value, bool persist);
/// The text of `key` read as a decimal integer; 0 when the key is missing or
/// its text is no such number.
EZU_API int ezuGetInt(const TStr& key);
/// Stores `value` as text in printf's 'g' form (six significant digits).
EZU_API void ezuSetDouble(const TStr& key, double value, bool persist);
/// The number at the start of the text of `key` (what follows it is
/// ignored); 0 when the key is missing.
EZU_API double ezuGetDouble(const TStr& key);
/// Stores the list as one text: the non-empty elements joined with ":",
/// each with ":", "!", "{" and "}" escaped as "!{" hex "}". Empty elements
/// are not kept.
EZU_API void ezuSetStringList(const TStr& key, const TEzuStrList& value, bool persist);
/// The list stored under `key`, split at ":" and unescaped; an empty list
/// when the key is missing.
EZU_API TEzuStrList ezuGetStringList(const TStr& key);
/// Stores a pointer under `key`, apart from the text values.
EZU_API void ezuSetPointer(const TStr& key, void* value);
/// The pointer stored under `key`, or null.
EZU_API void* ezuGetPointer(const TStr& key);
//@}

#endif
