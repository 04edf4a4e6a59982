// Placeholder substitution with random patterns, values and widths.
//
// Input: a width selector, a typed-form selector, then the pattern and the
// value as text fields (any bytes, malformed UTF-8 included). Properties:
// - the result is what a plain character-by-character reading of the rules
//   gives: the lowest of "%1".."%9" replaced everywhere by the padded value,
//   the character after each "%" taken with it, the rest as it stands;
// - the pattern and the value are unchanged;
// - the typed forms substitute the number text (or the character) exactly as
//   the text form does;
// - a width no block can pad to leaves the padding out.
#include "fuzz_support.h"

#include "ezu/strings/strbuf.h"
#include "ezu/strings/tstr.h"

#include <limits.h>

namespace {

bool is_digit_char(const std::string& c, char lo, char hi) {
    return c.size() == 1 && c[0] >= lo && c[0] <= hi;
}

std::string model_arg(const std::string& pattern, const std::string& value, long long width) {
    const std::vector<std::string> chars = fuzz_characters(pattern);
    const size_t n = chars.size();
    char lowest = 0;
    for (size_t i = 0; i < n; ++i) {
        if (chars[i] != "%" || i + 1 == n)
            continue;
        if (is_digit_char(chars[i + 1], '1', '9') && (!lowest || chars[i + 1][0] < lowest))
            lowest = chars[i + 1][0];
        ++i;
    }
    if (!lowest)
        return pattern;
    const long long length = (long long)fuzz_characters(value).size();
    const long long magnitude = width < 0 ? -width : width;
    const std::string spaces(magnitude > length ? size_t(magnitude - length) : 0, ' ');
    const std::string insert = width > 0 ? spaces + value : value + spaces;
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        if (chars[i] == "%" && i + 1 < n) {
            out += chars[i + 1][0] == lowest && chars[i + 1].size() == 1 ? insert
                                                                         : chars[i] + chars[i + 1];
            ++i;
        } else {
            out += chars[i];
        }
    }
    return out;
}

int pick_width(FuzzInput& in) {
    const int choice = in.pick(0, 15);
    if (choice == 14)
        return INT_MIN;
    if (choice == 15)
        return INT_MAX;
    return int(int8_t(in.byte())) / 2;
}

void check_text_form(const std::string& pattern_bytes, const std::string& value_bytes, int width,
                     bool null_value) {
    const TStr pattern = fuzz_raw_str(pattern_bytes);
    const TStr value = null_value ? TStr() : fuzz_raw_str(value_bytes);
    const TStr result = pattern.arg(value, width);
    const bool unpaddable = width == INT_MIN || width == INT_MAX;
    const std::string inserted = null_value ? std::string() : fuzz_until_zero(value_bytes);
    FUZZ_CHECK(!result.isNull());
    FUZZ_CHECK(fuzz_bytes(result) ==
               model_arg(fuzz_until_zero(pattern_bytes), inserted, unpaddable ? 0 : width));
    FUZZ_CHECK(fuzz_bytes(pattern) == fuzz_until_zero(pattern_bytes));
    if (!null_value)
        FUZZ_CHECK(fuzz_bytes(value) == inserted);
}

void check_typed_forms(FuzzInput& in, const std::string& pattern_bytes, int width) {
    const TStr pattern = fuzz_raw_str(pattern_bytes);
    switch (in.pick(0, 2)) {
    case 0: {
        const int value = int(in.u32());
        const int base = int(int8_t(in.byte()));
        FUZZ_CHECK(pattern.arg(value, width, base) ==
                   pattern.arg(TStr::adopt(str_from_int(value, base)), width));
        FUZZ_CHECK(pattern.arg(long(value), width, base) ==
                   pattern.arg(TStr::adopt(str_from_long(value, base)), width));
        break;
    }
    case 1: {
        const char c = char(in.byte());
        FUZZ_CHECK(pattern.arg(c, width) == pattern.arg(TStr(c), width));
        break;
    }
    default: {
        const char letter = char(in.byte());
        const int precision = int(int8_t(in.byte()));
        const uint64_t bits = in.u64();
        double value;
        memcpy(&value, &bits, sizeof value);
        FUZZ_CHECK(pattern.arg(value, width, letter, precision) ==
                   pattern.arg(TStr::adopt(str_from_double(value, letter, precision)), width));
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int width = pick_width(in);
    const int form = in.pick(0, 7);
    const std::string pattern = in.field();
    fuzz_balanced([&] {
        if (form == 7) {
            check_typed_forms(in, pattern, width);
        } else {
            const std::string value = in.field();
            check_text_form(pattern, value, width, form == 6);
        }
    });
    return 0;
}
