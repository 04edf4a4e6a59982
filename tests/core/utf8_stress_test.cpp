// Decoder stress cases of the kind published for testing UTF-8 decoders
// (stray and missing continuation bytes, 0xFE/0xFF, overlong forms, encoded
// surrogates, the largest and the boundary code points), and the UTF-16
// decoders' rejections, each alone and at every position of an ASCII run, so
// that a conversion reading ASCII in blocks meets every case at every
// alignment. The expected results are what the conversion rules give: the
// permissive UTF-8 decoder, "?" for what an encoder cannot write, and the
// reports of the UTF-16 decoders.
#include "ezu_test.h"

#include "encoding_test_support.h"

#include <stdio.h>

#include <string>

EZU_TEST_SUITE(Utf8StressTest);
EZU_TEST_SUITE(Utf16StressTest);

namespace {

Bytes hex(const char* text) {
    Bytes out;
    unsigned value;
    int used;
    while (sscanf(text, " %2x%n", &value, &used) == 1) {
        out.push_back((unsigned char)value);
        text += used;
    }
    return out;
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Report {
    int code;
    const char* message;
    int line;
};

const Report kLe1350 = {STR_ERR_OVERFLOW, "from buffer overflow in private_str_decode_utf16LE",
                        1350};
const Report kLe1359 = {STR_ERR_OVERFLOW, "from buffer overflow", 1359};
const Report kLe1369 = {STR_ERR_INVALID, "unpaired high surrogate", 1369};
const Report kLe1374 = {STR_ERR_INVALID, "unpaired low surrogate", 1374};
const Report kBe1279 = {STR_ERR_OVERFLOW, "from buffer overflow in private_str_decode_utf16BE",
                        1279};
const Report kBe1288 = {STR_ERR_OVERFLOW, "from buffer overflow", 1288};
const Report kBe1298 = {STR_ERR_INVALID, "unpaired high surrogate", 1298};
const Report kBe1303 = {STR_ERR_INVALID, "unpaired low surrogate", 1303};

// The big-endian decoder's report for the little-endian decoder's one.
const Report* big_endian_report(const Report* le) {
    if (le == &kLe1350)
        return &kBe1279;
    if (le == &kLe1359)
        return &kBe1288;
    if (le == &kLe1369)
        return &kBe1298;
    if (le == &kLe1374)
        return &kBe1303;
    return nullptr;
}

// What a caller sees: the size, the conversion's result into a room of that
// size (or, when the size is 0, into ample room, to find where the
// conversion fails), the bytes it wrote (without the terminator on success)
// and the last-error record.
struct Measured {
    int size = 0;
    int result = 0;
    Bytes written;
    int report_code = 0;
    std::string report_message;
    int report_line = 0;
};

// Bytes written are those two conversions into differently filled buffers
// agree on.
Measured measure(const Bytes& src, int from, int to) {
    Measured m;
    mark_error_record();
    m.size = str_convert_size(src.data(), int(src.size()), from, to);
    const int room = m.size ? m.size : int(src.size()) * 4 + 64;
    Bytes a(size_t(room), 0xCC), b(size_t(room), 0x33);
    m.result = str_convert(src.data(), int(src.size()), from, a.data(), room, to);
    str_convert(src.data(), int(src.size()), from, b.data(), room, to);
    size_t n = 0;
    while (n < a.size() && a[n] == b[n])
        ++n;
    m.written.assign(a.begin(), a.begin() + long(n));
    if (m.result == 1) {
        const size_t unit = size_t(str_encodings[to].unit_size);
        EXPECT_GE(m.written.size(), unit);
        m.written.resize(m.written.size() >= unit ? m.written.size() - unit : 0);
    }
    m.report_code = str_error_code();
    m.report_message = str_error_message() ? str_error_message() : "";
    m.report_line = str_error_line();
    return m;
}

struct Outcome {
    int size;
    int result;
    const char* written;
    const Report* report; // null: no report
};

void expect_outcome(const Measured& m, int size, int result, const Bytes& written,
                    const Report* report) {
    EXPECT_EQ(m.size, size);
    EXPECT_EQ(m.result, result);
    EXPECT_EQ(m.written, written);
    if (report) {
        EXPECT_EQ(m.report_code, report->code);
        EXPECT_EQ(m.report_message, report->message);
        EXPECT_EQ(m.report_line, report->line);
    } else {
        EXPECT_EQ(m.report_code, 7) << m.report_message << " " << m.report_line;
    }
}

// How a case sits in a longer text: kWhole consumes exactly its own bytes,
// kEnds ends the text (a decoded zero), kCut is cut off by the end of the
// input and is only tested there.
enum Kind { kWhole, kEnds, kCut };

// Destinations of the UTF-8 table, in column order.
const int kUtf8Destinations[6] = {ENC_UTF8,  ENC_UTF16LE, ENC_UTF16BE,
                                  ENC_UTF32, ENC_ASCII,   ENC_UTF16};

struct Utf8Case {
    const char* name;
    Kind kind;
    const char* input;
    struct {
        int size;
        int result;
        const char* written;
    } out[6];
};

// Each case given without a terminator. The UTF-8 decoder never reports.
// clang-format off
const Utf8Case kUtf8Cases[] = {
    {"stray first continuation", kWhole, "80",
     {{3, 1, "C2 80"}, {4, 1, "80 00"}, {4, 1, "00 80"}, {8, 1, "80 00 00 00"}, {2, 1, "3F"}, {6, 1, "FF FE 80 00"}}},
    {"stray last continuation", kWhole, "BF",
     {{3, 1, "C2 BF"}, {4, 1, "BF 00"}, {4, 1, "00 BF"}, {8, 1, "BF 00 00 00"}, {2, 1, "3F"}, {6, 1, "FF FE BF 00"}}},
    {"two stray continuations", kWhole, "80 BF",
     {{5, 1, "C2 80 C2 BF"}, {6, 1, "80 00 BF 00"}, {6, 1, "00 80 00 BF"}, {12, 1, "80 00 00 00 BF 00 00 00"}, {3, 1, "3F 3F"}, {8, 1, "FF FE 80 00 BF 00"}}},
    {"three stray continuations", kWhole, "80 BF 80",
     {{7, 1, "C2 80 C2 BF C2 80"}, {8, 1, "80 00 BF 00 80 00"}, {8, 1, "00 80 00 BF 00 80"}, {16, 1, "80 00 00 00 BF 00 00 00 80 00 00 00"}, {4, 1, "3F 3F 3F"}, {10, 1, "FF FE 80 00 BF 00 80 00"}}},
    {"lead then space", kWhole, "C3 20",
     {{2, 1, "60"}, {4, 1, "60 00"}, {4, 1, "00 60"}, {8, 1, "60 00 00 00"}, {3, 1, "60"}, {6, 1, "FF FE 60 00"}}},
    {"lead then ASCII letter", kWhole, "E6 41 42",
     {{4, 1, "E5 80 82"}, {4, 1, "02 50"}, {4, 1, "50 02"}, {8, 1, "02 50 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE 02 50"}}},
    {"cut two-byte", kCut, "C3",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {2, 0, ""}, {0, 0, ""}}},
    {"cut three-byte after 1", kCut, "E6",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {2, 0, ""}, {0, 0, ""}}},
    {"cut three-byte after 2", kCut, "E6 BC",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {3, 0, ""}, {0, 0, ""}}},
    {"cut four-byte after 1", kCut, "F0",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {2, 0, ""}, {0, 0, ""}}},
    {"cut four-byte after 2", kCut, "F0 9F",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {3, 0, ""}, {0, 0, ""}}},
    {"cut four-byte after 3", kCut, "F0 9F 98",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {4, 0, ""}, {0, 0, ""}}},
    {"cut five-byte after 4", kCut, "F8 88 80 80",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {5, 0, ""}, {0, 0, ""}}},
    {"cut six-byte after 5", kCut, "FC 84 80 80 80",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {6, 0, ""}, {0, 0, ""}}},
    {"two-byte cut by terminator", kWhole, "C3 00",
     {{2, 1, "40"}, {4, 1, "40 00"}, {4, 1, "00 40"}, {8, 1, "40 00 00 00"}, {3, 1, "40"}, {6, 1, "FF FE 40 00"}}},
    {"three-byte cut by terminator", kWhole, "E6 BC 00",
     {{4, 1, "E6 BA 80"}, {4, 1, "80 6E"}, {4, 1, "6E 80"}, {8, 1, "80 6E 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE 80 6E"}}},
    {"C0 cut by terminator", kWhole, "C0 00",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "3F 00 00 00"}, {3, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"FE alone", kCut, "FE",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {2, 0, ""}, {0, 0, ""}}},
    {"FF alone", kCut, "FF",
     {{0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {0, 0, ""}, {2, 0, ""}, {0, 0, ""}}},
    {"FE with five more", kWhole, "FE 80 80 80 80 80",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 7D"}, {7, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"FF with five more", kWhole, "FF BF BF BF BF BF",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 7D"}, {7, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"overlong slash 2", kWhole, "C0 AF",
     {{2, 1, "2F"}, {4, 1, "2F 00"}, {4, 1, "00 2F"}, {8, 1, "2F 00 00 00"}, {3, 1, "2F"}, {6, 1, "FF FE 2F 00"}}},
    {"overlong slash 3", kWhole, "E0 80 AF",
     {{2, 1, "2F"}, {4, 1, "2F 00"}, {4, 1, "00 2F"}, {8, 1, "2F 00 00 00"}, {4, 1, "2F"}, {6, 1, "FF FE 2F 00"}}},
    {"overlong slash 4", kWhole, "F0 80 80 AF",
     {{2, 1, "2F"}, {4, 1, "2F 00"}, {4, 1, "00 2F"}, {8, 1, "2F 00 00 00"}, {5, 1, "2F"}, {6, 1, "FF FE 2F 00"}}},
    {"overlong slash 5", kWhole, "F8 80 80 80 AF",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 05"}, {6, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"overlong slash 6", kWhole, "FC 80 80 80 80 AF",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 7D"}, {7, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"overlong NUL 2", kEnds, "C0 80",
     {{2, 1, ""}, {4, 1, ""}, {4, 1, ""}, {4, 1, ""}, {3, 1, ""}, {4, 1, ""}}},
    {"overlong NUL 3", kEnds, "E0 80 80",
     {{2, 1, ""}, {4, 1, ""}, {4, 1, ""}, {4, 1, ""}, {4, 1, ""}, {4, 1, ""}}},
    {"overlong NUL 4", kEnds, "F0 80 80 80",
     {{2, 1, ""}, {4, 1, ""}, {4, 1, ""}, {4, 1, ""}, {5, 1, ""}, {4, 1, ""}}},
    {"largest overlong 2", kWhole, "C1 BF",
     {{2, 1, "7F"}, {4, 1, "7F 00"}, {4, 1, "00 7F"}, {8, 1, "7F 00 00 00"}, {3, 1, "7F"}, {6, 1, "FF FE 7F 00"}}},
    {"largest overlong 3", kWhole, "E0 9F BF",
     {{3, 1, "DF BF"}, {4, 1, "FF 07"}, {4, 1, "07 FF"}, {8, 1, "FF 07 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE FF 07"}}},
    {"largest overlong 4", kWhole, "F0 8F BF BF",
     {{4, 1, "EF BF BF"}, {4, 1, "FF FF"}, {4, 1, "FF FF"}, {8, 1, "FF FF 00 00"}, {5, 1, "3F"}, {6, 1, "FF FE FF FF"}}},
    {"largest overlong 5", kWhole, "F8 87 BF BF BF",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 05"}, {6, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"largest overlong 6", kWhole, "FC 83 BF BF BF BF",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 7D"}, {7, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"surrogate D800", kWhole, "ED A0 80",
     {{4, 1, "ED A0 80"}, {2, 0, ""}, {2, 0, ""}, {8, 1, "00 D8 00 00"}, {4, 1, "3F"}, {4, 0, ""}}},
    {"surrogate DB7F", kWhole, "ED AD BF",
     {{4, 1, "ED AD BF"}, {2, 0, ""}, {2, 0, ""}, {8, 1, "7F DB 00 00"}, {4, 1, "3F"}, {4, 0, ""}}},
    {"surrogate DB80", kWhole, "ED AE 80",
     {{4, 1, "ED AE 80"}, {2, 0, ""}, {2, 0, ""}, {8, 1, "80 DB 00 00"}, {4, 1, "3F"}, {4, 0, ""}}},
    {"surrogate DBFF", kWhole, "ED AF BF",
     {{4, 1, "ED AF BF"}, {2, 0, ""}, {2, 0, ""}, {8, 1, "FF DB 00 00"}, {4, 1, "3F"}, {4, 0, ""}}},
    {"surrogate DC00", kWhole, "ED B0 80",
     {{4, 1, "ED B0 80"}, {2, 0, ""}, {2, 0, ""}, {8, 1, "00 DC 00 00"}, {4, 1, "3F"}, {4, 0, ""}}},
    {"surrogate DF80", kWhole, "ED BE 80",
     {{4, 1, "ED BE 80"}, {2, 0, ""}, {2, 0, ""}, {8, 1, "80 DF 00 00"}, {4, 1, "3F"}, {4, 0, ""}}},
    {"surrogate DFFF", kWhole, "ED BF BF",
     {{4, 1, "ED BF BF"}, {2, 0, ""}, {2, 0, ""}, {8, 1, "FF DF 00 00"}, {4, 1, "3F"}, {4, 0, ""}}},
    {"surrogate pair D800 DC00", kWhole, "ED A0 80 ED B0 80",
     {{7, 1, "ED A0 80 ED B0 80"}, {2, 0, ""}, {2, 0, ""}, {12, 1, "00 D8 00 00 00 DC 00 00"}, {7, 1, "3F 3F"}, {4, 0, ""}}},
    {"surrogate pair DBFF DFFF", kWhole, "ED AF BF ED BF BF",
     {{7, 1, "ED AF BF ED BF BF"}, {2, 0, ""}, {2, 0, ""}, {12, 1, "FF DB 00 00 FF DF 00 00"}, {7, 1, "3F 3F"}, {4, 0, ""}}},
    {"largest U+10FFFF", kWhole, "F4 8F BF BF",
     {{5, 1, "F4 8F BF BF"}, {6, 1, "FF DB FF DF"}, {6, 1, "DB FF DF FF"}, {8, 1, "FF FF 10 00"}, {5, 1, "3F"}, {8, 1, "FF FE FF DB FF DF"}}},
    {"U+110000", kWhole, "F4 90 80 80",
     {{5, 1, "F4 90 80 80"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "00 00 11 00"}, {5, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"largest four-byte U+1FFFFF", kWhole, "F7 BF BF BF",
     {{5, 1, "F7 BF BF BF"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "FF FF 1F 00"}, {5, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"five-byte U+200000", kWhole, "F8 88 80 80 80",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 05"}, {6, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"six-byte U+4000000", kWhole, "FC 84 80 80 80 80",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 7D"}, {7, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"six-byte U+7FFFFFFF", kWhole, "FD BF BF BF BF BF",
     {{2, 1, "3F"}, {4, 1, "3F 00"}, {4, 1, "00 3F"}, {8, 1, "80 DF F7 7D"}, {7, 1, "3F"}, {6, 1, "FF FE 3F 00"}}},
    {"U+007F", kWhole, "7F",
     {{2, 1, "7F"}, {4, 1, "7F 00"}, {4, 1, "00 7F"}, {8, 1, "7F 00 00 00"}, {2, 1, "7F"}, {6, 1, "FF FE 7F 00"}}},
    {"U+0080", kWhole, "C2 80",
     {{3, 1, "C2 80"}, {4, 1, "80 00"}, {4, 1, "00 80"}, {8, 1, "80 00 00 00"}, {3, 1, "3F"}, {6, 1, "FF FE 80 00"}}},
    {"U+07FF", kWhole, "DF BF",
     {{3, 1, "DF BF"}, {4, 1, "FF 07"}, {4, 1, "07 FF"}, {8, 1, "FF 07 00 00"}, {3, 1, "3F"}, {6, 1, "FF FE FF 07"}}},
    {"U+0800", kWhole, "E0 A0 80",
     {{4, 1, "E0 A0 80"}, {4, 1, "00 08"}, {4, 1, "08 00"}, {8, 1, "00 08 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE 00 08"}}},
    {"U+FFFD", kWhole, "EF BF BD",
     {{4, 1, "EF BF BD"}, {4, 1, "FD FF"}, {4, 1, "FF FD"}, {8, 1, "FD FF 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE FD FF"}}},
    {"U+FFFE", kWhole, "EF BF BE",
     {{4, 1, "EF BF BE"}, {4, 1, "FE FF"}, {4, 1, "FF FE"}, {8, 1, "FE FF 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE FE FF"}}},
    {"U+FFFF", kWhole, "EF BF BF",
     {{4, 1, "EF BF BF"}, {4, 1, "FF FF"}, {4, 1, "FF FF"}, {8, 1, "FF FF 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE FF FF"}}},
    {"U+FEFF", kWhole, "EF BB BF",
     {{4, 1, "EF BB BF"}, {4, 1, "FF FE"}, {4, 1, "FE FF"}, {8, 1, "FF FE 00 00"}, {4, 1, "3F"}, {6, 1, "FF FE FF FE"}}},
    {"U+10000", kWhole, "F0 90 80 80",
     {{5, 1, "F0 90 80 80"}, {6, 1, "00 D8 00 DC"}, {6, 1, "D8 00 DC 00"}, {8, 1, "00 00 01 00"}, {5, 1, "3F"}, {8, 1, "FF FE 00 D8 00 DC"}}},
    {"U+1F600", kWhole, "F0 9F 98 80",
     {{5, 1, "F0 9F 98 80"}, {6, 1, "3D D8 00 DE"}, {6, 1, "D8 3D DE 00"}, {8, 1, "00 F6 01 00"}, {5, 1, "3F"}, {8, 1, "FF FE 3D D8 00 DE"}}},
};
// clang-format on

// Destinations of the UTF-16 table, in column order.
const int kUtf16Destinations[5] = {ENC_UTF8, ENC_UTF32, ENC_ASCII, ENC_UTF16BE, ENC_UTF16LE};

struct Utf16Case {
    const char* name;
    Kind kind;
    const char* input; // little-endian
    Outcome out[5];
};

// clang-format off
const Utf16Case kUtf16Cases[] = {
    {"letter", kWhole, "41 00",
     {{2, 1, "41", nullptr}, {8, 1, "41 00 00 00", nullptr}, {6, 1, "41", nullptr}, {4, 1, "00 41", nullptr}, {4, 1, "41 00", nullptr}}},
    {"odd byte", kCut, "41",
     {{0, 0, "", &kLe1350}, {0, 0, "", &kLe1350}, {2, 0, "", &kLe1350}, {0, 0, "", &kLe1350}, {0, 0, "", &kLe1350}}},
    {"letter then odd byte", kCut, "41 00 42",
     {{0, 0, "41", &kLe1350}, {0, 0, "41 00 00 00", &kLe1350}, {6, 0, "41", &kLe1350}, {0, 0, "00 41", &kLe1350}, {0, 0, "41 00", &kLe1350}}},
    {"high surrogate at the end", kCut, "3D D8",
     {{0, 0, "", &kLe1359}, {0, 0, "", &kLe1359}, {6, 0, "", &kLe1359}, {0, 0, "", &kLe1359}, {0, 0, "", &kLe1359}}},
    {"high surrogate and one byte", kCut, "3D D8 00",
     {{0, 0, "", &kLe1359}, {0, 0, "", &kLe1359}, {6, 0, "", &kLe1359}, {0, 0, "", &kLe1359}, {0, 0, "", &kLe1359}}},
    {"high surrogate then letter", kWhole, "3D D8 41 00",
     {{0, 0, "", &kLe1369}, {0, 0, "", &kLe1369}, {10, 0, "", &kLe1369}, {0, 0, "", &kLe1369}, {0, 0, "", &kLe1369}}},
    {"high surrogate then zero unit", kWhole, "3D D8 00 00",
     {{0, 0, "", &kLe1369}, {0, 0, "", &kLe1369}, {6, 0, "", &kLe1369}, {0, 0, "", &kLe1369}, {0, 0, "", &kLe1369}}},
    {"high surrogate twice then low", kWhole, "3D D8 3D D8 00 DE",
     {{0, 0, "", &kLe1369}, {0, 0, "", &kLe1369}, {14, 0, "", &kLe1369}, {0, 0, "", &kLe1369}, {0, 0, "", &kLe1369}}},
    {"low surrogate alone", kWhole, "00 DC",
     {{0, 0, "", &kLe1374}, {0, 0, "", &kLe1374}, {6, 0, "", &kLe1374}, {0, 0, "", &kLe1374}, {0, 0, "", &kLe1374}}},
    {"low surrogate then high", kWhole, "00 DC 3D D8",
     {{0, 0, "", &kLe1374}, {0, 0, "", &kLe1374}, {10, 0, "", &kLe1374}, {0, 0, "", &kLe1374}, {0, 0, "", &kLe1374}}},
    {"low surrogate DFFF", kWhole, "FF DF",
     {{0, 0, "", &kLe1374}, {0, 0, "", &kLe1374}, {6, 0, "", &kLe1374}, {0, 0, "", &kLe1374}, {0, 0, "", &kLe1374}}},
    {"pair U+1F600", kWhole, "3D D8 00 DE",
     {{5, 1, "F0 9F 98 80", nullptr}, {8, 1, "00 F6 01 00", nullptr}, {10, 1, "3F", nullptr}, {6, 1, "D8 3D DE 00", nullptr}, {6, 1, "3D D8 00 DE", nullptr}}},
    {"pair U+10FFFF", kWhole, "FF DB FF DF",
     {{5, 1, "F4 8F BF BF", nullptr}, {8, 1, "FF FF 10 00", nullptr}, {10, 1, "3F", nullptr}, {6, 1, "DB FF DF FF", nullptr}, {6, 1, "FF DB FF DF", nullptr}}},
    {"pair U+10000", kWhole, "00 D8 00 DC",
     {{5, 1, "F0 90 80 80", nullptr}, {8, 1, "00 00 01 00", nullptr}, {10, 1, "3F", nullptr}, {6, 1, "D8 00 DC 00", nullptr}, {6, 1, "00 D8 00 DC", nullptr}}},
    {"unit U+FFFF", kWhole, "FF FF",
     {{4, 1, "EF BF BF", nullptr}, {8, 1, "FF FF 00 00", nullptr}, {6, 1, "3F", nullptr}, {4, 1, "FF FF", nullptr}, {4, 1, "FF FF", nullptr}}},
    {"unit U+D7FF", kWhole, "FF D7",
     {{4, 1, "ED 9F BF", nullptr}, {8, 1, "FF D7 00 00", nullptr}, {6, 1, "3F", nullptr}, {4, 1, "D7 FF", nullptr}, {4, 1, "FF D7", nullptr}}},
    {"unit U+E000", kWhole, "00 E0",
     {{4, 1, "EE 80 80", nullptr}, {8, 1, "00 E0 00 00", nullptr}, {6, 1, "3F", nullptr}, {4, 1, "E0 00", nullptr}, {4, 1, "00 E0", nullptr}}},
    {"mark inside", kWhole, "41 00 FF FE",
     {{5, 1, "41 EF BB BF", nullptr}, {12, 1, "41 00 00 00 FF FE 00 00", nullptr}, {10, 1, "41 3F", nullptr}, {6, 1, "00 41 FE FF", nullptr}, {6, 1, "41 00 FF FE", nullptr}}},
    {"terminator first", kEnds, "00 00 3D D8",
     {{2, 1, "", nullptr}, {4, 1, "", nullptr}, {2, 1, "", nullptr}, {4, 1, "", nullptr}, {4, 1, "", nullptr}}},
};
// clang-format on

// 67 ASCII characters: more than two 32-byte blocks.
const std::string kRun = "The quick brown fox jumps over the lazy dog; pack my box with five d";

// ASCII text as the destination writes it (every ezu target is little-endian).
Bytes ascii_as(int to, const std::string& text) {
    Bytes out;
    for (char c : text) {
        const unsigned char b = (unsigned char)c;
        if (to == ENC_UTF16LE)
            out.insert(out.end(), {b, 0});
        else if (to == ENC_UTF16BE)
            out.insert(out.end(), {0, b});
        else if (to == ENC_UTF32)
            out.insert(out.end(), {b, 0, 0, 0});
        else
            out.push_back(b);
    }
    return out;
}

// Swaps the bytes of every 16-bit unit (an odd last byte stays).
Bytes swapped(Bytes b) {
    for (size_t i = 0; i + 1 < b.size(); i += 2)
        std::swap(b[i], b[i + 1]);
    return b;
}

// The expected result of `text` with `prefix` in front and `suffix` behind,
// built from the case's result alone: every ASCII character adds its width
// to the size and its bytes to the output; a case that fails or ends the text
// leaves the suffix out of the output, and a case that ends it also out of
// the size.
struct Embedded {
    int size;
    int result;
    Bytes written;
};

Embedded embed(int size, int result, const Bytes& written, Kind kind, int to,
               const std::string& prefix, const std::string& suffix) {
    const int width = int(ascii_as(to, "a").size());
    Embedded e;
    e.size =
        size == 0 ? 0 : size + width * int(prefix.size() + (kind == kWhole ? suffix.size() : 0));
    e.result = result;
    e.written = concat(ascii_as(to, prefix), written);
    if (result == 1 && kind == kWhole)
        e.written = concat(e.written, ascii_as(to, suffix));
    return e;
}

} // namespace

TEST_F(Utf8StressTest, EveryCaseInEveryDestination) {
    for (const Utf8Case& c : kUtf8Cases) {
        for (int d = 0; d < 6; ++d) {
            SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(kUtf8Destinations[d]));
            const Measured m = measure(hex(c.input), ENC_UTF8, kUtf8Destinations[d]);
            expect_outcome(m, c.out[d].size, c.out[d].result, hex(c.out[d].written), nullptr);
        }
    }
}

TEST_F(Utf8StressTest, EveryCaseAtEveryPositionOfAnAsciiRun) {
    for (const Utf8Case& c : kUtf8Cases) {
        for (size_t k = 0; k <= kRun.size(); ++k) {
            const std::string prefix = kRun.substr(0, k);
            const std::string suffix = c.kind == kCut ? "" : kRun.substr(k);
            const Bytes src = concat(concat(bytes(prefix), hex(c.input)), bytes(suffix));
            for (int d = 0; d < 4; ++d) { // the UTF-8 and UTF-16 and UTF-32 destinations
                const int to = kUtf8Destinations[d];
                SCOPED_TRACE(std::string(c.name) + " after " + std::to_string(k) + " into " +
                             std::to_string(to));
                const Embedded e = embed(c.out[d].size, c.out[d].result, hex(c.out[d].written),
                                         c.kind, to, prefix, suffix);
                expect_outcome(measure(src, ENC_UTF8, to), e.size, e.result, e.written, nullptr);
            }
        }
    }
}

TEST_F(Utf8StressTest, RoomRunningOutAroundAFourByteCharacterAtEveryAlignment) {
    // k letters, U+1F600 (a surrogate pair) and "z", into UTF-16LE rooms of
    // every size up to the exact one.
    const Bytes pair = hex("3D D8 00 DE");
    for (int k = 0; k <= 40; ++k) {
        const std::string prefix = kRun.substr(0, size_t(k));
        const Bytes src = concat(concat(bytes(prefix), hex("F0 9F 98 80")), bytes("z"));
        const Bytes full = concat(concat(ascii_as(ENC_UTF16LE, prefix), pair), hex("7A 00"));
        ASSERT_EQ(str_convert_size(src.data(), int(src.size()), ENC_UTF8, ENC_UTF16LE), 2 * k + 8);
        for (int room = 0; room <= 2 * k + 8; ++room) {
            SCOPED_TRACE("after " + std::to_string(k) + " room " + std::to_string(room));
            // Room that ends between characters is reported; a character
            // that does not fit the rest of the room fails without a report.
            int written;
            bool reported;
            if (room < 2 * k + 4) {
                written = room < 2 * k ? room & ~1 : 2 * k;
                reported = room == written;
            } else {
                written = room < 2 * k + 6 ? 2 * k + 4 : 2 * k + 6;
                reported = room != 2 * k + 5;
            }
            Bytes out(size_t(room) + 1, 0xCC);
            mark_error_record();
            const int result =
                str_convert(src.data(), int(src.size()), ENC_UTF8, out.data(), room, ENC_UTF16LE);
            if (room == 2 * k + 8) {
                EXPECT_EQ(result, 1);
                EXPECT_EQ(Bytes(out.begin(), out.begin() + 2 * k + 6), full);
                EXPECT_EQ(out[size_t(2 * k + 6)], 0);
                expect_no_report();
                continue;
            }
            EXPECT_EQ(result, 0);
            EXPECT_EQ(Bytes(out.begin(), out.begin() + written),
                      Bytes(full.begin(), full.begin() + written));
            EXPECT_EQ(out[size_t(written)], 0xCC);
            if (reported)
                expect_error(STR_ERR_OVERFLOW, "to buffer overflow", 1002);
            else
                expect_no_report();
        }
    }
}

TEST_F(Utf16StressTest, EveryCaseInEveryDestinationInBothOrders) {
    for (const Utf16Case& c : kUtf16Cases) {
        for (int d = 0; d < 5; ++d) {
            const Outcome& o = c.out[d];
            const int to = kUtf16Destinations[d];
            SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(to));
            expect_outcome(measure(hex(c.input), ENC_UTF16LE, to), o.size, o.result, hex(o.written),
                           o.report);
            expect_outcome(measure(swapped(hex(c.input)), ENC_UTF16BE, to), o.size, o.result,
                           hex(o.written), big_endian_report(o.report));
        }
    }
}

TEST_F(Utf16StressTest, EveryCaseAtEveryPositionOfAnAsciiRunInBothOrders) {
    for (const Utf16Case& c : kUtf16Cases) {
        for (size_t k = 0; k <= 40; ++k) {
            const std::string prefix = kRun.substr(0, k);
            const std::string suffix = c.kind == kCut ? "" : kRun.substr(k, 40 - k);
            const Bytes le = concat(concat(ascii_as(ENC_UTF16LE, prefix), hex(c.input)),
                                    ascii_as(ENC_UTF16LE, suffix));
            for (int d : {0, 1, 3, 4}) { // all but ASCII, which is sized by length
                const Outcome& o = c.out[d];
                const int to = kUtf16Destinations[d];
                SCOPED_TRACE(std::string(c.name) + " after " + std::to_string(k) + " into " +
                             std::to_string(to));
                const Embedded e =
                    embed(o.size, o.result, hex(o.written), c.kind, to, prefix, suffix);
                expect_outcome(measure(le, ENC_UTF16LE, to), e.size, e.result, e.written, o.report);
                expect_outcome(measure(swapped(le), ENC_UTF16BE, to), e.size, e.result, e.written,
                               big_endian_report(o.report));
            }
        }
    }
}

TEST_F(Utf16StressTest, RoomRunningOutAroundAPairAtEveryAlignment) {
    // k letters, U+1F600 and "z" from UTF-16LE into UTF-8 rooms of every size.
    for (int k = 0; k <= 40; ++k) {
        const std::string prefix = kRun.substr(0, size_t(k));
        const Bytes src =
            concat(concat(ascii_as(ENC_UTF16LE, prefix), hex("3D D8 00 DE")), hex("7A 00"));
        const Bytes full = concat(concat(bytes(prefix), hex("F0 9F 98 80")), bytes("z"));
        ASSERT_EQ(str_convert_size(src.data(), int(src.size()), ENC_UTF16LE, ENC_UTF8), k + 6);
        for (int room = 0; room < k + 6; ++room) {
            SCOPED_TRACE("after " + std::to_string(k) + " room " + std::to_string(room));
            // Only the four-byte character can fail to fit the rest of the
            // room; every other shortfall ends between characters.
            const bool inside_pair = room > k && room < k + 4;
            const int written = inside_pair ? k : room;
            Bytes out(size_t(room) + 1, 0xCC);
            mark_error_record();
            EXPECT_EQ(
                str_convert(src.data(), int(src.size()), ENC_UTF16LE, out.data(), room, ENC_UTF8),
                0);
            EXPECT_EQ(Bytes(out.begin(), out.begin() + written),
                      Bytes(full.begin(), full.begin() + written));
            EXPECT_EQ(out[size_t(written)], 0xCC);
            if (inside_pair)
                expect_no_report();
            else
                expect_error(STR_ERR_OVERFLOW, "to buffer overflow", 1002);
        }
    }
}
