// The platform layer: everything ezu asks of the machine, behind one interface.
//
// Each call has the meaning of the Windows or C run-time function named beside
// it, with the same arguments and results. The win32 implementation calls
// those functions; the posix implementation presents the host in the Windows
// view: drive C: is the root, "\" separates, names Windows forbids fail, a file
// without write bits is read-only even for root.
#ifndef EZU_PLATFORM_PLATFORM_H
#define EZU_PLATFORM_PLATFORM_H

#include <stdint.h>
#include <stdio.h>

#include "ezu/ezu_wchar.h"

// File facts from plat_wstat: the two kind bits of the run-time's st_mode.
enum { PLAT_MODE_FILE = 0x8000, PLAT_MODE_DIR = 0x4000 };

struct PlatStat {
    int mode;       // PLAT_MODE_FILE or PLAT_MODE_DIR (or neither)
    long long size; // bytes
};

// Access modes of plat_waccess, as _waccess: 0 exists, 2 write, 4 read.
enum { PLAT_ACCESS_EXISTS = 0, PLAT_ACCESS_WRITE = 2, PLAT_ACCESS_READ = 4 };

// Files and directories (_wfopen, _wstat, _waccess, _wmkdir, _wrmdir,
// _wremove, _wchdir, _wgetcwd; plat_getcwd gives the current directory in
// UTF-8). Integer results are 0 for success
// and -1 for failure, as the run-time gives them. A path holding a character
// Windows forbids in names (? * < > | " control characters, or ":" other than
// the drive's) fails in every call. Null arguments fail instead of reaching
// the run-time's invalid-parameter handler.
//
// plat_wfopen takes a mode of "r", "w" or "a", optionally followed by "+" and
// one of "b" or "t", each at most once; it refuses any other mode, a
// directory, and opening a read-only file for writing, appending or update.
// plat_waccess takes only the modes 0, 2, 4 and 6. plat_wremove never
// removes a directory or a read-only file. plat_wgetcwd and plat_getcwd need
// a buffer (no allocation on null) and fail when it is too small.
FILE* plat_wfopen(const EzuWChar* path, const EzuWChar* mode);
int plat_wstat(const EzuWChar* path, PlatStat* info);
int plat_waccess(const EzuWChar* path, int mode);
int plat_wmkdir(const EzuWChar* path);
int plat_wrmdir(const EzuWChar* path);
int plat_wremove(const EzuWChar* path);
int plat_wchdir(const EzuWChar* path);
EzuWChar* plat_wgetcwd(EzuWChar* buffer, int units);
char* plat_getcwd(char* buffer, int size);

// Renames `from` to `to` (MoveFileExW with MOVEFILE_REPLACE_EXISTING): an
// existing file `to` is replaced in one step; a directory or a read-only
// file of that name is not. 0 on success, -1 on failure.
int plat_wrename(const EzuWChar* from, const EzuWChar* to);

// Puts a standard stream into binary mode (_setmode with _O_BINARY), so
// that bytes pass unchanged; POSIX streams are binary already.
void plat_set_binary_mode(FILE* stream);

// Sets (`read_only` non-zero) or clears the read-only attribute of a file
// (SetFileAttributesW); 0 on success, -1 on failure.
int plat_set_read_only(const EzuWChar* path, int read_only);

// Environment and names (_wgetenv, _wputenv, _wmktemp), with names, values
// and templates in UTF-8. plat_getenv's text stays valid until the next
// plat_getenv or plat_setenv. plat_setenv sets a variable for this process
// and the children it starts; a null or empty value removes it (the
// run-time's _putenv cannot set an empty value); 0 on success, -1 on failure.
// plat_mktemp rewrites the six trailing X of `templ` in place and returns it,
// or null when the text does not end in six X or no free name is left.
const char* plat_getenv(const char* name);
int plat_setenv(const char* name, const char* value);
char* plat_mktemp(char* templ);

// Command pipe (_wpopen, _pclose): the command, in UTF-8, runs through the
// system's command interpreter; the mode is "r" or "w", optionally followed
// by one of "b" or "t". plat_pclose returns the command's exit status, or -1.
FILE* plat_popen(const char* command, const char* mode);
int plat_pclose(FILE* pipe);

// UTF-8 to UTF-16 (MultiByteToWideChar with CP_UTF8 and flags 0): converts
// `src_len` bytes (-1: up to and including the terminator) into at most
// `dst_units` units; returns the units written, or 0 on failure (room too
// small). With `dst_units` 0 it returns the units needed.
int plat_utf8_to_wide(const char* src, int src_len, EzuWChar* dst, int dst_units);

// The process command line split into elements (GetCommandLineW and
// CommandLineToArgvW): an array of `*count` texts followed by a null entry,
// or null on failure; release it with plat_free_args (LocalFree, which
// CommandLineToArgvW documents; GlobalFree releases the same block). On POSIX
// the elements come from /proc/self/cmdline, element 0 as typed except that
// an absolute host path is given in the Windows view.
EzuWChar** plat_command_line_args(int* count);
void plat_free_args(EzuWChar** args);

// The user's locale (GetLocaleInfoW with LOCALE_SISO3166CTRYNAME and
// LOCALE_SISO639LANGNAME): units written including the terminator, 0 on
// failure or when they do not fit. With `units` 0 it returns the units
// needed and writes nothing.
int plat_locale_country(EzuWChar* buffer, int units);
int plat_locale_language(EzuWChar* buffer, int units);

// ExpandEnvironmentStringsW: %NAME% becomes the variable's value where it is
// set and stays as written where not. Returns the units needed including the
// terminator, 0 on failure. Nothing is written beyond `units`; the text in
// `buffer` is complete only when the result does not exceed `units`.
int plat_expand_environment(const EzuWChar* text, EzuWChar* buffer, int units);

// GetDiskFreeSpaceExW: bytes available to the caller and total bytes of the
// volume holding the directory `path` (null: the current drive's root);
// either output may be null; 1 on success, 0 on failure.
int plat_disk_free(const EzuWChar* path, uint64_t* free_to_caller, uint64_t* total);

// The current UTC time in 100-nanosecond units since 1601-01-01
// (GetSystemTime and SystemTimeToFileTime).
uint64_t plat_utc_file_time();

// The number of open handles of this process (GetProcessHandleCount), or -1
// when the system cannot tell; on POSIX the open file descriptors. Used by
// tests that check a long run of opens and closes leaves nothing open.
int plat_open_handle_count();

// The suffix of executable file names: ".exe" on Windows, "" elsewhere.
const char* plat_exe_suffix();

// Replacing a file with care (used by programs that write a new file beside
// the old one and rename it into place).
// plat_wlink_target: when `path` is a symbolic link, the complete path of
// the file it finally leads to, copied out as plat_locale_country does (units
// with the terminator; with `units` 0 the units needed); 0 when `path` is no
// link, when its target does not exist, or when the room is too small.
// Windows: always 0, its links are left to the system.
// plat_wcopy_mode: gives `to` the permission bits of `from` (chmod); 0 on
// success, -1 on failure. Windows keeps no such bits: 0, nothing changed.
// plat_remove_on_interrupt: the file `path` is removed when the process is
// interrupted (SIGINT, SIGTERM or SIGHUP; Ctrl-C, Ctrl-Break or closing the
// console on Windows), which then ends the process as the interruption
// would; `stream`, when given, is the file open for writing (Windows cannot
// remove an open file, so its handle is closed first). One file at a time;
// a null path forgets it. 0 on success, -1 on failure.
int plat_wlink_target(const EzuWChar* path, EzuWChar* buffer, int units);
int plat_wcopy_mode(const EzuWChar* from, const EzuWChar* to);
int plat_remove_on_interrupt(const EzuWChar* path, FILE* stream);

// Console text. plat_console_write_wide writes `units` UTF-16 units to
// standard output (stream 1) or standard error (2) with the console's wide
// call (WriteConsoleW) when that stream is a console: 1 written, 0 not a
// console (nothing written), -1 the write failed. POSIX has no such call: 0.
// plat_console_utf8 tells whether bytes for the console are UTF-8: on POSIX
// when the locale's character set (LC_ALL, then LC_CTYPE, then LANG) is
// UTF-8; on Windows always (what is not a console is a file or a pipe).
int plat_console_write_wide(int stream, const EzuWChar* text, int units);
int plat_console_utf8();

// Modules loaded at run time (LoadLibraryW, GetProcAddress, FreeLibrary;
// dlopen with RTLD_NOW | RTLD_LOCAL, dlsym, dlclose on POSIX, where `path`
// is mapped from the Windows view like every file path). A path without a
// directory part names a file of the current directory, never one of the
// system's search path. plat_module_open gives the module's handle or null;
// plat_module_symbol the address of an exported symbol or null; plat_module_close
// 0 on success, -1 on failure. plat_module_error is the system's reason for
// the calling thread's last failed module call, as UTF-8 ("" when it gave
// none), valid until that thread's next module call.
void* plat_module_open(const EzuWChar* path);
void* plat_module_symbol(void* module, const char* name);
int plat_module_close(void* module);
const char* plat_module_error();

#endif
