#include "ezu/core/mem.h"

#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const uint32_t kLeadGuard = 0x55AA55AAu;
const uint32_t kTrailGuard = 0xAA55AA55u;
const int kOverhead = 12; // lead guard, size word, trail guard
const char kModule[] = "c_memmanage";

int g_bytes_in_use = 0;
int g_blocks_in_use = 0;

// Allocation-failure injection (tests only): 0 while off.
long g_fail_at = 0;
long g_allocations_since_armed = 0;

// Counts one heap request while injection is armed; true for the one that
// must fail. Reached only while armed: when off, mem_alloc pays one test.
bool injected_failure() {
    return ++g_allocations_since_armed == g_fail_at;
}

// Words are read and written through memcpy: the trailing guard is only
// 4-byte aligned relative to the block, and this keeps the accesses defined.
uint32_t load_word(const unsigned char* at) {
    uint32_t w;
    memcpy(&w, at, sizeof w);
    return w;
}

void store_word(unsigned char* at, uint32_t w) {
    memcpy(at, &w, sizeof w);
}

[[noreturn]] void guard_failure(const char* expression, int line) {
    fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, kModule, line);
    fflush(stderr);
    abort();
}

} // namespace

void* mem_alloc(int size) {
    if (size < 0 || size > INT_MAX - kOverhead - 3)
        return nullptr;
    if (g_fail_at != 0 && injected_failure())
        return nullptr;
    const int rounded = (size + 3) & ~3;
    unsigned char* block = static_cast<unsigned char*>(malloc(size_t(rounded) + kOverhead));
    if (!block)
        return nullptr;
    g_bytes_in_use += rounded + kOverhead;
    g_blocks_in_use += 1;
    store_word(block, kLeadGuard);
    store_word(block + 4, uint32_t(rounded));
    store_word(block + 8 + rounded, kTrailGuard);
    memset(block + 8, 0, size_t(rounded));
    return block + 8;
}

int mem_free(void* payload) {
    if (!payload)
        return 0;
    unsigned char* block = static_cast<unsigned char*>(payload) - 8;
    const int size = int(load_word(block + 4));
    if (load_word(block) != kLeadGuard)
        guard_failure("*(long*)mem == 0x55AA55AA", 44);
    if (load_word(block + 8 + size) != kTrailGuard)
        guard_failure("*(long*)(mem + sizeof(long) + 4 + bytes) == 0xAA55AA55", 45);
    free(block);
    g_bytes_in_use -= size + kOverhead;
    g_blocks_in_use -= 1;
    return size;
}

int mem_bytes_in_use() {
    return g_bytes_in_use;
}

int mem_blocks_in_use() {
    return g_blocks_in_use;
}

void mem_fail_nth_allocation(long n) {
    g_fail_at = n > 0 ? n : 0;
    g_allocations_since_armed = 0;
}

long mem_allocations_since_armed() {
    return g_allocations_since_armed;
}
