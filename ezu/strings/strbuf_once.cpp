// One-pass conversion into an exactly sized block.
#include "ezu/strings/strbuf_once.h"

#include "ezu/core/encoding.h"
#include "ezu/core/encoding_measured.h"
#include "ezu/core/mem.h"

#include <limits.h>
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

} // namespace

char* str_convert_once(const void* data, int nbytes, int from, int to, long long bound, int front,
                       int back, int* size, bool* out_of_memory) {
    *out_of_memory = false;
    if (bound <= 0 || bound + front + back > INT_MAX - 16)
        return nullptr;
    const SavedError saved;
    char* block = static_cast<char*>(mem_alloc(int(bound) + front + back));
    if (!block) {
        *out_of_memory = true;
        return nullptr;
    }
    int measured = 0;
    if (!str_convert_measured(data, nbytes, from, block + front, int(bound) + back, to,
                              &measured) ||
        measured > bound) {
        mem_free(block);
        saved.restore();
        return nullptr;
    }
    if (measured < bound) {
        char* exact = static_cast<char*>(mem_alloc(measured + front + back));
        if (exact)
            memcpy(exact + front, block + front, size_t(measured));
        mem_free(block);
        if (!exact) {
            saved.restore();
            *out_of_memory = true;
            return nullptr;
        }
        block = exact;
    }
    *size = measured;
    return block;
}
