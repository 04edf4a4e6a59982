// One-pass conversion into an exactly sized block.
#include "ezu/strings/strbuf_once.h"

#include "ezu/core/encoding.h"
#include "ezu/core/encoding_measured.h"
#include "ezu/core/mem.h"
#include "ezu/core/mem_internal.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

namespace {

// The last-error record, put back when the one pass gives up: the road the
// caller takes instead makes its own reports.
struct SavedError {
    int code = str_error_code();
    const char* message = str_error_message();
    int line = str_error_line();
    const char* file = str_error_file();
    void restore() const { str_set_error(code, message, line, file); }
};

// The largest block that shrinks to the exact size where it lies. A larger
// one is copied into an exact block and released whole: the heap keeps a
// large block it gets back whole for the next request of that size, whereas
// a shrunk one goes back to the system, and every conversion after it would
// map and fault in a fresh one.
const long long kShrinkInPlaceLimit = 256 * 1024;

} // namespace

char* str_convert_once(const void* data, int nbytes, int from, int to, long long bound, int front,
                       int back, int* size, bool* out_of_memory, bool no_zero_inside) {
    *out_of_memory = false;
    if (bound <= 0 || bound + front + back > INT_MAX - 16)
        return nullptr;
    const SavedError saved;
    // Every byte of the block is written below, so it is not zero-filled
    // first.
    char* block = static_cast<char*>(mem_alloc_unfilled(int(bound) + front + back));
    if (!block) {
        *out_of_memory = true;
        return nullptr;
    }
    int measured = 0;
    if (!str_convert_measured(data, nbytes, from, block + front, int(bound) + back, to, &measured,
                              no_zero_inside) ||
        measured > bound) {
        mem_free(block);
        saved.restore();
        return nullptr;
    }
    // The conversion wrote the text and one terminator; the size of a text
    // that ended at a zero character counts a second terminator.
    const int unit = str_encodings[to].terminator_size;
    memset(block, 0, size_t(front));
    memset(block + front + measured - unit, 0, size_t(unit + back));
    if (measured < bound) {
        const int exact_size = measured + front + back;
        char* exact = nullptr;
        if (bound + front + back <= kShrinkInPlaceLimit) {
            exact = static_cast<char*>(mem_resize(block, exact_size));
        } else {
            exact = static_cast<char*>(mem_alloc_unfilled(exact_size));
            if (exact) {
                memcpy(exact, block, size_t(exact_size));
                mem_free(block);
                block = nullptr;
            }
        }
        if (!exact) {
            mem_free(block);
            saved.restore();
            *out_of_memory = true;
            return nullptr;
        }
        block = exact;
    }
    *size = measured;
    return block;
}

namespace {

// The scratch area: plain heap memory, grown on demand up to the cap and
// kept for the life of the process (the framework runs on one thread).
const long long kScratchCap = 512 * 1024;
unsigned char* g_scratch = nullptr;
long long g_scratch_size = 0;

unsigned char* scratch(long long size) {
    if (size > g_scratch_size) {
        unsigned char* grown = static_cast<unsigned char*>(realloc(g_scratch, size_t(size)));
        if (!grown)
            return nullptr;
        g_scratch = grown;
        g_scratch_size = size;
    }
    return g_scratch;
}

} // namespace

char* str_convert_via_scratch(const void* data, int nbytes, int from, int to, long long bound,
                              int front, int back, int* size, bool* out_of_memory,
                              bool no_zero_inside) {
    *out_of_memory = false;
    unsigned char* area =
        bound > 0 && bound + back <= kScratchCap ? scratch(bound + back) : nullptr;
    if (!area)
        return str_convert_once(data, nbytes, from, to, bound, front, back, size, out_of_memory,
                                no_zero_inside);
    const SavedError saved;
    int measured = 0;
    if (!str_convert_measured(data, nbytes, from, area, int(bound) + back, to, &measured,
                              no_zero_inside) ||
        measured > bound) {
        saved.restore();
        return nullptr;
    }
    char* block = static_cast<char*>(mem_alloc(measured + front + back));
    if (!block) {
        saved.restore();
        *out_of_memory = true;
        return nullptr;
    }
    // The text and its terminator; a text that ended at a zero character is
    // sized with room for that character too, which stays zero.
    const int terminator = str_encodings[to].terminator_size;
    memcpy(block + front, area, size_t(measured - terminator));
    *size = measured;
    return block;
}
