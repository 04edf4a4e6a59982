// Brace-marker expansion with random settings.
//
// Input: a flags byte (which plug-in, inheritance), the values of the
// markers "{a}" to "{f}" at three levels (global, a root plug-in, its child
// plug-in), then the text. Values may hold markers, their own included.
// Properties:
// - the expansion always ends (libFuzzer's time-out reports one that does
//   not), and never grows the text beyond its byte bound;
// - for well-formed UTF-8 the result is what a plain reading of the rules
//   gives with the same two bounds (substitutions and bytes);
// - nothing is left behind in guarded blocks.
#include "fuzz_support.h"

#include "ezu/settings/plugin.h"
#include "ezu/settings/settings.h"
#include "ezu/strings/strlist.h"

namespace {

class NamedPlugin : public TEzuPluginBase {
  public:
    NamedPlugin(const char* name, TEzuPluginBase* parent) : TEzuPluginBase(parent), name_(name) {}
    TStr name() const override { return TStr(name_); }
    TStr description() const override { return TStr("fuzz plug-in"); }

  private:
    const char* name_;
};

const int kMarkers = 6;
const int kLevels = 3; // 0 global, 1 root plug-in, 2 child plug-in
const char* const kLevelPrefix[kLevels] = {"", "fuzzroot/", "fuzzchild/"};

std::string marker(int i) {
    return std::string("{") + char('a' + i) + "}";
}

// The value of the marker key at every level; "" where none is set.
struct Values {
    std::string at[kLevels][kMarkers];
};

// The store keeps every key it is given: the same keys are used for every
// input, all set to empty text before the first one. An input sets only the
// values it gives and empties them again afterwards (storing all of them was
// most of the cost of a short input).
void set_given(const Values& values, bool clear) {
    for (int level = 0; level < kLevels; ++level) {
        for (int i = 0; i < kMarkers; ++i) {
            if (values.at[level][i].empty())
                continue;
            const std::string key = kLevelPrefix[level] + marker(i);
            ezuSetString(TStr(key.c_str()), clear ? TStr("") : fuzz_raw_str(values.at[level][i]),
                         false);
        }
    }
}

// What ezuLookupSetting yields for `key` starting at `level` (0: no plug-in).
std::string model_lookup(const Values& values, const std::string& key, int level, bool inherit) {
    int index = -1;
    for (int i = 0; i < kMarkers; ++i) {
        if (key == marker(i))
            index = i;
    }
    if (index < 0)
        return std::string();
    std::string value = values.at[level][index];
    while (level > 0 && inherit && value.empty() && --level > 0)
        value = values.at[level][index];
    return value;
}

std::string model_expand(const Values& values, const std::string& text, int level, bool inherit) {
    std::string work = text;
    size_t pos = 0;
    int substitutions = 0;
    while (substitutions < kEzuExpandMaxSubstitutions &&
           work.size() <= size_t(kEzuExpandMaxBytes)) {
        // The first "}" from the position, and the last "{" before it.
        size_t open = std::string::npos, close = pos;
        while (open == std::string::npos) {
            close = work.find('}', close);
            if (close == std::string::npos)
                return work;
            const size_t candidate = close == pos ? std::string::npos : work.rfind('{', close - 1);
            if (candidate != std::string::npos && candidate >= pos)
                open = candidate;
            else
                ++close;
        }
        const size_t length = close + 1 - open;
        const std::string value = model_lookup(values, work.substr(open, length), level, inherit);
        if (value.empty()) {
            pos = close + 1;
            continue;
        }
        if (work.size() - length + value.size() > size_t(kEzuExpandMaxBytes))
            break;
        work = work.substr(0, open) + value + work.substr(close + 1);
        pos = open;
        ++substitutions;
    }
    return work;
}

void run(FuzzInput& in) {
    const unsigned flags = in.byte();
    const int level = int(flags % 3);
    const bool inherit = (flags & 4) != 0;
    Values values;
    bool well_formed = true;
    // Each value is given as a level and marker selector and its text; the
    // fuzzer's mutations decide how many values there are.
    for (int count = in.pick(0, 12); count > 0 && !in.atEnd(); --count) {
        const unsigned which = in.byte();
        std::string& value = values.at[which % kLevels][(which / kLevels) % kMarkers];
        value = fuzz_until_zero(in.field());
        well_formed = well_formed && fuzz_valid_utf8(value);
    }
    const std::string text = fuzz_until_zero(in.field());
    set_given(values, false);
    NamedPlugin root("fuzzroot", nullptr);
    NamedPlugin child("fuzzchild", &root);
    TEzuPluginBase* const plugins[kLevels] = {nullptr, &root, &child};
    const std::string result =
        fuzz_bytes(ezuExpandSettings(fuzz_raw_str(text), plugins[level], inherit));
    FUZZ_CHECK(result.size() <= size_t(kEzuExpandMaxBytes) || result == text);
    if (well_formed && fuzz_valid_utf8(text))
        FUZZ_CHECK(result == model_expand(values, text, level, inherit));
    set_given(values, true);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    TEzuStrList warm; // the list element descriptor, made once
    Values all;
    for (auto& level : all.at) {
        for (std::string& value : level)
            value = "-";
    }
    set_given(all, true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    fuzz_balanced([&] { run(in); });
    return 0;
}
