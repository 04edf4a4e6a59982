/// @file
/// Callback-driven doubly linked list: nodes holding one element pointer each,
/// under a header that knows the first and last node and the node count.
///
/// The list knows nothing about its elements; a ListDescriptor says how to
/// compare them and, optionally, how to duplicate, copy and release them.
/// Positions are heap-allocated ListIter records that the caller releases with
/// list_iter_free. Every header, node and iterator comes from mem_alloc.
///
/// Element ownership. A node's element is made by `duplicate` when present;
/// otherwise, when the descriptor knows a size (`elem_size_of` present, or
/// `elem_size` non-zero), it is copied into a new block the list owns;
/// otherwise the caller's pointer is stored. A removed element goes to
/// `release` when present; otherwise its block is freed when the descriptor
/// knows a size; otherwise it is left alone. So the list never frees a
/// pointer it did not allocate: when a size callback is present its block is
/// always the list's own, even for a size of 0. A null element is stored as
/// null rather than copied.
///
/// When `duplicate` returns null the node is still made and holds null.
///
/// Allocation failures. Operations that make a node or a list return null and
/// leave the list as it was; operations that make an iterator return null. The
/// iterator functions accept a null iterator and treat it as standing at the
/// end of no list (two null iterators compare equal, a null and a real one do
/// not). A size callback giving a negative size counts as a failed allocation.
///
/// A null descriptor behaves as an all-zero one: elements compared by pointer,
/// stored as given, never released.
#ifndef EZU_CORE_LIST_H
#define EZU_CORE_LIST_H

#include "ezu/ezu_export.h"

struct List;

/// (a, b) -> non-zero when equal; does not receive the list
typedef int (*ListEqualFunc)(const void* a, const void* b);
/// (list, element) -> its byte size
typedef int (*ListSizeOfFunc)(List* list, const void* element);
/// (list, element) -> a new element the list will own
typedef void* (*ListDuplicateFunc)(List* list, const void* element);
/// (list, element): releases an owned element
typedef void (*ListReleaseFunc)(List* list, void* element);
/// (list, new block, source element): fills a new element block
typedef void (*ListCopyFunc)(List* list, void* block, const void* source);

/// Sizes and callbacks for one kind of element; an absent callback is null.
/// Shared by any number of lists, never owned or changed by them.
struct ListDescriptor {
    int size;                    ///< sizeof(ListDescriptor), set by its creator
    int elem_size;               ///< fixed element size, or 0
    ListEqualFunc equal;         ///< absent: compared by bytes or pointer
    ListSizeOfFunc elem_size_of; ///< size of one element, when elem_size is 0
    ListDuplicateFunc duplicate; ///< replaces allocating and copying
    ListReleaseFunc release;     ///< absent: a sized element's block is freed
    ListCopyFunc copy;           ///< absent: the bytes are copied
    void* reserved;              ///< not read by the list
};

/// One node of a list.
struct ListNode {
    ListNode* prev; ///< null at the head
    ListNode* next; ///< null at the tail
    void* data;     ///< the element, as the descriptor made it
};

/// A list header.
struct List {
    ListDescriptor* descriptor; ///< not owned; null behaves as all zero
    ListNode* head;             ///< first node, null while empty
    ListNode* tail;             ///< last node, null while empty
    int count;                  ///< number of nodes
};

/// A position; a null node is the end.
struct ListIter {
    List* list;     ///< the list it walks
    ListNode* node; ///< the current node, null at the end
};

/// A new empty list described by `descriptor` (may be null); null when the
/// header cannot be allocated.
EZU_API List* list_create(ListDescriptor* descriptor);
/// Replaces the descriptor and returns the previous one.
EZU_API ListDescriptor* list_set_descriptor(List* list, ListDescriptor* descriptor);
/// A new list with the same descriptor and a node made for every element, in
/// order; null when any allocation fails.
EZU_API List* list_copy(List* list);
/// Removes every node, releasing elements as the descriptor says, then the
/// header; returns the payload size mem_free gave for the header. Null: 0.
EZU_API int list_destroy(List* list);
/// Removes every node, releasing elements as the descriptor says; the list
/// stays usable. Null is ignored.
EZU_API void list_clear(List* list);

/// Number of nodes; 0 for null.
EZU_API int list_count(const List* list);
/// First node, or null.
EZU_API ListNode* list_head(const List* list);
/// Last node, or null.
EZU_API ListNode* list_tail(const List* list);
/// The descriptor, or null.
EZU_API ListDescriptor* list_descriptor(const List* list);
/// 1 for an empty or null list, else 0.
EZU_API int list_is_empty(const List* list);

/// A new unlinked node holding the element as the descriptor says.
EZU_API ListNode* list_make_node(List* list, const void* element);
/// Links an unlinked node at the end and counts it; null arguments are
/// ignored.
EZU_API void list_link_tail(List* list, ListNode* node);
/// Makes a node for the element and links it at the end; returns the node,
/// or null on failure with the list unchanged.
EZU_API ListNode* list_append(List* list, const void* element);
/// Appends a node made from each element of `other`, in order (`other` may be
/// `list` itself: its elements are appended once). Returns 1, or 0 after a
/// failed allocation, when `list` is left as it was.
EZU_API int list_append_all(List* list, List* other);
/// A new node behind the node at `index` (so index 0 inserts second), or at
/// the end when `index` is out of range. The element is made as
/// list_make_node makes it.
EZU_API ListNode* list_insert(List* list, int index, const void* element);

/// Unlinks and releases one node and its element.
EZU_API void list_remove_node(List* list, ListNode* node);
/// Removes the node and returns its former successor.
EZU_API ListNode* list_remove_next(List* list, ListNode* node);
/// Content match: removes the first matching node; 1 when one was removed.
/// A content match is `equal`(probe, element) when present; else, when the
/// descriptor knows sizes, the first bytes up to the smaller of the two sizes
/// (so a probe matches a longer element that begins with it); else the same
/// pointer.
EZU_API int list_remove(List* list, const void* element);
/// Content match: index of the first matching node, or -1.
EZU_API int list_index_of(List* list, const void* element);
/// Find match: new iterator at the first node found, or at the end. A find
/// match is `equal`(element, probe) (note the order) when present, else the
/// same pointer; bytes are never compared.
EZU_API ListIter* list_find(List* list, const void* element);
/// Unlinks the first or last node and hands its element to the caller; null
/// for an empty list.
EZU_API void* list_pop_front(List* list);
/// As list_pop_front(), from the end.
EZU_API void* list_pop_back(List* list);
/// 1 when both lists have the same descriptor and pairwise equal elements.
EZU_API int list_equal(const List* a, const List* b);
/// `elem_size` if non-zero, else `elem_size_of`(list, element), else 4.
EZU_API int list_elem_size(List* list, const void* element);

/// New iterator at the first node (the end for an empty list); null when it
/// cannot be allocated. Release it with list_iter_free().
EZU_API ListIter* list_begin(List* list);
/// New iterator at the end.
EZU_API ListIter* list_end(List* list);
/// New iterator at `index`; the end when index < 0 or index >= count.
EZU_API ListIter* list_at(List* list, int index);
/// New iterator at `node` of `list` (null: the end).
EZU_API ListIter* list_make_iter(List* list, ListNode* node);
/// Releases an iterator; null is ignored.
EZU_API void list_iter_free(ListIter* it);
/// 1 when both stand on the same node of the same list (two null iterators
/// are equal), else 0.
EZU_API int list_iter_equal(const ListIter* a, const ListIter* b);
/// The negation of list_iter_equal().
EZU_API int list_iter_differ(const ListIter* a, const ListIter* b);
/// Moves to the next node: 1 while standing on one, 0 at the end.
EZU_API int list_iter_next(ListIter* it);
/// The current element, or null at the end.
EZU_API void* list_iter_value(const ListIter* it);
/// The list walked, or null.
EZU_API List* list_iter_list(const ListIter* it);
/// The current node, or null at the end.
EZU_API ListNode* list_iter_node(const ListIter* it);

#endif
