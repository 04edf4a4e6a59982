// The direct conversion loops against the table-only path: seeded random
// texts, valid and broken, in every pair of encodings, must give the same
// sizes, the same results, the same bytes (also where a conversion fails
// part-way) and the same last-error record. The ASCII block routines are
// compared with their portable forms.
#include "ezu_test.h"

#include "encoding_test_support.h"
#include "page_edge.h"

#include "ezu/core/encoding_ascii_block.h"
#include "ezu/core/encoding_fast.h"
#include "ezu/core/encoding_generic.h"
#include "ezu/core/encoding_measured.h"

#include <memory>
#include <random>
#include <string.h>
#include <string>
#include <vector>

EZU_TEST_SUITE(EncodingFastTest);

namespace {

// Appends one character of a random class in the given encoding, through
// the encoding table: mostly runs of ASCII and valid characters, with zero,
// surrogates and values above U+10FFFF mixed in.
void append_code(Bytes& out, std::mt19937& rng, int encoding, int* state) {
    uint32_t code;
    const unsigned kind = rng() % 100;
    if (kind < 50)
        code = 0x20 + rng() % 0x5F;
    else if (kind < 65)
        code = 0x80 + rng() % 0x780;
    else if (kind < 80)
        code = 0x800 + rng() % 0xF800;
    else if (kind < 90)
        code = 0x10000 + rng() % 0x100000;
    else if (kind < 93)
        code = 0xD800 + rng() % 0x800;
    else if (kind < 95)
        code = 0x110000 + rng() % 0x100;
    else if (kind < 97)
        code = 0;
    else
        code = 1 + rng() % 0x7F;
    unsigned char unit[8];
    const int n = str_encodings[encoding].encode(code, unit, 8, state);
    out.insert(out.end(), unit, unit + n);
}

// A random text in `from`: characters, then now and then raw random bytes
// (stray, cut-off and overlong sequences, odd lengths), a long ASCII run or
// a byte-order mark.
Bytes random_text(std::mt19937& rng, int from) {
    Bytes out;
    int state = 0;
    // Raw bytes break one text in four; the others are whole characters.
    const unsigned breaks = rng() % 4 == 0 ? 0 : 2;
    const int pieces = int(rng() % 24);
    for (int p = 0; p < pieces; ++p) {
        const unsigned kind = breaks + rng() % (20 - breaks);
        if (kind == 0) {
            const int n = 1 + int(rng() % 6);
            for (int i = 0; i < n; ++i)
                out.push_back((unsigned char)(0x80 + rng() % 0x80));
        } else if (kind == 1) {
            out.push_back((unsigned char)rng());
        } else if (kind == 2) {
            const int n = 16 + int(rng() % 60);
            for (int i = 0; i < n; ++i)
                append_code(out, rng, from == ENC_UTF16 ? ENC_UTF16LE : from, &state);
        } else if (kind == 3) {
            out.insert(out.end(), {0xFF, 0xFE});
        } else {
            append_code(out, rng, from == ENC_UTF16 ? ENC_UTF16LE : from, &state);
        }
    }
    return out;
}

// The first `count` bytes of a text as an exact heap copy, so that
// AddressSanitizer sees any read past them.
struct ExactBytes {
    ExactBytes(const Bytes& b, size_t count) : data(new unsigned char[count]) {
        if (count > 0)
            memcpy(data.get(), b.data(), count);
    }
    std::unique_ptr<unsigned char[]> data;
};

struct Result {
    int size = 0;
    int converted = 0;
    Bytes out;
    int code = 0;
    std::string message;
    int line = 0;
};

template <typename Size, typename Convert>
Result run(const Bytes& src, int from, int to, int room_change, Size size, Convert convert) {
    Result r;
    const ExactBytes copy(src, src.size());
    const unsigned char* data = copy.data.get();
    str_set_error(7, "marker", 1, "test");
    r.size = size(data, int(src.size()), from, to);
    // Rejected input is converted too, into room for any result, so that
    // what a failing conversion leaves behind is compared.
    const int room = r.size == 0                ? 4 * int(src.size()) + 16
                     : r.size + room_change > 0 ? r.size + room_change
                                                : 0;
    r.out.assign(size_t(room) + 8, 0xCC);
    r.converted = convert(data, int(src.size()), from, r.out.data(), room, to);
    r.code = str_error_code();
    r.message = str_error_message();
    r.line = str_error_line();
    return r;
}

void expect_same(const Result& fast, const Result& generic, const std::string& what) {
    EXPECT_EQ(fast.size, generic.size) << what;
    EXPECT_EQ(fast.converted, generic.converted) << what;
    EXPECT_EQ(fast.out, generic.out) << what;
    EXPECT_EQ(fast.code, generic.code) << what;
    EXPECT_EQ(fast.message, generic.message) << what;
    EXPECT_EQ(fast.line, generic.line) << what;
}

// Runs `check` once at every implementation level the machine has (the
// portable loops, SSE2 blocks where built, the wide blocks where the
// processor has them), then goes back to the best level.
template <typename Check> void at_every_level(Check check) {
    const int best = str_fast_force_level(-1);
    for (int level = FAST_PORTABLE; level <= best; ++level) {
        ASSERT_EQ(str_fast_force_level(level), level);
        SCOPED_TRACE("level " + std::to_string(level));
        check();
        if (::testing::Test::HasFailure())
            break;
    }
    str_fast_force_level(-1);
}

} // namespace

TEST_F(EncodingFastTest, EveryLevelTheMachineHasCanBeForced) {
    const int best = str_fast_force_level(-1);
    EXPECT_EQ(str_fast_level(), best);
    EXPECT_GE(best, EZU_ASCII_BLOCK_SSE2 ? FAST_SSE2 : FAST_PORTABLE);
    EXPECT_EQ(str_fast_force_level(FAST_PORTABLE), FAST_PORTABLE);
    EXPECT_EQ(str_fast_level(), FAST_PORTABLE);
    EXPECT_EQ(str_fast_force_level(FAST_AVX2 + 1), best); // more than there is: the best
    EXPECT_EQ(str_fast_level(), best);
}

TEST_F(EncodingFastTest, RandomTextsGiveTheTablePathsResultsInEveryPair) {
    at_every_level([] {
        std::mt19937 rng(20261208u);
        int compared = 0;
        for (int t = 0; t < 1500; ++t) {
            const int from = int(rng() % 6);
            const Bytes src = random_text(rng, from);
            // Most rooms are the size; some are short (the room runs out) or long.
            const unsigned pick = rng() % 4;
            const int room_change = pick == 0 ? -int(rng() % 12) : pick == 1 ? int(rng() % 12) : 0;
            for (int to = ENC_ASCII; to <= ENC_UTF32; ++to) {
                const std::string what = "text " + std::to_string(t) + " from " +
                                         std::to_string(from) + " to " + std::to_string(to);
                expect_same(
                    run(src, from, to, room_change, str_convert_size, str_convert),
                    run(src, from, to, room_change, str_convert_size_generic, str_convert_generic),
                    what);
                ++compared;
                if (::testing::Test::HasFailure())
                    return;
            }
        }
        EXPECT_EQ(compared, 1500 * 6);
    });
}

TEST_F(EncodingFastTest, EveryRoomAroundEveryKindOfCharacter) {
    // An ASCII run longer than a block, then one character of each class,
    // in every destination room from 0 to the size.
    at_every_level([] {
        const char* kinds[] = {"C3 A9", "E6 BC A2", "F0 9F 98 80",       "ED A0 80", "F4 90 80 80",
                               "80",    "C0 80",    "FE 80 80 80 80 80", "E6 BC"};
        for (const char* kind : kinds) {
            Bytes src = bytes(std::string(37, 'x'));
            unsigned value;
            int used;
            for (const char* p = kind; sscanf(p, " %2x%n", &value, &used) == 1; p += used)
                src.push_back((unsigned char)value);
            src.push_back('y');
            for (int to = ENC_ASCII; to <= ENC_UTF32; ++to) {
                const int size =
                    str_convert_size_generic(src.data(), int(src.size()), ENC_UTF8, to);
                for (int change = -size; change <= 4; ++change) {
                    const std::string what = std::string(kind) + " to " + std::to_string(to) +
                                             " room " + std::to_string(size + change);
                    expect_same(run(src, ENC_UTF8, to, change, str_convert_size, str_convert),
                                run(src, ENC_UTF8, to, change, str_convert_size_generic,
                                    str_convert_generic),
                                what);
                }
            }
        }
    });
}

namespace {

// Code points of one class of text, drawn at random.
uint32_t code_of_class(std::mt19937& rng, int kind) {
    switch (kind) {
    case 0:
        return 0x20 + rng() % 0x5F; // ASCII
    case 1:
        return 0x80 + rng() % 0x780; // two UTF-8 bytes
    case 2:
        return 0x800 + rng() % 0xD000; // three bytes, below the surrogates
    case 3:
        return 0x10000 + rng() % 0x100000; // four bytes, a surrogate pair
    case 4:
        return code_of_class(rng, rng() % 5 == 0 ? 0 : int(rng() % 4)); // mixed
    case 5:
        return code_of_class(rng, rng() % 5 == 0 ? 1 : 0); // accented letters among ASCII
    default:
        return code_of_class(rng, rng() % 16 == 0 ? 3 : 2); // ideographs, now and then a pair
    }
}

// Well-formed text of one class, `chars` characters long, in `encoding`.
Bytes text_of_class(std::mt19937& rng, int kind, int chars, int encoding) {
    Bytes out;
    int state = 0;
    for (int i = 0; i < chars; ++i) {
        unsigned char unit[8];
        const int n = str_encodings[encoding].encode(code_of_class(rng, kind), unit, 8, &state);
        out.insert(out.end(), unit, unit + n);
    }
    return out;
}

} // namespace

TEST_F(EncodingFastTest, FaultsAtEveryPlaceAroundTheBlocks) {
    // Texts of every class, 70 characters after an ASCII run of 100, with one
    // fault put at each byte position in turn, so that it falls at every
    // place relative to the 16- and 32-byte blocks; each is converted with
    // the sizes the table path gives, at every level, into every variable
    // width encoding, and read from an odd address too.
    const Bytes utf8_faults[] = {bytes({0x80}),
                                 bytes({0xC3}),
                                 bytes({0xE6, 0xBC}),
                                 bytes({0xC0, 0xAF}),
                                 bytes({0xED, 0xA0, 0x80}),
                                 bytes({0xF4, 0x90, 0x80, 0x80}),
                                 bytes({0xF8, 0x88, 0x80, 0x80, 0x80}),
                                 bytes({0x00}),
                                 bytes({0xFF})};
    const Bytes utf16_faults[] = {bytes({0x00, 0xDC}), bytes({0x3D, 0xD8}),
                                  bytes({0x3D, 0xD8, 0x41, 0x00}), bytes({0x00, 0x00})};
    at_every_level([&] {
        std::mt19937 rng(404u);
        for (int from : {ENC_UTF8, ENC_UTF16LE, ENC_UTF16BE}) {
            for (int kind = 0; kind < 7; ++kind) {
                Bytes text = text_of_class(rng, 0, 100, from);
                const Bytes body = text_of_class(rng, kind, 70, from);
                text.insert(text.end(), body.begin(), body.end());
                const size_t unit = from == ENC_UTF8 ? 1 : 2;
                for (size_t at = 0; at + unit <= text.size(); at += unit) {
                    Bytes src = text;
                    const size_t fault_count = from == ENC_UTF8 ? 9 : 4;
                    Bytes fault = from == ENC_UTF8 ? utf8_faults[at % fault_count]
                                                   : utf16_faults[at / 2 % fault_count];
                    if (from == ENC_UTF16BE)
                        for (size_t i = 0; i + 1 < fault.size(); i += 2)
                            std::swap(fault[i], fault[i + 1]);
                    src.insert(src.begin() + long(at), fault.begin(), fault.end());
                    for (int to : {ENC_UTF8, ENC_UTF16LE, ENC_UTF16BE, ENC_UTF32}) {
                        const std::string what = "from " + std::to_string(from) + " class " +
                                                 std::to_string(kind) + " fault at " +
                                                 std::to_string(at) + " to " + std::to_string(to);
                        expect_same(
                            run(src, from, to, 0, str_convert_size, str_convert),
                            run(src, from, to, 0, str_convert_size_generic, str_convert_generic),
                            what);
                        if (::testing::Test::HasFailure())
                            return;
                    }
                }
                // Well-formed, from every offset of an odd-aligned copy.
                Bytes shifted(text.size() + 1);
                memcpy(shifted.data() + 1, text.data(), text.size());
                for (int to : {ENC_UTF8, ENC_UTF16LE}) {
                    const int size =
                        str_convert_size(shifted.data() + 1, int(text.size()), from, to);
                    EXPECT_EQ(size,
                              str_convert_size_generic(text.data(), int(text.size()), from, to));
                    Bytes out(static_cast<size_t>(size)), expected(static_cast<size_t>(size));
                    EXPECT_EQ(str_convert(shifted.data() + 1, int(text.size()), from, out.data(),
                                          size, to),
                              1);
                    EXPECT_EQ(str_convert_generic(text.data(), int(text.size()), from,
                                                  expected.data(), size, to),
                              1);
                    EXPECT_EQ(out, expected) << "odd address, from " << from << " class " << kind;
                }
            }
        }
    });
}

TEST_F(EncodingFastTest, AsciiBlockRoutinesFindTheEndOfTheRunAsThePortableFormsDo) {
    // ASCII runs of every length from 0 to 70 with one stop behind them (a
    // zero, a high byte or a high unit) or none, in either unit order: the
    // block routines and their portable forms give the run's exact length
    // and write the same bytes, none past the run.
    std::mt19937 rng(77u);
    for (int t = 0; t < 2000; ++t) {
        const size_t n = t < 240 ? size_t(t / 6) : rng() % 70;  // every short length first
        const int stop_kind = t < 240 ? t % 3 : int(rng() % 4); // 3: no stop
        const bool big_endian = t < 240 ? (t / 3) % 2 == 0 : rng() % 2 == 0;
        const size_t total = n + 1 + rng() % 20;
        Bytes narrow_text(total + 1);
        for (unsigned char& b : narrow_text)
            b = (unsigned char)(1 + rng() % 0x7F);
        narrow_text[total] = 0;
        size_t expected = total;
        if (stop_kind != 3) {
            narrow_text[n] = stop_kind == 0 ? 0 : (unsigned char)(0x80 + rng() % 0x80);
            expected = n;
        }
        // The same text in 16-bit units; a high unit may have its high bits
        // in either byte.
        Bytes units(2 * total + 2, 0);
        for (size_t i = 0; i < total; ++i)
            units[2 * i + (big_endian ? 1 : 0)] = narrow_text[i];
        if (stop_kind == 1 && rng() % 2)
            units[2 * n + (big_endian ? 0 : 1)] = (unsigned char)(1 + rng() % 0xFF);
        const std::string what = "text " + std::to_string(t);
        EXPECT_EQ(str_ascii_span(narrow_text.data(), total), expected) << what;
        EXPECT_EQ(str_ascii_span_portable(narrow_text.data(), total), expected) << what;
        EXPECT_EQ(str_ascii_span16(units.data(), total, big_endian), expected) << what;
        EXPECT_EQ(str_ascii_span16_portable(units.data(), total, big_endian), expected) << what;
        Bytes wide(2 * total + 4, 0xCC), wide_portable(2 * total + 4, 0xCC);
        EXPECT_EQ(str_ascii_to_utf16(narrow_text.data(), total, wide.data(), big_endian), expected)
            << what;
        EXPECT_EQ(str_ascii_to_utf16_portable(narrow_text.data(), total, wide_portable.data(),
                                              big_endian),
                  expected)
            << what;
        EXPECT_EQ(wide, wide_portable) << what;
        EXPECT_EQ(wide[2 * expected], 0xCC) << "written past the run, " << what;
        Bytes narrow(total + 4, 0xCC), narrow_portable(total + 4, 0xCC);
        EXPECT_EQ(str_utf16_to_ascii(units.data(), total, narrow.data(), big_endian), expected)
            << what;
        EXPECT_EQ(
            str_utf16_to_ascii_portable(units.data(), total, narrow_portable.data(), big_endian),
            expected)
            << what;
        EXPECT_EQ(narrow, narrow_portable) << what;
        EXPECT_EQ(Bytes(narrow.begin(), narrow.begin() + long(expected)),
                  Bytes(narrow_text.begin(), narrow_text.begin() + long(expected)))
            << what;
        EXPECT_EQ(narrow[expected], 0xCC) << "written past the run, " << what;
        if (::testing::Test::HasFailure())
            return;
    }
}

namespace {

// Text lengths by the character-stepping rules, one step at a time.
int stepped_length(const Bytes& t, int limit, int encoding) {
    int pos = 0;
    if (encoding == ENC_ASCII) {
        while (pos < limit && t[size_t(pos)] != 0)
            ++pos;
        return pos;
    }
    if (encoding == ENC_UTF8) {
        while (pos < limit && t[size_t(pos)] != 0) {
            const int n = str_utf8_seq_len(t[size_t(pos)]);
            // Within a bound a zero byte inside a sequence belongs to the
            // character, as the decoder reads it; only the bound cuts it.
            for (int i = 1; i < n; ++i)
                if (pos + i >= limit)
                    return pos + i;
            pos += n;
        }
        return pos;
    }
    const bool big_endian = encoding == ENC_UTF16BE;
    auto unit = [&](int at) {
        return big_endian ? t[size_t(at)] << 8 | t[size_t(at) + 1]
                          : t[size_t(at) + 1] << 8 | t[size_t(at)];
    };
    while (pos + 2 <= limit && unit(pos) != 0) {
        const bool high = unit(pos) >= 0xD800 && unit(pos) <= 0xDBFF;
        pos += 2;
        if (high && pos + 2 <= limit && unit(pos) != 0)
            pos += 2;
    }
    return pos;
}

} // namespace

TEST_F(EncodingFastTest, TextLengthsOverAsciiRunsMatchCharacterSteps) {
    // ASCII runs of every length with a zero, a high byte, a lead or a
    // surrogate behind them, measured with every limit.
    std::mt19937 rng(5u);
    const unsigned stops[] = {0x00, 0x80, 0xC3, 0xE6, 0xF0, 0xFE, 0xD83D, 0xDC00, 0x6F22};
    for (int t = 0; t < 200; ++t) {
        for (int encoding : {ENC_ASCII, ENC_UTF8, ENC_UTF16BE, ENC_UTF16LE}) {
            const bool wide = encoding >= ENC_UTF16BE;
            Bytes text;
            auto put = [&](unsigned unit) {
                if (encoding == ENC_UTF16BE)
                    text.insert(text.end(), {(unsigned char)(unit >> 8), (unsigned char)unit});
                else if (encoding == ENC_UTF16LE)
                    text.insert(text.end(), {(unsigned char)unit, (unsigned char)(unit >> 8)});
                else
                    text.push_back((unsigned char)unit);
            };
            const int pieces = 1 + int(rng() % 6);
            for (int p = 0; p < pieces; ++p) {
                for (unsigned n = rng() % 40; n > 0; --n)
                    put('a');
                put(stops[rng() % (wide ? 9 : 6)]);
            }
            for (int limit = 0; limit <= int(text.size()); ++limit) {
                const ExactBytes copy(text, size_t(limit));
                EXPECT_EQ(str_encodings[encoding].text_length(copy.data.get(), limit),
                          stepped_length(text, limit, encoding))
                    << "text " << t << " encoding " << encoding << " limit " << limit;
            }
        }
    }
}

TEST_F(EncodingFastTest, TextLengthFindsTheFirstZeroUnitFromEveryAlignment) {
    // A long UTF-16 text whose units often have one zero byte, with a zero
    // unit at every place in turn (or none), starting at every even offset
    // from a 64-byte boundary and at odd ones: the length is the bytes in
    // front of that unit, at every level.
    std::mt19937 rng(64u);
    const int units = 420;
    std::vector<uint16_t> text(static_cast<size_t>(units));
    for (uint16_t& unit : text)
        unit = uint16_t(rng() % 3 == 0 ? 0x41 : rng() % 2 ? 0x4100 : 1 + rng() % 0xFFFF);
    alignas(64) static unsigned char area[2 * 420 + 128];
    at_every_level([&] {
        for (size_t offset : {0, 2, 14, 16, 30, 32, 46, 62, 1, 33}) {
            unsigned char* const src = area + offset;
            for (int zero = 0; zero <= units; ++zero) {
                memcpy(src, text.data(), 2 * size_t(units));
                if (zero < units)
                    memset(src + 2 * zero, 0, 2);
                ASSERT_EQ(str_fast_text_length(src, 2 * units, ENC_UTF16LE),
                          zero < units ? 2 * zero : 2 * units)
                    << "offset " << offset << " zero at " << zero;
            }
        }
    });
}

TEST_F(EncodingFastTest, ReadingStopsAtTheTerminatorOfATextGivenTooLong) {
    // Zero-terminated texts in exact heap copies, given with a length far
    // past their end: only the bytes up to the terminator may be read
    // (AddressSanitizer checks), and the results are those of the exact
    // length.
    std::mt19937 rng(11u);
    for (int t = 0; t < 200; ++t) {
        const int from = 1 + int(rng() % 5);
        Bytes text;
        int state = 0;
        for (unsigned n = rng() % 80; n > 0; --n) {
            const uint32_t code = rng() % 3 ? 'a' + rng() % 26 : 0xA0 + rng() % 0x3000;
            unsigned char unit[8];
            const int written = str_encodings[from].encode(code, unit, 8, &state);
            text.insert(text.end(), unit, unit + written);
        }
        text = terminated(text, str_encodings[from].unit_size);
        const ExactBytes copy(text, text.size());
        for (int to = ENC_ASCII; to <= ENC_UTF32; ++to) {
            const int size = str_convert_size(copy.data.get(), int(text.size()), from, to);
            EXPECT_EQ(str_convert_size(copy.data.get(), int(text.size()) + 4096, from, to), size)
                << "text " << t << " from " << from << " to " << to;
            Bytes out(size_t(size), 0xCC), exact(size_t(size), 0xCC);
            EXPECT_EQ(
                str_convert(copy.data.get(), int(text.size()) + 4096, from, out.data(), size, to),
                str_convert(copy.data.get(), int(text.size()), from, exact.data(), size, to));
            EXPECT_EQ(out, exact) << "text " << t << " from " << from << " to " << to;
        }
    }
}

TEST_F(EncodingFastTest, ReadingStopsAtATerminatorRightBeforeAnInaccessiblePage) {
    // Zero-terminated texts of one and two pages whose terminator is the last
    // byte in front of a page that faults on any access, given with a length
    // a page too long: sizing and converting read nothing past the
    // terminator and give the table path's results for the exact length.
    // Lengths sit around the block sizes and the page's end.
    const PageEdge memory(2);
    ASSERT_NE(memory.edge(), nullptr);
    const size_t lengths[] = {1,    2,    17,   33,   63,   64,   65,  130,
                              4031, 4095, 4096, 4100, 4150, 4159, 8000};
    at_every_level([&] {
        std::mt19937 rng(4096u);
        for (int kind : {0, 2, 3, 4, 5}) {
            for (size_t length : lengths) {
                // `length` bytes of text from one class, made up with ASCII
                // where the next character would not fit, and the terminator.
                Bytes text;
                for (;;) {
                    const Bytes next = text_of_class(rng, kind, 1, ENC_UTF8);
                    if (text.size() + next.size() > length)
                        break;
                    text.insert(text.end(), next.begin(), next.end());
                }
                text.resize(length, 'x');
                text.push_back(0);
                unsigned char* const at = memory.edge() - text.size();
                memcpy(at, text.data(), text.size());
                for (int from : {ENC_ASCII, ENC_UTF8}) {
                    for (int to : {ENC_ASCII, ENC_UTF8, ENC_UTF16LE, ENC_UTF32}) {
                        const std::string what = "class " + std::to_string(kind) + " length " +
                                                 std::to_string(length) + " from " +
                                                 std::to_string(from) + " to " + std::to_string(to);
                        const int too_long = int(text.size()) + int(PageEdge::kPage);
                        const int size = str_convert_size(at, too_long, from, to);
                        ASSERT_EQ(size,
                                  str_convert_size_generic(text.data(), int(text.size()), from, to))
                            << what;
                        Bytes out(size_t(size) + 4, 0xCC), exact(size_t(size) + 4, 0xCC);
                        EXPECT_EQ(str_convert(at, too_long, from, out.data(), size, to),
                                  str_convert_generic(text.data(), int(text.size()), from,
                                                      exact.data(), size, to))
                            << what;
                        EXPECT_EQ(out, exact) << what;
                        // A caller that knows the text has no zero lets the
                        // loops see all of it at once.
                        int measured = 0;
                        Bytes whole(size_t(size) + 4, 0xCC);
                        if (str_convert_measured(at, int(length), from, whole.data(), size, to,
                                                 &measured, true)) {
                            EXPECT_EQ(measured,
                                      str_convert_size_generic(text.data(), int(length), from, to))
                                << what;
                            EXPECT_EQ(whole, exact) << what;
                        }
                    }
                }
                if (::testing::Test::HasFailure())
                    return;
            }
        }
    });
}
