// Chunked conversion. Each chunk is about 1 MiB of input that ends on a
// character boundary of the source encoding: the bytes of a character cut
// off by the chunk's end wait at the front of the buffer for the next read.
// Every chunk is sized with str_convert_size, converted with str_convert
// into one reused output block, and written without its terminator, so a
// file of any size needs little more than the two blocks.
#include "stream_convert.h"

#include <string.h>

namespace {

const int kChunkBytes = 1 << 20;
// A carried partial character is shorter than the longest one (6 bytes).
const int kCarryRoom = 8;

// The bytes of a converted text in front of its terminator, the first unit
// of zero bytes.
int textBytes(const unsigned char* text, int size, int unit) {
    for (int pos = 0; pos + unit <= size; pos += unit) {
        int zero = 0;
        while (zero < unit && text[pos + zero] == 0)
            ++zero;
        if (zero == unit)
            return pos;
    }
    return size;
}

// The part of the buffer to convert next.
struct Chunk {
    int length;      // bytes from the start of the buffer
    bool textEnds;   // it ends with the NUL character that ends the text
    bool incomplete; // it ends inside a character or holds rejected input
};

class StreamConverter {
  public:
    StreamConverter(int from, int to) : from_(from), to_(to) {}
    ~StreamConverter() {
        mem_free(input_);
        mem_free(output_);
    }
    bool run(TEzuIODevice& in, TEzuIODevice& out, TStr& reason);
    long long written() const { return written_; }

  private:
    void fill(TEzuIODevice& in);
    void takeByteOrderMark();
    Chunk nextChunk() const;
    bool convert(const Chunk& chunk, TEzuIODevice& out, TStr& reason);
    bool reserveOutput(int size);

    int from_;
    int to_;
    unsigned char* input_ = nullptr;
    int have_ = 0; // bytes in input_
    bool atEnd_ = false;
    bool readFailed_ = false;
    unsigned char* output_ = nullptr;
    int outputRoom_ = 0;
    long long written_ = 0;
};

bool StreamConverter::run(TEzuIODevice& in, TEzuIODevice& out, TStr& reason) {
    input_ = static_cast<unsigned char*>(mem_alloc(kChunkBytes + kCarryRoom));
    if (!input_) {
        reason = "out of memory";
        return false;
    }
    for (bool first = true;; first = false) {
        fill(in);
        if (readFailed_) {
            reason = "cannot read the input";
            return false;
        }
        if (first && from_ == ENC_UTF16)
            takeByteOrderMark();
        const Chunk chunk = nextChunk();
        if (chunk.length > 0 && !convert(chunk, out, reason))
            return false;
        have_ -= chunk.length;
        memmove(input_, input_ + chunk.length, have_);
        if (atEnd_ || chunk.textEnds)
            return true;
    }
}

// Appends up to one chunk to the carried bytes. The device delivers less
// only at the end of its data or on a read error.
void StreamConverter::fill(TEzuIODevice& in) {
    const int got = in.read(input_ + have_, kChunkBytes);
    if (got > 0)
        have_ += got;
    if (got < kChunkBytes) {
        atEnd_ = true;
        readFailed_ = !in.atEnd();
    }
}

// A marked UTF-16 source: the mark at the start selects the byte order of
// the whole stream, and later chunks carry no mark of their own. Without a
// mark the machine's order applies.
void StreamConverter::takeByteOrderMark() {
    int marked = 0;
    if (have_ >= 2 && input_[0] == 0xFE && input_[1] == 0xFF)
        marked = ENC_UTF16BE;
    else if (have_ >= 2 && input_[0] == 0xFF && input_[1] == 0xFE)
        marked = ENC_UTF16LE;
    from_ = marked ? marked : str_native_utf16();
    if (marked) {
        have_ -= 2;
        memmove(input_, input_ + 2, have_);
    }
}

// Walks the buffer with the source's decoder, as the conversion will, to
// find the last whole character and a NUL that ends the text.
Chunk StreamConverter::nextChunk() const {
    const EncodingInfo& source = str_encodings[from_];
    int state = 0;
    int pos = 0;
    while (pos < have_) {
        uint32_t code = 0;
        const int used = source.decode(input_ + pos, have_ - pos, &code, &state);
        if (used == 0) {
            // A character cut off by the chunk's end waits for more input;
            // anything else goes to the conversion, which rejects it.
            if (!atEnd_ && have_ - pos < source.max_char_size)
                return {pos, false, false};
            return {have_, false, true};
        }
        pos += used;
        if (code == 0)
            return {pos, true, false};
    }
    return {pos, false, false};
}

bool StreamConverter::convert(const Chunk& chunk, TEzuIODevice& out, TStr& reason) {
    // The record names the reason of a rejection; clear what an earlier
    // report (or the walk above) left there.
    str_set_error(0, nullptr, 0, nullptr);
    const int size = str_convert_size(input_, chunk.length, from_, to_);
    if (size > 0 && !reserveOutput(size)) {
        reason = "out of memory";
        return false;
    }
    if (size == 0 || !str_convert(input_, chunk.length, from_, output_, size, to_)) {
        if (str_error_code() != 0)
            reason = str_error_message();
        else if (chunk.incomplete)
            reason = "input ends inside a character";
        else
            reason = "a character has no form in the target encoding";
        return false;
    }
    const int bytes = textBytes(output_, size, str_encodings[to_].unit_size);
    if (out.write(output_, bytes) != bytes) {
        reason = "cannot write the output";
        return false;
    }
    written_ += bytes;
    // A marked UTF-16 target gets its mark once, with the first text.
    if (to_ == ENC_UTF16 && bytes > 0)
        to_ = str_native_utf16();
    return true;
}

bool StreamConverter::reserveOutput(int size) {
    if (size <= outputRoom_)
        return true;
    mem_free(output_);
    output_ = static_cast<unsigned char*>(mem_alloc(size));
    outputRoom_ = output_ ? size : 0;
    return output_ != nullptr;
}

} // namespace

bool convertStream(TEzuIODevice& in, TEzuIODevice& out, int from, int to, TStr& reason,
                   long long* written) {
    StreamConverter converter(from, to);
    const bool converted = converter.run(in, out, reason);
    if (written)
        *written = converter.written();
    return converted;
}
