#include "ezu_test.h"

#include "ezu/ezu.h"

namespace {
// Set by the fixture when it has checked the counters itself, so the
// listener below reports only tests that do not use the fixture.
bool g_fixture_checked = false;
} // namespace

void EzuTest::SetUp() {
    blocks_at_start_ = mem_blocks_in_use();
    bytes_at_start_ = mem_bytes_in_use();
}

void EzuTest::TearDown() {
    g_fixture_checked = true;
    EXPECT_EQ(mem_blocks_in_use(), blocks_at_start_) << "guarded blocks leaked by this test";
    EXPECT_EQ(mem_bytes_in_use(), bytes_at_start_) << "guarded bytes leaked by this test";
}

// Safety net for tests written without the fixture: a leak there is printed
// and makes the whole program fail.
class LeakListener : public ::testing::EmptyTestEventListener {
  public:
    bool leaked = false;

  private:
    int blocks_ = 0;
    int bytes_ = 0;
    void OnTestStart(const ::testing::TestInfo&) override {
        g_fixture_checked = false;
        blocks_ = mem_blocks_in_use();
        bytes_ = mem_bytes_in_use();
    }
    void OnTestEnd(const ::testing::TestInfo& info) override {
        if (g_fixture_checked)
            return;
        if (mem_blocks_in_use() != blocks_ || mem_bytes_in_use() != bytes_) {
            leaked = true;
            fprintf(stderr, "LEAK in %s.%s: %d blocks, %d bytes\n", info.test_suite_name(),
                    info.name(), mem_blocks_in_use() - blocks_, mem_bytes_in_use() - bytes_);
        }
    }
};

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ezu_test_warm_caches();
    auto* listener = new LeakListener;
    ::testing::UnitTest::GetInstance()->listeners().Append(listener);
    const int result = RUN_ALL_TESTS();
    return result != 0 || listener->leaked ? 1 : 0;
}
