#include "ezu_test.h"

#include "ezu/core/hash.h"
#include "ezu/core/mem.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

EZU_TEST_SUITE(HashTest);

namespace {

int int_equal(HashTable*, const void* a, const void* b) {
    return *static_cast<const int*>(a) == *static_cast<const int*>(b);
}
uint32_t int_hash(HashTable*, const void* key) {
    return uint32_t(*static_cast<const int*>(key));
}
uint32_t zero_hash(HashTable*, const void*) {
    return 0;
}
uint32_t all_ones_hash(HashTable*, const void*) {
    return 0xFFFFFFFFu;
}

int str_equal(HashTable*, const void* a, const void* b) {
    return strcmp(static_cast<const char*>(a), static_cast<const char*>(b)) == 0;
}
uint32_t str_hash(HashTable*, const void* key) {
    return uint8_t(*static_cast<const char*>(key));
}
int str_size(HashTable*, const void* s) {
    return int(strlen(static_cast<const char*>(s)) + 1);
}
int negative_size(HashTable*, const void*) {
    return -1;
}

// What the callbacks saw, for the tests that check order and arguments.
struct Seen {
    std::vector<std::string> events;
    int blocks_at_release = -1;
};
Seen g_seen;

void recording_copy(HashTable*, const void* source, void* block) {
    g_seen.events.push_back(std::string("copy ") + static_cast<const char*>(source));
    strcpy(static_cast<char*>(block), static_cast<const char*>(source));
}
int init_100(HashTable*, void* block) {
    g_seen.events.push_back(std::string("init ") + (*static_cast<char*>(block) ? "dirty" : "zero"));
    return 100;
}
int recording_release(HashTable*, void* stored) {
    g_seen.events.push_back(std::string("release ") + static_cast<const char*>(stored));
    g_seen.blocks_at_release = mem_blocks_in_use();
    return 100;
}

HashDescriptor int_descriptor(HashHashFunc hash) {
    HashDescriptor d = {};
    d.size = sizeof d;
    d.equal = int_equal;
    d.hash = hash;
    return d;
}

// Owned C-string keys and values sized by callback.
HashDescriptor owned_str_descriptor() {
    HashDescriptor d = {};
    d.size = sizeof d;
    d.key_size_of = str_size;
    d.value_size_of = str_size;
    d.equal = str_equal;
    d.hash = str_hash;
    d.flags = HASH_OWN_KEYS | HASH_OWN_VALUES;
    return d;
}

// The keys in iteration order, read as ints.
std::vector<int> int_keys(HashTable* table) {
    std::vector<int> keys;
    HashIter* it = hash_begin(table);
    for (bool on = !hash_iter_at_end(it); on; on = hash_iter_next(it))
        keys.push_back(*static_cast<int*>(hash_iter_key(it)));
    hash_iter_free(it);
    return keys;
}

} // namespace

TEST_F(HashTest, CreationNeedsAtLeastOneBucket) {
    EXPECT_EQ(hash_create(0, nullptr), nullptr);
    EXPECT_EQ(hash_create(-3, nullptr), nullptr);
    HashTable* table = hash_create(1, nullptr);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(hash_bucket_count(table), 1);
    EXPECT_EQ(hash_count(table), 0);
    hash_destroy(table);
}

TEST_F(HashTest, WithoutDescriptorKeysArePointers) {
    HashTable* table = hash_create(7, nullptr);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->flags, unsigned(HASH_OWN_DESCRIPTOR));
    ASSERT_NE(hash_descriptor(table), nullptr);
    EXPECT_EQ(hash_descriptor(table)->size, int(sizeof(HashDescriptor)));
    char a[] = "same", b[] = "same", c[] = "same";
    int va = 1, vb = 2;
    hash_put(table, a, &va);
    hash_put(table, b, &vb);
    EXPECT_EQ(hash_count(table), 2);
    HashIter* found = hash_find(table, b);
    EXPECT_EQ(hash_iter_key(found), b);
    EXPECT_EQ(hash_iter_value(found), &vb);
    hash_iter_free(found);
    EXPECT_EQ(hash_contains(table, a), 1);
    EXPECT_EQ(hash_contains(table, c), 0);
    HashIter* missing = hash_find(table, c);
    EXPECT_EQ(hash_iter_at_end(missing), 1);
    hash_iter_free(missing);
    hash_destroy(table);
}

TEST_F(HashTest, EmptyTableAndEndIterators) {
    HashTable* table = hash_create(5, nullptr);
    HashIter* begin = hash_begin(table);
    HashIter* end = hash_end(table);
    EXPECT_EQ(hash_iter_equal(begin, end), 1);
    EXPECT_EQ(hash_iter_differ(begin, end), 0);
    EXPECT_EQ(hash_iter_at_end(begin), 1);
    EXPECT_EQ(hash_iter_next(end), 0);
    EXPECT_EQ(hash_iter_next(end), 0);
    EXPECT_EQ(hash_iter_at_end(end), 1);
    EXPECT_EQ(hash_iter_key(end), nullptr);
    EXPECT_EQ(hash_iter_value(end), nullptr);
    EXPECT_EQ(hash_iter_table(end), table);
    // End iterators of different tables are still different positions.
    HashTable* other = hash_create(5, nullptr);
    HashIter* other_end = hash_end(other);
    EXPECT_EQ(hash_iter_equal(end, other_end), 0);
    hash_iter_free(other_end);
    hash_destroy(other);
    hash_iter_free(begin);
    hash_iter_free(end);
    hash_destroy(table);
}

TEST_F(HashTest, IterationGoesBucketByBucketEachChainInInsertionOrder) {
    HashDescriptor d = int_descriptor(int_hash);
    HashTable* table = hash_create(5, &d);
    EXPECT_EQ(table->flags, 0u);
    // Bucket 1 stays empty; the last bucket holds a chain of its own.
    int keys[] = {7, 2, 12, 0, 5, 3, 9, 4}; // buckets 2, 2, 2, 0, 0, 3, 4, 4
    for (int& k : keys)
        hash_put(table, &k, nullptr);
    EXPECT_EQ(hash_count(table), 8);
    EXPECT_EQ(int_keys(table), (std::vector<int>{0, 5, 7, 2, 12, 3, 9, 4}));

    // Walking off the end leaves the iterator there.
    HashIter* it = hash_begin(table);
    int steps = 0;
    while (hash_iter_next(it))
        ++steps;
    EXPECT_EQ(steps, 7);
    EXPECT_EQ(hash_iter_next(it), 0);
    EXPECT_EQ(hash_iter_at_end(it), 1);
    hash_iter_free(it);
    hash_destroy(table);
}

TEST_F(HashTest, BucketIsTheHashModuloTakenUnsigned) {
    HashDescriptor d = int_descriptor(all_ones_hash);
    HashTable* table = hash_create(10, &d);
    int key = 1;
    hash_put(table, &key, nullptr);
    HashIter* it = hash_find(table, &key);
    EXPECT_EQ(it->bucket, int(0xFFFFFFFFu % 10u));
    ASSERT_NE(table->buckets[5], nullptr);
    EXPECT_EQ(table->buckets[5]->key, &key);
    hash_iter_free(it);
    hash_destroy(table);
}

TEST_F(HashTest, KeyInTheMiddleOfAChainIsFound) {
    for (HashHashFunc hash : {zero_hash, int_hash}) {
        HashDescriptor d = int_descriptor(hash);
        HashTable* table = hash_create(4, &d);
        int keys[] = {1, 5, 9}; // one chain: bucket 0 or bucket 1
        for (int& k : keys)
            hash_put(table, &k, &k);
        int probe = 5;
        HashIter* it = hash_find(table, &probe);
        EXPECT_EQ(it->bucket, hash == zero_hash ? 0 : 1);
        EXPECT_EQ(hash_iter_key(it), &keys[1]);
        EXPECT_EQ(hash_iter_value(it), &keys[1]);
        EXPECT_EQ(hash_iter_next(it), 1);
        EXPECT_EQ(hash_iter_key(it), &keys[2]);
        EXPECT_EQ(hash_iter_next(it), 0);
        hash_iter_free(it);
        hash_destroy(table);
    }
}

TEST_F(HashTest, PutOnAnEqualKeyReplacesOnlyTheValue) {
    HashDescriptor d = int_descriptor(zero_hash);
    HashTable* table = hash_create(3, &d);
    int keys[] = {1, 2, 3};
    int v1 = 10, v2 = 20;
    for (int& k : keys)
        hash_put(table, &k, &v1);
    HashEntry* middle = table->buckets[0]->next;
    int again = 2;
    EXPECT_EQ(hash_put(table, &again, &v2), middle);
    EXPECT_EQ(middle->key, &keys[1]);
    EXPECT_EQ(middle->value, &v2);
    EXPECT_EQ(hash_count(table), 3);
    EXPECT_EQ(int_keys(table), (std::vector<int>{1, 2, 3}));
    hash_destroy(table);
}

TEST_F(HashTest, IterOfFindsTheVeryEntry) {
    HashDescriptor d = int_descriptor(zero_hash);
    HashTable* table = hash_create(2, &d);
    int first = 4, other = 8;
    hash_put(table, &first, nullptr);
    HashEntry* entry = hash_put(table, &other, nullptr);
    HashIter* it = hash_iter_of(table, entry);
    EXPECT_EQ(hash_iter_key(it), &other);
    HashIter* copy = hash_iter_copy(it);
    EXPECT_EQ(hash_iter_equal(it, copy), 1);
    EXPECT_EQ(hash_iter_next(copy), 0);
    EXPECT_EQ(hash_iter_differ(it, copy), 1);
    HashEntry stranger = {&other, nullptr, nullptr};
    HashIter* none = hash_iter_of(table, &stranger);
    EXPECT_EQ(hash_iter_at_end(none), 1);
    for (HashIter* i : {it, copy, none})
        hash_iter_free(i);
    hash_destroy(table);
}

TEST_F(HashTest, OwnedKeysAndValuesAreCopiedAndReleased) {
    HashDescriptor d = {};
    d.key_size = 4;
    d.value_size = 8;
    d.equal = int_equal;
    d.flags = HASH_OWN_KEYS | HASH_OWN_VALUES;
    HashTable* table = hash_create(3, &d);
    const int blocks = mem_blocks_in_use();
    int key = 42;
    long long value = 0x1122334455667788LL;
    HashEntry* entry = hash_put(table, &key, &value);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(mem_blocks_in_use(), blocks + 3);
    EXPECT_NE(entry->key, &key);
    EXPECT_NE(entry->value, &value);
    key = 0;
    value = 0;
    EXPECT_EQ(*static_cast<int*>(entry->key), 42);
    EXPECT_EQ(*static_cast<long long*>(entry->value), 0x1122334455667788LL);
    EXPECT_EQ(hash_clear(table), 3);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    hash_destroy(table);
}

TEST_F(HashTest, SizeCallbacksCopyArgumentsAndInitOrder) {
    HashDescriptor d = owned_str_descriptor();
    d.key_copy = recording_copy;
    d.key_init = init_100;
    g_seen = Seen();
    HashTable* table = hash_create(3, &d);
    char key[] = "alpha";
    char value[] = "one";
    HashEntry* entry = hash_put(table, key, value);
    ASSERT_NE(entry, nullptr);
    // init sees the fresh zero-filled block, then copy fills it.
    EXPECT_EQ(g_seen.events, (std::vector<std::string>{"init zero", "copy alpha"}));
    EXPECT_STREQ(static_cast<char*>(entry->key), "alpha");
    EXPECT_STREQ(static_cast<char*>(entry->value), "one");
    EXPECT_NE(entry->value, static_cast<void*>(value));
    char probe[] = "alpha";
    EXPECT_EQ(hash_contains(table, probe), 1);
    hash_destroy(table);
}

TEST_F(HashTest, OwnedKeyWithoutAnySizeIsStoredUncopiedAndNotReleased) {
    HashDescriptor d = {};
    d.flags = HASH_OWN_KEYS;
    HashTable* table = hash_create(3, &d);
    const int blocks = mem_blocks_in_use();
    char key[] = "stack key"; // freeing this would stop the process
    HashEntry* entry = hash_put(table, key, nullptr);
    EXPECT_EQ(entry->key, static_cast<void*>(key));
    EXPECT_EQ(mem_blocks_in_use(), blocks + 1); // the entry alone
    hash_clear(table);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    hash_destroy(table);
}

TEST_F(HashTest, ReleaseCallbackRunsBeforeTheBlockIsFreed) {
    HashDescriptor d = owned_str_descriptor();
    d.value_release = recording_release;
    HashTable* table = hash_create(17, &d);
    char key[] = "k";
    char first[] = "old", second[] = "new";
    HashEntry* entry = hash_put(table, key, first);
    g_seen = Seen();
    const int blocks = mem_blocks_in_use();
    EXPECT_EQ(hash_put(table, key, second), entry);
    EXPECT_EQ(g_seen.events, (std::vector<std::string>{"release old"}));
    // At the callback the new copy existed and the old one was not yet freed.
    EXPECT_EQ(g_seen.blocks_at_release, blocks + 1);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_STREQ(static_cast<char*>(entry->value), "new");
    EXPECT_EQ(hash_count(table), 1);

    g_seen = Seen();
    hash_destroy(table);
    EXPECT_EQ(g_seen.events, (std::vector<std::string>{"release new"}));
}

TEST_F(HashTest, ClearReturnsTheBucketCountAndTheTableRefills) {
    HashDescriptor d = owned_str_descriptor();
    HashTable* table = hash_create(17, &d);
    const int mem_use = hash_mem_use(table);
    for (int round = 0; round < 2; ++round) {
        char key[8], value[] = "v";
        for (int i = 0; i < 40; ++i) {
            snprintf(key, sizeof key, "%d", i);
            hash_put(table, key, value);
        }
        EXPECT_EQ(hash_count(table), 40);
        char probe[] = "39";
        EXPECT_EQ(hash_contains(table, probe), 1);
        EXPECT_EQ(hash_clear(table), 17);
        EXPECT_EQ(hash_count(table), 0);
        EXPECT_EQ(hash_contains(table, probe), 0);
        HashIter* begin = hash_begin(table);
        EXPECT_EQ(hash_iter_at_end(begin), 1);
        hash_iter_free(begin);
        EXPECT_EQ(hash_mem_use(table), mem_use);
    }
    hash_destroy(table);
}

TEST_F(HashTest, MemUseChargesAndCreditsAlike) {
    const int before = mem_bytes_in_use();
    HashDescriptor d = owned_str_descriptor();
    d.key_init = init_100;
    d.key_release = recording_release;
    HashTable* table = hash_create(17, &d);
    const int start = hash_mem_use(table);
    EXPECT_EQ(start, mem_bytes_in_use() - before);
    EXPECT_EQ(hash_mem_use(nullptr), mem_bytes_in_use());

    // An entry, a key copy and a value copy, plus what key_init reported.
    const int bytes = mem_bytes_in_use();
    char key[] = "key", value[] = "value";
    hash_put(table, key, value);
    EXPECT_EQ(hash_mem_use(table), start + (mem_bytes_in_use() - bytes) + 100);

    const int with_entry = hash_mem_use(table);
    HashIter* it = hash_begin(table);
    EXPECT_GT(hash_mem_use(table), with_entry);
    hash_iter_free(it);
    EXPECT_EQ(hash_mem_use(table), with_entry);
    char same_size[] = "VALUE";
    hash_put(table, key, same_size);
    EXPECT_EQ(hash_mem_use(table), with_entry);

    hash_clear(table);
    EXPECT_EQ(hash_mem_use(table), start);
    hash_destroy(table);
}

TEST_F(HashTest, FailedCopyLeavesTheTableAsItWas) {
    HashDescriptor d = owned_str_descriptor();
    HashTable* table = hash_create(3, &d);
    char key[] = "k", value[] = "v";
    HashEntry* entry = hash_put(table, key, value);
    const int blocks = mem_blocks_in_use();
    const int mem_use = hash_mem_use(table);

    d.value_size_of = negative_size; // every value allocation now fails
    char other[] = "other";
    EXPECT_EQ(hash_put(table, other, value), nullptr);
    EXPECT_EQ(hash_put(table, key, other), nullptr);
    EXPECT_STREQ(static_cast<char*>(entry->value), "v");
    d.value_size_of = str_size;
    d.key_size_of = negative_size;
    EXPECT_EQ(hash_put(table, other, value), nullptr);

    EXPECT_EQ(hash_count(table), 1);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    EXPECT_EQ(hash_mem_use(table), mem_use);
    d.key_size_of = str_size;
    hash_destroy(table);
}

TEST_F(HashTest, NullArgumentsAreHarmless) {
    hash_destroy(nullptr);
    hash_iter_free(nullptr);
    EXPECT_EQ(hash_clear(nullptr), 0);
    EXPECT_EQ(hash_put(nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(hash_iter_next(nullptr), 0);
    EXPECT_EQ(hash_iter_at_end(nullptr), 1);
    EXPECT_EQ(hash_iter_equal(nullptr, nullptr), 1);
    EXPECT_EQ(hash_iter_key(nullptr), nullptr);
}
