// UTF-8 into the platform's wide text: str_to_platform_wide and the platform
// converter under it.
#include "ezu_test.h"

#include "encoding_test_support.h"

#include "ezu/core/mem.h"
#include "ezu/platform/platform.h"

#include <string.h>

EZU_TEST_SUITE(EncodingWideTest);

namespace {

size_t wide_length(const EzuWChar* text) {
    size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

// What the encoding core writes for the text in encoding 4, terminator excluded.
Bytes core_utf16le(const char* utf8) {
    const Converted c =
        size_and_convert(terminated(bytes(std::string(utf8)), 1), ENC_UTF8, ENC_UTF16LE);
    EXPECT_TRUE(c.ok);
    return text_part(c, ENC_UTF16LE);
}

} // namespace

TEST_F(EncodingWideTest, PlatformWideTextMatchesTheCoreUtf16) {
    const char* texts[] = {
        "",
        "plain ASCII text",
        "caf\xC3\xA9 na\xC3\xAFve \xC3\x85ngstr\xC3\xB6m",              // accented letters
        "\xE6\xBC\xA2\xE5\xAD\x97 \xE3\x81\x8B\xE3\x81\xAA",            // CJK ideographs and kana
        "smile \xF0\x9F\x98\x80 and \xF0\x9F\x8E\x89 \xF4\x8F\xBF\xBF", // supplementary planes
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EzuWChar* wide = str_to_platform_wide(text);
        ASSERT_NE(wide, nullptr);
        const size_t units = wide_length(wide);
        EXPECT_EQ(units_as_le_bytes(wide, units), core_utf16le(text));
        // The block is the size the encoding core asked for.
        const int size = str_convert_size(text, int(strlen(text)), ENC_UTF8, ENC_UTF16);
        EXPECT_GE(size, int((units + 1) * 2));
        EXPECT_EQ(mem_free(wide), (size + 3) & ~3);
    }
}

TEST_F(EncodingWideTest, RejectedOrMissingTextGivesNull) {
    const int blocks = mem_blocks_in_use();
    EXPECT_EQ(str_to_platform_wide(nullptr), nullptr);
    // A sequence cut off by the terminator: the core sizes it as 0.
    EXPECT_EQ(str_to_platform_wide("abc\xE2\x82"), nullptr);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
}

TEST_F(EncodingWideTest, StrayContinuationByteBecomesTheReplacementCharacter) {
    EzuWChar* wide = str_to_platform_wide("a\x80z");
    ASSERT_NE(wide, nullptr);
    ASSERT_EQ(wide_length(wide), 3u);
    EXPECT_EQ(unsigned(wide[0]), 0x61u);
    EXPECT_EQ(unsigned(wide[1]), 0xFFFDu);
    EXPECT_EQ(unsigned(wide[2]), 0x7Au);
    mem_free(wide);
}

TEST_F(EncodingWideTest, ConverterCountsTheTerminatorOfAZeroTerminatedText) {
    const char* text = "a\xC3\xA9\xF0\x9F\x98\x80"; // 1 + 1 + 2 units
    EXPECT_EQ(plat_utf8_to_wide(text, -1, nullptr, 0), 5);
    EzuWChar out[8];
    for (EzuWChar& u : out)
        u = 0x7777;
    EXPECT_EQ(plat_utf8_to_wide(text, -1, out, 5), 5);
    EXPECT_EQ(units_as_le_bytes(out, 5), bytes({0x61, 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
    EXPECT_EQ(unsigned(out[5]), 0x7777u);
    // One unit short of room fails.
    EXPECT_EQ(plat_utf8_to_wide(text, -1, out, 4), 0);
}

TEST_F(EncodingWideTest, ConverterWithALengthConvertsExactlyThoseBytes) {
    const char text[] = {'a', 'b', 0, 'c'};
    EzuWChar out[8];
    for (EzuWChar& u : out)
        u = 0x7777;
    EXPECT_EQ(plat_utf8_to_wide(text, 2, nullptr, 0), 2);
    EXPECT_EQ(plat_utf8_to_wide(text, 2, out, 8), 2);
    EXPECT_EQ(unsigned(out[2]), 0x7777u);             // no terminator added
    EXPECT_EQ(plat_utf8_to_wide(text, 4, out, 8), 4); // a zero inside is a character
    EXPECT_EQ(unsigned(out[2]), 0u);
    EXPECT_EQ(unsigned(out[3]), unsigned('c'));
    EXPECT_EQ(plat_utf8_to_wide(text, 0, out, 8), 0);
    EXPECT_EQ(plat_utf8_to_wide(text, 4, out, 3), 0); // one unit short
}

TEST_F(EncodingWideTest, ConverterReplacesIllFormedSequences) {
    struct Case {
        const char* text;
        int units;
        unsigned expected[5];
    };
    const Case cases[] = {
        {"\xFF", 1, {0xFFFD}},
        {"a\xC3", 2, {0x61, 0xFFFD}},
        {"\xE2\x82z", 2, {0xFFFD, 0x7A}},  // cut-off sequence, the next byte kept
        {"\xC0\xAF", 2, {0xFFFD, 0xFFFD}}, // overlong
        {"\x80\x80", 2, {0xFFFD, 0xFFFD}},
        {"\xF8\x88\x80\x80\x80", 5, {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case with " << c.units << " units");
        EzuWChar out[8] = {};
        ASSERT_EQ(plat_utf8_to_wide(c.text, int(strlen(c.text)), out, 8), c.units);
        for (int i = 0; i < c.units; ++i)
            EXPECT_EQ(unsigned(out[i]), c.expected[i]) << i;
    }
}

// An encoded surrogate or a value above U+10FFFF never comes out as one:
// how many replacement characters it becomes is the converter's own policy.
TEST_F(EncodingWideTest, ConverterNeverPassesSurrogatesOrValuesAboveUnicode) {
    const char* texts[] = {"\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF7\xBF\xBF\xBF"};
    for (const char* text : texts) {
        EzuWChar out[8] = {};
        const int units = plat_utf8_to_wide(text, int(strlen(text)), out, 8);
        EXPECT_GE(units, 2);
        for (int i = 0; i < units; ++i)
            EXPECT_EQ(unsigned(out[i]), 0xFFFDu) << i;
    }
}
