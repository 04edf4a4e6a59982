// The path-text functions: normalising, joining, splitting, completing.
//
// Input: a selector for null-state arguments, then two path texts. The
// results for well-formed UTF-8 are checked against a plain reading of the
// rules with "\" as the one separator; any other bytes must merely be
// handled safely. Properties include that a split path puts back together:
// the part before, the separator and the leaf give the path again.
#include "fuzz_support.h"

#include "ezu/io/path.h"
#include "ezu/strings/strbuf.h"

namespace {

// A path argument: the null state or the bytes as they stand.
struct Path {
    bool null;
    std::string text;
};

StrBuf* make(const Path& p) {
    return p.null ? str_new() : fuzz_raw_buf(p.text);
}

std::string normalized(std::string text) {
    for (char& c : text) {
        if (c == '/')
            c = '\\';
    }
    return text;
}

bool starts_with_sep(const std::string& s) {
    return !s.empty() && s.front() == '\\';
}

bool ends_with_sep(const std::string& s) {
    return !s.empty() && s.back() == '\\';
}

// `first` followed by `second` with exactly one "\" at the seam, as
// path_join and path_prepend put two non-empty texts together.
std::string seam(const std::string& first, const std::string& second) {
    if (ends_with_sep(first) && starts_with_sep(second))
        return first + second.substr(1);
    if (ends_with_sep(first) || starts_with_sep(second))
        return first + second;
    return first + "\\" + second;
}

// The last position of `sep` after the first byte, or npos.
size_t last_after_first(const std::string& text, char sep) {
    const size_t at = text.rfind(sep);
    return at == 0 ? std::string::npos : at;
}

void check_join(const Path& a, const Path& b, bool prepend) {
    StrBuf* buf = make(a);
    StrBuf* other = make(b);
    prepend ? path_prepend(buf, other) : path_join(buf, other);
    std::string expected;
    if (b.null || b.text.empty())
        expected = a.text;
    else if (a.text.empty()) // a name joined to nothing is the name, not one from the root
        expected = b.text;
    else
        expected = prepend ? seam(b.text, a.text) : seam(a.text, b.text);
    FUZZ_CHECK(fuzz_bytes(buf) == expected);
    FUZZ_CHECK(fuzz_bytes(other) == b.text);
    str_free(buf);
    str_free(other);
}

void check_split_leaf(const Path& a) {
    StrBuf* buf = make(a);
    StrBuf* leaf = path_split_leaf(buf);
    const size_t at = last_after_first(a.text, '\\');
    if (at == std::string::npos) {
        FUZZ_CHECK(fuzz_bytes(leaf) == a.text);
        FUZZ_CHECK(str_is_null(buf));
    } else {
        FUZZ_CHECK(fuzz_bytes(leaf) == a.text.substr(at + 1));
        FUZZ_CHECK(fuzz_bytes(buf) + "\\" + fuzz_bytes(leaf) == a.text);
    }
    str_free(leaf);
    str_free(buf);
}

void check_split_first(const Path& a) {
    StrBuf* buf = make(a);
    StrBuf* first = path_split_first(buf);
    const size_t at = a.text.find('\\');
    if (at == std::string::npos) {
        FUZZ_CHECK(fuzz_bytes(first) == a.text);
        FUZZ_CHECK(str_is_null(buf));
    } else {
        // The component keeps its UTF-8 text, as the rest of the path does.
        FUZZ_CHECK(fuzz_bytes(first) == a.text.substr(0, at));
        FUZZ_CHECK(fuzz_bytes(buf) == a.text.substr(at + 1));
    }
    str_free(first);
    str_free(buf);
}

void check_parts(const Path& a) {
    const std::string norm = normalized(a.text);
    const size_t leaf_at = last_after_first(norm, '\\');
    const size_t dot_at = last_after_first(norm, '.');
    struct Part {
        StrBuf* (*get)(StrBuf*);
        std::string expected;
    };
    const Part parts[] = {
        {path_leaf, leaf_at == std::string::npos ? norm : norm.substr(leaf_at + 1)},
        {path_directory, leaf_at == std::string::npos ? std::string() : norm.substr(0, leaf_at)},
        {path_extension, dot_at == std::string::npos ? std::string() : norm.substr(dot_at + 1)},
    };
    for (const Part& part : parts) {
        StrBuf* buf = make(a);
        StrBuf* result = part.get(buf);
        FUZZ_CHECK(fuzz_bytes(result) == part.expected);
        FUZZ_CHECK(fuzz_bytes(buf) == norm); // normalised, otherwise unchanged
        str_free(result);
        str_free(buf);
    }
}

void check_absolute(const Path& a) {
    StrBuf* buf = make(a);
    StrBuf* absolute = path_absolute(buf);
    const std::vector<std::string> chars = fuzz_characters(a.text);
    if (chars.size() > 2 && chars[1] == ":") {
        FUZZ_CHECK(fuzz_bytes(absolute) == a.text);
    } else {
        StrBuf* expected = fs_current_dir();
        path_join(expected, buf);
        FUZZ_CHECK(fuzz_bytes(absolute) == fuzz_bytes(expected));
        str_free(expected);
    }
    FUZZ_CHECK(fuzz_bytes(buf) == a.text);
    str_free(absolute);
    str_free(buf);
}

// Every function on any bytes, results unchecked: nothing may crash or leak.
void exercise(const Path& a, const Path& b) {
    StrBuf* (*const getters[])(StrBuf*) = {path_split_leaf, path_split_first, path_leaf,
                                           path_directory, path_extension};
    for (auto get : getters) {
        StrBuf* buf = make(a);
        str_free(get(buf));
        str_free(buf);
    }
    StrBuf* buf = make(a);
    StrBuf* other = make(b);
    path_normalize(buf);
    path_join(buf, other);
    path_prepend(buf, other);
    str_free(path_absolute(buf));
    str_free(other);
    str_free(buf);
}

void run(const Path& a, const Path& b) {
    exercise(a, b);
    if (!fuzz_valid_utf8(a.text) || !fuzz_valid_utf8(b.text))
        return;
    check_join(a, b, false);
    check_join(a, b, true);
    if (a.null)
        return;
    check_split_leaf(a);
    check_split_first(a);
    check_parts(a);
    check_absolute(a);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const unsigned nulls = in.byte();
    Path a{(nulls & 0x10) != 0, ""};
    Path b{(nulls & 0x20) != 0, ""};
    const std::string first = in.field();
    const std::string second = in.field();
    if (!a.null)
        a.text = first;
    if (!b.null)
        b.text = second;
    fuzz_balanced([&] { run(a, b); });
    return 0;
}
