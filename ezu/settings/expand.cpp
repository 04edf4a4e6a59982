// Brace-marker expansion: "{name}" markers in a text replaced by settings.
//
// The marker search reports byte offsets while every other position counts
// characters, so the scan keeps both: the byte offset it has reached and the
// number of characters before it.
#include "ezu/settings/plugin.h"

#include "ezu/core/encoding.h"

#include <string.h>

namespace {

int byteLength(const TStr& text) {
    return text.isNull() ? 0 : int(strlen(text.buffer()->data));
}

// Characters that start in bytes [from, to), each stepped over by the length
// its lead byte gives and never past the terminator, as positions are
// counted everywhere else.
int charsBetween(const TStr& text, int from, int to) {
    const char* data = text.buffer()->data;
    int count = 0;
    for (int i = from; i < to && data[i];) {
        const int step = str_utf8_seq_len((unsigned char)data[i]);
        for (int k = 0; k < step && data[i]; ++k)
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
        chars += charsBetween(text, byte, to);
        byte = to;
    }
};

// Text before the scan position is final. Once the scan is this far into the
// working text, that part moves out into the finished text, so that searches
// and cuts, which step over characters from the start, stay short.
const int kSettleBytes = 512;

class Expansion {
  public:
    explicit Expansion(const TStr& text) : work_(text) {}
    TStr run(TEzuPluginBase* plugin, bool inherit);

  private:
    int totalBytes() const { return doneBytes_ + byteLength(work_); }
    void settle();
    void substitute(int at, int length, const TStr& value);

    // Finished text. It starts as empty text, not null: appending to a null
    // string reads the text as UTF-8 anew, which would rewrite malformed
    // bytes (and lengthen them past the byte bound).
    TStr done_ = TStr("");
    int doneBytes_ = 0;
    TStr work_; // the rest, still being scanned
    ScanPosition scan_;
};

TStr Expansion::run(TEzuPluginBase* plugin, bool inherit) {
    const TStr open("{");
    const TStr close("}");
    int substitutions = 0;
    while (substitutions < kEzuExpandMaxSubstitutions && totalBytes() <= kEzuExpandMaxBytes) {
        if (scan_.byte > kSettleBytes)
            settle();
        int length = 0;
        const int at = work_.findMarker(open, close, &length, scan_.chars);
        if (at < 0)
            break;
        scan_.moveTo(work_, at);
        const TStr value = ezuLookupSetting(work_.mid(scan_.chars, length), plugin, inherit);
        if (value.isEmpty()) {
            scan_.moveTo(work_, at + length);
            continue;
        }
        if (totalBytes() - length + byteLength(value) > kEzuExpandMaxBytes)
            break;
        substitute(at, length, value);
        ++substitutions;
    }
    if (doneBytes_ == 0)
        return work_;
    return done_ + work_;
}

void Expansion::settle() {
    done_ += work_.left(scan_.chars);
    doneBytes_ += scan_.byte;
    work_ = work_.mid(scan_.chars);
    scan_ = ScanPosition();
}

// Replaces the marker at byte `at` (the scan position) by `value`. The scan
// stays at the marker's start, so the value is read in turn.
void Expansion::substitute(int at, int length, const TStr& value) {
    TStr next = work_.left(scan_.chars);
    next += value;
    next += work_.mid(scan_.chars + charsBetween(work_, at, at + length));
    work_ = next;
}

} // namespace

TStr ezuExpandSettings(TStr text, TEzuPluginBase* plugin, bool inherit) {
    return Expansion(text).run(plugin, inherit);
}
