#include "ezu/io/app_path.h"

#include "ezu/io/ezupath.h"
#include "ezu/platform/platform.h"

namespace {

const int kCwdUnits = 256;

void (*g_trace_hook)(const TStr&) = nullptr;

// The first element of the process command line as it was typed.
TStr programName() {
    int count = 0;
    EzuWChar** args = plat_command_line_args(&count);
    if (args == nullptr)
        return ezuEmptyStr;
    TStr name = count > 0 ? ezuFromWide(args[0]) : ezuEmptyStr;
    plat_free_args(args);
    return name;
}

// 'X:\' at the start marks a complete name; everything else is relative.
bool isCompleteName(const TStr& name) {
    return name.length() > 2 && name.charAt(1) == ':' && name.charAt(2) == '\\';
}

} // namespace

void appPathTrace(const TStr& message) {
    if (g_trace_hook != nullptr)
        g_trace_hook(message);
}

void ezuSetAppPathTraceHook(void (*hook)(const TStr& message)) {
    g_trace_hook = hook;
}

// The cache holds the answer after a success and stays empty otherwise: a
// program that was not found is looked for again by the next call, so a
// failure never turns into another directory (such as the current one)
// that would pass for the program's.
TStr ezuAppPath() {
    static TStr cache;
    if (!cache.isEmpty())
        return cache;

    EzuWChar wide_cwd[kCwdUnits] = {0};
    const TStr cwd =
        plat_wgetcwd(wide_cwd, kCwdUnits) != nullptr ? ezuFromWide(wide_cwd) : ezuEmptyStr;
    appPathTrace(TStr("ezuAppPath: cwd: %1").arg(cwd));

    const TStr name = programName();
    TEzuPath candidate;
    if (isCompleteName(name)) {
        candidate.setText(name);
    } else {
        appPathTrace(TStr("ezuAppPath: looking at directory: %1").arg(cwd));
        // Completed against the current directory, or against the current
        // drive alone for a name from the drive root, as the file calls do.
        candidate.setText(TEzuPath(name).resolved());
        appPathTrace(TStr("ezuAppPath: setting FileInfo : %1").arg(candidate.resolved()));
    }

    appPathTrace(TStr("Application extension: %1").arg(candidate.extension()));
    // Without an extension the name gets the platform's executable suffix
    // (".exe" on Windows), added to the name as typed: a relative name is
    // resolved against the current directory again below.
    if (candidate.extension().isEmpty())
        candidate.setText(name + plat_exe_suffix());

    appPathTrace(TStr("ezuAppPath: checking Existence %1").arg(candidate.resolved()));
    if (!candidate.exists())
        return ezuEmptyStr;
    // Completed as exists() read it: a name from the drive root names a
    // directory on the current drive, not one under the current directory.
    cache = candidate.resolved().parent();
    appPathTrace(TStr("found directory: %1").arg(cache));
    return cache;
}
