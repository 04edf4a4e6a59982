// UTF-8 text as a machine-order UTF-16 block made by the platform's converter.
#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/platform/platform.h"

#include <limits.h>
#include <string.h>

EzuWChar* str_to_platform_wide(const char* utf8) {
    if (!utf8)
        return nullptr;
    const size_t bytes = strlen(utf8);
    if (bytes > size_t(INT_MAX))
        return nullptr;
    const int size = str_convert_size(utf8, int(bytes), ENC_UTF8, ENC_UTF16);
    // A size of 0 means the encoding core rejected the text; giving the
    // platform a room of 0 units would also turn its call into a size query.
    if (size < int(sizeof(EzuWChar)))
        return nullptr;
    EzuWChar* block = static_cast<EzuWChar*>(mem_alloc(size));
    if (!block)
        return nullptr;
    if (plat_utf8_to_wide(utf8, -1, block, size / int(sizeof(EzuWChar))) == 0) {
        mem_free(block);
        return nullptr;
    }
    return block;
}
