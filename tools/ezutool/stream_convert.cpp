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
// A fault this close to the end of what has been read may be a character
// cut off by the chunk: it is checked again with more input.
const int kLongestWellFormed = 4;

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
    int stop;        // where the decoder rejected the input (when incomplete)
};

class StreamConverter {
  public:
    StreamConverter(int from, int to, bool strict) : from_(from), to_(to), strict_(strict) {}
    ~StreamConverter() {
        mem_free(input_);
        mem_free(output_);
    }
    bool run(TEzuIODevice& in, TEzuIODevice& out, ConvertReport& report);

  private:
    void fill(TEzuIODevice& in);
    void takeByteOrderMark();
    Chunk nextChunk() const;
    bool checkedChunk(Chunk& chunk, TStr& reason) const;
    bool convert(const Chunk& chunk, TEzuIODevice& out, ConvertReport& report);
    TStr faultAt(int start, int end) const;
    bool reserveOutput(int size);

    int from_;
    int to_;
    bool strict_;
    unsigned char* input_ = nullptr;
    int have_ = 0;           // bytes in input_
    long long consumed_ = 0; // input bytes in front of input_[0]
    bool atEnd_ = false;
    bool readFailed_ = false;
    unsigned char* output_ = nullptr;
    int outputRoom_ = 0;
};

bool StreamConverter::run(TEzuIODevice& in, TEzuIODevice& out, ConvertReport& report) {
    input_ = static_cast<unsigned char*>(mem_alloc(kChunkBytes + kCarryRoom));
    if (!input_) {
        report.reason = "out of memory";
        return false;
    }
    for (bool first = true;; first = false) {
        fill(in);
        if (readFailed_) {
            report.reason = "cannot read the input";
            return false;
        }
        if (first && from_ == ENC_UTF16)
            takeByteOrderMark();
        Chunk chunk = nextChunk();
        if (strict_ && !checkedChunk(chunk, report.reason))
            return false;
        if (chunk.length > 0 && !convert(chunk, out, report))
            return false;
        have_ -= chunk.length;
        consumed_ += chunk.length;
        memmove(input_, input_ + chunk.length, have_);
        if (chunk.textEnds) {
            if (have_ == 0 && !atEnd_)
                fill(in); // is there more behind the NUL?
            if (have_ > 0)
                report.nulAt = consumed_ - str_encodings[from_].unit_size;
            return true;
        }
        if (atEnd_)
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
        consumed_ += 2;
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
                return {pos, false, false, 0};
            return {have_, false, true, pos};
        }
        pos += used;
        if (code == 0)
            return {pos, true, false, 0};
    }
    return {pos, false, false, 0};
}

// Strict reading: the chunk must be well-formed up to its end. A fault near
// the end of the input read so far may be a character the next read
// completes: the chunk then ends in front of it.
bool StreamConverter::checkedChunk(Chunk& chunk, TStr& reason) const {
    int at = 0;
    if (str_validate(input_, chunk.length, from_, &at) == STR_WELL_FORMED)
        return true;
    if (!atEnd_ && !chunk.textEnds && have_ - at < kLongestWellFormed) {
        chunk = {at, false, false, 0};
        return true;
    }
    reason = faultAt(0, chunk.length);
    return false;
}

// The first fault in the buffer from `start` to `end`, in plain words with
// its offset from the start of the input; null text when there is none.
TStr StreamConverter::faultAt(int start, int end) const {
    int at = 0;
    const int fault = str_validate(input_ + start, end - start, from_, &at);
    if (fault == STR_WELL_FORMED)
        return TStr();
    return TStr("%1 at byte %2")
        .arg(str_fault_text(fault))
        .arg(double(consumed_ + start + at), 0, 'f', 0);
}

bool StreamConverter::convert(const Chunk& chunk, TEzuIODevice& out, ConvertReport& report) {
    const int size = str_convert_size(input_, chunk.length, from_, to_);
    if (size > 0 && !reserveOutput(size)) {
        report.reason = "out of memory";
        return false;
    }
    if (size == 0 || !str_convert(input_, chunk.length, from_, output_, size, to_)) {
        // The permissive reading rejects only what the check refuses too:
        // where its decoder stopped, or (for a character the target cannot
        // hold) the first fault.
        report.reason = faultAt(chunk.incomplete ? chunk.stop : 0, chunk.length);
        if (report.reason.isEmpty())
            report.reason = chunk.incomplete ? "input ends inside a character"
                                             : "a character has no form in the target encoding";
        return false;
    }
    const int bytes = textBytes(output_, size, str_encodings[to_].unit_size);
    if (out.write(output_, bytes) != bytes) {
        report.reason = "cannot write the output";
        return false;
    }
    report.written += bytes;
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

bool convertStream(TEzuIODevice& in, TEzuIODevice& out, int from, int to, bool strict,
                   ConvertReport& report) {
    StreamConverter converter(from, to, strict);
    return converter.run(in, out, report);
}
