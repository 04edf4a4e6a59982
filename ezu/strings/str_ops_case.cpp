// ASCII case conversion and white-space trimming, in place.
#include "ezu/strings/str_ops_internal.h"

#include <string.h>

void str_upper(StrBuf* buf) {
    if (!str_is_null(buf))
        str_ops_upper_text(buf->data);
}

void str_lower(StrBuf* buf) {
    if (!str_is_null(buf))
        str_ops_lower_text(buf->data);
}

void str_trim(StrBuf* buf) {
    if (str_is_null(buf))
        return;
    char* text = buf->data;
    const size_t n = strlen(text);
    size_t begin = 0;
    while (begin < n && str_ops_is_white(text[begin]))
        ++begin;
    size_t end = n;
    while (end > begin && str_ops_is_white(text[end - 1]))
        --end;
    memmove(text, text + begin, end - begin);
    text[end - begin] = 0;
}

void str_simplify(StrBuf* buf) {
    if (str_is_null(buf))
        return;
    char* text = buf->data;
    size_t out = 0;
    bool gap = false; // white space seen since the last kept character
    for (size_t in = 0; text[in]; ++in) {
        if (str_ops_is_white(text[in])) {
            gap = out > 0;
            continue;
        }
        // The blank goes where a white byte was, so `out` never passes `in`.
        if (gap)
            text[out++] = ' ';
        gap = false;
        text[out++] = text[in];
    }
    text[out] = 0;
}
