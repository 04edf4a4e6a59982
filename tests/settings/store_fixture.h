// A leak-checking fixture for tests that write to the process-wide settings
// store.
#ifndef EZU_TESTS_SETTINGS_STORE_FIXTURE_H
#define EZU_TESTS_SETTINGS_STORE_FIXTURE_H

#include "ezu_test.h"

// The store keeps every key it is given for the life of the process, so the
// first run of a test body creates its keys for good. Tests run their body
// twice: the leak check starts after the first run and covers the second,
// which may only replace values and must leave memory as it found it. Bodies
// must therefore not expect a key they write to be absent beforehand.
class StoreTest : public EzuTest {
  protected:
    void SetUp() override {}

    template <class Body> void twice(Body body) {
        body();
        EzuTest::SetUp();
        body();
    }
};

#define EZU_STORE_TEST_SUITE(Name)                                                                 \
    class Name : public StoreTest {}

#endif
