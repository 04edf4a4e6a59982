// Application directory discovery from the process command line.
#ifndef EZU_IO_APP_PATH_H
#define EZU_IO_APP_PATH_H

#include "ezu/strings/tstr.h"

// The complete path of the directory holding the running executable, without
// a trailing backslash ('C:' for a drive's root), or the empty string when the
// executable was not found. A found answer is cached for the process.
TStr ezuAppPath();

// Receives ezuAppPath's trace messages; discards them.
void appPathTrace(const TStr& message);

#endif
