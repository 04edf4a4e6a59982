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

namespace {

// A table holding more than this many entries per bucket moves into one with
// kGrowth times as many buckets (plus one, keeping the count odd), up to
// kMaxBuckets.
const int kEntriesPerBucket = 2;
const int kGrowth = 4;
const int kMaxBuckets = 1 << 22;

// A hash of every byte of the key, eight bytes at a time, so that keys
// sharing a prefix (all relative settings keys do) still spread over the
// buckets. The null state hashes like empty text; it never equals a stored
// key anyway.
uint32_t textHash(const char* text) {
    const size_t n = text ? strlen(text) : 0;
    const uint64_t kMul = 0x9E3779B97F4A7C15ull;
    uint64_t h = n * kMul;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        memcpy(&word, text + i, 8);
        h = (h ^ word) * kMul;
        h ^= h >> 29;
    }
    if (i < n) {
        uint64_t word = 0;
        memcpy(&word, text + i, n - i);
        h = (h ^ word) * kMul;
        h ^= h >> 29;
    }
    return uint32_t(h ^ (h >> 32));
}

const TStr& asStr(const void* p) {
    return *static_cast<const TStr*>(p);
}

int keyEqual(HashTable*, const void* stored, const void* probe) {
    return asStr(stored) == asStr(probe);
}

uint32_t keyHash(HashTable*, const void* key) {
    return textHash(asStr(key).buffer()->data);
}

// The copy callbacks follow the table's (table, source, new block) order.
// With the ownership flags clear the table never calls them.
void strCopy(HashTable*, const void* source, void* block) {
    *static_cast<TStr*>(block) = asStr(source);
}

void pointerCopy(HashTable*, const void* source, void* block) {
    *static_cast<void**>(block) = *static_cast<void* const*>(source);
}

// What differs between the two instantiations: how a value is copied,
// released, reached and described to the table.
template <class V> struct ValueKind;

template <> struct ValueKind<TStr> {
    static void* make(const TStr& value) { return new TStr(value); }
    static void assign(void* cell, const TStr& value) { *static_cast<TStr*>(cell) = value; }
    static void release(void* cell) { delete static_cast<TStr*>(cell); }
    static TStr& ref(void* cell) { return *static_cast<TStr*>(cell); }
    static void describe(HashDescriptor* d) {
        d->value_size = sizeof(TStr);
        d->value_copy = strCopy;
    }
};

// A pointer value lives in a pointer-sized cell the map allocates, so that
// operator[] can hand out a reference to it.
template <> struct ValueKind<void*> {
    static void* make(void* value) { return new void*(value); }
    static void assign(void* cell, void* value) { *static_cast<void**>(cell) = value; }
    static void release(void* cell) { delete static_cast<void**>(cell); }
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
            for (HashEntry* e = table_->buckets[b]; e; e = e->next) {
                delete static_cast<TStr*>(e->key);
                ValueKind<V>::release(e->value);
            }
        }
    }
    hash_destroy(table_);
}

// The chain walk of a lookup: the first entry whose stored key has the same
// bytes. Stored keys are copies and never null, so a null key finds nothing.
template <class K, class V> void* TEzuMap<K, V>::cellOf(const char* key) const {
    if (!table_ || !key)
        return nullptr;
    const uint32_t bucket = textHash(key) % uint32_t(table_->bucket_count);
    for (HashEntry* e = table_->buckets[bucket]; e; e = e->next) {
        if (strcmp(asStr(e->key).buffer()->data, key) == 0)
            return e->value;
    }
    return nullptr;
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
    TStr* keyCopy = new TStr(key);
    void* valueCopy = ValueKind<V>::make(value);
    if (!hash_put(table_, keyCopy, valueCopy)) {
        delete keyCopy;
        ValueKind<V>::release(valueCopy);
        return end();
    }
    growIfFull();
    return iterator(this, valueCopy);
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
