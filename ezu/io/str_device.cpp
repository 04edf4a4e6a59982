// TEzuStrIODevice: reads a TStr through its 7-bit view, where each character
// is one byte, and appends UTF-8 to it. The view's length and the byte offset
// of the read position are remembered while the target is unchanged, so a
// reading loop does not measure or walk the whole text on every call; text
// appended by anybody is still readable at once, since any change makes the
// device measure again.
#include "ezu/io/device.h"

#include "ezu/core/encoding.h"

#include <string.h>

namespace {

// Bytes of the character at `p`, never stepping over the terminator: the
// same step as the string's own character positions.
int char_bytes(const char* p) {
    const unsigned char lead = static_cast<unsigned char>(*p);
    if (lead < 0x80)
        return 1;
    const int n = str_utf8_seq_len(lead);
    int j = 1;
    while (j < n && p[j])
        ++j;
    return j;
}

// Character 0 ends a text: a sequence that reads as it cannot be appended.
bool reads_as_zero(const unsigned char* bytes, int n) {
    uint32_t code = 1;
    str_encodings[ENC_UTF8].decode(bytes, n, &code, nullptr);
    return code == 0;
}

const char* text_of(const TStr* target) {
    const StrBuf* buf = target->buffer();
    return str_is_null(buf) ? "" : buf->data;
}

} // namespace

TEzuStrIODevice::TEzuStrIODevice(TStr* target)
    : target_(target), position_(0), mode_(0), known_(false), clean_(false), seenData_(nullptr),
      seenCapacity_(0), seenChanges_(0), length_(0), bytes_(0), placeChar_(0), placeByte_(0),
      backByte_(-1), held_(), heldCount_(0) {}

TEzuStrIODevice::TEzuStrIODevice(TStr& target) : TEzuStrIODevice(&target) {}

TEzuStrIODevice::~TEzuStrIODevice() {
    if (heldCount_ > 0)
        endHeldCharacter();
}

bool TEzuStrIODevice::open(int mode) {
    mode_ = mode;
    return true;
}

void TEzuStrIODevice::close() {
    if (heldCount_ > 0)
        endHeldCharacter();
}

bool TEzuStrIODevice::unchanged() const {
    const StrBuf* buf = target_->buffer();
    return target_->changeCount() == seenChanges_ && (buf ? buf->data : nullptr) == seenData_ &&
           (buf ? buf->capacity : 0) == seenCapacity_;
}

void TEzuStrIODevice::remember() {
    const StrBuf* buf = target_->buffer();
    seenChanges_ = target_->changeCount();
    seenData_ = buf ? buf->data : nullptr;
    seenCapacity_ = buf ? buf->capacity : 0;
}

// Measures the view and checks that it holds every character of the text
// (a last character cut short, or one that reads as character 0, leaves it
// shorter): only then does appended text add its own characters and leave
// the earlier ones as they were.
void TEzuStrIODevice::sync() {
    if (known_ && unchanged())
        return;
    const char* view = target_->ascii();
    length_ = view ? int(strlen(view)) : 0;
    int chars = 0;
    const char* text = text_of(target_);
    const char* p = text;
    for (; *p; ++chars)
        p += char_bytes(p);
    bytes_ = int(p - text);
    clean_ = chars == length_;
    placeChar_ = 0;
    placeByte_ = 0;
    backByte_ = -1;
    remember();
    known_ = true;
}

// Steps forward from the remembered place, or one character back from it
// after a single ungetc; any other step back starts from the beginning.
int TEzuStrIODevice::byteOf(int index) {
    if (index < placeChar_) {
        if (index == placeChar_ - 1 && backByte_ >= 0) {
            placeByte_ = backByte_;
            --placeChar_;
        } else {
            placeChar_ = 0;
            placeByte_ = 0;
        }
        backByte_ = -1;
    }
    const char* text = text_of(target_);
    while (placeChar_ < index) {
        backByte_ = placeByte_;
        placeByte_ += char_bytes(text + placeByte_);
        ++placeChar_;
    }
    return placeByte_;
}

void TEzuStrIODevice::appendText(const char* bytes, int count) {
    const TStr piece(bytes, count, ENC_UTF8);
    const bool keep = known_ && clean_ && unchanged();
    target_->append(piece);
    const char* added = text_of(&piece);
    appended(keep, piece.length(), int(strlen(added)));
}

// The text now ends `bytes` further on when the append went through; a
// refused one (no memory) leaves it where it was, and the device measures
// again.
void TEzuStrIODevice::appended(bool keep, int chars, int bytes) {
    const StrBuf* buf = target_->buffer();
    const int end = bytes_ + bytes;
    if (keep && !str_is_null(buf) && end < buf->capacity && buf->data[end] == 0 &&
        (bytes == 0 || buf->data[end - 1] != 0)) {
        length_ += chars;
        bytes_ = end;
        remember();
    } else {
        known_ = false;
    }
}

void TEzuStrIODevice::endHeldCharacter() {
    heldCount_ = 0;
    appendText("?", 1);
}

int TEzuStrIODevice::textPrefix(const unsigned char* bytes, int count, int* held) {
    *held = 0;
    int pos = 0;
    while (pos < count) {
        const unsigned char lead = bytes[pos];
        if (lead == 0)
            break;
        if (lead < 0x80) {
            ++pos;
            continue;
        }
        const int n = str_utf8_seq_len(lead);
        if (n > count - pos) {
            *held = count - pos;
            break;
        }
        if (reads_as_zero(bytes + pos, n))
            break;
        pos += n;
    }
    return pos;
}

int TEzuStrIODevice::read(void* data, int count) {
    if (!(mode_ & ioRead) || !data)
        return 0;
    sync();
    int n = length_ - position_;
    if (count < n)
        n = count;
    if (n <= 0)
        return 0;
    const char* view = target_->ascii();
    if (!view)
        return 0;
    memcpy(data, view + position_, size_t(n));
    position_ += n;
    return n;
}

// A held character is completed first by this write's leading bytes; the
// rest is appended up to the first byte that can never be text, and a
// character cut off at the end is held in turn.
int TEzuStrIODevice::write(const void* data, int count) {
    // A negative count accepts nothing; it must not reach the converter as a
    // size.
    if (!data || count <= 0)
        return 0;
    const unsigned char* in = static_cast<const unsigned char*>(data);
    int used = 0;
    if (heldCount_ > 0) {
        const int need = str_utf8_seq_len(held_[0]) - heldCount_;
        const int take = count < need ? count : need;
        memcpy(held_ + heldCount_, in, size_t(take));
        if (take < need) {
            heldCount_ += take;
            return count;
        }
        // Completed into character 0: refused, and the held bytes wait on.
        if (reads_as_zero(held_, heldCount_ + need))
            return 0;
        appendText(reinterpret_cast<const char*>(held_), heldCount_ + need);
        heldCount_ = 0;
        used = need;
    }
    int held = 0;
    const int text = textPrefix(in + used, count - used, &held);
    if (text > 0)
        appendText(reinterpret_cast<const char*>(in + used), text);
    if (held > 0) {
        memcpy(held_, in + used + text, size_t(held));
        heldCount_ = held;
        return count;
    }
    return used + text;
}

int TEzuStrIODevice::getc() {
    sync();
    if (position_ >= length_)
        return -1;
    const int at = byteOf(position_++);
    return int(static_cast<signed char>(text_of(target_)[at]));
}

// Ends a held character first, so that the bytes stay in order.
int TEzuStrIODevice::putc(int c) {
    if (heldCount_ > 0)
        endHeldCharacter();
    const bool keep = known_ && clean_ && unchanged();
    *target_ += char(c);
    const int added = (c & 0xFF) ? 1 : 0;
    appended(keep, added, added);
    return c;
}

int TEzuStrIODevice::ungetc(int c) {
    if (position_ == 0)
        return -1;
    --position_;
    return c;
}

int TEzuStrIODevice::atEnd() {
    sync();
    return position_ >= length_;
}
