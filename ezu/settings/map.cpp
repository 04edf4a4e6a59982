// TEzuMap over the lower tier's hash table, for its two instantiations.
//
// The table is told nothing about ownership (descriptor flags 0): it stores
// the pointers it is handed. The map allocates the key and value copies it
// hands over and releases them itself, on destruction. Replacing a value
// assigns the new one into the entry's value cell, so a cell lives as long as
// its entry and positions can name it.
//
// Lookups walk the chain of the key's bucket directly (the table's own
// lookups would allocate an iterator each time). The bucket comes from the
// descriptor's hash, so the walk and the table's own insert agree.
#include "ezu/settings/map.h"

#include "ezu/core/hash.h"
#include "ezu/core/mem.h"

#include <stdint.h>
#include <string.h>

#include <new>

namespace {

// A table holding more than this many entries per bucket moves into one with
// kGrowth times as many buckets (plus one, keeping the count odd), up to
// kMaxBuckets.
const int kEntriesPerBucket = 2;
const int kGrowth = 4;
const int kMaxBuckets = 1 << 22;

// The `n` bytes at `p` (at most 8) as a word, the first byte lowest.
inline uint64_t load_tail(const char* p, size_t n) {
    if (n >= 4) {
        uint32_t low, high;
        memcpy(&low, p, 4);
        memcpy(&high, p + n - 4, 4);
        return low | (uint64_t(high) << 32);
    }
    uint64_t word = 0;
    for (size_t i = 0; i < n; ++i)
        word |= uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
    return word;
}

inline uint64_t load_word(const char* p) {
    uint64_t word;
    memcpy(&word, p, 8);
    return word;
}

// A hash of every byte of the key, so that keys sharing a prefix (all
// relative settings keys do) still spread over the buckets. Sixteen bytes a
// round go into two products that do not wait on each other; the last
// (partial) word is read overlapping the one before it, or assembled when
// the key is shorter than a word.
uint32_t textHash(const char* text, size_t n) {
    const uint64_t kMulA = 0x9E3779B97F4A7C15ull, kMulB = 0xC2B2AE3D27D4EB4Full;
    uint64_t a = n * kMulA, b = ~n;
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        a = (a ^ load_word(text + i)) * kMulA;
        b = (b ^ load_word(text + i + 8)) * kMulB;
        a ^= a >> 29;
        b ^= b >> 31;
    }
    if (n >= 8 && i < n) {
        // One or two words left: the last eight bytes, and those before
        // them when more than eight are left.
        if (n - i > 8)
            a = (a ^ load_word(text + i)) * kMulA;
        b = (b ^ load_word(text + n - 8)) * kMulB;
    } else if (i < n) {
        b = (b ^ load_tail(text, n)) * kMulB;
    }
    uint64_t h = (a ^ (b >> 23) ^ (b << 41)) * kMulA;
    h ^= h >> 32;
    return uint32_t(h);
}

// Whether the `n` bytes at `a` and `b` are the same; keys are mostly a few
// dozen bytes, which words compare sooner than a library call.
inline bool same_bytes(const char* a, const char* b, size_t n) {
    if (n > 64)
        return memcmp(a, b, n) == 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        if (load_word(a + i) != load_word(b + i))
            return false;
    }
    for (; i < n; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// `h` modulo `count`, the bucket the table puts a key of that hash in. Where
// the host multiplies 64-bit numbers into 128 bits, a multiplication by the
// count's reciprocal stands in for the division; the reciprocals of the two
// counts used last are kept.
inline uint32_t bucket_of(uint32_t h, uint32_t count) {
#if defined(__SIZEOF_INT128__)
    struct Reciprocal {
        uint32_t count;
        uint64_t factor;
    };
    static Reciprocal kept[2] = {{0, 0}, {0, 0}};
    if (kept[0].count != count) {
        if (kept[1].count == count) {
            const Reciprocal swap = kept[0];
            kept[0] = kept[1];
            kept[1] = swap;
        } else {
            kept[1] = kept[0];
            kept[0] = {count, UINT64_MAX / count + 1};
        }
    }
    const uint64_t fraction = kept[0].factor * h;
    return uint32_t((unsigned __int128)fraction * count >> 64);
#else
    return h % count;
#endif
}

// The part of an entry's record that lookups read: the key's copy, its hash,
// its length and a second copy of its bytes (behind the record), so that a
// lookup rules out an entry, or matches it, without reaching through the
// string to its block.
class MapKey : public TStr {
  public:
    bool matches(const char* key, size_t n, uint32_t hash) const {
        return hash_ == hash && bytes_ == n && same_bytes(text_, key, n);
    }
    uint32_t hash() const { return hash_; }

  protected:
    MapKey(const TStr& key, const char* text, size_t n, const char* copy)
        : TStr(key), text_(copy), bytes_(n), hash_(textHash(text, n)) {
        memcpy(const_cast<char*>(copy), text, n + 1);
    }
    ~MapKey() override {}

  private:
    const char* text_;
    size_t bytes_;
    uint32_t hash_;
};

// What the map allocates for an entry, in one piece: the key's record, the
// value's cell and the key's bytes. The entry's value pointer names the cell.
template <class V> class MapRecord : public MapKey {
  public:
    // A new record holding copies of the key and the value, or null when no
    // memory is left.
    static MapRecord* make(const TStr& key, const V& value) {
        const char* text = key.buffer()->data ? key.buffer()->data : "";
        const size_t n = strlen(text);
        void* memory = ::operator new(sizeof(MapRecord) + n + 1, std::nothrow);
        return memory ? new (memory) MapRecord(key, value, text, n) : nullptr;
    }
    static void release(MapRecord* record) {
        record->~MapRecord();
        ::operator delete(record);
    }
    static MapRecord* of(void* key) { return static_cast<MapRecord*>(static_cast<TStr*>(key)); }

    V* cell() { return &value_; }

  private:
    MapRecord(const TStr& key, const V& value, const char* text, size_t n)
        : MapKey(key, text, n, reinterpret_cast<const char*>(this + 1)), value_(value) {}
    ~MapRecord() override {}

    V value_;
};

const TStr& asStr(const void* p) {
    return *static_cast<const TStr*>(p);
}

// The table is handed only keys the map made, so a stored or probe key is
// always a MapKey.
const MapKey& asKey(const void* p) {
    return static_cast<const MapKey&>(asStr(p));
}

int keyEqual(HashTable*, const void* stored, const void* probe) {
    return asStr(stored) == asStr(probe);
}

uint32_t keyHash(HashTable*, const void* key) {
    return asKey(key).hash();
}

// The copy callbacks follow the table's (table, source, new block) order.
// With the ownership flags clear the table never calls them.
void strCopy(HashTable*, const void* source, void* block) {
    *static_cast<TStr*>(block) = asStr(source);
}

void pointerCopy(HashTable*, const void* source, void* block) {
    *static_cast<void**>(block) = *static_cast<void* const*>(source);
}

// What differs between the two instantiations: how a value is assigned,
// reached and described to the table.
template <class V> struct ValueKind;

template <> struct ValueKind<TStr> {
    static void assign(void* cell, const TStr& value) { *static_cast<TStr*>(cell) = value; }
    static TStr& ref(void* cell) { return *static_cast<TStr*>(cell); }
    static void describe(HashDescriptor* d) {
        d->value_size = sizeof(TStr);
        d->value_copy = strCopy;
    }
};

// A pointer value lives in a pointer-sized cell of the entry's record, so
// that operator[] can hand out a reference to it.
template <> struct ValueKind<void*> {
    static void assign(void* cell, void* value) { *static_cast<void**>(cell) = value; }
    static void*& ref(void* cell) { return *static_cast<void**>(cell); }
    static void describe(HashDescriptor* d) {
        d->value_size = sizeof(void*);
        d->value_copy = pointerCopy;
    }
};

// What operator[] hands out when the entry cannot be made (a map without a
// table, or no memory): a default value that belongs to no map, so the
// caller's read or assignment lands somewhere harmless instead of through a
// null cell. It is made once and kept for the life of the process.
template <class V> V& spareValue() {
    static V* spare = new V();
    *spare = V();
    return *spare;
}

// One descriptor per instantiation, built by its first map and shared by all
// of them for the life of the process.
template <class V> HashDescriptor* g_descriptor = nullptr;

template <class V> HashDescriptor* mapDescriptor() {
    if (!g_descriptor<V>) {
        auto* d = static_cast<HashDescriptor*>(mem_alloc(sizeof(HashDescriptor)));
        d->size = sizeof(HashDescriptor);
        d->key_size = sizeof(TStr);
        d->equal = keyEqual;
        d->hash = keyHash;
        d->key_copy = strCopy;
        ValueKind<V>::describe(d);
        g_descriptor<V> = d;
    }
    return g_descriptor<V>;
}

} // namespace

// ---- iterator ----

template <class K, class V> V& TEzuMap<K, V>::iterator::operator*() const {
    return ValueKind<V>::ref(cell_);
}

// ---- map ----

template <class K, class V>
TEzuMap<K, V>::TEzuMap(int bucketCount) : table_(hash_create(bucketCount, mapDescriptor<V>())) {}

template <class K, class V> TEzuMap<K, V>::~TEzuMap() {
    if (table_) {
        for (int b = 0; b < table_->bucket_count; ++b) {
            for (HashEntry* e = table_->buckets[b]; e; e = e->next)
                MapRecord<V>::release(MapRecord<V>::of(e->key));
        }
    }
    hash_destroy(table_);
}

namespace {

// The chain walk of a lookup: the value cell of the first entry whose stored
// key has the `n` bytes at `key`, or null.
void* cellIn(const HashTable* table, const char* key, size_t n) {
    const uint32_t hash = textHash(key, n);
    for (HashEntry* e = table->buckets[bucket_of(hash, uint32_t(table->bucket_count))]; e;
         e = e->next) {
        if (asKey(e->key).matches(key, n, hash))
            return e->value;
    }
    return nullptr;
}

} // namespace

// Stored keys are copies and never null, so a null key finds nothing.
template <class K, class V> void* TEzuMap<K, V>::cellOf(const char* key) const {
    if (!table_ || !key)
        return nullptr;
    return cellIn(table_, key, strlen(key));
}

// Moves every entry into a table with more buckets once the chains grow
// long. When the new table cannot be had the map keeps the old one.
template <class K, class V> void TEzuMap<K, V>::growIfFull() {
    const int buckets = table_->bucket_count;
    if (table_->count <= buckets * kEntriesPerBucket || buckets >= kMaxBuckets)
        return;
    HashTable* larger = hash_create(buckets * kGrowth + 1, table_->descriptor);
    if (!larger)
        return;
    for (int b = 0; b < buckets; ++b) {
        for (HashEntry* e = table_->buckets[b]; e; e = e->next) {
            if (!hash_put(larger, e->key, e->value)) {
                hash_destroy(larger); // owns none of the keys and values
                return;
            }
        }
    }
    hash_destroy(table_);
    table_ = larger;
}

template <class K, class V>
typename TEzuMap<K, V>::iterator TEzuMap<K, V>::find(const K& key) const {
    return iterator(this, cellOf(key.buffer()->data));
}

template <class K, class V>
typename TEzuMap<K, V>::iterator TEzuMap<K, V>::findText(const char* key) const {
    return iterator(this, cellOf(key));
}

template <class K, class V>
typename TEzuMap<K, V>::iterator TEzuMap<K, V>::findText(const char* key, int nbytes) const {
    if (!table_ || !key || nbytes < 0)
        return end();
    return iterator(this, cellIn(table_, key, size_t(nbytes)));
}

template <class K, class V> typename TEzuMap<K, V>::iterator TEzuMap<K, V>::end() const {
    return iterator(this, nullptr);
}

// An equal key keeps its entry, its stored key and its value cell; the new
// value is assigned into the cell. A new key gets copies of key and value,
// appended to its bucket's chain. Keys are matched as they are stored: a
// copy of a null-state key is empty text.
template <class K, class V>
typename TEzuMap<K, V>::iterator TEzuMap<K, V>::insert(const K& key, const V& value) {
    const char* text = key.buffer()->data;
    void* cell = cellOf(text ? text : "");
    if (cell) {
        ValueKind<V>::assign(cell, value);
        return iterator(this, cell);
    }
    if (!table_)
        return end();
    MapRecord<V>* record = MapRecord<V>::make(key, value);
    if (!record)
        return end();
    if (!hash_put(table_, static_cast<TStr*>(record), record->cell())) {
        MapRecord<V>::release(record);
        return end();
    }
    growIfFull();
    return iterator(this, record->cell());
}

// Looks the key up as insert would store it, so that a null-state key reaches
// the entry insert made for it instead of adding a default over it.
template <class K, class V> V& TEzuMap<K, V>::operator[](const K& key) {
    const char* text = key.buffer()->data;
    void* cell = cellOf(text ? text : "");
    if (!cell) {
        iterator inserted = insert(key, V());
        return inserted == end() ? spareValue<V>() : *inserted;
    }
    return ValueKind<V>::ref(cell);
}

template class TEzuMap<TStr, TStr>;
template class TEzuMap<TStr, void*>;
