// TEzuStrIODevice: reads a TStr through its 7-bit view, where each character
// is one byte, and appends to it. The view is taken anew by every call, so
// text appended by anybody is readable at once.
#include "ezu/io/device.h"

#include "ezu/core/encoding.h"

#include <string.h>

namespace {

// The target's 7-bit view and its length in bytes (= its characters).
const char* view_of(const TStr* target, int* length) {
    const char* view = target->ascii();
    if (!view)
        view = "";
    *length = int(strlen(view));
    return view;
}

} // namespace

TEzuStrIODevice::TEzuStrIODevice(TStr* target) : target_(target), position_(0), mode_(0) {}

TEzuStrIODevice::TEzuStrIODevice(TStr& target) : TEzuStrIODevice(&target) {}

TEzuStrIODevice::~TEzuStrIODevice() {}

bool TEzuStrIODevice::open(int mode) {
    mode_ = mode;
    return true;
}

void TEzuStrIODevice::close() {}

int TEzuStrIODevice::read(void* data, int count) {
    if (!(mode_ & ioRead) || !data)
        return 0;
    int length = 0;
    const char* view = view_of(target_, &length);
    int n = length - position_;
    if (count < n)
        n = count;
    if (n <= 0)
        return 0;
    memcpy(data, view + position_, size_t(n));
    position_ += n;
    return n;
}

int TEzuStrIODevice::write(const void* data, int count) {
    // A negative count accepts nothing; it must not reach the converter as a
    // size.
    if (!data || count <= 0)
        return 0;
    target_->append(TStr(data, count, ENC_UTF8));
    return count;
}

int TEzuStrIODevice::getc() {
    if (atEnd())
        return -1;
    return target_->charAt(position_++);
}

int TEzuStrIODevice::putc(int c) {
    *target_ += char(c);
    return c;
}

int TEzuStrIODevice::ungetc(int c) {
    if (position_ == 0)
        return -1;
    --position_;
    return c;
}

int TEzuStrIODevice::atEnd() {
    int length = 0;
    view_of(target_, &length);
    return position_ >= length;
}
