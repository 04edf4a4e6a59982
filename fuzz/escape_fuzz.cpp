// The "!{" hex "}" escaping and the marker search beneath it.
//
// Input: the character set, the text, then a marker's open and close texts
// and a start position. Properties:
// - well-formed text escaped with a set holding "!", "{" or "}" unescapes to
//   itself (no "!{" of the text survives escaping unmarked, or no "}" does);
// - escaped well-formed text holds no 7-bit character of the set outside the
//   markers' own characters, so a ":"-set leaves no ":";
// - unescaping never lengthens a text and leaves one without "!{" alone;
// - a marker found lies inside the text and starts with its open text and
//   ends with its close text.
#include "fuzz_support.h"

#include "ezu/strings/tstr.h"

namespace {

// The 7-bit characters of a set, as the escaping reads the set: character by
// character, so a byte inside a malformed sequence is not one of them.
std::string single_byte_chars(const std::string& set) {
    std::string out;
    for (const std::string& c : fuzz_characters(set)) {
        if (c.size() == 1)
            out += c;
    }
    return out;
}

void check_escaping(const std::string& chars_bytes, const std::string& text_bytes) {
    const TStr chars = fuzz_raw_str(chars_bytes);
    const TStr text = fuzz_raw_str(text_bytes);
    const std::string plain = fuzz_bytes(text);
    const TStr escaped = text.escaped(chars);
    const std::string escaped_bytes = fuzz_bytes(escaped);
    const TStr back = escaped.unescaped();
    FUZZ_CHECK(fuzz_bytes(text) == plain); // a copy: the text itself is unchanged
    if (fuzz_valid_utf8(plain)) {
        const std::string set = single_byte_chars(fuzz_bytes(chars));
        if (set.find_first_of("!{}") != std::string::npos)
            FUZZ_CHECK(fuzz_bytes(back) == plain);
        for (char c : set) {
            if (c > 0 && !strchr("!{}0123456789abcdef", c))
                FUZZ_CHECK(escaped_bytes.find(c) == std::string::npos);
        }
    }
    const std::string unescaped = fuzz_bytes(text.unescaped());
    FUZZ_CHECK(unescaped.size() <= plain.size());
    if (plain.find("!{") == std::string::npos)
        FUZZ_CHECK(unescaped == plain);
}

void check_marker(const std::string& text_bytes, const std::string& open, const std::string& close,
                  int from) {
    const TStr text = fuzz_raw_str(text_bytes);
    const std::string bytes = fuzz_bytes(text);
    int length = -1;
    const int at = text.findMarker(fuzz_raw_str(open), fuzz_raw_str(close), &length, from);
    if (at < 0) {
        FUZZ_CHECK(at == -1);
        return;
    }
    const size_t o = strlen(open.c_str()), c = strlen(close.c_str());
    FUZZ_CHECK(o > 0 && c > 0);
    FUZZ_CHECK(length >= int(c) && size_t(at) + size_t(length) <= bytes.size());
    FUZZ_CHECK(bytes.compare(size_t(at), o, open.c_str()) == 0);
    FUZZ_CHECK(bytes.compare(size_t(at) + size_t(length) - c, c, close.c_str()) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const std::string chars = in.field();
    const std::string text = in.field();
    const std::string open = in.field();
    const std::string close = in.field();
    const int from = int(int8_t(in.byte()));
    fuzz_balanced([&] {
        check_escaping(chars, text);
        check_marker(text, open, close, from);
    });
    return 0;
}
