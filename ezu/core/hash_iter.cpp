// Positions in a hash table: making, comparing and advancing HashIter records.
#include "ezu/core/hash.h"

#include "ezu/core/hash_internal.h"

namespace {

bool at_end(const HashIter* it) {
    return !it || it->bucket >= it->table->bucket_count;
}

HashEntry* current(const HashIter* it) {
    return at_end(it) || !it->slot ? nullptr : *it->slot;
}

// Moves `it` to the head of the first non-empty bucket from `bucket` on, or
// to the end.
bool settle_from(HashIter* it, int bucket) {
    HashTable* table = it->table;
    for (; bucket < table->bucket_count; ++bucket) {
        if (table->buckets[bucket]) {
            it->bucket = bucket;
            it->slot = &table->buckets[bucket];
            return true;
        }
    }
    it->bucket = table->bucket_count;
    it->slot = nullptr;
    return false;
}

} // namespace

HashIter* hash_make_iter(HashTable* table, int bucket, HashEntry** slot) {
    HashIter* it = static_cast<HashIter*>(hash_charged_alloc(table, sizeof(HashIter)));
    if (!it)
        return nullptr;
    it->table = table;
    it->bucket = bucket;
    it->slot = slot;
    if (!slot)
        settle_from(it, table->count == 0 ? table->bucket_count : bucket);
    return it;
}

HashIter* hash_begin(HashTable* table) {
    return table ? hash_make_iter(table, 0, nullptr) : nullptr;
}

HashIter* hash_end(HashTable* table) {
    return table ? hash_make_iter(table, table->bucket_count, nullptr) : nullptr;
}

HashIter* hash_iter_copy(const HashIter* it) {
    if (!it)
        return nullptr;
    HashIter* copy = static_cast<HashIter*>(hash_charged_alloc(it->table, sizeof(HashIter)));
    if (copy)
        *copy = *it;
    return copy;
}

void hash_iter_free(HashIter* it) {
    if (it)
        hash_credited_free(it->table, it);
}

int hash_iter_equal(const HashIter* a, const HashIter* b) {
    if (!a || !b)
        return a == b;
    if (a->table != b->table)
        return 0;
    if (at_end(a) && at_end(b))
        return 1;
    return a->bucket == b->bucket && a->slot == b->slot;
}

int hash_iter_differ(const HashIter* a, const HashIter* b) {
    return !hash_iter_equal(a, b);
}

int hash_iter_next(HashIter* it) {
    if (!it || !it->slot || at_end(it))
        return 0;
    HashEntry* entry = *it->slot;
    if (entry && entry->next) {
        it->slot = &entry->next;
        return 1;
    }
    return settle_from(it, it->bucket + 1);
}

int hash_iter_at_end(const HashIter* it) {
    return at_end(it);
}

void* hash_iter_key(const HashIter* it) {
    const HashEntry* entry = current(it);
    return entry ? entry->key : nullptr;
}

void* hash_iter_value(const HashIter* it) {
    const HashEntry* entry = current(it);
    return entry ? entry->value : nullptr;
}

HashTable* hash_iter_table(const HashIter* it) {
    return it ? it->table : nullptr;
}
