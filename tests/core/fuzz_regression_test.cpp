// Inputs the fuzz targets found (fuzz/regressions/encoding/), kept as cases
// of the ordinary suite.
#include "ezu_test.h"

#include "ezu/ezu.h"

#include <vector>

EZU_TEST_SUITE(EncodingFuzzRegression);

// A zero byte inside a UTF-8 sequence belongs to the character, for the
// decoder and for the length that sizes an ASCII destination alike: the
// conversion fits the room the sizing announced.
TEST_F(EncodingFuzzRegression, ZeroInsideUtf8SequenceSizesAsciiRoomForTheConversion) {
    const unsigned char source[] = {0xE0, 0x00, 0x00, 0x80, 0x00};
    const int size = str_convert_size(source, sizeof source, ENC_UTF8, ENC_ASCII);
    ASSERT_EQ(size, 5);
    std::vector<char> out(size_t(size), 'x');
    ASSERT_EQ(str_convert(source, sizeof source, ENC_UTF8, out.data(), size, ENC_ASCII), 1);
    EXPECT_STREQ(out.data(), "??");
    // Without a bound the terminator still ends the text.
    EXPECT_EQ(str_encodings[ENC_UTF8].text_length(source, -1), 1);
    EXPECT_EQ(str_encodings[ENC_UTF8].text_length(source, 5), 4);
    EXPECT_EQ(str_encodings[ENC_UTF8].text_length(source, 2), 2);
}
