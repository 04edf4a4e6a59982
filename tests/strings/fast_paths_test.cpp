// The one-pass forms of splitting, joining, substitution and appending,
// each checked against the step-by-step road it replaces: split against
// takeUntil/takeToken taken one token at a time, join against
// appendWithSeparator one element at a time (whole blocks compared, stale
// bytes included), arg against the substitution rules written out here, and
// TStr appends against the lower tier's str_append. Texts are seeded and
// include multi-byte and malformed UTF-8.
#include "ezu_test.h"

#include "ezu/core/encoding_generic.h"
#include "ezu/ezu.h"
#include "test_lcg.h"

#include <stdint.h>
#include <string.h>
#include <string>
#include <vector>

EZU_TEST_SUITE(FastPathsTest);

namespace {

// Bytes as they stand (no conversion): the string holds exactly `s`.
TStr raw(const std::string& s) {
    StrBuf* buf = str_new();
    buf->data = static_cast<char*>(mem_alloc(int(s.size()) + 1));
    memcpy(buf->data, s.c_str(), s.size() + 1);
    buf->capacity = int(s.size()) + 1;
    return TStr::adopt(buf);
}

std::string bytes_of(const TStr& s) {
    return s.isNull() ? std::string("<null>") : std::string(s.buffer()->data);
}

// The whole block: text, terminator and whatever follows it.
std::string block_of(const TStr& s) {
    const StrBuf* b = s.buffer();
    return b->data ? std::string(b->data, size_t(b->capacity)) : std::string("<null>");
}

// Random text over a small alphabet rich in separators, "%", digits and
// bytes above 127 (whole and cut-short sequences).
std::string random_text(Lcg& rng, int max_len) {
    static const char* const pieces[] = {
        "a", "b", ":",        "::",           ";",    ",",        "%",    "%1",   "%2",  "%%",
        "1", " ", "\xc3\xa9", "\xe2\x82\xac", "\xc3", "\xf0\x9f", "\xe2", "\x80", "ab:", ":cd"};
    std::string s;
    const int n = int(rng.below(uint32_t(max_len) + 1));
    for (int i = 0; i < n; ++i)
        s += pieces[rng.below(sizeof pieces / sizeof pieces[0])];
    return s;
}

std::vector<std::string> elements(const TEzuStrList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.size(); ++i)
        out.push_back(bytes_of(*list.at(i)));
    return out;
}

std::vector<int> capacities(const TEzuStrList& list) {
    std::vector<int> out;
    for (int i = 0; i < list.size(); ++i)
        out.push_back(list.at(i)->buffer()->capacity);
    return out;
}

// The list the step-by-step road builds: one token per call on a copy.
TEzuStrList by_tokens(const TStr& text, const TStr& separator, bool any) {
    TEzuStrList list;
    TStr rest(text);
    while (!rest.isEmpty())
        list.append(any ? rest.takeToken(separator) : rest.takeUntil(separator));
    return list;
}

TStr by_appending(const TEzuStrList& list, const TStr& separator) {
    TStr result;
    for (int i = 0; i < list.size(); ++i)
        result.appendWithSeparator(*list.at(i), separator);
    return result;
}

// The substitution rules written out on std::string: the lowest placeholder
// "%1".."%9" (a "%" consumes the character after it), every occurrence
// replaced by the value padded to the width in characters.
size_t char_len(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = (c & 0xFC) == 0xFC   ? 6
               : (c & 0xF8) == 0xF8 ? 5
               : (c & 0xF0) == 0xF0 ? 4
               : (c & 0xE0) == 0xE0 ? 3
               : (c & 0xC0) == 0xC0 ? 2
                                    : 1;
    size_t j = 1;
    while (j < n && i + j < s.size())
        ++j;
    return j;
}

size_t chars_in(const std::string& s) {
    size_t count = 0;
    for (size_t i = 0; i < s.size(); i += char_len(s, i))
        ++count;
    return count;
}

std::string expected_arg(const std::string& pattern, const std::string& value, int width) {
    char lowest = 0;
    for (size_t i = 0; i < pattern.size();) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const char d = pattern[i + 1];
            if (d >= '1' && d <= '9' && (!lowest || d < lowest))
                lowest = d;
            i += 1 + char_len(pattern, i + 1);
        } else {
            i += char_len(pattern, i);
        }
    }
    if (!lowest)
        return pattern;
    std::string insert = value;
    const size_t magnitude = size_t(width < 0 ? -(long long)width : width);
    if (magnitude > chars_in(value)) {
        const std::string pad(magnitude - chars_in(value), ' ');
        insert = width > 0 ? pad + value : value + pad;
    }
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == lowest) {
                out += insert;
                i += 2;
                continue;
            }
            const size_t n = 1 + char_len(pattern, i + 1);
            out += pattern.substr(i, n);
            i += n;
        } else {
            const size_t n = char_len(pattern, i);
            out += pattern.substr(i, n);
            i += n;
        }
    }
    return out;
}

} // namespace

TEST_F(FastPathsTest, SplitMatchesTakingTokensOneByOne) {
    Lcg rng = {11};
    const char* const separators[] = {":", "::", "ab", "\xc3\xa9", "%", "a:b:c:d:e:f"};
    for (int round = 0; round < 1500; ++round) {
        const TStr text = raw(random_text(rng, 12));
        const TStr sep = raw(separators[rng.below(6)]);
        const TEzuStrList fast = TEzuStrList::split(sep, text);
        const TEzuStrList slow = by_tokens(text, sep, false);
        ASSERT_EQ(elements(fast), elements(slow)) << bytes_of(text) << " at " << bytes_of(sep);
        ASSERT_EQ(capacities(fast), capacities(slow));
        const TStr chars = raw(round % 2 ? ":;," : "%\xc3");
        const TEzuStrList fast_any = TEzuStrList::splitAny(chars, text);
        const TEzuStrList slow_any = by_tokens(text, chars, true);
        ASSERT_EQ(elements(fast_any), elements(slow_any)) << bytes_of(text);
        ASSERT_EQ(capacities(fast_any), capacities(slow_any));
    }
}

TEST_F(FastPathsTest, SplitEdgeSeparatorsAndTexts) {
    const TStr text("a:b");
    // An empty or null separator takes the whole text; a null or empty text
    // gives no element.
    for (const TStr& sep : {TStr(""), TStr()}) {
        EXPECT_EQ(elements(TEzuStrList::split(sep, text)), elements(by_tokens(text, sep, false)));
        EXPECT_EQ(TEzuStrList::split(sep, text).size(), 1);
        EXPECT_EQ(TEzuStrList::splitAny(sep, text).size(), 1);
    }
    EXPECT_EQ(TEzuStrList::split(":", TStr()).size(), 0);
    EXPECT_EQ(TEzuStrList::split(":", TStr("")).size(), 0);
    EXPECT_EQ(TEzuStrList::splitAny(":", TStr()).size(), 0);
    EXPECT_EQ(elements(TEzuStrList::split(':', TStr(":a::"))),
              (std::vector<std::string>{"", "a", ""}));
    EXPECT_EQ(elements(TEzuStrList::splitAny(":", TStr("::a::b::"))),
              (std::vector<std::string>{"", "a", "b"}));
}

TEST_F(FastPathsTest, JoinMatchesAppendingOneByOne) {
    Lcg rng = {23};
    const char* const separators[] = {":", "::", "ab", "\xc3\xa9", ""};
    for (int round = 0; round < 1500; ++round) {
        TEzuStrList list;
        const int n = int(rng.below(8));
        for (int i = 0; i < n; ++i)
            list.append(raw(random_text(rng, 4)));
        // Elements changed in place may keep stale bytes behind their
        // terminator, or be in the null state.
        if (n && rng.below(2))
            list.at(0)->truncate(int(rng.below(3)));
        if (n > 1 && rng.below(4) == 0)
            list.at(1)->takeUntil(TStr("\x01"));
        const TStr sep = rng.below(8) ? raw(separators[rng.below(5)]) : TStr();
        const TStr fast = list.join(sep);
        const TStr slow = by_appending(list, sep);
        ASSERT_EQ(fast.isNull(), slow.isNull());
        ASSERT_EQ(bytes_of(fast), bytes_of(slow));
        ASSERT_EQ(fast.buffer()->capacity, slow.buffer()->capacity);
        ASSERT_EQ(block_of(fast), block_of(slow));
    }
}

TEST_F(FastPathsTest, SplitAndJoinRoundTripNonEmptyElements) {
    Lcg rng = {5};
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> items;
        TEzuStrList list;
        const int n = 1 + int(rng.below(64));
        for (int i = 0; i < n; ++i) {
            std::string item = "e" + std::to_string(rng.next()) + "\xc3\xa9";
            items.push_back(item);
            list.append(raw(item));
        }
        const TStr joined = list.join(":");
        const TEzuStrList back = TEzuStrList::split(":", joined);
        ASSERT_EQ(elements(back), items);
    }
}

TEST_F(FastPathsTest, ArgFollowsTheSubstitutionRules) {
    Lcg rng = {31};
    for (int round = 0; round < 3000; ++round) {
        const std::string pattern = random_text(rng, 10);
        const std::string value = random_text(rng, 3);
        const int width = int(rng.below(21)) - 10;
        const TStr result = raw(pattern).arg(raw(value), width);
        const std::string expected = expected_arg(pattern, value, width);
        ASSERT_EQ(bytes_of(result), expected) << pattern << " / " << value << " / " << width;
        ASSERT_EQ(result.buffer()->capacity, int(expected.size()) + 1);
    }
}

TEST_F(FastPathsTest, TypedArgFormsMatchTheStringForm) {
    const TStr pattern("[%2|%1|%1]");
    for (int c = -128; c < 128; ++c) {
        const char ch = char(c);
        // A char is the one-character text read in encoding 0.
        EXPECT_TRUE(pattern.arg(ch, 3) == pattern.arg(TStr(ch), 3)) << c;
    }
    EXPECT_TRUE(pattern.arg("plain", -7) == pattern.arg(TStr("plain"), -7));
    EXPECT_TRUE(pattern.arg("h\xe9gh", 6) == pattern.arg(TStr("h\xe9gh"), 6));
    EXPECT_TRUE(pattern.arg("h\xe9gh", 6) == "[%2|  h?gh|  h?gh]");
    EXPECT_TRUE(pattern.arg(static_cast<const char*>(nullptr), 2) == "[%2|  |  ]");
    EXPECT_TRUE(TStr("%1 of %2 files copied").arg(3).arg(10) == "3 of 10 files copied");
}

TEST_F(FastPathsTest, AppendsMatchTheLowerTier) {
    Lcg rng = {47};
    for (int round = 0; round < 200; ++round) {
        // A string built from bytes starts with the end of its text known.
        const uint32_t start = rng.below(4);
        const std::string first = start ? random_text(rng, 3) : std::string();
        TStr fast = start == 0   ? TStr()
                    : start == 3 ? TStr(first.data(), int(first.size()), ENC_UTF8)
                                 : raw(first);
        StrBuf* slow = str_dup(fast.buffer());
        if (fast.isNull())
            str_clear(slow);
        for (int step = 0; step < 20; ++step) {
            const std::string piece = random_text(rng, 3);
            switch (rng.below(6)) {
            case 5: {
                const TStr other = raw(piece);
                const TStr separator = raw(random_text(rng, 2));
                fast.appendWithSeparator(other, separator);
                str_append_sep(slow, other.buffer(), separator.buffer());
                break;
            }
            case 3: {
                // A change in place between appends: the next append must
                // find the text's new end (a cut keeps the block and leaves
                // the old terminator behind the new one).
                const int keep = int(rng.below(uint32_t(fast.length()) + 1));
                fast.truncate(keep);
                str_truncate(slow, keep);
                break;
            }
            case 4: {
                const TStr what = raw(piece.substr(0, 1));
                const TStr with = raw(piece.empty() ? piece : piece.substr(1));
                fast.replace(what, with);
                str_replace(slow, what.buffer(), with.buffer());
                break;
            }
            case 0: {
                const TStr other = raw(piece);
                fast += other;
                str_append(slow, other.buffer());
                break;
            }
            case 1: {
                // Text read in encoding 0: bytes above 127 become "?".
                fast += piece.c_str();
                const TStr converted(piece.c_str());
                str_append(slow, converted.buffer());
                break;
            }
            case 2: {
                const char c = piece.empty() ? 0 : piece[0];
                fast += c;
                const TStr converted(c);
                str_append(slow, converted.buffer());
            }
            }
            ASSERT_EQ(block_of(fast), slow->data ? std::string(slow->data, size_t(slow->capacity))
                                                 : std::string("<null>"));
            ASSERT_EQ(fast.buffer()->capacity, slow->capacity);
        }
        str_free(slow);
    }
}

TEST_F(FastPathsTest, AppendAfterACutShortCharacter) {
    // The text ends inside a three-byte character whose last byte is 7-bit;
    // the appended character's bytes then step differently, and the result
    // is cut after the old length plus the appended length.
    for (const char* old_text : {"\xe2"
                                 "a",
                                 "x\xf0"
                                 "ab",
                                 "\xfc"
                                 "abcd",
                                 "\xc3"}) {
        TStr fast = raw(old_text);
        StrBuf* slow = str_dup(fast.buffer());
        const TStr euro = raw("\xe2\x82\xac"
                              "z");
        fast += euro;
        str_append(slow, euro.buffer());
        EXPECT_EQ(block_of(fast), std::string(slow->data, size_t(slow->capacity))) << old_text;
        str_free(slow);
    }
    // The same when the cut-short character came in by an append or a join:
    // the end they remember must not claim a whole last character. "\xe0ab"
    // is one character alone and two behind a cut-short lead byte.
    const TStr cut = raw("\xc2");
    const TStr odd = raw("\xe0"
                         "ab");
    const TStr separator("/");
    for (int way = 0; way < 2; ++way) {
        TStr fast("x");
        StrBuf* slow = str_dup(fast.buffer());
        if (way == 0) {
            fast += cut;
            str_append(slow, cut.buffer());
        } else {
            fast.appendWithSeparator(cut, separator);
            str_append_sep(slow, cut.buffer(), separator.buffer());
        }
        fast += odd;
        str_append(slow, odd.buffer());
        EXPECT_EQ(block_of(fast), std::string(slow->data, size_t(slow->capacity))) << way;
        str_free(slow);
    }
}

TEST_F(FastPathsTest, ManyAppendsKeepTheExactCapacity) {
    TStr s;
    s += 'x'; // a null-state string takes the text as its first block
    int expected = s.buffer()->capacity;
    for (int i = 1; i < 2000; ++i) {
        s += 'x';
        expected += 2; // the byte and one more, with no spare growth
        ASSERT_EQ(s.buffer()->capacity, expected);
    }
    EXPECT_EQ(s.length(), 2000);
    s += "yz";
    EXPECT_EQ(s.buffer()->capacity, expected + 3);
    s += s; // its own text
    EXPECT_EQ(s.length(), 4004);
    // Text from its own block and its own view.
    s = TStr("abcdef");
    s += s.buffer()->data + 3;
    EXPECT_TRUE(s == "abcdefdef");
    s += s.ascii();
    EXPECT_TRUE(s == "abcdefdefabcdefdef");
}

namespace {

// Text for the one-pass construction and views: long 7-bit runs (whole
// texts of them too), characters of every length and the bytes the sizing
// pass and the conversion treat specially: stray and cut-off sequences,
// overlong zero, a surrogate, five-byte forms and zero bytes.
std::string one_pass_text(Lcg& rng) {
    static const char* const pieces[] = {
        "\xc3\xa9",     "\xe6\xbc\xa2",         "\xf0\x9f\x98\x80", "\x80", "\xc0\x80",
        "\xed\xa0\x80", "\xf8\x88\x80\x80\x80", "\xe6\xbc",         "\xc3"};
    std::string s;
    const bool only_ascii = rng.below(3) == 0;
    for (int n = int(rng.below(8)); n >= 0; --n) {
        s.append(rng.below(80), char('a' + rng.below(26)));
        if (only_ascii)
            continue;
        const uint32_t pick = rng.below(10);
        if (pick == 9)
            s += '\0';
        else
            s += pieces[pick];
    }
    return s;
}

struct ErrorRecord {
    int code;
    std::string message;
    int line;
};

ErrorRecord error_record() {
    return {str_error_code(), str_error_message() ? str_error_message() : "", str_error_line()};
}

void expect_same_record(const ErrorRecord& a, const ErrorRecord& b, const std::string& what) {
    EXPECT_EQ(a.code, b.code) << what;
    EXPECT_EQ(a.message, b.message) << what;
    EXPECT_EQ(a.line, b.line) << what;
}

} // namespace

TEST_F(FastPathsTest, ConstructionAndViewsMatchTheSizingRoad) {
    // A new buffer from bytes in any encoding (the UTF-8 text read as
    // UTF-16 and UTF-32 too), and the UTF-16 views of a string, are made in
    // one pass; block sizes, bytes (stale ones
    // included), the null state and the last-error record must be those of
    // sizing first, then converting.
    Lcg rng{31337};
    int built_views = 0;
    for (int t = 0; t < 600; ++t) {
        std::string text = one_pass_text(rng);
        // Two long texts, whose views take a block too large to shrink in
        // place.
        while (t < 2 && text.size() < 140000)
            text += t == 0 ? "abc\xc3\xa9\xe6\xbc\xa2 " : "\xf0\x9f\x98\x80xyz";
        const std::string what = "text " + std::to_string(t);
        for (int encoding = ENC_ASCII; encoding <= ENC_UTF32; ++encoding) {
            str_set_error(7, "marker", 1, "test");
            const int size =
                str_convert_size_generic(text.data(), int(text.size()), encoding, ENC_UTF8);
            std::string expected = "<null>";
            if (size > 0) {
                std::string block(size_t(size), '\0');
                if (str_convert_generic(text.data(), int(text.size()), encoding, &block[0], size,
                                        ENC_UTF8))
                    expected = block;
            }
            const ErrorRecord sized = error_record();
            str_set_error(7, "marker", 1, "test");
            const TStr built(text.data(), int(text.size()), encoding);
            EXPECT_EQ(block_of(built), expected) << what << " encoding " << encoding;
            expect_same_record(error_record(), sized, what);
        }
        const TStr stored = raw(text.c_str());
        const char* const stored_text = stored.buffer()->data;
        // A string built from the bytes knows its length; its views must
        // come out as those of the same text stored as it stands.
        const TStr built(text.data(), int(text.size()), ENC_UTF8);
        const bool same_text = bytes_of(built) == bytes_of(stored);
        built_views += same_text ? 1 : 0;
        for (int encoding : {ENC_UTF16LE, ENC_UTF16BE}) {
            str_set_error(7, "marker", 1, "test");
            const int length = int(strlen(stored_text));
            int size = str_convert_size_generic(stored_text, length, ENC_UTF8, encoding);
            std::string expected(size_t(size > 0 ? size : 2) + 1, '\0');
            if (size > 0 && !str_convert_generic(stored_text, length, ENC_UTF8, &expected[0],
                                                 size + 1, encoding))
                expected.assign(expected.size(), '\0');
            const ErrorRecord sized = error_record();
            str_set_error(7, "marker", 1, "test");
            const int bytes_before = mem_bytes_in_use();
            const char* view = static_cast<const char*>(
                encoding == ENC_UTF16LE ? static_cast<const void*>(stored.utf16le())
                                        : stored.utf16be());
            ASSERT_NE(view, nullptr) << what;
            EXPECT_EQ(std::string(view, expected.size()), expected) << what << " to " << encoding;
            expect_same_record(error_record(), sized, what);
            // The first view's block: encoding number, text, one spare byte.
            const int block_size = int(expected.size()) + 4;
            if (encoding == ENC_UTF16LE) {
                EXPECT_EQ(mem_bytes_in_use() - bytes_before, (block_size + 3) / 4 * 4 + 12) << what;
            }
            if (same_text) {
                const int built_before = mem_bytes_in_use();
                const char* built_view = static_cast<const char*>(
                    encoding == ENC_UTF16LE ? static_cast<const void*>(built.utf16le())
                                            : built.utf16be());
                ASSERT_NE(built_view, nullptr) << what;
                EXPECT_EQ(std::string(built_view, expected.size()), expected)
                    << what << " built, to " << encoding;
                if (encoding == ENC_UTF16LE) {
                    EXPECT_EQ(mem_bytes_in_use() - built_before, (block_size + 3) / 4 * 4 + 12)
                        << what << " built";
                }
            }
        }
    }
    EXPECT_GT(built_views, 200); // about half the texts are well-formed
}
