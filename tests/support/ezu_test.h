// Shared test support: the leak-checking fixture every test derives from.
#ifndef EZU_TESTS_SUPPORT_EZU_TEST_H
#define EZU_TESTS_SUPPORT_EZU_TEST_H

#include <gtest/gtest.h>

// Fails a test whose guarded blocks or bytes are not back where they were
// when it started. Process-lifetime caches are warmed before any test runs.
class EzuTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    int blocks_at_start_ = 0;
    int bytes_at_start_ = 0;
};

// Declares a fixture named `Name` for TEST_F that checks for leaks.
#define EZU_TEST_SUITE(Name)                                                                       \
    class Name : public EzuTest {}

// True in the Windows build; tests whose behaviour truly differs by system
// (shell syntax, system paths) branch on it explicitly.
constexpr bool kTestingOnWindows = EZU_TEST_WINDOWS != 0;

// Fills the process-lifetime caches (descriptors, native byte order, ...) so
// that their one-time blocks are not counted against the first test.
void ezu_test_warm_caches();

#endif
