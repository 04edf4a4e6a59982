// Joining two texts with exactly one separator at the seam.
//
// The separator is matched byte for byte: `buf` "ends with" it when its last
// bytes are the separator's bytes, `other` "starts with" it likewise. When
// both have one, one of them is dropped; when neither has one, one is put in.
#include "ezu/strings/str_ops_internal.h"

#include <string.h>

namespace {

// Guarantees room for `bytes` bytes of text and a terminator; false when the
// block cannot grow that far (the text is then left as it is).
bool make_room(StrBuf* buf, long long bytes) {
    if (bytes + 1 > kStrOpsMaxBlock)
        return false;
    return buf->capacity > bytes || str_resize(buf, int(bytes + 1));
}

// Runs `op` on private copies when `other` or `separator` is `buf` itself,
// whose block the growing would release.
template <typename Op>
void unaliased(StrBuf* buf, const StrBuf* other, const StrBuf* separator, Op op) {
    if (other != buf && separator != buf) {
        op(buf, other, separator);
        return;
    }
    StrBuf* other_copy = other == buf ? str_dup(other) : nullptr;
    StrBuf* sep_copy = separator == buf ? str_dup(separator) : nullptr;
    op(buf, other_copy ? other_copy : other, sep_copy ? sep_copy : separator);
    str_free(other_copy);
    str_free(sep_copy);
}

void append_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator) {
    if (!buf->data) {
        str_copy(other, buf);
        return;
    }
    const char* sep = separator && separator->data ? separator->data : nullptr;
    str_ops_append_range(buf, other->data, strlen(other->data), sep);
}

void prepend_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator) {
    if (!buf->data) {
        str_copy(other, buf);
        return;
    }
    const char* sep = separator && separator->data ? separator->data : "";
    const size_t sep_n = strlen(sep);
    size_t other_n = strlen(other->data);
    const size_t text_n = strlen(buf->data);
    const bool other_has = str_ops_ends_with(other->data, other_n, sep, sep_n);
    const bool text_has = str_ops_starts_with(buf->data, text_n, sep, sep_n);
    size_t insert_n = 0;
    if (other_has && text_has)
        other_n -= sep_n;
    else if (!other_has && !text_has)
        insert_n = sep_n;
    const long long total = (long long)other_n + insert_n + text_n;
    if (!make_room(buf, total))
        return;
    memmove(buf->data + other_n + insert_n, buf->data, text_n + 1);
    memcpy(buf->data, other->data, other_n);
    memcpy(buf->data + other_n, sep, insert_n);
}

} // namespace

void str_ops_append_range(StrBuf* buf, const char* other, size_t other_n, const char* sep) {
    if (!other_n)
        return;
    if (!buf->data) {
        if (make_room(buf, (long long)other_n)) {
            memcpy(buf->data, other, other_n);
            buf->data[other_n] = 0;
        }
        return;
    }
    str_ops_append_range_at(buf, strlen(buf->data), other, other_n, sep);
}

size_t str_ops_append_range_at(StrBuf* buf, size_t text_n, const char* other, size_t other_n,
                               const char* sep) {
    if (!other_n)
        return text_n;
    if (!sep)
        sep = "";
    const size_t sep_n = strlen(sep);
    const bool text_has = str_ops_ends_with(buf->data, text_n, sep, sep_n);
    const bool other_has = str_ops_starts_with(other, other_n, sep, sep_n);
    size_t insert_n = 0;
    if (text_has && other_has) {
        other += sep_n;
        other_n -= sep_n;
    } else if (!text_has && !other_has) {
        insert_n = sep_n;
    }
    if (!make_room(buf, (long long)text_n + insert_n + other_n))
        return text_n;
    char* out = buf->data + text_n;
    memcpy(out, sep, insert_n);
    memcpy(out + insert_n, other, other_n);
    out[insert_n + other_n] = 0;
    return text_n + insert_n + other_n;
}

void str_append_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator) {
    if (str_is_empty(other))
        return;
    unaliased(buf, other, separator, append_sep);
}

void str_prepend_sep(StrBuf* buf, const StrBuf* other, const StrBuf* separator) {
    if (str_is_empty(other))
        return;
    unaliased(buf, other, separator, prepend_sep);
}
