// mem_resize against the copying road it replaces (a new block, the old
// payload copied in, the old block released): payload bytes, framing,
// counters and zero fill must come out the same, growing and shrinking; a
// failed resize leaves the old block as it was; guards are checked first.
#include "alloc_walk.h"
#include "ezu_test.h"

#include "ezu/core/mem.h"

#include <limits.h>
#include <string.h>

#include <string>

EZU_TEST_SUITE(MemResizeTest);

namespace {

int rounded(int size) {
    return (size + 3) & ~3;
}

// A block of `size` bytes whose whole rounded payload (slack included) holds
// a pattern that differs from byte to byte and from zero.
unsigned char* patterned_block(int size) {
    unsigned char* p = static_cast<unsigned char*>(mem_alloc(size));
    for (int i = 0; i < rounded(size); ++i)
        p[i] = static_cast<unsigned char>(0x41 + i % 50);
    return p;
}

// The whole block as bytes: lead guard, size word, payload, trailing guard.
std::string framed(const unsigned char* payload) {
    int size;
    memcpy(&size, payload - 4, 4);
    return std::string(reinterpret_cast<const char*>(payload) - 8, size_t(size) + 12);
}

// The copying road: what a resize must be indistinguishable from.
unsigned char* copying_resize(unsigned char* old, int old_size, int size) {
    unsigned char* block = static_cast<unsigned char*>(mem_alloc(size));
    const int keep = rounded(old_size) < size ? rounded(old_size) : size;
    memcpy(block, old, size_t(keep));
    mem_free(old);
    return block;
}

} // namespace

TEST_F(MemResizeTest, MatchesTheCopyingRoad) {
    const struct {
        int from, to;
    } cases[] = {
        {5, 6},     {5, 8},        {5, 9},     {8, 8},         {0, 1},   {1, 0},
        {12, 3},    {100, 101},    {100, 40},  {7, 300},       {300, 7}, {256, 260},
        {260, 256}, {4000, 70000}, {70000, 5}, {70000, 70001},
    };
    for (const auto& c : cases) {
        const int blocks = mem_blocks_in_use();
        const int bytes = mem_bytes_in_use();
        unsigned char* copied = copying_resize(patterned_block(c.from), c.from, c.to);
        const int copied_bytes = mem_bytes_in_use() - bytes;
        const std::string expected = framed(copied);
        mem_free(copied);

        unsigned char* resized =
            static_cast<unsigned char*>(mem_resize(patterned_block(c.from), c.to));
        ASSERT_NE(resized, nullptr) << c.from << " -> " << c.to;
        EXPECT_EQ(framed(resized), expected) << c.from << " -> " << c.to;
        EXPECT_EQ(mem_bytes_in_use() - bytes, copied_bytes) << c.from << " -> " << c.to;
        EXPECT_EQ(mem_blocks_in_use(), blocks + 1) << c.from << " -> " << c.to;
        EXPECT_EQ(mem_free(resized), rounded(c.to));
        EXPECT_EQ(mem_bytes_in_use(), bytes);
    }
}

TEST_F(MemResizeTest, NullBlockIsANewBlock) {
    const int bytes = mem_bytes_in_use();
    unsigned char* p = static_cast<unsigned char*>(mem_resize(nullptr, 5));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(mem_bytes_in_use(), bytes + 20);
    EXPECT_EQ(framed(p), std::string("\xAA\x55\xAA\x55\x08\0\0\0", 8) + std::string(8, '\0') +
                             std::string("\x55\xAA\x55\xAA", 4));
    mem_free(p);
}

TEST_F(MemResizeTest, RefusalsLeaveTheOldBlockAsItWas) {
    const int refused[] = {-1, INT_MIN, INT_MAX, INT_MAX - 12,
                           // A valid size whose growth would carry the bytes
                           // counter past its range.
                           INT_MAX - 15};
    for (int size : refused) {
        unsigned char* p = patterned_block(10);
        const std::string before = framed(p);
        const int blocks = mem_blocks_in_use();
        const int bytes = mem_bytes_in_use();
        EXPECT_EQ(mem_resize(p, size), nullptr) << size;
        EXPECT_EQ(framed(p), before) << size;
        EXPECT_EQ(mem_blocks_in_use(), blocks);
        EXPECT_EQ(mem_bytes_in_use(), bytes);
        mem_free(p);
    }
}

TEST_F(MemResizeTest, AllocationFailureWalk) {
    for (int size : {3, 12, 4096}) {
        walk_allocation_failures("mem_resize", [size](long n) -> bool {
            unsigned char* p = patterned_block(12);
            const std::string before = framed(p);
            ArmedFailure armed(n);
            void* q = mem_resize(p, size);
            const bool failed = armed.disarm();
            EXPECT_EQ(q == nullptr, failed);
            if (failed) {
                EXPECT_EQ(framed(p), before);
            }
            mem_free(failed ? p : q);
            return failed;
        });
    }
}

using MemResizeDeathTest = MemResizeTest;

TEST_F(MemResizeDeathTest, GuardsAreCheckedBeforeAndAfter) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A write just past the new end is found when the grown block is released.
    EXPECT_DEATH(
        {
            unsigned char* p = static_cast<unsigned char*>(mem_resize(mem_alloc(5), 13));
            p[16] = 0;
            mem_free(p);
        },
        "c_memmanage.*line 45");
    // ... and so is one past the new end of a shrunk block.
    EXPECT_DEATH(
        {
            unsigned char* p = static_cast<unsigned char*>(mem_resize(mem_alloc(64), 6));
            p[8] = 0;
            mem_free(p);
        },
        "c_memmanage.*line 45");
    // A damaged block is reported before the resize touches it.
    EXPECT_DEATH(
        {
            unsigned char* p = static_cast<unsigned char*>(mem_alloc(8));
            p[8] = 0;
            mem_resize(p, 100);
        },
        "c_memmanage.*line 45");
    EXPECT_DEATH(
        {
            unsigned char* p = static_cast<unsigned char*>(mem_alloc(8));
            memset(p - 8, 0, 4);
            mem_resize(p, 100);
        },
        "55AA55AA.*c_memmanage.*line 44");
}
