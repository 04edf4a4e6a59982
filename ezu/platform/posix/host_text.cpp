#include "ezu/platform/posix/host_text.h"

#include <errno.h>
#include <stdint.h>
#include <string.h>

namespace {

const uint32_t kReplacement = 0xFFFD;

void append_utf8(uint32_t code, std::string* out) {
    if (code < 0x80) {
        out->push_back(char(code));
    } else if (code < 0x800) {
        out->push_back(char(0xC0 | (code >> 6)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->push_back(char(0xE0 | (code >> 12)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (code >> 18)));
        out->push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(char(0x80 | (code & 0x3F)));
    }
}

void append_utf16(uint32_t code, PosixWide* out) {
    if (code < 0x10000) {
        out->push_back(EzuWChar(code));
    } else {
        code -= 0x10000;
        out->push_back(EzuWChar(0xD800 | (code >> 10)));
        out->push_back(EzuWChar(0xDC00 | (code & 0x3FF)));
    }
}

// Decodes one well-formed UTF-8 sequence (no overlong forms, no surrogates,
// nothing above U+10FFFF); returns its length, or 0 when malformed.
size_t decode_utf8(const unsigned char* s, size_t avail, uint32_t* code) {
    const unsigned char lead = s[0];
    size_t length;
    uint32_t value, minimum;
    if (lead < 0x80) {
        *code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (length > avail)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (s[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *code = value;
    return length;
}

} // namespace

bool posix_wide_to_utf8(const EzuWChar* text, std::string* out) {
    out->clear();
    for (const EzuWChar* p = text; *p; ++p) {
        uint32_t code = *p;
        if (code >= 0xD800 && code <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            errno = EINVAL;
            return false;
        }
        append_utf8(code, out);
    }
    return true;
}

bool posix_utf8_to_wide(const char* text, size_t length, bool strict, PosixWide* out) {
    out->clear();
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t at = 0;
    while (at < length) {
        uint32_t code;
        size_t used = decode_utf8(s + at, length - at, &code);
        if (used == 0) {
            if (strict) {
                errno = EILSEQ;
                return false;
            }
            code = kReplacement;
            used = 1;
        }
        append_utf16(code, out);
        at += used;
    }
    return true;
}

int posix_copy_wide_out(const PosixWide& text, EzuWChar* buffer, int units) {
    const size_t needed = text.size() + 1;
    if (units == 0)
        return int(needed);
    if (units < 0 || !buffer || size_t(units) < needed) {
        errno = ERANGE;
        return 0;
    }
    memcpy(buffer, text.c_str(), needed * sizeof(EzuWChar));
    return int(needed);
}
