// TEzuPath: construction, the stream it owns, and the device operations.
#include "ezu/io/ezupath.h"

#include "ezu/core/mem.h"
#include "ezu/io/path.h"

#include <string.h>

namespace {

// The run-time mode string for the device mode bits: write wins over read,
// "+" for update, "t" or "b" last. Returns false for a mode that neither
// reads nor writes; such a string would only be rejected by the run-time.
bool mode_string(int mode, char out[4]) {
    if (!(mode & (ioRead | ioWrite)))
        return false;
    int n = 0;
    out[n++] = (mode & ioWrite) ? 'w' : 'r';
    if (mode & ioUpdate)
        out[n++] = '+';
    out[n++] = (mode & ioText) ? 't' : 'b';
    out[n] = 0;
    return true;
}

} // namespace

TEzuPath::TEzuPath() : TStr(""), handle_(nullptr) {}

TEzuPath::TEzuPath(const char* text) : TStr(text), handle_(nullptr) {}

TEzuPath::TEzuPath(const TStr& text) : TStr(text), handle_(nullptr) {}

// A copy shares nothing with the source's stream: it starts closed.
TEzuPath::TEzuPath(const TEzuPath& other) : TEzuIODevice(), TStr(other), handle_(nullptr) {}

TEzuPath::TEzuPath(const StrBuf* buf) : TStr(""), handle_(nullptr) {
    if (buf)
        installText(str_dup(buf));
}

TEzuPath::~TEzuPath() {
    close();
    mem_free(handle_);
}

// The stream was opened on the old text, which is about to go, so it is
// closed; the handle record stays for a later open.
TEzuPath& TEzuPath::operator=(const TEzuPath& other) {
    if (&other != this) {
        close();
        TStr::operator=(other);
    }
    return *this;
}

void TEzuPath::installText(StrBuf* text) {
    if (!text)
        return;
    TStr::operator=(TStr::adopt(text));
}

void TEzuPath::normalizeText() {
    const StrBuf* buf = buffer();
    if (str_is_null(buf) || !strchr(buf->data, '/'))
        return;
    StrBuf* copy = str_dup(buf);
    path_normalize(copy);
    installText(copy);
}

bool TEzuPath::open(int mode) {
    close();
    char text[4];
    if (!mode_string(mode, text))
        return false;
    if (!handle_) {
        handle_ = static_cast<StreamHandle*>(mem_alloc(sizeof(StreamHandle)));
        if (!handle_)
            return false;
    }
    normalizeText();
    handle_->file = fs_open(buffer(), text);
    return handle_->file != nullptr;
}

void TEzuPath::close() {
    if (isOpen()) {
        fclose(handle_->file);
        handle_->file = nullptr;
    }
}

bool TEzuPath::isOpen() const {
    return handle_ && handle_->file;
}

int TEzuPath::read(void* data, int count) {
    if (!isOpen() || !data || count <= 0)
        return 0;
    return int(fread(data, 1, size_t(count), handle_->file));
}

int TEzuPath::write(const void* data, int count) {
    if (!isOpen() || !data || count <= 0)
        return 0;
    return int(fwrite(data, 1, size_t(count), handle_->file));
}

int TEzuPath::getc() {
    return isOpen() ? fgetc(handle_->file) : -1;
}

int TEzuPath::putc(int c) {
    return isOpen() ? fputc(c, handle_->file) : -1;
}

int TEzuPath::ungetc(int c) {
    return isOpen() ? ::ungetc(c, handle_->file) : -1;
}

// A path that is not open has nothing left to read, so a reading loop that
// waits for the end stops at once.
int TEzuPath::atEnd() {
    return isOpen() ? (feof(handle_->file) ? 1 : 0) : 1;
}

int TEzuPath::rewind() {
    return isOpen() ? fseek(handle_->file, 0, SEEK_SET) : -1;
}
