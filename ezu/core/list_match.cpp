// Comparing list elements: content match, find match and list equality.
#include "ezu/core/list.h"

#include "ezu/core/list_internal.h"

#include <string.h>

namespace {

// Content match of probe `p` against stored `d`: `equal`(p, d); else, when
// the descriptor knows sizes, the first min(size p, size d) bytes (so a probe
// matches any longer element that begins with it); else the same pointer.
bool content_match(List* list, const void* p, const void* d) {
    const ListDescriptor* desc = list_desc(list);
    if (desc->equal)
        return desc->equal(p, d) != 0;
    if (!desc->elem_size_of && desc->elem_size == 0)
        return p == d;
    if (!p || !d)
        return p == d;
    int size = list_elem_size(list, p);
    const int size_d = list_elem_size(list, d);
    if (size_d < size)
        size = size_d;
    return size <= 0 || memcmp(p, d, size_t(size)) == 0;
}

// Find match: `equal`(d, p), note the order; else the same pointer. There is
// deliberately no byte comparison here.
bool find_match(List* list, const void* p, const void* d) {
    const ListEqualFunc equal = list_desc(list)->equal;
    return equal ? equal(d, p) != 0 : p == d;
}

} // namespace

int list_remove(List* list, const void* element) {
    if (!list)
        return 0;
    for (ListNode* node = list->head; node; node = node->next) {
        if (content_match(list, element, node->data)) {
            list_remove_node(list, node);
            return 1;
        }
    }
    return 0;
}

int list_index_of(List* list, const void* element) {
    if (!list)
        return -1;
    int index = 0;
    for (ListNode* node = list->head; node; node = node->next, ++index) {
        if (content_match(list, element, node->data))
            return index;
    }
    return -1;
}

ListIter* list_find(List* list, const void* element) {
    if (!list)
        return nullptr;
    ListNode* node = list->head;
    while (node && !find_match(list, element, node->data))
        node = node->next;
    return list_make_iter(list, node);
}

int list_equal(const List* a, const List* b) {
    if (a == b)
        return 1;
    if (!a || !b || a->descriptor != b->descriptor)
        return 0;
    const ListEqualFunc equal = list_desc(a)->equal;
    const ListNode* na = a->head;
    const ListNode* nb = b->head;
    for (; na && nb; na = na->next, nb = nb->next) {
        const bool same = equal ? equal(na->data, nb->data) != 0 : na->data == nb->data;
        if (!same)
            return 0;
    }
    return !na && !nb;
}

int list_elem_size(List* list, const void* element) {
    const ListDescriptor* d = list_desc(list);
    if (d->elem_size != 0)
        return d->elem_size;
    if (d->elem_size_of)
        return d->elem_size_of(list, element);
    return 4;
}
