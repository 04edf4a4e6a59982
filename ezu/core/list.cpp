#include "ezu/core/list.h"

#include "ezu/core/list_internal.h"
#include "ezu/core/mem.h"

#include <string.h>

namespace {

const ListDescriptor kZeroDescriptor = {};

// Whether the list makes its own element blocks: see list.h.
bool copies_elements(const ListDescriptor* d) {
    return d->elem_size_of || d->elem_size != 0;
}

// Puts into `*data` what a node keeps for `element`; false when a copy cannot
// be allocated.
bool make_element(List* list, const void* element, void** data) {
    const ListDescriptor* d = list_desc(list);
    if (d->duplicate) {
        *data = d->duplicate(list, element);
        return true;
    }
    if (!copies_elements(d) || !element) {
        *data = const_cast<void*>(element);
        return true;
    }
    const int size = d->elem_size_of ? d->elem_size_of(list, element) : d->elem_size;
    void* block = mem_alloc(size);
    if (!block)
        return false;
    if (d->copy)
        d->copy(list, block, element);
    else if (size > 0)
        memcpy(block, element, size_t(size));
    *data = block;
    return true;
}

void release_element(List* list, void* data) {
    const ListDescriptor* d = list_desc(list);
    if (d->release)
        d->release(list, data);
    else if (copies_elements(d))
        mem_free(data);
}

// Removes the nodes linked behind `last` (all of them when it is null).
void truncate_after(List* list, ListNode* last) {
    while (list->tail && list->tail != last)
        list_remove_node(list, list->tail);
}

} // namespace

const ListDescriptor* list_desc(const List* list) {
    return list->descriptor ? list->descriptor : &kZeroDescriptor;
}

ListNode* list_node_at(const List* list, int index) {
    if (index < 0 || index >= list->count)
        return nullptr;
    ListNode* node = list->head;
    for (int i = 0; i < index && node; ++i)
        node = node->next;
    return node;
}

List* list_create(ListDescriptor* descriptor) {
    List* list = static_cast<List*>(mem_alloc(sizeof(List)));
    if (list)
        list->descriptor = descriptor;
    return list;
}

ListDescriptor* list_set_descriptor(List* list, ListDescriptor* descriptor) {
    if (!list)
        return nullptr;
    ListDescriptor* previous = list->descriptor;
    list->descriptor = descriptor;
    return previous;
}

List* list_copy(List* list) {
    if (!list)
        return nullptr;
    List* copy = list_create(list->descriptor);
    if (copy && !list_append_all(copy, list)) {
        list_destroy(copy);
        return nullptr;
    }
    return copy;
}

int list_destroy(List* list) {
    if (!list)
        return 0;
    list_clear(list);
    return mem_free(list);
}

void list_clear(List* list) {
    if (!list)
        return;
    ListNode* node = list->head;
    while (node) {
        ListNode* next = node->next;
        list_remove_node(list, node);
        node = next;
    }
}

int list_count(const List* list) {
    return list ? list->count : 0;
}

ListNode* list_head(const List* list) {
    return list ? list->head : nullptr;
}

ListNode* list_tail(const List* list) {
    return list ? list->tail : nullptr;
}

ListDescriptor* list_descriptor(const List* list) {
    return list ? list->descriptor : nullptr;
}

int list_is_empty(const List* list) {
    return !list || !list->head;
}

ListNode* list_make_node(List* list, const void* element) {
    if (!list)
        return nullptr;
    ListNode* node = static_cast<ListNode*>(mem_alloc(sizeof(ListNode)));
    if (node && !make_element(list, element, &node->data)) {
        mem_free(node);
        return nullptr;
    }
    return node;
}

void list_link_tail(List* list, ListNode* node) {
    if (!list || !node)
        return;
    node->prev = list->tail;
    node->next = nullptr;
    if (list->tail)
        list->tail->next = node;
    list->tail = node;
    if (!list->head)
        list->head = node;
    list->count += 1;
}

ListNode* list_append(List* list, const void* element) {
    ListNode* node = list_make_node(list, element);
    list_link_tail(list, node);
    return node;
}

int list_append_all(List* list, List* other) {
    if (!list)
        return 0;
    if (!other)
        return 1;
    // Walking exactly the nodes present at the start lets a list be appended
    // to itself without chasing its own new tail.
    ListNode* old_tail = list->tail;
    const int n = other->count;
    ListNode* source = other->head;
    for (int i = 0; i < n && source; ++i, source = source->next) {
        ListNode* node = list_make_node(list, source->data);
        if (!node) {
            truncate_after(list, old_tail);
            return 0;
        }
        list_link_tail(list, node);
    }
    return 1;
}

ListNode* list_insert(List* list, int index, const void* element) {
    if (!list)
        return nullptr;
    ListNode* found = list_node_at(list, index);
    if (!found)
        return list_append(list, element);
    ListNode* node = list_make_node(list, element);
    if (!node)
        return nullptr;
    node->prev = found;
    node->next = found->next;
    if (found->next)
        found->next->prev = node;
    found->next = node;
    if (list->tail == found)
        list->tail = node;
    list->count += 1;
    return node;
}

void list_remove_node(List* list, ListNode* node) {
    if (!list || !node)
        return;
    release_element(list, node->data);
    if (list->head == node)
        list->head = node->next;
    if (list->tail == node)
        list->tail = node->prev;
    if (node->next && node->next->prev == node)
        node->next->prev = node->prev;
    if (node->prev && node->prev->next == node)
        node->prev->next = node->next;
    mem_free(node);
    list->count -= 1;
}

ListNode* list_remove_next(List* list, ListNode* node) {
    if (!list || !node)
        return nullptr;
    ListNode* next = node->next;
    list_remove_node(list, node);
    return next;
}

void* list_pop_front(List* list) {
    if (!list || list->count == 0 || !list->head)
        return nullptr;
    ListNode* node = list->head;
    list->head = node->next;
    if (list->head)
        list->head->prev = nullptr;
    else
        list->tail = nullptr;
    void* data = node->data;
    mem_free(node);
    list->count -= 1;
    return data;
}

void* list_pop_back(List* list) {
    if (!list || list->count == 0 || !list->tail)
        return nullptr;
    ListNode* node = list->tail;
    list->tail = node->prev;
    if (list->tail)
        list->tail->next = nullptr;
    else
        list->head = nullptr;
    void* data = node->data;
    mem_free(node);
    list->count -= 1;
    return data;
}
