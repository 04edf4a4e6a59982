// Helpers for replacing a file with care: following a link to the file it
// leads to, carrying permission bits over, and cleaning up a half-written
// file when the process is interrupted. Each hands its paths to the platform
// in UTF-16 after normalising them.
#include "ezu/io/path.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/platform/platform.h"

StrBuf* fs_link_target(StrBuf* buf) {
    path_normalize(buf);
    EzuWChar* wide = str_to_new_utf16le(buf);
    const int units = wide ? plat_wlink_target(wide, nullptr, 0) : 0;
    EzuWChar* target =
        units > 0 ? static_cast<EzuWChar*>(mem_alloc(units * int(sizeof(EzuWChar)))) : nullptr;
    StrBuf* result = nullptr;
    // The link may change between the two calls: only a full answer counts.
    if (target && plat_wlink_target(wide, target, units) == units)
        result = str_from_bytes(target, (units - 1) * int(sizeof(EzuWChar)), str_native_utf16());
    mem_free(target);
    mem_free(wide);
    return result;
}

int fs_copy_mode(StrBuf* from, StrBuf* to) {
    path_normalize(from);
    path_normalize(to);
    // Windows changes nothing and succeeds; a missing path fails everywhere.
    if (str_length(from) == 0 || str_length(to) == 0)
        return -1;
    EzuWChar* wide_from = str_to_new_utf16le(from);
    EzuWChar* wide_to = str_to_new_utf16le(to);
    const int rc = wide_from && wide_to ? plat_wcopy_mode(wide_from, wide_to) : -1;
    mem_free(wide_from);
    mem_free(wide_to);
    return rc == 0 ? 0 : -1;
}

int fs_set_read_only(StrBuf* buf, int read_only) {
    path_normalize(buf);
    EzuWChar* wide = str_to_new_utf16le(buf);
    const int rc = wide ? plat_set_read_only(wide, read_only ? 1 : 0) : -1;
    mem_free(wide);
    return rc == 0 ? 0 : -1;
}

int fs_remove_on_interrupt(StrBuf* buf, FILE* stream) {
    if (!buf) {
        plat_remove_on_interrupt(nullptr, nullptr);
        return 0;
    }
    path_normalize(buf);
    EzuWChar* wide = str_to_new_utf16le(buf);
    const bool converted = wide != nullptr;
    // A path that cannot be converted forgets the previous file too, so
    // that no stale name is removed later.
    const int rc = plat_remove_on_interrupt(wide, converted ? stream : nullptr);
    mem_free(wide);
    return rc == 0 && converted ? 0 : -1;
}

void fs_set_binary_mode(FILE* stream) {
    plat_set_binary_mode(stream);
}
