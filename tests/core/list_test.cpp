#include "ezu_test.h"

#include "ezu/core/list.h"
#include "ezu/core/mem.h"

#include <string.h>

#include <string>
#include <vector>

EZU_TEST_SUITE(ListTest);

namespace {

int int_equal(const void* a, const void* b) {
    return *static_cast<const int*>(a) == *static_cast<const int*>(b);
}

// Records the first argument it was called with: tells probe from element.
const void* g_equal_first = nullptr;
int recording_equal(const void* a, const void* b) {
    g_equal_first = a;
    return int_equal(a, b);
}

// Counts of the duplicate/release callbacks; elements are heap std::strings.
int g_duplicates = 0;
int g_releases = 0;
void* dup_string(List*, const void* e) {
    ++g_duplicates;
    return e ? new std::string(*static_cast<const std::string*>(e)) : nullptr;
}
void release_string(List*, void* e) {
    ++g_releases;
    delete static_cast<std::string*>(e);
}

int c_str_length(List*, const void* e) {
    return int(strlen(static_cast<const char*>(e)));
}
// Sizes like c_str_length but refuses the text "b": its copy cannot be made.
int refuses_b(List* list, const void* e) {
    return strcmp(static_cast<const char*>(e), "b") == 0 ? -1 : c_str_length(list, e);
}

const void* g_copy_source = nullptr;
void recording_copy(List*, void* block, const void* source) {
    g_copy_source = source;
    memcpy(block, source, 4);
}

ListDescriptor descriptor(int elem_size, ListEqualFunc equal) {
    ListDescriptor d = {};
    d.size = sizeof d;
    d.elem_size = elem_size;
    d.equal = equal;
    return d;
}

ListDescriptor string_descriptor() {
    ListDescriptor d = {};
    d.size = sizeof d;
    d.duplicate = dup_string;
    d.release = release_string;
    return d;
}

std::vector<int> ints(const List* list) {
    std::vector<int> out;
    for (ListNode* n = list_head(list); n; n = n->next)
        out.push_back(*static_cast<int*>(n->data));
    return out;
}

// Walks both directions and checks that links, ends and count agree.
void expect_consistent(const List* list) {
    int forward = 0;
    const ListNode* last = nullptr;
    for (const ListNode* n = list->head; n; n = n->next, ++forward) {
        EXPECT_EQ(n->prev, last);
        last = n;
    }
    EXPECT_EQ(list->tail, last);
    EXPECT_EQ(forward, list->count);
}

} // namespace

TEST_F(ListTest, RemovingAtHeadMiddleAndTail) {
    int v[] = {1, 2, 3, 4};
    List* list = list_create(nullptr);
    for (int i = 0; i < 3; ++i)
        list_append(list, &v[i]);
    ListNode* second = list->head->next;
    ListNode* tail = list->tail;
    list_remove_node(list, list->head);
    EXPECT_EQ(list->head, second);
    EXPECT_EQ(list->tail, tail);
    EXPECT_EQ(list_count(list), 2);
    expect_consistent(list);

    list_clear(list);
    for (int i = 0; i < 3; ++i)
        list_append(list, &v[i]);
    ListNode* head = list->head;
    tail = list->tail;
    EXPECT_EQ(list_remove_next(list, head->next), tail);
    EXPECT_EQ(list->head, head);
    EXPECT_EQ(list->tail, tail);
    list_append(list, &v[3]);
    EXPECT_EQ(ints(list), (std::vector<int>{1, 3, 4}));
    expect_consistent(list);

    list_remove_node(list, list->tail);
    EXPECT_EQ(ints(list), (std::vector<int>{1, 3}));
    expect_consistent(list);
    list_remove_node(list, list->head);
    list_remove_node(list, list->head);
    EXPECT_EQ(list->head, nullptr);
    EXPECT_EQ(list->tail, nullptr);
    EXPECT_EQ(list_count(list), 0);
    EXPECT_EQ(list_is_empty(list), 1);
    list_destroy(list);
}

TEST_F(ListTest, PoppingHandsTheElementToTheCaller) {
    ListDescriptor d = descriptor(4, nullptr);
    List* list = list_create(&d);
    EXPECT_EQ(list_pop_back(list), nullptr);
    EXPECT_EQ(list_pop_front(list), nullptr);
    EXPECT_EQ(list_count(list), 0);

    int value = 7;
    for (bool back : {true, false}) {
        list_append(list, &value);
        const int blocks = mem_blocks_in_use();
        int* popped = static_cast<int*>(back ? list_pop_back(list) : list_pop_front(list));
        ASSERT_NE(popped, nullptr);
        EXPECT_NE(popped, &value);
        EXPECT_EQ(*popped, 7);
        EXPECT_EQ(mem_blocks_in_use(), blocks - 1); // the node only
        EXPECT_EQ(list->head, nullptr);
        EXPECT_EQ(list->tail, nullptr);
        EXPECT_EQ(list_count(list), 0);
        mem_free(popped);
    }

    int v[] = {1, 2, 3};
    for (int& x : v)
        list_append(list, &x);
    int* front = static_cast<int*>(list_pop_front(list));
    int* back = static_cast<int*>(list_pop_back(list));
    EXPECT_EQ(*front, 1);
    EXPECT_EQ(*back, 3);
    EXPECT_EQ(ints(list), (std::vector<int>{2}));
    expect_consistent(list);
    mem_free(front);
    mem_free(back);
    list_destroy(list);
}

TEST_F(ListTest, ContentMatchComparesBytesFindMatchDoesNot) {
    ListDescriptor d = descriptor(4, nullptr);
    List* list = list_create(&d);
    int v[] = {1, 2, 3};
    for (int& x : v)
        list_append(list, &x);
    int probe = 2;
    EXPECT_EQ(list_index_of(list, &probe), 1);
    ListIter* it = list_find(list, &probe);
    EXPECT_EQ(list_iter_node(it), nullptr);
    list_iter_free(it);
    void* stored = list->head->next->data;
    it = list_find(list, stored);
    EXPECT_EQ(list_iter_value(it), stored);
    list_iter_free(it);
    EXPECT_EQ(list_remove(list, &probe), 1);
    EXPECT_EQ(list_remove(list, &probe), 0);
    EXPECT_EQ(ints(list), (std::vector<int>{1, 3}));
    list_destroy(list);

    // Without any size, only the same pointer matches.
    List* plain = list_create(nullptr);
    list_append(plain, &v[1]);
    EXPECT_EQ(list_index_of(plain, &probe), -1);
    EXPECT_EQ(list_index_of(plain, &v[1]), 0);
    list_destroy(plain);
}

TEST_F(ListTest, EqualCallbackArgumentOrder) {
    ListDescriptor d = descriptor(4, recording_equal);
    List* list = list_create(&d);
    int v = 5, probe = 5;
    list_append(list, &v);
    EXPECT_EQ(list_index_of(list, &probe), 0);
    EXPECT_EQ(g_equal_first, &probe); // content match: equal(probe, element)
    ListIter* it = list_find(list, &probe);
    EXPECT_EQ(g_equal_first, list->head->data); // find match: equal(element, probe)
    EXPECT_EQ(list_iter_node(it), list->head);
    list_iter_free(it);
    list_destroy(list);
}

TEST_F(ListTest, ContentMatchOnSizedElementsIsAPrefixMatch) {
    // Lengths are not multiples of 4, so the zero-filled rounding of each
    // copied block keeps it terminated for the length callback.
    ListDescriptor d = {};
    d.elem_size_of = c_str_length;
    List* list = list_create(&d);
    list_append(list, "abcde");
    list_append(list, "xy");
    EXPECT_EQ(list_index_of(list, "ab"), 0);
    EXPECT_EQ(list_index_of(list, "abcdefg"), 0);
    EXPECT_EQ(list_index_of(list, "abx"), -1);
    EXPECT_EQ(list_index_of(list, "xyz"), 1);
    EXPECT_EQ(list_elem_size(list, "abc"), 3);
    list_destroy(list);
}

TEST_F(ListTest, InsertGoesBehindTheIndexedNode) {
    int v[] = {1, 2, 10, 20, 30, 40};
    List* list = list_create(nullptr);
    list_append(list, &v[0]);
    list_append(list, &v[1]);
    ListNode* node = list_insert(list, 0, &v[2]);
    EXPECT_EQ(node->data, &v[2]);
    EXPECT_EQ(ints(list), (std::vector<int>{1, 10, 2}));
    EXPECT_EQ(list_count(list), 3);
    list_insert(list, 5, &v[3]);
    list_insert(list, -1, &v[4]);
    EXPECT_EQ(ints(list), (std::vector<int>{1, 10, 2, 20, 30}));
    list_insert(list, 4, &v[5]); // behind the tail: the new tail
    EXPECT_EQ(list_tail(list)->data, &v[5]);
    expect_consistent(list);
    list_destroy(list);
}

TEST_F(ListTest, InsertMakesTheElementLikeAppend) {
    ListDescriptor d = string_descriptor();
    List* list = list_create(&d);
    std::string a = "a", b = "b", c = "c";
    list_append(list, &a);
    list_append(list, &b);
    g_duplicates = g_releases = 0;
    ListNode* node = list_insert(list, 0, &c);
    EXPECT_EQ(g_duplicates, 1);
    EXPECT_NE(node->data, &c);
    EXPECT_EQ(*static_cast<std::string*>(node->data), "c");
    list_destroy(list); // releases its own copies; the caller's strings stay
    EXPECT_EQ(g_releases, 3);
    EXPECT_EQ(c, "c");
}

TEST_F(ListTest, DuplicateAndReleaseOwnTheElements) {
    ListDescriptor d = string_descriptor();
    List* list = list_create(&d);
    std::string a = "a";
    g_duplicates = g_releases = 0;
    list_append(list, &a);
    list_append(list, &a);
    EXPECT_EQ(g_duplicates, 2);
    list_remove_node(list, list->head);
    EXPECT_EQ(g_releases, 1);
    // duplicate answering null still makes a node, holding null.
    ListNode* empty = list_append(list, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->data, nullptr);
    list_clear(list);
    EXPECT_EQ(g_releases, 3);
    EXPECT_EQ(list_count(list), 0);
    list_destroy(list);
}

TEST_F(ListTest, CopyCallbackReceivesBlockThenSource) {
    ListDescriptor d = descriptor(4, int_equal);
    d.copy = recording_copy;
    List* list = list_create(&d);
    int v = 9;
    ListNode* node = list_make_node(list, &v);
    EXPECT_EQ(g_copy_source, &v);
    EXPECT_EQ(*static_cast<int*>(node->data), 9);
    EXPECT_EQ(list_count(list), 0); // made, not linked
    list_link_tail(list, node);
    EXPECT_EQ(list_head(list), node);
    EXPECT_EQ(list_count(list), 1);
    list_destroy(list);
}

TEST_F(ListTest, PositionsAndIterators) {
    int v[] = {1, 2};
    List* list = list_create(nullptr);
    ListIter* begin = list_begin(list);
    ListIter* end = list_end(list);
    EXPECT_EQ(list_iter_equal(begin, end), 1);
    list_iter_free(begin);
    list_append(list, &v[0]);
    list_append(list, &v[1]);
    for (int index : {-1, 2}) {
        ListIter* at = list_at(list, index);
        EXPECT_EQ(list_iter_equal(at, end), 1);
        EXPECT_EQ(list_iter_value(at), nullptr);
        list_iter_free(at);
    }
    ListIter* it = list_at(list, 1);
    EXPECT_EQ(list_iter_value(it), &v[1]);
    EXPECT_EQ(list_iter_list(it), list);
    ListIter* made = list_make_iter(list, list->tail);
    EXPECT_EQ(list_iter_equal(it, made), 1);
    EXPECT_EQ(list_iter_next(it), 0);
    EXPECT_EQ(list_iter_next(it), 0);
    EXPECT_EQ(list_iter_equal(it, end), 1);
    EXPECT_EQ(list_iter_differ(made, end), 1);
    // Same node, different list: different positions.
    List* other = list_create(nullptr);
    ListIter* other_end = list_end(other);
    EXPECT_EQ(list_iter_differ(end, other_end), 1);
    for (ListIter* i : {it, made, end, other_end})
        list_iter_free(i);
    list_destroy(other);
    list_destroy(list);
}

TEST_F(ListTest, EqualityAndCopies) {
    int v[] = {1, 2, 3};
    ListDescriptor by_value = descriptor(4, int_equal);
    ListDescriptor by_bytes = descriptor(4, nullptr);
    for (ListDescriptor* d : {&by_value, &by_bytes}) {
        List* list = list_create(d);
        for (int& x : v)
            list_append(list, &x);
        List* copy = list_copy(list);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(list_descriptor(copy), d);
        EXPECT_EQ(ints(copy), (std::vector<int>{1, 2, 3}));
        EXPECT_NE(copy->head->data, list->head->data);
        EXPECT_EQ(list_equal(list, copy), d == &by_value ? 1 : 0);
        list_destroy(list);
        list_destroy(copy);
    }
}

TEST_F(ListTest, EqualityNeedsTheSameDescriptorAndLength) {
    int v[] = {1, 2};
    ListDescriptor d1 = descriptor(0, nullptr), d2 = descriptor(0, nullptr);
    List* a = list_create(&d1);
    List* b = list_create(&d1);
    List* c = list_create(&d2);
    for (int& x : v) {
        list_append(a, &x);
        list_append(b, &x);
        list_append(c, &x);
    }
    EXPECT_EQ(list_equal(a, b), 1);
    EXPECT_EQ(list_equal(a, c), 0);
    list_append(b, &v[0]);
    EXPECT_EQ(list_equal(a, b), 0);
    EXPECT_EQ(list_equal(b, a), 0);
    EXPECT_EQ(list_set_descriptor(c, &d1), &d2);
    EXPECT_EQ(list_equal(a, c), 1);
    for (List* l : {a, b, c})
        list_destroy(l);
}

TEST_F(ListTest, AppendAllIncludingItself) {
    ListDescriptor d = descriptor(4, int_equal);
    List* list = list_create(&d);
    List* other = list_create(&d);
    int v[] = {1, 2};
    for (int& x : v) {
        list_append(list, &x);
        list_append(other, &x);
    }
    EXPECT_EQ(list_append_all(list, other), 1);
    EXPECT_EQ(list_append_all(list, list), 1);
    EXPECT_EQ(ints(list), (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2}));
    expect_consistent(list);
    list_destroy(list);
    list_destroy(other);
}

TEST_F(ListTest, ElementSizeFallsBackToFour) {
    ListDescriptor fixed = descriptor(12, nullptr);
    ListDescriptor none = descriptor(0, nullptr);
    List* a = list_create(&fixed);
    List* b = list_create(&none);
    EXPECT_EQ(list_elem_size(a, "x"), 12);
    EXPECT_EQ(list_elem_size(b, "x"), 4);
    list_destroy(a);
    list_destroy(b);
}

TEST_F(ListTest, FailedElementAllocationLeavesTheListAsItWas) {
    ListDescriptor d = {};
    d.elem_size_of = c_str_length;
    List* list = list_create(&d);
    list_append(list, "a");
    list_append(list, "b");
    const int blocks = mem_blocks_in_use();
    d.elem_size_of = refuses_b;
    EXPECT_EQ(list_append(list, "b"), nullptr);
    EXPECT_EQ(list_insert(list, 0, "b"), nullptr);
    // "a" is appended again before "b" fails; the append is undone.
    EXPECT_EQ(list_append_all(list, list), 0);
    EXPECT_EQ(list_copy(list), nullptr);
    EXPECT_EQ(list_count(list), 2);
    EXPECT_EQ(mem_blocks_in_use(), blocks);
    expect_consistent(list);
    d.elem_size_of = c_str_length;
    list_destroy(list);
}

TEST_F(ListTest, SizedListNeverFreesTheCallersPointer) {
    // A size callback answering 0 still gets a block of the list's own, so
    // removing the element frees that block and not the caller's text.
    ListDescriptor d = {};
    d.elem_size_of = c_str_length;
    List* list = list_create(&d);
    char empty[] = "";
    ListNode* node = list_append(list, empty);
    EXPECT_NE(node->data, static_cast<void*>(empty));
    ListNode* null_node = list_append(list, nullptr);
    EXPECT_EQ(null_node->data, nullptr);
    EXPECT_EQ(list_index_of(list, nullptr), 1);
    const int header = int((sizeof(List) + 3) & ~size_t(3));
    EXPECT_EQ(list_destroy(list), header);
}
