// StrBuf: states, capacity rules, appending, comparison, hash and export.
#include "ezu_test.h"

#include "alloc_walk.h"
#include "ezu/ezu.h"

#include <limits.h>
#include <string.h>

#include <functional>
#include <string>

EZU_TEST_SUITE(StrBufTest);

namespace {

// Owns a StrBuf for the length of a test.
struct Owned {
    StrBuf* buf;
    explicit Owned(StrBuf* b) : buf(b) {}
    ~Owned() { str_free(buf); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
};

} // namespace

TEST_F(StrBufTest, AssignmentGivesNullEmptyOrText) {
    Owned b(str_new());
    EXPECT_TRUE(str_is_null(b.buf));
    EXPECT_EQ(b.buf->capacity, 0);

    str_assign_ascii(b.buf, "", -1); // empty source: empty text, not null
    EXPECT_FALSE(str_is_null(b.buf));
    EXPECT_TRUE(str_is_empty(b.buf));

    str_assign_ascii(b.buf, "abc", 2); // a byte count takes a prefix
    EXPECT_STREQ(b.buf->data, "ab");

    EXPECT_EQ(str_assign_bytes(b.buf, "zz", 2, 6), 1); // invalid encoding: unchanged
    EXPECT_STREQ(b.buf->data, "ab");

    const unsigned char low_alone[] = {0x00, 0xDC}; // unpaired low surrogate
    str_assign_bytes(b.buf, low_alone, 2, ENC_UTF16LE);
    EXPECT_TRUE(str_is_null(b.buf));
}

TEST_F(StrBufTest, AssignmentReusesALargeEnoughBlock) {
    Owned b(str_from_ascii("hello"));
    EXPECT_EQ(b.buf->capacity, 6);
    str_assign_utf8(b.buf, "hi");
    EXPECT_STREQ(b.buf->data, "hi");
    EXPECT_EQ(b.buf->capacity, 6);
    str_assign_utf8(b.buf, "longer text");
    EXPECT_EQ(b.buf->capacity, 12);
}

TEST_F(StrBufTest, AssignmentFromItsOwnBlock) {
    // Stray continuation bytes, copied as they stand by an append, widen to
    // two bytes each when read as UTF-8: the text outgrows its block while
    // it is being converted.
    Owned b(str_from_ascii("a"));
    str_append_text(b.buf, "\x80\x80\x80", -1);
    ASSERT_EQ(b.buf->capacity, 6);
    str_assign_utf8(b.buf, b.buf->data);
    EXPECT_STREQ(b.buf->data, "a\xC2\x80\xC2\x80\xC2\x80");

    str_assign_utf8(b.buf, b.buf->data + 1);
    EXPECT_STREQ(b.buf->data, "\xC2\x80\xC2\x80\xC2\x80");
}

TEST_F(StrBufTest, ResizeCopyAndReserve) {
    Owned b(str_from_ascii("abcdef"));
    ASSERT_EQ(str_resize(b.buf, 4), 1); // shrinking keeps the text terminated
    EXPECT_STREQ(b.buf->data, "abc");
    EXPECT_EQ(str_resize(b.buf, 0), 0);
    EXPECT_STREQ(b.buf->data, "abc");

    Owned dst(str_from_ascii("x"));
    EXPECT_EQ(str_copy(b.buf, dst.buf), 3);
    EXPECT_STREQ(dst.buf->data, "abc");
    EXPECT_EQ(dst.buf->capacity, 5);
    Owned none(str_new());
    EXPECT_EQ(str_copy(none.buf, dst.buf), 0);
    EXPECT_TRUE(str_is_null(dst.buf));

    char* text = str_reserve(b.buf, 10);
    EXPECT_EQ(b.buf->capacity, 11);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(str_reserve(b.buf, 5), b.buf->data); // already large enough
    EXPECT_EQ(b.buf->capacity, 11);
}

// Resizing in place must leave the block as a new zero-filled block with the
// old bytes copied in would: text, stale bytes behind the terminator, zeros
// where the old block's rounding slack held garbage, and the same counters.
TEST_F(StrBufTest, ResizeMatchesACopyIntoANewBlock) {
    const struct {
        int from, to;
    } cases[] = {{5, 7}, {5, 8}, {5, 64}, {9, 300}, {300, 9}, {8, 5}, {6, 6}, {2, 1}};
    for (const auto& c : cases) {
        Owned b(str_new());
        b.buf->data = static_cast<char*>(mem_alloc(c.from));
        b.buf->capacity = c.from;
        const int rounded_from = (c.from + 3) & ~3;
        for (int i = 0; i < rounded_from; ++i)
            b.buf->data[i] = char('a' + i % 26); // slack included
        b.buf->data[c.from / 2] = 0;             // stale bytes behind the text
        std::string expected(size_t((c.to + 3) & ~3), '\0');
        memcpy(&expected[0], b.buf->data, size_t(c.from < c.to ? c.from : c.to));
        if (c.to < c.from)
            expected[size_t(c.to - 1)] = 0;
        const int bytes = mem_bytes_in_use();
        ASSERT_EQ(str_resize(b.buf, c.to), 1);
        EXPECT_EQ(std::string(b.buf->data, expected.size()), expected) << c.from << " -> " << c.to;
        EXPECT_EQ(b.buf->capacity, c.to);
        EXPECT_EQ(mem_bytes_in_use() - bytes, ((c.to + 3) & ~3) - rounded_from);
    }
}

TEST_F(StrBufTest, SizesBeyondTheIntegerRangeFailCleanly) {
    Owned b(str_from_ascii("abc"));
    EXPECT_EQ(str_resize(b.buf, INT_MAX), 0);
    EXPECT_EQ(str_reserve(b.buf, INT_MAX), nullptr);
    EXPECT_EQ(str_reserve(b.buf, INT_MAX - 1), nullptr);
    EXPECT_STREQ(b.buf->data, "abc");
    EXPECT_EQ(b.buf->capacity, 4);

    // A block whose capacity is near the limit: any append would pass it.
    // The capacity is only recorded, the append must refuse before using it.
    b.buf->capacity = INT_MAX - 20;
    EXPECT_EQ(str_append_text(b.buf, "0123456789012345678901234", -1), 0);
    EXPECT_STREQ(b.buf->data, "abc");
    EXPECT_EQ(b.buf->capacity, INT_MAX - 20);
    b.buf->capacity = 4;
}

// A block the memory manager's byte counter could not count (it is a signed
// 32-bit number) is refused like one the heap refuses, however the request is
// reached. Each row runs first with the first heap request set to fail: the
// over-limit block must not be among the requests, so no gigabytes are ever
// asked for. Then it runs as it stands. The strings below hold blocks, so
// the counter is never 0 here.
TEST_F(StrBufTest, BlocksTheMemoryCountersCannotCountAreRefused) {
    TStr text("abc");
    Owned pattern(str_from_ascii("%1"));
    Owned x(str_from_ascii("x"));
    const auto block = [](void* p) {
        mem_free(p);
        return std::string(p ? "a block" : "null");
    };
    const auto record = [](StrBuf* b) {
        std::string result = b ? (b->data ? b->data : "<null>") : "null";
        str_free(b);
        return result;
    };
    const struct {
        const char* what;
        std::function<std::string()> request;
        long heap_requests; // while the first one fails
        const char* want;
    } rows[] = {
        {"mem_alloc(INT_MAX - 15)", [&] { return block(mem_alloc(INT_MAX - 15)); }, 0, "null"},
        // Three bytes short of the room left, but rounding up to four makes
        // the block one byte too large.
        {"one byte over the room left",
         [&] { return block(mem_alloc(INT_MAX - 14 - mem_bytes_in_use())); }, 0, "null"},
        {"TStr::reserve(INT_MAX - 17)",
         [&] {
             const char* p = text.reserve(INT_MAX - 17);
             return std::string(p ? p : "null") + " " + text.buffer()->data;
         },
         0, "null abc"},
        {"str_repeat_to(x, INT_MAX - 40)",
         [&] { return record(str_repeat_to(x.buf, INT_MAX - 40)); }, 0, "null"},
        // The padding is left out: only the bare value's block is asked for.
        {"str_arg(\"%1\", \"x\", INT_MAX - 40)",
         [&] { return record(str_arg(pattern.buf, x.buf, INT_MAX - 40)); }, 1, "x"},
    };
    for (const auto& row : rows) {
        const int blocks = mem_blocks_in_use();
        const int bytes = mem_bytes_in_use();
        {
            ArmedFailure first_fails(1);
            row.request();
            ASSERT_EQ(mem_allocations_since_armed(), row.heap_requests) << row.what;
        }
        EXPECT_EQ(row.request(), row.want) << row.what;
        EXPECT_EQ(mem_blocks_in_use(), blocks) << row.what;
        EXPECT_EQ(mem_bytes_in_use(), bytes) << row.what;
    }
}

TEST_F(StrBufTest, AppendGrowsByExactlyWhatItNeeds) {
    Owned b(str_from_ascii("a"));
    EXPECT_EQ(b.buf->capacity, 2);
    EXPECT_EQ(str_append_text(b.buf, "b", -1), 2);
    EXPECT_STREQ(b.buf->data, "ab");
    EXPECT_EQ(b.buf->capacity, 4);
    EXPECT_EQ(str_append_text(b.buf, "cdef", 2), 4); // only two characters
    EXPECT_STREQ(b.buf->data, "abcd");
    EXPECT_EQ(b.buf->capacity, 9);
    EXPECT_EQ(str_append_text(b.buf, "", -1), 4); // empty text: no change
    EXPECT_EQ(b.buf->capacity, 9);

    Owned none(str_new());
    EXPECT_EQ(str_append(b.buf, none.buf), 4); // a null-state text adds nothing
    EXPECT_EQ(str_append_text(none.buf, "", -1), 0);
    EXPECT_FALSE(str_is_null(none.buf)); // but empty text makes a null text empty

    Owned multi(str_new());
    EXPECT_EQ(str_append_text(multi.buf, "\xC3\xA9\xC3\xA9x", 2), 2);
    EXPECT_STREQ(multi.buf->data, "\xC3\xA9\xC3\xA9");
}

TEST_F(StrBufTest, AppendToItself) {
    Owned b(str_from_ascii("ab"));
    EXPECT_EQ(str_append(b.buf, b.buf), 4);
    EXPECT_STREQ(b.buf->data, "abab");
    EXPECT_EQ(str_append_text(b.buf, b.buf->data + 3, -1), 5);
    EXPECT_STREQ(b.buf->data, "ababb");
}

TEST_F(StrBufTest, CompareTellsNullFromEmpty) {
    Owned null1(str_new()), null2(str_new()), empty(str_from_ascii("")), a(str_from_ascii("a")),
        b(str_from_ascii("b"));
    EXPECT_EQ(str_compare(null1.buf, null2.buf), 0);
    EXPECT_EQ(str_compare(null1.buf, empty.buf), -1);
    EXPECT_EQ(str_compare(empty.buf, null1.buf), 1);
    EXPECT_EQ(str_compare(a.buf, b.buf), -1);
    EXPECT_EQ(str_compare(b.buf, a.buf), 1);
    EXPECT_EQ(str_compare_text(a.buf, "a"), 0);
    EXPECT_EQ(str_compare_text(null1.buf, nullptr), 0);
    EXPECT_EQ(str_compare_text(empty.buf, nullptr), 1);
    EXPECT_EQ(str_compare_text(null1.buf, ""), -1);
}

TEST_F(StrBufTest, SteppingOverMalformedText) {
    // A cut 3-byte lead at the end and a stray continuation byte.
    Owned b(str_from_ascii("x"));
    str_append_text(b.buf, "\x80y\xE2\x82", -1);
    EXPECT_EQ(str_length(b.buf), 4); // x, 0x80, y, the cut sequence
    EXPECT_EQ(str_advance(b.buf, 4), b.buf->data + strlen(b.buf->data));
    EXPECT_EQ(str_advance(b.buf, 5), nullptr);
    EXPECT_EQ(str_advance(b.buf, -1), nullptr);
    EXPECT_EQ(str_char_at(b.buf, 1), static_cast<int>(static_cast<signed char>(0x80)));
    EXPECT_EQ(str_char_at(b.buf, 4), 0);
    EXPECT_EQ(str_length(nullptr), 0);
}

TEST_F(StrBufTest, ExportNeedsTheWholeSize) {
    Owned b(str_from_ascii("abc"));
    char out[8];
    memset(out, 'z', sizeof out);
    EXPECT_EQ(str_export(b.buf, out, 3, ENC_ASCII), 0); // one short: nothing written
    EXPECT_EQ(out[0], 'z');
    EXPECT_EQ(str_export(b.buf, out, 4, ENC_ASCII), 4);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(str_export(b.buf, out, 8, 9), 0);

    int size = 2;
    EXPECT_EQ(str_export_sized(b.buf, out, &size, ENC_ASCII), 0);
    EXPECT_EQ(size, 5); // the needed size plus one
    EXPECT_EQ(str_export_sized(b.buf, out, &size, ENC_ASCII), 4);
    EXPECT_STREQ(out, "abc");

    Owned none(str_new());
    out[0] = 'z';
    EXPECT_EQ(str_export_sized(none.buf, out, &size, ENC_ASCII), 0);
    EXPECT_STREQ(out, "");

    char* fresh = str_to_new_ascii(b.buf);
    ASSERT_NE(fresh, nullptr);
    EXPECT_STREQ(fresh, "abc");
    mem_free(fresh);
}
