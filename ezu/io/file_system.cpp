// File-system functions: each converts its path to UTF-16 and asks the
// platform's wide-character call, so path texts may hold any character.
#include "ezu/io/path.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/platform/platform.h"

#include <limits.h>

namespace {

// The current directory is read into a block of this many UTF-16 units.
const int kCwdUnits = 256;
const int kCwdBlockBytes = 514;

// Converts the path to UTF-16, runs `call` on it and releases the
// conversion; `failed` is the result when the path cannot be converted.
template <typename Call> int with_wide(const StrBuf* buf, int failed, Call call) {
    EzuWChar* wide = str_to_new_utf16le(buf);
    if (!wide)
        return failed;
    const int result = call(wide);
    mem_free(wide);
    return result;
}

// The run-time's 0 for success and -1 for failure, whatever else it gave.
int zero_or_minus_one(int rc) {
    return rc == 0 ? 0 : -1;
}

int access_ok(const StrBuf* buf, int mode) {
    return with_wide(buf, 0, [mode](const EzuWChar* w) { return plat_waccess(w, mode) == 0; });
}

} // namespace

StrBuf* fs_current_dir() {
    EzuWChar* block = static_cast<EzuWChar*>(mem_alloc(kCwdBlockBytes));
    if (!block)
        return nullptr;
    // On failure the block stays zero and the result is the empty text.
    plat_wgetcwd(block, kCwdUnits);
    int units = 0;
    while (units < kCwdUnits && block[units])
        ++units;
    StrBuf* result = str_from_bytes(block, units * 2, ENC_UTF16LE);
    mem_free(block);
    return result;
}

int fs_change_dir(StrBuf* buf) {
    path_normalize(buf);
    EzuWChar* wide = str_to_platform_wide(str_is_null(buf) ? "" : buf->data);
    if (!wide)
        return 0;
    const int rc = plat_wchdir(wide);
    mem_free(wide);
    return rc == 0;
}

int fs_stat(StrBuf* buf, FsStat* info) {
    path_normalize(buf);
    return with_wide(buf, 0, [info](const EzuWChar* w) {
        PlatStat facts;
        if (!info || plat_wstat(w, &facts) != 0)
            return 0;
        info->mode = facts.mode;
        info->size = facts.size;
        return 1;
    });
}

int fs_exists(StrBuf* buf) {
    FsStat info;
    return fs_stat(buf, &info);
}

int fs_is_file(StrBuf* buf) {
    FsStat info;
    return fs_stat(buf, &info) && (info.mode & FS_MODE_FILE) != 0;
}

int fs_is_dir(StrBuf* buf) {
    FsStat info;
    return fs_stat(buf, &info) && (info.mode & FS_MODE_DIR) != 0;
}

int fs_size(StrBuf* buf) {
    FsStat info;
    if (!fs_stat(buf, &info))
        return 0;
    // A size beyond the signed 32-bit range is held at its largest value
    // rather than wrapped into a small or negative number.
    return info.size > INT_MAX ? INT_MAX : int(info.size);
}

int fs_is_writable(const StrBuf* buf) {
    return access_ok(buf, PLAT_ACCESS_WRITE);
}

int fs_is_readable(const StrBuf* buf) {
    return access_ok(buf, PLAT_ACCESS_READ);
}

int fs_make_dir(StrBuf* buf) {
    path_normalize(buf);
    return with_wide(buf, -1, [](const EzuWChar* w) { return zero_or_minus_one(plat_wmkdir(w)); });
}

int fs_remove_dir(StrBuf* buf) {
    path_normalize(buf);
    return with_wide(buf, -1, [](const EzuWChar* w) { return zero_or_minus_one(plat_wrmdir(w)); });
}

int fs_remove_file(StrBuf* buf) {
    path_normalize(buf);
    return with_wide(buf, -1, [](const EzuWChar* w) { return zero_or_minus_one(plat_wremove(w)); });
}

FILE* fs_open(StrBuf* buf, const char* mode) {
    path_normalize(buf);
    if (str_length(buf) == 0 || !mode)
        return nullptr;
    EzuWChar* wide_path = str_to_new_utf16le(buf);
    StrBuf* mode_text = str_from_ascii(mode);
    EzuWChar* wide_mode = str_to_new_utf16le(mode_text);
    FILE* file = wide_path && wide_mode ? plat_wfopen(wide_path, wide_mode) : nullptr;
    mem_free(wide_mode);
    str_free(mode_text);
    mem_free(wide_path);
    return file;
}
