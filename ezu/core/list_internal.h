// Helpers shared by the list's sources; not part of the interface.
#ifndef EZU_CORE_LIST_INTERNAL_H
#define EZU_CORE_LIST_INTERNAL_H

#include "ezu/core/list.h"

// The list's descriptor, or an all-zero one for a list created without.
const ListDescriptor* list_desc(const List* list);

// The node at `index`, or null when the index is out of range.
ListNode* list_node_at(const List* list, int index);

#endif
