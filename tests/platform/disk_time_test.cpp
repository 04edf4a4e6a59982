// Free disk space and the current UTC time.
#include "platform_test_util.h"

#include <time.h>

class PlatformDiskFree : public PlatformScratchTest {};

TEST_F(PlatformDiskFree, ExistingDirectoryHasAVolumeAndMissingPathsFail) {
    uint64_t free_bytes = 0, total = 0;
    ASSERT_EQ(plat_disk_free(scratch_.c_str(), &free_bytes, &total), 1);
    EXPECT_GT(total, 0u);
    EXPECT_LE(free_bytes, total);
    // Either output may be left out.
    EXPECT_EQ(plat_disk_free(scratch_.c_str(), nullptr, &total), 1);
    EXPECT_EQ(plat_disk_free(scratch_.c_str(), &free_bytes, nullptr), 1);
    // No path: the root of the current drive.
    EXPECT_EQ(plat_disk_free(nullptr, &free_bytes, &total), 1);

    EXPECT_EQ(plat_disk_free((scratch_ + W(u"\\missing")).c_str(), &free_bytes, &total), 0);
    EXPECT_EQ(plat_disk_free((scratch_ + W(u"\\missing\\deeper")).c_str(), &free_bytes, &total), 0);
    // The call wants a directory.
    const WStr plain = file(u"plain.txt");
    ASSERT_TRUE(write_file(plain, "x"));
    EXPECT_EQ(plat_disk_free(plain.c_str(), &free_bytes, &total), 0);
}

EZU_TEST_SUITE(PlatformTime);

TEST_F(PlatformTime, UtcFileTimeAgreesWithTheCRunTimeClock) {
    // 100-nanosecond units from 1601-01-01 to 1970-01-01.
    const uint64_t epoch_offset = 116444736000000000ull;
    const uint64_t units_per_second = 10000000ull;
    const uint64_t before = epoch_offset + uint64_t(time(nullptr)) * units_per_second;
    const uint64_t now = plat_utc_file_time();
    const uint64_t later = plat_utc_file_time();
    const uint64_t day = 86400ull * units_per_second;
    EXPECT_LT(now > before ? now - before : before - now, day);
    // Not seconds, not milliseconds: the same second within one second.
    EXPECT_LT(now > before ? now - before : before - now, 2 * units_per_second);
    EXPECT_GE(later, now);
}
