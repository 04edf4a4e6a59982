// Binary mode for a standard stream, so that converted bytes pass unchanged
// (no CR inserted before LF, no end at a Ctrl-Z byte).
#include "ezu/platform/platform.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

void plat_set_binary_mode(FILE* stream) {
    if (stream)
        _setmode(_fileno(stream), _O_BINARY);
}
