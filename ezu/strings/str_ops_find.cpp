// Search, substrings and related queries.
//
// Positions given to these functions count characters; str_find reports a
// byte offset and str_mid's count is a byte count. For 7-bit text the two
// agree. With multi-byte text str_mid ends its copy at the last whole
// character that fits in the byte count, so a copy never ends inside a
// character.
#include "ezu/strings/str_ops_internal.h"

#include "ezu/core/mem.h"

#include <string.h>

namespace {

// A guarded copy of a zero-terminated text with its ASCII letters upper-cased.
char* upper_copy(const char* text) {
    const size_t n = strlen(text);
    if ((long long)n + 1 > kStrOpsMaxBlock)
        return nullptr;
    char* copy = static_cast<char*>(mem_alloc(int(n + 1)));
    if (copy) {
        memcpy(copy, text, n + 1);
        str_ops_upper_text(copy);
    }
    return copy;
}

// Case-insensitive search of `needle` in `start`: both are upper-cased, which
// keeps every byte offset.
int find_folded(const char* start, const char* needle) {
    char* hay = upper_copy(start);
    char* pin = upper_copy(needle);
    int result = -1;
    if (hay && pin) {
        const char* hit = strstr(hay, pin);
        result = hit ? int(hit - hay) : -1;
    }
    mem_free(hay);
    mem_free(pin);
    return result;
}

} // namespace

int str_find(const StrBuf* buf, const char* needle, int from, bool case_sensitive) {
    if (!needle)
        return -1;
    // A negative `from` counts as beyond the end, as for str_advance.
    const char* start = str_advance(buf, from);
    if (!start)
        return -1;
    const int base = int(start - buf->data);
    if (case_sensitive) {
        const char* hit = strstr(start, needle);
        return hit ? int(hit - buf->data) : -1;
    }
    const int hit = find_folded(start, needle);
    return hit < 0 ? -1 : base + hit;
}

StrBuf* str_left(const StrBuf* buf, int n) {
    const char* text = str_ops_text(buf);
    const char* end = n < 0 ? nullptr : str_advance(buf, n);
    return str_ops_new_range(text, end ? size_t(end - text) : strlen(text));
}

StrBuf* str_mid(const StrBuf* buf, int start, int nbytes) {
    // A negative `start` counts as beyond the end, as for str_advance.
    const char* from = str_advance(buf, start);
    if (!from)
        return str_ops_new_range("", 0);
    if (nbytes < 0)
        return str_ops_new_range(from, strlen(from));
    size_t taken = 0;
    for (int step; (step = str_ops_char_bytes(from + taken)) > 0; taken += size_t(step)) {
        if (taken + size_t(step) > size_t(nbytes))
            break;
    }
    return str_ops_new_range(from, taken);
}

StrBuf* str_right(const StrBuf* buf, int n) {
    const int length = str_length(buf);
    if (n <= 0)
        return str_ops_new_range("", 0);
    const char* text = str_ops_text(buf);
    const char* from = n >= length ? text : str_advance(buf, length - n);
    return str_ops_new_range(from, strlen(from));
}

char* str_truncate(StrBuf* buf, int n) {
    char* cut = str_advance(buf, n);
    if (cut)
        *cut = 0;
    return cut;
}

StrBuf* str_repeat_to(const StrBuf* buf, int n) {
    const int chars = str_length(buf);
    // Empty text repeated stays empty; it would never reach `n` characters.
    if (n <= 0 || chars == 0)
        return str_ops_new_range("", 0);
    const char* text = buf->data;
    const size_t bytes = strlen(text);
    const size_t tail = size_t(str_advance(buf, n % chars) - text);
    const long long copies = n / chars;
    StrBuf* result = str_ops_new_sized(copies * (long long)bytes + (long long)tail + 1);
    if (!result)
        return nullptr;
    char* out = result->data;
    for (long long i = 0; i < copies; ++i, out += bytes)
        memcpy(out, text, bytes);
    memcpy(out, text, tail);
    return result;
}

bool str_has_drive(const StrBuf* buf) {
    return str_length(buf) > 2 && str_char_at(buf, 1) == ':';
}
