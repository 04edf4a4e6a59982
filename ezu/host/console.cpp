#include "ezu/host/console.h"

#include <stdio.h>
#include <string.h>

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/host/command.h"
#include "ezu/platform/platform.h"

namespace {

// The text's characters as zero-terminated UTF-16 in machine order, for the
// wide console call; null when it cannot be converted.
EzuWChar* wideText(const TStr& text, int* units) {
    const char* utf8 = text.buffer() ? text.buffer()->data : nullptr;
    EzuWChar* wide = str_to_platform_wide(utf8 ? utf8 : "");
    *units = 0;
    if (wide)
        while (wide[*units] != 0)
            ++*units;
    return wide;
}

} // namespace

bool ezuPrintText(TStr text, int stream) {
    if (stream != ezuStandardError && ezuQuiet)
        return true;
    FILE* out = stream == ezuStandardError ? stderr : stdout;
    int units = 0;
    EzuWChar* wide = wideText(text, &units);
    const int console = wide ? plat_console_write_wide(stream, wide, units) : 0;
    mem_free(wide);
    if (console != 0)
        return console > 0;
    const char* bytes = nullptr;
    if (plat_console_utf8())
        bytes = text.buffer() ? text.buffer()->data : "";
    else
        bytes = text.ascii();
    if (!bytes)
        bytes = "";
    // Flushed at once, like ezuPrint, so that messages keep their place.
    fwrite(bytes, 1, strlen(bytes), out);
    return fflush(out) == 0 && !ferror(out);
}
