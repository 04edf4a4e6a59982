// Helpers shared by the hash table's sources; not part of the interface.
#ifndef EZU_CORE_HASH_INTERNAL_H
#define EZU_CORE_HASH_INTERNAL_H

#include "ezu/core/hash.h"

// mem_alloc / mem_free that charge and credit the table's mem_use with the
// change of mem_bytes_in_use() they cause.
void* hash_charged_alloc(HashTable* table, int size);
void hash_credited_free(HashTable* table, void* block);

// The bucket a key falls into: its hash modulo the bucket count, unsigned.
int hash_bucket_of(HashTable* table, const void* key);

// New iterator at bucket `bucket`: at the entry `slot` points to when given,
// else at the first entry from that bucket on (or the end). Null when the
// allocation fails.
HashIter* hash_make_iter(HashTable* table, int bucket, HashEntry** slot);

#endif
