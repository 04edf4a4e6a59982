/// @file
/// Path text and file-system functions on StrBuf records.
///
/// The separator is "\"; "/" is accepted as input and rewritten to "\" in the
/// caller's buffer by the functions that normalise. A path that starts with a
/// drive letter and a colon (and is longer than two characters) is complete;
/// every other path is relative to the current directory. Functions returning
/// StrBuf* hand a new record to the caller (release with str_free).
#ifndef EZU_IO_PATH_H
#define EZU_IO_PATH_H

#include "ezu/ezu_export.h"

#include <stdio.h>

#include "ezu/platform/platform.h"
#include "ezu/strings/strbuf.h"

/// Path text.
EZU_API void path_normalize(StrBuf* buf);
EZU_API StrBuf* path_absolute(const StrBuf* buf);
/// The complete path that the file-system functions act on. It differs from
/// path_absolute only for a path from the root of the current drive ("\x" or
/// "/x", not a network path "\\x"): the file calls take that from the drive's
/// root, so it gets the current directory's drive in front ("C:\x"), not the
/// whole current directory. When the current directory has no drive letter
/// the result is path_absolute's.
EZU_API StrBuf* path_resolve(const StrBuf* buf);
EZU_API void path_join(StrBuf* buf, const StrBuf* other);
EZU_API void path_prepend(StrBuf* buf, const StrBuf* other);
EZU_API StrBuf* path_split_leaf(StrBuf* buf);
EZU_API StrBuf* path_split_first(StrBuf* buf);
EZU_API StrBuf* path_leaf(StrBuf* buf);
EZU_API StrBuf* path_directory(StrBuf* buf);
EZU_API StrBuf* path_extension(StrBuf* buf);

/// File system: 1 for yes and 0 for no, except the creation and removal
/// functions, which keep the run-time's 0 for success and -1 for failure.
EZU_API StrBuf* fs_current_dir();
EZU_API int fs_change_dir(StrBuf* buf);
EZU_API int fs_stat(StrBuf* buf, PlatStat* info);
EZU_API int fs_exists(StrBuf* buf);
EZU_API int fs_is_file(StrBuf* buf);
EZU_API int fs_is_dir(StrBuf* buf);
EZU_API int fs_size(StrBuf* buf);
EZU_API int fs_is_writable(const StrBuf* buf);
EZU_API int fs_is_readable(const StrBuf* buf);
EZU_API int fs_make_dir(StrBuf* buf);
EZU_API int fs_remove_dir(StrBuf* buf);
EZU_API int fs_remove_file(StrBuf* buf);
/// Renames `from` to `to`, replacing an existing file `to` (not a directory
/// or a read-only file); both are normalised.
EZU_API int fs_rename(StrBuf* from, StrBuf* to);
EZU_API FILE* fs_open(StrBuf* buf, const char* mode);

#endif
