// The per-encoding operations of the encoding table, one encoding at a time.
#include "ezu_test.h"

#include "encoding_test_support.h"

#include <string.h>

EZU_TEST_SUITE(EncodingCodecTest);

namespace {

struct Decoded {
    int consumed;
    uint32_t code;
};

Decoded decode(int encoding, const Bytes& src, int avail = -1) {
    int state = 0;
    Decoded d = {0, 0xDEADBEEF};
    d.consumed = str_encodings[encoding].decode(src.data(), avail < 0 ? int(src.size()) : avail,
                                                &d.code, &state);
    return d;
}

// Encodes into a room of `room` bytes; the result is what was written (empty
// when encode returned 0). Bytes behind the write must stay untouched.
Bytes encode(int encoding, uint32_t code, int room = 8) {
    unsigned char buffer[16];
    memset(buffer, 0xCC, sizeof buffer);
    int state = 0;
    const int written = str_encodings[encoding].encode(code, buffer, room, &state);
    for (size_t i = size_t(written); i < sizeof buffer; ++i)
        EXPECT_EQ(buffer[i], 0xCC) << "byte " << i << " written beyond the result";
    return Bytes(buffer, buffer + written);
}

} // namespace

TEST_F(EncodingCodecTest, TableDescribesEveryEncoding) {
    struct Row {
        int unit, max_char, terminator;
        unsigned flags;
        bool char_size;
    };
    const Row rows[6] = {{1, 1, 1, 0, false},           {1, 6, 1, ENC_VARIABLE, true},
                         {2, 4, 2, ENC_VARIABLE, true}, {2, 4, 2, ENC_VARIABLE, true},
                         {2, 4, 2, ENC_VARIABLE, true}, {4, 4, 4, 0, false}};
    for (int e = 0; e < 6; ++e) {
        const EncodingInfo& info = str_encodings[e];
        EXPECT_EQ(info.id, e);
        EXPECT_EQ(info.unit_size, rows[e].unit) << e;
        EXPECT_EQ(info.max_char_size, rows[e].max_char) << e;
        EXPECT_EQ(info.terminator_size, rows[e].terminator) << e;
        EXPECT_EQ(info.flags, rows[e].flags) << e;
        EXPECT_EQ(info.char_size != nullptr, rows[e].char_size) << e;
        EXPECT_NE(info.encode, nullptr);
        EXPECT_NE(info.decode, nullptr);
        EXPECT_NE(info.text_length, nullptr);
    }
    EXPECT_FALSE(str_encoding_valid(-1));
    EXPECT_TRUE(str_encoding_valid(0));
    EXPECT_TRUE(str_encoding_valid(5));
    EXPECT_FALSE(str_encoding_valid(6));
}

TEST_F(EncodingCodecTest, NativeOrderMatchesTheCompiler) {
    const int expected = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? ENC_UTF16BE : ENC_UTF16LE;
    EXPECT_EQ(str_native_utf16(), expected);
    EXPECT_EQ(str_native_utf16(), expected); // the cached answer
}

TEST_F(EncodingCodecTest, SequenceLengthFollowsTheLeadBitsOnly) {
    for (int b = 0; b < 256; ++b) {
        int expected = 1; // ASCII and stray continuation bytes
        if (b >= 0xFC)
            expected = 6;
        else if (b >= 0xF8)
            expected = 5;
        else if (b >= 0xF0)
            expected = 4;
        else if (b >= 0xE0)
            expected = 3;
        else if (b >= 0xC0)
            expected = 2;
        EXPECT_EQ(str_utf8_seq_len((unsigned char)b), expected) << std::hex << b;
    }
}

TEST_F(EncodingCodecTest, AsciiWidensHighBytesAsSignedAndWritesQuestionMarks) {
    EXPECT_EQ(decode(ENC_ASCII, bytes({0x41})).code, 0x41u);
    EXPECT_EQ(decode(ENC_ASCII, bytes({0x80})).code, 0xFFFFFF80u);
    EXPECT_EQ(decode(ENC_ASCII, bytes({0xFF})).code, 0xFFFFFFFFu);
    EXPECT_EQ(decode(ENC_ASCII, bytes({0x41}), 0).consumed, 0);
    EXPECT_EQ(encode(ENC_ASCII, 0x7F), bytes({0x7F}));
    EXPECT_EQ(encode(ENC_ASCII, 0x80), bytes({'?'}));
    EXPECT_EQ(encode(ENC_ASCII, 0xFFFFFF80u), bytes({'?'}));
    EXPECT_EQ(encode(ENC_ASCII, 'a', 0), Bytes());
}

TEST_F(EncodingCodecTest, Utf8EncodesEveryLengthBoundary) {
    EXPECT_EQ(encode(ENC_UTF8, 0x7F), bytes({0x7F}));
    EXPECT_EQ(encode(ENC_UTF8, 0x80), bytes({0xC2, 0x80}));
    EXPECT_EQ(encode(ENC_UTF8, 0x7FF), bytes({0xDF, 0xBF}));
    EXPECT_EQ(encode(ENC_UTF8, 0x800), bytes({0xE0, 0xA0, 0x80}));
    EXPECT_EQ(encode(ENC_UTF8, 0xFFFF), bytes({0xEF, 0xBF, 0xBF}));
    EXPECT_EQ(encode(ENC_UTF8, 0x10000), bytes({0xF0, 0x90, 0x80, 0x80}));
    EXPECT_EQ(encode(ENC_UTF8, 0x10FFFF), bytes({0xF4, 0x8F, 0xBF, 0xBF}));
    EXPECT_EQ(encode(ENC_UTF8, 0x1FFFFF), bytes({0xF7, 0xBF, 0xBF, 0xBF}));
    EXPECT_EQ(encode(ENC_UTF8, 0x200000), bytes({'?'}));
    EXPECT_EQ(encode(ENC_UTF8, 0xFFFFFFFFu), bytes({'?'}));
    // Surrogates are written like any other three-byte value.
    EXPECT_EQ(encode(ENC_UTF8, 0xD800), bytes({0xED, 0xA0, 0x80}));
    // One byte short of room: nothing is written.
    EXPECT_EQ(encode(ENC_UTF8, 0x10000, 3), Bytes());
    EXPECT_EQ(encode(ENC_UTF8, 0x800, 2), Bytes());
    EXPECT_EQ(encode(ENC_UTF8, 0x200000, 1), bytes({'?'}));
}

TEST_F(EncodingCodecTest, Utf8CharSizeMatchesWhatEncodeWrites) {
    const uint32_t codes[] = {0,        0x7F,       0x80,       0x7FF,      0x800,
                              0xD800,   0xFFFF,     0x10000,    0x10FFFF,   0x1FFFFF,
                              0x200000, 0x05F7DF80, 0x7FFFFFFF, 0xFFFFFF80u};
    for (uint32_t code : codes)
        EXPECT_EQ(str_encodings[ENC_UTF8].char_size(code), int(encode(ENC_UTF8, code).size()))
            << std::hex << code;
}

TEST_F(EncodingCodecTest, Utf8DecodesWhatItEncodes) {
    const uint32_t codes[] = {1, 0x7F, 0x80, 0x7FF, 0x800, 0xD800, 0xFFFF, 0x10000, 0x1FFFFF};
    for (uint32_t code : codes) {
        const Bytes b = encode(ENC_UTF8, code);
        const Decoded d = decode(ENC_UTF8, b);
        EXPECT_EQ(d.consumed, int(b.size())) << std::hex << code;
        EXPECT_EQ(d.code, code);
    }
}

TEST_F(EncodingCodecTest, Utf8DecodingIsPermissive) {
    // A stray continuation byte is a character of its own value.
    EXPECT_EQ(decode(ENC_UTF8, bytes({0x80, 0x41})).code, 0x80u);
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xBF})).consumed, 1);
    // Overlong forms decode to their value; continuation bytes are not checked.
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xC1, 0x81})).code, 0x41u);
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xC0, 0x80})).code, 0u);
    const Decoded zero = decode(ENC_UTF8, bytes({0xE0, 0x80, 0x80}));
    EXPECT_EQ(zero.consumed, 3);
    EXPECT_EQ(zero.code, 0u);
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xF0, 0x80, 0x80, 0x80})).code, 0u);
    // E2 41 82: 0x41 is taken as a continuation byte all the same.
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xE2, 0x41, 0x82})).code, 0x1042u);
    // A value below the lead's offset reads as "?".
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xC0, 0x00})).code, uint32_t('?'));
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xE0, 0x00, 0x00})).code, uint32_t('?'));
}

TEST_F(EncodingCodecTest, Utf8FiveAndSixByteFormsGiveFixedValues) {
    const Decoded five = decode(ENC_UTF8, bytes({0xF8, 0x88, 0x80, 0x80, 0x80}));
    EXPECT_EQ(five.consumed, 5);
    EXPECT_EQ(five.code, 0x05F7DF80u);
    const Decoded six = decode(ENC_UTF8, bytes({0xFC, 0x84, 0x80, 0x80, 0x80, 0x80}));
    EXPECT_EQ(six.consumed, 6);
    EXPECT_EQ(six.code, 0x7DF7DF80u);
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xFF, 1, 2, 3, 4, 5})).code, 0x7DF7DF80u);
    EXPECT_EQ(encode(ENC_UTF8, five.code), bytes({'?'}));
    EXPECT_EQ(encode(ENC_UTF16LE, six.code), bytes({'?', 0}));
}

TEST_F(EncodingCodecTest, Utf8CutOffSequenceIsRejectedWithoutReport) {
    mark_error_record();
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xE2, 0x82})).consumed, 0);
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xF0, 0x9F, 0x98})).consumed, 0);
    EXPECT_EQ(decode(ENC_UTF8, bytes({0xFC, 0x80, 0x80, 0x80, 0x80})).consumed, 0);
    EXPECT_EQ(decode(ENC_UTF8, bytes({0x41}), 0).consumed, 0);
    expect_no_report();
}

TEST_F(EncodingCodecTest, Utf16WritesPairsInEachOrder) {
    EXPECT_EQ(encode(ENC_UTF16BE, 0x1F600), bytes({0xD8, 0x3D, 0xDE, 0x00}));
    EXPECT_EQ(encode(ENC_UTF16LE, 0x1F600), bytes({0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(encode(ENC_UTF16BE, 0x10000), bytes({0xD8, 0x00, 0xDC, 0x00}));
    EXPECT_EQ(encode(ENC_UTF16LE, 0x10FFFF), bytes({0xFF, 0xDB, 0xFF, 0xDF}));
    EXPECT_EQ(encode(ENC_UTF16BE, 0xFFFF), bytes({0xFF, 0xFF}));
    EXPECT_EQ(encode(ENC_UTF16LE, 0xE9), bytes({0xE9, 0x00}));
    EXPECT_EQ(encode(ENC_UTF16BE, 0x110000), bytes({0x00, '?'}));
    EXPECT_EQ(encode(ENC_UTF16LE, 0xFFFFFF80u), bytes({'?', 0x00}));
    for (int e : {ENC_UTF16BE, ENC_UTF16LE}) {
        EXPECT_EQ(encode(e, 0xD800), Bytes()) << e;
        EXPECT_EQ(encode(e, 0xDFFF), Bytes()) << e;
        EXPECT_EQ(encode(e, 0x1F600, 3), Bytes()) << e;
        EXPECT_EQ(encode(e, 0x41, 1), Bytes()) << e;
    }
}

TEST_F(EncodingCodecTest, Utf16CharSizeMatchesWhatEncodeWrites) {
    const uint32_t codes[] = {0,      0x41,   0xD7FF,  0xD800,   0xDBFF,   0xDC00,     0xDFFF,
                              0xE000, 0xFFFF, 0x10000, 0x10FFFF, 0x110000, 0x7DF7DF80, 0xFFFFFFFFu};
    for (uint32_t code : codes)
        EXPECT_EQ(str_encodings[ENC_UTF16LE].char_size(code), int(encode(ENC_UTF16LE, code).size()))
            << std::hex << code;
}

TEST_F(EncodingCodecTest, Utf16DecodesPairsInEachOrder) {
    const Decoded be = decode(ENC_UTF16BE, bytes({0xD8, 0x3D, 0xDE, 0x00}));
    EXPECT_EQ(be.consumed, 4);
    EXPECT_EQ(be.code, 0x1F600u);
    const Decoded le = decode(ENC_UTF16LE, bytes({0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(le.consumed, 4);
    EXPECT_EQ(le.code, 0x1F600u);
    EXPECT_EQ(decode(ENC_UTF16BE, bytes({0xDB, 0xFF, 0xDF, 0xFF})).code, 0x10FFFFu);
    EXPECT_EQ(decode(ENC_UTF16LE, bytes({0xFF, 0xFE})).code, 0xFEFFu);
    EXPECT_EQ(decode(ENC_UTF16BE, bytes({0x00, 0x41, 0x00})).consumed, 2);
}

// Every rejection of the two UTF-16 decoders, with the record it leaves.
TEST_F(EncodingCodecTest, Utf16RejectionsAreRecorded) {
    struct Case {
        int encoding;
        Bytes src;
        int code;
        const char* message;
        int line;
    };
    const Case cases[] = {
        {ENC_UTF16BE, bytes({0x41}), STR_ERR_OVERFLOW,
         "from buffer overflow in private_str_decode_utf16BE", 1279},
        {ENC_UTF16BE, bytes({0xD8, 0x3D}), STR_ERR_OVERFLOW, "from buffer overflow", 1288},
        {ENC_UTF16BE, bytes({0xD8, 0x3D, 0xDE}), STR_ERR_OVERFLOW, "from buffer overflow", 1288},
        {ENC_UTF16BE, bytes({0xD8, 0x3D, 0x00, 0x41}), STR_ERR_INVALID, "unpaired high surrogate",
         1298},
        {ENC_UTF16BE, bytes({0xD8, 0x3D, 0xD8, 0x3D}), STR_ERR_INVALID, "unpaired high surrogate",
         1298},
        {ENC_UTF16BE, bytes({0xDC, 0x00, 0x00, 0x41}), STR_ERR_INVALID, "unpaired low surrogate",
         1303},
        {ENC_UTF16LE, bytes({0x41}), STR_ERR_OVERFLOW,
         "from buffer overflow in private_str_decode_utf16LE", 1350},
        {ENC_UTF16LE, bytes({0x3D, 0xD8}), STR_ERR_OVERFLOW, "from buffer overflow", 1359},
        {ENC_UTF16LE, bytes({0x3D, 0xD8, 0x41, 0x00}), STR_ERR_INVALID, "unpaired high surrogate",
         1369},
        {ENC_UTF16LE, bytes({0x00, 0xDC}), STR_ERR_INVALID, "unpaired low surrogate", 1374},
        {ENC_UTF16LE, bytes({0xFF, 0xDF, 0x3D, 0xD8}), STR_ERR_INVALID, "unpaired low surrogate",
         1374},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "encoding " << c.encoding << ", line " << c.line);
        mark_error_record();
        EXPECT_EQ(decode(c.encoding, c.src).consumed, 0);
        expect_error(c.code, c.message, c.line);
    }
    mark_error_record();
    EXPECT_EQ(decode(ENC_UTF16LE, bytes({0x41, 0x00}), 0).consumed, 0);
    expect_error(STR_ERR_OVERFLOW, "from buffer overflow in private_str_decode_utf16LE", 1350);
}

TEST_F(EncodingCodecTest, MarkedUtf16DecoderTakesTheOrderFromTheMark) {
    const EncodingInfo& bom = str_encodings[ENC_UTF16];
    const Bytes big = bytes({0xFE, 0xFF, 0x00, 0x41, 0xFE, 0xFF});
    int state = 0;
    uint32_t code = 0;
    EXPECT_EQ(bom.decode(big.data(), 6, &code, &state), 4); // the mark counts
    EXPECT_EQ(code, 0x41u);
    // A mark in the middle is an ordinary character, read in the same order.
    EXPECT_EQ(bom.decode(big.data() + 4, 2, &code, &state), 2);
    EXPECT_EQ(code, 0xFEFFu);

    const Bytes little = bytes({0xFF, 0xFE, 0x41, 0x00});
    state = 0;
    EXPECT_EQ(bom.decode(little.data(), 4, &code, &state), 4);
    EXPECT_EQ(code, 0x41u);

    const Bytes unmarked = bytes({0x41, 0x00}); // machine order
    state = 0;
    EXPECT_EQ(bom.decode(unmarked.data(), 2, &code, &state), 2);
    EXPECT_EQ(code, 0x41u);

    state = 0;
    EXPECT_EQ(bom.decode(unmarked.data(), 1, &code, &state), 0);
}

TEST_F(EncodingCodecTest, MarkedUtf16DecoderReportsThroughTheSelectedOrder) {
    const EncodingInfo& bom = str_encodings[ENC_UTF16];
    const Bytes big = bytes({0xFE, 0xFF, 0xDC, 0x00});
    int state = 0;
    uint32_t code;
    mark_error_record();
    EXPECT_EQ(bom.decode(big.data(), 4, &code, &state), 0);
    expect_error(STR_ERR_INVALID, "unpaired low surrogate", 1303);
    const Bytes little = bytes({0xFF, 0xFE, 0x41});
    state = 0;
    EXPECT_EQ(bom.decode(little.data(), 3, &code, &state), 0);
    expect_error(STR_ERR_OVERFLOW, "from buffer overflow in private_str_decode_utf16LE", 1350);
}

TEST_F(EncodingCodecTest, MarkAloneDecodesAsTheEndOfAnEmptyText) {
    const Bytes mark = bytes({0xFF, 0xFE});
    int state = 0;
    uint32_t code = 0xDEAD;
    EXPECT_EQ(str_encodings[ENC_UTF16].decode(mark.data(), 2, &code, &state), 2);
    EXPECT_EQ(code, 0u);
}

TEST_F(EncodingCodecTest, MarkedUtf16EncoderWritesTheMarkOnce) {
    const EncodingInfo& bom = str_encodings[ENC_UTF16];
    unsigned char out[12];
    memset(out, 0xCC, sizeof out);
    int state = 0;
    EXPECT_EQ(bom.encode(0x41, out, 3, &state), 0); // mark and character must both fit
    EXPECT_EQ(state, 0);
    EXPECT_EQ(bom.encode(0xD800, out, 8, &state), 0);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(bom.encode(0x41, out, 4, &state), 4);
    EXPECT_EQ(bom.encode(0x1F600, out + 4, 4, &state), 4);
    EXPECT_EQ(Bytes(out, out + 8), bytes({0xFF, 0xFE, 0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE}));

    int fresh = 0;
    EXPECT_EQ(bom.encode(0x1F600, out, 5, &fresh), 0);
    EXPECT_EQ(bom.encode(0x1F600, out, 6, &fresh), 6);
    EXPECT_EQ(Bytes(out, out + 6), bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}));
}

TEST_F(EncodingCodecTest, Utf32IsMachineOrderAndUnchecked) {
    EXPECT_EQ(encode(ENC_UTF32, 0x1F600), bytes({0x00, 0xF6, 0x01, 0x00}));
    EXPECT_EQ(encode(ENC_UTF32, 0xFFFFFFFFu), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(encode(ENC_UTF32, 0x41, 3), Bytes());
    const Decoded d = decode(ENC_UTF32, bytes({0x00, 0xD8, 0x00, 0x00}));
    EXPECT_EQ(d.consumed, 4);
    EXPECT_EQ(d.code, 0xD800u);
    EXPECT_EQ(decode(ENC_UTF32, bytes({0x41, 0, 0})).consumed, 0);
}

TEST_F(EncodingCodecTest, TextLengthStopsAtTheTerminatorOrTheLimit) {
    struct Case {
        int encoding;
        Bytes text;
        int limit;
        int length;
    };
    const Case cases[] = {
        {ENC_ASCII, bytes({'a', 'b', 0, 'c'}), -1, 2},
        {ENC_ASCII, bytes({'a', 'b', 'c'}), 3, 3},
        {ENC_UTF8, bytes({'a', 0xC3, 0xA9, 0xF0, 0x9F, 0x98, 0x80, 0}), -1, 7},
        {ENC_UTF8, bytes({'a', 0xC3, 0xA9, 'b'}), 2, 2}, // bound inside a character
        {ENC_UTF8, bytes({'a', 0xE2, 0}), -1, 2},        // cut off by the terminator
        {ENC_UTF8, bytes({0xFC, 0x80, 0x80, 0x80, 0x80, 0x80, 0}), -1, 6},
        {ENC_UTF16LE, bytes({0x41, 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}), -1, 6},
        {ENC_UTF16LE, bytes({0x41, 0, 0x3D, 0xD8, 0, 0}), -1, 4}, // lone high half
        {ENC_UTF16LE, bytes({0x41, 0, 0x42}), 3, 2},              // whole units only
        {ENC_UTF16BE, bytes({0xD8, 0x3D, 0xDE, 0x00, 0, 0}), -1, 4},
        {ENC_UTF16BE, bytes({0xD8, 0x3D, 0xDE, 0x00}), 2, 2},
        {ENC_UTF16, bytes({0xFE, 0xFF, 0x00, 0x41, 0, 0}), -1, 2}, // the mark is not counted
        {ENC_UTF16, bytes({0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00}), 6, 4},
        {ENC_UTF16, bytes({0x41, 0x00, 0, 0}), -1, 2},
        {ENC_UTF32, bytes({0x41, 0, 0, 0, 0, 0, 0, 0}), -1, 4},
        {ENC_UTF32, bytes({0x41, 0, 0, 0, 0x42, 0}), 6, 4},
    };
    for (const Case& c : cases) {
        // An exactly sized copy, so reading past the limit is caught.
        std::vector<unsigned char> copy(c.text);
        EXPECT_EQ(str_encodings[c.encoding].text_length(copy.data(), c.limit), c.length)
            << "encoding " << c.encoding << ", expected " << c.length;
    }
    for (int e = 0; e < 6; ++e)
        EXPECT_EQ(str_encodings[e].text_length(nullptr, -1), 0) << e;
}
