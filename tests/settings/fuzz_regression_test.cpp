// Inputs the fuzz targets found (fuzz/regressions/expand/), kept as cases of
// the ordinary suite.
#include "store_fixture.h"

#include "ezu/settings/plugin.h"
#include "ezu/settings/settings.h"

#include <string.h>
#include <string>

namespace {

// A string holding `bytes` exactly as they stand; the constructors would read
// a stray continuation byte as a character and write it anew.
TStr raw(const std::string& bytes) {
    StrBuf* buf = str_new();
    str_resize(buf, int(bytes.size()) + 1);
    memcpy(buf->data, bytes.c_str(), bytes.size() + 1);
    return TStr::adopt(buf);
}

std::string bytes_of(const TStr& s) {
    return s.isNull() ? std::string() : std::string(s.buffer()->data);
}

} // namespace

EZU_STORE_TEST_SUITE(ExpandFuzzRegression);

// Text the scan has passed moves into the finished part; that must keep its
// bytes as they stand, or a stray continuation byte grows into two.
TEST_F(ExpandFuzzRegression, FinishedTextKeepsMalformedBytes) {
    twice([] {
        ezuSetString("{xfr_a}", "v", false);
        const std::string text = "\x87" + std::string(600, 'x') + "{xfr_a}{xfr_a}";
        const TStr result = ezuExpandSettings(raw(text), nullptr, false);
        EXPECT_EQ(bytes_of(result), "\x87" + std::string(600, 'x') + "vv");
    });
}

// A value that holds its own marker and stray bytes grows until the byte
// bound stops it (21 bytes a substitution, so well before the substitution
// bound), and the bound holds.
TEST_F(ExpandFuzzRegression, ByteBoundHoldsForMalformedValues) {
    twice([] {
        ezuSetString("{xfr_b}", raw("yayaayay\x87{q}a{xfr_b}\x87{xfr_b}"), false);
        const TStr result = ezuExpandSettings(raw("{xfr_b}\xcb"), nullptr, false);
        const std::string out = bytes_of(result);
        EXPECT_LE(out.size(), size_t(kEzuExpandMaxBytes));
        EXPECT_GT(out.size() + 21, size_t(kEzuExpandMaxBytes)); // the next one would not fit
        EXPECT_EQ(out.find('\xc2'), std::string::npos);         // no byte was written anew
        EXPECT_EQ(out.back(), '\xcb');
    });
}

// Markers are found and replaced by their bytes: a stray lead byte just
// before a marker, or inside a value, neither swallows a brace nor moves the
// cut.
TEST_F(ExpandFuzzRegression, StrayLeadBytesNextToMarkers) {
    twice([] {
        ezuSetString("{xfr_c}", raw("\xe2v\xe2"), false);
        EXPECT_EQ(bytes_of(ezuExpandSettings(raw("\xe2{xfr_c}\xf0}"), nullptr, false)),
                  "\xe2\xe2v\xe2\xf0}");
        EXPECT_EQ(bytes_of(ezuExpandSettings(raw("\xf0{xfr_c}{xfr_c}\xc3"), nullptr, false)),
                  "\xf0\xe2v\xe2\xe2v\xe2\xc3");
        // A value ending in a lead byte followed by the text's "}".
        ezuSetString("{xfr_d}", raw("{xfr_c\xe2"), false);
        EXPECT_EQ(bytes_of(ezuExpandSettings(raw("{xfr_d}}"), nullptr, false)), "{xfr_c\xe2}");
    });
}
