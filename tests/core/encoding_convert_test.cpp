// Sizing and conversion between every pair of encodings.
#include "ezu_test.h"

#include "encoding_test_support.h"

#include <memory>
#include <string.h>

EZU_TEST_SUITE(EncodingConvertTest);

namespace {

// "A", e-acute, a CJK ideograph (U+6F22) and an emoji (U+1F600), in each
// encoding; encoding 0 holds what ASCII keeps of it.
Bytes mixed_text(int encoding) {
    switch (encoding) {
    case ENC_ASCII:
        return bytes({0x41, '?', '?', '?'});
    case ENC_UTF8:
        return bytes({0x41, 0xC3, 0xA9, 0xE6, 0xBC, 0xA2, 0xF0, 0x9F, 0x98, 0x80});
    case ENC_UTF16:
        return bytes({0xFF, 0xFE, 0x41, 0x00, 0xE9, 0x00, 0x22, 0x6F, 0x3D, 0xD8, 0x00, 0xDE});
    case ENC_UTF16BE:
        return bytes({0x00, 0x41, 0x00, 0xE9, 0x6F, 0x22, 0xD8, 0x3D, 0xDE, 0x00});
    case ENC_UTF16LE:
        return bytes({0x41, 0x00, 0xE9, 0x00, 0x22, 0x6F, 0x3D, 0xD8, 0x00, 0xDE});
    default:
        return bytes({0x41, 0, 0, 0, 0xE9, 0, 0, 0, 0x22, 0x6F, 0, 0, 0x00, 0xF6, 0x01, 0x00});
    }
}

// The ASCII text "A???" in each encoding.
Bytes ascii_text(int encoding) {
    const uint32_t codes[4] = {'A', '?', '?', '?'};
    Bytes out;
    int state = 0;
    for (uint32_t code : codes) {
        unsigned char unit[8];
        const int n = str_encodings[encoding].encode(code, unit, 8, &state);
        out.insert(out.end(), unit, unit + n);
    }
    return out;
}

// A heap copy of exactly the given bytes, so AddressSanitizer sees any read
// past them.
struct ExactCopy {
    explicit ExactCopy(const Bytes& b) : size(int(b.size())), data(new unsigned char[b.size()]) {
        if (!b.empty())
            memcpy(data.get(), b.data(), b.size());
    }
    int size;
    std::unique_ptr<unsigned char[]> data;
};

Converted convert_exact(const Bytes& src, int from, int to) {
    const ExactCopy copy(src);
    Converted c;
    c.size = str_convert_size(copy.data.get(), copy.size, from, to);
    if (c.size == 0)
        return c;
    c.out.assign(size_t(c.size), 0xCC);
    c.ok = str_convert(copy.data.get(), copy.size, from, c.out.data(), c.size, to) == 1;
    return c;
}

int unit(int encoding) {
    return str_encodings[encoding].unit_size;
}

} // namespace

TEST_F(EncodingConvertTest, AbcSizesAndMarkedOutput) {
    const Bytes abc = bytes({'a', 'b', 'c', 0});
    EXPECT_EQ(str_convert_size(abc.data(), 4, ENC_UTF8, ENC_UTF8), 5);
    EXPECT_EQ(str_convert_size(abc.data(), 4, ENC_UTF8, ENC_UTF16LE), 10);
    EXPECT_EQ(str_convert_size(abc.data(), 4, ENC_UTF8, ENC_UTF16), 10);
    EXPECT_EQ(str_convert_size(abc.data(), 4, ENC_UTF8, ENC_ASCII), 4);
    unsigned char out[10];
    ASSERT_EQ(str_convert(abc.data(), 4, ENC_UTF8, out, 10, ENC_UTF16), 1);
    EXPECT_EQ(Bytes(out, out + 10), bytes({0xFF, 0xFE, 0x61, 0, 0x62, 0, 0x63, 0, 0, 0}));
}

TEST_F(EncodingConvertTest, EveryPairOfTheMixedTextWithItsTerminator) {
    const int sizes[6][6] = {{5, 6, 12, 12, 12, 20},   {11, 12, 14, 14, 14, 20},
                             {22, 12, 14, 14, 14, 20}, {22, 12, 14, 14, 14, 20},
                             {22, 12, 14, 14, 14, 20}, {68, 12, 14, 14, 14, 20}};
    for (int from = 0; from < 6; ++from) {
        for (int to = 0; to < 6; ++to) {
            SCOPED_TRACE(testing::Message() << "from " << from << " to " << to);
            const Converted c =
                size_and_convert(terminated(mixed_text(from), unit(from)), from, to);
            EXPECT_EQ(c.size, sizes[from][to]);
            ASSERT_TRUE(c.ok);
            const Bytes expected = from == ENC_ASCII ? ascii_text(to)
                                   : to == ENC_ASCII ? ascii_text(ENC_ASCII)
                                                     : mixed_text(to);
            EXPECT_EQ(text_part(c, to), expected);
        }
    }
}

// Without the terminator in the count, UTF-8, UTF-16 and UTF-32 sizes are
// exact; encoding 2 still has room for its mark.
TEST_F(EncodingConvertTest, EveryPairOfTheMixedTextWithoutItsTerminator) {
    const int sizes[6][6] = {{5, 5, 12, 10, 10, 20},   {11, 11, 14, 12, 12, 20},
                             {22, 11, 14, 12, 12, 20}, {22, 11, 14, 12, 12, 20},
                             {22, 11, 14, 12, 12, 20}, {68, 11, 14, 12, 12, 20}};
    for (int from = 0; from < 6; ++from) {
        for (int to = 0; to < 6; ++to) {
            SCOPED_TRACE(testing::Message() << "from " << from << " to " << to);
            const Converted c = convert_exact(mixed_text(from), from, to);
            EXPECT_EQ(c.size, sizes[from][to]);
            ASSERT_TRUE(c.ok);
            const Bytes expected = from == ENC_ASCII ? ascii_text(to)
                                   : to == ENC_ASCII ? ascii_text(ENC_ASCII)
                                                     : mixed_text(to);
            EXPECT_EQ(text_part(c, to), expected);
        }
    }
}

TEST_F(EncodingConvertTest, ExactRoomSucceedsAndOneShortReportsOverflow) {
    const Bytes src = terminated(mixed_text(ENC_UTF8), 1);
    for (int to = 0; to < 6; ++to) {
        SCOPED_TRACE(testing::Message() << "to " << to);
        const Bytes expected = to == ENC_ASCII ? ascii_text(ENC_ASCII) : mixed_text(to);
        const int needed = int(expected.size()) + unit(to);
        Bytes out(size_t(needed) + 4, 0xCC);
        ASSERT_EQ(str_convert(src.data(), int(src.size()), ENC_UTF8, out.data(), needed, to), 1);
        EXPECT_EQ(Bytes(out.begin(), out.begin() + long(expected.size())), expected);
        for (int i = 0; i < unit(to); ++i)
            EXPECT_EQ(out[expected.size() + size_t(i)], 0);
        EXPECT_EQ(out[size_t(needed)], 0xCC); // nothing beyond the room

        mark_error_record();
        EXPECT_EQ(str_convert(src.data(), int(src.size()), ENC_UTF8, out.data(), needed - 1, to),
                  0);
        expect_error(STR_ERR_OVERFLOW, "to buffer overflow", 1002);
    }
}

TEST_F(EncodingConvertTest, RoomRunningOutKeepsWhatWasWritten) {
    const Bytes seven = bytes({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0});
    Bytes out(8, 0xCC);
    mark_error_record();
    EXPECT_EQ(str_convert(seven.data(), 8, ENC_UTF8, out.data(), 5, ENC_UTF8), 0);
    expect_error(STR_ERR_OVERFLOW, "to buffer overflow", 1002);
    EXPECT_EQ(out, bytes({'a', 'b', 'c', 'd', 'e', 0xCC, 0xCC, 0xCC}));
    // No room at all and the text not ended: the same report.
    mark_error_record();
    EXPECT_EQ(str_convert(seven.data(), 8, ENC_UTF8, out.data(), 0, ENC_UTF8), 0);
    expect_error(STR_ERR_OVERFLOW, "to buffer overflow", 1002);
}

TEST_F(EncodingConvertTest, CharacterNotFittingTheRestOfTheRoomFailsWithoutReport) {
    const Bytes src = terminated(mixed_text(ENC_UTF8), 1);
    unsigned char out[7];
    mark_error_record();
    // A, e-acute and U+6F22 take 6 bytes; the emoji's 4 do not fit in 1.
    EXPECT_EQ(str_convert(src.data(), int(src.size()), ENC_UTF8, out, 7, ENC_UTF16LE), 0);
    expect_no_report();
}

// Bad UTF-16 makes both the size and the conversion fail, with a report.
TEST_F(EncodingConvertTest, BadUtf16IsRejectedBySizeAndConversion) {
    struct Case {
        int from;
        Bytes src;
        int code;
        const char* message;
        int line;
    };
    const Case cases[] = {
        {ENC_UTF16LE, bytes({0x3D, 0xD8, 0x41, 0x00, 0, 0}), STR_ERR_INVALID,
         "unpaired high surrogate", 1369},
        {ENC_UTF16LE, bytes({0x00, 0xDC}), STR_ERR_INVALID, "unpaired low surrogate", 1374},
        {ENC_UTF16LE, bytes({0x41, 0x00, 0x3D, 0xD8}), STR_ERR_OVERFLOW, "from buffer overflow",
         1359},
        {ENC_UTF16LE, bytes({0x41}), STR_ERR_OVERFLOW,
         "from buffer overflow in private_str_decode_utf16LE", 1350},
        {ENC_UTF16LE, bytes({0x41, 0x00, 0x42}), STR_ERR_OVERFLOW,
         "from buffer overflow in private_str_decode_utf16LE", 1350},
        {ENC_UTF16BE, bytes({0xD8, 0x3D, 0x00, 0x41, 0, 0}), STR_ERR_INVALID,
         "unpaired high surrogate", 1298},
        {ENC_UTF16BE, bytes({0xDE, 0x00, 0, 0}), STR_ERR_INVALID, "unpaired low surrogate", 1303},
        {ENC_UTF16BE, bytes({0xD8, 0x3D, 0xDE}), STR_ERR_OVERFLOW, "from buffer overflow", 1288},
        {ENC_UTF16BE, bytes({0x00}), STR_ERR_OVERFLOW,
         "from buffer overflow in private_str_decode_utf16BE", 1279},
        {ENC_UTF16, bytes({0xFE, 0xFF, 0xDC, 0x00}), STR_ERR_INVALID, "unpaired low surrogate",
         1303},
        {ENC_UTF16, bytes({0xFF, 0xFE, 0x00, 0xDC}), STR_ERR_INVALID, "unpaired low surrogate",
         1374},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << ", line " << c.line);
        const ExactCopy src(c.src);
        for (int to = 0; to < 6; ++to) {
            if (to == ENC_ASCII)
                continue; // sized from the length alone, without decoding
            mark_error_record();
            EXPECT_EQ(str_convert_size(src.data.get(), src.size, c.from, to), 0) << "to " << to;
            expect_error(c.code, c.message, c.line);
        }
        unsigned char out[64];
        mark_error_record();
        EXPECT_EQ(str_convert(src.data.get(), src.size, c.from, out, 64, ENC_UTF8), 0);
        expect_error(c.code, c.message, c.line);
    }
}

TEST_F(EncodingConvertTest, MarkedSourcesSelectTheirOrder) {
    const Bytes sources[3] = {bytes({0xFE, 0xFF, 0x00, 0x41, 0x00, 0x00}),
                              bytes({0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00}),
                              bytes({0x41, 0x00, 0x00, 0x00})}; // machine order
    for (const Bytes& src : sources) {
        const Converted c = size_and_convert(src, ENC_UTF16, ENC_UTF8);
        ASSERT_TRUE(c.ok);
        EXPECT_EQ(text_part(c, ENC_UTF8), bytes({'A'}));
        EXPECT_EQ(c.size, 3);
    }
    const Bytes big = bytes({0xFE, 0xFF, 0x00, 0x41, 0xD8, 0x3D, 0xDE, 0x00, 0, 0});
    const Converted le = size_and_convert(big, ENC_UTF16, ENC_UTF16LE);
    ASSERT_TRUE(le.ok);
    EXPECT_EQ(text_part(le, ENC_UTF16LE), bytes({0x41, 0x00, 0x3D, 0xD8, 0x00, 0xDE}));
}

TEST_F(EncodingConvertTest, MarkIsWrittenOnceAndKeptAsACharacterInside) {
    // U+FEFF inside the text stays a character in both directions.
    const Bytes utf8 = bytes({0xEF, 0xBB, 0xBF, 'A', 0});
    const Converted marked = size_and_convert(utf8, ENC_UTF8, ENC_UTF16);
    ASSERT_TRUE(marked.ok);
    EXPECT_EQ(text_part(marked, ENC_UTF16), bytes({0xFF, 0xFE, 0xFF, 0xFE, 'A', 0}));
    const Converted back = size_and_convert(marked.out, ENC_UTF16, ENC_UTF8);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(text_part(back, ENC_UTF8), bytes({0xEF, 0xBB, 0xBF, 'A'}));
}

TEST_F(EncodingConvertTest, EmptyTextsGetNoMark) {
    const Bytes empty = bytes({0});
    const Converted c = size_and_convert(empty, ENC_UTF8, ENC_UTF16);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.size, 4);
    EXPECT_EQ(Bytes(c.out.begin(), c.out.begin() + 2), bytes({0, 0}));
    // A mark with nothing behind it is an empty text.
    const Converted mark_only = convert_exact(bytes({0xFF, 0xFE}), ENC_UTF16, ENC_UTF8);
    EXPECT_EQ(mark_only.size, 1);
    ASSERT_TRUE(mark_only.ok);
    EXPECT_EQ(mark_only.out, bytes({0}));
}

TEST_F(EncodingConvertTest, EmptySourceConvertsToTheTerminator) {
    const unsigned char none[1] = {'x'};
    for (int from = 0; from < 6; ++from) {
        for (int to = 0; to < 6; ++to) {
            SCOPED_TRACE(testing::Message() << "from " << from << " to " << to);
            const int size = str_convert_size(none, 0, from, to);
            EXPECT_GE(size, unit(to));
            Bytes out(size_t(size), 0xCC);
            ASSERT_EQ(str_convert(none, 0, from, out.data(), size, to), 1);
            EXPECT_EQ(Bytes(out.begin(), out.begin() + unit(to)), Bytes(size_t(unit(to)), 0));
        }
    }
    EXPECT_EQ(str_convert_size(none, 0, ENC_UTF8, ENC_UTF8), 1);
    EXPECT_EQ(str_convert_size(none, 0, ENC_UTF8, ENC_UTF16), 2);
    EXPECT_EQ(str_convert_size(none, 0, ENC_UTF8, ENC_UTF32), 4);
}

// Sources without a zero unit inside the given count, in exactly sized heap
// blocks: sizing and converting read nothing beyond them.
TEST_F(EncodingConvertTest, UnterminatedSourcesAreNeverReadPastTheirCount) {
    struct Case {
        int from;
        Bytes src;
        int to;
        int size;
        Bytes text;
    };
    const Case cases[] = {
        {ENC_UTF8, Bytes(), ENC_ASCII, 1, Bytes()},
        {ENC_UTF8, bytes({'a', 'b', 'c'}), ENC_ASCII, 4, bytes({'a', 'b', 'c'})},
        {ENC_ASCII, bytes({'a', 'b'}), ENC_ASCII, 3, bytes({'a', 'b'})},
        {ENC_UTF16LE, bytes({0x41, 0, 0x42, 0}), ENC_ASCII, 10, bytes({'A', 'B'})},
        {ENC_UTF16LE, bytes({0x41, 0, 0x42, 0}), ENC_UTF8, 3, bytes({'A', 'B'})},
        {ENC_UTF16LE, bytes({0x41, 0, 0x42, 0}), ENC_UTF32, 12,
         bytes({'A', 0, 0, 0, 'B', 0, 0, 0})},
        {ENC_UTF16BE, bytes({0, 0x41, 0, 0x42}), ENC_ASCII, 10, bytes({'A', 'B'})},
        {ENC_UTF16BE, bytes({0, 0x41, 0, 0x42}), ENC_UTF16, 8, bytes({0xFF, 0xFE, 'A', 0, 'B', 0})},
        {ENC_UTF16, bytes({0xFF, 0xFE, 0x41, 0, 0x42, 0}), ENC_ASCII, 10, bytes({'A', 'B'})},
        {ENC_UTF16, bytes({0xFE, 0xFF, 0, 0x41, 0, 0x42}), ENC_UTF8, 3, bytes({'A', 'B'})},
        {ENC_UTF16, bytes({0x41, 0, 0x42, 0}), ENC_ASCII, 10, bytes({'A', 'B'})},
        {ENC_UTF16, bytes({0x41, 0, 0x42, 0}), ENC_UTF16, 8, bytes({0xFF, 0xFE, 'A', 0, 'B', 0})},
        {ENC_UTF32, bytes({0x41, 0, 0, 0, 0x42, 0, 0, 0}), ENC_ASCII, 36, bytes({'A', 'B'})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " to " << c.to);
        const Converted out = convert_exact(c.src, c.from, c.to);
        EXPECT_EQ(out.size, c.size);
        ASSERT_TRUE(out.ok);
        EXPECT_EQ(text_part(out, c.to), c.text);
    }
    // A pair cut off by the count: sized from its length alone, or rejected
    // when decoded; never read beyond.
    const Bytes cut_pair = bytes({0x41, 0, 0x3D, 0xD8});
    EXPECT_EQ(convert_exact(cut_pair, ENC_UTF16LE, ENC_ASCII).size, 10);
    EXPECT_EQ(convert_exact(cut_pair, ENC_UTF16LE, ENC_UTF8).size, 0);
    EXPECT_EQ(convert_exact(bytes({'a', 0xC3}), ENC_UTF8, ENC_ASCII).size, 3);
}

TEST_F(EncodingConvertTest, CutOffUtf8IsRejectedWithoutReport) {
    const Bytes cut = bytes({'a', 'b', 0xE2, 0x82});
    mark_error_record();
    EXPECT_EQ(str_convert_size(cut.data(), 4, ENC_UTF8, ENC_UTF16LE), 0);
    EXPECT_EQ(str_convert_size(cut.data(), 4, ENC_UTF8, ENC_UTF32), 0);
    // ASCII is sized from the length; the conversion then fails.
    const int size = str_convert_size(cut.data(), 4, ENC_UTF8, ENC_ASCII);
    EXPECT_EQ(size, 5);
    Bytes out(size_t(size), 0xCC);
    EXPECT_EQ(str_convert(cut.data(), 4, ENC_UTF8, out.data(), size, ENC_ASCII), 0);
    expect_no_report();
}

TEST_F(EncodingConvertTest, OverlongZeroEndsTheTextAndOverlongLettersDecode) {
    const Bytes src = bytes({'a', 0xC1, 0x81, 0xC0, 0x80, 'b', 0});
    const Converted c = size_and_convert(src, ENC_UTF8, ENC_UTF16LE);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(text_part(c, ENC_UTF16LE), bytes({'a', 0, 'A', 0}));
}

TEST_F(EncodingConvertTest, FiveAndSixByteFormsBecomeQuestionMarks) {
    const Bytes five = bytes({0xF8, 0x88, 0x80, 0x80, 0x80, 0});
    const Converted utf8 = size_and_convert(five, ENC_UTF8, ENC_UTF8);
    ASSERT_TRUE(utf8.ok);
    EXPECT_EQ(text_part(utf8, ENC_UTF8), bytes({'?'}));
    const Bytes six = bytes({0xFC, 0x84, 0x80, 0x80, 0x80, 0x80, 0});
    const Converted be = size_and_convert(six, ENC_UTF8, ENC_UTF16BE);
    ASSERT_TRUE(be.ok);
    EXPECT_EQ(text_part(be, ENC_UTF16BE), bytes({0, '?'}));
    // UTF-32 keeps the value unchanged.
    const Converted wide = size_and_convert(six, ENC_UTF8, ENC_UTF32);
    ASSERT_TRUE(wide.ok);
    EXPECT_EQ(text_part(wide, ENC_UTF32), bytes({0x80, 0xDF, 0xF7, 0x7D}));
}

TEST_F(EncodingConvertTest, SurrogateFromUtf32GoesToUtf8ButNotToUtf16) {
    const Bytes lone = bytes({0x00, 0xD8, 0, 0, 0, 0, 0, 0});
    const Converted utf8 = size_and_convert(lone, ENC_UTF32, ENC_UTF8);
    ASSERT_TRUE(utf8.ok);
    EXPECT_EQ(text_part(utf8, ENC_UTF8), bytes({0xED, 0xA0, 0x80}));
    for (int to : {ENC_UTF16, ENC_UTF16BE, ENC_UTF16LE}) {
        unsigned char out[16];
        EXPECT_EQ(str_convert(lone.data(), 8, ENC_UTF32, out, 16, to), 0) << to;
    }
}

TEST_F(EncodingConvertTest, AsciiHighBytesBecomeQuestionMarks) {
    const Bytes src = bytes({'a', 0x80, 0xFF, 0});
    const Converted utf8 = size_and_convert(src, ENC_ASCII, ENC_UTF8);
    ASSERT_TRUE(utf8.ok);
    EXPECT_EQ(text_part(utf8, ENC_UTF8), bytes({'a', '?', '?'}));
    const Converted wide = size_and_convert(src, ENC_ASCII, ENC_UTF32);
    ASSERT_TRUE(wide.ok);
    EXPECT_EQ(text_part(wide, ENC_UTF32),
              bytes({'a', 0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(EncodingConvertTest, SuccessLeavesAnEarlierReportInPlace) {
    mark_error_record();
    const Converted c = size_and_convert(bytes({'o', 'k', 0}), ENC_UTF8, ENC_UTF16LE);
    ASSERT_TRUE(c.ok);
    expect_no_report();
}
