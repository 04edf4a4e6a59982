// Small helpers shared by the io tests.
#ifndef EZU_TESTS_IO_IO_TEST_UTIL_H
#define EZU_TESTS_IO_IO_TEST_UTIL_H

#include "ezu/ezu.h"

#include <string>

// Owns a StrBuf for the length of a test, so that a failing check does not
// turn into a leak report as well.
class Buf {
  public:
    explicit Buf(StrBuf* buf) : buf_(buf) {}
    // UTF-8 text.
    explicit Buf(const char* text) : buf_(str_from_utf8(text)) {}
    ~Buf() { str_free(buf_); }
    Buf(const Buf&) = delete;
    Buf& operator=(const Buf&) = delete;

    StrBuf* get() const { return buf_; }
    operator StrBuf*() const { return buf_; }
    // The text, or "<null>" for the null state (never equal to a real text).
    std::string text() const { return str_is_null(buf_) ? "<null>" : std::string(buf_->data); }

  private:
    StrBuf* buf_;
};

inline std::string textOf(const TStr& s) {
    return s.isNull() ? "<null>" : std::string(s.buffer()->data);
}

// A TStr (or path) from UTF-8 text: the const char* constructors read 7-bit.
inline TStr utf8(const std::string& text) {
    TStr result;
    result.assignUtf8(text.c_str());
    return result;
}

// The 7-bit form of UTF-8 text: each character above 127 is one "?".
inline std::string asciiOf(const std::string& text) {
    std::string result;
    for (unsigned char c : text) {
        if (c < 0x80)
            result += char(c);
        else if (c >= 0xC0)
            result += '?';
    }
    return result;
}

// The current directory followed by `rest` with one separator at the seam.
inline std::string currentDirJoined(const std::string& rest) {
    Buf cwd(fs_current_dir());
    std::string dir = cwd.text();
    if (!dir.empty() && dir.back() == '\\' && rest[0] == '\\')
        return dir + rest.substr(1);
    if (dir.back() == '\\' || rest[0] == '\\')
        return dir + rest;
    return dir + "\\" + rest;
}

#endif
