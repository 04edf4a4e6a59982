// Allocation-failure walks over the string buffers and TStr: every
// allocation of each operation fails once in turn; the operation must give
// its failure result, keep the old text where it promises to, and leak
// nothing.
#include "alloc_walk.h"
#include "ezu_test.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/strings/strbuf.h"
#include "ezu/strings/tstr.h"

#include <string.h>

#include <string>

EZU_TEST_SUITE(StrAllocFailureWalk);

namespace {

// The text of a buffer, with the null state shown as "<null>".
std::string text_of(const StrBuf* buf) {
    return buf && buf->data ? std::string(buf->data) : std::string("<null>");
}

// A record made by an operation that only promises a copy when it can: it is
// null (no record), in the null state (no text block), or holds `expected`.
void expect_copy_or_nothing(const StrBuf* buf, bool failed, const char* expected) {
    if (!failed) {
        EXPECT_EQ(text_of(buf), expected);
        return;
    }
    if (buf) {
        EXPECT_EQ(text_of(buf), "<null>");
    }
}

} // namespace

TEST_F(StrAllocFailureWalk, Creation) {
    walk_allocation_failures("str_new", [](long n) -> bool {
        ArmedFailure armed(n);
        StrBuf* buf = str_new();
        const bool failed = armed.disarm();
        EXPECT_EQ(buf == nullptr, failed);
        str_free(buf);
        return failed;
    });
    walk_allocation_failures("str_from_utf8", [](long n) -> bool {
        ArmedFailure armed(n);
        StrBuf* buf = str_from_utf8("h\xC3\xA9llo");
        const bool failed = armed.disarm();
        expect_copy_or_nothing(buf, failed, "h\xC3\xA9llo");
        str_free(buf);
        return failed;
    });
    walk_allocation_failures("str_from_bytes (UTF-16LE)", [](long n) -> bool {
        const char units[] = {'a', 0, 'b', 0};
        ArmedFailure armed(n);
        StrBuf* buf = str_from_bytes(units, 4, ENC_UTF16LE);
        const bool failed = armed.disarm();
        expect_copy_or_nothing(buf, failed, "ab");
        str_free(buf);
        return failed;
    });
    walk_allocation_failures("str_dup", [](long n) -> bool {
        StrBuf* source = str_from_utf8("text");
        ArmedFailure armed(n);
        StrBuf* copy = str_dup(source);
        const bool failed = armed.disarm();
        expect_copy_or_nothing(copy, failed, "text");
        EXPECT_EQ(text_of(source), "text");
        str_free(copy);
        str_free(source);
        return failed;
    });
}

TEST_F(StrAllocFailureWalk, ResizeAndReserveKeepTheText) {
    walk_allocation_failures("str_resize", [](long n) -> bool {
        StrBuf* buf = str_from_utf8("abc");
        ArmedFailure armed(n);
        const int ok = str_resize(buf, 64);
        const bool failed = armed.disarm();
        EXPECT_EQ(ok == 0, failed);
        EXPECT_EQ(buf->capacity, failed ? 4 : 64);
        EXPECT_EQ(text_of(buf), "abc");
        str_free(buf);
        return failed;
    });
    walk_allocation_failures("str_reserve", [](long n) -> bool {
        StrBuf* buf = str_from_utf8("abc");
        ArmedFailure armed(n);
        char* text = str_reserve(buf, 100);
        const bool failed = armed.disarm();
        EXPECT_EQ(text == nullptr, failed);
        EXPECT_EQ(buf->capacity, failed ? 4 : 101);
        EXPECT_EQ(text_of(buf), "abc");
        str_free(buf);
        return failed;
    });
}

TEST_F(StrAllocFailureWalk, FailedAppendLeavesTheOldText) {
    walk_allocation_failures("str_append_text", [](long n) -> bool {
        StrBuf* buf = str_from_utf8("abc");
        ArmedFailure armed(n);
        const int length = str_append_text(buf, "d\xC3\xA9", -1);
        const bool failed = armed.disarm();
        EXPECT_EQ(length, failed ? 0 : 5);
        EXPECT_EQ(text_of(buf), failed ? "abc" : "abcd\xC3\xA9");
        str_free(buf);
        return failed;
    });
    walk_allocation_failures("str_append (its own text)", [](long n) -> bool {
        StrBuf* buf = str_from_utf8("ab");
        ArmedFailure armed(n);
        const int length = str_append(buf, buf);
        const bool failed = armed.disarm();
        EXPECT_EQ(length, failed ? 0 : 4);
        EXPECT_EQ(text_of(buf), failed ? "ab" : "abab");
        str_free(buf);
        return failed;
    });
    walk_allocation_failures("str_append_text (to the null state)", [](long n) -> bool {
        StrBuf* buf = str_new();
        ArmedFailure armed(n);
        const int length = str_append_text(buf, "xyz", 2);
        const bool failed = armed.disarm();
        EXPECT_EQ(length, failed ? 0 : 2);
        EXPECT_EQ(text_of(buf), failed ? "<null>" : "xy");
        str_free(buf);
        return failed;
    });
}

TEST_F(StrAllocFailureWalk, CopyAssignAndExport) {
    walk_allocation_failures("str_copy", [](long n) -> bool {
        StrBuf* src = str_from_utf8("longer text");
        StrBuf* dst = str_from_utf8("dst");
        ArmedFailure armed(n);
        const int bytes = str_copy(src, dst);
        const bool failed = armed.disarm();
        EXPECT_EQ(bytes, failed ? 0 : 11);
        EXPECT_EQ(text_of(dst), failed ? "dst" : "longer text");
        str_free(src);
        str_free(dst);
        return failed;
    });
    // An assignment that cannot get a block for the new text leaves the null
    // state, never the old text passed off as the new one.
    walk_allocation_failures("str_assign_utf8 (growing)", [](long n) -> bool {
        StrBuf* buf = str_from_utf8("ab");
        ArmedFailure armed(n);
        EXPECT_EQ(str_assign_utf8(buf, "a longer text"), 1);
        const bool failed = armed.disarm();
        EXPECT_EQ(text_of(buf), failed ? "<null>" : "a longer text");
        str_free(buf);
        return failed;
    });
    walk_allocation_failures("str_to_new (UTF-16 with mark)", [](long n) -> bool {
        StrBuf* buf = str_from_utf8("ab");
        ArmedFailure armed(n);
        void* block = str_to_new(buf, ENC_UTF16);
        const bool failed = armed.disarm();
        EXPECT_EQ(block == nullptr, failed);
        if (block) {
            EXPECT_EQ(memcmp(block,
                             "\xFF\xFE"
                             "a\0b\0\0",
                             8),
                      0);
        }
        mem_free(block);
        str_free(buf);
        return failed;
    });
}

TEST_F(StrAllocFailureWalk, TStrAppendingKeepsTheOldText) {
    walk_allocation_failures("TStr::append", [](long n) -> bool {
        TStr text("abc");
        const TStr tail("def");
        ArmedFailure armed(n);
        text.append(tail);
        const bool failed = armed.disarm();
        EXPECT_TRUE(text == (failed ? "abc" : "abcdef"));
        return failed;
    });
    walk_allocation_failures("TStr::operator+= (text)", [](long n) -> bool {
        TStr text("abc");
        ArmedFailure armed(n);
        text += "de";
        const bool failed = armed.disarm();
        EXPECT_TRUE(text == (failed ? "abc" : "abcde"));
        return failed;
    });
    walk_allocation_failures("TStr::operator+= (code point)", [](long n) -> bool {
        TStr text("a");
        ArmedFailure armed(n);
        text += 0xE9u;
        const bool failed = armed.disarm();
        EXPECT_TRUE(text == (failed ? "a" : "a\xC3\xA9"));
        return failed;
    });
    walk_allocation_failures("TStr::reserve", [](long n) -> bool {
        TStr text("abc");
        ArmedFailure armed(n);
        char* data = text.reserve(50);
        const bool failed = armed.disarm();
        EXPECT_EQ(data == nullptr, failed);
        EXPECT_TRUE(text == "abc");
        return failed;
    });
}

TEST_F(StrAllocFailureWalk, TStrAssignmentKeepsTheTargetWhenTheCopyFails) {
    walk_allocation_failures("TStr::operator=", [](long n) -> bool {
        const TStr source("new text");
        TStr target("old");
        ArmedFailure armed(n);
        target = source;
        const bool failed = armed.disarm();
        EXPECT_TRUE(target == (failed ? "old" : "new text"));
        return failed;
    });
}

TEST_F(StrAllocFailureWalk, TStrViewIsNullOrComplete) {
    // A 7-bit text of unknown length, and one built from UTF-8 bytes, whose
    // view is converted into room for the longest result and then shrunk.
    struct Case {
        const char* bytes;
        bool from_bytes;
        EzuWChar second;
    };
    for (const Case& c : {Case{"xy", false, EzuWChar('y')}, Case{"x\xC3\xA9z", true, 0xE9}}) {
        walk_allocation_failures(c.bytes, [&c](long n) -> bool {
            const TStr text =
                c.from_bytes ? TStr(c.bytes, int(strlen(c.bytes)), ENC_UTF8) : TStr(c.bytes);
            ArmedFailure armed(n);
            const EzuWChar* view = text.utf16le();
            const bool failed = armed.disarm();
            EXPECT_EQ(view == nullptr, failed);
            if (view) {
                EXPECT_EQ(view[0], EzuWChar('x'));
                EXPECT_EQ(view[1], c.second);
                EXPECT_EQ(view[c.from_bytes ? 3 : 2], EzuWChar(0));
            }
            // A later request, with memory again, gives the view.
            EXPECT_NE(text.utf16le(), nullptr);
            return failed;
        });
    }
}
