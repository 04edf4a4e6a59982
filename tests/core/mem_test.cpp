#include "ezu_test.h"

#include "ezu/core/mem.h"

#include <limits.h>
#include <string.h>

EZU_TEST_SUITE(MemTest);

TEST_F(MemTest, ZeroSizeBlockHasItsTrailingGuardAtThePayload) {
    const int blocks = mem_blocks_in_use();
    const int bytes = mem_bytes_in_use();
    void* p = mem_alloc(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(mem_blocks_in_use(), blocks + 1);
    EXPECT_EQ(mem_bytes_in_use(), bytes + 12);
    const unsigned char trail[4] = {0x55, 0xAA, 0x55, 0xAA};
    EXPECT_EQ(memcmp(p, trail, 4), 0);
    EXPECT_EQ(mem_free(p), 0);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

TEST_F(MemTest, SizeIsRoundedToFourAndPayloadIsZeroed) {
    const int bytes = mem_bytes_in_use();
    unsigned char* p = static_cast<unsigned char*>(mem_alloc(5));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(mem_bytes_in_use(), bytes + 20);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(p[i], 0) << i;
    const unsigned char lead[4] = {0xAA, 0x55, 0xAA, 0x55};
    EXPECT_EQ(memcmp(p - 8, lead, 4), 0);
    int size_word;
    memcpy(&size_word, p - 4, 4);
    EXPECT_EQ(size_word, 8);
    // The rounding slack belongs to the payload: writing there is allowed.
    p[5] = p[6] = p[7] = 0xFF;
    EXPECT_EQ(mem_free(p), 8);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

TEST_F(MemTest, ReusedHeapMemoryIsZeroFilledAgain) {
    for (int round = 0; round < 4; ++round) {
        unsigned char* p = static_cast<unsigned char*>(mem_alloc(64));
        ASSERT_NE(p, nullptr);
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(p[i], 0);
        memset(p, 0xCD, 64);
        mem_free(p);
    }
}

TEST_F(MemTest, ReleasedBlocksOfEverySizeComeBackFramedAndZeroed) {
    // Enough blocks per size to pass any cache of released blocks, so both
    // reused and fresh heap blocks are handed out in the second round.
    const int kBlocks = 700;
    for (int size = 0; size <= 300; size += 7) {
        void* first[kBlocks];
        for (void*& p : first) {
            p = mem_alloc(size);
            ASSERT_NE(p, nullptr);
            memset(p, 0xCD, size_t(size));
        }
        for (void* p : first)
            mem_free(p);
        const int rounded = (size + 3) & ~3;
        const unsigned char lead[4] = {0xAA, 0x55, 0xAA, 0x55};
        const unsigned char trail[4] = {0x55, 0xAA, 0x55, 0xAA};
        void* again[kBlocks];
        for (void*& p : again) {
            p = mem_alloc(size);
            unsigned char* b = static_cast<unsigned char*>(p);
            ASSERT_NE(b, nullptr);
            for (int i = 0; i < rounded; ++i)
                ASSERT_EQ(b[i], 0) << size << " at " << i;
            ASSERT_EQ(memcmp(b - 8, lead, 4), 0) << size;
            int size_word;
            memcpy(&size_word, b - 4, 4);
            ASSERT_EQ(size_word, rounded);
            ASSERT_EQ(memcmp(b + rounded, trail, 4), 0) << size;
        }
        for (void* p : again)
            EXPECT_EQ(mem_free(p), rounded);
    }
}

TEST_F(MemTest, NullReleaseChangesNothing) {
    const int blocks = mem_blocks_in_use();
    const int bytes = mem_bytes_in_use();
    EXPECT_EQ(mem_free(nullptr), 0);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

TEST_F(MemTest, CountersTrackEveryLiveBlock) {
    const int blocks = mem_blocks_in_use();
    const int bytes = mem_bytes_in_use();
    void* a = mem_alloc(1);
    void* b = mem_alloc(100);
    void* c = mem_alloc(7);
    EXPECT_EQ(mem_blocks_in_use(), blocks + 3);
    EXPECT_EQ(mem_bytes_in_use(), bytes + (4 + 12) + (100 + 12) + (8 + 12));
    EXPECT_EQ(mem_free(b), 100);
    EXPECT_EQ(mem_blocks_in_use(), blocks + 2);
    EXPECT_EQ(mem_bytes_in_use(), bytes + (4 + 12) + (8 + 12));
    mem_free(a);
    mem_free(c);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

TEST_F(MemTest, NegativeAndOverflowingSizesAreRefused) {
    const int blocks = mem_blocks_in_use();
    const int bytes = mem_bytes_in_use();
    EXPECT_EQ(mem_alloc(-1), nullptr);
    EXPECT_EQ(mem_alloc(INT_MIN), nullptr);
    // Rounded size plus overhead would pass the signed 32-bit range.
    EXPECT_EQ(mem_alloc(INT_MAX), nullptr);
    EXPECT_EQ(mem_alloc(INT_MAX - 12), nullptr);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

using MemDeathTest = MemTest;

TEST_F(MemDeathTest, OverrunIntoTrailingGuardStopsWithLine45) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            unsigned char* p = static_cast<unsigned char*>(mem_alloc(5));
            p[8] = 0;
            mem_free(p);
        },
        "AA55AA55.*c_memmanage.*line 45");
}

TEST_F(MemDeathTest, OverrunOfExactSizeBlockStopsWithLine45) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            unsigned char* p = static_cast<unsigned char*>(mem_alloc(8));
            p[8] = 1;
            mem_free(p);
        },
        "c_memmanage.*line 45");
}

TEST_F(MemDeathTest, DamagedHeaderStopsWithLine44) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            unsigned char* p = static_cast<unsigned char*>(mem_alloc(16));
            memset(p - 8, 0, 8);
            mem_free(p);
        },
        "55AA55AA.*c_memmanage.*line 44");
}

// Under AddressSanitizer every released block goes straight back to the heap
// and the sanitizer reports a second release itself.
#if defined(__SANITIZE_ADDRESS__)
const char kSecondReleaseReport[] = "heap-use-after-free";
#else
const char kSecondReleaseReport[] = "c_memmanage.*line 44";
#endif

TEST_F(MemDeathTest, SecondReleaseOfABlockStops) {
    // The first release clears the lead guard, so a second one is reported
    // as a damaged block.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            void* p = mem_alloc(24);
            mem_free(p);
            mem_free(p);
        },
        kSecondReleaseReport);
}
