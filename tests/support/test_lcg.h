// A small deterministic generator for seeded test inputs, so that a failure
// can be reproduced from its seed.
#ifndef EZU_TEST_LCG_H
#define EZU_TEST_LCG_H

#include <stdint.h>

struct Lcg {
    uint64_t state;
    uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33);
    }
    uint32_t below(uint32_t n) { return next() % n; }
};

#endif
