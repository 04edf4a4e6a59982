// Brace-marker expansion: "{name}" markers in a text replaced by settings.
//
// Marker positions and lengths come back from the marker search as byte
// offsets while its start position counts characters, so the scan keeps
// both: the byte offset it has reached and the number of characters before
// it. The pieces of the text are cut by bytes.
#include "ezu/settings/plugin.h"

#include "ezu/core/encoding.h"

#include <string.h>

namespace {

int byteLength(const TStr& text) {
    return text.isNull() ? 0 : int(strlen(text.buffer()->data));
}

// Bytes [start, start + count) of the text as a new string.
TStr bytes(const TStr& text, int start, int count) {
    return TStr(text.buffer()->data + start, count, ENC_UTF8);
}

// Characters that start in bytes [from, to), each stepped over by the length
// its lead byte gives and never past the terminator, as positions are
// counted everywhere else.
int charsBetween(const char* text, int from, int to) {
    int count = 0;
    for (int i = from; i < to && text[i];) {
        const int step = str_utf8_seq_len((unsigned char)text[i]);
        for (int k = 0; k < step && text[i]; ++k)
            ++i;
        ++count;
    }
    return count;
}

// Where the scan stands: the byte offset and the characters before it.
struct ScanPosition {
    int byte = 0;
    int chars = 0;
    void moveTo(const TStr& text, int to) {
        chars += charsBetween(text.buffer()->data, byte, to);
        byte = to;
    }
};

} // namespace

TStr ezuExpandSettings(TStr text, TEzuPluginBase* plugin, bool inherit) {
    const TStr open("{");
    const TStr close("}");
    TStr work(text);
    ScanPosition scan;
    int substitutions = 0;
    while (substitutions < kEzuExpandMaxSubstitutions && byteLength(work) <= kEzuExpandMaxBytes) {
        int length = 0;
        const int at = work.findMarker(open, close, &length, scan.chars);
        if (at < 0)
            break;
        const TStr value = ezuLookupSetting(bytes(work, at, length), plugin, inherit);
        if (value.isEmpty()) {
            scan.moveTo(work, at + length);
            continue;
        }
        const int after = at + length;
        const int total = byteLength(work);
        if (total - length + byteLength(value) > kEzuExpandMaxBytes)
            break;
        // The scan stays at the marker's start, so the value is read in turn.
        scan.moveTo(work, at);
        TStr next = bytes(work, 0, at);
        next += value;
        next += bytes(work, after, total - after);
        work = next;
        ++substitutions;
    }
    return work;
}
