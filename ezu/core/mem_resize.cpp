// Resizing a guarded block: the heap grows or shrinks it in place where it
// can, so a text that grows piece by piece is not copied on every step.
#include "ezu/core/mem.h"

#include "ezu/core/mem_internal.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace {

const int kOverhead = 12; // lead guard, size word, trail guard

} // namespace

void* mem_resize(void* payload, int size) {
    if (!payload)
        return mem_alloc(size);
    unsigned char* block = mem_checked_block(payload);
    if (size < 0 || size > INT_MAX - kOverhead - 3)
        return nullptr;
    int old_rounded;
    memcpy(&old_rounded, block + 4, sizeof old_rounded);
    const int rounded = (size + 3) & ~3;
    const int delta = rounded - old_rounded;
    // A growth the bytes counter cannot hold is refused like a heap refusal.
    if (delta > 0 && mem_bytes_in_use() > INT_MAX - delta)
        return nullptr;
    if (mem_heap_request_fails())
        return nullptr;
    if (rounded != old_rounded) {
        unsigned char* moved =
            static_cast<unsigned char*>(realloc(block, size_t(rounded) + kOverhead));
        if (!moved)
            return nullptr;
        block = moved;
        mem_frame_block(block, rounded);
        mem_count_resized(delta);
    }
    // Everything behind the kept bytes reads as zero, the old trailing guard
    // of a grown block included.
    const int kept = size < old_rounded ? size : old_rounded;
    memset(block + 8 + kept, 0, size_t(rounded - kept));
    return block + 8;
}
