/// @file
/// Path text and file-system functions on StrBuf records.
///
/// The separator is `\`; "/" is accepted as input and rewritten to `\` in the
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

/// @name Path text
/// Path text.
//@{
/// Rewrites every "/" to `\` in place; a buffer without text is left alone.
EZU_API void path_normalize(StrBuf* buf);
/// A copy when the path is complete, else the current directory joined with
/// it; not normalised. Null when no memory is left.
EZU_API StrBuf* path_absolute(const StrBuf* buf);
/// The complete path that the file-system functions act on. It differs from
/// path_absolute only for a path from the root of the current drive (`\x` or
/// "/x", not a network path `\\x`): the file calls take that from the drive's
/// root, so it gets the current directory's drive in front (`C:\x`), not the
/// whole current directory. When the current directory has no drive letter
/// the result is path_absolute's.
EZU_API StrBuf* path_resolve(const StrBuf* buf);
/// Appends `other` with exactly one `\` at the seam; empty `other` changes
/// nothing, and a `buf` without text becomes a copy of it.
EZU_API void path_join(StrBuf* buf, const StrBuf* other);
/// The mirror of path_join(): puts `other` in front.
EZU_API void path_prepend(StrBuf* buf, const StrBuf* other);
/// Cuts the leaf off at the last `\` (one at the very start does not count)
/// and returns it; `buf` keeps the text before the separator. Without one
/// the whole text is returned and `buf` is cleared.
EZU_API StrBuf* path_split_leaf(StrBuf* buf);
/// Cuts the first component off at the first `\` and returns it; `buf`
/// keeps the text after the separator. Without one the whole text is
/// returned and `buf` is cleared.
EZU_API StrBuf* path_split_first(StrBuf* buf);
/// Normalises `buf`, then returns the text after its last `\` (the whole
/// text without one).
EZU_API StrBuf* path_leaf(StrBuf* buf);
/// Normalises `buf`, then returns it without the leaf and its separator
/// (empty without a separator).
EZU_API StrBuf* path_directory(StrBuf* buf);
/// Normalises `buf`, then returns the text after its last "." (empty without
/// one).
EZU_API StrBuf* path_extension(StrBuf* buf);
//@}

/// @name File system
/// File system: 1 for yes and 0 for no, except the creation and removal
/// functions, which keep the run-time's 0 for success and -1 for failure.
/// Each normalises its path first unless it says otherwise, and takes the
/// text as UTF-8.
//@{
/// The process's current directory; empty text when it cannot be read
/// (longer than 255 UTF-16 units), null when no memory is left.
EZU_API StrBuf* fs_current_dir();
/// Makes the path the current directory; 1 when it changed.
EZU_API int fs_change_dir(StrBuf* buf);
/// Fills the platform's stat record `info`; 1 on success, 0 when the path
/// cannot be read.
EZU_API int fs_stat(StrBuf* buf, PlatStat* info);
/// 1 when the path names an existing file or directory.
EZU_API int fs_exists(StrBuf* buf);
/// 1 when the path names an existing regular file.
EZU_API int fs_is_file(StrBuf* buf);
/// 1 when the path names an existing directory.
EZU_API int fs_is_dir(StrBuf* buf);
/// The file's size in bytes; 0 when it is missing.
EZU_API int fs_size(StrBuf* buf);
/// 1 when the path exists and may be written (not read-only); not normalised.
EZU_API int fs_is_writable(const StrBuf* buf);
/// 1 when the path exists and may be read; not normalised.
EZU_API int fs_is_readable(const StrBuf* buf);
/// Creates the directory (only its last level); 0 or -1.
EZU_API int fs_make_dir(StrBuf* buf);
/// Removes the empty directory; 0 or -1.
EZU_API int fs_remove_dir(StrBuf* buf);
/// Removes the file; 0 or -1.
EZU_API int fs_remove_file(StrBuf* buf);
/// Renames `from` to `to`, replacing an existing file `to` (not a directory
/// or a read-only file); both are normalised. 0 or -1.
EZU_API int fs_rename(StrBuf* from, StrBuf* to);
/// Opens the file with the run-time `mode` text (such as "rb"); the stream,
/// or null when it cannot be opened or the path is empty.
EZU_API FILE* fs_open(StrBuf* buf, const char* mode);
//@}

#endif
