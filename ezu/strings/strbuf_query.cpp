// StrBuf queries: state, length, stepping, comparison and hash value.
#include "ezu/strings/strbuf.h"

#include "ezu/core/encoding.h"

#include <stdint.h>
#include <string.h>

namespace {

// Bytes of the character at `p`, never stepping over the terminator.
int multibyte_char_bytes(const char* p) {
    const int n = str_utf8_seq_len(static_cast<unsigned char>(*p));
    int j = 1;
    while (j < n && p[j])
        ++j;
    return j;
}

// 7-bit bytes are whole characters; only other lead bytes need the table.
inline int char_bytes(const char* p) {
    return static_cast<unsigned char>(*p) < 0x80 ? 1 : multibyte_char_bytes(p);
}

int sign_of(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

} // namespace

bool str_is_null(const StrBuf* buf) {
    return !buf || !buf->data;
}

bool str_is_empty(const StrBuf* buf) {
    return str_is_null(buf) || !buf->data[0];
}

int str_length(const StrBuf* buf) {
    if (str_is_null(buf))
        return 0;
    int count = 0;
    for (const char* p = buf->data; *p; p += char_bytes(p))
        ++count;
    return count;
}

char* str_advance(const StrBuf* buf, int n) {
    if (str_is_null(buf) || n < 0)
        return nullptr;
    char* p = buf->data;
    for (int i = 0; i < n; ++i) {
        if (!*p)
            return nullptr;
        p += char_bytes(p);
    }
    return p;
}

int str_char_at(const StrBuf* buf, int i) {
    const char* p = str_advance(buf, i);
    return p && *p ? int(static_cast<signed char>(*p)) : 0;
}

int str_compare_text(const StrBuf* buf, const char* text) {
    const char* a = str_is_null(buf) ? nullptr : buf->data;
    if (!a || !text)
        return a ? 1 : (text ? -1 : 0);
    return sign_of(strcmp(a, text));
}

int str_compare(const StrBuf* a, const StrBuf* b) {
    return str_compare_text(a, str_is_null(b) ? nullptr : b->data);
}

int str_hash(const StrBuf* buf) {
    if (str_is_null(buf))
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(buf->data);
    const size_t len = strlen(buf->data);
    if (len > 4)
        return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                       uint32_t(p[3]) << 24);
    uint32_t v = 0;
    for (size_t i = 0; i < len; ++i)
        v = (v << 8) | uint32_t(int32_t(static_cast<signed char>(p[i])));
    return int32_t(v);
}
