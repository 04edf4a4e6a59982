// Converting between string lists and std::string vectors, so that list
// contents compare with EXPECT_EQ.
#ifndef EZU_TESTS_SUPPORT_STRLIST_TEXTS_H
#define EZU_TESTS_SUPPORT_STRLIST_TEXTS_H

#include "ezu/strings/strlist.h"

#include <string>
#include <vector>

typedef std::vector<std::string> Texts;

// The elements' 7-bit texts in order; a missing element shows as "<null>".
inline Texts texts(const TEzuStrList& list) {
    Texts out;
    for (int i = 0; i < list.size(); ++i) {
        const TStr* element = list.at(i);
        out.push_back(element ? std::string(element->ascii()) : std::string("<null>"));
    }
    return out;
}

inline TEzuStrList listOf(const Texts& items) {
    TEzuStrList list;
    for (const std::string& item : items)
        list.append(TStr(item.c_str()));
    return list;
}

#endif
