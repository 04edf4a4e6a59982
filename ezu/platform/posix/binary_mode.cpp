// Streams on POSIX make no difference between text and binary mode.
#include "ezu/platform/platform.h"

void plat_set_binary_mode(FILE* stream) {
    (void)stream;
}
