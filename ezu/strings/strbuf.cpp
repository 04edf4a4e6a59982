// StrBuf creation, assignment, capacity and appending.
#include "ezu/strings/strbuf.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"
#include "ezu/strings/strbuf_once.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

namespace {

// Largest capacity a text block may ask for; keeps every size sum in range.
const long long kMaxCapacity = INT_MAX - 16;

// Steps over `count` characters of `text` and ends the text there; when the
// text ends first nothing changes.
void cut_after(char* text, int count) {
    if (!text || count < 0)
        return;
    int i = 0;
    for (int c = 0; c < count; ++c) {
        if (!text[i])
            return;
        const int n = str_utf8_seq_len(static_cast<unsigned char>(text[i]));
        int j = 1;
        while (j < n && text[i + j])
            ++j;
        i += j;
    }
    text[i] = 0;
}

// True when `p` points into the text block of `buf`.
bool inside_block(const StrBuf* buf, const void* p) {
    if (!buf->data || !p)
        return false;
    const uintptr_t at = reinterpret_cast<uintptr_t>(p);
    const uintptr_t start = reinterpret_cast<uintptr_t>(buf->data);
    return at >= start && at < start + uintptr_t(buf->capacity);
}

} // namespace

StrBuf* str_new() {
    return static_cast<StrBuf*>(mem_alloc(sizeof(StrBuf)));
}

StrBuf* str_from_bytes(const void* data, int nbytes, int encoding) {
    StrBuf* buf = str_new();
    if (buf)
        str_assign_bytes(buf, data, nbytes, encoding);
    return buf;
}

StrBuf* str_from_ascii(const char* text) {
    if (!text)
        return str_new();
    return str_from_bytes(text, int(strlen(text)), ENC_ASCII);
}

StrBuf* str_from_utf8(const char* text) {
    if (!text)
        return str_new();
    return str_from_bytes(text, int(strlen(text)), ENC_UTF8);
}

StrBuf* str_dup(const StrBuf* buf) {
    if (!buf)
        return nullptr;
    StrBuf* copy = str_new();
    if (!copy)
        return nullptr;
    // The bytes are copied as they stand: a copy always compares equal to
    // its source, whatever the source holds.
    const char* text = buf->data ? buf->data : "";
    const int size = int(strlen(text)) + 1;
    copy->data = static_cast<char*>(mem_alloc(size));
    if (copy->data) {
        memcpy(copy->data, text, size_t(size));
        copy->capacity = size;
    }
    return copy;
}

int str_free(StrBuf* buf) {
    if (!buf)
        return 0;
    const int text_size = mem_free(buf->data);
    return text_size + mem_free(buf);
}

int str_assign_bytes(StrBuf* buf, const void* data, int nbytes, int encoding) {
    if (!str_encoding_valid(encoding))
        return 1;
    if (!data || nbytes < 0)
        nbytes = 0;
    // Source bytes inside this very block would be released or overwritten
    // while they are read: convert from a copy instead.
    if (inside_block(buf, data)) {
        const char* src = static_cast<const char*>(data);
        const long long room = buf->data + buf->capacity - src;
        const int count = nbytes < room ? nbytes : int(room);
        char* copy = static_cast<char*>(mem_alloc(count + 1));
        if (!copy)
            return 1;
        memcpy(copy, src, size_t(count));
        str_assign_bytes(buf, copy, count, encoding);
        mem_free(copy);
        return 1;
    }
    // A buffer without a block takes the text in one pass, into room for
    // the longest result it may have (shrunk to the exact size): one byte
    // per source byte plus the terminator, or three per UTF-16 unit.
    if (!buf->data && data) {
        const bool utf16 =
            encoding == ENC_UTF16 || encoding == ENC_UTF16BE || encoding == ENC_UTF16LE;
        const long long bound = (utf16 ? 3LL * (nbytes / 2) : nbytes) + 1;
        int size = 0;
        bool out_of_memory = false;
        char* block =
            str_convert_once(data, nbytes, encoding, ENC_UTF8, bound, 0, 0, &size, &out_of_memory);
        if (block || out_of_memory) {
            buf->data = block;
            buf->capacity = block ? size : 0;
            return 1;
        }
    }
    const int size = data ? str_convert_size(data, nbytes, encoding, ENC_UTF8) : 0;
    if (size == 0) {
        str_clear(buf);
        return 1;
    }
    if (buf->capacity < size) {
        char* block = static_cast<char*>(mem_alloc(size));
        if (!block) {
            str_clear(buf);
            return 1;
        }
        mem_free(buf->data);
        buf->data = block;
        buf->capacity = size;
    }
    if (!str_convert(data, nbytes, encoding, buf->data, buf->capacity, ENC_UTF8))
        str_clear(buf);
    return 1;
}

int str_assign_utf8(StrBuf* buf, const char* text) {
    return str_assign_bytes(buf, text, text ? int(strlen(text)) : 0, ENC_UTF8);
}

void str_assign_ascii(StrBuf* buf, const char* text, int nbytes) {
    if (text && nbytes < 0)
        nbytes = int(strlen(text));
    str_assign_bytes(buf, text, nbytes, ENC_ASCII);
}

int str_resize(StrBuf* buf, int capacity) {
    // A block must hold at least the terminator.
    if (capacity < 1 || capacity > kMaxCapacity)
        return 0;
    // The block grows or shrinks in place where the heap allows; what it
    // holds afterwards is what a new zero-filled block would hold with the
    // old text copied in.
    char* block = static_cast<char*>(mem_resize(buf->data, capacity));
    if (!block)
        return 0;
    if (buf->data && buf->capacity < capacity) {
        // The old block's rounding slack is kept by the resize; a new block
        // would have zeros there.
        const int slack_end = (buf->capacity + 3) & ~3;
        memset(block + buf->capacity, 0,
               size_t((slack_end < capacity ? slack_end : capacity) - buf->capacity));
    }
    if (capacity < buf->capacity)
        block[capacity - 1] = 0;
    buf->data = block;
    buf->capacity = capacity;
    return 1;
}

int str_clear(StrBuf* buf) {
    if (buf) {
        mem_free(buf->data);
        buf->data = nullptr;
        buf->capacity = 0;
    }
    return 1;
}

int str_copy(const StrBuf* src, StrBuf* dst) {
    if (!src || !src->data) {
        str_clear(dst);
        return 0;
    }
    if (src == dst)
        return int(strlen(dst->data));
    if (dst->capacity <= src->capacity && !str_resize(dst, src->capacity + 1))
        return 0;
    memcpy(dst->data, src->data, size_t(src->capacity));
    return int(strlen(dst->data));
}

char* str_reserve(StrBuf* buf, int n) {
    if (buf->capacity >= n)
        return buf->data;
    // A block that cannot grow must not be handed out as if it had the room.
    if (n >= kMaxCapacity || !str_resize(buf, n + 1))
        return nullptr;
    return buf->data;
}

int str_append_text(StrBuf* buf, const char* text, int count) {
    const int old = str_length(buf);
    if (!text)
        return old;
    // Text taken from this very buffer would be released by the resize below.
    if (inside_block(buf, text)) {
        StrBuf* copy = str_from_utf8(text);
        if (!copy)
            return 0;
        const int result = copy->data ? str_append_text(buf, copy->data, count) : 0;
        str_free(copy);
        return result;
    }
    // A negative count appends the whole text.
    if (count < 0)
        count = INT_MAX - old;
    if (buf->capacity == 0) {
        str_assign_utf8(buf, text);
        cut_after(buf->data, count);
        return str_length(buf);
    }
    if (!*text)
        return old;
    const long long bytes = (long long)strlen(text);
    if (buf->capacity + bytes + 1 > kMaxCapacity)
        return 0;
    if (!str_resize(buf, int(buf->capacity + bytes + 1)))
        return 0;
    const size_t end = strlen(buf->data);
    memcpy(buf->data + end, text, size_t(bytes) + 1);
    cut_after(buf->data, old > INT_MAX - count ? INT_MAX : old + count);
    return str_length(buf);
}

int str_append(StrBuf* buf, const StrBuf* other) {
    if (!other || !other->data)
        return str_length(buf);
    return str_append_text(buf, other->data, str_length(other));
}
