// Bad input to the string buffers, TStr and the string lists: the rows of
// docs/bad-input.md that the other string tests do not check. Each test is
// named after its row.
#include "ezu_test.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/strings/strbuf.h"
#include "ezu/strings/strlist.h"
#include "ezu/strings/tstr.h"

#include <limits.h>
#include <string.h>

EZU_TEST_SUITE(StrBadInput);

namespace {

// Releases a lower-tier record at the end of a scope.
struct Owned {
    explicit Owned(StrBuf* b) : buf(b) {}
    ~Owned() { str_free(buf); }
    StrBuf* buf;
};

} // namespace

TEST_F(StrBadInput, StrNullBufferQueries) {
    EXPECT_EQ(str_length(nullptr), 0);
    EXPECT_TRUE(str_is_null(nullptr));
    EXPECT_TRUE(str_is_empty(nullptr));
    EXPECT_EQ(str_hash(nullptr), 0);
    EXPECT_EQ(str_advance(nullptr, 0), nullptr);
    EXPECT_EQ(str_char_at(nullptr, 0), 0);
    EXPECT_EQ(str_free(nullptr), 0);
    EXPECT_EQ(str_dup(nullptr), nullptr);
    EXPECT_EQ(str_clear(nullptr), 1);
    // A missing buffer compares as null text.
    Owned text(str_from_ascii("a"));
    EXPECT_EQ(str_compare(nullptr, nullptr), 0);
    EXPECT_EQ(str_compare(nullptr, text.buf), -1);
    EXPECT_EQ(str_compare(text.buf, nullptr), 1);
    EXPECT_EQ(str_compare_text(nullptr, nullptr), 0);
    EXPECT_EQ(str_compare_text(text.buf, nullptr), 1);
}

TEST_F(StrBadInput, StrNullBufferExports) {
    char out[8] = "xxxxxxx";
    EXPECT_EQ(str_export(nullptr, out, sizeof out, ENC_UTF8), 1);
    EXPECT_EQ(out[0], 0);
    int size = sizeof out;
    memset(out, 'x', sizeof out);
    // The sized form writes the empty text but reports nothing written.
    EXPECT_EQ(str_export_sized(nullptr, out, &size, ENC_ASCII), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(size, int(sizeof out));
    void* block = str_to_new(nullptr, ENC_UTF16LE);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(memcmp(block, "\0\0", 2), 0);
    mem_free(block);
}

TEST_F(StrBadInput, StrInvalidEncodingNumber) {
    Owned b(str_from_ascii("keep"));
    char out[8] = "xxxxxxx";
    EXPECT_EQ(str_assign_bytes(b.buf, "new", 3, -1), 1);
    EXPECT_EQ(str_assign_bytes(b.buf, "new", 3, 6), 1);
    EXPECT_STREQ(b.buf->data, "keep");
    EXPECT_EQ(str_export(b.buf, out, sizeof out, 9), 0);
    EXPECT_EQ(str_export_size(b.buf, -2), 0);
    int size = sizeof out;
    EXPECT_EQ(str_export_sized(b.buf, out, &size, 6), 0);
    EXPECT_STREQ(out, "xxxxxxx");
    EXPECT_EQ(str_to_new(b.buf, 6), nullptr);
    Owned fresh(str_from_bytes("abc", 3, 42));
    ASSERT_NE(fresh.buf, nullptr);
    EXPECT_TRUE(str_is_null(fresh.buf));
}

TEST_F(StrBadInput, StrAssignNullOrNegativeCount) {
    Owned b(str_from_ascii("old"));
    EXPECT_EQ(str_assign_bytes(b.buf, nullptr, 5, ENC_UTF8), 1);
    EXPECT_TRUE(str_is_null(b.buf));
    str_assign_ascii(b.buf, "abc", -1);
    EXPECT_STREQ(b.buf->data, "abc");
    // A negative count reads nothing: empty text, as a count of 0.
    EXPECT_EQ(str_assign_bytes(b.buf, "xyz", -7, ENC_UTF8), 1);
    EXPECT_STREQ(b.buf->data, "");
    EXPECT_EQ(str_assign_utf8(b.buf, nullptr), 1);
    EXPECT_TRUE(str_is_null(b.buf));
    Owned none(str_from_ascii(nullptr));
    EXPECT_TRUE(str_is_null(none.buf));
    Owned none8(str_from_utf8(nullptr));
    EXPECT_TRUE(str_is_null(none8.buf));
}

TEST_F(StrBadInput, StrResizeBelowOne) {
    Owned b(str_from_ascii("abc"));
    EXPECT_EQ(str_resize(b.buf, 0), 0);
    EXPECT_EQ(str_resize(b.buf, -5), 0);
    EXPECT_STREQ(b.buf->data, "abc");
    EXPECT_EQ(b.buf->capacity, 4);
}

TEST_F(StrBadInput, StrReserveNegative) {
    Owned b(str_from_ascii("abc"));
    EXPECT_EQ(str_reserve(b.buf, -3), b.buf->data);
    EXPECT_EQ(b.buf->capacity, 4);
    Owned none(str_new());
    EXPECT_EQ(str_reserve(none.buf, 0), nullptr); // nothing to hand out, nothing asked
    EXPECT_EQ(none.buf->capacity, 0);
}

TEST_F(StrBadInput, StrAppendNullText) {
    Owned b(str_from_ascii("abc"));
    EXPECT_EQ(str_append_text(b.buf, nullptr, 3), 3);
    EXPECT_EQ(str_append(b.buf, nullptr), 3);
    EXPECT_STREQ(b.buf->data, "abc");
    // A count of 0 or below 0: nothing, or everything.
    EXPECT_EQ(str_append_text(b.buf, "de", 0), 3);
    EXPECT_EQ(str_append_text(b.buf, "de", -9), 5);
    EXPECT_STREQ(b.buf->data, "abcde");
}

TEST_F(StrBadInput, StrCopyFromNothing) {
    Owned dst(str_from_ascii("dst"));
    Owned none(str_new());
    EXPECT_EQ(str_copy(none.buf, dst.buf), 0);
    EXPECT_TRUE(str_is_null(dst.buf));
    str_assign_ascii(dst.buf, "dst", -1);
    EXPECT_EQ(str_copy(nullptr, dst.buf), 0);
    EXPECT_TRUE(str_is_null(dst.buf));
}

TEST_F(StrBadInput, StrAdvanceNegativeOrBeyond) {
    Owned b(str_from_ascii("ab"));
    EXPECT_EQ(str_advance(b.buf, -1), nullptr);
    EXPECT_EQ(str_advance(b.buf, 3), nullptr);
    EXPECT_EQ(str_advance(b.buf, 2), b.buf->data + 2);
}

TEST_F(StrBadInput, StrExportNoRoom) {
    Owned b(str_from_ascii("abc"));
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(str_export(b.buf, out, 3, ENC_ASCII), 0);
    EXPECT_EQ(str_export(b.buf, out, -1, ENC_ASCII), 0);
    EXPECT_EQ(str_export(b.buf, nullptr, 100, ENC_ASCII), 0);
    EXPECT_EQ(out[0], 'x');
    EXPECT_STREQ(str_to_ascii(b.buf, out, 2), ""); // too small: empty text
    EXPECT_EQ(str_to_ascii(b.buf, nullptr, 0), nullptr);
}

TEST_F(StrBadInput, NumberWriterRadixOutOfRange) {
    Owned low(str_from_int64(255, 1));
    Owned high(str_from_int(255, 37));
    Owned negative(str_from_long(-255, INT_MIN));
    EXPECT_STREQ(low.buf->data, "255");
    EXPECT_STREQ(high.buf->data, "255");
    EXPECT_STREQ(negative.buf->data, "-255");
    EXPECT_TRUE(TStr::number(7, 99) == "7");
}

TEST_F(StrBadInput, NumberReaderNullBuffer) {
    int ok = 1;
    EXPECT_EQ(str_to_int64(nullptr, &ok, 10), 0);
    EXPECT_EQ(ok, 0);
    ok = 1;
    EXPECT_EQ(str_to_double(nullptr, &ok), 0.0);
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(str_is_digit(nullptr), 0);
    EXPECT_EQ(str_is_space(nullptr), 0);
    EXPECT_EQ(str_is_radix_digit(nullptr, 10), 0);
}

TEST_F(StrBadInput, TStrNullCharPointers) {
    TStr text("abc");
    EXPECT_TRUE(text != nullptr);
    EXPECT_FALSE(text == static_cast<const char*>(nullptr));
    EXPECT_TRUE(TStr() == static_cast<const char*>(nullptr));
    text += static_cast<const char*>(nullptr);
    EXPECT_TRUE(text == "abc");
    EXPECT_TRUE(text + static_cast<const char*>(nullptr) == "abc");
    text.assign(nullptr);
    EXPECT_TRUE(text.isNull());
    EXPECT_TRUE(text.assignUtf8(nullptr));
    EXPECT_TRUE(text.isNull());
    EXPECT_EQ(text.find(static_cast<const char*>(nullptr)), -1);
}

TEST_F(StrBadInput, TStrExportsWithoutRoom) {
    const TStr text("abc");
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(text.exportAscii(out, 3));
    EXPECT_FALSE(text.exportTo(out, sizeof out, 6));
    EXPECT_EQ(out[0], 'x');
    int size = 2;
    EXPECT_EQ(text.exportAsciiSized(out, &size), 0);
    EXPECT_EQ(size, 5); // the needed size plus one
}

TEST_F(StrBadInput, TStrNegativeTruncate) {
    // A negative count is one beyond the end: no cut.
    TStr text("abc");
    EXPECT_EQ(text.truncate(-1), nullptr);
    EXPECT_EQ(text.truncate(4), nullptr);
    EXPECT_TRUE(text == "abc");
    TStr none;
    EXPECT_EQ(none.truncate(0), nullptr);
    EXPECT_TRUE(none.isNull());
}

TEST_F(StrBadInput, StrListNullStateProbeAndEmptySet) {
    TEzuStrList list = TEzuStrList::split(',', "a,,b");
    EXPECT_EQ(list.at(INT_MAX), nullptr);
    // The null state is not the empty element: the two compare unequal.
    EXPECT_EQ(list.indexOf(TStr()), -1);
    EXPECT_EQ(list.indexOf(TStr("")), 1);
    // No separator characters: the whole text is the one element.
    const TEzuStrList whole = TEzuStrList::splitAny(TStr(), TStr("a,b"));
    ASSERT_EQ(whole.size(), 1);
    EXPECT_TRUE(*whole.at(0) == "a,b");
}

TEST_F(StrBadInput, TStrUnpairedSurrogate) {
    str_set_error(0, nullptr, 0, nullptr);
    const unsigned char units[] = {0x41, 0x00, 0x3D, 0xD8, 0x42, 0x00, 0, 0};
    const TStr text(units, sizeof units, ENC_UTF16LE);
    EXPECT_TRUE(text.isNull());
    EXPECT_EQ(str_error_code(), STR_ERR_INVALID);
    EXPECT_STREQ(str_error_message(), "unpaired high surrogate");
    EXPECT_STREQ(str_error_file(), "c_str");
    // Assigning it to a string with text leaves the null state as well.
    TStr target("old");
    EXPECT_TRUE(target.assignUtf16le(units, sizeof units));
    EXPECT_TRUE(target.isNull());
    str_set_error(0, nullptr, 0, nullptr);
}
