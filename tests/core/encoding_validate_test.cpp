// The well-formedness check: every kind of fault at every position inside
// and around runs of ASCII (and of mixed text) in every encoding, and random
// texts, well-formed and damaged, against a reference built from the Unicode
// standard's table of well-formed UTF-8 and against the conversion.
#include "ezu_test.h"

#include "encoding_test_support.h"
#include "test_lcg.h"

#include <string.h>

#include <set>
#include <string>
#include <vector>

EZU_TEST_SUITE(EncodingValidateTest);

namespace {

// How a text is written: its encoding, and for the UTF-16 forms the order
// and the mark in front.
struct Form {
    const char* name;
    int encoding;
    bool big_endian;
    const char* mark; // bytes in front of the text
    int mark_bytes;
};

bool machine_big_endian() {
    return str_native_utf16() == ENC_UTF16BE;
}

std::vector<Form> all_forms() {
    const bool native_big = machine_big_endian();
    return {
        {"ascii", ENC_ASCII, false, "", 0},
        {"utf8", ENC_UTF8, false, "", 0},
        {"utf16be", ENC_UTF16BE, true, "", 0},
        {"utf16le", ENC_UTF16LE, false, "", 0},
        {"utf16 FE FF", ENC_UTF16, true, "\xFE\xFF", 2},
        {"utf16 FF FE", ENC_UTF16, false, "\xFF\xFE", 2},
        {"utf16 unmarked", ENC_UTF16, native_big, "", 0},
        {"utf32", ENC_UTF32, native_big, "", 0},
    };
}

int unit_size(const Form& f) {
    return str_encodings[f.encoding].unit_size;
}

// Units of the form (bytes, 16-bit or 32-bit units) as bytes.
void append_units(Bytes& out, const Form& f, const std::vector<uint32_t>& units) {
    for (uint32_t u : units) {
        if (unit_size(f) == 1) {
            out.push_back((unsigned char)u);
        } else if (unit_size(f) == 2) {
            out.push_back((unsigned char)(f.big_endian ? u >> 8 : u));
            out.push_back((unsigned char)(f.big_endian ? u : u >> 8));
        } else {
            unsigned char word[4];
            memcpy(word, &u, 4);
            out.insert(out.end(), word, word + 4);
        }
    }
}

// A code point as units of the form, written by hand (not by the core).
std::vector<uint32_t> units_of(const Form& f, uint32_t c) {
    if (unit_size(f) == 4 || c < 0x80)
        return {c};
    if (unit_size(f) == 2) {
        if (c < 0x10000)
            return {c};
        return {0xD800 + ((c - 0x10000) >> 10), 0xDC00 + ((c - 0x10000) & 0x3FF)};
    }
    if (c < 0x800)
        return {0xC0 | c >> 6, 0x80 | (c & 0x3F)};
    if (c < 0x10000)
        return {0xE0 | c >> 12, 0x80 | (c >> 6 & 0x3F), 0x80 | (c & 0x3F)};
    return {0xF0 | c >> 18, 0x80 | (c >> 12 & 0x3F), 0x80 | (c >> 6 & 0x3F), 0x80 | (c & 0x3F)};
}

void append_code(Bytes& out, const Form& f, uint32_t c) {
    append_units(out, f, units_of(f, c));
}

bool is_utf16(const Form& f) {
    return unit_size(f) == 2;
}

// One ill-formed piece of text: which forms it belongs to (by unit size, or
// only UTF-8 or only ASCII), its units, and the fault it must give at its
// first byte. `at_end` pieces are faults only where the input ends.
struct BadPiece {
    int family; // 0 ASCII, 1 UTF-8, 2 UTF-16, 4 UTF-32
    std::vector<uint32_t> units;
    Bytes tail; // raw bytes behind the units
    int fault;
    bool at_end;
};

int family_of(const Form& f) {
    return f.encoding == ENC_ASCII ? 0 : f.encoding == ENC_UTF8 ? 1 : unit_size(f);
}

const BadPiece kBadPieces[] = {
    {0, {0x80}, {}, STR_FAULT_ASCII_HIGH_BYTE, false},
    {0, {0xFF}, {}, STR_FAULT_ASCII_HIGH_BYTE, false},
    {1, {0x80}, {}, STR_FAULT_UTF8_STRAY_CONTINUATION, false},
    {1, {0xBF, 0xBF}, {}, STR_FAULT_UTF8_STRAY_CONTINUATION, false},
    {1, {0xFE}, {}, STR_FAULT_UTF8_INVALID_BYTE, false},
    {1, {0xFF}, {}, STR_FAULT_UTF8_INVALID_BYTE, false},
    {1, {0xC0, 0xAF}, {}, STR_FAULT_UTF8_OVERLONG, false},
    {1, {0xC1, 0xBF}, {}, STR_FAULT_UTF8_OVERLONG, false},
    {1, {0xE0, 0x80, 0xAF}, {}, STR_FAULT_UTF8_OVERLONG, false},
    {1, {0xE0, 0x9F, 0xBF}, {}, STR_FAULT_UTF8_OVERLONG, false},
    {1, {0xF0, 0x8F, 0xBF, 0xBF}, {}, STR_FAULT_UTF8_OVERLONG, false},
    {1, {0xED, 0xA0, 0x80}, {}, STR_FAULT_UTF8_SURROGATE, false},
    {1, {0xED, 0xBF, 0xBF}, {}, STR_FAULT_UTF8_SURROGATE, false},
    {1, {0xF4, 0x90, 0x80, 0x80}, {}, STR_FAULT_UTF8_TOO_LARGE, false},
    {1, {0xF5, 0x80, 0x80, 0x80}, {}, STR_FAULT_UTF8_TOO_LARGE, false},
    {1, {0xF7, 0xBF, 0xBF, 0xBF}, {}, STR_FAULT_UTF8_TOO_LARGE, false},
    {1, {0xF8, 0x88, 0x80, 0x80, 0x80}, {}, STR_FAULT_UTF8_LONG_FORM, false},
    {1, {0xFD, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF}, {}, STR_FAULT_UTF8_LONG_FORM, false},
    {1, {0xC3, 0x41}, {}, STR_FAULT_UTF8_MISSING_CONTINUATION, false},
    {1, {0xE6, 0x41}, {}, STR_FAULT_UTF8_MISSING_CONTINUATION, false},
    {1, {0xE6, 0xBC, 0xC3, 0xA9}, {}, STR_FAULT_UTF8_MISSING_CONTINUATION, false},
    {1, {0xF0, 0x9F, 0x98, 0x20}, {}, STR_FAULT_UTF8_MISSING_CONTINUATION, false},
    {1, {0xC3}, {}, STR_FAULT_UTF8_CUT_OFF, true},
    {1, {0xE6, 0xBC}, {}, STR_FAULT_UTF8_CUT_OFF, true},
    {1, {0xF0, 0x9F, 0x98}, {}, STR_FAULT_UTF8_CUT_OFF, true},
    {2, {0xD83D, 0x0041}, {}, STR_FAULT_UTF16_UNPAIRED_HIGH, false},
    {2, {0xDBFF, 0xD800, 0xDC00}, {}, STR_FAULT_UTF16_UNPAIRED_HIGH, false},
    {2, {0xD800}, {}, STR_FAULT_UTF16_UNPAIRED_HIGH, true},
    {2, {0xD800}, {0x20}, STR_FAULT_UTF16_UNPAIRED_HIGH, true},
    {2, {0xDC00}, {}, STR_FAULT_UTF16_UNPAIRED_LOW, false},
    {2, {0xDFFF, 0xDFFF}, {}, STR_FAULT_UTF16_UNPAIRED_LOW, false},
    {2, {}, {0x41}, STR_FAULT_UTF16_ODD_BYTE, true},
    {4, {0x110000}, {}, STR_FAULT_UTF32_TOO_LARGE, false},
    {4, {0xFFFFFFFF}, {}, STR_FAULT_UTF32_TOO_LARGE, false},
    {4, {0xD800}, {}, STR_FAULT_UTF32_SURROGATE, false},
    {4, {0xDFFF}, {}, STR_FAULT_UTF32_SURROGATE, false},
    {4, {}, {0x41, 0x00, 0x00}, STR_FAULT_UTF32_PARTIAL_UNIT, true},
};

// The i-th character of a prefix or suffix: plain ASCII, or (when `mixed`)
// now and then an accented letter, an ideograph or an emoji.
uint32_t filler(size_t i, bool mixed) {
    if (mixed && i % 7 == 3)
        return 0xE9;
    if (mixed && i % 7 == 5)
        return 0x6F22;
    if (mixed && i % 11 == 10)
        return 0x1F600;
    return 'a' + uint32_t(i % 26);
}

} // namespace

TEST_F(EncodingValidateTest, EveryFaultIsFoundWhereverItStandsInARun) {
    // Runs from 0 to 40 characters cross the 8- and 16-unit blocks; the
    // fault is followed by nothing or by up to 18 more characters.
    for (const Form& f : all_forms()) {
        for (const BadPiece& piece : kBadPieces) {
            if (piece.family != family_of(f))
                continue;
            for (bool mixed : {false, true}) {
                if (mixed && f.encoding == ENC_ASCII)
                    continue;
                for (size_t before = 0; before <= 40; ++before) {
                    Bytes text(f.mark, f.mark + f.mark_bytes);
                    for (size_t i = 0; i < before; ++i)
                        append_code(text, f, filler(i, mixed));
                    const int expected_offset = int(text.size());
                    append_units(text, f, piece.units);
                    text.insert(text.end(), piece.tail.begin(), piece.tail.end());
                    for (size_t after = 0; after <= (piece.at_end ? 0 : 18); ++after) {
                        Bytes whole = text;
                        for (size_t i = 0; i < after; ++i)
                            append_code(whole, f, filler(i + 1, mixed));
                        int offset = -1;
                        const int fault =
                            str_validate(whole.data(), int(whole.size()), f.encoding, &offset);
                        ASSERT_EQ(fault, piece.fault)
                            << f.name << " mixed " << mixed << " before " << before << " after "
                            << after << " piece starting " << std::hex << piece.units[0];
                        ASSERT_EQ(offset, expected_offset)
                            << f.name << " mixed " << mixed << " before " << before << " after "
                            << after;
                    }
                }
            }
        }
    }
}

namespace {

// The rows of the Unicode standard's table of well-formed UTF-8 byte
// sequences: the ranges of the first to fourth byte.
struct Row {
    int length;
    unsigned char low[4], high[4];
};
const Row kWellFormedRows[] = {
    {1, {0x00}, {0x7F}},
    {2, {0xC2, 0x80}, {0xDF, 0xBF}},
    {3, {0xE0, 0xA0, 0x80}, {0xE0, 0xBF, 0xBF}},
    {3, {0xE1, 0x80, 0x80}, {0xEC, 0xBF, 0xBF}},
    {3, {0xED, 0x80, 0x80}, {0xED, 0x9F, 0xBF}},
    {3, {0xEE, 0x80, 0x80}, {0xEF, 0xBF, 0xBF}},
    {4, {0xF0, 0x90, 0x80, 0x80}, {0xF0, 0xBF, 0xBF, 0xBF}},
    {4, {0xF1, 0x80, 0x80, 0x80}, {0xF3, 0xBF, 0xBF, 0xBF}},
    {4, {0xF4, 0x80, 0x80, 0x80}, {0xF4, 0x8F, 0xBF, 0xBF}},
};

// The reference: the offset of the first ill-formed sequence (the size when
// there is none) and the code points in front of it.
int reference_check(const Bytes& text, const Form& f, std::vector<uint32_t>& codes) {
    const size_t n = text.size();
    size_t pos = size_t(f.mark_bytes);
    while (pos < n) {
        size_t length = 0;
        uint32_t code = 0;
        if (f.encoding == ENC_ASCII) {
            length = text[pos] < 0x80 ? 1 : 0;
            code = text[pos];
        } else if (f.encoding == ENC_UTF8) {
            for (const Row& row : kWellFormedRows) {
                bool fits = n - pos >= size_t(row.length);
                for (int i = 0; fits && i < row.length; ++i)
                    fits = text[pos + i] >= row.low[i] && text[pos + i] <= row.high[i];
                if (fits) {
                    length = size_t(row.length);
                    static const uint32_t kLeadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
                    code = text[pos] & kLeadMask[length];
                    for (size_t i = 1; i < length; ++i)
                        code = code << 6 | (text[pos + i] & 0x3Fu);
                    break;
                }
            }
        } else if (is_utf16(f)) {
            auto unit = [&](size_t at) {
                return f.big_endian ? uint32_t(text[at]) << 8 | text[at + 1]
                                    : uint32_t(text[at + 1]) << 8 | text[at];
            };
            if (n - pos >= 2 && (unit(pos) < 0xD800 || unit(pos) > 0xDFFF)) {
                length = 2;
                code = unit(pos);
            } else if (n - pos >= 4 && unit(pos) >= 0xD800 && unit(pos) < 0xDC00 &&
                       unit(pos + 2) >= 0xDC00 && unit(pos + 2) <= 0xDFFF) {
                length = 4;
                code = 0x10000 + ((unit(pos) - 0xD800) << 10) + (unit(pos + 2) - 0xDC00);
            }
        } else if (n - pos >= 4) {
            memcpy(&code, &text[pos], 4);
            length = code < 0xD800 || (code > 0xDFFF && code <= 0x10FFFF) ? 4 : 0;
        }
        if (length == 0)
            return int(pos);
        codes.push_back(code);
        pos += length;
    }
    return int(n);
}

// The code points the core's conversion into UTF-32 gives, up to the text's
// first zero; false when the conversion fails.
bool core_codes(const Bytes& text, int encoding, std::vector<uint32_t>& codes) {
    const Converted c = size_and_convert(text, encoding, ENC_UTF32);
    if (!c.ok)
        return false;
    const Bytes part = text_part(c, ENC_UTF32);
    codes.resize(part.size() / 4);
    if (!part.empty())
        memcpy(codes.data(), part.data(), part.size());
    return true;
}

std::vector<uint32_t> up_to_zero(std::vector<uint32_t> codes) {
    for (size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == 0)
            codes.resize(i);
    return codes;
}

// A random character: mostly ASCII, then two-, three- and four-byte ones,
// the edges of each range, and now and then a zero.
uint32_t random_code(Lcg& rng) {
    static const uint32_t kEdges[] = {0x7F,   0x80,   0x7FF,  0x800,   0xD7FF,
                                      0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
    const uint32_t kind = rng.below(100);
    if (kind < 40)
        return 0x20 + rng.below(0x5F);
    if (kind < 55)
        return 0x80 + rng.below(0x780);
    if (kind < 75) {
        const uint32_t c = 0x800 + rng.below(0xF800);
        return c >= 0xD800 && c <= 0xDFFF ? c + 0x800 : c;
    }
    if (kind < 88)
        return 0x10000 + rng.below(0x100000);
    if (kind < 98)
        return kEdges[rng.below(10)];
    return 0;
}

} // namespace

TEST_F(EncodingValidateTest, AgreesWithTheStandardsTableAndTheConversionOnRandomText) {
    // Well-formed texts are accepted whole and convert to their characters;
    // damaged copies (bytes changed, dropped or inserted) get the reference's
    // verdict, and whenever the check accepts one the conversion succeeds
    // with the reference's characters.
    Lcg rng{2026};
    for (const Form& f : all_forms()) {
        for (int round = 0; round < 400; ++round) {
            Bytes text(f.mark, f.mark + f.mark_bytes);
            std::vector<uint32_t> written;
            const int length = int(rng.below(70));
            for (int i = 0; i < length; ++i) {
                uint32_t c = random_code(rng);
                if (f.encoding == ENC_ASCII)
                    c &= 0x7F;
                append_code(text, f, c);
                written.push_back(c);
            }
            int offset = -1;
            ASSERT_EQ(str_validate(text.data(), int(text.size()), f.encoding, &offset),
                      STR_WELL_FORMED)
                << f.name << " round " << round;
            ASSERT_EQ(offset, int(text.size()));
            std::vector<uint32_t> converted;
            ASSERT_TRUE(core_codes(text, f.encoding, converted)) << f.name << " round " << round;
            ASSERT_EQ(converted, up_to_zero(written)) << f.name << " round " << round;

            for (int damage = 0; damage < 4; ++damage) {
                Bytes bad = text;
                const size_t at = size_t(f.mark_bytes) +
                                  rng.below(uint32_t(bad.size() - size_t(f.mark_bytes) + 1));
                const unsigned char byte = (unsigned char)rng.below(256);
                if (damage == 0 && at < bad.size())
                    bad[at] = byte;
                else if (damage == 1 && at < bad.size())
                    bad.erase(bad.begin() + long(at));
                else
                    bad.insert(bad.begin() + long(at), byte);
                std::vector<uint32_t> reference;
                const int expected = reference_check(bad, f, reference);
                const int fault = str_validate(bad.data(), int(bad.size()), f.encoding, &offset);
                ASSERT_EQ(fault == STR_WELL_FORMED, expected == int(bad.size()))
                    << f.name << " round " << round << " damage " << damage;
                ASSERT_EQ(offset, expected) << f.name << " round " << round << " damage " << damage;
                if (fault == STR_WELL_FORMED) {
                    ASSERT_TRUE(core_codes(bad, f.encoding, converted)) << f.name;
                    ASSERT_EQ(converted, up_to_zero(reference)) << f.name << " round " << round;
                }
            }
        }
    }
}

TEST_F(EncodingValidateTest, LongTextsAreCheckedToTheirEnd) {
    // A fault deep inside a long run, behind blocks the fast path takes
    // whole, and a text whose runs are broken by zero characters.
    for (const Form& f : all_forms()) {
        Bytes text(f.mark, f.mark + f.mark_bytes);
        for (size_t i = 0; i < 5000; ++i)
            append_code(text, f, i % 100 == 99 ? 0 : filler(i, f.encoding != ENC_ASCII));
        int offset = -1;
        EXPECT_EQ(str_validate(text.data(), int(text.size()), f.encoding, &offset), STR_WELL_FORMED)
            << f.name;
        EXPECT_EQ(offset, int(text.size())) << f.name;
        const int bad_at = int(text.size());
        for (const BadPiece& piece : kBadPieces)
            if (piece.family == family_of(f) && !piece.at_end) {
                append_units(text, f, piece.units);
                break;
            }
        append_code(text, f, 'z');
        EXPECT_NE(str_validate(text.data(), int(text.size()), f.encoding, &offset), STR_WELL_FORMED)
            << f.name;
        EXPECT_EQ(offset, bad_at) << f.name;
    }
}

TEST_F(EncodingValidateTest, FaultsHaveTheirOwnPlainWords) {
    std::set<std::string> seen;
    for (int fault = STR_WELL_FORMED; fault < STR_FAULT_COUNT; ++fault) {
        const std::string words = str_fault_text(fault);
        EXPECT_TRUE(seen.insert(words).second) << "twice: " << words;
        EXPECT_EQ(words.find('_'), std::string::npos) << words;
    }
    EXPECT_STREQ(str_fault_text(STR_FAULT_UTF8_OVERLONG), "overlong UTF-8 form");
    EXPECT_STREQ(str_fault_text(STR_FAULT_UTF32_PARTIAL_UNIT), "UTF-32 text ending inside a unit");
    EXPECT_STREQ(str_fault_text(STR_FAULT_COUNT), "unknown fault");
    EXPECT_STREQ(str_fault_text(-1), "unknown fault");
}

TEST_F(EncodingValidateTest, BadArgumentsAreEmptyTextOrAnUnknownEncoding) {
    int offset = -1;
    EXPECT_EQ(str_validate(nullptr, 10, ENC_UTF8, &offset), STR_WELL_FORMED);
    EXPECT_EQ(offset, 0);
    const unsigned char high = 0xFF;
    EXPECT_EQ(str_validate(&high, -1, ENC_ASCII, &offset), STR_WELL_FORMED);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(str_validate(&high, 1, ENC_ASCII, nullptr), STR_FAULT_ASCII_HIGH_BYTE);
    for (int encoding : {-1, 6}) {
        offset = -1;
        EXPECT_EQ(str_validate("a", 1, encoding, &offset), STR_FAULT_UNKNOWN_ENCODING);
        EXPECT_EQ(offset, 0);
    }
}
