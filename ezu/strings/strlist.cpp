// TEzuList<TStr>: an ordered list of TStr over the lower tier's linked list.
//
// Every list shares one element descriptor: appending duplicates the caller's
// string into a new TStr object the list owns, removing destroys it again.
#include "ezu/strings/strlist.h"

#include "ezu/core/list.h"
#include "ezu/core/mem.h"
#include "ezu/strings/strlist_internal.h"

#include <new>

namespace {

// Element objects are made and destroyed by the dozen when a text is split
// and the list released, so the memory of released ones waits on a free list
// for the next, up to a cap, instead of going back to the heap. Under
// AddressSanitizer every object goes back to the heap, so use after release
// is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define EZU_ELEMENT_CACHE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EZU_ELEMENT_CACHE 0
#endif
#endif
#ifndef EZU_ELEMENT_CACHE
#define EZU_ELEMENT_CACHE 1
#endif

const int kCachedElements = 256;

struct FreeSlot {
    FreeSlot* next;
};
static_assert(sizeof(TStr) >= sizeof(FreeSlot), "a slot holds its link");

FreeSlot* g_free_slots = nullptr;
int g_free_count = 0;

void* take_slot() {
    if (EZU_ELEMENT_CACHE && g_free_slots) {
        FreeSlot* slot = g_free_slots;
        g_free_slots = slot->next;
        --g_free_count;
        return slot;
    }
    return ::operator new(sizeof(TStr), std::nothrow);
}

void give_slot(void* memory) {
    if (EZU_ELEMENT_CACHE && g_free_count < kCachedElements) {
        FreeSlot* slot = static_cast<FreeSlot*>(memory);
        slot->next = g_free_slots;
        g_free_slots = slot;
        ++g_free_count;
        return;
    }
    ::operator delete(memory);
}

int tstrEqual(const void* a, const void* b) {
    return *static_cast<const TStr*>(a) == *static_cast<const TStr*>(b);
}

void* tstrDuplicate(List*, const void* element) {
    if (!element)
        return strlist_adopting_element(str_from_ascii(""));
    return strlist_copied_element(*static_cast<const TStr*>(element));
}

void tstrRelease(List*, void* element) {
    strlist_release_element(static_cast<TStr*>(element));
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

TStr* strlist_adopting_element(StrBuf* record) {
    if (!record)
        return nullptr;
    void* slot = take_slot();
    if (!slot) {
        str_free(record);
        return nullptr;
    }
    return new (slot) TStr(TStr::adopt(record));
}

TStr* strlist_copied_element(const TStr& value) {
    void* slot = take_slot();
    return slot ? new (slot) TStr(value) : nullptr;
}

void strlist_release_element(TStr* element) {
    if (!element)
        return;
    element->~TStr();
    give_slot(element);
}

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
        strlist_release_element(element);
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
