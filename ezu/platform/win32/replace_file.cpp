// Replacing a file with care. Links are the system's business and there are
// no permission bits to copy; a half-written file is removed on Ctrl-C,
// Ctrl-Break or when the console closes.
#include "ezu/platform/platform.h"

#include <io.h>
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

int plat_wlink_target(const EzuWChar*, EzuWChar*, int) {
    return 0;
}

int plat_wcopy_mode(const EzuWChar*, const EzuWChar*) {
    return 0;
}

namespace {

wchar_t interrupt_path[MAX_PATH + 1];
HANDLE interrupt_handle = INVALID_HANDLE_VALUE;

// Runs on a thread of its own while the program goes on. The file's handle
// is closed under its stream (a later write there just fails), since an
// open file cannot be removed; returning FALSE lets the default handler end
// the process.
BOOL WINAPI remove_on_control(DWORD) {
    if (interrupt_path[0] != 0) {
        if (interrupt_handle != INVALID_HANDLE_VALUE)
            CloseHandle(interrupt_handle);
        DeleteFileW(interrupt_path);
    }
    return FALSE;
}

} // namespace

int plat_remove_on_interrupt(const EzuWChar* path, FILE* stream) {
    static bool installed = false;
    if (path && wcslen(path) > MAX_PATH)
        return -1;
    interrupt_path[0] = 0;
    interrupt_handle = INVALID_HANDLE_VALUE;
    if (!path)
        return 0;
    if (stream)
        interrupt_handle = HANDLE(_get_osfhandle(_fileno(stream)));
    if (!installed && !SetConsoleCtrlHandler(remove_on_control, TRUE))
        return -1;
    installed = true;
    wcscpy(interrupt_path, path);
    return 0;
}
