// The Windows view of the host file system: drive C: is the root "/", "\"
// separates like "/", every other drive is missing, and names holding
// characters Windows forbids do not exist. Private to the posix platform.
#ifndef EZU_PLATFORM_POSIX_HOST_PATH_H
#define EZU_PLATFORM_POSIX_HOST_PATH_H

#include <string>

#include "ezu/platform/posix/host_text.h"

// Maps a Windows-view path to the host path. Fails with errno set for a null
// or empty path, a drive other than C:, a network or device path ("\\..."),
// a forbidden character or an unpaired surrogate.
bool posix_host_path(const EzuWChar* path, std::string* host);

// True for a bare drive letter with its colon, such as "C:".
bool posix_is_bare_drive(const EzuWChar* path);

// The Windows view of an absolute host path: "C:" followed by the path with
// "\" for "/" ("/" itself is "C:\"). Fails for a relative path or one that
// is not UTF-8.
bool posix_windows_view(const char* host, PosixWide* view);

#endif
