// Path text and file-system functions on StrBuf records.
//
// The separator is "\"; "/" is accepted as input and rewritten to "\" in the
// caller's buffer by the functions that normalise. A path that starts with a
// drive letter and a colon (and is longer than two characters) is complete;
// every other path is relative to the current directory. Functions returning
// StrBuf* hand a new record to the caller (release with str_free).
#ifndef EZU_IO_PATH_H
#define EZU_IO_PATH_H

#include <stdio.h>

#include "ezu/platform/platform.h"
#include "ezu/strings/strbuf.h"

// Path text.
void path_normalize(StrBuf* buf);
StrBuf* path_absolute(const StrBuf* buf);
// The complete path that the file-system functions act on. It differs from
// path_absolute only for a path from the root of the current drive ("\x" or
// "/x", not a network path "\\x"): the file calls take that from the drive's
// root, so it gets the current directory's drive in front ("C:\x"), not the
// whole current directory. When the current directory has no drive letter
// the result is path_absolute's.
StrBuf* path_resolve(const StrBuf* buf);
void path_join(StrBuf* buf, const StrBuf* other);
void path_prepend(StrBuf* buf, const StrBuf* other);
StrBuf* path_split_leaf(StrBuf* buf);
StrBuf* path_split_first(StrBuf* buf);
StrBuf* path_leaf(StrBuf* buf);
StrBuf* path_directory(StrBuf* buf);
StrBuf* path_extension(StrBuf* buf);

// File system: 1 for yes and 0 for no, except the creation and removal
// functions, which keep the run-time's 0 for success and -1 for failure.
StrBuf* fs_current_dir();
int fs_change_dir(StrBuf* buf);
int fs_stat(StrBuf* buf, PlatStat* info);
int fs_exists(StrBuf* buf);
int fs_is_file(StrBuf* buf);
int fs_is_dir(StrBuf* buf);
int fs_size(StrBuf* buf);
int fs_is_writable(const StrBuf* buf);
int fs_is_readable(const StrBuf* buf);
int fs_make_dir(StrBuf* buf);
int fs_remove_dir(StrBuf* buf);
int fs_remove_file(StrBuf* buf);
// Renames `from` to `to`, replacing an existing file `to` (not a directory
// or a read-only file); both are normalised.
int fs_rename(StrBuf* from, StrBuf* to);
FILE* fs_open(StrBuf* buf, const char* mode);

#endif
