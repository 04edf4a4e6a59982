// Renaming a file: both paths are normalised in place, like every other
// file-system function, and handed to the platform in UTF-16.
#include "ezu/io/path.h"

#include "ezu/core/mem.h"
#include "ezu/platform/platform.h"

int fs_rename(StrBuf* from, StrBuf* to) {
    path_normalize(from);
    path_normalize(to);
    EzuWChar* wide_from = str_to_new_utf16le(from);
    EzuWChar* wide_to = str_to_new_utf16le(to);
    const int rc = wide_from && wide_to ? plat_wrename(wide_from, wide_to) : -1;
    mem_free(wide_from);
    mem_free(wide_to);
    return rc == 0 ? 0 : -1;
}
