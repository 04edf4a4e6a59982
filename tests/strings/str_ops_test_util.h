// Shared helpers of the text-operation tests.
#ifndef EZU_TESTS_STRINGS_STR_OPS_TEST_UTIL_H
#define EZU_TESTS_STRINGS_STR_OPS_TEST_UTIL_H

#include "ezu/core/encoding.h"
#include "ezu/strings/strbuf.h"
#include "ezu/strings/tstr.h"

#include <ostream>
#include <string.h>
#include <string>

// File-local to each test file, so that helpers of the same name elsewhere in
// the test program cannot clash with these.
namespace {

// Owns a lower-tier record for the length of a test.
class Buf {
  public:
    explicit Buf(StrBuf* buf) : buf_(buf) {}
    ~Buf() { str_free(buf_); }
    Buf(const Buf&) = delete;
    Buf& operator=(const Buf&) = delete;
    StrBuf* get() const { return buf_; }
    operator StrBuf*() const { return buf_; }
    StrBuf* operator->() const { return buf_; }

  private:
    StrBuf* buf_;
};

// The bytes of a record as a std::string; "<none>" for no record and
// "<null>" for the null state, so both show up in failure messages.
inline std::string text_of(const StrBuf* buf) {
    if (!buf)
        return "<none>";
    return buf->data ? std::string(buf->data) : std::string("<null>");
}

// A TStr holding the given UTF-8 bytes (the const char* constructor would
// turn each byte above 127 into "?").
inline TStr u8(const char* text) {
    return TStr(text, int(strlen(text)), ENC_UTF8);
}

} // namespace

// Lets failure messages show the text of a TStr (found by argument lookup,
// so it lives beside TStr in the global namespace).
inline void PrintTo(const TStr& s, std::ostream* os) {
    const StrBuf* buf = s.buffer();
    *os << '\'' << (buf->data ? buf->data : "<null>") << '\'';
}

#endif
