#include "ezu_test.h"
#include "str_ops_test_util.h"
#include "test_lcg.h"

#include <stdint.h>

EZU_TEST_SUITE(MarkerTest);
EZU_TEST_SUITE(EscapeTest);

namespace {

const char kListChars[] = ":!{}";

// The marker search written out step by step: the first close at or after
// `from`, the last open that starts before it; without one, on behind it.
size_t model_marker(const std::string& t, size_t from, const std::string& open,
                    const std::string& close, size_t* length) {
    for (;;) {
        const size_t end = t.find(close, from);
        if (end == std::string::npos)
            return std::string::npos;
        size_t last = std::string::npos;
        for (size_t o = t.find(open, from); o != std::string::npos && o < end;
             o = t.find(open, o + 1))
            last = o;
        if (last != std::string::npos) {
            *length = end - last + close.size();
            return last;
        }
        from = end + close.size();
    }
}

// The code a marker's inside names, or 0: hex digits of either case giving a
// character (1 to U+10FFFF, no surrogate).
uint32_t model_code(const std::string& inside) {
    if (inside.empty())
        return 0;
    uint64_t code = 0;
    for (char c : inside) {
        const char* digits = "0123456789abcdef";
        const char lower = c >= 'A' && c <= 'F' ? char(c + 32) : c;
        const char* at = lower ? strchr(digits, lower) : nullptr;
        if (!at)
            return 0;
        code = code * 16 + uint64_t(at - digits);
        if (code > 0x10FFFF)
            return 0;
    }
    return code && (code < 0xD800 || code > 0xDFFF) ? uint32_t(code) : 0;
}

std::string model_utf8(uint32_t c) {
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xF0 | (c >> 18));
        s += char(0x80 | ((c >> 12) & 0x3F));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}

// Unescaping as the marker search repeated from behind each marker.
std::string model_unescape(const std::string& t) {
    std::string out;
    size_t done = 0;
    size_t n = 0;
    for (size_t at; (at = model_marker(t, done, "!{", "}", &n)) != std::string::npos;) {
        out += t.substr(done, at - done);
        const uint32_t code = model_code(t.substr(at + 2, n - 3));
        out += code ? model_utf8(code) : t.substr(at, n);
        done = at + n;
    }
    return out + t.substr(done);
}

// Text rich in the characters markers are made of.
std::string marker_rich_text(Lcg& rng) {
    static const char* const pieces[] = {"!", "{", "}",        "!{",     "3a",   "7D",     "0", "f",
                                         "G", "x", "\xC3\xA9", "10FFFF", "d800", "110000", ":"};
    std::string s;
    for (uint32_t i = rng.below(40); i > 0; --i) {
        s += pieces[rng.below(sizeof pieces / sizeof pieces[0])];
    }
    return s;
}

} // namespace

TEST_F(MarkerTest, FindsTheInnermostMarkerBeforeTheFirstClose) {
    int length = -1;
    EXPECT_EQ(TStr("x{a}y").findMarker("{", "}", &length), 1);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(TStr("{a{b}c}").findMarker("{", "}", &length), 2);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(TStr("{a}").findMarker("{", "}", &length), 0); // may start at 0
    EXPECT_EQ(length, 3);
    EXPECT_EQ(TStr("a!{3a}b").findMarker("!{", "}", &length), 1);
    EXPECT_EQ(length, 5);
    EXPECT_EQ(TStr("<<x>>").findMarker("<<", ">>", &length), 0);
    EXPECT_EQ(length, 5);
}

TEST_F(MarkerTest, CloseWithoutOpenIsPassedOver) {
    int length = -1;
    EXPECT_EQ(TStr("a}b{c}").findMarker("{", "}", &length), 3);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(TStr("}}{x}").findMarker("{", "}", &length), 2);
    length = -1;
    EXPECT_EQ(TStr("a}b}").findMarker("{", "}", &length), -1);
    EXPECT_EQ(TStr("{ab").findMarker("{", "}", &length), -1);
    EXPECT_EQ(TStr("").findMarker("{", "}", &length), -1);
    EXPECT_EQ(TStr().findMarker("{", "}", &length), -1);
    EXPECT_EQ(length, -1); // untouched when nothing is found
}

TEST_F(MarkerTest, FromSkipsEarlierMarkers) {
    int length = 0;
    const TStr s("{a}{bb}");
    EXPECT_EQ(s.findMarker("{", "}", &length, 0), 0);
    EXPECT_EQ(s.findMarker("{", "}", &length, 1), 3);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(s.findMarker("{", "}", &length, 4), -1); // its open is before from
    EXPECT_EQ(s.findMarker("{", "}", &length, 99), -1);
    EXPECT_EQ(s.findMarker("{", "}", nullptr, 0), 0); // length may be left out
}

TEST_F(MarkerTest, MultiByteTextGivesByteOffsets) {
    int length = 0;
    // 'é' (2 bytes), then the marker "{€}" of 5 bytes.
    const TStr s = u8("\xC3\xA9{\xE2\x82\xAC}{x}");
    EXPECT_EQ(s.findMarker("{", "}", &length), 2);
    EXPECT_EQ(length, 5);
    EXPECT_EQ(s.findMarker("{", "}", &length, 2), 7); // from counts characters
    EXPECT_EQ(length, 3);
}

TEST_F(MarkerTest, EmptyOrNullDelimitersFindNothing) {
    int length = 0;
    const TStr s("{a}");
    EXPECT_EQ(s.findMarker("{", "", &length), -1);
    EXPECT_EQ(s.findMarker("", "}", &length), -1);
    EXPECT_EQ(s.findMarker(TStr(), "}", &length), -1);
    EXPECT_EQ(s.findMarker("{", TStr(), &length), -1);
}

TEST_F(EscapeTest, EscapesTheListCharacters) {
    EXPECT_EQ(TStr(":").escaped(kListChars), "!{3a}");
    EXPECT_EQ(TStr("!").escaped(kListChars), "!{21}");
    EXPECT_EQ(TStr("{").escaped(kListChars), "!{7b}");
    EXPECT_EQ(TStr("}").escaped(kListChars), "!{7d}");
    EXPECT_EQ(TStr("C:\\dir").escaped(kListChars), "C!{3a}\\dir");
    EXPECT_EQ(TStr("a{b}").escaped(kListChars), "a!{7b}b!{7d}");
    EXPECT_EQ(TStr("plain").escaped(kListChars), "plain");
    EXPECT_EQ(TStr("").escaped(kListChars), "");
    EXPECT_EQ(TStr("a:b").escaped(""), "a:b");
}

TEST_F(EscapeTest, EscapesByCodePointInLowerCaseWithoutLeadingZeros) {
    EXPECT_EQ(TStr("\t").escaped("\t"), "!{9}");
    EXPECT_EQ(u8("a\xC3\xA9").escaped(u8("\xC3\xA9")), "a!{e9}");
    EXPECT_EQ(u8("\xE2\x82\xAC").escaped(u8("\xE2\x82\xAC")), "!{20ac}");
    EXPECT_EQ(u8("\xF0\x9F\x98\x80").escaped(u8("\xF0\x9F\x98\x80")), "!{1f600}");
    EXPECT_EQ(u8("\xF4\x8F\xBF\xBF").escaped(u8("\xF4\x8F\xBF\xBF")), "!{10ffff}");
    // Only whole characters of the set count: 'é' (C3 A9) is not 'É' (C3 89).
    EXPECT_EQ(u8("\xC3\x89").escaped(u8("\xC3\xA9")), u8("\xC3\x89"));
}

TEST_F(EscapeTest, UnescapesEitherCase) {
    EXPECT_EQ(TStr("C!{3a}\\dir").unescaped(), "C:\\dir");
    EXPECT_EQ(TStr("a!{7B}b!{7d}").unescaped(), "a{b}");
    EXPECT_EQ(TStr("!{21}!{3A}").unescaped(), "!:");
    EXPECT_EQ(TStr("!{20ac}").unescaped(), u8("\xE2\x82\xAC"));
    EXPECT_EQ(TStr("!{1F600}").unescaped(), u8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(TStr("!{0041}").unescaped(), "A"); // leading zeros are still hex
    EXPECT_EQ(TStr("no markers").unescaped(), "no markers");
}

TEST_F(EscapeTest, ProducedCharactersAreNotReadAgain) {
    // "!{21}" gives "!", which with the following "{7d}" would spell a new
    // marker if the scan went back over it.
    EXPECT_EQ(TStr("!{21}{7d}").unescaped(), "!{7d}");
    EXPECT_EQ(TStr("!{21}!{7b}7d}").unescaped(), "!{7d}");
}

TEST_F(EscapeTest, MalformedMarkersStayAsWritten) {
    for (const char* text : {"!{}", "!{xyz}", "!{3g}", "!{-1}", "!{ 3a}", "!{0}", "!{000}",
                             "!{d800}", "!{DFFF}", "!{110000}", "!{ffffffff}",
                             "!{100000000000000003a}", "!{3a", "!3a}", "{3a}", "!{", "}"}) {
        EXPECT_EQ(TStr(text).unescaped(), text) << text;
    }
    EXPECT_EQ(TStr("!{zz}!{3a}").unescaped(), "!{zz}:");
    EXPECT_EQ(TStr("!{!{3a}}").unescaped(), "!{:}"); // the innermost marker wins
    EXPECT_EQ(u8("!{\xC3\xA9}!{e9}").unescaped(), u8("!{\xC3\xA9}\xC3\xA9"));
}

TEST_F(EscapeTest, RoundTripsTextWithAllFourAndMultiByteCharacters) {
    const char* samples[] = {
        ":!{}",       "a:b!c{d}e", "!{3a}",
        "}{!:",       "::!!{{}}",  "C:\\dir\\f\xC3\xA9:\xE2\x82\xAC{\xF0\x9F\x98\x80}",
        "!{21}!{7d}", "",
    };
    for (const char* sample : samples) {
        const TStr original = u8(sample);
        const TStr escaped = original.escaped(kListChars);
        EXPECT_EQ(escaped.find(":"), -1) << sample;
        EXPECT_EQ(escaped.unescaped(), original) << sample;
    }
    // Escaping multi-byte characters of the set round-trips too.
    const TStr multi = u8("\xC3\xA9-\xE2\x82\xAC-\xF0\x9F\x98\x80");
    const TStr set = u8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(multi.escaped(set), "!{e9}-!{20ac}-!{1f600}");
    EXPECT_EQ(multi.escaped(set).unescaped(), multi);
}

TEST_F(EscapeTest, MalformedUtf8IsCopiedNotEscaped) {
    // A cut sequence at the end and a stray continuation byte: copied as they
    // stand, and nothing is read past the terminator.
    Buf text(str_new());
    ASSERT_EQ(str_resize(text, 8), 1);
    memcpy(text->data, ":\x80:\xE2\x82", 6);
    Buf set(str_from_ascii(":"));
    Buf escaped(str_escape(text, set));
    EXPECT_EQ(text_of(escaped), "!{3a}\x80!{3a}\xE2\x82");
    Buf back(str_unescape(escaped));
    EXPECT_EQ(text_of(back), ":\x80:\xE2\x82");
}

TEST_F(EscapeTest, NullStateGivesEmptyText) {
    EXPECT_EQ(TStr().escaped(kListChars), "");
    EXPECT_FALSE(TStr().escaped(kListChars).isNull());
    EXPECT_EQ(TStr().unescaped(), "");
    EXPECT_EQ(TStr("a:b").escaped(TStr()), "a:b");
}

TEST_F(EscapeTest, LowerTierResultFitsItsBlock) {
    Buf text(str_from_ascii("!{3a}!{7b}x"));
    Buf back(str_unescape(text));
    EXPECT_EQ(text_of(back), ":{x");
    EXPECT_LE(int(strlen(back->data)) + 1, back->capacity);
    Buf set(str_from_ascii("x"));
    Buf escaped(str_escape(text, set));
    EXPECT_EQ(text_of(escaped), "!{3a}!{7b}!{78}");
    EXPECT_EQ(escaped->capacity, 16); // exactly the text and its terminator
}

TEST_F(EscapeTest, SearchAndUnescapeMatchTheStepByStepModel) {
    Lcg rng = {2024};
    const char* const delimiters[][2] = {{"!{", "}"}, {"{", "}"}, {"!", "!{"}, {"{}", "}"}};
    for (int round = 0; round < 3000; ++round) {
        const std::string text = marker_rich_text(rng);
        EXPECT_EQ(text_of(Buf(str_unescape(Buf(str_from_utf8(text.c_str()))))),
                  model_unescape(text))
            << text;
        // The search itself, from a byte position (positions count bytes
        // here: the search texts below are 7-bit).
        std::string ascii = text;
        for (char& c : ascii)
            c = static_cast<unsigned char>(c) >= 0x80 ? 'e' : c;
        const auto& d = delimiters[rng.below(4)];
        const size_t from = rng.below(uint32_t(ascii.size()) + 1);
        size_t model_n = 0;
        const size_t model_at = model_marker(ascii, from, d[0], d[1], &model_n);
        int n = -1;
        const int at = TStr(ascii.c_str()).findMarker(d[0], d[1], &n, int(from));
        if (model_at == std::string::npos) {
            EXPECT_EQ(at, -1) << ascii << " from " << from;
        } else {
            EXPECT_EQ(at, int(model_at)) << ascii << " from " << from;
            EXPECT_EQ(n, int(model_n)) << ascii << " from " << from;
        }
    }
}
