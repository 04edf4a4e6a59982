// Bad input to the memory manager, the containers and the encoding core: the
// rows of docs/bad-input.md that the other core tests do not check. Each test
// is named after its row.
#include "ezu_test.h"

#include "ezu/core/encoding.h"
#include "ezu/core/hash.h"
#include "ezu/core/list.h"
#include "ezu/core/mem.h"

#include <limits.h>
#include <string.h>

EZU_TEST_SUITE(CoreBadInput);

TEST_F(CoreBadInput, MemFailNthAllocationNegativeIsOff) {
    mem_fail_nth_allocation(-5);
    EXPECT_EQ(mem_allocations_since_armed(), 0);
    void* p = mem_alloc(4);
    EXPECT_NE(p, nullptr);
    EXPECT_EQ(mem_allocations_since_armed(), 0);
    mem_free(p);
}

TEST_F(CoreBadInput, HashCreateOversizedBucketCount) {
    // The bucket array's byte size would leave the int range.
    EXPECT_EQ(hash_create(INT_MAX, nullptr), nullptr);
    EXPECT_EQ(hash_create(INT_MAX / 2, nullptr), nullptr);
}

TEST_F(CoreBadInput, HashNullTableAndIterator) {
    int key = 1;
    EXPECT_EQ(hash_find(nullptr, &key), nullptr);
    EXPECT_EQ(hash_contains(nullptr, &key), 0);
    EXPECT_EQ(hash_iter_of(nullptr, nullptr), nullptr);
    EXPECT_EQ(hash_begin(nullptr), nullptr);
    EXPECT_EQ(hash_end(nullptr), nullptr);
    EXPECT_EQ(hash_count(nullptr), 0);
    EXPECT_EQ(hash_bucket_count(nullptr), 0);
    EXPECT_EQ(hash_descriptor(nullptr), nullptr);
    EXPECT_EQ(hash_mem_use(nullptr), mem_bytes_in_use());
    EXPECT_EQ(hash_iter_copy(nullptr), nullptr);
    EXPECT_EQ(hash_iter_value(nullptr), nullptr);
    EXPECT_EQ(hash_iter_table(nullptr), nullptr);
    EXPECT_EQ(hash_iter_differ(nullptr, nullptr), 0);
    // A null iterator is the end of no table: unequal to a real end.
    HashTable* table = hash_create(3, nullptr);
    HashIter* end = hash_end(table);
    EXPECT_EQ(hash_iter_equal(end, nullptr), 0);
    EXPECT_EQ(hash_iter_differ(nullptr, end), 1);
    hash_iter_free(end);
    hash_destroy(table);
}

TEST_F(CoreBadInput, HashIterOfNullEntry) {
    HashTable* table = hash_create(3, nullptr);
    int key = 7;
    hash_put(table, &key, nullptr);
    HashIter* it = hash_iter_of(table, nullptr);
    EXPECT_EQ(hash_iter_at_end(it), 1);
    hash_iter_free(it);
    hash_destroy(table);
}

TEST_F(CoreBadInput, ListNullList) {
    int element = 3;
    EXPECT_EQ(list_set_descriptor(nullptr, nullptr), nullptr);
    EXPECT_EQ(list_copy(nullptr), nullptr);
    EXPECT_EQ(list_destroy(nullptr), 0);
    list_clear(nullptr);
    EXPECT_EQ(list_count(nullptr), 0);
    EXPECT_EQ(list_head(nullptr), nullptr);
    EXPECT_EQ(list_tail(nullptr), nullptr);
    EXPECT_EQ(list_descriptor(nullptr), nullptr);
    EXPECT_EQ(list_is_empty(nullptr), 1);
    EXPECT_EQ(list_make_node(nullptr, &element), nullptr);
    EXPECT_EQ(list_append(nullptr, &element), nullptr);
    EXPECT_EQ(list_append_all(nullptr, nullptr), 0);
    EXPECT_EQ(list_insert(nullptr, 0, &element), nullptr);
    EXPECT_EQ(list_remove(nullptr, &element), 0);
    EXPECT_EQ(list_index_of(nullptr, &element), -1);
    EXPECT_EQ(list_pop_front(nullptr), nullptr);
    EXPECT_EQ(list_pop_back(nullptr), nullptr);
    EXPECT_EQ(list_remove_next(nullptr, nullptr), nullptr);
    list_remove_node(nullptr, nullptr);
    list_link_tail(nullptr, nullptr);
    EXPECT_EQ(list_equal(nullptr, nullptr), 1);
    // Iterators of no list stand at the end.
    ListIter* it = list_begin(nullptr);
    EXPECT_EQ(list_iter_value(it), nullptr);
    EXPECT_EQ(list_iter_next(it), 0);
    list_iter_free(it);
    ListIter* found = list_find(nullptr, &element);
    EXPECT_EQ(list_iter_node(found), nullptr);
    list_iter_free(found);
}

TEST_F(CoreBadInput, ListNullNodeAndNullOther) {
    List* list = list_create(nullptr);
    int a = 1;
    list_append(list, &a);
    list_remove_node(list, nullptr);
    list_link_tail(list, nullptr);
    EXPECT_EQ(list_remove_next(list, nullptr), nullptr);
    EXPECT_EQ(list_append_all(list, nullptr), 1);
    EXPECT_EQ(list_count(list), 1);
    EXPECT_EQ(list_head(list)->data, &a);
    List* other = list_create(nullptr);
    EXPECT_EQ(list_equal(list, nullptr), 0);
    EXPECT_EQ(list_equal(list, other), 0);
    list_destroy(other);
    list_destroy(list);
}

TEST_F(CoreBadInput, EncodingNumberOutsideTheTable) {
    const char text[] = "abc";
    char out[16] = "untouched";
    for (int bad : {-1, 6, INT_MIN, INT_MAX}) {
        EXPECT_EQ(str_convert_size(text, 3, bad, ENC_UTF8), 0) << bad;
        EXPECT_EQ(str_convert_size(text, 3, ENC_UTF8, bad), 0) << bad;
        EXPECT_EQ(str_convert(text, 3, bad, out, sizeof out, ENC_UTF8), 0) << bad;
        EXPECT_EQ(str_convert(text, 3, ENC_UTF8, out, sizeof out, bad), 0) << bad;
    }
    EXPECT_STREQ(out, "untouched");
}

TEST_F(CoreBadInput, ConvertNullOrNegativeSource) {
    // A missing source is empty text: its size is the terminator's.
    EXPECT_EQ(str_convert_size(nullptr, 10, ENC_UTF8, ENC_UTF16LE), 2);
    EXPECT_EQ(str_convert_size("abc", -4, ENC_UTF8, ENC_UTF8), 1);
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(str_convert(nullptr, 10, ENC_UTF8, out, sizeof out, ENC_UTF8), 1);
    EXPECT_EQ(out[0], 0);
}

TEST_F(CoreBadInput, ConvertNullOrNoRoom) {
    str_set_error(0, nullptr, 0, nullptr);
    char out[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(str_convert("abc", 3, ENC_UTF8, nullptr, 16, ENC_UTF8), 0);
    EXPECT_EQ(str_error_code(), STR_ERR_OVERFLOW);
    str_set_error(0, nullptr, 0, nullptr);
    EXPECT_EQ(str_convert("abc", 3, ENC_UTF8, out, -1, ENC_UTF8), 0);
    EXPECT_EQ(str_error_code(), STR_ERR_OVERFLOW);
    EXPECT_EQ(out[0], 'x');
    str_set_error(0, nullptr, 0, nullptr);
}
