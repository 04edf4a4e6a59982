// Prints this program's own command-line elements as the platform layer
// splits them, one per line in UTF-8: "count=N", then "[i]=text".
#include <stdint.h>
#include <stdio.h>

#include <string>

#include "ezu/platform/platform.h"

namespace {

std::string to_utf8(const EzuWChar* text) {
    std::string out;
    for (const EzuWChar* p = text; *p; ++p) {
        uint32_t code = uint32_t(*p);
        if (code >= 0xD800 && code <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (uint32_t(p[1]) - 0xDC00);
            ++p;
        }
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }
    return out;
}

} // namespace

int main() {
    int count = 0;
    EzuWChar** args = plat_command_line_args(&count);
    if (!args) {
        printf("count=failed\n");
        return 1;
    }
    printf("count=%d\n", count);
    for (int i = 0; i < count; ++i)
        printf("[%d]=%s\n", i, to_utf8(args[i]).c_str());
    plat_free_args(args);
    return 0;
}
