// Helpers shared by the encoding core's tests: byte vectors, sized
// conversions and the last-error record.
#ifndef EZU_TESTS_CORE_ENCODING_TEST_SUPPORT_H
#define EZU_TESTS_CORE_ENCODING_TEST_SUPPORT_H

#include "ezu/core/encoding.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

inline Bytes bytes(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values)
        out.push_back((unsigned char)v);
    return out;
}

inline Bytes bytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Appends `count` zero bytes (a terminator).
inline Bytes terminated(Bytes b, int count) {
    b.insert(b.end(), size_t(count), 0);
    return b;
}

// What the callers do: size, allocate exactly that, convert. `ok` tells
// whether both steps succeeded; the result is the whole destination buffer.
struct Converted {
    int size = 0;
    bool ok = false;
    Bytes out;
};

inline Converted size_and_convert(const Bytes& src, int from, int to) {
    Converted c;
    c.size = str_convert_size(src.data(), int(src.size()), from, to);
    if (c.size == 0)
        return c;
    c.out.assign(size_t(c.size), 0xCC);
    c.ok = str_convert(src.data(), int(src.size()), from, c.out.data(), c.size, to) == 1;
    return c;
}

// The destination bytes in front of the terminator of `to`.
inline Bytes text_part(const Converted& c, int to) {
    const size_t unit = size_t(str_encodings[to].unit_size);
    const Bytes& out = c.out;
    for (size_t pos = 0; pos + unit <= out.size(); pos += unit) {
        bool zero = true;
        for (size_t i = 0; i < unit; ++i)
            zero = zero && out[pos + i] == 0;
        if (zero)
            return Bytes(out.begin(), out.begin() + long(pos));
    }
    ADD_FAILURE() << "no terminator in the destination";
    return out;
}

// Puts a marker into the last-error record, so a test can tell that an
// operation made no report.
inline void mark_error_record() {
    str_set_error(7, "marker", 1, "test");
}

inline void expect_error(int code, const char* message, int line) {
    EXPECT_EQ(str_error_code(), code);
    EXPECT_STREQ(str_error_message(), message);
    EXPECT_EQ(str_error_line(), line);
    EXPECT_STREQ(str_error_file(), "c_str");
}

inline void expect_no_report() {
    EXPECT_EQ(str_error_code(), 7);
    EXPECT_STREQ(str_error_message(), "marker");
}

// Units of a machine-order UTF-16 text as little-endian bytes (every target
// of ezu is little-endian; EncodingCodecTest.NativeOrderMatchesTheCompiler
// checks that).
template <typename Unit> Bytes units_as_le_bytes(const Unit* units, size_t count) {
    Bytes out;
    for (size_t i = 0; i < count; ++i) {
        out.push_back((unsigned char)(units[i] & 0xFF));
        out.push_back((unsigned char)((units[i] >> 8) & 0xFF));
    }
    return out;
}

#endif
