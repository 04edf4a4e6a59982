// Helpers shared by the text operations: character stepping, new records,
// ASCII case, strict UTF-8 and the marker search.
#include "ezu/strings/str_ops_internal.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"

#include <string.h>

bool str_ops_in_set(char c, const char* set) {
    return c && set && strchr(set, c);
}

int str_ops_char_bytes(const char* p) {
    if (!*p)
        return 0;
    const int n = str_utf8_seq_len(static_cast<unsigned char>(*p));
    int j = 1;
    while (j < n && p[j])
        ++j;
    return j;
}

int str_ops_count_chars(const char* text) {
    int count = 0;
    for (const char* p = text; *p; ++count)
        p += static_cast<unsigned char>(*p) < 0x80 ? 1 : str_ops_char_bytes(p);
    return count;
}

StrBuf* str_ops_new_sized(long long size) {
    if (size < 1 || size > kStrOpsMaxBlock)
        return nullptr;
    char* block = static_cast<char*>(mem_alloc(int(size)));
    if (!block)
        return nullptr;
    StrBuf* buf = str_new();
    if (!buf) {
        mem_free(block);
        return nullptr;
    }
    buf->data = block;
    buf->capacity = int(size);
    return buf;
}

StrBuf* str_ops_new_range(const char* text, size_t n) {
    StrBuf* buf = str_ops_new_sized((long long)n + 1);
    if (buf && n)
        memcpy(buf->data, text, n);
    return buf;
}

void str_ops_upper_text(char* text) {
    for (char* p = text; p && *p; p += str_ops_char_bytes(p)) {
        if (*p >= 'a' && *p <= 'z')
            *p = char(*p - 32);
    }
}

void str_ops_lower_text(char* text) {
    for (char* p = text; p && *p; p += str_ops_char_bytes(p)) {
        if (*p >= 'A' && *p <= 'Z')
            *p = char(*p + 32);
    }
}

bool str_ops_code_valid(uint32_t code) {
    return code >= 1 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

int str_ops_utf8_decode(const char* p, uint32_t* code) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(p);
    int n;
    uint32_t v;
    if (s[0] < 0x80) {
        *code = s[0];
        return s[0] ? 1 : 0;
    } else if ((s[0] & 0xE0) == 0xC0) {
        n = 2;
        v = s[0] & 0x1F;
    } else if ((s[0] & 0xF0) == 0xE0) {
        n = 3;
        v = s[0] & 0x0F;
    } else if ((s[0] & 0xF8) == 0xF0) {
        n = 4;
        v = s[0] & 0x07;
    } else {
        return 0;
    }
    // A continuation byte is never 0, so this stops at the terminator.
    for (int i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        v = (v << 6) | (s[i] & 0x3F);
    }
    static const uint32_t kShortest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kShortest[n] || !str_ops_code_valid(v))
        return 0;
    *code = v;
    return n;
}

int str_ops_utf8_encode(uint32_t code, char* out) {
    if (code < 0x80) {
        out[0] = char(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = char(0xC0 | (code >> 6));
        out[1] = char(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = char(0xE0 | (code >> 12));
        out[1] = char(0x80 | ((code >> 6) & 0x3F));
        out[2] = char(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (code >> 18));
    out[1] = char(0x80 | ((code >> 12) & 0x3F));
    out[2] = char(0x80 | ((code >> 6) & 0x3F));
    out[3] = char(0x80 | (code & 0x3F));
    return 4;
}

namespace {

// The last occurrence of `open` that starts in [start, end), or null. The
// search stays within the range (an occurrence may run on behind `end`), so
// a text with many closing delimiters is still searched in linear time.
const char* last_start_before(const char* start, const char* end, const char* open) {
    const size_t open_len = strlen(open);
    const char* found = nullptr;
    for (const char* o = start; o < end; ++o) {
        o = static_cast<const char*>(memchr(o, open[0], size_t(end - o)));
        if (!o)
            break;
        if (strncmp(o, open, open_len) == 0)
            found = o;
    }
    return found;
}

} // namespace

long long str_ops_marker_search(const char* text, size_t from, const char* open, const char* close,
                                size_t* length) {
    // An empty close would be found again at the same place for ever.
    if (!text || !open || !close || !*open || !*close)
        return -1;
    const size_t close_len = strlen(close);
    for (const char* start = text + from;;) {
        const char* end = strstr(start, close);
        if (!end)
            return -1;
        const char* marker = last_start_before(start, end, open);
        if (marker) {
            if (length)
                *length = size_t(end - marker) + close_len;
            return marker - text;
        }
        start = end + close_len;
    }
}
