#include "alloc_walk.h"

#include "ezu/core/mem.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace {
// No operation under test makes anywhere near this many allocations; an
// attempt count this high means the walk never reaches a clean run.
const long kMaxAttempts = 10000;
} // namespace

ArmedFailure::ArmedFailure(long n) : n_(n) {
    mem_fail_nth_allocation(n);
}

ArmedFailure::~ArmedFailure() {
    disarm();
}

bool ArmedFailure::disarm() {
    if (armed_) {
        reached_ = mem_allocations_since_armed() >= n_;
        mem_fail_nth_allocation(0);
        armed_ = false;
    }
    return reached_;
}

long walk_allocation_failures(const char* name, const WalkAttempt& attempt) {
    long failed = 0;
    for (long n = 1; n <= kMaxAttempts; ++n) {
        const int blocks = mem_blocks_in_use();
        const int bytes = mem_bytes_in_use();
        const bool reached = attempt(n);
        EXPECT_EQ(mem_blocks_in_use(), blocks)
            << name << ": blocks leaked with allocation " << n << " failing";
        EXPECT_EQ(mem_bytes_in_use(), bytes)
            << name << ": bytes leaked with allocation " << n << " failing";
        if (::testing::Test::HasFatalFailure())
            return failed;
        if (!reached) {
            EXPECT_GT(failed, 0) << name << ": the operation allocates nothing";
            if (!::testing::Test::HasFailure())
                printf("[ walk     ] %s: %ld allocations failed, all handled\n", name, failed);
            return failed;
        }
        ++failed;
    }
    ADD_FAILURE() << name << ": still failing after " << kMaxAttempts << " attempts";
    return failed;
}
