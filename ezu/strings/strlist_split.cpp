// TEzuStrList: a string list that can be cut from a text and joined into one.
//
// Splitting walks the text once and makes each element straight from its
// bytes; joining measures first and writes the text into one block. Both give
// exactly what taking tokens one by one (takeUntil, takeToken) and appending
// them one by one (appendWithSeparator) give, capacities included.
#include "ezu/strings/strlist.h"

#include "ezu/core/list.h"
#include "ezu/core/mem.h"
#include "ezu/strings/str_ops_internal.h"
#include "ezu/strings/strlist_internal.h"

#include <string.h>

namespace {

// A new heap TStr holding a copy of `n` bytes at `text`: what a token copied
// into the list would be (a block of exactly the bytes and a terminator).
TStr* element_of(const char* text, size_t n) {
    StrBuf* record = str_ops_new_sized((long long)n + 1);
    if (!record)
        return nullptr;
    str_ops_copy(record->data, text, n);
    return strlist_adopting_element(record);
}

// The first byte `c` in [p, end), or `end`. Elements are mostly short, so
// eight bytes are tested at a time in place rather than through a library
// search set up for every element.
const char* find_byte(const char* p, const char* end, char c) {
    const uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(c);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        memcpy(&word, p, 8);
        if (const uint64_t hits = str_ops_zero_bytes(word ^ pattern))
            return p + __builtin_ctzll(hits) / 8;
    }
#else
    (void)pattern;
#endif
    while (p < end && *p != c)
        ++p;
    return p;
}

// Whether the record holds text (neither the null state nor empty text).
inline bool has_text(const StrBuf* b) {
    return b && b->data && b->data[0];
}

const StrBuf* element_buffer(const ListNode* n) {
    return n->data ? static_cast<const TStr*>(n->data)->buffer() : nullptr;
}

// Joined texts beyond this size take the general road, which handles sizes
// no block can hold element by element.
const long long kJoinFastLimit = 1 << 30;

// Scratch space for building a joined text: on the stack when small.
class Scratch {
  public:
    explicit Scratch(long long size)
        : data_(size <= (long long)sizeof local_ ? local_
                                                 : static_cast<char*>(mem_alloc(int(size)))) {}
    ~Scratch() {
        if (data_ != local_)
            mem_free(data_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    char* data() const { return data_; }

  private:
    char local_[1024];
    char* data_;
};

} // namespace

TEzuStrList::TEzuStrList() {}

TEzuStrList::TEzuStrList(const TEzuStrList& other) : TEzuList<TStr>(other) {}

TEzuStrList::TEzuStrList(const TStr& single) {
    append(single);
}

TEzuStrList::~TEzuStrList() {}

TEzuStrList& TEzuStrList::operator=(const TEzuStrList& other) {
    TEzuList<TStr>::operator=(other);
    return *this;
}

// As takeUntil repeatedly: the text before each separator is an element; a
// separator at the end leaves empty text behind, which adds no element; an
// empty or null separator takes the whole text.
TEzuStrList TEzuStrList::split(const TStr& separator, const TStr& text) {
    TEzuStrList result;
    const char* p = text.buffer()->data;
    if (!p)
        return result;
    const char* sep = separator.buffer()->data;
    if (sep && !*sep)
        sep = nullptr;
    const size_t sep_n = sep ? strlen(sep) : 0;
    const char* const text_end = p + str_ops_text_bytes(text.buffer());
    while (*p) {
        const char* hit = !sep         ? nullptr
                          : sep_n == 1 ? find_byte(p, text_end, *sep)
                                       : strstr(p, sep);
        if (hit == text_end)
            hit = nullptr;
        const char* end = hit ? hit : text_end;
        if (TStr* element = element_of(p, size_t(end - p)))
            result.appendAdopted(element);
        if (!hit)
            break;
        p = hit + sep_n;
    }
    return result;
}

TEzuStrList TEzuStrList::split(char separator, const TStr& text) {
    return split(TStr(separator), text);
}

// As takeToken repeatedly: a whole run of separator characters ends a token,
// and a run at the end adds nothing.
TEzuStrList TEzuStrList::splitAny(const TStr& chars, const TStr& text) {
    TEzuStrList result;
    const char* p = text.buffer()->data;
    if (!p)
        return result;
    const char* set = str_ops_text(chars.buffer());
    while (*p) {
        const char* end = p;
        while (*end && !str_ops_in_set(*end, set))
            ++end;
        if (TStr* element = element_of(p, size_t(end - p)))
            result.appendAdopted(element);
        while (str_ops_in_set(*end, set))
            ++end;
        p = end;
    }
    return result;
}

// appendWithSeparator of every element in order, into one block. The first
// non-empty element is copied in whole (its block, stale bytes and all, into
// a block one byte larger); every later one is appended with exactly one
// separator at the seam, the block growing to the text plus one byte only
// when it is full. So the block's final size is the larger of the first
// element's block plus one and the joined text plus one, and its bytes are
// the first element's block overwritten by the joined text.
TStr TEzuStrList::join(const TStr& separator) const {
    const char* sep = separator.buffer()->data ? separator.buffer()->data : "";
    const size_t sep_n = strlen(sep);
    const StrBuf* first = nullptr;
    long long room = 1;
    for (ListNode* n = list_head(list_); n; n = n->next) {
        const StrBuf* b = element_buffer(n);
        if (!has_text(b))
            continue;
        if (!first)
            first = b;
        room += (long long)b->capacity + (long long)sep_n;
        if (room > kJoinFastLimit)
            break;
    }
    if (!first)
        return TStr();
    if (room > kJoinFastLimit) {
        TStr result;
        for (iterator it = begin(); it != end(); ++it)
            result.appendWithSeparator(**it, separator);
        return result;
    }

    Scratch scratch(room);
    char* text = scratch.data();
    if (!text)
        return TStr();
    size_t length = str_ops_text_bytes(first);
    memcpy(text, first->data, length);
    long long capacity = (long long)first->capacity + 1;
    bool past_first = false;
    for (ListNode* n = list_head(list_); n; n = n->next) {
        const StrBuf* b = element_buffer(n);
        if (!has_text(b))
            continue;
        if (!past_first) {
            past_first = true;
            continue;
        }
        const char* other = b->data;
        size_t other_n = str_ops_text_bytes(b);
        const bool text_has = str_ops_ends_with(text, length, sep, sep_n);
        const bool other_has = str_ops_starts_with(other, other_n, sep, sep_n);
        if (text_has && other_has) {
            other += sep_n;
            other_n -= sep_n;
        } else if (!text_has && !other_has) {
            str_ops_copy(text + length, sep, sep_n);
            length += sep_n;
        }
        str_ops_copy(text + length, other, other_n);
        length += other_n;
        if (capacity <= (long long)length)
            capacity = (long long)length + 1;
    }

    StrBuf* record = str_ops_new_sized(capacity);
    if (!record)
        return TStr();
    memcpy(record->data, first->data, size_t(first->capacity));
    memcpy(record->data, text, length);
    record->data[length] = 0;
    return TStr::adopt(record);
}
