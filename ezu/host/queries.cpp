#include "ezu/host/queries.h"
#include "ezu/platform/platform.h"

#include <limits.h>

namespace {

const int kExpandUnits = 1024;

} // namespace

TStr ezuExpandEnvironment(TStr text) {
    const EzuWChar* wide = text.utf16le();
    if (wide == nullptr)
        return text;
    EzuWChar expanded[kExpandUnits];
    const int units = plat_expand_environment(wide, expanded, kExpandUnits);
    if (units == 0 || units > kExpandUnits)
        return text;
    return ezuFromWide(expanded);
}

int ezuDiskFreeSpace(TStr path, int unit) {
    if (unit <= 0)
        return 0;
    const EzuWChar* wide = path.utf16le();
    uint64_t free_to_caller = 0;
    uint64_t total = 0;
    if (wide == nullptr || plat_disk_free(wide, &free_to_caller, &total) == 0)
        return 0;
    // A figure beyond the return type is held at its largest value: cutting
    // it to 32 bits would turn a large volume into a small or negative one.
    const uint64_t quotient = free_to_caller / static_cast<uint64_t>(unit);
    return quotient > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(quotient);
}

TStr ezuCommandLineArg(int index) {
    int count = 0;
    EzuWChar** args = plat_command_line_args(&count);
    if (args == nullptr)
        return ezuEmptyStr;
    TStr arg = index >= 0 && index < count ? ezuFromWide(args[index]) : ezuEmptyStr;
    plat_free_args(args);
    return arg;
}

uint32_t ezuTimeStamp() {
    return static_cast<uint32_t>(plat_utc_file_time());
}

bool ezuSamePath(TStr a, TStr b) {
    TStr left = a.lower();
    TStr right = b.lower();
    left.replace("/", "\\");
    right.replace("/", "\\");
    return left == right;
}

TStr ezuPrepareText(TStr text, uint32_t flags) {
    if ((flags & 1) != 0 && (flags & 2) == 0)
        return text.simplified();
    return text;
}
