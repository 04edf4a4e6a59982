#include "ezu/host/command.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "ezu/core/mem.h"
#include "ezu/io/ezupath.h"
#include "ezu/platform/platform.h"

bool ezuQuiet = false;

namespace {

// One read brings at most 127 characters, as a 128-byte chunk with its
// terminator would.
const int kChunk = 127;

// The child's bytes, gathered in a guarded block that doubles when full, so
// that a long output is copied a bounded number of times instead of once per
// chunk.
class Capture {
  public:
    ~Capture() { mem_free(data_); }

    // Room for one more chunk at the end, or null when the block cannot grow
    // (the heap refuses or the size would pass what an int counts).
    char* room() {
        if (capacity_ - length_ >= kChunk)
            return data_ + length_;
        if (capacity_ > INT_MAX / 2)
            return nullptr;
        const int grown = capacity_ < 4096 ? 4096 : capacity_ * 2;
        char* block = static_cast<char*>(mem_alloc(grown));
        if (block == nullptr)
            return nullptr;
        if (length_ > 0)
            memcpy(block, data_, size_t(length_));
        mem_free(data_);
        data_ = block;
        capacity_ = grown;
        return data_ + length_;
    }

    // Takes `count` bytes just read into room(). The text is zero-terminated,
    // so a zero byte cannot stay: it becomes "?", as a byte above 127 does,
    // and the text after it is kept.
    void took(int count) {
        char* at = data_ + length_;
        for (char* zero = static_cast<char*>(memchr(at, 0, size_t(count))); zero != nullptr;
             zero = static_cast<char*>(memchr(zero, 0, size_t(at + count - zero))))
            *zero = '?';
        length_ += count;
    }

    // Hands the bytes over as 7-bit text in one conversion.
    void handOver(TStr& output) const {
        if (length_ > 0)
            output.assign(data_, length_);
    }

  private:
    char* data_ = nullptr;
    int capacity_ = 0;
    int length_ = 0;
};

} // namespace

int ezuRunCommand(TStr command, TStr& output) {
    output = ezuEmptyStr;
    const TStr line = TStr("%1 2>&1").arg(command);
    // The command goes to the interpreter as UTF-8, so that names of files
    // with characters above 127 reach it intact; what comes back is read as
    // 7-bit text (bytes above 127 become "?").
    const StrBuf* text = line.buffer();
    FILE* pipe = plat_popen(text != nullptr && text->data != nullptr ? text->data : "", "r");
    if (pipe == nullptr)
        return 0;
    // A read error ends the loop like the end. When the block cannot grow,
    // the rest is still read (and dropped), so that the child can finish.
    Capture capture;
    char spill[kChunk];
    for (;;) {
        char* room = capture.room();
        const size_t count = fread(room != nullptr ? room : spill, 1, kChunk, pipe);
        if (room != nullptr)
            capture.took(int(count));
        if (count < size_t(kChunk))
            break;
    }
    capture.handOver(output);
    return plat_pclose(pipe);
}

bool ezuPathExists(TStr path) {
    TEzuPath candidate(path);
    return candidate.exists();
}

void ezuPrint(TStr text) {
    if (ezuQuiet)
        return;
    const char* bytes = text.ascii();
    if (bytes == nullptr)
        return;
    fputs(bytes, stdout);
    // Flushed at once, so that messages keep their place among the output of
    // child processes writing to the same console.
    fflush(stdout);
}
