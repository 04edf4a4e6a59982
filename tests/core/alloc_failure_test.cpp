// Allocation-failure walks over the memory manager, the hash table, the list
// and the encoding core's wide-text helper: every allocation of each
// operation fails once in turn, and the operation must give its failure
// result, keep the state it promises to keep, and leak nothing.
#include "alloc_walk.h"
#include "ezu_test.h"

#include "ezu/core/encoding.h"
#include "ezu/core/hash.h"
#include "ezu/core/list.h"
#include "ezu/core/mem.h"

#include <string.h>

#include <string>

EZU_TEST_SUITE(AllocFailureSwitch);
EZU_TEST_SUITE(AllocFailureWalk);

namespace {

int text_equal(HashTable*, const void* a, const void* b) {
    return strcmp(static_cast<const char*>(a), static_cast<const char*>(b)) == 0;
}
uint32_t first_byte_hash(HashTable*, const void* key) {
    return uint8_t(*static_cast<const char*>(key));
}
int text_size(HashTable*, const void* s) {
    return int(strlen(static_cast<const char*>(s)) + 1);
}

// Keys and values are zero-terminated texts that the table copies.
HashDescriptor owning_text_descriptor() {
    HashDescriptor d = {};
    d.size = sizeof d;
    d.key_size_of = text_size;
    d.value_size_of = text_size;
    d.equal = text_equal;
    d.hash = first_byte_hash;
    d.flags = HASH_OWN_KEYS | HASH_OWN_VALUES;
    return d;
}

const char* value_of(HashTable* table, const char* key) {
    HashIter* it = hash_find(table, key);
    const char* value = static_cast<const char*>(hash_iter_value(it));
    hash_iter_free(it);
    return value;
}

int list_text_equal(const void* a, const void* b) {
    return strcmp(static_cast<const char*>(a), static_cast<const char*>(b)) == 0;
}
int list_text_size(List*, const void* s) {
    return int(strlen(static_cast<const char*>(s)) + 1);
}

// Elements are zero-terminated texts that the list copies.
ListDescriptor copying_text_descriptor() {
    ListDescriptor d = {};
    d.size = sizeof d;
    d.equal = list_text_equal;
    d.elem_size_of = list_text_size;
    return d;
}

List* text_list(ListDescriptor* d, const char* const* texts, int n) {
    List* list = list_create(d);
    for (int i = 0; i < n; ++i)
        list_append(list, texts[i]);
    return list;
}

// The elements in order, joined by commas, so a whole list compares at once.
std::string joined(List* list) {
    std::string out;
    for (ListNode* node = list_head(list); node; node = node->next) {
        if (!out.empty())
            out += ",";
        out += static_cast<const char*>(node->data);
    }
    return out;
}

} // namespace

TEST_F(AllocFailureSwitch, OnlyTheArmedAllocationFailsAndCountersStay) {
    const int blocks = mem_blocks_in_use();
    const int bytes = mem_bytes_in_use();
    mem_fail_nth_allocation(2);
    void* first = mem_alloc(8);
    const int bytes_after_first = mem_bytes_in_use();
    void* second = mem_alloc(8);
    EXPECT_EQ(mem_bytes_in_use(), bytes_after_first);
    void* third = mem_alloc(8);
    EXPECT_EQ(mem_allocations_since_armed(), 3);
    mem_fail_nth_allocation(0);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(mem_blocks_in_use(), blocks + 2);
    mem_free(first);
    mem_free(third);
    EXPECT_EQ(mem_bytes_in_use(), bytes);
}

TEST_F(AllocFailureSwitch, RefusedSizesDoNotCountAndOffMeansNoCounting) {
    mem_fail_nth_allocation(1);
    EXPECT_EQ(mem_alloc(-1), nullptr);
    EXPECT_EQ(mem_allocations_since_armed(), 0);
    EXPECT_EQ(mem_alloc(0), nullptr); // the first heap request
    EXPECT_EQ(mem_allocations_since_armed(), 1);
    mem_fail_nth_allocation(0);
    EXPECT_EQ(mem_allocations_since_armed(), 0);
    void* p = mem_alloc(4);
    EXPECT_NE(p, nullptr);
    EXPECT_EQ(mem_allocations_since_armed(), 0);
    mem_free(p);
    // Arming again restarts the count.
    mem_fail_nth_allocation(5);
    p = mem_alloc(4);
    EXPECT_EQ(mem_allocations_since_armed(), 1);
    mem_fail_nth_allocation(0);
    mem_free(p);
}

TEST_F(AllocFailureWalk, MemAlloc) {
    walk_allocation_failures("mem_alloc", [](long n) -> bool {
        const int blocks = mem_blocks_in_use();
        ArmedFailure armed(n);
        void* p = mem_alloc(40);
        const bool failed = armed.disarm();
        if (failed) {
            EXPECT_EQ(p, nullptr);
            EXPECT_EQ(mem_blocks_in_use(), blocks);
        } else {
            EXPECT_NE(p, nullptr);
        }
        mem_free(p);
        return failed;
    });
}

TEST_F(AllocFailureWalk, HashCreate) {
    static HashDescriptor shared = owning_text_descriptor();
    for (HashDescriptor* d : {&shared, static_cast<HashDescriptor*>(nullptr)}) {
        walk_allocation_failures(d ? "hash_create (shared descriptor)"
                                   : "hash_create (own descriptor)",
                                 [d](long n) -> bool {
                                     ArmedFailure armed(n);
                                     HashTable* table = hash_create(17, d);
                                     const bool failed = armed.disarm();
                                     EXPECT_EQ(table == nullptr, failed);
                                     hash_destroy(table);
                                     return failed;
                                 });
    }
}

TEST_F(AllocFailureWalk, HashPutInsertKeepsTheTableAsItWas) {
    static HashDescriptor d = owning_text_descriptor();
    walk_allocation_failures("hash_put (insert, owned key and value)", [](long n) -> bool {
        HashTable* table = hash_create(17, &d);
        hash_put(table, const_cast<char*>("alpha"), const_cast<char*>("1"));
        const int mem_use = hash_mem_use(table);
        ArmedFailure armed(n);
        HashEntry* entry = hash_put(table, const_cast<char*>("beta"), const_cast<char*>("2"));
        const bool failed = armed.disarm();
        if (failed) {
            EXPECT_EQ(entry, nullptr);
            EXPECT_EQ(hash_count(table), 1);
            EXPECT_FALSE(hash_contains(table, "beta"));
            EXPECT_EQ(hash_mem_use(table), mem_use);
        } else {
            EXPECT_NE(entry, nullptr);
            EXPECT_STREQ(value_of(table, "beta"), "2");
        }
        EXPECT_STREQ(value_of(table, "alpha"), "1");
        hash_destroy(table);
        return failed;
    });
}

TEST_F(AllocFailureWalk, HashPutReplaceKeepsTheOldValue) {
    static HashDescriptor d = owning_text_descriptor();
    walk_allocation_failures("hash_put (replace, owned value)", [](long n) -> bool {
        HashTable* table = hash_create(17, &d);
        hash_put(table, const_cast<char*>("key"), const_cast<char*>("old"));
        ArmedFailure armed(n);
        HashEntry* entry = hash_put(table, const_cast<char*>("key"), const_cast<char*>("new"));
        const bool failed = armed.disarm();
        EXPECT_EQ(entry == nullptr, failed);
        EXPECT_EQ(hash_count(table), 1);
        EXPECT_STREQ(value_of(table, "key"), failed ? "old" : "new");
        hash_destroy(table);
        return failed;
    });
}

TEST_F(AllocFailureWalk, HashIteratorsAreNullAndNullIteratorsAreSafe) {
    static HashDescriptor d = owning_text_descriptor();
    walk_allocation_failures("hash_find, hash_begin, hash_end, hash_iter_copy", [](long n) -> bool {
        HashTable* table = hash_create(3, &d);
        hash_put(table, const_cast<char*>("a"), const_cast<char*>("1"));
        const int mem_use = hash_mem_use(table);
        ArmedFailure armed(n);
        HashIter* found = hash_find(table, "a");
        HashIter* begin = hash_begin(table);
        HashIter* end = hash_end(table);
        HashIter* copy = hash_iter_copy(found);
        const bool failed = armed.disarm();
        // Each is either a real iterator where it belongs or null, and the
        // iterator functions accept the nulls.
        EXPECT_EQ(!found || !begin || !end || !copy, failed);
        if (found) {
            EXPECT_STREQ(static_cast<const char*>(hash_iter_key(found)), "a");
        }
        if (found && copy) {
            EXPECT_TRUE(hash_iter_equal(found, copy));
        }
        EXPECT_EQ(hash_iter_value(nullptr), nullptr);
        EXPECT_EQ(hash_iter_next(nullptr), 0);
        hash_iter_free(found);
        hash_iter_free(begin);
        hash_iter_free(end);
        hash_iter_free(copy);
        // A refused iterator was never charged, so freeing the others brings
        // the figure back exactly.
        EXPECT_EQ(hash_mem_use(table), mem_use);
        hash_destroy(table);
        return failed;
    });
}

TEST_F(AllocFailureWalk, ListCreate) {
    walk_allocation_failures("list_create", [](long n) -> bool {
        ArmedFailure armed(n);
        List* list = list_create(nullptr);
        const bool failed = armed.disarm();
        EXPECT_EQ(list == nullptr, failed);
        list_destroy(list);
        return failed;
    });
}

TEST_F(AllocFailureWalk, ListAppendAndInsertLeaveTheListAsItWas) {
    static ListDescriptor d = copying_text_descriptor();
    static const char* const texts[] = {"a", "b"};
    walk_allocation_failures("list_append (copied element)", [](long n) -> bool {
        List* list = text_list(&d, texts, 2);
        ArmedFailure armed(n);
        ListNode* node = list_append(list, "c");
        const bool failed = armed.disarm();
        EXPECT_EQ(node == nullptr, failed);
        EXPECT_EQ(joined(list), failed ? "a,b" : "a,b,c");
        EXPECT_EQ(list_count(list), failed ? 2 : 3);
        list_destroy(list);
        return failed;
    });
    walk_allocation_failures("list_insert (copied element, middle)", [](long n) -> bool {
        List* list = text_list(&d, texts, 2);
        ArmedFailure armed(n);
        ListNode* node = list_insert(list, 0, "x");
        const bool failed = armed.disarm();
        EXPECT_EQ(node == nullptr, failed);
        EXPECT_EQ(joined(list), failed ? "a,b" : "a,x,b");
        EXPECT_EQ(list_count(list), failed ? 2 : 3);
        // The back links must match the forward ones either way.
        EXPECT_STREQ(static_cast<const char*>(list_tail(list)->data), "b");
        EXPECT_EQ(list_tail(list)->prev->next, list_tail(list));
        list_destroy(list);
        return failed;
    });
}

TEST_F(AllocFailureWalk, ListAppendAllAndCopyAreAllOrNothing) {
    static ListDescriptor d = copying_text_descriptor();
    static const char* const texts[] = {"a", "b", "c"};
    walk_allocation_failures("list_append_all (self)", [](long n) -> bool {
        List* list = text_list(&d, texts, 3);
        ArmedFailure armed(n);
        const int ok = list_append_all(list, list);
        const bool failed = armed.disarm();
        EXPECT_EQ(ok == 0, failed);
        EXPECT_EQ(joined(list), failed ? "a,b,c" : "a,b,c,a,b,c");
        EXPECT_EQ(list_tail(list)->next, nullptr);
        list_destroy(list);
        return failed;
    });
    walk_allocation_failures("list_copy", [](long n) -> bool {
        List* list = text_list(&d, texts, 3);
        ArmedFailure armed(n);
        List* copy = list_copy(list);
        const bool failed = armed.disarm();
        EXPECT_EQ(copy == nullptr, failed);
        if (copy) {
            EXPECT_TRUE(list_equal(list, copy));
        }
        EXPECT_EQ(joined(list), "a,b,c");
        list_destroy(copy);
        list_destroy(list);
        return failed;
    });
}

TEST_F(AllocFailureWalk, ListIteratorsAreNull) {
    static ListDescriptor d = copying_text_descriptor();
    static const char* const texts[] = {"a", "b"};
    walk_allocation_failures("list_begin, list_at, list_find", [](long n) -> bool {
        List* list = text_list(&d, texts, 2);
        ArmedFailure armed(n);
        ListIter* begin = list_begin(list);
        ListIter* at = list_at(list, 1);
        ListIter* found = list_find(list, "b");
        const bool failed = armed.disarm();
        EXPECT_EQ(!begin || !at || !found, failed);
        if (at) {
            EXPECT_STREQ(static_cast<const char*>(list_iter_value(at)), "b");
        }
        EXPECT_EQ(list_iter_value(nullptr), nullptr);
        EXPECT_EQ(list_iter_next(nullptr), 0);
        list_iter_free(begin);
        list_iter_free(at);
        list_iter_free(found);
        list_destroy(list);
        return failed;
    });
}

TEST_F(AllocFailureWalk, PlatformWideText) {
    walk_allocation_failures("str_to_platform_wide", [](long n) -> bool {
        ArmedFailure armed(n);
        EzuWChar* wide = str_to_platform_wide("h\xC3\xA9");
        const bool failed = armed.disarm();
        EXPECT_EQ(wide == nullptr, failed);
        if (wide) {
            EXPECT_EQ(wide[0], EzuWChar('h'));
            EXPECT_EQ(wide[1], EzuWChar(0xE9));
            EXPECT_EQ(wide[2], EzuWChar(0));
        }
        mem_free(wide);
        return failed;
    });
}
