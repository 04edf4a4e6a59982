// The element objects of string lists; not part of the public interface.
#ifndef EZU_STRINGS_STRLIST_INTERNAL_H
#define EZU_STRINGS_STRLIST_INTERNAL_H

#include "ezu/strings/tstr.h"

// A new list element adopting `record` (a string with that text), or null
// when no memory is left; the record is released then.
TStr* strlist_adopting_element(StrBuf* record);

// A new list element that is a copy of `value`, or null.
TStr* strlist_copied_element(const TStr& value);

// Destroys an element made by one of the two above and gives its memory back.
void strlist_release_element(TStr* element);

#endif
