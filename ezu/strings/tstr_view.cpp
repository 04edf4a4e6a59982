// TStr encoded views and exports.
//
// The view is a one-entry cache: a guarded block holding the encoding number
// (4 bytes), the text converted into that encoding with its terminator, and
// one spare zero byte. It is reused while the text is unchanged and the same
// encoding is asked for, so repeated calls into the run-time's narrow or the
// system's wide functions convert a string once.
#include "ezu/strings/tstr.h"

#include "ezu/core/encoding.h"
#include "ezu/core/encoding_fast.h"
#include "ezu/core/mem.h"
#include "ezu/strings/strbuf_once.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

namespace {

const int kHeader = 4; // the encoding number in front of the view text

} // namespace

const void* TStr::view(int encoding) const {
    // A remembered end of the text is no view, but it gives the text's
    // length (still the text's end while the byte there is its terminator).
    size_t known = SIZE_MAX;
    if (view_ && (reinterpret_cast<uintptr_t>(view_) & 1)) {
        const size_t end = reinterpret_cast<uintptr_t>(view_) >> 1;
        if (buf_->data && end < size_t(buf_->capacity) && buf_->data[end] == 0)
            known = end;
        view_ = nullptr;
    }
    if (view_) {
        int32_t stored;
        memcpy(&stored, view_, sizeof stored);
        if (stored == encoding)
            return static_cast<char*>(view_) + kHeader;
        mem_free(view_);
        view_ = nullptr;
    }
    if (!str_encoding_valid(encoding))
        return nullptr;
    const char* text = buf_->data ? buf_->data : "";
    // Without a known length, the 7-bit bytes at the start of the block
    // (which holds the terminator) tell a 7-bit text and its length at once.
    bool seven_bit = false;
    size_t len = known;
    if (known == SIZE_MAX) {
        const size_t room = buf_->data ? size_t(buf_->capacity) : 1;
        const size_t ascii =
            str_fast_ascii_span(reinterpret_cast<const unsigned char*>(text), room);
        seven_bit = ascii < room && text[ascii] == 0;
        len = seven_bit ? ascii : strlen(text);
    }
    if (encoding == ENC_UTF16LE || encoding == ENC_UTF16BE) {
        // A UTF-8 byte never becomes more than one UTF-16 unit, so one pass
        // fits in twice the bytes: straight into a block of that size, which
        // then shrinks to the exact size, for a text of known length or 7-bit
        // text (one unit per byte, no shrinking); else into the scratch area
        // and then into an exact block. A pass that cannot decide leaves it
        // to the sizing road below.
        int size = 0;
        bool out_of_memory = false;
        char* block = nullptr;
        if (seven_bit || known != SIZE_MAX)
            block = str_convert_once(text, int(len), ENC_UTF8, encoding, 2LL * len + 2, kHeader, 1,
                                     &size, &out_of_memory, true);
        else
            block = str_convert_via_scratch(text, int(len), ENC_UTF8, encoding, 2LL * len + 2,
                                            kHeader, 1, &size, &out_of_memory, true);
        if (out_of_memory)
            return nullptr;
        if (block) {
            const int32_t stored = encoding;
            memcpy(block, &stored, sizeof stored);
            view_ = block;
            return block + kHeader;
        }
    }
    // Text that cannot be converted leaves a view holding only the terminator.
    int size = str_convert_size(text, int(len), ENC_UTF8, encoding);
    const bool rejected = size == 0;
    if (rejected)
        size = str_encodings[encoding].terminator_size;
    // The block adds the spare zero and the header to the converted size.
    if (size > INT_MAX - 1 - kHeader)
        return nullptr;
    char* block = static_cast<char*>(mem_alloc(size + 1 + kHeader));
    if (!block)
        return nullptr;
    const int32_t stored = encoding;
    memcpy(block, &stored, sizeof stored);
    if (!rejected && !str_convert(text, int(len), ENC_UTF8, block + kHeader, size + 1, encoding))
        memset(block + kHeader, 0, size_t(size) + 1);
    view_ = block;
    return block + kHeader;
}

const char* TStr::ascii() const {
    return static_cast<const char*>(view(ENC_ASCII));
}

const EzuWChar* TStr::utf16le() const {
    return static_cast<const EzuWChar*>(view(ENC_UTF16LE));
}

const void* TStr::utf16be() const {
    return view(ENC_UTF16BE);
}

const void* TStr::utf16bom() const {
    return view(ENC_UTF16);
}

bool TStr::exportTo(void* out, int size, int encoding) const {
    return str_export(buf_, out, size, encoding) != 0;
}

bool TStr::exportAscii(char* out, int size) const {
    return exportTo(out, size, ENC_ASCII);
}

bool TStr::exportUtf8(char* out, int size) const {
    return exportTo(out, size, ENC_UTF8);
}

bool TStr::exportUtf16bom(void* out, int size) const {
    return exportTo(out, size, ENC_UTF16);
}

bool TStr::exportUtf16be(void* out, int size) const {
    return exportTo(out, size, ENC_UTF16BE);
}

bool TStr::exportUtf16le(void* out, int size) const {
    return exportTo(out, size, ENC_UTF16LE);
}

bool TStr::exportUtf32(void* out, int size) const {
    return exportTo(out, size, ENC_UTF32);
}

int TStr::exportAsciiSized(char* out, int* size_in_out) const {
    return str_export_sized(buf_, out, size_in_out, ENC_ASCII);
}

char* TStr::toAscii(char* out, int size) const {
    return str_to_ascii(buf_, out, size);
}

char* TStr::toUtf8(char* out, int size) const {
    return str_to_utf8(buf_, out, size);
}

char* TStr::newAscii() const {
    return str_to_new_ascii(buf_);
}

void* TStr::newUtf8() const {
    return str_to_new_utf8(buf_);
}

void* TStr::newUtf16bom() const {
    return str_to_new_utf16bom(buf_);
}
