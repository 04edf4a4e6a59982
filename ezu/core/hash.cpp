#include "ezu/core/hash.h"

#include "ezu/core/hash_internal.h"
#include "ezu/core/mem.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>

namespace {

// The key or the value half of a descriptor, so that storing and releasing
// are written once for both.
struct Side {
    int fixed_size;
    HashSizeOfFunc size_of;
    HashCopyFunc copy;
    HashInitFunc init;
    HashReleaseFunc release;
    bool owned;
};

Side key_side(const HashDescriptor* d) {
    return Side{d->key_size, d->key_size_of, d->key_copy,
                d->key_init, d->key_release, (d->flags & HASH_OWN_KEYS) != 0};
}

Side value_side(const HashDescriptor* d) {
    return Side{d->value_size, d->value_size_of, d->value_copy,
                d->value_init, d->value_release, (d->flags & HASH_OWN_VALUES) != 0};
}

// The table holds blocks of its own for this side only when it is asked to
// own them and the descriptor can tell their size; otherwise it holds the
// caller's pointers and never releases them.
bool makes_copies(const Side& side) {
    return side.owned && (side.fixed_size != 0 || side.size_of != nullptr);
}

// Puts into `*stored` what the table keeps for `item`: the item itself, or a
// new owned copy. False when the copy cannot be allocated (a negative size
// from the descriptor counts as such).
bool store_item(HashTable* table, const Side& side, void* item, void** stored) {
    if (!makes_copies(side)) {
        *stored = item;
        return true;
    }
    const int size = side.fixed_size != 0 ? side.fixed_size : side.size_of(table, item);
    void* block = hash_charged_alloc(table, size);
    if (!block)
        return false;
    if (side.init)
        table->mem_use += side.init(table, block);
    if (side.copy)
        side.copy(table, item, block);
    else if (item && size > 0)
        memcpy(block, item, size_t(size));
    *stored = block;
    return true;
}

// Releases an owned copy: the release callback first, while the block is
// still allocated, then the block.
void release_item(HashTable* table, const Side& side, void* stored) {
    if (!stored || !makes_copies(side))
        return;
    if (side.release)
        table->mem_use -= side.release(table, stored);
    hash_credited_free(table, stored);
}

void release_entry(HashTable* table, HashEntry* entry) {
    release_item(table, key_side(table->descriptor), entry->key);
    release_item(table, value_side(table->descriptor), entry->value);
    hash_credited_free(table, entry);
}

void release_all_entries(HashTable* table) {
    for (int b = 0; b < table->bucket_count; ++b) {
        HashEntry* entry = table->buckets[b];
        while (entry) {
            HashEntry* next = entry->next;
            release_entry(table, entry);
            entry = next;
        }
        table->buckets[b] = nullptr;
    }
    table->count = 0;
}

bool keys_match(HashTable* table, const void* stored, const void* probe) {
    const HashEqualFunc equal = table->descriptor->equal;
    return equal ? equal(table, stored, probe) != 0 : stored == probe;
}

// The link that points at the entry of `bucket` whose key matches, or the
// null link that ends the chain.
HashEntry** matching_link(HashTable* table, int bucket, const void* key) {
    HashEntry** link = &table->buckets[bucket];
    while (*link && !keys_match(table, (*link)->key, key))
        link = &(*link)->next;
    return link;
}

HashEntry* replace_value(HashTable* table, HashEntry* entry, void* value) {
    const Side side = value_side(table->descriptor);
    void* stored;
    if (!store_item(table, side, value, &stored))
        return nullptr;
    release_item(table, side, entry->value);
    entry->value = stored;
    return entry;
}

// A new entry holding the key and the value, not yet linked; null (with
// everything released again) when an allocation fails.
HashEntry* new_entry(HashTable* table, void* key, void* value) {
    HashEntry* entry = static_cast<HashEntry*>(hash_charged_alloc(table, sizeof(HashEntry)));
    if (!entry)
        return nullptr;
    if (!store_item(table, key_side(table->descriptor), key, &entry->key)) {
        hash_credited_free(table, entry);
        return nullptr;
    }
    if (!store_item(table, value_side(table->descriptor), value, &entry->value)) {
        release_item(table, key_side(table->descriptor), entry->key);
        hash_credited_free(table, entry);
        return nullptr;
    }
    return entry;
}

} // namespace

void* hash_charged_alloc(HashTable* table, int size) {
    const int before = mem_bytes_in_use();
    void* block = mem_alloc(size);
    table->mem_use += mem_bytes_in_use() - before;
    return block;
}

void hash_credited_free(HashTable* table, void* block) {
    const int before = mem_bytes_in_use();
    mem_free(block);
    table->mem_use -= before - mem_bytes_in_use();
}

int hash_bucket_of(HashTable* table, const void* key) {
    const HashHashFunc hash = table->descriptor->hash;
    const uint32_t h = hash ? hash(table, key) : uint32_t(uintptr_t(key));
    return int(h % uint32_t(table->bucket_count));
}

HashTable* hash_create(int bucket_count, HashDescriptor* descriptor) {
    if (bucket_count < 1 || size_t(bucket_count) > INT_MAX / sizeof(HashEntry*))
        return nullptr;
    const int start = mem_bytes_in_use();
    HashTable* table = static_cast<HashTable*>(mem_alloc(sizeof(HashTable)));
    if (!table)
        return nullptr;
    table->buckets = static_cast<HashEntry**>(mem_alloc(int(bucket_count * sizeof(HashEntry*))));
    if (!table->buckets) {
        mem_free(table);
        return nullptr;
    }
    table->bucket_count = bucket_count;
    if (!descriptor) {
        descriptor = static_cast<HashDescriptor*>(mem_alloc(sizeof(HashDescriptor)));
        if (!descriptor) {
            mem_free(table->buckets);
            mem_free(table);
            return nullptr;
        }
        descriptor->size = sizeof(HashDescriptor);
        table->flags = HASH_OWN_DESCRIPTOR;
    }
    table->descriptor = descriptor;
    table->mem_use = mem_bytes_in_use() - start;
    return table;
}

void hash_destroy(HashTable* table) {
    if (!table)
        return;
    release_all_entries(table);
    mem_free(table->buckets);
    if (table->flags & HASH_OWN_DESCRIPTOR)
        mem_free(table->descriptor);
    mem_free(table);
}

int hash_clear(HashTable* table) {
    if (!table)
        return 0;
    release_all_entries(table);
    return table->bucket_count;
}

HashEntry* hash_put(HashTable* table, void* key, void* value) {
    if (!table)
        return nullptr;
    HashEntry** link = matching_link(table, hash_bucket_of(table, key), key);
    if (*link)
        return replace_value(table, *link, value);
    HashEntry* entry = new_entry(table, key, value);
    if (!entry)
        return nullptr;
    *link = entry;
    table->count += 1;
    return entry;
}

HashIter* hash_find(HashTable* table, const void* key) {
    if (!table)
        return nullptr;
    const int bucket = hash_bucket_of(table, key);
    HashEntry** link = matching_link(table, bucket, key);
    return *link ? hash_make_iter(table, bucket, link) : hash_end(table);
}

int hash_contains(HashTable* table, const void* key) {
    if (!table)
        return 0;
    return *matching_link(table, hash_bucket_of(table, key), key) != nullptr;
}

HashIter* hash_iter_of(HashTable* table, const HashEntry* entry) {
    if (!table)
        return nullptr;
    if (!entry)
        return hash_end(table);
    const int bucket = hash_bucket_of(table, entry->key);
    HashEntry** link = &table->buckets[bucket];
    while (*link && *link != entry)
        link = &(*link)->next;
    return *link ? hash_make_iter(table, bucket, link) : hash_end(table);
}

int hash_count(const HashTable* table) {
    return table ? table->count : 0;
}

int hash_bucket_count(const HashTable* table) {
    return table ? table->bucket_count : 0;
}

HashDescriptor* hash_descriptor(const HashTable* table) {
    return table ? table->descriptor : nullptr;
}

int hash_mem_use(const HashTable* table) {
    return table ? table->mem_use : mem_bytes_in_use();
}
