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

namespace {

// The text of a translation while it is built: a block that grows by
// doubling, so that many tokens cost linear time. `started` tells whether a
// token has been appended yet (the result has a text block from then on).
struct Joined {
    char* data = nullptr;
    size_t n = 0;
    size_t room = 0;
    bool started = false;
};

bool joined_room(Joined& j, size_t bytes) {
    if (bytes + 1 <= j.room)
        return true;
    size_t room = j.room * 2 > bytes + 1 ? j.room * 2 : bytes + 1;
    if (room > size_t(kStrOpsMaxBlock))
        room = bytes + 1;
    char* block = static_cast<char*>(mem_alloc(int(room)));
    if (!block)
        return false;
    if (j.n)
        memcpy(block, j.data, j.n);
    mem_free(j.data);
    j.data = block;
    j.room = room;
    return true;
}

// Appends a token with exactly one separator at the seam, as joining with a
// separator does: a token that does not fit within the largest block is left
// out, and the text stays as it was.
void joined_append(Joined& j, const char* token, size_t token_n, const char* sep) {
    if (!token_n)
        return;
    size_t insert_n = 0;
    if (j.started) {
        const size_t sep_n = strlen(sep);
        const bool text_has = str_ops_ends_with(j.data, j.n, sep, sep_n);
        const bool token_has = str_ops_starts_with(token, token_n, sep, sep_n);
        if (text_has && token_has) {
            token += sep_n;
            token_n -= sep_n;
        } else if (!text_has && !token_has) {
            insert_n = sep_n;
        }
    }
    const long long total = (long long)j.n + insert_n + token_n;
    if (total + 1 > kStrOpsMaxBlock || !joined_room(j, size_t(total)))
        return;
    memcpy(j.data + j.n, sep, insert_n);
    memcpy(j.data + j.n + insert_n, token, token_n);
    j.n = size_t(total);
    j.started = true;
}

} // namespace

StrBuf* str_translate(const StrBuf* buf, const StrBuf* chars, const StrBuf* with) {
    if (!buf)
        return nullptr;
    StrBuf* result = str_new();
    if (!result)
        return nullptr;
    // The tokens str_take_token would cut, one after the other: the runs of
    // bytes outside `chars`. Empty tokens add nothing to the join.
    const char* set = str_ops_text(chars);
    const char* sep = str_is_null(with) ? "" : with->data;
    const char* p = str_ops_text(buf);
    Joined joined;
    while (*p) {
        const char* token = p;
        while (*p && !str_ops_in_set(*p, set))
            ++p;
        joined_append(joined, token, size_t(p - token), sep);
        while (str_ops_in_set(*p, set))
            ++p;
    }
    // The result gets a block of exactly its size, as appending token after
    // token leaves it. Text of nothing but separators joins to empty text,
    // not to the null state; a null-state text stays null.
    if (joined.started && str_resize(result, int(joined.n + 1)))
        memcpy(result->data, joined.data, joined.n);
    else if (buf->data)
        str_assign_utf8(result, "");
    mem_free(joined.data);
    return result;
}
