// Sizing and conversion between any two encodings through 32-bit code points.
// The common characters go through direct loops (encoding_fast.h) in runs;
// every other character takes one step through the encoding table, after
// which the direct loops carry on. With the loops switched off the same code
// is the table-only path.
#include "ezu/core/encoding.h"
#include "ezu/core/encoding_codecs.h"
#include "ezu/core/encoding_fast.h"
#include "ezu/core/encoding_generic.h"
#include "ezu/core/encoding_measured.h"

#include <limits.h>
#include <string.h>

namespace {

const int kLineRoomRanOut = 1002;

bool is_variable(int encoding) {
    return (str_encodings[encoding].flags & ENC_VARIABLE) != 0;
}

// A source in encoding 2 is sized in the order its mark selects, without the
// mark; unmarked text is in the machine's order.
void resolve_marked_source(const unsigned char*& src, int& len, int& from) {
    if (from != ENC_UTF16)
        return;
    from = str_native_utf16();
    if (len < 2)
        return;
    if (src[0] == 0xFE && src[1] == 0xFF)
        from = ENC_UTF16BE;
    else if (src[0] == 0xFF && src[1] == 0xFE)
        from = ENC_UTF16LE;
    else
        return;
    src += 2;
    len -= 2;
}

// Bytes one decoded character takes in the destination. UTF-32 has no
// char_size: every character is one 4-byte unit, the end of the text none
// (the terminator is already counted).
int64_t destination_bytes(int to, uint32_t code) {
    if (to == ENC_UTF32)
        return code == 0 ? 0 : 4;
    return str_encodings[to].char_size(code);
}

// How far the direct loops may read. Loops over single bytes stop at a zero
// byte themselves and are kept to pages known to hold the text; loops over
// wider units take their text to hold no zero unit, so it is measured once.
class RunLimit {
  public:
    RunLimit(const unsigned char* src, int len, int from, bool fast, bool known_length = false)
        : fast_(fast), paged_(fast && !known_length && str_encodings[from].unit_size == 1 &&
                              str_fast_page_bounds()),
          text_end_(!fast || paged_ || known_length || len <= 0
                        ? src + (len > 0 ? len : 0)
                        : src + str_fast_text_length(src, len, from)) {}

    // The bytes a run starting at `src` (`left` bytes of the source left)
    // may be given.
    int bound(const unsigned char* src, int left) const {
        if (!fast_)
            return 0;
        if (paged_)
            return str_fast_run_bound(src, left);
        return src < text_end_ ? int(text_end_ - src) : 0;
    }

  private:
    bool fast_, paged_;
    const unsigned char* text_end_;
};

// Sizes a destination by decoding the source: the terminator plus every
// character's encoded size, the end of the text included as a character
// (for UTF-8 and UTF-16 destinations). -1 when a decoder rejects the input.
int64_t size_by_decoding(const unsigned char* src, int len, int from, int to, bool fast) {
    const EncodingInfo& source = str_encodings[from];
    int64_t size = str_encodings[to].terminator_size;
    int state = 0;
    bool characters = false;
    const RunLimit limit(src, len, from, fast);
    while (len > 0) {
        const int bound = limit.bound(src, len);
        if (bound > 0) {
            const int covered = str_fast_size_run(src, bound, from, to, &size);
            if (covered > 0) {
                src += covered;
                len -= covered;
                characters = true;
                if (len == 0)
                    break;
            }
        }
        uint32_t code;
        const int consumed = source.decode(src, len, &code, &state);
        if (consumed == 0)
            return -1;
        src += consumed;
        len -= consumed;
        size += destination_bytes(to, code);
        if (code == 0)
            return size;
        characters = true;
    }
    // The source's terminator lies outside the count: the end of the text was
    // not counted, so add the room the mark of encoding 2 needs explicitly.
    if (to == ENC_UTF16 && characters)
        size += 2;
    return size;
}

// Sizes an ASCII destination from the source's length up to its terminator
// (or len), plus one unit for the terminator, in source units.
int64_t size_by_length(const unsigned char* src, int len, int from, int to) {
    const EncodingInfo& source = str_encodings[from];
    const int64_t length = source.text_length(src, len);
    return (length + 1) * source.unit_size / str_encodings[to].unit_size;
}

int report_room_ran_out() {
    str_report_error(STR_ERR_OVERFLOW, "to buffer overflow", kLineRoomRanOut);
    return 0;
}

// The encoding the direct loops can take for a side of a conversion, or -1
// while encoding 2 is unsettled: its source order is known after the first
// character, and its destination writes machine order once the mark is out.
int settled_source(int from, int decode_state) {
    if (from != ENC_UTF16)
        return from;
    return decode_state != 0 ? decode_state : -1;
}

int settled_destination(int to, int encode_state) {
    if (to != ENC_UTF16)
        return to;
    return encode_state != 0 ? str_native_utf16() : -1;
}

int convert_size(const void* src_bytes, int src_len, int from, int to, bool fast) {
    if (!str_encoding_valid(from) || !str_encoding_valid(to))
        return 0;
    const unsigned char* src = static_cast<const unsigned char*>(src_bytes);
    int len = src && src_len > 0 ? src_len : 0;
    resolve_marked_source(src, len, from);
    // Variable-width and UTF-32 destinations are sized character by character;
    // a length-based formula would undersize UTF-32 from smaller units.
    const int64_t size = is_variable(to) || to == ENC_UTF32
                             ? size_by_decoding(src, len, from, to, fast)
                             : size_by_length(src, len, from, to);
    // Rejected input, or a size no block could have.
    if (size < 0 || size > INT_MAX)
        return 0;
    return int(size);
}

// Converts; on success *measured (when given) gets the size the sizing pass
// gives for a UTF-8 or UTF-16BE/LE destination: the terminator, the text
// written and, when the text ended at a zero character, that character.
int convert(const void* src_bytes, int src_len, int from, void* dst_bytes, int dst_len, int to,
            bool fast, int* measured = nullptr, bool known_length = false) {
    if (!str_encoding_valid(from) || !str_encoding_valid(to))
        return 0;
    const EncodingInfo& source = str_encodings[from];
    const EncodingInfo& destination = str_encodings[to];
    const unsigned char* src = static_cast<const unsigned char*>(src_bytes);
    unsigned char* dst = static_cast<unsigned char*>(dst_bytes);
    unsigned char* const dst_start = dst;
    bool ended_at_zero = false;
    int left = src ? src_len : 0;
    int room = dst ? dst_len : 0;
    int decode_state = 0, encode_state = 0;
    uint32_t code = 0;
    // A caller that knows the text holds no zero lets the loops see all of it.
    const RunLimit limit(src, left, from, fast, known_length);
    while (left > 0 && room > 0) {
        const int fast_from = settled_source(from, decode_state);
        const int fast_to = settled_destination(to, encode_state);
        const int bound = fast_from < 0 || fast_to < 0 ? 0 : limit.bound(src, left);
        if (bound > 0) {
            int written = 0;
            const int consumed =
                str_fast_convert_run(src, bound, fast_from, dst, room, fast_to, &written);
            if (consumed > 0) {
                src += consumed;
                left -= consumed;
                dst += written;
                room -= written;
                code = 0xFFFFFFFFu; // the run reads no zero: the text has not ended
                if (left == 0 || room == 0)
                    break;
            }
        }
        const int consumed = source.decode(src, left, &code, &decode_state);
        if (consumed == 0)
            return 0;
        src += consumed;
        left -= consumed;
        if (code == 0) {
            ended_at_zero = true;
            break; // the terminator is written below, in the destination's width
        }
        const int written = destination.encode(code, dst, room, &encode_state);
        if (written == 0)
            return 0;
        dst += written;
        room -= written;
    }
    if (left > 0 && code != 0)
        return report_room_ran_out();
    if (room < destination.unit_size)
        return report_room_ran_out();
    memset(dst, 0, size_t(destination.unit_size));
    if (measured)
        *measured = int(dst - dst_start) + destination.unit_size * (ended_at_zero ? 2 : 1);
    return 1;
}

} // namespace

int str_convert_size(const void* src, int src_len, int from, int to) {
    return convert_size(src, src_len, from, to, true);
}

int str_convert_size_generic(const void* src, int src_len, int from, int to) {
    return convert_size(src, src_len, from, to, false);
}

int str_convert(const void* src, int src_len, int from, void* dst, int dst_len, int to) {
    return convert(src, src_len, from, dst, dst_len, to, true);
}

int str_convert_generic(const void* src, int src_len, int from, void* dst, int dst_len, int to) {
    return convert(src, src_len, from, dst, dst_len, to, false);
}

int str_convert_measured(const void* src, int src_len, int from, void* dst, int dst_len, int to,
                         int* size, bool no_zero_inside) {
    if (to != ENC_UTF8 && to != ENC_UTF16BE && to != ENC_UTF16LE)
        return 0;
    return convert(src, src_len, from, dst, dst_len, to, true, size, no_zero_inside && src);
}
