#include "ezu/core/mem.h"

#include "ezu/core/mem_internal.h"

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

// Released small blocks are kept on one free list per rounded size and handed
// out again, so the frequent small allocations of strings, records and nodes
// skip the C heap. A block on a list is neither in use nor counted; it is
// framed anew and zero-filled when it is handed out. Each list keeps up to
// 32 blocks, or more of a small size up to 8 KiB of them (a list of 64 short
// strings releases 64 blocks of each of its sizes at once), so at most about
// half a megabyte stays cached. Under AddressSanitizer every
// block goes back to the heap, so use after release is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define EZU_MEM_CACHE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EZU_MEM_CACHE 0
#endif
#endif
#ifndef EZU_MEM_CACHE
#define EZU_MEM_CACHE 1
#endif

const int kCachedMaxPayload = 256;
const int kCachePerSize = 32;
const int kCacheBytesPerSize = 8192;

struct CachedBlock {
    CachedBlock* next;
};

CachedBlock* g_cache[kCachedMaxPayload / 4 + 1];
int g_cache_count[kCachedMaxPayload / 4 + 1];

unsigned char* take_cached(int rounded) {
    if (!EZU_MEM_CACHE || rounded > kCachedMaxPayload)
        return nullptr;
    CachedBlock* b = g_cache[rounded / 4];
    if (b) {
        g_cache[rounded / 4] = b->next;
        g_cache_count[rounded / 4] -= 1;
    }
    return reinterpret_cast<unsigned char*>(b);
}

bool keep_cached(unsigned char* block, int rounded) {
    if (!EZU_MEM_CACHE || rounded > kCachedMaxPayload)
        return false;
    const int count = g_cache_count[rounded / 4];
    if (count >= kCachePerSize && count * (rounded + kOverhead) >= kCacheBytesPerSize)
        return false;
    CachedBlock* b = reinterpret_cast<CachedBlock*>(block);
    b->next = g_cache[rounded / 4];
    g_cache[rounded / 4] = b;
    g_cache_count[rounded / 4] += 1;
    return true;
}

// Zero-fills a payload of `rounded` bytes (a multiple of 4). The small
// payloads of records, nodes and short strings take a few overlapping word
// stores instead of a library call.
inline void zero_payload(unsigned char* p, int rounded) {
    const uint64_t zero = 0;
    if (rounded > 32) {
        memset(p, 0, size_t(rounded));
    } else if (rounded > 16) {
        memcpy(p, &zero, 8);
        memcpy(p + 8, &zero, 8);
        memcpy(p + rounded - 16, &zero, 8);
        memcpy(p + rounded - 8, &zero, 8);
    } else if (rounded >= 8) {
        memcpy(p, &zero, 8);
        memcpy(p + rounded - 8, &zero, 8);
    } else if (rounded == 4) {
        memcpy(p, &zero, 4);
    }
}

[[noreturn]] void guard_failure(const char* expression, int line) {
    fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, kModule, line);
    fflush(stderr);
    abort();
}

// Both guard words of the block behind `payload`, leading guard first.
inline unsigned char* checked_block(void* payload) {
    unsigned char* block = static_cast<unsigned char*>(payload) - 8;
    const int size = int(load_word(block + 4));
    if (load_word(block) != kLeadGuard)
        guard_failure("*(long*)mem == 0x55AA55AA", 44);
    if (load_word(block + 8 + size) != kTrailGuard)
        guard_failure("*(long*)(mem + sizeof(long) + 4 + bytes) == 0xAA55AA55", 45);
    return block;
}

// A new block; its payload is zero-filled when `fill`, else only the slack
// behind the `size` bytes is.
void* new_block(int size, bool fill) {
    if (size < 0 || size > INT_MAX - kOverhead - 3)
        return nullptr;
    const int rounded = (size + 3) & ~3;
    // The byte counter must stay a signed 32-bit number: a block it cannot
    // count is refused before the heap is asked, like one the heap refuses.
    // Every block adds at least 12 bytes, so the block counter, which adds
    // one, can never reach its limit first.
    if (rounded + kOverhead > INT_MAX - g_bytes_in_use)
        return nullptr;
    if (g_fail_at != 0 && injected_failure())
        return nullptr;
    unsigned char* block = take_cached(rounded);
    if (!block)
        block = static_cast<unsigned char*>(malloc(size_t(rounded) + kOverhead));
    if (!block)
        return nullptr;
    g_bytes_in_use += rounded + kOverhead;
    g_blocks_in_use += 1;
    store_word(block, kLeadGuard);
    store_word(block + 4, uint32_t(rounded));
    store_word(block + 8 + rounded, kTrailGuard);
    if (fill)
        zero_payload(block + 8, rounded);
    else if (rounded > 0)
        store_word(block + 8 + rounded - 4, 0);
    return block + 8;
}

} // namespace

void* mem_alloc(int size) {
    return new_block(size, true);
}

void* mem_alloc_unfilled(int size) {
    return new_block(size, false);
}

int mem_free(void* payload) {
    if (!payload)
        return 0;
    unsigned char* block = checked_block(payload);
    const int size = int(load_word(block + 4));
    // The lead guard is cleared, so a second release of the same block stops
    // the process instead of putting it on a free list twice.
    store_word(block, 0);
    if (!keep_cached(block, size))
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

unsigned char* mem_checked_block(void* payload) {
    return checked_block(payload);
}

bool mem_heap_request_fails() {
    return g_fail_at != 0 && injected_failure();
}

void mem_count_resized(int delta) {
    g_bytes_in_use += delta;
}

void mem_frame_block(unsigned char* block, int rounded) {
    store_word(block, kLeadGuard);
    store_word(block + 4, uint32_t(rounded));
    store_word(block + 8 + rounded, kTrailGuard);
}
