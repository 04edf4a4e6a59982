// TEzuList<TStr>: an ordered list of TStr over the lower tier's linked list.
//
// Every list shares one element descriptor: appending duplicates the caller's
// string into a new heap TStr the list owns, removing deletes it again.
#include "ezu/strings/strlist.h"

#include "ezu/core/list.h"
#include "ezu/core/mem.h"

namespace {

int tstrEqual(const void* a, const void* b) {
    return *static_cast<const TStr*>(a) == *static_cast<const TStr*>(b);
}

void* tstrDuplicate(List*, const void* element) {
    if (!element)
        return new TStr("");
    return new TStr(*static_cast<const TStr*>(element));
}

void tstrRelease(List*, void* element) {
    delete static_cast<TStr*>(element);
}

// Never called: `duplicate` takes precedence over allocating and copying.
void tstrCopy(List*, void* block, const void* source) {
    *static_cast<TStr*>(block) = *static_cast<const TStr*>(source);
}

// Built on the first construction of any list and kept for the life of the
// process; every list points at it and none releases it.
ListDescriptor* g_descriptor = nullptr;

ListDescriptor* elementDescriptor() {
    if (!g_descriptor) {
        auto* d = static_cast<ListDescriptor*>(mem_alloc(sizeof(ListDescriptor)));
        d->size = sizeof(ListDescriptor);
        d->elem_size = sizeof(TStr);
        d->equal = tstrEqual;
        d->duplicate = tstrDuplicate;
        d->release = tstrRelease;
        d->copy = tstrCopy;
        g_descriptor = d;
    }
    return g_descriptor;
}

} // namespace

// ---- iterator ----

TEzuList<TStr>::iterator::iterator(ListIter* position) : position_(position) {}

TEzuList<TStr>::iterator::iterator(const iterator& other)
    : position_(list_make_iter(list_iter_list(other.position_), list_iter_node(other.position_))) {}

TEzuList<TStr>::iterator& TEzuList<TStr>::iterator::operator=(const iterator& other) {
    if (this != &other) {
        ListIter* copy =
            list_make_iter(list_iter_list(other.position_), list_iter_node(other.position_));
        list_iter_free(position_);
        position_ = copy;
    }
    return *this;
}

TEzuList<TStr>::iterator::~iterator() {
    list_iter_free(position_);
}

TStr* TEzuList<TStr>::iterator::operator*() const {
    return static_cast<TStr*>(list_iter_value(position_));
}

TEzuList<TStr>::iterator& TEzuList<TStr>::iterator::operator++() {
    list_iter_next(position_);
    return *this;
}

bool TEzuList<TStr>::iterator::operator!=(const iterator& other) const {
    return list_iter_differ(position_, other.position_) != 0;
}

// ---- list ----

TEzuList<TStr>::TEzuList() : list_(list_create(elementDescriptor())) {}

TEzuList<TStr>::TEzuList(const TEzuList& other) : list_(list_copy(other.list_)) {}

TEzuList<TStr>::~TEzuList() {
    list_destroy(list_);
}

TEzuList<TStr>& TEzuList<TStr>::operator=(const TEzuList& other) {
    if (this != &other) {
        list_clear(list_);
        list_append_all(list_, other.list_);
    }
    return *this;
}

TEzuList<TStr>::iterator TEzuList<TStr>::begin() const {
    return iterator(list_begin(list_));
}

TEzuList<TStr>::iterator TEzuList<TStr>::end() const {
    return iterator(list_end(list_));
}

TEzuList<TStr>::iterator TEzuList<TStr>::append(const TStr& value) {
    return iterator(list_make_iter(list_, list_append(list_, &value)));
}

void TEzuList<TStr>::appendAdopted(TStr* element) {
    ListNode* node = static_cast<ListNode*>(mem_alloc(sizeof(ListNode)));
    if (!node) {
        delete element;
        return;
    }
    node->data = element;
    list_link_tail(list_, node);
}

int TEzuList<TStr>::size() const {
    return list_count(list_);
}

TStr* TEzuList<TStr>::at(int index) const {
    ListIter* position = list_at(list_, index);
    TStr* element = static_cast<TStr*>(list_iter_value(position));
    list_iter_free(position);
    return element;
}

int TEzuList<TStr>::indexOf(const TStr& value) const {
    return list_index_of(list_, &value);
}
