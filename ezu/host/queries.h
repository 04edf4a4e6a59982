/// @file
/// Platform queries: locale, environment, disk, regions, command line, time.
#ifndef EZU_HOST_QUERIES_H
#define EZU_HOST_QUERIES_H

#include "ezu/ezu_export.h"

#include <stdint.h>

#include "ezu/strings/tstr.h"

/// `<language>_<country>` of the user's locale, such as 'de_CH'; computed once.
/// The language is its two-letter code; a locale without a country counts
/// as "US", and one whose language cannot be read gives an empty language.
EZU_API TStr ezuLocaleTag();

/// `text` with "%NAME%" references expanded; unchanged when expansion fails.
EZU_API TStr ezuExpandEnvironment(TStr text);

/// Bytes available to the caller on the volume of `path`, divided by `unit`;
/// 0 on failure or for a unit of 0 or less. A figure above INT_MAX is given as
/// INT_MAX.
EZU_API int ezuDiskFreeSpace(TStr path, int unit);

/// The name of region `id`: 1 'americas', 2 'emea', 3 'asia-pacific', -1
/// 'beta'; 'unknown' for any other number.
EZU_API TStr ezuRegionName(int id);
/// The number of the region called `name` (exact, lower case); 0 for any
/// other text.
EZU_API int ezuRegionId(TStr name);

/// Element `index` of the process command line; empty text outside it.
EZU_API TStr ezuCommandLineArg(int index);

/// The low 32 bits of the current UTC time in 100-nanosecond units.
EZU_API uint32_t ezuTimeStamp();

/// Path equality under Windows rules: ASCII case and "/" versus `\` ignored.
EZU_API bool ezuSamePath(TStr a, TStr b);

/// `text` simplified when flag 1 is set and flag 2 is clear; else unchanged.
EZU_API TStr ezuPrepareText(TStr text, uint32_t flags);

#endif
