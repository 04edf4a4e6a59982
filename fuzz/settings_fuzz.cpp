// List settings, and integer and floating-point settings.
//
// Input: a selector byte per element (how the element is made), the element
// texts as fields, then an integer and a double. Properties:
// - a list stored and read back gives its non-empty elements in order, for
//   any well-formed elements (escaping leaves no ":" inside an element);
// - an integer setting reads back as itself;
// - a floating-point setting reads back within its six significant digits.
#include "fuzz_support.h"

#include "ezu/settings/settings.h"
#include "ezu/strings/strlist.h"

#include <math.h>

namespace {

// Keys of this target: the store keeps every key it is given, so the same
// few keys are used for every input and set once before the first one.
const char kListKey[] = "fuzz/list";
const char kIntKey[] = "fuzz/int";
const char kDoubleKey[] = "/fuzz/double";

void reset_keys() {
    ezuSetString(kListKey, "x", false);
    ezuSetString(kIntKey, "x", false);
    ezuSetString(kDoubleKey, "x", false);
}

void check_list(FuzzInput& in) {
    TEzuStrList list;
    std::vector<std::string> expected;
    bool checkable = true;
    for (int count = in.pick(0, 15); count > 0 && !in.atEnd(); --count) {
        const bool converted = in.byte() & 1;
        const std::string bytes = in.field();
        TStr element;
        if (converted)
            element.assignUtf8(bytes.c_str()); // read as UTF-8, as programs make text
        else
            element = fuzz_raw_str(bytes);
        if (!converted && !fuzz_valid_utf8(bytes))
            checkable = false;
        list.append(element);
        if (!element.isEmpty())
            expected.push_back(fuzz_bytes(element));
    }
    ezuSetStringList(kListKey, list, true);
    const TEzuStrList back = ezuGetStringList(kListKey);
    if (!checkable)
        return;
    FUZZ_CHECK(back.size() == int(expected.size()));
    for (int i = 0; i < back.size(); ++i)
        FUZZ_CHECK(fuzz_bytes(*back.at(i)) == expected[size_t(i)]);
}

void check_numbers(FuzzInput& in) {
    const int value = int(in.u32());
    ezuSetInt(kIntKey, value, false);
    FUZZ_CHECK(ezuGetInt(kIntKey) == value);

    const uint64_t bits = in.u64();
    double number;
    memcpy(&number, &bits, sizeof number);
    ezuSetDouble(kDoubleKey, number, true);
    const double back = ezuGetDouble(kDoubleKey);
    if (isnan(number))
        FUZZ_CHECK(isnan(back));
    else if (isinf(number))
        FUZZ_CHECK(back == number);
    else // six significant digits, rounded; the reader rounds once more
        FUZZ_CHECK(fabs(back - number) <= fabs(number) * 5.000001e-6);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TEzuStrList warm; // the list element descriptor, made once
    reset_keys();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    fuzz_balanced([&] {
        check_list(in);
        check_numbers(in);
        reset_keys();
    });
    return 0;
}
