// How the cost of every operation that takes input of variable size grows
// with that size: each runs at n, 4n and 16n (n per row below), and
// bench/scaling_table.py turns the times into growth exponents
// (log(t16n / tn) / log 16: 1 for linear cost, 2 for quadratic).
//
//   scaling_bench [--scaling_smoke] [BENCHMARK-OPTION...]
//
// --scaling_smoke runs every row at a small n, to check that it runs at all.
// Every row first checks its result on the smallest input, so a fast wrong
// answer cannot pass for a fast right one.
#include "ezu/ezu.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Text of `n` bytes cycling through `alphabet`.
std::string cycled(size_t n, const std::string& alphabet) {
    std::string s(n, ' ');
    for (size_t i = 0; i < n; ++i)
        s[i] = alphabet[i % alphabet.size()];
    return s;
}

// Mixed text of about `n` bytes: 7-bit words, Latin letters, CJK and emoji.
std::string mixedText(size_t n) {
    static const char* const pieces[] = {"word ", "\xC3\xA9t\xC3\xA9 ", "\xE6\xBC\xA2\xE5\xAD\x97 ",
                                         "\xF0\x9F\x98\x80 ", "x,y;z "};
    std::string s;
    for (size_t i = 0; s.size() < n; ++i)
        s += pieces[i % 5];
    return s;
}

TStr utf8(const std::string& s) {
    return TStr(s.data(), int(s.size()), ENC_UTF8);
}

bool fail(benchmark::State& state, const char* what) {
    state.SkipWithError(what);
    return false;
}

// One row: a name, its n at full size and in the smoke run, and the body
// that times the operation on input of size `n`.
struct Row {
    const char* name;
    int n;
    int smokeN;
    std::function<void(benchmark::State&, int n)> run;
};

// Conversions -------------------------------------------------------------

void convertToUtf16(benchmark::State& state, int n) {
    const std::string text = mixedText(size_t(n));
    const int size = str_convert_size(text.data(), int(text.size()), ENC_UTF8, ENC_UTF16LE);
    std::vector<char> out(size_t(size) + 2);
    if (size <= 2)
        return void(fail(state, "no size"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(str_convert(text.data(), int(text.size()), ENC_UTF8, out.data(),
                                             int(out.size()), ENC_UTF16LE));
    }
}

void convertToUtf8(benchmark::State& state, int n) {
    const std::string text = mixedText(size_t(n));
    const int size = str_convert_size(text.data(), int(text.size()), ENC_UTF8, ENC_UTF16LE);
    std::vector<char> units(size_t(size) + 2);
    if (size <= 2 || !str_convert(text.data(), int(text.size()), ENC_UTF8, units.data(),
                                  int(units.size()), ENC_UTF16LE))
        return void(fail(state, "no units"));
    const int nbytes = size - 2; // without the terminator
    std::vector<char> out(text.size() + 8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            str_convert(units.data(), nbytes, ENC_UTF16LE, out.data(), int(out.size()), ENC_UTF8));
    }
}

void tstrUtf16View(benchmark::State& state, int n) {
    const std::string text = mixedText(size_t(n));
    for (auto _ : state) {
        TStr s = utf8(text);
        benchmark::DoNotOptimize(s.utf16le());
    }
}

// Formatting, search, cutting ----------------------------------------------

void argLongValue(benchmark::State& state, int n) {
    const TStr pattern("%1 of %2 files copied");
    const TStr value(cycled(size_t(n), "abcdefgh").c_str());
    if (pattern.arg(value).length() != n + 19)
        return void(fail(state, "wrong substitution"));
    for (auto _ : state) {
        TStr r = pattern.arg(value);
        benchmark::DoNotOptimize(r.buffer()->data);
    }
}

void argWidth(benchmark::State& state, int n) {
    const TStr pattern("[%1]");
    if (pattern.arg(7, n).length() != n + 2)
        return void(fail(state, "wrong padding"));
    for (auto _ : state) {
        TStr r = pattern.arg(7, n);
        benchmark::DoNotOptimize(r.buffer()->data);
    }
}

void findAtEnd(benchmark::State& state, int n, bool caseSensitive) {
    const TStr text((cycled(size_t(n), "abcdefg") + "XYZ").c_str());
    const TStr needle(caseSensitive ? "XYZ" : "xyz");
    if (text.find(needle, 0, caseSensitive) != n)
        return void(fail(state, "not found"));
    for (auto _ : state)
        benchmark::DoNotOptimize(text.find(needle, 0, caseSensitive));
}

void splitText(benchmark::State& state, int n) {
    const TStr text(cycled(size_t(n), "abcdefg,").c_str());
    if (TEzuStrList::split(",", text).size() != (n + 7) / 8)
        return void(fail(state, "wrong split"));
    for (auto _ : state) {
        TEzuStrList list = TEzuStrList::split(",", text);
        benchmark::DoNotOptimize(list.size());
    }
}

void splitAnyText(benchmark::State& state, int n) {
    const TStr text(cycled(size_t(n), "abc;defg,").c_str());
    for (auto _ : state) {
        TEzuStrList list = TEzuStrList::splitAny(",;", text);
        benchmark::DoNotOptimize(list.size());
    }
}

void joinList(benchmark::State& state, int n) {
    const TEzuStrList list = TEzuStrList::split(",", TStr(cycled(size_t(n), "abcdefg,").c_str()));
    if (list.join(",").length() != n - (n % 8 == 0 ? 1 : 0))
        return void(fail(state, "wrong join"));
    for (auto _ : state) {
        TStr joined = list.join(",");
        benchmark::DoNotOptimize(joined.buffer()->data);
    }
}

void replaceText(benchmark::State& state, int n) {
    const TStr text(cycled(size_t(n), "a/bc/def/").c_str());
    for (auto _ : state) {
        TStr s(text);
        s.replace("/", "\\\\");
        benchmark::DoNotOptimize(s.buffer()->data);
    }
}

void translateText(benchmark::State& state, int n) {
    const TStr text(cycled(size_t(n), "a//bc/def.g:").c_str());
    for (auto _ : state) {
        TStr s(text);
        s.translate("/.:", "_");
        benchmark::DoNotOptimize(s.buffer()->data);
    }
}

void escapeText(benchmark::State& state, int n) {
    const TStr text(cycled(size_t(n), "C:\\dir{a}!b").c_str());
    for (auto _ : state) {
        TStr s = text.escaped(":!{}");
        benchmark::DoNotOptimize(s.buffer()->data);
    }
}

// Many closing braces and few markers: the text that made unescaping slow.
void unescapeText(benchmark::State& state, int n) {
    std::string text = "!{3a}" + cycled(size_t(n), "ab}cd}ef}");
    text += "!{7d}";
    const TStr s(text.c_str());
    if (s.unescaped().length() != int(text.size()) - 8)
        return void(fail(state, "wrong unescape"));
    for (auto _ : state) {
        TStr r = s.unescaped();
        benchmark::DoNotOptimize(r.buffer()->data);
    }
}

void trimmedText(benchmark::State& state, int n) {
    const TStr text((cycled(size_t(n) / 2, " ") + cycled(size_t(n) / 2, "ab \t")).c_str());
    for (auto _ : state) {
        TStr r = text.trimmed();
        benchmark::DoNotOptimize(r.buffer()->data);
    }
}

void simplifiedText(benchmark::State& state, int n) {
    const TStr text(cycled(size_t(n), "ab \t\r\n  c").c_str());
    for (auto _ : state) {
        TStr r = text.simplified();
        benchmark::DoNotOptimize(r.buffer()->data);
    }
}

void upperText(benchmark::State& state, int n) {
    const TStr text = utf8(mixedText(size_t(n)));
    for (auto _ : state) {
        TStr r = text.upper();
        benchmark::DoNotOptimize(r.buffer()->data);
    }
}

// The string device -------------------------------------------------------

void deviceRead(benchmark::State& state, int n) {
    TStr target(cycled(size_t(n), "abcdefgh").c_str());
    char chunk[127];
    for (auto _ : state) {
        TEzuStrIODevice device(target);
        device.open(ioRead);
        int total = 0;
        for (int got; (got = device.read(chunk, int(sizeof chunk))) > 0;)
            total += got;
        if (total != n)
            return void(fail(state, "short read"));
    }
}

void deviceGetc(benchmark::State& state, int n) {
    TStr target(cycled(size_t(n), "abcdefgh").c_str());
    for (auto _ : state) {
        TEzuStrIODevice device(target);
        device.open(ioRead);
        int total = 0;
        while (!device.atEnd() && device.getc() >= 0)
            ++total;
        if (total != n)
            return void(fail(state, "short getc"));
    }
}

void deviceWrite(benchmark::State& state, int n) {
    const std::string chunk = cycled(127, "abcdefgh");
    for (auto _ : state) {
        TStr target("");
        TEzuStrIODevice device(target);
        device.open(ioWrite);
        for (int done = 0; done < n; done += int(chunk.size()))
            device.write(chunk.data(), int(chunk.size()));
        benchmark::DoNotOptimize(target.buffer()->data);
    }
}

void devicePutc(benchmark::State& state, int n) {
    for (auto _ : state) {
        TStr target("");
        TEzuStrIODevice device(target);
        device.open(ioWrite);
        for (int i = 0; i < n; ++i)
            device.putc('a' + i % 26);
        benchmark::DoNotOptimize(target.buffer()->data);
    }
}

// The command runner: a child that prints n bytes (one long line, which
// arrives in pieces of 127). The time is this process's CPU time, which holds
// the reading and appending but not the child's own work or its start.
void captureChild(benchmark::State& state, int n) {
    char command[160];
    snprintf(command, sizeof command, "head -c %d /dev/zero | tr '\\000' x", n);
    TStr output;
    ezuRunCommand(command, output);
    if (output.length() != n)
        return void(fail(state, "short capture"));
    for (auto _ : state) {
        ezuRunCommand(command, output);
        benchmark::DoNotOptimize(output.buffer()->data);
    }
}

// Settings and expansion ----------------------------------------------------

void settingsKeys(benchmark::State& state, int n) {
    std::vector<TStr> keys;
    for (int i = 0; i < n; ++i)
        keys.push_back(TStr("scaling/%1/key%2").arg(n).arg(i));
    const TStr value("value");
    for (auto _ : state) {
        for (const TStr& key : keys)
            ezuSetString(key, value, true);
        for (const TStr& key : keys)
            benchmark::DoNotOptimize(ezuGetString(key).buffer());
    }
}

// A text of n markers, each naming a setting with a short value.
void expansion(benchmark::State& state, int n) {
    TStr text("");
    for (int i = 0; i < n; ++i) {
        const TStr marker = TStr("{/scaling/m%1}").arg(i);
        ezuSetString(marker, TStr("v%1").arg(i), true);
        text += marker;
        text += " ";
    }
    if (ezuExpandSettings(text, nullptr, false).find("{") >= 0)
        return void(fail(state, "marker left"));
    for (auto _ : state) {
        TStr r = ezuExpandSettings(text, nullptr, false);
        benchmark::DoNotOptimize(r.buffer()->data);
    }
}

// Appends -------------------------------------------------------------------

void appendStrings(benchmark::State& state, int n) {
    const TStr piece("0123456789abcdef");
    for (auto _ : state) {
        TStr s;
        for (int i = 0; i < n; i += 16)
            s += piece;
        benchmark::DoNotOptimize(s.buffer()->data);
    }
}

void appendMultiByte(benchmark::State& state, int n) {
    const TStr piece = utf8("\xC3\xA9t\xC3\xA9\xE6\xBC\xA2");
    for (auto _ : state) {
        TStr s;
        for (int i = 0; i < n; i += 8)
            s += piece;
        benchmark::DoNotOptimize(s.buffer()->data);
    }
}

void appendText(benchmark::State& state, int n) {
    for (auto _ : state) {
        TStr s;
        for (int i = 0; i < n; i += 16)
            s += "0123456789abcdef";
        benchmark::DoNotOptimize(s.buffer()->data);
    }
}

void appendChars(benchmark::State& state, int n) {
    for (auto _ : state) {
        TStr s;
        for (int i = 0; i < n; ++i)
            s += char('a' + i % 26);
        if (s.length() != n)
            return void(fail(state, "wrong length"));
    }
}

void appendWithSeparators(benchmark::State& state, int n) {
    const TStr piece("abcdefg");
    const TStr separator("/");
    for (auto _ : state) {
        TStr s;
        for (int i = 0; i < n; i += 8)
            s.appendWithSeparator(piece, separator);
        benchmark::DoNotOptimize(s.buffer()->data);
    }
}

// Rows whose inputs make many small blocks (lists, settings keys) run at
// sizes whose data stays within the caches: beyond them every lookup waits
// for memory, and the growth measured would be the machine's, not the
// algorithm's (a std::unordered_map grows alike there).
std::vector<Row> rows() {
    using namespace std::placeholders;
    return {
        {"convert/utf8_to_utf16le", 65536, 256, convertToUtf16},
        {"convert/utf16le_to_utf8", 65536, 256, convertToUtf8},
        {"convert/tstr_utf16le_view", 65536, 256, tstrUtf16View},
        // Slot for the validity check of UTF-8 text (str_validate): add its
        // row here once it exists, e.g.
        // {"convert/str_validate", 65536, 256, validateText},
        {"arg/long_value", 65536, 256, argLongValue},
        {"arg/width", 65536, 256, argWidth},
        {"find/case_sensitive", 65536, 256, std::bind(findAtEnd, _1, _2, true)},
        {"find/case_insensitive", 65536, 256, std::bind(findAtEnd, _1, _2, false)},
        {"list/split", 4096, 256, splitText},
        {"list/split_any", 4096, 256, splitAnyText},
        {"list/join", 4096, 256, joinList},
        {"text/replace", 65536, 256, replaceText},
        {"text/translate", 65536, 256, translateText},
        {"text/escaped", 65536, 256, escapeText},
        {"text/unescaped", 65536, 256, unescapeText},
        {"text/trimmed", 65536, 256, trimmedText},
        {"text/simplified", 65536, 256, simplifiedText},
        {"text/upper", 65536, 256, upperText},
        {"device/read", 16384, 256, deviceRead},
        {"device/getc", 4096, 256, deviceGetc},
        {"device/write", 16384, 256, deviceWrite},
        {"device/putc", 16384, 256, devicePutc},
        {"command/capture", 1 << 20, 4096, captureChild},
        {"settings/set_get", 128, 16, settingsKeys},
        {"settings/expand", 60, 4, expansion},
        {"append/tstr", 65536, 256, appendStrings},
        {"append/multibyte", 65536, 256, appendMultiByte},
        {"append/text", 65536, 256, appendText},
        {"append/char", 65536, 256, appendChars},
        {"append/with_separator", 65536, 256, appendWithSeparators},
    };
}

} // namespace

int main(int argc, char** argv) {
    bool smoke = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (strcmp(argv[i], "--scaling_smoke") == 0)
            smoke = true;
        else
            args.push_back(argv[i]);
    }
    for (const Row& row : rows()) {
        const int n = smoke ? row.smokeN : row.n;
        auto run = row.run;
        auto* b = benchmark::RegisterBenchmark(
            row.name, [run](benchmark::State& state) { run(state, int(state.range(0))); });
        b->Arg(n)->Arg(4 * n)->Arg(16 * n)->Unit(benchmark::kMicrosecond);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
