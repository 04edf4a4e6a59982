/// @file
/// Command runner and console output.
#ifndef EZU_HOST_COMMAND_H
#define EZU_HOST_COMMAND_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

/// While true, ezuPrint writes nothing. False at start; only programs set it.
extern EZU_API bool ezuQuiet;

/// Runs `command` through the system's command interpreter with its standard
/// error merged into its standard output, replaces `output` with everything it
/// printed, and returns the interpreter's status (0 when the pipe could not
/// be opened). The command reaches the interpreter with its characters intact.
/// The output is 7-bit text: a byte above 127 becomes "?", and so does a zero
/// byte (the text is zero-terminated and cannot hold one), so the text after a
/// zero byte is kept and every byte keeps its place.
EZU_API int ezuRunCommand(TStr command, TStr& output);

/// Whether `path` names an existing file or directory.
EZU_API bool ezuPathExists(TStr path);

/// Writes `text` to standard output as it stands, unless ezuQuiet is set.
EZU_API void ezuPrint(TStr text);

#endif
