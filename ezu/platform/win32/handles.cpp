// The number of open handles of this process.
//
// GetProcessHandleCount gives it on Windows. Some compatibility layers
// answer that call with success and a count of 0, which no real process can
// have (it holds at least its own console and image handles); there the
// handle table is probed instead: handle values are multiples of 4, handed
// out lowest free first, and GetHandleInformation succeeds for each open one.
#include "ezu/platform/platform.h"

#include <windows.h>

namespace {

// Probing stops after this many unused values in a row above the last open
// handle; the table is dense, so a gap this long means its end.
const int kProbeGap = 4096;

int probed_handle_count() {
    int count = 0;
    int misses = 0;
    for (uintptr_t value = 4; misses < kProbeGap; value += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            misses = 0;
        } else {
            ++misses;
        }
    }
    return count;
}

} // namespace

int plat_open_handle_count() {
    DWORD count = 0;
    if (!GetProcessHandleCount(GetCurrentProcess(), &count))
        return -1;
    return count != 0 ? int(count) : probed_handle_count();
}
