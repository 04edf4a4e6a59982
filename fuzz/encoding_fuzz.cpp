// Conversion between every pair of the six encodings.
//
// Input: the source encoding, the destination encoding, then the source
// bytes. Properties:
// - what sizing accepts converts into exactly that room, unless the source
//   does not decode (fixed-width destinations are sized by length alone) or
//   it holds a surrogate code point and the destination is UTF-16;
// - a direct conversion writes what a conversion through UTF-32 writes;
// - well-formed UTF-8 survives UTF-8 -> UTF-16 (all three) -> UTF-8, and the
//   platform converter gives the same units as UTF-16LE.
#include "fuzz_support.h"

#include "ezu/core/encoding.h"

#include <vector>

namespace {

// One sized conversion. `ok` is false when sizing rejected the source or the
// conversion failed; `bytes` holds the destination block, zero past the text.
struct Converted {
    int size = 0;
    bool ok = false;
    std::vector<unsigned char> bytes;
};

Converted convert(const void* src, int len, int from, int to) {
    Converted out;
    out.size = str_convert_size(src, len, from, to);
    if (out.size <= 0)
        return out;
    // A block of exactly the announced size, so that AddressSanitizer sees
    // any write past it.
    unsigned char* dst = static_cast<unsigned char*>(calloc(size_t(out.size), 1));
    FUZZ_CHECK(dst);
    out.ok = str_convert(src, len, from, dst, out.size, to) == 1;
    out.bytes.assign(dst, dst + out.size);
    free(dst);
    return out;
}

// True when the two destination blocks hold the same text: the text and its
// terminator are followed only by zeros, so the blocks agree on their common
// length and the longer one has only zeros beyond it.
bool same_text(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    const std::vector<unsigned char>& longer = a.size() > b.size() ? a : b;
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    if (memcmp(a.data(), b.data(), common) != 0)
        return false;
    for (size_t i = common; i < longer.size(); ++i) {
        if (longer[i])
            return false;
    }
    return true;
}

bool holds_surrogate(const std::vector<unsigned char>& utf32) {
    for (size_t i = 0; i + 4 <= utf32.size(); i += 4) {
        uint32_t code;
        memcpy(&code, &utf32[i], 4);
        if (code == 0)
            break;
        if (code >= 0xD800 && code <= 0xDFFF)
            return true;
    }
    return false;
}

bool is_utf16(int encoding) {
    return encoding == ENC_UTF16 || encoding == ENC_UTF16BE || encoding == ENC_UTF16LE;
}

void check_pair(const std::string& source, int from, int to) {
    const int len = int(source.size());
    const Converted pivot = convert(source.data(), len, from, ENC_UTF32);
    // UTF-32 writes every code point, so it fails only where decoding does.
    FUZZ_CHECK(pivot.size == 0 || pivot.ok);
    const Converted direct = convert(source.data(), len, from, to);
    const bool variable = to != ENC_ASCII;
    if (variable)
        FUZZ_CHECK((direct.size == 0) == (pivot.size == 0));
    if (direct.size > 0 && pivot.ok && !(is_utf16(to) && holds_surrogate(pivot.bytes)))
        FUZZ_CHECK(direct.ok);
    if (direct.ok) {
        FUZZ_CHECK(pivot.ok);
        const Converted through =
            convert(pivot.bytes.data(), int(pivot.bytes.size()), ENC_UTF32, to);
        FUZZ_CHECK(through.ok);
        FUZZ_CHECK(same_text(direct.bytes, through.bytes));
    }
}

void check_utf16_round_trip(const std::string& source) {
    const std::string text = fuzz_until_zero(source);
    if (!fuzz_valid_utf8(text))
        return;
    const int len = int(text.size()) + 1;
    const int orders[] = {ENC_UTF16, ENC_UTF16BE, ENC_UTF16LE};
    for (int order : orders) {
        const Converted wide = convert(text.c_str(), len, ENC_UTF8, order);
        FUZZ_CHECK(wide.ok);
        const Converted back = convert(wide.bytes.data(), int(wide.bytes.size()), order, ENC_UTF8);
        FUZZ_CHECK(back.ok);
        FUZZ_CHECK(strcmp(reinterpret_cast<const char*>(back.bytes.data()), text.c_str()) == 0);
    }
    const Converted le = convert(text.c_str(), len, ENC_UTF8, ENC_UTF16LE);
    EzuWChar* platform = str_to_platform_wide(text.c_str());
    FUZZ_CHECK(platform);
    size_t units = 0;
    while (platform[units])
        ++units;
    FUZZ_CHECK((units + 1) * 2 <= le.bytes.size());
    FUZZ_CHECK(memcmp(platform, le.bytes.data(), (units + 1) * 2) == 0);
    mem_free(platform);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int from = in.pick(0, 5);
    const int to = in.pick(0, 5);
    const std::string source = in.rest();
    fuzz_balanced([&] {
        check_pair(source, from, to);
        check_utf16_round_trip(source);
    });
    return 0;
}
