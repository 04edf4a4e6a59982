// Positions in a list: making, comparing and advancing ListIter records.
#include "ezu/core/list.h"

#include "ezu/core/list_internal.h"
#include "ezu/core/mem.h"

ListIter* list_make_iter(List* list, ListNode* node) {
    ListIter* it = static_cast<ListIter*>(mem_alloc(sizeof(ListIter)));
    if (it) {
        it->list = list;
        it->node = node;
    }
    return it;
}

ListIter* list_begin(List* list) {
    return list_make_iter(list, list ? list->head : nullptr);
}

ListIter* list_end(List* list) {
    return list_make_iter(list, nullptr);
}

ListIter* list_at(List* list, int index) {
    return list_make_iter(list, list ? list_node_at(list, index) : nullptr);
}

void list_iter_free(ListIter* it) {
    mem_free(it);
}

int list_iter_equal(const ListIter* a, const ListIter* b) {
    if (!a || !b)
        return a == b;
    return a->list == b->list && a->node == b->node;
}

int list_iter_differ(const ListIter* a, const ListIter* b) {
    return !list_iter_equal(a, b);
}

int list_iter_next(ListIter* it) {
    if (!it || !it->node)
        return 0;
    it->node = it->node->next;
    return it->node != nullptr;
}

void* list_iter_value(const ListIter* it) {
    return it && it->node ? it->node->data : nullptr;
}

List* list_iter_list(const ListIter* it) {
    return it ? it->list : nullptr;
}

ListNode* list_iter_node(const ListIter* it) {
    return it ? it->node : nullptr;
}
