/// @file
/// Callback-driven hash table: a fixed array of buckets, each a singly linked
/// chain of entries pairing a key pointer with a value pointer.
///
/// The table knows nothing about what it stores; a HashDescriptor of sizes and
/// callbacks says how to hash and compare keys and, when the descriptor's
/// ownership flags ask for it, how to copy and release the key and value blocks
/// the table owns. Positions are heap-allocated HashIter records that the
/// caller releases with hash_iter_free. Every block comes from mem_alloc.
///
/// Ownership of keys and values. With HASH_OWN_KEYS (HASH_OWN_VALUES) set and a
/// size known from the descriptor (`key_size` non-zero, or `key_size_of`
/// present), the table copies each key into a block of its own and releases
/// that block again. With the flag set but no size known, the caller's pointer
/// is stored as given and, like any pointer the table did not allocate, is
/// never released by the table: the caller keeps owning it.
///
/// The `mem_use` figure. Every allocation the table makes is charged with the
/// growth of mem_bytes_in_use() across it, and every release is credited with
/// the drop of mem_bytes_in_use() across it, so both directions count the
/// manager's per-block overhead alike: after a put and a clear (or making and
/// releasing an iterator) the figure is back where it started. The results of
/// `key_init`/`value_init` are added and those of `key_release`/`value_release`
/// subtracted.
///
/// Allocation failures. hash_create returns null. hash_put returns null and
/// leaves the table as it was (no new entry; on replacement the old value
/// stays). Operations that make an iterator return null; the iterator
/// functions accept a null iterator and treat it as standing at the end of no
/// table (two null iterators compare equal, a null and a real one do not).
#ifndef EZU_CORE_HASH_H
#define EZU_CORE_HASH_H

#include "ezu/ezu_export.h"

#include <stdint.h>

struct HashTable;

/// (table, key or value) -> byte size of its copy
typedef int (*HashSizeOfFunc)(HashTable* table, const void* item);
/// (table, stored key, probe key) -> non-zero when equal
typedef int (*HashEqualFunc)(HashTable* table, const void* stored, const void* probe);
/// (table, key) -> hash value
typedef uint32_t (*HashHashFunc)(HashTable* table, const void* key);
/// (table, source, new block): fills a new owned block from the source
typedef void (*HashCopyFunc)(HashTable* table, const void* source, void* block);
/// (table, new block) -> bytes to add to mem_use; called before the copy
typedef int (*HashInitFunc)(HashTable* table, void* block);
/// (table, stored block) -> bytes to subtract from mem_use; called while the
/// block is still allocated, right before it is released
typedef int (*HashReleaseFunc)(HashTable* table, void* stored);

/// HashDescriptor::flags: the table keeps copies of its keys (values).
enum { HASH_OWN_KEYS = 1, HASH_OWN_VALUES = 2 };
/// HashTable::flags: the table releases its descriptor with itself.
enum { HASH_OWN_DESCRIPTOR = 1 };

/// Sizes and callbacks for one kind of key and value; an absent callback is
/// null. Shared by any number of tables and never changed by them.
struct HashDescriptor {
    int size;                      ///< sizeof(HashDescriptor), set by its creator
    int key_size;                  ///< fixed size of an owned key copy, or 0
    int value_size;                ///< fixed size of an owned value copy, or 0
    HashSizeOfFunc key_size_of;    ///< size of one key's copy, when key_size is 0
    HashSizeOfFunc value_size_of;  ///< size of one value's copy, when value_size is 0
    HashEqualFunc equal;           ///< absent: key pointers are compared
    HashHashFunc hash;             ///< absent: the key pointer's value (low 32 bits)
    HashCopyFunc key_copy;         ///< absent: the bytes are copied
    HashCopyFunc value_copy;       ///< absent: the bytes are copied
    HashInitFunc key_init;         ///< called on a new owned key block
    HashInitFunc value_init;       ///< called on a new owned value block
    HashReleaseFunc key_release;   ///< called before an owned key is released
    HashReleaseFunc value_release; ///< called before an owned value is released
    unsigned flags;                ///< HASH_OWN_KEYS, HASH_OWN_VALUES
};

/// One key and value pair of a table.
struct HashEntry {
    void* key;       ///< the key: the table's copy when owned
    void* value;     ///< the value: the table's copy when owned
    HashEntry* next; ///< next entry of the same chain, null at its end
};

/// A hash table. Read its fields through the hash_ functions.
struct HashTable {
    HashEntry** buckets;        ///< bucket_count chain heads
    int bucket_count;           ///< fixed at creation, at least 1
    int count;                  ///< number of entries
    HashDescriptor* descriptor; ///< sizes and callbacks, or null
    unsigned flags;             ///< HASH_OWN_DESCRIPTOR
    int mem_use;                ///< memory this table is responsible for
};

/// A position: `slot` is the link that points at the current entry (a bucket
/// cell or the previous entry's `next`); a bucket of bucket_count or more is
/// the end.
struct HashIter {
    int bucket;       ///< the current entry's bucket
    HashEntry** slot; ///< the link pointing at the current entry
    HashTable* table; ///< the table it walks
};

/// A table of `bucket_count` buckets (at least 1, else null). Without a
/// descriptor, keys are compared and hashed by pointer value and nothing is
/// owned. Null when an allocation fails.
EZU_API HashTable* hash_create(int bucket_count, HashDescriptor* descriptor);
/// Releases every entry, owned key and value, the bucket array, the table's
/// own descriptor and the table. Null is ignored.
EZU_API void hash_destroy(HashTable* table);
/// Releases every entry; the table stays usable. Returns the bucket count.
EZU_API int hash_clear(HashTable* table);

/// Inserts the pair at the end of its bucket's chain, or replaces the value of
/// the entry with an equal key (the key, the count and the entry's place stay;
/// an owned old value is released once its replacement has been copied, so a
/// failed copy keeps it). Returns the entry, or null on failure.
EZU_API HashEntry* hash_put(HashTable* table, void* key, void* value);
/// New iterator at the entry with an equal key, or at the end.
EZU_API HashIter* hash_find(HashTable* table, const void* key);
/// 1 when an entry has an equal key, else 0 (also for a null table).
EZU_API int hash_contains(HashTable* table, const void* key);
/// New iterator at that very entry (pointer identity), or at the end.
EZU_API HashIter* hash_iter_of(HashTable* table, const HashEntry* entry);

/// New iterator at the first entry: bucket by bucket, each chain in insertion
/// order.
EZU_API HashIter* hash_begin(HashTable* table);
/// New iterator at the end; null for a null table or on failure.
EZU_API HashIter* hash_end(HashTable* table);
/// New iterator at the same place; null for null or on failure.
EZU_API HashIter* hash_iter_copy(const HashIter* it);
/// Releases the iterator and credits its table's mem_use.
EZU_API void hash_iter_free(HashIter* it);
/// 1 when both stand on the same entry of the same table, or both at its
/// end, else 0.
EZU_API int hash_iter_equal(const HashIter* a, const HashIter* b);
/// The negation of hash_iter_equal().
EZU_API int hash_iter_differ(const HashIter* a, const HashIter* b);
/// Moves to the next entry: 1 while standing on one, 0 once at the end (an
/// iterator at the end stays there).
EZU_API int hash_iter_next(HashIter* it);
/// 1 at the end (and for null), else 0.
EZU_API int hash_iter_at_end(const HashIter* it);
/// The current entry's key, or null at the end.
EZU_API void* hash_iter_key(const HashIter* it);
/// The current entry's value, or null at the end.
EZU_API void* hash_iter_value(const HashIter* it);
/// The table walked, or null.
EZU_API HashTable* hash_iter_table(const HashIter* it);

/// Number of entries; 0 for null.
EZU_API int hash_count(const HashTable* table);
/// Number of buckets; 0 for null.
EZU_API int hash_bucket_count(const HashTable* table);
/// The descriptor, or null.
EZU_API HashDescriptor* hash_descriptor(const HashTable* table);
/// The table's mem_use; for null, mem_bytes_in_use().
EZU_API int hash_mem_use(const HashTable* table);

#endif
