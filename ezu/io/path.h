// Path text and file-system functions on StrBuf records.
//
// The separator is "\"; "/" is accepted as input and rewritten to "\" in the
// caller's buffer by the functions that normalise. A path that starts with a
// drive letter and a colon (and is longer than two characters) is complete;
// every other path is relative to the current directory. Functions returning
// StrBuf* hand a new record to the caller (release with str_free).
#ifndef EZU_IO_PATH_H
#define EZU_IO_PATH_H

#include "ezu/ezu_export.h"

#include <stdio.h>

#include "ezu/strings/strbuf.h"

// File facts from fs_stat: `mode` holds the kind bits of the run-time's
// st_mode, FS_MODE_FILE for a file or FS_MODE_DIR for a directory (or
// neither); `size` is the length in bytes.
enum { FS_MODE_FILE = 0x8000, FS_MODE_DIR = 0x4000 };

struct FsStat {
    int mode;
    long long size;
};

// Path text.
EZU_API void path_normalize(StrBuf* buf);
EZU_API StrBuf* path_absolute(const StrBuf* buf);
// The complete path that the file-system functions act on. It differs from
// path_absolute only for a path from the root of the current drive ("\x" or
// "/x", not a network path "\\x"): the file calls take that from the drive's
// root, so it gets the current directory's drive in front ("C:\x"), not the
// whole current directory. When the current directory has no drive letter
// the result is path_absolute's.
EZU_API StrBuf* path_resolve(const StrBuf* buf);
EZU_API void path_join(StrBuf* buf, const StrBuf* other);
EZU_API void path_prepend(StrBuf* buf, const StrBuf* other);
EZU_API StrBuf* path_split_leaf(StrBuf* buf);
EZU_API StrBuf* path_split_first(StrBuf* buf);
EZU_API StrBuf* path_leaf(StrBuf* buf);
EZU_API StrBuf* path_directory(StrBuf* buf);
EZU_API StrBuf* path_extension(StrBuf* buf);

// File system: 1 for yes and 0 for no, except the creation and removal
// functions, which keep the run-time's 0 for success and -1 for failure.
EZU_API StrBuf* fs_current_dir();
EZU_API int fs_change_dir(StrBuf* buf);
EZU_API int fs_stat(StrBuf* buf, FsStat* info);
EZU_API int fs_exists(StrBuf* buf);
EZU_API int fs_is_file(StrBuf* buf);
EZU_API int fs_is_dir(StrBuf* buf);
EZU_API int fs_size(StrBuf* buf);
EZU_API int fs_is_writable(const StrBuf* buf);
EZU_API int fs_is_readable(const StrBuf* buf);
EZU_API int fs_make_dir(StrBuf* buf);
EZU_API int fs_remove_dir(StrBuf* buf);
EZU_API int fs_remove_file(StrBuf* buf);
// Renames `from` to `to`, replacing an existing file `to` (not a directory
// or a read-only file); both are normalised.
EZU_API int fs_rename(StrBuf* from, StrBuf* to);
EZU_API FILE* fs_open(StrBuf* buf, const char* mode);

// Replacing a file with care, for programs that write a new file beside the
// old one and rename it into place. Paths are normalised in place.
// fs_link_target: when `buf` names a symbolic link, a new record with the
// complete path of the file it finally leads to; null when it is no link,
// when its target does not exist, or when the path cannot be converted.
// Windows leaves its links to the system: always null there.
EZU_API StrBuf* fs_link_target(StrBuf* buf);
// fs_copy_mode: gives the file `to` the permission bits of `from`; 0 on
// success, -1 on failure (either file missing; an empty path everywhere).
// Windows keeps no such bits: 0 there for any named files, nothing changed.
EZU_API int fs_copy_mode(StrBuf* from, StrBuf* to);
// fs_set_read_only: sets (`read_only` non-zero) or clears the read-only
// attribute of a file; 0 on success, -1 on failure.
EZU_API int fs_set_read_only(StrBuf* buf, int read_only);
// fs_remove_on_interrupt: the file `buf` is removed when the process is
// interrupted (SIGINT, SIGTERM or SIGHUP; Ctrl-C, Ctrl-Break or closing the
// console on Windows), which then ends as the interruption would. `stream`,
// when given, is that file open for writing (Windows removes no open file,
// so it is closed first). One file at a time; a null `buf` forgets it. 0 on
// success, -1 on failure (a path that cannot be converted), which leaves no
// file registered.
EZU_API int fs_remove_on_interrupt(StrBuf* buf, FILE* stream);
// fs_set_binary_mode: bytes written to or read from `stream` pass unchanged
// (Windows adds no CR before LF and stops at no Ctrl-Z); nothing happens for
// a null stream or where streams are binary already.
EZU_API void fs_set_binary_mode(FILE* stream);

#endif
