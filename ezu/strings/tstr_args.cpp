// TStr::args: the one-pass substitution of several values.
#include "ezu/strings/tstr.h"

TStr TStr::args(std::initializer_list<TStr> values) const {
    const StrBuf* buffers[9];
    int count = 0;
    for (const TStr& value : values) {
        if (count == 9)
            break;
        buffers[count++] = value.buffer();
    }
    StrBuf* result = str_args(buf_, buffers, count);
    return result ? TStr::adopt(result) : TStr();
}
