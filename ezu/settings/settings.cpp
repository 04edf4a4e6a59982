// The settings store: typed values kept as text in ezuStringSettings, and
// untyped pointers in ezuPointerSettings, under normalised keys.
#include "ezu/settings/settings.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

namespace {

const char kGlobalBranch[] = "/tamri/global/";

// Keys not starting with "/" live under the global branch. The key is the
// substituted value, so a "%" in it is kept as it stands.
TStr normalised(const TStr& key) {
    if (key.charAt(0) == '/')
        return key;
    return TStr("/tamri/global/%1").arg(key);
}

// The length of a key's text. A short block, every byte of which may be
// read, is searched for the terminator eight bytes at a time in place of a
// library call.
size_t key_bytes(const StrBuf* buf) {
    const char* text = buf->data;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (buf->capacity <= 128) {
        const uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
        size_t i = 0;
        for (; i + 8 <= size_t(buf->capacity); i += 8) {
            uint64_t word;
            memcpy(&word, text + i, 8);
            const uint64_t zeros = ~(((word & kLow7) + kLow7) | word | kLow7);
            if (zeros)
                return i + size_t(__builtin_ctzll(zeros)) / 8;
        }
        while (text[i])
            ++i;
        return i;
    }
#endif
    return strlen(text);
}

// The bytes of the normalised key, for lookups: a short relative key is
// prefixed in a buffer of its own, a long one through normalised().
class KeyText {
  public:
    explicit KeyText(const TStr& key) : text_(key.buffer()->data), bytes_(0), long_(nullptr) {
        const size_t n = text_ ? key_bytes(key.buffer()) : 0;
        if (text_ && text_[0] == '/') {
            bytes_ = n;
            return;
        }
        const size_t prefix = sizeof kGlobalBranch - 1;
        if (n + prefix + 8 <= sizeof local_) {
            join(text_ ? text_ : "", n, text_ ? size_t(key.buffer()->capacity) : 1);
            text_ = local_;
            bytes_ = prefix + n;
        } else {
            long_ = new TStr(normalised(key));
            text_ = long_->buffer()->data;
            bytes_ = key_bytes(long_->buffer());
        }
    }
    ~KeyText() { delete long_; }
    KeyText(const KeyText&) = delete;
    KeyText& operator=(const KeyText&) = delete;

    // The text in a map that holds values of type V, or the map's end.
    template <class V> typename TEzuMap<TStr, V>::iterator in(const TEzuMap<TStr, V>& map) const {
        return bytes_ <= size_t(INT_MAX) ? map.findText(text_, int(bytes_)) : map.findText(text_);
    }

  private:
    // Writes the global branch and the `n` bytes of `rest` (whose block has
    // `readable` bytes) into the buffer with zeros behind them. Where words
    // are little-endian they are written whole at each multiple of eight,
    // the places lookups read them back from, so that every such read is
    // handed on by one store.
    void join(const char* rest, size_t n, size_t readable) {
        const size_t prefix = sizeof kGlobalBranch - 1;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        static_assert(sizeof kGlobalBranch - 1 >= 8 && sizeof kGlobalBranch - 1 < 16,
                      "the branch fills one word and part of the next");
        uint64_t word;
        memcpy(&word, kGlobalBranch, 8);
        store_word(local_, word);
        // Bytes 8 to 13 of the branch, then the first of the rest.
        memcpy(&word, kGlobalBranch + 7, 8);
        word = (word >> 8) & low_bytes(prefix - 8);
        store_word(local_ + 8, word | (rest_word(rest, 0, n, readable) << (8 * (prefix - 8))));
        for (size_t at = 16; at <= prefix + n; at += 8)
            store_word(local_ + at, rest_word(rest, at - prefix, n, readable));
#else
        (void)readable;
        memcpy(local_, kGlobalBranch, prefix);
        memcpy(local_ + prefix, rest, n);
        local_[prefix + n] = 0;
#endif
    }

    // The bits of the `k` lowest bytes of a word (k below 8).
    static uint64_t low_bytes(size_t k) {
        return (uint64_t(1) << (8 * k)) - 1;
    }

    // The eight bytes of `rest` from `from` on, the first lowest, with those
    // from byte `n` on as zeros.
    static uint64_t rest_word(const char* rest, size_t from, size_t n, size_t readable) {
        if (from >= n)
            return 0;
        const size_t left = n - from;
        if (from + 8 <= readable) {
            uint64_t word;
            memcpy(&word, rest + from, 8);
            return left >= 8 ? word : word & low_bytes(left);
        }
        uint64_t word = 0;
        for (size_t i = 0; i < left && i < 8; ++i)
            word |= uint64_t(static_cast<unsigned char>(rest[from + i])) << (8 * i);
        return word;
    }

    static void store_word(char* at, uint64_t word) {
        memcpy(at, &word, 8);
    }

    const char* text_;
    size_t bytes_;
    TStr* long_;
    char local_[240];
};

// The characters with a meaning in the stored list form: ":" separates the
// elements, "!{" ... "}" is an escape.
const char kListSpecials[] = ":!{}";

// The stored text under `key`, or null when there is none.
const TStr* storedText(const TStr& key) {
    const KeyText text(key);
    TEzuMap<TStr, TStr>::iterator it = text.in(ezuStringSettings);
    return it != ezuStringSettings.end() ? &*it : nullptr;
}

} // namespace

// A key that is present gets the value assigned in place, exactly as insert
// would; only a new key needs its normalised form as a string of its own.
void ezuSetString(const TStr& key, const TStr& value, bool) {
    const KeyText text(key);
    TEzuMap<TStr, TStr>::iterator it = text.in(ezuStringSettings);
    if (it != ezuStringSettings.end())
        *it = value;
    else
        ezuStringSettings.insert(normalised(key), value);
}

TStr ezuGetString(const TStr& key) {
    const TStr* stored = storedText(key);
    if (stored)
        return TStr(*stored);
    return TStr("");
}

// The text of an integer is its decimal number text, as "%1" substituted
// with the value gives it.
void ezuSetInt(const TStr& key, int value, bool persist) {
    ezuSetString(key, TStr::number(value, 10), persist);
}

// Reads the stored text in place; a missing key reads as empty text, which
// is no number.
int ezuGetInt(const TStr& key) {
    const TStr* stored = storedText(key);
    return stored ? stored->toInt(nullptr, 10) : 0;
}

void ezuSetDouble(const TStr& key, double value, bool persist) {
    ezuSetString(key, TStr("%1").arg(value, 0, 'g', -1), persist);
}

// Reads the number at the start of the text and ignores what follows it.
double ezuGetDouble(const TStr& key) {
    const TStr* stored = storedText(key);
    return stored ? stored->toDouble(nullptr) : 0;
}

void ezuSetStringList(const TStr& key, const TEzuStrList& value, bool persist) {
    TEzuStrList escaped;
    const TStr specials(kListSpecials);
    for (TEzuStrList::iterator it = value.begin(); it != value.end(); ++it)
        escaped.append((*it)->escaped(specials));
    ezuSetString(key, escaped.join(":"), persist);
}

TEzuStrList ezuGetStringList(const TStr& key) {
    const TEzuStrList pieces = TEzuStrList::split(':', ezuGetString(key));
    TEzuStrList result;
    for (TEzuStrList::iterator it = pieces.begin(); it != pieces.end(); ++it)
        result.append((*it)->unescaped());
    return result;
}

void ezuSetPointer(const TStr& key, void* value) {
    const KeyText text(key);
    TEzuMap<TStr, void*>::iterator it = text.in(ezuPointerSettings);
    if (it != ezuPointerSettings.end())
        *it = value;
    else
        ezuPointerSettings.insert(normalised(key), value);
}

void* ezuGetPointer(const TStr& key) {
    const KeyText text(key);
    TEzuMap<TStr, void*>::iterator it = text.in(ezuPointerSettings);
    if (it != ezuPointerSettings.end())
        return *it;
    return nullptr;
}
