// StrBuf export: the text converted into another encoding, into the caller's
// buffer or a new guarded block.
#include "ezu/strings/strbuf.h"

#include "ezu/core/encoding.h"
#include "ezu/core/mem.h"

#include <limits.h>
#include <string.h>

namespace {

const char* text_of(const StrBuf* buf) {
    return str_is_null(buf) ? "" : buf->data;
}

// Bytes the text takes in `encoding`, terminator included; 0 when rejected.
int needed_size(const StrBuf* buf, int encoding) {
    const char* text = text_of(buf);
    return str_convert_size(text, int(strlen(text)), ENC_UTF8, encoding);
}

bool convert_into(const StrBuf* buf, void* out, int size, int encoding) {
    const char* text = text_of(buf);
    return str_convert(text, int(strlen(text)), ENC_UTF8, out, size, encoding) != 0;
}

// Writes an empty text (just the terminator) when it fits.
void write_empty(void* out, int size, int encoding) {
    const int terminator = str_encodings[encoding].terminator_size;
    if (out && size >= terminator)
        memset(out, 0, size_t(terminator));
}

} // namespace

int str_export_size(const StrBuf* buf, int encoding) {
    return str_encoding_valid(encoding) ? needed_size(buf, encoding) : 0;
}

int str_export(const StrBuf* buf, void* out, int size, int encoding) {
    if (!str_encoding_valid(encoding) || !out)
        return 0;
    const int needed = needed_size(buf, encoding);
    if (needed == 0 || size < needed)
        return 0;
    if (!convert_into(buf, out, size, encoding)) {
        write_empty(out, size, encoding);
        return 0;
    }
    return needed;
}

int str_export_sized(const StrBuf* buf, void* out, int* size_in_out, int encoding) {
    if (!str_encoding_valid(encoding) || !size_in_out)
        return 0;
    if (str_is_null(buf)) {
        write_empty(out, *size_in_out, encoding);
        return 0;
    }
    const int needed = needed_size(buf, encoding);
    if (needed == 0)
        return 0;
    if (*size_in_out < needed) {
        // The size asked for is one above what is needed; it stays an int.
        *size_in_out = needed < INT_MAX ? needed + 1 : INT_MAX;
        return 0;
    }
    return str_export(buf, out, *size_in_out, encoding);
}

void* str_to_new(const StrBuf* buf, int encoding) {
    if (!str_encoding_valid(encoding))
        return nullptr;
    const int needed = needed_size(buf, encoding);
    if (needed == 0)
        return nullptr;
    void* block = mem_alloc(needed);
    if (block && !convert_into(buf, block, needed, encoding)) {
        mem_free(block);
        block = nullptr;
    }
    return block;
}

char* str_to_ascii(const StrBuf* buf, char* out, int size) {
    if (!str_export(buf, out, size, ENC_ASCII))
        write_empty(out, size, ENC_ASCII);
    return out;
}

char* str_to_utf8(const StrBuf* buf, char* out, int size) {
    if (!str_export(buf, out, size, ENC_UTF8))
        write_empty(out, size, ENC_UTF8);
    return out;
}

char* str_to_new_ascii(const StrBuf* buf) {
    return static_cast<char*>(str_to_new(buf, ENC_ASCII));
}

char* str_to_new_utf8(const StrBuf* buf) {
    return static_cast<char*>(str_to_new(buf, ENC_UTF8));
}

void* str_to_new_utf16bom(const StrBuf* buf) {
    return str_to_new(buf, ENC_UTF16);
}

EzuWChar* str_to_new_utf16le(const StrBuf* buf) {
    return static_cast<EzuWChar*>(str_to_new(buf, ENC_UTF16LE));
}

void* str_to_new_utf16be(const StrBuf* buf) {
    return str_to_new(buf, ENC_UTF16BE);
}
