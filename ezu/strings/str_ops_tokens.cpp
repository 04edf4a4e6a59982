// Cutting tokens off the front or the back of a text.
//
// Separator sets are matched byte by byte; tokens are copies of the bytes as
// they stand. Each function returns the token as a new record (null when
// there is no token) and leaves the rest in `buf`.
#include "ezu/strings/str_ops_internal.h"

#include <string.h>

namespace {

// The token is the whole text; the buffer keeps nothing.
StrBuf* take_all(StrBuf* buf) {
    StrBuf* token = str_ops_new_range(buf->data, strlen(buf->data));
    str_clear(buf);
    return token;
}

void report(char* found_char, char c) {
    if (found_char)
        *found_char = c;
}

} // namespace

StrBuf* str_take_token(StrBuf* buf, const StrBuf* chars, char* found_char) {
    report(found_char, 0);
    if (str_is_empty(buf))
        return nullptr;
    const char* set = str_ops_text(chars);
    char* text = buf->data;
    size_t cut = 0;
    while (text[cut] && !str_ops_in_set(text[cut], set))
        ++cut;
    if (!text[cut])
        return take_all(buf);
    StrBuf* token = str_ops_new_range(text, cut);
    report(found_char, text[cut]);
    size_t rest = cut;
    while (str_ops_in_set(text[rest], set))
        ++rest;
    memmove(text, text + rest, strlen(text + rest) + 1);
    return token;
}

StrBuf* str_take_until(StrBuf* buf, const StrBuf* separator) {
    if (str_is_null(buf))
        return nullptr;
    char* text = buf->data;
    const char* hit = str_is_empty(separator) ? nullptr : strstr(text, separator->data);
    if (!hit)
        return take_all(buf);
    StrBuf* token = str_ops_new_range(text, size_t(hit - text));
    const char* rest = hit + strlen(separator->data);
    memmove(text, rest, strlen(rest) + 1);
    return token;
}

StrBuf* str_take_last_token(StrBuf* buf, const StrBuf* chars, char* found_char) {
    report(found_char, 0);
    if (str_is_empty(buf))
        return nullptr;
    const char* set = str_ops_text(chars);
    char* text = buf->data;
    size_t at = strlen(text);
    while (at > 0 && !str_ops_in_set(text[at - 1], set))
        --at;
    if (at == 0)
        return str_ops_new_range(text, strlen(text));
    StrBuf* token = str_ops_new_range(text + at, strlen(text + at));
    report(found_char, text[at - 1]);
    // Cut at the separator and at every separator byte right before it.
    size_t cut = at - 1;
    while (cut > 0 && str_ops_in_set(text[cut - 1], set))
        --cut;
    text[cut] = 0;
    return token;
}

const char* str_find_last(const char* text, const char* separator) {
    if (!text || !separator || !*separator)
        return nullptr;
    const size_t n = strlen(text);
    const size_t sep_n = strlen(separator);
    for (size_t i = n >= sep_n ? n - sep_n : 0; i >= 1; --i) {
        if (memcmp(text + i, separator, sep_n) == 0)
            return text + i;
    }
    return nullptr;
}

StrBuf* str_take_after_last(StrBuf* buf, const StrBuf* separator) {
    if (str_is_null(buf))
        return nullptr;
    char* text = buf->data;
    const char* hit = str_find_last(text, str_is_null(separator) ? nullptr : separator->data);
    if (!hit)
        return take_all(buf);
    const char* after = hit + strlen(separator->data);
    StrBuf* token = str_ops_new_range(after, strlen(after));
    const size_t at = size_t(hit - text);
    memset(text + at, 0, size_t(buf->capacity) - at);
    return token;
}
