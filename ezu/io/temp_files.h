/// @file
/// Temporary files and new names.
#ifndef EZU_IO_TEMP_FILES_H
#define EZU_IO_TEMP_FILES_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

/// The full name of a new file in the first usable temporary directory
/// (TMPDIR, TEMP, TMP, `C:\TEMP\`, `C:\TMP\`, the current directory), or the empty
/// string. With `keep` the file exists, empty; otherwise only the name is left.
/// The prefix and the directories are read as UTF-8; a candidate whose UTF-8
/// form has more than 255 bytes is skipped.
EZU_API TStr tempFileName(const char* prefix, bool keep);

/// Whether a file of that name (UTF-8) can be created (or, when it exists,
/// written). A missing file is created to find out, and removed again
/// unless `keep` is set.
EZU_API bool probeNewFile(const char* name, bool keep);

/// Finds a name in `directory` that is not taken: `name` itself while
/// `counter` is 0, then `pattern` with "%1" replaced by `counter`, up to
/// `last`. On success `name` holds it and `counter` is one past it. False
/// when the directory does not exist or every candidate is taken.
EZU_API bool uniqueFileName(const TStr& directory, TStr& name, const TStr& pattern, int& counter,
                            int last);

/// Creates the directory (UTF-8) with every missing level; true when it exists
/// afterwards.
EZU_API bool makePath(const char* path);

/// Appends `\` unless the text ends with one; true when it appended.
EZU_API bool ensureTrailingBackslash(TStr& text);

#endif
