// Shared by the fuzz targets: reading fields from the fuzzer's input, the
// check that stops a run when a property breaks, and the guarded-block
// balance every input must keep.
#ifndef EZU_FUZZ_FUZZ_SUPPORT_H
#define EZU_FUZZ_FUZZ_SUPPORT_H

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/strings/strbuf.h"
#include "ezu/strings/tstr.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

// A broken property aborts, which libFuzzer reports as a crash and keeps the
// input that caused it.
[[noreturn]] inline void fuzz_fail(const char* what, const char* file, int line) {
    fprintf(stderr, "fuzz property failed: %s (%s:%d)\n", what, file, line);
    abort();
}

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            fuzz_fail(#cond, __FILE__, __LINE__);                                                  \
    } while (0)

// Reads the input from its front: single bytes and little-endian integers
// for choices, and text fields that end at a zero byte (texts are
// zero-terminated, so a zero byte never belongs to one). Past the end every
// read yields zeros or empty text, so any input is a complete one.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

    bool atEnd() const { return p_ == end_; }

    unsigned byte() { return p_ < end_ ? *p_++ : 0; }

    // A value from lo to hi (inclusive) picked by one byte.
    int pick(int lo, int hi) { return lo + int(byte() % unsigned(hi - lo + 1)); }

    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(byte()) << (8 * i);
        return v;
    }

    uint64_t u64() {
        const uint64_t low = u32();
        return low | uint64_t(u32()) << 32;
    }

    // Bytes up to the next zero byte (which is consumed) or the end.
    std::string field() {
        const uint8_t* start = p_;
        while (p_ < end_ && *p_)
            ++p_;
        std::string text(reinterpret_cast<const char*>(start), size_t(p_ - start));
        if (p_ < end_)
            ++p_;
        return text;
    }

    // Everything not read yet, zero bytes included.
    std::string rest() {
        std::string text(reinterpret_cast<const char*>(p_), size_t(end_ - p_));
        p_ = end_;
        return text;
    }

  private:
    const uint8_t* p_;
    const uint8_t* end_;
};

// Runs one input and stops the process when it leaves guarded blocks behind.
// Process-lifetime caches must be filled before the first input (each target
// does that in LLVMFuzzerInitialize), or their one-time blocks would count.
template <class Body> void fuzz_balanced(Body body) {
    const int blocks = mem_blocks_in_use();
    body();
    if (mem_blocks_in_use() != blocks) {
        fprintf(stderr, "fuzz: %d guarded blocks left behind by this input\n",
                mem_blocks_in_use() - blocks);
        abort();
    }
}

// True when `text` (up to its end or first zero byte) is well-formed UTF-8:
// shortest forms, no surrogates, nothing above U+10FFFF.
inline bool fuzz_valid_utf8(const std::string& text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.c_str());
    while (*p) {
        const unsigned c = *p;
        int n;
        uint32_t code;
        if (c < 0x80) {
            ++p;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            n = 2, code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3, code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4, code = c & 0x07;
        } else {
            return false;
        }
        for (int i = 1; i < n; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = code << 6 | (p[i] & 0x3F);
        }
        const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[n] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += n;
    }
    return true;
}

// The text up to its first zero byte, as a zero-terminated string holds it.
inline std::string fuzz_until_zero(const std::string& text) {
    return std::string(text.c_str());
}

// A buffer holding the bytes of `text` up to its first zero byte exactly as
// they stand, malformed UTF-8 included (the constructors would convert it).
inline StrBuf* fuzz_raw_buf(const std::string& text) {
    StrBuf* buf = str_new();
    FUZZ_CHECK(buf);
    const size_t n = strlen(text.c_str());
    FUZZ_CHECK(str_resize(buf, int(n + 1)));
    memcpy(buf->data, text.c_str(), n + 1);
    return buf;
}

inline TStr fuzz_raw_str(const std::string& text) {
    return TStr::adopt(fuzz_raw_buf(text));
}

// The bytes of a string; empty for the null state.
inline std::string fuzz_bytes(const TStr& s) {
    return s.isNull() ? std::string() : std::string(s.buffer()->data);
}

inline std::string fuzz_bytes(const StrBuf* buf) {
    return str_is_null(buf) ? std::string() : std::string(buf->data);
}

// The characters of a zero-terminated text, each as long as its lead byte
// says but never reaching over the terminator.
inline std::vector<std::string> fuzz_characters(const std::string& text) {
    std::vector<std::string> out;
    const char* p = text.c_str();
    while (*p) {
        size_t n = 1;
        const size_t step = size_t(str_utf8_seq_len((unsigned char)*p));
        while (n < step && p[n])
            ++n;
        out.emplace_back(p, n);
        p += n;
    }
    return out;
}

#endif
