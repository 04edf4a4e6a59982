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

#include "ezu/strings/strbuf.h"

/// File facts from fs_stat(): the kind bits of the run-time's st_mode.
enum {
    FS_MODE_FILE = 0x8000, ///< `mode` bit of a regular file
    FS_MODE_DIR = 0x4000   ///< `mode` bit of a directory
};

/// What fs_stat() tells about a path.
struct FsStat {
    int mode;       ///< FS_MODE_FILE, FS_MODE_DIR, or neither
    long long size; ///< the length in bytes
};

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
/// Fills the record `info`; 1 on success, 0 when the path
/// cannot be read.
EZU_API int fs_stat(StrBuf* buf, FsStat* info);
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

/// @name Replacing a file
/// Replacing a file with care, for programs that write a new file beside the
/// old one and rename it into place. Paths are normalised in place.
//@{
/// When `buf` names a symbolic link, a new record with the
/// complete path of the file it finally leads to; null when it is no link,
/// when its target does not exist, or when the path cannot be converted.
/// Windows leaves its links to the system: always null there.
EZU_API StrBuf* fs_link_target(StrBuf* buf);
/// Gives the file `to` the permission bits of `from`; 0 on
/// success, -1 on failure (either file missing; an empty path everywhere).
/// Windows keeps no such bits: 0 there for any named files, nothing changed.
EZU_API int fs_copy_mode(StrBuf* from, StrBuf* to);
/// Sets (`read_only` non-zero) or clears the read-only
/// attribute of a file; 0 on success, -1 on failure.
EZU_API int fs_set_read_only(StrBuf* buf, int read_only);
/// The file `buf` is removed when the process is
/// interrupted (SIGINT, SIGTERM or SIGHUP; Ctrl-C, Ctrl-Break or closing the
/// console on Windows), which then ends as the interruption would. `stream`,
/// when given, is that file open for writing (Windows removes no open file,
/// so it is closed first). One file at a time; a null `buf` forgets it. 0 on
/// success, -1 on failure (a path that cannot be converted), which leaves no
/// file registered.
EZU_API int fs_remove_on_interrupt(StrBuf* buf, FILE* stream);
/// Bytes written to or read from `stream` pass unchanged
/// (Windows adds no CR before LF and stops at no Ctrl-Z); nothing happens for
/// a null stream or where streams are binary already.
EZU_API void fs_set_binary_mode(FILE* stream);
//@}

#endif
