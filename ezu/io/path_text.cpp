// Path text: cutting, joining and completing paths with "\" as the one
// separator. Only path_absolute looks outside the text (the current directory).
#include "ezu/io/path.h"

namespace {

// The two separators as constant records. Their text lives in static arrays,
// not in guarded blocks: they exist for the whole process, are never written
// and never released, and so stay out of the memory manager's counters.
char g_backslash_text[2] = "\\";
char g_dot_text[2] = ".";
const StrBuf g_backslash = {g_backslash_text, 2};
const StrBuf g_dot = {g_dot_text, 2};

// Joining a name to an empty text gives the name: a separator in front
// would turn it into a path from the root of the current drive.
bool copied_into_empty(StrBuf* buf, const StrBuf* other) {
    if (!str_is_empty(buf))
        return false;
    str_copy(other, buf);
    return true;
}

} // namespace

void path_normalize(StrBuf* buf) {
    if (!buf || buf->capacity == 0 || !buf->data)
        return;
    for (char* p = buf->data; *p; ++p) {
        if (*p == '/')
            *p = '\\';
    }
}

StrBuf* path_absolute(const StrBuf* buf) {
    if (str_has_drive(buf))
        return str_dup(buf);
    StrBuf* result = fs_current_dir();
    if (result)
        path_join(result, buf);
    return result;
}

namespace {

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

// "\x" or "/x": a path from the root of the current drive. Two separators
// begin a network path, which names its own root.
bool from_drive_root(const StrBuf* buf) {
    return !str_is_null(buf) && is_separator(buf->data[0]) && !is_separator(buf->data[1]);
}

} // namespace

StrBuf* path_resolve(const StrBuf* buf) {
    if (!from_drive_root(buf))
        return path_absolute(buf);
    StrBuf* result = fs_current_dir();
    if (!result || !str_has_drive(result)) {
        str_free(result);
        return path_absolute(buf);
    }
    str_truncate(result, 2);
    str_append(result, buf);
    return result;
}

void path_join(StrBuf* buf, const StrBuf* other) {
    if (str_is_empty(other) || copied_into_empty(buf, other))
        return;
    str_append_sep(buf, other, &g_backslash);
}

void path_prepend(StrBuf* buf, const StrBuf* other) {
    if (str_is_empty(other) || copied_into_empty(buf, other))
        return;
    str_prepend_sep(buf, other, &g_backslash);
}

StrBuf* path_split_leaf(StrBuf* buf) {
    return str_take_after_last(buf, &g_backslash);
}

StrBuf* path_split_first(StrBuf* buf) {
    // The component keeps its UTF-8 text: path texts hold any character, and
    // a first level read back as 7-bit text would name another directory.
    return str_take_until(buf, &g_backslash);
}

StrBuf* path_leaf(StrBuf* buf) {
    path_normalize(buf);
    StrBuf* rest = str_dup(buf);
    if (!rest)
        return nullptr;
    StrBuf* leaf = path_split_leaf(rest);
    str_free(rest);
    return leaf;
}

StrBuf* path_directory(StrBuf* buf) {
    path_normalize(buf);
    StrBuf* rest = str_dup(buf);
    if (!rest)
        return nullptr;
    str_free(path_split_leaf(rest));
    return rest;
}

StrBuf* path_extension(StrBuf* buf) {
    path_normalize(buf);
    // The same search as the split at the last separator: the dot is looked
    // for in the whole text, and a dot at index 0 does not count.
    const char* dot = str_is_null(buf) ? nullptr : str_find_last(buf->data, g_dot.data);
    return str_from_utf8(dot ? dot + 1 : "");
}
