/// @file
/// Application directory discovery from the process command line.
#ifndef EZU_IO_APP_PATH_H
#define EZU_IO_APP_PATH_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

/// The complete path of the directory holding the running executable, without
/// a trailing backslash ('C:' for a drive's root), or the empty string when the
/// executable was not found. A found answer is cached for the process; after
/// a failure the next call looks again (it never answers with another
/// directory in the program's place).
EZU_API TStr ezuAppPath();

/// Receives ezuAppPath's trace messages; discards them unless a hook is set.
EZU_API void appPathTrace(const TStr& message);

/// Routes appPathTrace's messages to `hook` (null: discard them again). Meant
/// for diagnostics and tests; nothing in ezu sets it.
EZU_API void ezuSetAppPathTraceHook(void (*hook)(const TStr& message));

#endif
