// The in-memory device over a TStr.
#include "ezu_test.h"
#include "io_test_util.h"

#include <string.h>

#include <string>
#include <vector>

#include "test_lcg.h"

EZU_TEST_SUITE(StrDevice);

TEST_F(StrDevice, GetcWalksTheTextAndReportsTheEnd) {
    TStr text("abc");
    TEzuStrIODevice device(text);
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.getc(), 0x61);
    EXPECT_EQ(device.getc(), 0x62);
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.getc(), 0x63);
    EXPECT_EQ(device.atEnd(), 1);
    EXPECT_EQ(device.getc(), -1);
    EXPECT_EQ(device.atEnd(), 1);
    EXPECT_EQ(textOf(text), "abc");
}

TEST_F(StrDevice, UngetcMovesBackWithoutChangingTheTarget) {
    TStr text("abc");
    TEzuStrIODevice fresh(&text);
    EXPECT_EQ(fresh.ungetc('x'), -1);

    TEzuStrIODevice device(text);
    device.getc();
    device.getc();
    device.getc();
    EXPECT_EQ(device.ungetc('x'), 0x78);
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.getc(), 0x63);
    EXPECT_EQ(textOf(text), "abc");
}

TEST_F(StrDevice, ReadNeedsTheReadBitOfTheLastOpen) {
    TStr text("abc");
    TEzuStrIODevice device(text);
    char buf[16];
    memset(buf, '#', sizeof buf);
    EXPECT_EQ(device.read(buf, 2), 0) << "never opened";

    EXPECT_TRUE(device.open(ioRead));
    EXPECT_EQ(device.read(buf, 2), 2);
    EXPECT_EQ(std::string(buf, 3), "ab#") << "no terminator is added";
    EXPECT_EQ(device.read(buf, 10), 1);
    EXPECT_EQ(buf[0], 'c');
    EXPECT_EQ(device.read(buf, 10), 0);
    EXPECT_EQ(device.atEnd(), 1);

    device.ungetc(0);
    EXPECT_TRUE(device.open(ioWrite));
    EXPECT_EQ(device.read(buf, 10), 0) << "opened without the read bit";
    device.close();
    EXPECT_TRUE(device.open(ioRead | ioText));
    EXPECT_EQ(device.read(buf, 10), 1) << "open keeps the position";
    EXPECT_EQ(device.read(buf, -1), 0);
    EXPECT_EQ(textOf(text), "abc");
}

TEST_F(StrDevice, WriteAppendsAtTheEndWhereverReadingStands) {
    TStr text("abc");
    TEzuStrIODevice device(text);
    EXPECT_EQ(device.getc(), 'a');
    EXPECT_EQ(device.write("de", 2), 2);
    EXPECT_EQ(textOf(text), "abcde");
    EXPECT_EQ(device.getc(), 0x62);

    // A zero byte cannot be text: the write ends before it and says so.
    EXPECT_EQ(device.write("ab\0cd", 5), 2);
    EXPECT_EQ(textOf(text), "abcdeab");

    // UTF-8 arrives as characters, read back through the 7-bit view.
    EXPECT_EQ(device.write("\xC3\xA9", 2), 2);
    EXPECT_EQ(text.length(), 8);
    EXPECT_EQ(device.write("x", 0), 0);
    EXPECT_EQ(device.write("x", -3), 0);
    EXPECT_EQ(text.length(), 8);
}

TEST_F(StrDevice, AppendedTextIsReadableAtOnce) {
    TStr text("a");
    TEzuStrIODevice device(text);
    device.open(ioRead);
    char c;
    EXPECT_EQ(device.read(&c, 1), 1);
    EXPECT_EQ(device.atEnd(), 1);
    text += "b";
    EXPECT_EQ(device.atEnd(), 0);
    EXPECT_EQ(device.read(&c, 1), 1);
    EXPECT_EQ(c, 'b');
}

TEST_F(StrDevice, PutcAppendsOneSevenBitCharacter) {
    TStr text("a");
    TEzuStrIODevice device(text);
    EXPECT_EQ(device.putc('b'), 'b');
    EXPECT_EQ(device.putc(0xE9), 0xE9);
    EXPECT_EQ(textOf(text), "ab?");
    EXPECT_EQ(device.putc(0), 0);
    EXPECT_EQ(textOf(text), "ab?");

    TStr null_state;
    TEzuStrIODevice into_null(null_state);
    EXPECT_EQ(into_null.putc('z'), 'z');
    EXPECT_EQ(textOf(null_state), "z");
}

TEST_F(StrDevice, CharactersAboveSevenBitsReadAsQuestionMarkOrSignExtendedLead) {
    TStr text = utf8("\xC3\xA9x");
    TEzuStrIODevice reader(text);
    reader.open(ioRead);
    char buf[4] = {0};
    EXPECT_EQ(reader.read(buf, 4), 2);
    EXPECT_EQ(buf[0], 0x3F);
    EXPECT_EQ(buf[1], 'x');

    TEzuStrIODevice getter(text);
    EXPECT_EQ(getter.getc(), -61);
    EXPECT_EQ(getter.getc(), 'x');
    EXPECT_EQ(getter.getc(), -1);
}

TEST_F(StrDevice, WorksThroughTheInterfaceAndLeavesTheTargetOnDestruction) {
    TStr text("xy");
    {
        TEzuIODevice* device = new TEzuStrIODevice(text);
        EXPECT_TRUE(device->open(ioRead | ioWrite | ioUpdate));
        EXPECT_EQ(device->getc(), 'x');
        device->putc('z');
        device->close();
        EXPECT_EQ(device->getc(), 'y') << "close has no effect";
        delete device;
    }
    EXPECT_EQ(textOf(text), "xyz");

    TStr empty;
    TEzuStrIODevice over_null(empty);
    EXPECT_EQ(over_null.atEnd(), 1);
    EXPECT_EQ(over_null.getc(), -1);
}

// Bytes arrive in chunks that may cut a character; the target gets the text
// the whole stream reads as, and no write claims bytes that were dropped.
// After the chunks the row's last step runs: nothing, close, putc('b') or
// destroying the device. Held bytes are never readable.
TEST_F(StrDevice, WriteHoldsACharacterCutAtTheChunkBoundary) {
    enum End { kNothing, kClose, kPutc, kDestroy };
    struct Chunk {
        std::string bytes;
        int accepted;
    };
    struct Case {
        const char* name;
        std::vector<Chunk> chunks;
        End end;
        const char* text; // the target afterwards, UTF-8
    } const cases[] = {
        {"two-byte character cut", {{"a\xC3", 2}, {"\xA9", 1}}, kNothing, "a\xC3\xA9"},
        {"four bytes over three writes",
         {{"\xF0", 1}, {"\x9F\x98", 2}, {"\x80x", 2}},
         kNothing,
         "\xF0\x9F\x98\x80x"},
        {"zero byte ends the text", {{std::string("ab\0cd", 5), 2}}, kNothing, "ab"},
        {"sequence reading as character 0", {{"x\xC0\x80y", 1}}, kNothing, "x"},
        {"held bytes completed into character 0 are refused",
         {{"\xC0", 1}, {"\x80z", 0}},
         kClose,
         "?"},
        {"close ends a cut character", {{"a\xE2\x82", 3}}, kClose, "a?"},
        {"putc ends a cut character", {{"a\xE2", 2}}, kPutc, "a?b"},
        {"destruction ends a cut character", {{"\xC3", 1}}, kDestroy, "?"},
        {"whole characters need no holding", {{"\xE2\x82\xAC", 3}}, kClose, "\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        TStr text;
        {
            TEzuStrIODevice device(text);
            for (const Chunk& chunk : c.chunks) {
                EXPECT_EQ(device.write(chunk.bytes.data(), int(chunk.bytes.size())), chunk.accepted)
                    << c.name;
            }
            // Only appended characters are readable, never held bytes.
            int read = 0;
            while (device.getc() != -1)
                ++read;
            EXPECT_EQ(read, text.length()) << c.name;
            EXPECT_EQ(device.atEnd(), 1) << c.name;
            if (c.end == kClose)
                device.close();
            if (c.end == kPutc)
                device.putc('b');
        }
        EXPECT_EQ(textOf(text), c.text) << c.name;
    }
}

namespace {

// The device as first written: it measures the 7-bit view and walks the
// text on every call. The fast device must answer exactly like it.
struct ModelReader {
    const TStr* target;
    int position;
    int mode;

    int length() const {
        const char* view = target->ascii();
        return view ? int(strlen(view)) : 0;
    }
    int getc() { return position < length() ? target->charAt(position++) : -1; }
    int atEnd() const { return position >= length(); }
    int ungetc(int c) { return position == 0 ? -1 : (--position, c); }
    std::string read(int count) {
        if (!(mode & ioRead))
            return std::string();
        int n = length() - position;
        if (count < n)
            n = count;
        if (n <= 0)
            return std::string();
        std::string out(target->ascii() + position, size_t(n));
        position += n;
        return out;
    }
};

std::string randomText(Lcg& rng, int chars) {
    static const char* const kPieces[] = {
        "a", "b", " ", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
    std::string text;
    for (int i = 0; i < chars; ++i)
        text += kPieces[rng.below(6)];
    return text;
}

// The characters of `text` (whole UTF-8 sequences) in another order: the
// same byte length, so assignment reuses the block, with other widths at
// each position.
std::string shuffled(Lcg& rng, const std::string& text) {
    std::vector<std::string> chars;
    for (size_t i = 0; i < text.size();) {
        const size_t n = size_t(str_utf8_seq_len(static_cast<unsigned char>(text[i])));
        chars.push_back(text.substr(i, n));
        i += n;
    }
    for (size_t i = chars.size(); i > 1; --i)
        std::swap(chars[i - 1], chars[rng.below(uint32_t(i))]);
    std::string out;
    for (const std::string& c : chars)
        out += c;
    return out;
}

} // namespace

// getc, read, atEnd and ungetc over random texts (7-bit and multi-byte)
// agree with the model while the device and others write to the target, the
// target is reassigned in place, cut short, or read through another view.
TEST_F(StrDevice, ReadingAgreesWithTheMeasuringModel) {
    for (uint64_t seed = 1; seed <= 12; ++seed) {
        Lcg rng{seed};
        // Some targets end in a cut character, as text put together by the
        // lower tier can: their 7-bit view is empty until it is completed.
        std::string start = randomText(rng, int(rng.below(40)));
        if (seed % 3 == 0)
            start += "\xE2\x82";
        TStr text;
        memcpy(text.reserve(int(start.size())), start.data(), start.size());
        TEzuStrIODevice device(text);
        ModelReader model{&text, 0, 0};
        for (int step = 0; step < 1500; ++step) {
            const uint32_t op = rng.below(100);
            if (op < 40) {
                ASSERT_EQ(device.getc(), model.getc()) << "seed " << seed << " step " << step;
            } else if (op < 55) {
                ASSERT_EQ(device.atEnd(), model.atEnd()) << "seed " << seed << " step " << step;
            } else if (op < 65) {
                const int count = int(rng.below(6));
                char buf[8];
                const int n = device.read(buf, count);
                ASSERT_EQ(std::string(buf, size_t(n > 0 ? n : 0)), model.read(count))
                    << "seed " << seed << " step " << step;
            } else if (op < 74) {
                const int c = int(rng.below(128));
                ASSERT_EQ(device.ungetc(c), model.ungetc(c)) << "seed " << seed << " step " << step;
            } else if (op < 80) {
                // Sometimes cut inside a character: the rest follows at once.
                const std::string more = randomText(rng, int(rng.below(4)));
                const size_t cut = rng.below(uint32_t(more.size() + 1));
                device.write(more.data(), int(cut));
                device.write(more.data() + cut, int(more.size() - cut));
            } else if (op < 84) {
                device.putc(int(rng.below(256)));
            } else if (op < 88) {
                const bool read = rng.below(2) != 0;
                device.open(read ? ioRead : ioWrite);
                model.mode = read ? ioRead : ioWrite;
            } else if (op < 91) {
                text += utf8(randomText(rng, 1 + int(rng.below(3))));
            } else if (op < 94) {
                const std::string same = shuffled(rng, text.isEmpty() ? "" : text.buffer()->data);
                text = utf8(same);
            } else if (op < 96) {
                text.truncate(int(rng.below(uint32_t(text.length() + 1))));
            } else {
                text.utf16le(); // another view replaces the 7-bit one
            }
        }
    }
}
