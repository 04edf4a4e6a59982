// Brace-marker expansion: "{name}" markers in a text replaced by settings.
//
// The expansion works on bytes in a gap buffer of kEzuExpandMaxBytes: the
// finished text grows from the front, the text still to be scanned sits at
// the back. The scan moves bytes across the gap; a substitution drops the
// marker from the finished text and puts the value in front of the rest, so
// that it is scanned in turn. Every step costs only the bytes it touches,
// whatever the length of the text, and bytes are never read as characters,
// so malformed sequences come out exactly as they went in.
#include "ezu/settings/plugin.h"

#include <string.h>

namespace {

int byteLength(const TStr& text) {
    return text.isNull() ? 0 : int(strlen(text.buffer()->data));
}

// A string holding `n` bytes as they stand (no reading as UTF-8), or the
// null state when no block can be had.
TStr rawText(const char* first, int nfirst, const char* second, int nsecond) {
    StrBuf* buf = str_new();
    if (buf && str_resize(buf, nfirst + nsecond + 1)) {
        memcpy(buf->data, first, size_t(nfirst));
        memcpy(buf->data + nfirst, second, size_t(nsecond));
        buf->data[nfirst + nsecond] = '\0';
    }
    return TStr::adopt(buf);
}

class Expansion {
  public:
    Expansion(char* gap, const char* text, int nbytes) : buf_(gap), rest_(nbytes) {
        memcpy(restStart(), text, size_t(nbytes));
    }
    // Scans to the end of the text or until a bound stops it.
    void run(TEzuPluginBase* plugin, bool inherit);
    int substitutions() const { return substitutions_; }
    TStr result() const { return rawText(buf_, done_, restStart(), rest_); }

  private:
    static const int kCapacity = kEzuExpandMaxBytes;
    char* restStart() const { return buf_ + kCapacity - rest_; }
    bool substitute(int open, const TStr& value);

    char* buf_;
    int done_ = 0; // bytes of finished text at the front
    int rest_;     // bytes still to scan at the back
    int substitutions_ = 0;
};

void Expansion::run(TEzuPluginBase* plugin, bool inherit) {
    int open = -1; // the last "{" passed since the last marker
    while (rest_ > 0) {
        const char c = *restStart();
        buf_[done_++] = c;
        --rest_;
        if (c == '{') {
            open = done_ - 1;
            continue;
        }
        if (c != '}' || open < 0)
            continue;
        const TStr key = rawText(buf_ + open, done_ - open, "", 0);
        const TStr value = ezuLookupSetting(key, plugin, inherit);
        if (!value.isEmpty() && !substitute(open, value))
            return;
        if (substitutions_ == kEzuExpandMaxSubstitutions)
            return;
        open = -1;
    }
}

// Replaces the marker that starts at `open` and ends the finished text by
// `value`, placed in front of the rest; false (nothing changed) when the
// text would outgrow its bound.
bool Expansion::substitute(int open, const TStr& value) {
    const int nvalue = byteLength(value);
    if (open + rest_ + nvalue > kCapacity)
        return false;
    done_ = open;
    rest_ += nvalue;
    memcpy(restStart(), value.buffer()->data, size_t(nvalue));
    ++substitutions_;
    return true;
}

} // namespace

TStr ezuExpandSettings(TStr text, TEzuPluginBase* plugin, bool inherit) {
    const int nbytes = byteLength(text);
    if (nbytes > kEzuExpandMaxBytes || !strchr(text.isNull() ? "" : text.buffer()->data, '}'))
        return text;
    // On the stack: only the bytes in use are ever touched.
    char gap[kEzuExpandMaxBytes];
    Expansion expansion(gap, text.buffer()->data, nbytes);
    expansion.run(plugin, inherit);
    if (!expansion.substitutions())
        return text;
    const TStr result = expansion.result();
    return result.isNull() ? text : result;
}
