// The current UTC time as a Windows file time: 100-nanosecond units since
// 1601-01-01.
#include "ezu/platform/platform.h"

#include <time.h>

namespace {

// 100-nanosecond units from 1601-01-01 to the host's epoch 1970-01-01.
const uint64_t kEpochOffset = 116444736000000000ull;

} // namespace

uint64_t plat_utc_file_time() {
    struct timespec now;
    if (clock_gettime(CLOCK_REALTIME, &now) != 0)
        return 0;
    return kEpochOffset + uint64_t(now.tv_sec) * 10000000u + uint64_t(now.tv_nsec) / 100u;
}
