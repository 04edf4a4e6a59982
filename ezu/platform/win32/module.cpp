// Modules through LoadLibraryExW. The path is made complete first and loaded
// with the altered search order, so that a module's own dependencies are
// found beside it; the system's error boxes for a damaged module are kept
// away (the caller gets the reason as text instead).
#include "ezu/platform/platform.h"

#include <errno.h>
#include <stdint.h>
#include <string.h>
#include <windows.h>

#include <string>

#include "ezu/platform/win32/path_guard.h"
#include "ezu/platform/win32/utf8_text.h"

namespace {

// The reason for the thread's last failure.
thread_local std::string last_error;

void keep_errno() {
    last_error = strerror(errno);
}

// The system's message for `code`, without its trailing line end and stop.
void keep_system_error(DWORD code) {
    wchar_t* message = nullptr;
    const DWORD units = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text;
    if (units == 0 || !win_utf8_from_wide(message, &text))
        text = "system error " + std::to_string(code);
    if (message)
        LocalFree(message);
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' '))
        text.pop_back();
    last_error = text;
}

bool has_directory_part(const wchar_t* path) {
    return wcschr(path, L'\\') || wcschr(path, L'/') || wcschr(path, L':');
}

} // namespace

void* plat_module_open(const EzuWChar* path) {
    if (!win_path_usable(path)) {
        keep_errno();
        return nullptr;
    }
    // A bare name would be looked for along the system's search path.
    std::wstring named = has_directory_part(path) ? path : std::wstring(L".\\") + path;
    const DWORD units = GetFullPathNameW(named.c_str(), 0, nullptr, nullptr);
    std::wstring full(units, L'\0');
    if (units == 0 || GetFullPathNameW(named.c_str(), units, &full[0], nullptr) >= units) {
        keep_system_error(GetLastError());
        return nullptr;
    }
    full.resize(wcslen(full.c_str()));
    DWORD previous_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_mode);
    HMODULE module = LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD code = GetLastError();
    SetThreadErrorMode(previous_mode, nullptr);
    if (!module)
        keep_system_error(code);
    return reinterpret_cast<void*>(module);
}

void* plat_module_symbol(void* module, const char* name) {
    if (!module || !name) {
        errno = EINVAL;
        keep_errno();
        return nullptr;
    }
    FARPROC address = GetProcAddress(static_cast<HMODULE>(module), name);
    if (!address) {
        keep_system_error(GetLastError());
        return nullptr;
    }
    return reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(address));
}

int plat_module_close(void* module) {
    if (!module) {
        errno = EINVAL;
        keep_errno();
        return -1;
    }
    if (!FreeLibrary(static_cast<HMODULE>(module))) {
        keep_system_error(GetLastError());
        return -1;
    }
    return 0;
}

const char* plat_module_error() {
    return last_error.c_str();
}
