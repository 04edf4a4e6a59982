// Replacing a byte string and translating runs of separator characters.
#include "ezu/strings/str_ops_internal.h"

#include "ezu/core/mem.h"

#include <string.h>

void str_replace(StrBuf* buf, const StrBuf* what, const StrBuf* with) {
    if (str_is_null(buf) || str_is_empty(what))
        return;
    const char* text = buf->data;
    const char* old = what->data;
    const char* rep = str_ops_text(with);
    const size_t old_n = strlen(old);
    const size_t rep_n = strlen(rep);

    long long count = 0;
    for (const char* hit = strstr(text, old); hit; hit = strstr(hit + old_n, old))
        ++count;
    if (!count)
        return;
    const long long size =
        (long long)strlen(text) + count * ((long long)rep_n - (long long)old_n) + 1;
    // A result no block can hold leaves the text as it is.
    if (size > kStrOpsMaxBlock)
        return;
    char* block = static_cast<char*>(mem_alloc(int(size)));
    if (!block)
        return;

    // Searching goes on behind each occurrence in the original text, so
    // occurrences never overlap and replacement text is never searched.
    char* out = block;
    const char* rest = text;
    for (const char* hit = strstr(rest, old); hit; hit = strstr(rest, old)) {
        memcpy(out, rest, size_t(hit - rest));
        out += hit - rest;
        memcpy(out, rep, rep_n);
        out += rep_n;
        rest = hit + old_n;
    }
    strcpy(out, rest);
    // `what` or `with` may be this very buffer: release its block only now.
    mem_free(buf->data);
    buf->data = block;
    buf->capacity = int(size);
}

StrBuf* str_translate(const StrBuf* buf, const StrBuf* chars, const StrBuf* with) {
    if (!buf)
        return nullptr;
    StrBuf* result = str_new();
    if (!result)
        return nullptr;
    // The tokens str_take_token would cut, one after the other: the runs of
    // bytes outside `chars`. Empty tokens add nothing to the join.
    const char* set = str_ops_text(chars);
    const char* sep = str_is_null(with) ? nullptr : with->data;
    const char* p = str_ops_text(buf);
    while (*p) {
        const char* token = p;
        while (*p && !str_ops_in_set(*p, set))
            ++p;
        str_ops_append_range(result, token, size_t(p - token), sep);
        while (str_ops_in_set(*p, set))
            ++p;
    }
    // Text of nothing but separators joins to empty text, not to the null
    // state; a null-state text stays null.
    if (!result->data && buf->data)
        str_assign_utf8(result, "");
    return result;
}
