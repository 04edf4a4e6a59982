// ezutool convert: every encoding by name and number, files and standard
// streams, rejected input, replacing the output, and chunk boundaries.
#include "tool_test_util.h"

#include <stdint.h>
#include <string.h>

class ToolConvert : public ToolTest {
  protected:
    // Writes `content` to a new scratch file and returns its path.
    std::string input(const std::string& name, const std::string& content) {
        const std::string path = file(name);
        EXPECT_TRUE(ScratchDir::writeFile(path, content)) << path;
        return path;
    }

    // Converts the file `in` into `out` and returns the run.
    ToolRun convert(const std::string& from, const std::string& to, const std::string& in,
                    const std::string& out) {
        return run("convert --from " + from + " --to " + to + " " + shell_quote(in) + " " +
                   shell_quote(out));
    }
};

namespace {

bool little_endian() {
    const uint16_t probe = 1;
    unsigned char first;
    memcpy(&first, &probe, 1);
    return first == 1;
}

std::string utf16(const std::u16string& text, bool big_endian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char high = char(unit >> 8), low = char(unit & 0xFF);
        bytes += big_endian ? high : low;
        bytes += big_endian ? low : high;
    }
    return bytes;
}
std::string utf16le(const std::u16string& text) {
    return utf16(text, false);
}
std::string utf16be(const std::u16string& text) {
    return utf16(text, true);
}
// Marked UTF-16 as written: the mark and the text in the machine's order.
std::string utf16marked(const std::u16string& text) {
    return utf16(u"\uFEFF" + text, !little_endian());
}
std::string utf32(const std::u32string& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 4);
}

// ASCII, accented letters, CJK and an emoji, in every encoding.
const char kUtf8[] =
    "ASCII, caf\xC3\xA9 na\xC3\xAFve, \xE6\xBC\xA2\xE5\xAD\x97, \xF0\x9F\x98\x80!\n";
const char16_t kUtf16[] = u"ASCII, caf\u00E9 na\u00EFve, \u6F22\u5B57, \U0001F600!\n";
const char32_t kUtf32[] = U"ASCII, caf\u00E9 na\u00EFve, \u6F22\u5B57, \U0001F600!\n";
const char kAscii[] = "ASCII, caf? na?ve, ??, ?!\n";

std::string expected(int encoding) {
    switch (encoding) {
    case 0:
        return kAscii;
    case 1:
        return kUtf8;
    case 2:
        return utf16marked(kUtf16);
    case 3:
        return utf16be(kUtf16);
    case 4:
        return utf16le(kUtf16);
    default:
        return utf32(kUtf32);
    }
}

const char* const kNames[] = {"ascii", "utf8", "utf16", "utf16be", "utf16le", "utf32"};

} // namespace

TEST_F(ToolConvert, Utf8IntoEveryEncodingAndBackByNameAndNumber) {
    const std::string source = input("source.txt", kUtf8);
    for (int to = 0; to < 6; ++to) {
        const std::string out = file(std::string("to-") + kNames[to] + ".txt");
        const ToolRun there = convert("utf8", kNames[to], source, out);
        ASSERT_EQ(there.status, 0) << kNames[to] << ": " << there.err;
        EXPECT_EQ(there.out + there.err, "");
        EXPECT_EQ(ScratchDir::readFile(out), expected(to)) << kNames[to];

        // Back to UTF-8, the encodings given by number: lossless from every
        // Unicode encoding; from ASCII the "?" stay.
        const std::string back = file(std::string("back-") + kNames[to] + ".txt");
        const ToolRun again = convert(std::to_string(to), "1", out, back);
        ASSERT_EQ(again.status, 0) << kNames[to] << ": " << again.err;
        EXPECT_EQ(ScratchDir::readFile(back), to == 0 ? kAscii : kUtf8) << kNames[to];
    }
}

TEST_F(ToolConvert, ChainThroughTheUnicodeEncodingsIsLossless) {
    const char* const chain[] = {"utf16", "utf32", "utf16be", "utf16le", "utf16", "utf8"};
    std::string current = input("chain-0.txt", kUtf8);
    std::string from = "utf8";
    for (int step = 0; step < 6; ++step) {
        const std::string next = file("chain-" + std::to_string(step + 1) + ".txt");
        const ToolRun result = convert(from, chain[step], current, next);
        ASSERT_EQ(result.status, 0) << from << " to " << chain[step] << ": " << result.err;
        current = next;
        from = chain[step];
    }
    EXPECT_EQ(ScratchDir::readFile(current), kUtf8);
}

TEST_F(ToolConvert, StandardInputToStandardOutputInBinaryMode) {
    // Line ends must pass unchanged through both standard streams.
    const std::string source = input("crlf.txt", "one\r\ntwo\n\x1Athree\n");
    const ToolRun result = run("convert --from utf8 --to utf16le", true, source);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf16le(u"one\r\ntwo\n\x1Athree\n"));

    const std::string marked = input("marked.txt", utf16be(u"\uFEFFBE text\n"));
    const ToolRun fromMarked = run("convert --from utf16 --to utf8 " + shell_quote(marked), true);
    EXPECT_EQ(fromMarked.status, 0) << fromMarked.err;
    EXPECT_EQ(fromMarked.out, "BE text\n");
}

TEST_F(ToolConvert, TheTextEndsAtItsFirstNulCharacterWithANote) {
    const std::string source = input("text-with-nul.txt", std::string("abc\0def", 7));
    const ToolRun result = run("convert --from ascii --to utf32 " + shell_quote(source), true);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, utf32(U"abc"));
    EXPECT_EQ(result.err, "ezutool: note: the text of " + source +
                              " ends at the NUL character at byte 3; the rest is not converted\n");
    // Quiet: no note. A NUL that cuts nothing off: none either.
    EXPECT_EQ(run("-q convert -f ascii -t utf8 " + shell_quote(source), true).err, "");
    const std::string last = input("nul-last.txt", std::string("abc\0", 4));
    const ToolRun atEnd = run("convert -f utf8 -t utf8 " + shell_quote(last), true);
    EXPECT_EQ(atEnd.out + atEnd.err, "abc");
}

TEST_F(ToolConvert, IllFormedInputIsRefusedWithTheFaultAndItsOffset) {
    const std::string utf32a = utf32(U"a");
    const struct {
        const char* from;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"utf8", "caf\xE9 ok", "UTF-8 lead byte without its continuation bytes at byte 3"},
        {"utf8", "ok \xE6\xBC", "UTF-8 sequence cut off by the end of the input at byte 3"},
        {"utf8", "a\x80", "UTF-8 continuation byte without a lead byte at byte 1"},
        {"utf8", "/\xC0\xAF", "overlong UTF-8 form at byte 1"},
        {"utf8", "\xE0\x80\xAF", "overlong UTF-8 form at byte 0"},
        {"utf8", "\xED\xA0\x80", "UTF-8 form of a surrogate at byte 0"},
        {"utf8", "x\xF4\x90\x80\x80", "UTF-8 form of a value above U+10FFFF at byte 1"},
        {"utf8", "\xF8\x88\x80\x80\x80", "five- or six-byte UTF-8 form at byte 0"},
        {"utf8", "ab\xFE", "byte that never occurs in UTF-8 at byte 2"},
        {"utf16le", std::string("\x3D\xD8\x41\x00", 4), "unpaired high surrogate at byte 0"},
        {"utf16be", std::string("\x00\x41\xDC\x00", 4), "unpaired low surrogate at byte 2"},
        {"utf16be", std::string("\x00\x41\x00", 3), "UTF-16 text ending in half a unit at byte 2"},
        // The mark counts: offsets are from the start of the input.
        {"utf16", std::string("\xFF\xFE\x41\x00\x00\xDC", 6), "unpaired low surrogate at byte 4"},
        {"utf32", utf32a + utf32(std::u32string(1, char32_t(0xD800))),
         "UTF-32 value in the surrogate range at byte 4"},
        {"utf32", utf32a + utf32(std::u32string(1, char32_t(0x110000))),
         "UTF-32 value above 0x10FFFF at byte 4"},
        {"utf32", utf32a + "a\x00", "UTF-32 text ending inside a unit at byte 4"},
        {"ascii", "ab\xE9", "byte above 127 in ASCII text at byte 2"},
    };
    const std::string out = file("existing.txt");
    for (const auto& c : cases) {
        const std::string in = input("bad.txt", c.bytes);
        ASSERT_TRUE(ScratchDir::writeFile(out, "old content\n"));
        const ToolRun result = convert(c.from, "utf16le", in, out);
        EXPECT_EQ(result.status, 1) << c.reason;
        EXPECT_EQ(result.err, "ezutool: cannot convert " + in + ": " + c.reason + "\n");
        EXPECT_EQ(ScratchDir::readFile(out), "old content\n") << c.reason;
    }
    // Standard output gets nothing of a refused first chunk.
    const std::string in = input("bad-stdout.txt", std::string("ok\x3D\xD8\x41\x00", 6));
    const ToolRun toStdout = run("convert --from utf16le --to utf8", true, in);
    EXPECT_EQ(toStdout.status, 1);
    EXPECT_EQ(toStdout.out, "");
    EXPECT_EQ(toStdout.err,
              "ezutool: cannot convert standard input: unpaired high surrogate at byte 2\n");
}

TEST_F(ToolConvert, LenientReadsAsTheDecoderDoesAndNamesWhatItRejects) {
    // "caf" E9 20 6F: the lead byte takes the next two bytes as one character.
    const std::string latin = input("latin1.txt", "caf\xE9 ok");
    const ToolRun lenient = run("convert --lenient -f utf8 -t utf8 " + shell_quote(latin), true);
    EXPECT_EQ(lenient.status, 0) << lenient.err;
    EXPECT_EQ(lenient.out, "caf\xE7\x9F\xAFk"); // U+77EF
    // What the permissive reading rejects too gets plain words and an offset.
    const std::string odd = input("odd.txt", std::string("\x41\x00\x42", 3));
    const ToolRun rejected = run("convert --lenient -f utf16le -t utf8 " + shell_quote(odd), true);
    EXPECT_EQ(rejected.status, 1);
    EXPECT_EQ(rejected.err,
              "ezutool: cannot convert " + odd + ": UTF-16 text ending in half a unit at byte 2\n");
}

TEST_F(ToolConvert, EncodingNamesAndOptionFormsAsConverterUsersWriteThem) {
    const std::string source = input("names.txt", kUtf8);
    const struct {
        const char* name;
        int encoding;
    } names[] = {{"UTF-8", 1},   {"utf-8", 1},    {"UTF8", 1},   {"UTF-16LE", 4},
                 {"utf16be", 3}, {"UTF-32", 5},   {"UTF-16", 2}, {"US-ASCII", 0},
                 {"ascii", 0},   {"Utf-16Le", 4}, {"5", 5}};
    const char* const forms[] = {"-t %s", "--to=%s", "--to %s"};
    int i = 0;
    for (const auto& n : names) {
        std::string option = forms[i++ % 3];
        option.replace(option.find("%s"), 2, n.name);
        const ToolRun result = run("convert -f utf-8 " + option + " " + shell_quote(source), true);
        EXPECT_EQ(result.status, 0) << n.name << ": " << result.err;
        EXPECT_TRUE(result.out == expected(n.encoding)) << n.name;
    }
    // "-" for standard input and output; "--" ends the options.
    const std::string dashed = input("-dash.txt", "dash\n");
    const ToolRun streams = run("convert --from=UTF-8 -t UTF-16LE - -", true, dashed);
    EXPECT_EQ(streams.out, utf16le(u"dash\n"));
    const std::string out = file("-out.txt");
    const ToolRun ended =
        run("convert -f utf8 -t ascii -- " + shell_quote(dashed) + " " + shell_quote(out));
    EXPECT_EQ(ended.status, 0) << ended.err;
    EXPECT_EQ(ScratchDir::readFile(out), "dash\n");

    const ToolRun list = run("convert --list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(run("convert -l").out, list.out);
    for (const char* name :
         {"ASCII", "US-ASCII", "UTF-8", "UTF-16", "UTF-16BE", "UTF-16LE", "UTF-32"})
        EXPECT_NE(list.out.find(name), std::string::npos) << name;
}

TEST_F(ToolConvert, OutputIsReplacedOnlyWhereWindowsAllowsIt) {
    const std::string in = input("in.txt", "new\n");
    const std::string out = file("out.txt");
    ASSERT_TRUE(ScratchDir::writeFile(out, "a longer old content\n"));
    EXPECT_EQ(convert("utf8", "ascii", in, out).status, 0);
    EXPECT_EQ(ScratchDir::readFile(out), "new\n");

    // Converting a file into itself reads it whole before replacing it.
    EXPECT_EQ(convert("utf8", "utf16le", out, out).status, 0);
    EXPECT_EQ(ScratchDir::readFile(out), utf16le(u"new\n"));

    // A path written with "/": the new file goes beside OUTPUT all the same.
    std::string slashed = out;
    for (char& c : slashed)
        if (c == '\\')
            c = '/';
    EXPECT_EQ(convert("utf8", "ascii", in, slashed).status, 0);
    EXPECT_EQ(ScratchDir::readFile(out), "new\n");

    ASSERT_TRUE(ScratchDir::setReadOnly(out, true));
    const ToolRun readOnly = convert("utf8", "utf16le", in, out);
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_EQ(readOnly.err, "ezutool: cannot replace " + out + ": Permission denied\n");
    EXPECT_EQ(ScratchDir::readFile(out), "new\n");
    ASSERT_TRUE(ScratchDir::setReadOnly(out, false));

    const std::string missing = scratch_.path() + "\\no-such-file.txt";
    const ToolRun noInput = convert("utf8", "ascii", missing, out);
    EXPECT_EQ(noInput.status, 1);
    EXPECT_EQ(noInput.err, "ezutool: cannot open " + missing + ": No such file or directory\n");

    const std::string noDir = scratch_.path() + "\\no-such-dir\\out.txt";
    const ToolRun noOutputDir = convert("utf8", "ascii", in, noDir);
    EXPECT_EQ(noOutputDir.status, 1);
    EXPECT_EQ(noOutputDir.err, "ezutool: cannot create " + noDir + ": No such file or directory\n");
}

TEST_F(ToolConvert, CharactersStraddlingTheChunkBoundaryStayWhole) {
    const size_t kChunk = 1 << 20;

    // UTF-8: a four-byte emoji with two bytes on each side of the boundary,
    // then a second chunk of accented text.
    std::string utf8(kChunk - 2, 'a');
    std::u16string text(kChunk - 2, u'a');
    for (int i = 0; i < 1000; ++i) {
        utf8 += "\xF0\x9F\x98\x80 \xC3\xA9t\xC3\xA9 \xE6\xBC\xA2\n";
        text += u"\U0001F600 \u00E9t\u00E9 \u6F22\n";
    }
    const std::string fromUtf8 = input("big8.txt", utf8);
    const std::string le = file("big16le.txt");
    ASSERT_EQ(convert("utf8", "utf16le", fromUtf8, le).status, 0);
    EXPECT_TRUE(ScratchDir::readFile(le) == utf16le(text)) << "UTF-8 to UTF-16LE";

    // UTF-16: a surrogate pair split between the chunks, from both orders,
    // and a marked source whose order holds for the whole stream.
    const std::u16string pairText = std::u16string(kChunk / 2 - 1, u'b') + u"\U0001F600 end\n";
    const std::string pairUtf8 = std::string(kChunk / 2 - 1, 'b') + "\xF0\x9F\x98\x80 end\n";
    const std::string pairLe = input("pair-le.txt", utf16le(pairText));
    const std::string pairBe = input("pair-be.txt", utf16be(pairText));
    const std::string pairMarked = input("pair-marked.txt", utf16be(u"\uFEFF" + pairText));
    const std::string back = file("pair-back.txt");
    for (const auto& source : {std::make_pair("utf16le", pairLe), std::make_pair("utf16be", pairBe),
                               std::make_pair("utf16", pairMarked)}) {
        ASSERT_EQ(convert(source.first, "utf8", source.second, back).status, 0) << source.first;
        EXPECT_TRUE(ScratchDir::readFile(back) == pairUtf8) << source.first;
    }

    // A marked target carries its mark once, at the start.
    const std::string marked = file("big-marked.txt");
    ASSERT_EQ(convert("utf8", "utf16", fromUtf8, marked).status, 0);
    EXPECT_TRUE(ScratchDir::readFile(marked) == utf16marked(text)) << "UTF-8 to marked UTF-16";

    // Faults in the second chunk and across the boundary: offsets count from
    // the start of the input.
    for (size_t before : {kChunk - 1, kChunk + 5}) {
        const std::string bad = input("late-fault.txt", std::string(before, 'a') + "\xE6\xBCx");
        const ToolRun refused = convert("utf8", "utf16le", bad, le);
        EXPECT_EQ(refused.err, "ezutool: cannot convert " + bad +
                                   ": UTF-8 lead byte without its continuation bytes at byte " +
                                   std::to_string(before) + "\n");
    }

    // A NUL in the second chunk ends the text there.
    const std::string withNul = input("nul-late.txt", utf8 + std::string(1, '\0') + "ignored");
    const std::string cut = file("nul-late-out.txt");
    ASSERT_EQ(convert("utf8", "utf16le", withNul, cut).status, 0);
    EXPECT_TRUE(ScratchDir::readFile(cut) == utf16le(text)) << "text after the NUL";
}
