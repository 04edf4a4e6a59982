/// @file
/// Console text in the console's own encoding.
#ifndef EZU_HOST_CONSOLE_H
#define EZU_HOST_CONSOLE_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

/// The streams ezuPrintText writes to.
enum { ezuStandardOutput = 1, ezuStandardError = 2 };

/// Writes `text` as it stands to standard output (`stream` ezuStandardOutput,
/// nothing while ezuQuiet is set) or standard error (ezuStandardError,
/// always), keeping its characters where the console can show them: through
/// the console's wide call on Windows when the stream is a console, else as
/// UTF-8; on POSIX as UTF-8 when the locale's character set is UTF-8, else
/// in the 7-bit form of ezuPrint. Returns false when the write failed.
EZU_API bool ezuPrintText(TStr text, int stream = ezuStandardOutput);

#endif
