// TEzuMap over the lower tier's hash table, for its two instantiations.
//
// The table is told nothing about ownership (descriptor flags 0): it stores
// the pointers it is handed. The map allocates the key and value copies it
// hands over and releases them itself, on replacement and on destruction.
#include "ezu/settings/map.h"

#include "ezu/core/hash.h"
#include "ezu/core/mem.h"

#include <stdint.h>

namespace {

const TStr& asStr(const void* p) {
    return *static_cast<const TStr*>(p);
}

int keyEqual(HashTable*, const void* stored, const void* probe) {
    return asStr(stored) == asStr(probe);
}

uint32_t keyHash(HashTable*, const void* key) {
    return uint32_t(asStr(key).hash());
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
    static void release(void* cell) { delete static_cast<void**>(cell); }
    static void*& ref(void* cell) { return *static_cast<void**>(cell); }
    static void describe(HashDescriptor* d) {
        d->value_size = sizeof(void*);
        d->value_copy = pointerCopy;
    }
};

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

// The value cell stored under `key`, or null when there is none.
void* storedValue(HashTable* table, const TStr& key) {
    HashIter* found = hash_find(table, &key);
    void* cell = hash_iter_value(found);
    hash_iter_free(found);
    return cell;
}

} // namespace

// ---- iterator ----

template <class K, class V>
TEzuMap<K, V>::iterator::iterator(HashIter* position) : position_(position) {}

template <class K, class V>
TEzuMap<K, V>::iterator::iterator(const iterator& other)
    : position_(hash_iter_copy(other.position_)) {}

template <class K, class V>
typename TEzuMap<K, V>::iterator& TEzuMap<K, V>::iterator::operator=(const iterator& other) {
    if (this != &other) {
        HashIter* copy = hash_iter_copy(other.position_);
        hash_iter_free(position_);
        position_ = copy;
    }
    return *this;
}

template <class K, class V> TEzuMap<K, V>::iterator::~iterator() {
    hash_iter_free(position_);
}

template <class K, class V> V& TEzuMap<K, V>::iterator::operator*() const {
    return ValueKind<V>::ref(hash_iter_value(position_));
}

template <class K, class V> bool TEzuMap<K, V>::iterator::operator!=(const iterator& other) const {
    return hash_iter_differ(position_, other.position_) != 0;
}

template <class K, class V> bool TEzuMap<K, V>::iterator::operator==(const iterator& other) const {
    return hash_iter_equal(position_, other.position_) != 0;
}

// ---- map ----

template <class K, class V>
TEzuMap<K, V>::TEzuMap(int bucketCount) : table_(hash_create(bucketCount, mapDescriptor<V>())) {}

template <class K, class V> TEzuMap<K, V>::~TEzuMap() {
    HashIter* it = hash_begin(table_);
    for (bool on = !hash_iter_at_end(it); on; on = hash_iter_next(it)) {
        delete static_cast<TStr*>(hash_iter_key(it));
        ValueKind<V>::release(hash_iter_value(it));
    }
    hash_iter_free(it);
    hash_destroy(table_);
}

template <class K, class V>
typename TEzuMap<K, V>::iterator TEzuMap<K, V>::find(const K& key) const {
    return iterator(hash_find(table_, &key));
}

template <class K, class V> typename TEzuMap<K, V>::iterator TEzuMap<K, V>::end() const {
    return iterator(hash_end(table_));
}

// The table keeps the stored key of an existing entry and only swaps its
// value pointer, so on replacement the new key copy is spare and the old
// value is no longer referenced: both are released here. The old value is
// looked up with the key copy, the very key hash_put matches against (a copy
// of a null-state key is empty text).
template <class K, class V>
typename TEzuMap<K, V>::iterator TEzuMap<K, V>::insert(const K& key, const V& value) {
    TStr* keyCopy = new TStr(key);
    void* oldValue = storedValue(table_, *keyCopy);
    void* valueCopy = ValueKind<V>::make(value);
    HashEntry* entry = hash_put(table_, keyCopy, valueCopy);
    if (!entry) {
        delete keyCopy;
        ValueKind<V>::release(valueCopy);
        return end();
    }
    if (entry->key != keyCopy) {
        delete keyCopy;
        ValueKind<V>::release(oldValue);
    }
    return iterator(hash_iter_of(table_, entry));
}

// Looks the key up as insert would store it, so that a null-state key reaches
// the entry insert made for it instead of adding a default over it.
template <class K, class V> V& TEzuMap<K, V>::operator[](const K& key) {
    void* cell = storedValue(table_, TStr(key));
    if (!cell) {
        iterator inserted = insert(key, V());
        return *inserted;
    }
    return ValueKind<V>::ref(cell);
}

template class TEzuMap<TStr, TStr>;
template class TEzuMap<TStr, void*>;
