// Encoding names as converter users write them.
#include "tool.h"

namespace {

struct EncodingName {
    const char* name;      // the name the help and --list show
    const char* key;       // lower case without hyphens, as names are compared
    const char* alias_key; // a second accepted name, or null
    const char* note;
};

const EncodingName kNames[] = {
    {"ASCII", "ascii", "usascii", "7-bit; a character above 127 is written as \"?\""},
    {"UTF-8", "utf8", nullptr, ""},
    {"UTF-16", "utf16", nullptr,
     "with byte-order mark (read: the mark picks the order; written: "
     "the machine's)"},
    {"UTF-16BE", "utf16be", nullptr, "big-endian, no mark"},
    {"UTF-16LE", "utf16le", nullptr, "little-endian, no mark"},
    {"UTF-32", "utf32", nullptr, "the machine's order, no mark"},
};

} // namespace

int parseEncoding(const TStr& text) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return str_encoding_valid(number) ? number : -1;
    TStr key = text.lower();
    key.replace("-", "");
    for (int encoding = ENC_ASCII; encoding <= ENC_UTF32; ++encoding) {
        const EncodingName& n = kNames[encoding];
        if (key == n.key || (n.alias_key && key == n.alias_key))
            return encoding;
    }
    return -1;
}

void printEncodingList() {
    printOut("Encodings (names in any case, with or without \"-\"; or the numbers):\n");
    for (int encoding = ENC_ASCII; encoding <= ENC_UTF32; ++encoding) {
        const EncodingName& n = kNames[encoding];
        TStr line = TStr("  %1  %2").arg(encoding).arg(n.name);
        if (*n.note) {
            while (line.length() < 16)
                line += " ";
            line += n.alias_key ? TStr("(also US-ASCII) ") + n.note : TStr(n.note);
        }
        printOut(line + "\n");
    }
}
