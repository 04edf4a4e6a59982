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

// The bytes of a record; "" for the null state.
const char* bytesOf(const StrBuf* buf) {
    return str_is_null(buf) ? "" : buf->data;
}

// A string holding the bytes of both parts as they stand (no reading as
// UTF-8), or the null state when no block can be had.
TStr rawText(const char* first, int nfirst, const char* second, int nsecond) {
    StrBuf* buf = str_new();
    if (buf && str_resize(buf, nfirst + nsecond + 1)) {
        memcpy(buf->data, first, size_t(nfirst));
        memcpy(buf->data + nfirst, second, size_t(nsecond));
        buf->data[nfirst + nsecond] = '\0';
    }
    return TStr::adopt(buf);
}

// A marker met during an expansion and its value. The store cannot change
// while an expansion runs, so the last few markers met are remembered and not
// looked up again: a value that holds its own marker brings it back up to
// kEzuExpandMaxSubstitutions times.
struct Memo {
    static const int kKeyBytes = 64; // longer markers are looked up each time
    char key[kKeyBytes];
    int n = -1; // bytes of the marker; -1 while the slot is free
    StrBuf* value = nullptr;
};

class Expansion {
  public:
    Expansion(char* gap, const char* text, int nbytes) : buf_(gap), rest_(nbytes) {
        memcpy(restStart(), text, size_t(nbytes));
    }
    ~Expansion();
    Expansion(const Expansion&) = delete;
    Expansion& operator=(const Expansion&) = delete;
    // Scans to the end of the text or until a bound stops it.
    void run(TEzuPluginBase* plugin, bool inherit);
    int substitutions() const { return substitutions_; }
    TStr result() const { return rawText(buf_, done_, restStart(), rest_); }

  private:
    static const int kCapacity = kEzuExpandMaxBytes;
    static const int kMemoSlots = 16;
    char* restStart() const { return buf_ + kCapacity - rest_; }
    const char* lookup(int open, TEzuPluginBase* plugin, bool inherit);
    bool substitute(int open, const char* value);

    char* buf_;
    int done_ = 0; // bytes of finished text at the front
    int rest_;     // bytes still to scan at the back
    int substitutions_ = 0;
    Memo memo_[kMemoSlots];
    Memo spare_; // the value of a marker too long for the memo
    int nextSlot_ = 0;
};

Expansion::~Expansion() {
    for (Memo& m : memo_)
        str_free(m.value);
    str_free(spare_.value);
}

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
        const char* value = lookup(open, plugin, inherit);
        if (*value && !substitute(open, value))
            return;
        if (substitutions_ == kEzuExpandMaxSubstitutions)
            return;
        open = -1;
    }
}

// The bytes of the value of the marker from `open` to the end of the
// finished text; "" when it has none. Valid until the next lookup.
const char* Expansion::lookup(int open, TEzuPluginBase* plugin, bool inherit) {
    const char* marker = buf_ + open;
    const int n = done_ - open;
    for (const Memo& m : memo_) {
        if (m.n == n && memcmp(m.key, marker, size_t(n)) == 0)
            return bytesOf(m.value);
    }
    const TStr value = ezuLookupSetting(rawText(marker, n, "", 0), plugin, inherit);
    Memo& slot = n <= Memo::kKeyBytes ? memo_[nextSlot_++ % kMemoSlots] : spare_;
    str_free(slot.value);
    slot.value = str_dup(value.buffer());
    slot.n = &slot == &spare_ ? -1 : n;
    memcpy(slot.key, marker, size_t(slot.n > 0 ? n : 0));
    return bytesOf(slot.value);
}

// Replaces the marker that starts at `open` and ends the finished text by
// `value`, placed in front of the rest; false (nothing changed) when the
// text would outgrow its bound.
bool Expansion::substitute(int open, const char* value) {
    const int nvalue = int(strlen(value));
    if (nvalue > kCapacity - open - rest_)
        return false;
    done_ = open;
    rest_ += nvalue;
    memcpy(restStart(), value, size_t(nvalue));
    ++substitutions_;
    return true;
}

} // namespace

TStr ezuExpandSettings(TStr text, TEzuPluginBase* plugin, bool inherit) {
    const char* bytes = bytesOf(text.buffer());
    const int nbytes = int(strlen(bytes));
    if (nbytes > kEzuExpandMaxBytes || !strchr(bytes, '}'))
        return text;
    // On the stack: only the bytes in use are ever touched.
    char gap[kEzuExpandMaxBytes];
    Expansion expansion(gap, bytes, nbytes);
    expansion.run(plugin, inherit);
    if (!expansion.substitutions())
        return text;
    const TStr result = expansion.result();
    return result.isNull() ? text : result;
}
