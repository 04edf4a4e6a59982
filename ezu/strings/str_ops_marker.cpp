// The marker search and the "!{" hex "}" escaping built on it.
//
// Marker positions and lengths are byte offsets, as str_find reports them;
// the `from` of str_find_marker counts characters, as str_find's does. The
// search itself works in bytes throughout, so multi-byte text is handled
// without mixing the two units.
//
// Escaping works on characters (UTF-8 sequences): a character of the text that
// is also a character of the set is written as "!{", its code point in
// lower-case hexadecimal without leading zeros, and "}". Malformed sequences
// are never escaped. Unescaping replaces a marker whose inside is a
// hexadecimal number naming a character (1 to U+10FFFF, no surrogate) by that
// character in UTF-8; every other marker stays as written.
#include "ezu/strings/str_ops_internal.h"

#include <string.h>

namespace {

const char kOpen[] = "!{";

// True when the character of `n` bytes at `c` is one of the characters of the
// zero-terminated `set`.
bool set_holds(const char* set, const char* c, int n) {
    for (const char* s = set; *s;) {
        const int m = str_ops_char_bytes(s);
        if (m == n && memcmp(s, c, size_t(n)) == 0)
            return true;
        s += m;
    }
    return false;
}

// The code point to escape the character at `p`, or 0 when it stays as it is.
uint32_t escape_code(const char* p, int n, const char* set) {
    uint32_t code = 0;
    if (str_ops_utf8_decode(p, &code) != n || !set_holds(set, p, n))
        return 0;
    return code;
}

int hex_digits(uint32_t code) {
    int n = 1;
    while (code >>= 4)
        ++n;
    return n;
}

// Writes "!{" hex "}" for `code` and returns the position behind it.
char* write_marker(char* out, uint32_t code) {
    static const char kDigits[] = "0123456789abcdef";
    const int n = hex_digits(code);
    *out++ = '!';
    *out++ = '{';
    for (int i = n - 1; i >= 0; --i, code >>= 4)
        out[i] = kDigits[code & 15];
    out += n;
    *out++ = '}';
    return out;
}

// Reads the inside of a marker as the code of a character; 0 when it is not
// a hexadecimal number or names no character.
uint32_t marker_code(const char* p, size_t n) {
    if (n == 0)
        return 0;
    uint32_t code = 0;
    for (size_t i = 0; i < n; ++i) {
        const char c = p[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        code = code * 16 + uint32_t(digit);
        if (code > 0x10FFFF) // stops before the value can wrap
            return 0;
    }
    return str_ops_code_valid(code) ? code : 0;
}

} // namespace

int str_find_marker(const StrBuf* buf, const char* open, const char* close, int* length, int from) {
    const char* start = str_advance(buf, from);
    if (!start)
        return -1;
    size_t n = 0;
    const long long at =
        str_ops_marker_search(buf->data, size_t(start - buf->data), open, close, &n);
    if (at >= 0 && length)
        *length = int(n);
    return int(at);
}

StrBuf* str_escape(const StrBuf* buf, const StrBuf* chars) {
    const char* text = str_ops_text(buf);
    const char* set = str_ops_text(chars);
    long long size = 1;
    for (const char* p = text; *p;) {
        const int n = str_ops_char_bytes(p);
        const uint32_t code = escape_code(p, n, set);
        size += code ? 3 + hex_digits(code) : n;
        p += n;
    }
    StrBuf* result = str_ops_new_sized(size);
    if (!result)
        return nullptr;
    char* out = result->data;
    for (const char* p = text; *p;) {
        const int n = str_ops_char_bytes(p);
        const uint32_t code = escape_code(p, n, set);
        if (code) {
            out = write_marker(out, code);
        } else {
            memcpy(out, p, size_t(n));
            out += n;
        }
        p += n;
    }
    return result;
}

StrBuf* str_unescape(const StrBuf* buf) {
    const char* text = str_ops_text(buf);
    const size_t bytes = strlen(text);
    // A marker of k hex digits is k + 3 bytes and yields at most k bytes of
    // UTF-8, so the result never outgrows the text.
    StrBuf* result = str_ops_new_sized((long long)bytes + 1);
    if (!result)
        return nullptr;
    // One pass: the marker search of str_find_marker with "!{" and "}" from
    // where the last marker ended, done byte by byte. At each "}" the last
    // "!{" since the last marker or "}" (if any) opens the marker; without
    // one the search goes on behind that "}".
    char* out = result->data;
    const char* done = text; // copied up to here
    const char* open = nullptr;
    for (const char* p = text; (p = strpbrk(p, "!}")) != nullptr; ++p) {
        if (*p == '!') {
            if (p[1] == '{')
                open = p;
            continue;
        }
        if (!open)
            continue;
        memcpy(out, done, size_t(open - done));
        out += open - done;
        const char* inside = open + strlen(kOpen);
        const uint32_t code = marker_code(inside, size_t(p - inside));
        if (code) {
            out += str_ops_utf8_encode(code, out);
        } else {
            memcpy(out, open, size_t(p + 1 - open));
            out += p + 1 - open;
        }
        // The scan goes on behind the marker: produced text is never re-read.
        done = p + 1;
        open = nullptr;
    }
    strcpy(out, done);
    return result;
}
