// Floating-point text that does not follow the process locale.
//
// Number text is a data format (settings, keys, command lines): it always
// uses "." as the decimal point. The C library's formatted output and strtod
// use the decimal point of the locale a program may have set with setlocale;
// these helpers translate between the two, so that the text is the same as
// in the "C" locale whatever the program chose. In a locale whose point is
// "." they add nothing but one lookup.
#include "ezu/strings/str_ops_internal.h"

#include "ezu/core/mem.h"

#include <locale.h>
#include <stdlib.h>
#include <string.h>

namespace {

// The decimal point of the current locale; "." when it names none.
const char* locale_point() {
    const struct lconv* conv = localeconv();
    return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point : ".";
}

bool is_dot(const char* point) {
    return point[0] == '.' && point[1] == 0;
}

// True for the bytes strtod can consume in the "C" locale: its white space,
// signs, the point, digits, letters (exponents, hexadecimal digits, "inf",
// "nan") and what "nan(...)" may hold.
bool c_number_byte(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return c != 0 && strchr(" \t\n\v\f\r+-.()_", c) != nullptr;
}

} // namespace

int str_ops_point_to_dot(char* text, int n) {
    const char* point = locale_point();
    if (is_dot(point))
        return n;
    char* at = strstr(text, point);
    if (!at)
        return n;
    const size_t k = strlen(point);
    *at = '.';
    memmove(at + 1, at + k, strlen(at + k) + 1);
    return n - int(k - 1);
}

double str_ops_read_double(const char* text, const char** end) {
    const char* point = locale_point();
    if (is_dot(point)) {
        char* stop = nullptr;
        const double value = strtod(text, &stop);
        *end = stop;
        return value;
    }
    // Only the leading bytes that strtod could consume in the "C" locale are
    // copied, with the first "." replaced by the locale's point: strtod then
    // stops where it would have stopped in the "C" locale, also at the
    // locale's own point, which is not among those bytes.
    size_t span = 0;
    while (c_number_byte(text[span]))
        ++span;
    const char* dot = static_cast<const char*>(memchr(text, '.', span));
    const size_t k = dot ? strlen(point) : 1;
    char local[128];
    const long long size = (long long)span + (long long)k;
    char* copy = size <= (long long)sizeof local ? local
                 : size <= kStrOpsMaxBlock       ? static_cast<char*>(mem_alloc(int(size)))
                                                 : nullptr;
    if (!copy) {
        *end = text; // no room to read it: nothing is read, as for no number
        return 0;
    }
    const size_t before = dot ? size_t(dot - text) : span;
    memcpy(copy, text, before);
    size_t n = before;
    if (dot) {
        memcpy(copy + n, point, k);
        n += k;
        memcpy(copy + n, dot + 1, span - before - 1);
        n += span - before - 1;
    }
    copy[n] = 0;
    char* stop = nullptr;
    const double value = strtod(copy, &stop);
    size_t consumed = size_t(stop - copy);
    // The point is read whole or not at all.
    if (dot && consumed > before)
        consumed -= k - 1;
    *end = text + consumed;
    if (copy != local)
        mem_free(copy);
    return value;
}
