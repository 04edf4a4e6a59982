// The current UTC time as a file time: 100-nanosecond units since 1601.
#include "ezu/platform/platform.h"

#include <windows.h>

uint64_t plat_utc_file_time() {
    SYSTEMTIME now;
    FILETIME file_time;
    GetSystemTime(&now);
    if (!SystemTimeToFileTime(&now, &file_time))
        return 0;
    return (uint64_t(file_time.dwHighDateTime) << 32) | file_time.dwLowDateTime;
}
