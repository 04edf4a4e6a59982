// TStr construction, assignment, queries, comparison and concatenation.
#include "ezu/strings/tstr.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/strings/str_ops_internal.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

TStr::TStr() : buf_(str_new()), view_(nullptr) {}

TStr::TStr(const char* text) : buf_(str_from_ascii(text)), view_(nullptr) {}

TStr::TStr(char c) : buf_(nullptr), view_(nullptr) {
    const char text[2] = {c, 0};
    buf_ = str_from_bytes(text, 1, ENC_ASCII);
}

TStr::TStr(unsigned code) : buf_(nullptr), view_(nullptr) {
    const uint32_t unit = code;
    buf_ = str_from_bytes(&unit, int(sizeof unit), ENC_UTF32);
}

namespace {
void* fresh_end(const StrBuf* buf);
} // namespace

TStr::TStr(const void* data, int nbytes, int encoding)
    : buf_(str_from_bytes(data, nbytes, encoding)), view_(fresh_end(buf_)) {}

TStr::TStr(const TStr& other) : buf_(str_dup(other.buf_)), view_(nullptr) {}

TStr::TStr(StrBuf* buf, Adopt) : buf_(buf ? buf : str_new()), view_(nullptr) {}

TStr::~TStr() {
    releaseView(view_);
    str_free(buf_);
}

TStr TStr::adopt(StrBuf* buf) {
    return TStr(buf, Adopt());
}

// Every change of the text passes here, so this is where changes are counted.
void TStr::dropView() {
    releaseView(view_);
    view_ = nullptr;
    ++changes_;
}

// The text ends up as str_dup would make it: the other's bytes as they stand
// in a block of exactly their size. The record is kept, and so is the block
// when it already has exactly that size, since it then ends up byte for byte
// as a new one would.
TStr& TStr::operator=(const TStr& other) {
    if (this == &other || !other.buf_)
        return *this;
    const char* text = other.buf_->data ? other.buf_->data : "";
    const size_t size = strlen(text) + 1;
    if (size_t(buf_->capacity) == size) {
        dropView();
        memcpy(buf_->data, text, size);
        return *this;
    }
    if (size > size_t(INT_MAX))
        return *this;
    // Copy first: the other string may be a part of this one's owner.
    char* block = static_cast<char*>(mem_alloc(int(size)));
    if (!block)
        return *this;
    memcpy(block, text, size);
    dropView();
    mem_free(buf_->data);
    buf_->data = block;
    buf_->capacity = int(size);
    return *this;
}

bool TStr::assignEncoded(const void* data, int nbytes, int encoding) {
    // The source may be this string's own view: keep it alive until the new
    // text is in place.
    void* old_view = view_;
    view_ = nullptr;
    ++changes_;
    str_assign_bytes(buf_, data, nbytes, encoding);
    releaseView(old_view);
    return true;
}

TStr& TStr::assign(const char* text, int nbytes) {
    if (text && nbytes < 0)
        nbytes = int(strlen(text));
    assignEncoded(text, nbytes, ENC_ASCII);
    return *this;
}

bool TStr::assignUtf8(const char* text) {
    return assignEncoded(text, text ? int(strlen(text)) : 0, ENC_UTF8);
}

bool TStr::assignUtf16bom(const void* data, int nbytes) {
    return assignEncoded(data, nbytes, ENC_UTF16);
}

bool TStr::assignUtf16be(const void* data, int nbytes) {
    return assignEncoded(data, nbytes, ENC_UTF16BE);
}

bool TStr::assignUtf16le(const void* data, int nbytes) {
    return assignEncoded(data, nbytes, ENC_UTF16LE);
}

bool TStr::assignUtf32(const void* data, int nbytes) {
    return assignEncoded(data, nbytes, ENC_UTF32);
}

int TStr::length() const {
    return str_length(buf_);
}

bool TStr::isEmpty() const {
    return str_is_empty(buf_);
}

bool TStr::isNull() const {
    return str_is_null(buf_);
}

int TStr::charAt(int i) const {
    return str_char_at(buf_, i);
}

int TStr::hash() const {
    return str_hash(buf_);
}

bool TStr::operator==(const TStr& other) const {
    return str_compare(buf_, other.buf_) == 0;
}

bool TStr::operator!=(const TStr& other) const {
    return str_compare(buf_, other.buf_) != 0;
}

bool TStr::operator==(const char* text) const {
    return str_compare_text(buf_, text) == 0;
}

bool TStr::operator!=(const char* text) const {
    return str_compare_text(buf_, text) != 0;
}

bool operator==(const char* text, const TStr& str) {
    return str == text;
}

bool operator!=(const char* text, const TStr& str) {
    return str != text;
}

namespace {

// The view slot holds either a view block or, after an append or a
// construction from bytes, the byte length of the text shifted left with the
// low bit set (a block's address is a multiple of 4). It is remembered only
// when the text's last character is whole: stepping over the characters from
// the start ends exactly at the terminator. Every change of the text drops it as it drops a view, so the
// next append starts at the end without measuring the text again.
bool holds_end(const void* view) {
    return (reinterpret_cast<uintptr_t>(view) & 1) != 0;
}

void* end_memo(size_t bytes) {
    return reinterpret_cast<void*>((uintptr_t(bytes) << 1) | 1);
}

// The end of a text just converted into a block of its own, which it fills
// exactly: the block holds the text and its terminator, so the text is one
// byte shorter than the block unless it ended at a zero character (then two
// zeros close it and nothing is remembered). Converted text ends with a whole
// character.
void* fresh_end(const StrBuf* buf) {
    if (!buf || !buf->data || buf->capacity < 2 || buf->data[buf->capacity - 2] == 0)
        return nullptr;
    return end_memo(size_t(buf->capacity) - 1);
}

// True when stepping over the characters of the `n` bytes at `text` (no zero
// among them) ends exactly at its end.
bool ends_whole(const char* text, size_t n) {
    size_t i = 0;
    while (i < n)
        i += size_t(str_utf8_seq_len(static_cast<unsigned char>(text[i])));
    return i == n;
}

// True when every byte of the zero-terminated `text` is 7-bit; `*n` gets its
// length.
bool is_7bit(const char* text, size_t* n) {
    const char* p = text;
    for (; *p; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    }
    *n = size_t(p - text);
    return true;
}

} // namespace

void TStr::releaseView(void* view) {
    if (!holds_end(view))
        mem_free(view);
}

// The byte length of the text and whether its last character is whole, from
// the remembered end when there is one. Without it, the last character is
// known to be whole when the last five bytes are 7-bit (a lead byte further
// back spans at most six bytes and so ends inside the text); otherwise the
// characters are stepped over once from the start, after which the end is
// remembered again.
size_t TStr::textEnd(bool* whole) const {
    if (holds_end(view_)) {
        const size_t end = reinterpret_cast<uintptr_t>(view_) >> 1;
        // A cheap check that the text still ends there.
        if (end < size_t(buf_->capacity) && buf_->data[end] == 0) {
            *whole = true;
            return end;
        }
    }
    const size_t length = strlen(buf_->data);
    const size_t tail = length < 5 ? length : 5;
    *whole = true;
    for (size_t i = length - tail; i < length; ++i) {
        if (static_cast<unsigned char>(buf_->data[i]) >= 0x80) {
            *whole = ends_whole(buf_->data, length);
            break;
        }
    }
    return length;
}

// Appends the `n` bytes of `text` (not inside this string's block) as
// str_append would, when that is a plain copy to the end: the string has a
// block and its last character is whole. Then the characters of the result
// are those of the two parts, so str_append's cut after old length plus count
// changes nothing. Returns false, changing nothing, when the general road
// must be taken. `text_whole` tells whether the text's own last character is
// whole, which the result's then is.
bool TStr::appendPlain(const char* text, size_t n, bool text_whole) {
    if (!buf_->data || !n)
        return false;
    bool whole = false;
    const size_t length = textEnd(&whole);
    if (!whole)
        return false;
    // The block grows by exactly what the text needs plus one byte; a block
    // that cannot grow keeps the text, as with str_append.
    const long long capacity = (long long)buf_->capacity + (long long)n + 1;
    if (capacity <= INT_MAX - 16 && str_resize(buf_, int(capacity))) {
        memcpy(buf_->data + length, text, n + 1);
        dropView();
        if (text_whole)
            view_ = end_memo(length + n);
    }
    return true;
}

TStr& TStr::append(const TStr& other) {
    // A string whose record could not be made has no buffer: the general
    // road treats it as the null state.
    const char* text = other.buf_ ? other.buf_->data : nullptr;
    if (other.buf_ != buf_ && text) {
        const size_t n = strlen(text);
        if (appendPlain(text, n, ends_whole(text, n)))
            return *this;
    }
    dropView();
    str_append(buf_, other.buf_);
    return *this;
}

// Starts at the text's remembered end where there is one, as the appends do.
TStr& TStr::appendWithSeparator(const TStr& other, const TStr& separator) {
    const bool plain =
        buf_->data && other.buf_ != buf_ && separator.buf_ != buf_ && !str_is_empty(other.buf_);
    if (!plain) {
        dropView();
        str_append_sep(buf_, other.buf_, separator.buf_);
        return *this;
    }
    bool whole = false;
    const size_t end = textEnd(&whole);
    const char* sep = separator.buf_ && separator.buf_->data ? separator.buf_->data : nullptr;
    const size_t new_end =
        str_ops_append_range_at(buf_, end, other.buf_->data, strlen(other.buf_->data), sep);
    dropView();
    if (whole && ends_whole(buf_->data + end, new_end - end))
        view_ = end_memo(new_end);
    return *this;
}

TStr& TStr::operator+=(const TStr& other) {
    return append(other);
}

// 7-bit text reads back unchanged in encoding 0, so it can be appended as
// it stands.
// The text may be this string's own view (dropped only once it has been
// read) or lie in its own block (which growing releases: the general road
// copies it first).
TStr& TStr::operator+=(const char* text) {
    size_t n = 0;
    const uintptr_t at = reinterpret_cast<uintptr_t>(text);
    const uintptr_t start = reinterpret_cast<uintptr_t>(buf_->data);
    const bool in_block = buf_->data && at >= start && at < start + uintptr_t(buf_->capacity);
    if (text && !in_block && is_7bit(text, &n) && n && appendPlain(text, n, true))
        return *this;
    return append(TStr(text));
}

// One character in encoding 0: a byte above 127 becomes "?".
TStr& TStr::operator+=(char c) {
    const char text[2] = {static_cast<unsigned char>(c) >= 0x80 ? '?' : c, 0};
    if (c && appendPlain(text, 1, true))
        return *this;
    return append(TStr(c));
}

TStr& TStr::operator+=(unsigned code) {
    return append(TStr(code));
}

TStr TStr::operator+(const TStr& other) const {
    TStr result(*this);
    result.append(other);
    return result;
}

TStr TStr::operator+(const char* text) const {
    TStr result(*this);
    result += text;
    return result;
}

TStr TStr::operator+(char c) const {
    TStr result(*this);
    result += c;
    return result;
}

TStr TStr::operator+(unsigned code) const {
    TStr result(*this);
    result += code;
    return result;
}

char* TStr::reserve(int n) {
    dropView();
    return str_reserve(buf_, n);
}

TStr ezuFromWide(const EzuWChar* text) {
    if (!text)
        return TStr();
    long long units = 0;
    while (text[units])
        ++units;
    // Twice the unit count must stay a valid byte count.
    if (units > (INT_MAX - 2) / 2)
        return TStr();
    return TStr(text, int(units * 2), ENC_UTF16LE);
}
