// TEzuStrList: a string list that can be cut from a text and joined into one.
#include "ezu/strings/strlist.h"

TEzuStrList::TEzuStrList() {}

TEzuStrList::TEzuStrList(const TEzuStrList& other) : TEzuList<TStr>(other) {}

TEzuStrList::TEzuStrList(const TStr& single) {
    append(single);
}

TEzuStrList::~TEzuStrList() {}

TEzuStrList& TEzuStrList::operator=(const TEzuStrList& other) {
    TEzuList<TStr>::operator=(other);
    return *this;
}

// Each takeUntil removes at least one character from the rest (an empty
// separator takes all of it), so the loop ends. A separator at the end
// leaves empty text behind, which adds no element.
TEzuStrList TEzuStrList::split(const TStr& separator, const TStr& text) {
    TEzuStrList result;
    TStr rest(text);
    while (!rest.isEmpty())
        result.append(rest.takeUntil(separator));
    return result;
}

TEzuStrList TEzuStrList::split(char separator, const TStr& text) {
    return split(TStr(separator), text);
}

// takeToken swallows a whole run of separator characters at once.
TEzuStrList TEzuStrList::splitAny(const TStr& chars, const TStr& text) {
    TEzuStrList result;
    TStr rest(text);
    while (!rest.isEmpty())
        result.append(rest.takeToken(chars));
    return result;
}

TStr TEzuStrList::join(const TStr& separator) const {
    TStr result;
    for (iterator it = begin(); it != end(); ++it)
        result.appendWithSeparator(**it, separator);
    return result;
}
